// A job through the run control: runs one after the other, the ends of a job, repaints.
#include <gtest/gtest.h>

#include "tests/run/deck_support.hpp"

using namespace deck_test;

namespace {

const std::string kEnd = "PROGRAMM ENDE; KEINE WEITERE EINGABE";

std::string end_of_run(int n) {
    return " =================================================   ENDE DER  " + std::to_string(n) +
           ". BERECHNUNG ==============================";
}

std::vector<std::string> two_runs() {
    auto lines = base_run();
    auto second = base_run();
    second[L1] = "AUS: TIME=0.1 SCHRITT=0.0001 NZYL=1 IPRNT=0";
    second[L4] = "DH=6.0 DK=6.0 R=1.5 DKST=0.0 P0=0 TH=800.0 TK=300.0";
    second[L5] = "T0=0 VOLUMEN=0.02 SGRAD=95.0";
    lines.insert(lines.end(), second.begin(), second.end());
    lines.push_back("STOP");
    return lines;
}

}  // namespace

TEST(ControlJob, StopAsFirstLineEndsTheJobWithoutARun) {
    auto p = job("*** nothing to compute\n\n  stop\nAUS: TIME=0.2\n");
    EXPECT_EQ(p->run.NFAIL, 0);
    EXPECT_EQ(p->run.NLAUF, 0);
    EXPECT_EQ(p->run.NEWDIA, 0);
    EXPECT_EQ(records(p->units.u9.text()), std::vector<std::string>{kEnd});
    EXPECT_EQ(p->units.u6.text(), "");
}

TEST(ControlJob, RunsFollowEachOtherUntilStop) {
    auto p = job(join(two_runs()));
    EXPECT_EQ(p->run.NFAIL, 0);
    EXPECT_EQ(p->run.NLAUF, 2);
    EXPECT_DOUBLE_EQ(p->run.TIME, 0.1);
    const std::string& u9 = p->units.u9.text();
    const int r1 = at(u9, end_of_run(1));
    const int r2 = at(u9, end_of_run(2));
    const int e = at(u9, kEnd);
    ASSERT_GE(r1, 0);
    EXPECT_GT(r2, r1);
    EXPECT_GT(e, r2);
    EXPECT_EQ(e + 1, static_cast<int>(records(u9).size()));
}

TEST(ControlJob, RunWithoutDiagramsHandsItsLastLineToTheNextRun) {
    auto lines = base_run();
    lines.resize(L11);  // no diagram line: line 1 of the next run ends this one
    auto second = base_run();
    lines.insert(lines.end(), second.begin(), second.end());
    lines.push_back("STOP");
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 0);
    EXPECT_EQ(p->run.NLAUF, 2);
}

TEST(ControlJob, InputEndingInTheMiddleOfARunLeavesTheEarlierRunsInPlace) {
    auto lines = two_runs();
    lines.resize(base_run().size() + L5);  // the second run stops after its line 4
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 0);
    EXPECT_EQ(p->run.NLAUF, 1);
    const std::string& u9 = p->units.u9.text();
    EXPECT_GE(at(u9, end_of_run(1)), 0);
    EXPECT_EQ(at(u9, end_of_run(2)), -1);
    EXPECT_EQ(records(u9).back(), kEnd);
}

TEST(ControlJob, InputEndingAmongTheOptionalLinesStillComputesTheRun) {
    auto lines = base_run();
    lines.resize(L11);
    lines.push_back("DEF DSD=6 DS3=2 DQD=6 DQDAMPF=2");
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 0);
    EXPECT_EQ(p->run.NLAUF, 1);
    EXPECT_GE(at(p->units.u9.text(), end_of_run(1)), 0);
}

TEST(ControlJob, ErrorInTheSecondRunKeepsTheFirstRunAndReportsTheLine) {
    auto lines = two_runs();
    lines[base_run().size() + L4] = "DH=6.0 DK=0 R=1.5 DKST=0.0 P0=0 TH=800.0 TK=300.0";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 504);
    EXPECT_EQ(p->run.NLAUF, 1);
    const std::string line = " ===> FEHLER in der Eingabe ZEILE 4; Programm STOP";
    EXPECT_TRUE(has(p->units.u8.text(), line));
    const std::string& u9 = p->units.u9.text();
    EXPECT_GE(at(u9, end_of_run(1)), 0);
    const int e = at(u9, kEnd);
    ASSERT_GE(e, 0);
    const auto r = records(u9);
    EXPECT_EQ(r[e + 1], line);
    EXPECT_EQ(r[e + 2], " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:  504");
    EXPECT_TRUE(has(p->units.u6.text(), " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:  504"));
}

TEST(ControlJob, ModeLineErrorsNameNoLine) {
    auto lines = base_run();
    lines[L2] = "TEMPD FTE=1";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 502);
    // Line 2 gave its own message already; the end of the job adds only the number.
    EXPECT_EQ(count(p->units.u6.text(), " ===> FEHLER in der Eingabe ZEILE 2; Programm STOP"), 1);
    EXPECT_TRUE(has(p->units.u9.text(), " Schauen Sie auch nach frueheren Fehlermeldungen; FEHLER Nr:  502"));
}

TEST(ControlJob, RepaintComputesTheSameJobAgain) {
    auto lines = two_runs();
    lines[L1] = "AUS: TIME=0.2 SCHRITT=0.0001 NZYL=1 IPRNT=4";
    auto p = job(join(lines));
    const std::string u6 = p->units.u6.text(), u8 = p->units.u8.text(), u9 = p->units.u9.text();
    p->units.u6.clear_text();
    p->units.u8.clear_text();
    p->units.u9.clear_text();
    korvex::run::run_control(*p);
    EXPECT_EQ(p->units.u6.text(), u6);
    EXPECT_EQ(p->units.u8.text(), u8);
    EXPECT_EQ(p->units.u9.text(), u9);
    EXPECT_EQ(p->run.NLAUF, 2);
}

TEST(ControlJob, ANewJobStartsWithoutTheErrorOfTheLastOne) {
    auto lines = base_run();
    lines[L3] = "NACH: 3 DAEMPFUNG=1.0 FSEAL=x PHASE=-90.0";
    auto p = job(join(lines));
    EXPECT_EQ(p->run.NFAIL, 503);
    // The deck is mended between two paints.
    p->units.u55.set_text(join(base_run()));
    korvex::run::run_control(*p);
    EXPECT_EQ(p->run.NFAIL, 0);
    EXPECT_EQ(p->run.NLAUF, 1);
}

