// Decks that once broke the model (fuzz_*, and hostile_* with extreme numbers in well-formed
// decks), and hostile decks made by hand: each runs as a whole job,
// in memory on every kind of page and through the batch program onto files, and must end in
// order: no crash, the job closed on the detail listing, every listing written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../runtime/scratch_dir.hpp"
#include "fuzz/deck_job.hpp"
#include "shell/core/cli.hpp"

namespace fs = std::filesystem;
using korvex::fuzz::PageKind;
using korvex::testing::ScratchDir;
using korvex::testing::slurp;
using korvex::testing::spit;

namespace {

std::vector<fs::path> fuzz_decks() {
    std::vector<fs::path> decks;
    const fs::path dir = fs::path(KORVEX_SOURCE_DIR) / "tests" / "decks";
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        const bool found = name.rfind("fuzz_", 0) == 0 || name.rfind("hostile_", 0) == 0;
        if (found && e.path().extension() == ".dat") decks.push_back(e.path());
    }
    std::sort(decks.begin(), decks.end());
    return decks;
}

int batch(const fs::path& dir) {
    std::vector<std::string> args{"korvex", "--batch", dir.string(), "--pages", "none"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return korvex::shell::cli_main(static_cast<int>(args.size()), argv.data(), {});
}

}  // namespace

TEST(FuzzDecks, EveryDeckEndsInOrderOnEveryPage) {
    const auto decks = fuzz_decks();
    ASSERT_FALSE(decks.empty());
    for (const auto& path : decks) {
        const std::string deck = slurp(path);
        ASSERT_TRUE(korvex::fuzz::job_is_bounded(deck)) << path << " asks for too long a job";
        for (PageKind kind : {PageKind::batch, PageKind::tiny, PageKind::none}) {
            const auto out = korvex::fuzz::run_deck_job(deck, kind);
            EXPECT_TRUE(out.ended) << path << " page kind " << static_cast<int>(kind);
            EXPECT_FALSE(out.page_cap_hit) << path;
            EXPECT_TRUE(out.flushed) << path;
            EXPECT_FALSE(out.non_finite) << path << " shows NaN or Inf in a listing";
            // The hostile numbers end with the error their heading states.
            const auto at = deck.find("Ends with error number ");
            if (path.filename().string().rfind("hostile_", 0) == 0 && at != std::string::npos) {
                EXPECT_EQ(out.NFAIL, std::stoi(deck.substr(at + 23))) << path;
            }
        }
    }
}

TEST(FuzzDecks, EveryDeckEndsInOrderInTheBatchProgram) {
    for (const auto& path : fuzz_decks()) {
        ScratchDir dir;
        spit(dir / "KORVEX.DAT", slurp(path));
        const int rc = batch(dir.path());
        EXPECT_TRUE(rc == korvex::shell::EXIT_JOB_OK || rc == korvex::shell::EXIT_JOB_FAILED) << path << " " << rc;
        // The detail listing reached the file up to the job's last line.
        EXPECT_NE(slurp(dir / "KORVEX.F09").find("PROGRAMM ENDE; KEINE WEITERE EINGABE"), std::string::npos)
            << path;
        for (const char* f : {"KORVEX.F06", "KORVEX.F08"}) EXPECT_TRUE(fs::exists(dir / f)) << path << " " << f;
    }
}

// The bound the fuzzer puts on one input: TIME / SCHRITT of every possible run header, read as
// the run control reads it; a positive TIME with a step that is not positive is unbounded.
// Worked out by hand.
TEST(FuzzDecks, StepBoundOfADeck) {
    using korvex::fuzz::requested_steps;
    EXPECT_DOUBLE_EQ(requested_steps("AUS TIME=0.3 SCHRITT=2.0E-5 NZYL=1 IPRNT=2\nISO\n"), 15000.0);
    EXPECT_DOUBLE_EQ(requested_steps("aus: time=0.1 schritt=1e-4\nSTOP\nAUS TIME=0.02 SCHRITT=1.0E-4\n"), 1200.0);
    // Comments, headers whose values cannot be read, and AUS after column 18 ask for nothing.
    EXPECT_DOUBLE_EQ(requested_steps("*** AUS TIME=99 SCHRITT=1E-9\n"
                                     "AUS TIME=abc SCHRITT=1E-9\n"
                                     "                   AUS TIME=99 SCHRITT=1E-9\n"
                                     "AUS TIME=-5 SCHRITT=0\n"),
                     0.0);
    EXPECT_EQ(requested_steps("AUS TIME=1 SCHRITT=0 NZYL=1 IPRNT=0\n"), INFINITY);
    EXPECT_EQ(requested_steps("AUS TIME=1 SCHRITT=-1E-4 NZYL=1 IPRNT=0\n"), INFINITY);
    // At most 20000 steps in one run and 32000 in the whole job.
    double largest = 0.0;
    EXPECT_DOUBLE_EQ(requested_steps("AUS TIME=1 SCHRITT=1E-4\nAUS TIME=2 SCHRITT=1E-4\n", &largest), 30000.0);
    EXPECT_DOUBLE_EQ(largest, 20000.0);
    EXPECT_FALSE(korvex::fuzz::job_is_bounded("AUS TIME=2.1 SCHRITT=1E-4 NZYL=1 IPRNT=0\n"));
    EXPECT_TRUE(korvex::fuzz::job_is_bounded("AUS TIME=2 SCHRITT=1E-4 NZYL=1 IPRNT=0\n"));
    EXPECT_TRUE(korvex::fuzz::job_is_bounded("AUS TIME=1.5 SCHRITT=1E-4\nAUS TIME=1.5 SCHRITT=1E-4\n"));
    EXPECT_FALSE(korvex::fuzz::job_is_bounded("AUS TIME=1.6 SCHRITT=1E-4\nAUS TIME=1.7 SCHRITT=1E-4\n"));
}
