// The batch program on every sample deck: its exit status follows the job's error number, the
// pages are written one file each, numbered from 1 without a gap, and the detail listing ends
// the job.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/e2e/e2e_support.hpp"
#include "tests/runtime/scratch_dir.hpp"

using korvex::testing::ScratchDir;

namespace {

int run_batch(const ScratchDir& dir, const e2e::fs::path& job) {
    const std::string cmd = std::string("\"") + KORVEX_BINARY + "\" --batch \"" + job.string() + "\" >\"" +
                            (dir / "out").string() + "\" 2>\"" + (dir / "err").string() + "\"";
    return korvex::testing::exit_status_of(cmd);
}

}  // namespace

TEST(E2eBatch, EveryExampleExitsAsItsErrorNumberSaysAndWritesItsPagesInOrder) {
    for (const auto& ex : e2e::examples()) {
        const auto name = ex.path.filename().string();
        SCOPED_TRACE(name);
        ScratchDir dir;
        const auto job = dir / "job";
        e2e::fs::create_directory(job);
        e2e::fs::copy_file(ex.path, job / "KORVEX.DAT");
        const int status = run_batch(dir, job);
        EXPECT_EQ(status, ex.stated == 0 ? 0 : 1) << e2e::read_file(dir / "err");
        if (ex.stated > 0) {
            EXPECT_NE(e2e::read_file(dir / "err").find(std::to_string(ex.stated)), std::string::npos);
        }

        // As many pages as the window would show, each a whole SVG page, and none beyond.
        auto paint = e2e::run_job(ex.deck);
        const int pages = paint->pages;
        ASSERT_GE(pages, 1);
        for (int k = 1; k <= pages; ++k) {
            const auto page = job / ("KORVEX-" + std::to_string(k) + ".svg");
            const std::string svg = e2e::read_file(page);
            EXPECT_NE(svg.find("<svg"), std::string::npos) << page;
            EXPECT_NE(svg.find("</svg>"), std::string::npos) << page;
        }
        EXPECT_FALSE(e2e::fs::exists(job / ("KORVEX-" + std::to_string(pages + 1) + ".svg")));

        // The detail listing closes the job once, after the last run, and only the end-of-job
        // lines follow it.
        const auto f09 = e2e::lines_of(e2e::read_file(job / "KORVEX.F09"));
        int closes = 0;
        std::size_t close_at = 0, last_run_end = 0;
        for (std::size_t i = 0; i < f09.size(); ++i) {
            if (f09[i] == " PROGRAMM ENDE; KEINE WEITERE EINGABE") ++closes, close_at = i;
            if (f09[i].find(". BERECHNUNG ====") != std::string::npos) last_run_end = i;
        }
        ASSERT_EQ(closes, 1);
        EXPECT_GT(close_at, last_run_end);
        for (std::size_t i = close_at + 1; i < f09.size(); ++i) {
            const auto& l = f09[i];
            const bool end_line = l.find_first_not_of(' ') == std::string::npos ||
                                  l.find("GEPLOTTET") != std::string::npos ||
                                  l.find("Job End without Diagrams") != std::string::npos ||
                                  l.find("FEHLER") != std::string::npos;
            EXPECT_TRUE(end_line) << l;
        }
    }
}
