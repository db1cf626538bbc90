// Results table: the row block of a revolution in its layouts, worked out column by column
// from chosen values, and the table head that unit 9 gets with every block.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "state/program.hpp"
#include "simulation/revolution.hpp"

using namespace korvex;
using namespace korvex::simulation;
using PF = PairField;

namespace {

// Run columns 1 to 9 as the run control leaves them: run 1, rod 2 cm, exponent 1, 800 K,
// 150 cm3 swept, 20 cm3 dead, 100 cm3 regenerator, 20 cm3 dead, 10 bar.
const std::string RUN_COLUMNS = "   1| 2.00|1.00| 800.0| 150.0|  20.0| 100.0|  20.0|10.000|";

std::unique_ptr<Program> machine() {
    auto p = std::make_unique<Program>();
    run::RunState& r = p->run;
    r.NZYL = 2;
    r.NACH = 5;
    r.DH = 6.0;
    r.DK = 5.0;
    r.R = 2.5;
    r.EPSILON_C = 1.0;
    r.TZZ1 = 300.0;
    r.VC = {150.0, 150.0, 0.0, 0.0};
    r.VERLUST = 5.0;
    r.M0 = {0.02, 0.02, 0.0, 0.0};
    r.GM0 = {0.25, 0.25, 0.0, 0.0};
    SimState& s = p->sim;
    s.rev.ROW = RUN_COLUMNS + std::string(133 - RUN_COLUMNS.size(), ' ');
    s.TIME = 0.05;
    s.RPM = 1200.0;
    s.ARBEIT = 120.0;
    s.VWORK = 20.0;
    s.ARBETN = 100.0;
    s.AKOLN = 90.0;     // POWERN 1800 W
    s.QZU = 400.0;      // ETA_N 25 %
    s.P1SUM = 1.0;      // P1MEAN 20 bar
    s.pair[0][PF::A] = 70.0;
    s.pair[1][PF::A] = 50.0;
    s.D_QZUMAX = 5000.0;
    s.VMAX = s.V2MAX = 200.0;
    s.VMIN = s.V2MIN = 100.0;
    s.PMAX = 30.0;
    s.PMIN = 12.0;
    s.GEMAX = 0.05;
    s.GEMIN = 0.02;
    s.GCMAX = 0.04;
    s.GCMIN = 0.01;
    s.GRMAX = 0.02;
    s.GRMIN = 0.015;
    // 460 K between the extremes of both pairs: AUSN_I 94.30 %, AREF_I 37.08 %.
    s.TE_MAX_I = {780.0, 780.0, 0.0, 0.0};
    s.TC_MIN_I = {320.0, 320.0, 0.0, 0.0};
    return p;
}

std::vector<std::string> lines(const std::string& t) {
    std::vector<std::string> out;
    std::istringstream in(t);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

const std::string FRAME =
    "    |     |    |      |      |      |      |      |      |     |     |       |       |      "
    "|     |     |      |      |      |     ";
const std::string RULE =
    " ___|_____|____|______|______|______|______|______|______|_____|_____|_______|_______|______"
    "|_____|_____|______|______|______|______";

}  // namespace

TEST(RevolutionTable, RowBlockOfASmallMachine) {
    auto p = machine();
    evaluate_revolution(*p);
    const std::vector<std::string> L = lines(p->units.u8.text());
    ASSERT_EQ(L.size(), 7u);
    EXPECT_EQ(L[0], RUN_COLUMNS +
                        "2.000|2.500|   70.0|  50.00|20.000| 1800| 5000| 0.030| 0.030| 0.005| 0.050");
    EXPECT_EQ(L[1],
              "    | 6.00|1.00  | 300.0| 150.0|    |      |      |      |     |     |       |       "
              "|      |     |     |      |      |      |      ");
    EXPECT_EQ(L[2],
              "    | 5.00|    |      |      |      |      |      |      |     |     |       |25.00 %"
              "|      |    0|     |      |      |      |  50.0");
    EXPECT_EQ(L[3],
              "    | 5.00|    | 780.0|      |      |  95.0|      | 20.00|     |     |       |94.30 %"
              "|      |     |     |GM01=   0.250000 Gr |");
    EXPECT_EQ(L[4],
              "   1|     |    | 320.0|      |      |      |      |      |     |     |       |37.08 %"
              "|      |     |     |TOTAL GASMASS       |1200.0");
    EXPECT_EQ(L[5], FRAME);
    EXPECT_EQ(L[6], RULE);
    // Every line keeps to the columns of the head: line 1 fills all 132 characters.
    EXPECT_EQ(L[0].size(), 132u);
    EXPECT_EQ(L[1].size(), 132u);
    // Past its shifted columns 3 to 5, line 2 is back under the head's separators.
    for (std::size_t k = 36; k < FRAME.size(); ++k) EXPECT_EQ(L[1][k] == '|', FRAME[k] == '|') << k;
    EXPECT_EQ(L[2].size(), 132u);
    EXPECT_EQ(L[4].size(), 132u);
}

TEST(RevolutionTable, LargeMachineInThousandsWithWideRatiosAndUtilisation) {
    auto p = machine();
    SimState& s = p->sim;
    p->run.M0 = {0.005, 0.005, 0.0, 0.0};   // AUSN_I 164.5 %, AREF_I 148.3 %
    p->run.PHASE = -80.0;                   // the first run had the standard phase 0
    s.D_QZUMAX = 250000.0;
    s.pair[0][PF::A] = 7000.0;
    s.pair[1][PF::A] = 5000.0;
    s.VWORK = 300.0;
    s.ARBETN = 100.0;
    s.VMAX = 1200.0;                        // VMAX/VMIN = 12
    s.VMIN = 100.0;
    s.V2MAX = 200.0;
    evaluate_revolution(*p);
    const std::vector<std::string> L = lines(p->units.u8.text());
    ASSERT_EQ(L.size(), 7u);
    EXPECT_EQ(L[0], RUN_COLUMNS +
                        "12.00| 2.50|  7.000|  5.000| 300.0|    2|  250|  0.03|  0.03|  0.01| 0.050");
    EXPECT_EQ(L[1],
              "    | 6.00|1.00  | 300.0| 150.0|    |      |      |      |     |     | *1000 | *1000 "
              "|      |*1000|*1000|      |      |      |      ");
    EXPECT_EQ(L[5].substr(0, 37), "    |PHASENVERSCHIEBUNG: -80.00     |");
    EXPECT_EQ(L[5].size(), FRAME.size());
    EXPECT_EQ(L[5].substr(37), FRAME.substr(37));
    // Ratios above 100 % take one decimal, and the pump column its unit.
    EXPECT_EQ(L[3].substr(78),
              "164.5 %|      | Watt|     |GM01=   0.250000 Gr |");
    EXPECT_EQ(L[4].substr(78, 8), "148.3 %|");
}

TEST(RevolutionTable, UnitNineGetsTheHeadTheBlockAndAnEmptyLine) {
    auto p = machine();
    evaluate_revolution(*p);
    const std::vector<std::string> L = lines(p->units.u9.text());
    // At level 0 unit 9 holds only the table: 12 head lines, 7 row lines, an empty line.
    ASSERT_EQ(L.size(), 20u);
    EXPECT_EQ(L[0], " " + std::string(131, '_'));
    EXPECT_EQ(L[3].substr(0, 20), " RUN| DKST|KAPA| TEM");
    EXPECT_EQ(L[11].substr(0, 12), " ---|-----|-");
    for (std::size_t k = 2; k < 12; ++k) EXPECT_EQ(L[k].size(), 132u) << k;
    const std::vector<std::string> L8 = lines(p->units.u8.text());
    for (std::size_t k = 0; k < 7; ++k) EXPECT_EQ(L[12 + k], L8[k]);
    EXPECT_EQ(L[19], "");
    // Unit 6 gets nothing at level 0.
    EXPECT_EQ(p->units.u6.text(), "");
}

TEST(RevolutionTable, SummaryOfTheRevolutionOnUnitSix) {
    auto p = machine();
    p->units.IPRNT2 = 1;
    evaluate_revolution(*p);
    const std::vector<std::string> L = lines(p->units.u6.text());
    ASSERT_EQ(L.size(), 4u);
    EXPECT_EQ(L[0], "    1. Umdr. in 0.050000 sec: Nutzarbeit=   100.000 Verl. Arbeit=   20.000 N*M");
    EXPECT_EQ(L[2], " TIME=  0.0500 sec, mittlere Nutzleistung=   1800.0 Watt; RPM= 1200.0 U/Min");
}

TEST(RevolutionTable, UnitSixRowsOfThePairsAndTheMachineGiveEveryValueEightColumns) {
    // F8.1 for every value of the per-pair and machine rows (F8.2 for ETA): a long run's work
    // of 100797.5 W*s fits, and the row is the carriage-control blank and ten fields of 8.
    auto p = machine();
    p->units.IPRNT2 = 3;
    p->sim.pair[0][PF::A] = 100797.5;
    p->sim.A12 = 100797.5;
    evaluate_revolution(*p);
    const std::vector<std::string> L = lines(p->units.u6.text());
    int rows = 0;
    for (std::size_t i = 0; i + 1 < L.size(); ++i) {
        const bool pair = L[i].rfind("      A1, QNUZD1,", 0) == 0;
        const bool mach = L[i].rfind("     A12,  QZU12,", 0) == 0;
        if (!pair && !mach) continue;
        ++rows;
        EXPECT_EQ(L[i + 1].size(), 81u);
        EXPECT_EQ(L[i + 1].substr(0, 17), " 100797.5     0.0") << L[i + 1];
    }
    EXPECT_EQ(rows, 2);
}

TEST(RevolutionTable, RunColumnsOfTheRowWhenTheRunControlLeftThemBlank) {
    auto p = machine();
    run::RunState& r = p->run;
    p->sim.rev.ROW = std::string(133, ' ');
    r.NLAUF = 3;
    r.DKST = 1.5;
    r.EPSILON_E = 1.3;
    r.TAA1 = 850.0;
    r.VE = {141.37, 141.37, 0.0, 0.0};
    r.VH00E = {25.26, 25.26, 0.0, 0.0};
    r.VR = 96.0;
    r.VH00C = {18.04, 18.04, 0.0, 0.0};
    r.P0 = 150.0;
    evaluate_revolution(*p);
    EXPECT_EQ(lines(p->units.u8.text())[0].substr(0, 58),
              "   3| 1.50|1.30| 850.0| 141.4|  25.3|  96.0|  18.0|150.00|");
    r.P0 = 99.5;
    EXPECT_EQ(results_row_start(r).substr(51, 7), "99.500|");
    EXPECT_EQ(results_row_start(r).size(), 133u);
}

TEST(RevolutionTable, IdealEngineLinesOnUnitSixJoinTheirTextsToTheNumbers) {
    // The angle, volume and power pairs of the ideal engine: each second text follows its
    // number without a blank of its own.
    auto p = machine();
    SimState& s = p->sim;
    p->units.IPRNT2 = 2;
    s.KU1_EXP = 170.5;
    s.KU1_COMP = 355.25;
    s.VVEXP = 120.0;
    s.VVCOMP = -120.0;
    s.DIEXP = 2500.0;
    s.DICOMP = -1500.0;
    evaluate_revolution(*p);
    const std::string& t = p->units.u6.text();
    EXPECT_NE(t.find("\n EXPANSION BIS WINKEL =   170.50KOMPRESSION BIS WINKEL =   355.25GRAD\n"),
              std::string::npos) << t;
    EXPECT_NE(t.find("\n VVEXP=  0.12000E+03VVCOMP= -0.12000E+03CM**3\n"), std::string::npos);
    EXPECT_NE(t.find("\n LETZTE + EXPANSION=  0.25000E+04LETZTE - KOMPRESSION= -0.15000E+04WATT\n"),
              std::string::npos);
}
