// The window of a job with --study: the study page follows the job's last page and is drawn
// again, from a new pass through the job, at every later paint of its window.
#include <gtest/gtest.h>

#include <algorithm>

#include "../e2e/e2e_support.hpp"
#include "platform/recording_surface.hpp"
#include "qt_support.hpp"
#include "shell/qt/job.hpp"

using korvex::platform::RecordingSurface;
using korvex::shell::qt::Job;

TEST(QtWindow, StudyPageFollowsTheLastPageOfTheJob) {
    const auto dir = korvex::qt_test::job_dir("multi_run.dat", "study");
    Job job;
    job.shell.job_dir = dir;
    job.study = true;
    korvex::shell::PLOTIW(*job.program, job.shell, 1, job.caption);
    auto polylines = [](const RecordingSurface& s) {
        return std::count_if(s.ops().begin(), s.ops().end(),
                             [](const auto& op) { return op.kind == RecordingSurface::Kind::Polyline; });
    };
    // The job draws two pages; each window shows the page after the one before.
    std::vector<int> repeats;
    RecordingSurface study(1008, 700);
    for (int window = 1; window <= 3; ++window) {
        job.page = 0;
        RecordingSurface page(1008, 700);
        repeats.push_back(korvex::shell::qt::PAINTPAGE(job, window == 3 ? study : page, 1008, 700, window, 1));
    }
    EXPECT_GT(repeats[0], 0);
    EXPECT_GT(repeats[1], 0);  // the job's last page: the study page follows
    EXPECT_EQ(repeats[2], 0);
    EXPECT_EQ(job.study_rows->rows().size(), 3u);  // the deck's three runs
    EXPECT_EQ(polylines(study), 4);
    EXPECT_EQ(e2e::page_faults(study.ops(), 1008, 700), std::vector<std::string>{});
    // A repaint of the last window runs the job again and draws the same study page.
    RecordingSurface again(1008, 700);
    EXPECT_EQ(korvex::shell::qt::PAINTPAGE(job, again, 1008, 700, 3, 1), 0);
    EXPECT_EQ(again.ops().size(), study.ops().size());
    std::filesystem::remove_all(dir);
}
