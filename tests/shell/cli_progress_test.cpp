// What the command line tells a person: the progress line of a long batch job on a terminal,
// the help and the version text.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "../runtime/scratch_dir.hpp"
#include "state/program.hpp"
#include "tests/e2e/e2e_support.hpp"
#include "shell/core/cli.hpp"

using namespace korvex;

namespace {

// A file standing in for standard error; what was written is read back whole.
class Capture {
public:
    Capture() : f_(std::tmpfile()) {}
    ~Capture() {
        if (f_) std::fclose(f_);
    }
    std::FILE* file() const { return f_; }
    std::string text() const {
        std::fflush(f_);
        std::rewind(f_);
        std::string s;
        for (int c; (c = std::fgetc(f_)) != EOF;) s += static_cast<char>(c);
        return s;
    }

private:
    std::FILE* f_;
};

}  // namespace

TEST(ProgressLine, ShownOnATerminalOnlyOnceTheJobHasRunASecond) {
    auto p = std::make_unique<Program>();
    p->run.NLAUF = 2;
    p->sim.TIME = 0.15;
    p->sim.NREV = 12;
    double now = 100.0;
    auto clock = [&] { return now; };

    {
        Capture err;
        shell::ProgressLine line(err.file(), false, clock);  // standard error is a file
        now = 105.0;
        line.page_done(*p, 1);
        line.finish();
        EXPECT_EQ(err.text(), "");
    }
    {
        Capture err;
        now = 100.0;
        shell::ProgressLine line(err.file(), true, clock);
        now = 100.9;  // a quick job shows nothing
        line.page_done(*p, 1);
        EXPECT_EQ(err.text(), "");
        now = 101.0;
        line.page_done(*p, 2);
        const std::string first = "korvex: run 2, TIME= 0.1500 s, revolution 12; pages done: 2";
        EXPECT_EQ(err.text(), "\r" + first);

        // A shorter line is written over the longer one with blanks behind it.
        p->run.NLAUF = 3;
        p->sim.TIME = 2.0;
        p->sim.NREV = 4;
        now = 103.0;
        line.page_done(*p, 3);
        const std::string second = "korvex: run 3, TIME= 2.0000 s, revolution 4; pages done: 3";
        ASSERT_EQ(second.size() + 1, first.size());
        EXPECT_EQ(err.text(), "\r" + first + "\r" + second + " ");

        // The end of the job wipes the line and leaves the cursor at its start; only once.
        line.finish();
        line.finish();
        EXPECT_EQ(err.text(), "\r" + first + "\r" + second + " \r" + std::string(first.size(), ' ') + "\r");
    }
}

TEST(ProgressLine, WipedWhenItGoesOutOfScope) {
    auto p = std::make_unique<Program>();
    Capture err;
    double now = 0.0;
    {
        shell::ProgressLine line(err.file(), true, [&] { return now; });
        now = 2.0;
        line.page_done(*p, 1);
    }
    const std::string text = shell::ProgressLine::text(1, 0, 0.0, 0);
    EXPECT_EQ(text, "korvex: run 0, TIME= 0.0000 s, revolution 0; pages done: 1");
    EXPECT_EQ(err.text(), "\r" + text + "\r" + std::string(text.size(), ' ') + "\r");
}

TEST(ProgressLine, MovesOnAtRevolutionEndsWithinAPageAtMostTenTimesASecond) {
    auto p = std::make_unique<Program>();
    Capture err;
    double now = 0.0;
    shell::ProgressLine line(err.file(), true, [&] { return now; });
    line.attach(*p);
    ASSERT_NE(p->progress, nullptr);
    p->run.NLAUF = 1;
    p->sim.TIME = 0.5;
    p->sim.NREV = 7;
    now = 0.5;
    p->progress(p->progress_ctx, *p);  // the job is young: nothing yet
    EXPECT_EQ(err.text(), "");
    now = 1.2;
    p->progress(p->progress_ctx, *p);
    const std::string first = "korvex: run 1, TIME= 0.5000 s, revolution 7; pages done: 0";
    EXPECT_EQ(err.text(), "\r" + first);
    p->sim.NREV = 8;
    now = 1.25;  // too soon after the last
    p->progress(p->progress_ctx, *p);
    EXPECT_EQ(err.text(), "\r" + first);
    now = 1.31;
    p->progress(p->progress_ctx, *p);
    const std::string second = "korvex: run 1, TIME= 0.5000 s, revolution 8; pages done: 0";
    EXPECT_EQ(err.text(), "\r" + first + "\r" + second);
    // A page end is always shown.
    now = 1.32;
    line.page_done(*p, 1);
    EXPECT_EQ(err.text(), "\r" + first + "\r" + second + "\r" + std::string(
                                                                       "korvex: run 1, TIME= 0.5000 s, revolution 8; pages done: 1"));
}

TEST(ProgressLine, TheJobReportsEveryRevolutionEnd) {
    const std::string deck = e2e::read_file(std::filesystem::path(KORVEX_SOURCE_DIR) / "examples" / "sample.dat");
    e2e::Job j(deck);
    struct Seen {
        int calls = 0;
        int last_rev = -1;
        bool increasing = true;
    } seen;
    j.p->progress_ctx = &seen;
    j.p->progress = [](void* ctx, const Program& p) {
        auto& s = *static_cast<Seen*>(ctx);
        if (p.sim.NREV <= s.last_rev && p.run.NLAUF <= 1) s.increasing = false;
        s.last_rev = p.sim.NREV;
        ++s.calls;
    };
    j.run();
    ASSERT_EQ(j.nfail(), 0);
    const std::size_t blocks = e2e::count(j.u9(), " PRO UMDREHUNG: ARBEIT=");
    EXPECT_GT(seen.calls, 0);
    EXPECT_EQ(static_cast<std::size_t>(seen.calls), blocks);
    EXPECT_TRUE(seen.increasing);
}

TEST(CommandLineOutput, HelpAndVersionGoToStandardOutput) {
    korvex::testing::ScratchDir dir;
    auto run = [&](const std::string& args) {
        const std::string cmd = std::string("\"") + KORVEX_BINARY + "\" " + args + " >\"" + (dir / "out").string() +
                                "\" 2>\"" + (dir / "err").string() + "\"";
        return korvex::testing::exit_status_of(cmd);
    };
    ASSERT_EQ(run("--version"), 0);
    // The manual page, configured into the build beside the program's folder, gives the same version.
    const auto page = std::filesystem::path(KORVEX_BINARY).parent_path().parent_path() / "packaging" / "korvex.1";
    const std::string version = korvex::testing::slurp(dir / "out");
    EXPECT_NE(korvex::testing::slurp(page).find(".TH KORVEX 1 \"2026\" \"" + version.substr(0, version.find('\n')) + "\""),
              std::string::npos);
    EXPECT_EQ(korvex::testing::slurp(dir / "err"), "");

    ASSERT_EQ(run("--help"), 0);
    const std::string help = korvex::testing::slurp(dir / "out");
    for (const char* word : {"KORVEX.DAT", "KORVEX.F06", "KORVEX.F08", "KORVEX.F09", "--batch", "--pages",
                             "--size", "Exit status"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    EXPECT_EQ(korvex::testing::slurp(dir / "err"), "");

    // A help request wins over a job: nothing is run, nothing is written beside a deck.
    korvex::testing::spit(dir / "KORVEX.DAT", "STOP\n");
    EXPECT_EQ(run("--batch -h \"" + dir.path().string() + "\""), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "KORVEX.F06"));
}
