// A job through the run control: runs one after the other, the ends of a job, repaints.
#include <gtest/gtest.h>

#include "shell/core/cli.hpp"
#include "tests/run/control_support.hpp"
#include "tests/runtime/scratch_dir.hpp"

using namespace control_test;
using korvex::platform::RecordingSurface;

namespace {

const std::string kEnd = " PROGRAMM ENDE; KEINE WEITERE EINGABE";

std::string end_of_run(int n) {
    return " =================================================   ENDE DER  " + std::to_string(n) +
           ". BERECHNUNG ==============================";
}

}  // namespace

TEST(ControlJob, StopAsFirstLineEndsTheJobWithoutARun) {
    auto j = whole_job("*** nothing to compute\n\n  stop\nAUS: TIME=0.2\n");
    EXPECT_EQ(j->p->run.NFAIL, 0);
    EXPECT_EQ(j->p->run.NLAUF, 0);
    EXPECT_EQ(j->calls, 1);
    EXPECT_EQ(records(j->u9()), (std::vector<std::string>{
                                    kEnd, " ", " -----> Job End without Diagrams; KORVEX.1kw vom 8.4.2005"}));
    EXPECT_EQ(j->u6(), " \n -----> Job End without Diagrams KORVEX.1kw vom 8.4.2005\n");
    EXPECT_EQ(j->page_marks(), std::vector<std::string>{"999"});
}

TEST(ControlJob, TwoRunsEndWithBothEndLinesAndRepaintAlike) {
    auto j = whole_job(join(runs({0, 5}, "2")));
    EXPECT_EQ(j->p->run.NLAUF, 2);
    const auto r9 = records(j->u9());
    const int r1 = at(j->u9(), end_of_run(1)), r2 = at(j->u9(), end_of_run(2)), e = at(j->u9(), kEnd);
    ASSERT_GE(r1, 0);
    EXPECT_GT(r2, r1);
    EXPECT_GT(e, r2);
    const std::string summary = " 1 DIAGRAMM WURDE GEPLOTTET; GES.LAENGE=  23.4 HOEHE=  13.4 CM";
    EXPECT_EQ(r9[e + 1], summary);
    // The "STOP" line begins no run: the end of the job keeps the detail level 2 of the last
    // run, at which the short listing gets the summary too, as its last records.
    const auto r6 = records(j->u6());
    ASSERT_GE(r6.size(), 2u);
    EXPECT_EQ(r6[r6.size() - 2], summary);
    EXPECT_EQ(r6.back(), " ");

    // The next paint computes the same job again: the deck was rewound.
    const std::string u6 = j->u6(), u8 = j->u8(), u9 = j->u9();
    const int nfail = j->p->run.NFAIL;
    for (auto* u : {&j->p->units.u6, &j->p->units.u8, &j->p->units.u9}) u->clear_text();
    j->run();
    EXPECT_EQ(j->u6(), u6);
    EXPECT_EQ(j->u8(), u8);
    EXPECT_EQ(j->u9(), u9);
    EXPECT_EQ(j->p->run.NFAIL, nfail);
}

TEST(ControlJob, InputEndingInTheMiddleOfARunKeepsTheEarlierRunsAndEndsWithTheMissingLine) {
    auto lines = runs({0, 0});
    lines.resize(short_run().size() + L5);  // the second run stops after its line 4
    auto j = whole_job(join(lines));
    EXPECT_EQ(j->p->run.NLAUF, 1);
    EXPECT_EQ(j->p->run.NFAIL, 505);
    EXPECT_GE(at(j->u9(), end_of_run(1)), 0);
    EXPECT_EQ(at(j->u9(), end_of_run(2)), -1);
    const std::string missing = " ===> FEHLER: Die Eingabe endet im  2. Rechenlauf; erwartet wird ZEILE 5";
    EXPECT_TRUE(has(j->u6(), missing));
    const auto r9 = records(j->u9());
    const int m = at(j->u9(), missing), e = at(j->u9(), kEnd);
    ASSERT_GE(m, 0);
    ASSERT_GT(e, m);
    EXPECT_EQ(r9[e + 1], " 1 DIAGRAMM WURDE GEPLOTTET; GES.LAENGE=  23.4 HOEHE=  13.4 CM");
    EXPECT_EQ(r9[e + 3], " ===> FEHLER in der Eingabe ZEILE 5; Programm STOP");
    EXPECT_EQ(r9[e + 4], " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:  505");
    EXPECT_TRUE(has(j->u8(), " ===> FEHLER in der Eingabe ZEILE 5; Programm STOP"));
}

TEST(ControlJob, RunWithoutDiagramsHandsItsLastLineOnAndThePageSaysSo) {
    auto lines = short_run();
    lines.resize(L11);  // no diagram line: line 1 of the next run ends this one
    auto second = short_run();
    second.resize(L11);
    lines.insert(lines.end(), second.begin(), second.end());
    auto j = whole_job(join(lines));  // the input ends among the optional lines of run 2
    EXPECT_EQ(j->p->run.NLAUF, 2);
    EXPECT_EQ(j->calls, 1);
    EXPECT_TRUE(has(j->u9(), " -----> Job End without Diagrams; KORVEX.1kw vom 8.4.2005"));
    EXPECT_EQ(j->p->dia.IIFREI, 0);
}

TEST(ControlJob, ErrorInLineFourOfTheSecondRunKeepsTheFirstAndShowsOnThePage) {
    auto lines = runs({0, 0});
    lines[short_run().size() + L4] = "DH=6.0 DK=x R=1.5 DKST=0.0 P0=0 TH=800.0 TK=300.0";
    auto j = whole_job(join(lines));
    EXPECT_EQ(j->p->run.NFAIL, 504);
    EXPECT_EQ(j->p->run.NLAUF, 1);
    const std::string line = " ===> FEHLER in der Eingabe ZEILE 4; Programm STOP";
    EXPECT_TRUE(has(j->u8(), line));
    EXPECT_GE(at(j->u9(), end_of_run(1)), 0);
    const auto r = records(j->u9());
    const int e = at(j->u9(), kEnd);
    ASSERT_GE(e, 0);
    EXPECT_EQ(r[e + 3], line);
    EXPECT_EQ(r[e + 4], " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:  504");

    // On the page: a red pen of width 3, then the lettering, then the end mark.
    const auto& ops = j->page.ops();
    std::size_t red = ops.size();
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (ops[i].kind == RecordingSurface::Kind::Pen && ops[i].pen.width == 3 && ops[i].pen.color.r == 255 &&
            ops[i].pen.color.g == 0 && ops[i].pen.color.b == 0)
            red = i;
    ASSERT_LT(red, ops.size());
    int strokes = 0;
    for (std::size_t i = red; i < ops.size(); ++i) strokes += ops[i].kind == RecordingSurface::Kind::Line;
    EXPECT_GT(strokes, 60);
    EXPECT_EQ(j->page_marks(), std::vector<std::string>{"999"});
}

TEST(ControlJob, ANewJobStartsWithoutTheErrorsOfTheLastOne) {
    auto lines = short_run();
    lines[L3] = "NACH: 3 DAEMPFUNG=1.0 FSEAL=x PHASE=-90.0";
    auto j = whole_job(join(lines));
    EXPECT_EQ(j->p->run.NFAIL, 503);
    EXPECT_NE(j->p->run.IERR_READERS, 0);
    // The deck is mended between two paints.
    j->p->units.u55.set_text(join(short_run()));
    j->run();
    EXPECT_NE(j->p->run.NFAIL, 503);
    EXPECT_EQ(j->p->run.NLAUF, 1);
}

TEST(ControlJob, BatchEndsWithStatusOneOnAnInputError) {
    // A deck that ends inside its second run is one.
    korvex::testing::ScratchDir dir;
    auto lines = runs({0, 0});
    lines.resize(short_run().size() + L4);  // line 4 of the second run is missing
    korvex::testing::spit(dir / "KORVEX.DAT", join(lines));
    std::vector<std::string> args = {"korvex", "--batch", dir.path().string(), "--pages", "none"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    EXPECT_EQ(korvex::shell::cli_main(static_cast<int>(args.size()), argv.data(), {}), 1);
    const std::string f09 = korvex::testing::slurp(dir / "KORVEX.F09");
    EXPECT_NE(f09.find("FEHLER Nr:  504"), std::string::npos);
    EXPECT_NE(f09.find("erwartet wird ZEILE 4"), std::string::npos);
}
