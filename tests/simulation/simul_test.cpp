// The simulation driver: crank drive, step adaptation, gas charge of the pairs, convergence of
// the work of a revolution, the too-short run and the cancelled only diagram.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "diagrams/catalogue.hpp"
#include "state/constants.hpp"
#include "run/deck.hpp"
#include "run/machine.hpp"
#include "state/program.hpp"
#include "simulation/kinematics.hpp"
#include "simulation/simul.hpp"
#include "tests/e2e/e2e_support.hpp"

namespace {

using korvex::Program;
using korvex::run::DeckStatus;
using namespace korvex::simulation;
using PF = PairField;

// A run read and derived as the run control does it, up to the call of SIMUL.
std::unique_ptr<Program> prepared(const std::vector<std::string>& lines) {
    std::string deck;
    for (const auto& l : lines) deck += l + "\n";
    deck += "STOP\n";
    auto p = std::make_unique<Program>();
    p->units.u55.set_text(deck);
    EXPECT_TRUE(korvex::run::read_first_line(p->units, p->run));
    DeckStatus st = korvex::run::read_run_head(*p);
    if (st == DeckStatus::run_diagrams) st = korvex::run::read_run_diagrams(p->units, p->run, p->dia);
    EXPECT_NE(st, DeckStatus::error);
    EXPECT_TRUE(korvex::run::derive_geometry(p->run, p->units));
    EXPECT_TRUE(korvex::run::derive_options(p->run, p->units));
    p->units.u6.clear_text();
    p->units.u8.clear_text();
    p->units.u9.clear_text();
    return p;
}

// A double-acting helium machine in plain ISO mode; the head lines, then the diagram lines.
std::vector<std::string> machine(const std::string& time, const std::string& schritt, int nach,
                                 int nzyl = 2) {
    return {
        "AUS: TIME=" + time + " SCHRITT=" + schritt + " NZYL=" + std::to_string(nzyl) + " IPRNT=0",
        "ISOTHERM",
        "NACH: " + std::to_string(nach) + " DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0",
        "DH=6.0 DK=6.0 R=1.8 DKST=1.0 P0=20.0 TH=900.0 TK=300.0",
        "T0=300.0 VOLUMEN=0.02 SGRAD=95.0",
        "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=500000 DICKE=2 %",
        "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0 GAS=HE",
    };
}

std::vector<std::string> with_diagram(std::vector<std::string> l, const std::string& x,
                                      const std::string& ords) {
    l.push_back("DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=0");
    l.push_back("ABSZISSE| " + x + " GITTER=0 NBILD=0");
    l.push_back("ORDINATEN| " + ords);
    return l;
}

TEST(SimulCrank, SinusoidalAndRodDriveAtSixtyDegrees) {
    // R = 2 cm, OMEGA = 10 1/s, 60 degrees; rod drive L/R = 4, W = sqrt(16 - 3/4).
    const double phi = 60.0 * std::acos(-1.0) / 180.0;
    const CrankState a = crank_motion_at(phi, 2.0, 0.0, 10.0);
    EXPECT_NEAR(a.X, 1.0, 1e-12);
    EXPECT_NEAR(a.U, 17.320508075688772, 1e-11);
    EXPECT_NEAR(a.B, 100.0, 1e-10);
    EXPECT_NEAR(a.XP, 3.0, 1e-12);   // the second throw at 240 degrees
    const CrankState neg = crank_motion_at(phi, 2.0, -3.0, 10.0);   // any LR <= 0: sinusoidal
    EXPECT_DOUBLE_EQ(neg.X, a.X);
    EXPECT_DOUBLE_EQ(neg.B, a.B);

    const CrankState b = crank_motion_at(phi, 2.0, 4.0, 10.0);
    EXPECT_NEAR(b.X, 1.1897503240933458, 1e-12);
    EXPECT_NEAR(b.U, 19.538171888552487, 1e-11);
    EXPECT_NEAR(b.B, 75.02231358686132, 1e-10);
    EXPECT_NEAR(b.XP, 3.1897503240933458, 1e-12);
    EXPECT_DOUBLE_EQ(crank_travel_at(phi, 2.0, 4.0), b.X);
}

TEST(SimulCrank, SpeedAndAccelerationAreTheTimeDerivativesOfTheTravel) {
    const double R = 1.8, W = 104.7;
    const double h = 1e-5;
    for (double LR : {0.0, 3.5}) {
        for (double phi = -3.0; phi < 7.0; phi += 0.37) {
            const CrankState k = crank_motion_at(phi, R, LR, W);
            const CrankState kp = crank_motion_at(phi + h, R, LR, W);
            const CrankState km = crank_motion_at(phi - h, R, LR, W);
            EXPECT_NEAR(k.U, (kp.X - km.X) / (2 * h) * W, 1e-5 * R * W) << LR << " " << phi;
            EXPECT_NEAR(k.B, (kp.U - km.U) / (2 * h) * W, 1e-5 * R * W * W) << LR << " " << phi;
        }
    }
    // Top and bottom dead centres of the rod drive: travel 0 and 2R, speed 0.
    EXPECT_NEAR(crank_motion_at(0.0, R, 3.5, W).X, 0.0, 1e-12);
    EXPECT_NEAR(crank_motion_at(std::acos(-1.0), R, 3.5, W).X, 2 * R, 1e-12);
    EXPECT_NEAR(crank_motion_at(std::acos(-1.0), R, 3.5, W).U, 0.0, 1e-9);
    // A rod shorter than the crank gives finite values, never NaN.
    const CrankState bad = crank_motion_at(1.3, R, 0.5, W);
    EXPECT_TRUE(std::isfinite(bad.X) && std::isfinite(bad.U) && std::isfinite(bad.B));
}

TEST(SimulStep, OnlyTheStepsBeforeHalfAndFullRevolutionsAreCut) {
    const double PI = korvex::run::PI;
    const double OMEGA = 104.72, SCHRITT = 1.3e-4, S100 = SCHRITT / 100.0;
    double ANGLE1 = -OMEGA * SCHRITT, PHIREV = 2 * PI, PHIHALF = PI, D = SCHRITT;
    int cuts = 0, marks_passed = 0;
    for (int n = 0; n < 3000; ++n) {
        const double before = ANGLE1;
        ANGLE1 += OMEGA * D;
        if (D != SCHRITT) {
            // A cut step ends just past a mark: by SCHRITT_100 of a nominal angle step.
            const double mark = std::round(ANGLE1 / PI) * PI;
            EXPECT_GT(ANGLE1, mark);
            EXPECT_NEAR(ANGLE1 - mark, S100 * OMEGA * SCHRITT, 1e-12);
            EXPECT_LT(before, mark);
        }
        // Count every multiple of pi that this step passed.
        marks_passed += static_cast<int>(std::floor(ANGLE1 / PI) - std::floor(before / PI));
        if (ANGLE1 >= PHIREV) PHIREV += 2 * PI;   // the revolution end moves on
        double target = 0.0;
        const bool cut = cut_step(ANGLE1, OMEGA, SCHRITT, S100, PHIREV, PHIHALF, D, target);
        cuts += cut;
        if (!cut) EXPECT_EQ(D, SCHRITT);
        else EXPECT_LT(D, SCHRITT);
    }
    // Each half and full revolution passed was reached by exactly one cut step.
    EXPECT_GT(marks_passed, 8);
    EXPECT_NEAR(cuts, marks_passed, 1);
}

TEST(SimulStep, SealFrictionOpposesTheMotionAndZeroSpeedCountsAsForward) {
    EXPECT_EQ(seal_direction(0.0), 1.0);
    EXPECT_EQ(seal_direction(-0.0), 1.0);
    EXPECT_EQ(seal_direction(1e-300), 1.0);
    EXPECT_EQ(seal_direction(-1e-300), -1.0);
}

// A flywheel of 1 kg m**2 (THETA in g cm**2) at 100 1/s, driven for 1 ms by 100 N on a rod at
// 200 cm/s: 200 W give DWDT = 200 / (1 * 100) = 2 1/s**2, and the energy it gains over the
// step is THETA (OMEGA**2 - OMEGAV**2) / 2 = 0.5 (100.002**2 - 100**2) = 0.200002 W*s.
TEST(SimulStep, FlywheelGainsTheEnergyOfTheNetRodPower) {
    SimState s;
    LoopConstants c;
    c.THETA = 1.0e7;
    c.rTHETA = 100000.0 / c.THETA;
    s.OMEGA = 100.0;
    s.DELT_NEU = 1.0e-3;
    s.FNI = 100.0;
    s.U1 = s.U1V = 200.0;
    s.FNII = 50.0;  // on a rod at rest: no power
    flywheel_step(s, c);
    EXPECT_NEAR(s.DWDT, 2.0, 1e-12);
    EXPECT_NEAR(s.OMEGA, 100.002, 1e-12);
    EXPECT_EQ(s.OMEGAV, 100.0);
    EXPECT_NEAR(s.RPM, 100.002 * 30.0 / M_PI, 1e-6);  // the model takes pi to 10 digits
    EXPECT_NEAR(s.DATETA * s.DELT_NEU, 0.200002, 1e-12);
}

TEST(SimulRun, EveryPairKeepsItsGasChargeAtEveryStep) {
    // About one revolution at 1000 U/min, every step a plot point: the masses of the three
    // spaces of pairs 1 and 2 at every step.
    auto p = prepared(with_diagram(machine("0.07", "0.0001", 5), "TIME", "ME1 MC1 MR1 ME2 MC2 MR2"));
    SIMUL(*p);
    const int N = p->dia.NPLOT;
    ASSERT_GT(N, 600);
    const auto& y = p->dia.series[0].y;
    for (int pair = 0; pair < 2; ++pair) {
        const double GM0 = p->run.GM0[static_cast<std::size_t>(pair)];
        ASSERT_GT(GM0, 0.0);
        double lo = 1e30, hi = -1e30;
        for (int k = 0; k < N; ++k) {
            const auto j = static_cast<std::size_t>(k);
            const double sum = double(y[3 * pair][j]) + y[3 * pair + 1][j] + y[3 * pair + 2][j];
            EXPECT_NEAR(sum, GM0, 2e-6 * GM0) << "pair " << pair + 1 << " point " << k + 1;
            lo = std::min(lo, double(y[3 * pair][j]));
            hi = std::max(hi, double(y[3 * pair][j]));
        }
        // The gas really moves between the spaces.
        EXPECT_GT(hi - lo, 0.1 * GM0);
    }
}

TEST(SimulRun, WorkOfARevolutionConvergesAsTheStepIsHalved) {
    std::vector<double> w;
    for (const char* h : {"0.0002", "0.0001", "0.00005"}) {
        auto p = prepared(machine("0.2", h, 1));
        SIMUL(*p);
        ASSERT_EQ(p->sim.NREV, 1) << h;
        w.push_back(p->sim.pair[0][PF::A]);
    }
    const double d1 = std::fabs(w[0] - w[1]), d2 = std::fabs(w[1] - w[2]);
    EXPECT_LT(d2, 0.6 * d1);
    EXPECT_LT(d2, 0.01 * std::fabs(w[2]));
    // An engine between 900 K and 300 K does positive work.
    EXPECT_GT(w[2], 0.0);
}

TEST(SimulRun, TooShortARunSaysSoOnAllThreeUnits) {
    // 0.03 s at 1000 U/min is half a revolution.
    auto p = prepared(machine("0.03", "0.0001", 5));
    const int before = p->run.NFAIL;
    SIMUL(*p);
    EXPECT_EQ(p->sim.NREV, 0);
    EXPECT_EQ(p->run.NFAIL, before + 1);
    for (const std::string* t : {&p->units.u6.text(), &p->units.u8.text(), &p->units.u9.text()})
        EXPECT_NE(t->find("SEC ZU KURZ FUER DIE BERECHNUNG VON 1 UMDREHUNG"), std::string::npos);
}

TEST(SimulRun, ACrankThatTurnsHalfARevolutionPerStepEndsTheRun) {
    // 1000 U/min are 104.7 1/s: a step of 0.05 s turns the crank by 5.2 rad, more than pi, so
    // the first step ends the run instead of ending a revolution at every step.
    auto p = prepared(machine("1.0", "0.05", 0));
    const int before = p->run.NFAIL;
    SIMUL(*p);
    EXPECT_GE(p->run.NFAIL, before + 1);
    EXPECT_LE(p->sim.NREV, 1);
    for (const std::string* t : {&p->units.u6.text(), &p->units.u9.text()})
        EXPECT_NE(t->find("DREHZAHL ZU HOCH"), std::string::npos) << *t;
}

TEST(SimulRun, RunEndsAfterRevolutionNachAndEachRevolutionIsOneFullTurn) {
    auto p = prepared(machine("1.0", "0.0001", 2));
    SIMUL(*p);
    EXPECT_EQ(p->sim.NREV, 2);
    EXPECT_LT(p->sim.TIME, 0.2);
    // The crank stopped just past the end of revolution 2.
    EXPECT_GE(p->sim.ANGLE1, 4 * korvex::run::PI);
    EXPECT_LT(p->sim.ANGLE1 - 4 * korvex::run::PI, 0.01 * p->sim.OMEGA * 0.0001);
}

TEST(SimulRun, OnlyDiagramWithAnUnknownAbscissaSwitchesPlottingOff) {
    auto p = prepared(with_diagram(machine("0.07", "0.0001", 1), "NOSUCH", "P1"));
    SIMUL(*p);
    EXPECT_EQ(p->run.NFAIL, 777);
    EXPECT_EQ(p->dia.NPLOT, 0);
    EXPECT_NE(p->units.u6.text().find("INVALID ABSZISSA NAME: \"NOSUCH\" IN 1. DIAGRAM. THIS 1. DIAGRAM IS CANCELED"),
              std::string::npos);
}

}  // namespace

namespace {

TEST(SimulRun, AFlywheelThatStopsEndsTheRunWithAnError) {
    // Seal friction far above the gas forces brakes the light flywheel to rest within the
    // first revolution; the run ends there instead of dividing by a vanishing speed.
    auto lines = machine("0.2", "0.0001", 5);
    lines[2] = "NACH: 5 DAEMPFUNG=1.0 FSEAL=20000.0 PHASE=-90.0";
    lines[5] = "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=50000 DICKE=2 %";
    auto p = prepared(lines);
    SIMUL(*p);
    EXPECT_EQ(p->sim.NREV, 0);
    EXPECT_LT(p->sim.TIME, 0.2);
    EXPECT_EQ(p->run.NFAIL, 2);   // the stop, and the too-short run
    EXPECT_NE(p->units.u6.text().find("DIE MASCHINE BLEIBT STEHEN"), std::string::npos);
    EXPECT_EQ(p->units.u6.text().find("nan"), std::string::npos);
    EXPECT_EQ(p->units.u9.text().find("nan"), std::string::npos);
}

}  // namespace

namespace {

TEST(SimulPlot, ALongRunSpreadsAtMost2001PointsEvenlyOverItsTime) {
    // 5000 steps of 0.1 ms: the plot interval is int((0.5 / 2001) / 0.0001) + 1 = 3 steps.
    auto p = prepared(with_diagram(machine("0.5", "0.0001", 50), "TIME", "P1"));
    SIMUL(*p);
    EXPECT_EQ(p->sim.NSTEP, 5000);
    EXPECT_EQ(p->sim.NTOUTP, 3);
    EXPECT_NEAR(p->sim.TOUTP, 0.0003, 1e-15);
    const int N = p->dia.NPLOT;
    // About 0.5 / 0.0003 regular points, and a few forced ones at revolution ends and markers.
    EXPECT_GE(N, 1660);
    EXPECT_LE(N, 1667 + 40);
    const auto& x = p->dia.series[0].x;
    for (int k = 1; k < N; ++k) {
        const double d = double(x[static_cast<std::size_t>(k)]) - x[static_cast<std::size_t>(k - 1)];
        EXPECT_GT(d, 0.0) << k;
        // A cut step moves the next point by less than one step.
        EXPECT_LT(d, 0.0003 + 0.0001) << k;
    }
}

TEST(SimulPlot, FullPlotArraysEndTheStoringNotTheRun) {
    // 2000 steps of 0.3 ms: every step a plot point. The steps cut short before each half and
    // full revolution come on top, about two in each of the ten revolutions, so the arrays
    // fill before the end time; the run goes on to its end and says so once.
    auto p = prepared(with_diagram(machine("0.6", "0.0003", 0), "TIME", "P1"));
    SIMUL(*p);
    EXPECT_EQ(p->sim.NSTEP, 2000);
    EXPECT_EQ(p->dia.NPLOT, 2001);
    EXPECT_GT(p->sim.TIME, 0.6);
    EXPECT_GE(p->sim.NREV, 9);
    const std::string msg = "MAXIMALE ANZAHL DER PLOT DATEN ERREICHT: N= 2001";
    for (const std::string* t : {&p->units.u6.text(), &p->units.u9.text()}) {
        const auto at = t->find(msg);
        EXPECT_NE(at, std::string::npos);
        EXPECT_EQ(t->find(msg, at + 1), std::string::npos);
    }
}

TEST(SimulPlot, WithANegativeNachOnlyTheLastRevolutionIsKept) {
    auto lines = with_diagram(machine("0.5", "0.0001", 2), "KU1", "P1");
    lines[2] = "NACH: -2 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0";
    auto p = prepared(lines);
    ASSERT_TRUE(p->run.plot_one_rev);
    SIMUL(*p);
    EXPECT_EQ(p->sim.NREV, 2);
    const int N = p->dia.NPLOT;
    const auto& x = p->dia.series[0].x;
    // From the end of revolution 1 to the end of revolution 2, in crank degrees.
    EXPECT_NEAR(x[0], 360.0, 0.01);
    EXPECT_NEAR(x[static_cast<std::size_t>(N - 1)], 720.0, 0.01);
    for (int k = 1; k < N; ++k) EXPECT_GT(x[static_cast<std::size_t>(k)], x[static_cast<std::size_t>(k - 1)]);
    // The markers were found in that revolution, in order, the 360-degree one at its end.
    const auto& M = p->sim.MARK;
    EXPECT_EQ(M[6], N);
    for (int k = 2; k < 7; ++k) EXPECT_GT(M[static_cast<std::size_t>(k)], M[static_cast<std::size_t>(k - 1)]) << k;
    EXPECT_GT(M[1], 1);
    EXPECT_EQ(p->run.NFAIL, 0);
}

}  // namespace

namespace {

TEST(SimulPrint, EveryHeaderOfThePrintedLinesNamesTheSameOrdinates) {
    // Printing every plot point (tens digit 1) at detail level 2: the header before the loop
    // and the one after the revolution's last output both name P1 and TE1, six characters
    // each, for the two values of every printed line.
    auto lines = with_diagram(machine("0.07", "0.0001", 1), "TIME", "P1 TE1");
    lines[0] = "AUS: TIME=0.07 SCHRITT=0.0001 NZYL=2 IPRNT=12";
    auto p = prepared(lines);
    ASSERT_EQ(p->run.IPRNT1, 1);
    SIMUL(*p);
    const std::string& t = p->units.u9.text();
    const std::string head = "\n TIME P1    TE1   \n";
    const auto first = t.find(head);
    ASSERT_NE(first, std::string::npos);
    const auto last = t.find(" LETZTER OUTPUT FUER DIE   1. UMDREHUNG");
    ASSERT_NE(last, std::string::npos);
    const auto eol = t.find('\n', last);
    EXPECT_EQ(t.compare(eol, head.size(), head), 0) << t.substr(last, 200);
    EXPECT_LT(first, last);
}

TEST(SimulPrint, WithoutDiagramsThePrintedLinesGiveTheTime) {
    // Printing every step (tens digit 1, NSTEP = 700 <= 2001, TOUTD = SCHRITT) without a
    // diagram: a line with the time alone (F6.4) for every step from 0 up to the revolution's
    // end, which ends the run.
    auto lines = machine("0.07", "0.0001", 1);
    lines[0] = "AUS: TIME=0.07 SCHRITT=0.0001 NZYL=2 IPRNT=12";
    auto p = prepared(lines);
    SIMUL(*p);
    ASSERT_EQ(p->sim.NREV, 1);
    const auto rec = e2e::lines_of(p->units.u9.text());
    std::vector<double> times;
    for (const auto& l : rec)
        if (l.size() == 7 && l.rfind(" 0.0", 0) == 0) times.push_back(std::strtod(l.c_str(), nullptr));
    ASSERT_GT(times.size(), 100u);
    EXPECT_EQ(times.front(), 0.0);
    for (std::size_t k = 1; k < times.size(); ++k) {
        EXPECT_GT(times[k] - times[k - 1], 0.00005) << k;
        EXPECT_LT(times[k] - times[k - 1], 0.00025) << k;
    }
    // The last step, cut short to end the revolution, falls before its print instant.
    EXPECT_NEAR(times.back(), p->sim.TIME, 0.00015);
}

}  // namespace
