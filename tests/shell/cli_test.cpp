// The korvex command line: the batch job run by the built program, usage errors, and the hooks
// of the window shell.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../runtime/scratch_dir.hpp"
#include "platform/recording_surface.hpp"
#include "shell/core/cli.hpp"

using namespace korvex;
using korvex::testing::ScratchDir;
using korvex::testing::slurp;
using korvex::testing::spit;
using korvex::testing::quoted;
using korvex::testing::run_korvex;

namespace {

int cli(std::vector<std::string> args, const shell::ShellHooks& hooks = {}) {
    args.insert(args.begin(), "korvex");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return shell::cli_main(static_cast<int>(args.size()), argv.data(), hooks);
}

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

TEST(Batch, StopDeckEndsWithStatusZeroAndHeadedListings) {
    ScratchDir dir;
    const auto job = dir / "job";
    std::filesystem::create_directory(job);
    spit(job / "KORVEX.DAT", "STOP\n");
    ASSERT_EQ(run_korvex(dir, "--batch " + quoted(job)), 0) << slurp(dir / "err");

    const std::string f06 = slurp(job / "KORVEX.F06");
    EXPECT_EQ(first_line(f06).substr(0, 38), " KORVEX.1kw vom 8.4.2005 gerechnet am:");
    EXPECT_EQ(first_line(f06).substr(61), " NEWDIA= 0");
    for (const char* f : {"KORVEX.F08", "KORVEX.F09"}) {
        const std::string text = slurp(job / f);
        const std::string head = first_line(text);
        EXPECT_EQ(head.substr(0, 45), "        KORVEX.1kw vom 8.4.2005 gerechnet am:") << f;
        EXPECT_EQ(head.size(), 45u + 23u) << f;  // the stamp closes the record
        EXPECT_EQ(text.substr(head.size(), 2), "\n\n") << f;  // then an empty record
    }
    const std::string svg = slurp(job / "KORVEX-1.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("width=\"1008\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(job / "KORVEX-2.svg"));
}

TEST(Batch, PageKindNoneAndPageSize) {
    ScratchDir dir;
    spit(dir / "KORVEX.DAT", "STOP\n");
    ASSERT_EQ(cli({"--batch", dir.path().string(), "--pages", "none"}), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "KORVEX-1.svg"));
    EXPECT_TRUE(std::filesystem::exists(dir / "KORVEX.F06"));
    ASSERT_EQ(cli({"--batch", "--size=320x200", dir.path().string()}), 0);
    EXPECT_NE(slurp(dir / "KORVEX-1.svg").find("width=\"320\""), std::string::npos);
}

TEST(Batch, JobWithAnErrorNumberEndsWithStatusOne) {
    ScratchDir dir;
    spit(dir / "KORVEX.DAT", "AUS TIME=abc\n");
    EXPECT_EQ(run_korvex(dir, "--batch --pages none " + quoted(dir.path())), 1);
    EXPECT_NE(slurp(dir / "err").find("FEHLER Nr. "), std::string::npos);
}

TEST(Batch, MissingOrUnreadableDeckCreatesNothing) {
    ScratchDir dir;
    const auto job = dir / "job";
    std::filesystem::create_directory(job);
    EXPECT_EQ(run_korvex(dir, "--batch " + quoted(job)), 2);
    EXPECT_NE(slurp(dir / "err").find("KORVEX.DAT"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(job));
    EXPECT_EQ(run_korvex(dir, "--batch " + quoted(dir / "no-such-dir")), 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-dir"));

    std::filesystem::create_directory(job / "KORVEX.DAT");  // a directory in the deck's place
    EXPECT_EQ(cli({"--batch", job.string()}), 2);
    EXPECT_FALSE(std::filesystem::exists(job / "KORVEX.F06"));
}

TEST(CommandLine, UsageErrors) {
    ScratchDir dir;
    spit(dir / "KORVEX.DAT", "STOP\n");
    const std::string d = dir.path().string();
    EXPECT_EQ(cli({"--batch", d, "--frobnicate"}), 2);
    EXPECT_EQ(cli({"--batch", d, "--pages"}), 2);
    EXPECT_EQ(cli({"--batch", d, "--pages", "bmp"}), 2);
    EXPECT_EQ(cli({"--batch", d, "--pages", "png"}), 2);  // no picture writer built in
    EXPECT_EQ(cli({"--batch", d, "--size", "1008"}), 2);
    EXPECT_EQ(cli({"--batch", d, "--size", "0x700"}), 2);
    EXPECT_EQ(cli({"--batch", d, "--size", "1008x-7"}), 2);
    EXPECT_EQ(cli({"--batch", d, "--size", "99999999999x700"}), 2);
    EXPECT_EQ(cli({"--batch", d, d}), 2);
    EXPECT_EQ(cli({d, "--pages", "svg"}), 2);  // --pages without --batch
    EXPECT_EQ(cli({d}), 2);                    // no window built in
    EXPECT_FALSE(std::filesystem::exists(dir / "KORVEX.F06"));
    EXPECT_EQ(cli({"--help"}), 0);
    EXPECT_EQ(cli({"--version"}), 0);
    EXPECT_EQ(run_korvex(dir, "--nonsense"), 2);
    EXPECT_NE(slurp(dir / "err").find("usage: korvex"), std::string::npos);
}

namespace {

class FakePage final : public shell::PageWriter {
public:
    FakePage(std::string kind, int w, int h) : kind_(std::move(kind)), surface_(w, h) {}
    platform::Surface& surface() override { return surface_; }
    bool save(const std::filesystem::path& path) override {
        std::ofstream(path) << kind_ << ' ' << surface_.width() << 'x' << surface_.height() << '\n';
        return true;
    }

private:
    std::string kind_;
    platform::RecordingSurface surface_;
};

}  // namespace

TEST(CommandLine, WindowAndPageHooks) {
    ScratchDir dir;
    spit(dir / "KORVEX.DAT", "STOP\n");
    shell::ShellHooks hooks;
    std::filesystem::path window_dir;
    hooks.run_window = [&](const std::filesystem::path& d, bool) {
        window_dir = d;
        return 0;
    };
    hooks.make_page = [](const std::string& kind, int w, int h) -> std::unique_ptr<shell::PageWriter> {
        if (kind != "png") return nullptr;
        return std::make_unique<FakePage>(kind, w, h);
    };
    EXPECT_EQ(cli({dir.path().string()}, hooks), 0);
    EXPECT_EQ(window_dir, dir.path());
    EXPECT_EQ(cli({dir.path().string() + "/nowhere"}, hooks), 2);  // no deck: no window

    ASSERT_EQ(cli({"--batch", dir.path().string(), "--pages", "png", "--size", "100x50"}, hooks), 0);
    EXPECT_EQ(slurp(dir / "KORVEX-1.png"), "png 100x50\n");
    EXPECT_EQ(cli({"--batch", dir.path().string(), "--pages", "pdf"}, hooks), 2);  // no writer for it
}
