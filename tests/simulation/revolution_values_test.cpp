// Revolution evaluation: the revolution's works as differences of the run totals, the
// efficiencies and ideal-machine comparisons from hand values, the guarded quotients, the
// per-revolution curves and the reset of the revolution extremes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/format.hpp"
#include "state/program.hpp"
#include "simulation/revolution.hpp"

using namespace korvex;
using namespace korvex::simulation;
using PF = PairField;

namespace {

constexpr double PI = 3.141592654;

// A double-acting machine at the end of its first revolution: 50 ms, heat 400 W*s supplied.
std::unique_ptr<Program> machine() {
    auto p = std::make_unique<Program>();
    run::RunState& r = p->run;
    r.NZYL = 2;
    r.NACH = 5;
    r.SCHRITT = 1.0e-4;
    r.M0 = {0.02, 0.02, 0.0, 0.0};
    r.GM0 = {0.25, 0.25, 0.0, 0.0};
    SimState& s = p->sim;
    s.TIME = 0.05;
    s.RPM = 1200.0;
    s.ARBEIT = 120.0;
    s.VWORK = 20.0;
    s.ARBETN = 100.0;
    s.AKOL = 110.0;
    s.AKOLN = 90.0;
    s.WORKNN = 80.0;
    s.ATHETA = 60.0;
    s.QZU = 400.0;
    s.QNUTZD = 140.0;
    s.QNUTZ = 160.0;
    s.QZU12 = 400.0;
    s.QNZD12 = 140.0;
    s.P1SUM = 1.0;  // Bar*s: a mean pressure of 20 bar over 50 ms
    s.pair[0][PF::A] = 70.0;
    s.pair[1][PF::A] = 50.0;
    s.pair[0][PF::QZU] = 200.0;
    s.pair[0][PF::QNUZD] = 50.0;
    s.comp.TE_MAX = 800.0;
    s.comp.TC_MIN = 300.0;
    s.QIEXP = 50.0;
    s.QICOMP = -30.0;
    s.TAE1MX = 0.025;
    s.D_QZUMAX = 5000.0;
    s.TQZUMX = 0.02;
    s.VMAX = s.V2MAX = 200.0;
    s.VMIN = s.V2MIN = 100.0;
    s.PMAX = 30.0;
    s.PMIN = 12.0;
    s.TE_MAX_I = {780.0, 780.0, 0.0, 0.0};
    s.TC_MIN_I = {320.0, 320.0, 0.0, 0.0};
    return p;
}

}  // namespace

TEST(RevolutionValues, FirstRevolutionTakesTheRunTotalsAndTheNextTheDifferences) {
    auto p = machine();
    SimState& s = p->sim;
    evaluate_revolution(*p);
    const RevolutionState& v = s.rev;
    EXPECT_EQ(s.NREV, 1);
    EXPECT_EQ(s.NREVC, 2);
    EXPECT_NEAR(s.PHIREV, 4.0 * PI, 1e-12);
    EXPECT_TRUE(s.plot_forced);
    EXPECT_DOUBLE_EQ(v.UDELT, 0.05);
    EXPECT_DOUBLE_EQ(v.ARBETU, 120.0);
    EXPECT_DOUBLE_EQ(v.ARBTUN, 100.0);
    EXPECT_DOUBLE_EQ(v.VWORKU, 20.0);
    EXPECT_DOUBLE_EQ(v.AKOLU, 110.0);
    EXPECT_DOUBLE_EQ(v.AKOLUN, 90.0);
    EXPECT_DOUBLE_EQ(v.A1U, 70.0);
    EXPECT_DOUBLE_EQ(v.A2U, 50.0);
    EXPECT_NEAR(v.POWERN, 1800.0, 1e-9);
    EXPECT_NEAR(v.POWERU, 2200.0, 1e-9);
    EXPECT_NEAR(v.P1MEAN, 20.0, 1e-12);
    // XTR: steps per 10 degrees at 1200 rpm (7200 degrees/s) and 0.1 ms.
    EXPECT_NEAR(s.XTR, 10.0 / 0.72, 1e-9);
    EXPECT_EQ(s.P1SUM, 0.0);
    EXPECT_DOUBLE_EQ(s.TIME_REV, 0.05);

    // Second revolution: 45 ms, 80 W*s more gas work, 15 more loss work.
    s.TIME = 0.095;
    s.ARBEIT = 200.0;
    s.VWORK = 35.0;
    s.ARBETN = 165.0;
    s.AKOL = 180.0;
    s.AKOLN = 144.0;
    s.pair[0][PF::A] = 117.0;
    s.pair[1][PF::A] = 83.0;
    s.P1SUM = 0.9;
    evaluate_revolution(*p);
    EXPECT_EQ(s.NREV, 2);
    EXPECT_NEAR(v.UDELT, 0.045, 1e-15);
    EXPECT_DOUBLE_EQ(v.ARBETU, 80.0);
    EXPECT_DOUBLE_EQ(v.ARBTUN, 65.0);
    EXPECT_DOUBLE_EQ(v.VWORKU, 15.0);
    EXPECT_DOUBLE_EQ(v.A1U, 47.0);
    EXPECT_DOUBLE_EQ(v.A2U, 33.0);
    EXPECT_NEAR(v.POWERN, 54.0 / 0.045, 1e-9);
    EXPECT_NEAR(v.P1MEAN, 20.0, 1e-9);
}

TEST(RevolutionValues, EfficienciesAndIdealMachinesFromHandValues) {
    auto p = machine();
    evaluate_revolution(*p);
    const RevolutionState& v = p->sim.rev;
    EXPECT_NEAR(v.ETA_N, 25.0, 1e-12);
    EXPECT_NEAR(v.ETA_A, 30.0, 1e-12);
    EXPECT_NEAR(v.ETA_W, 20.0, 1e-12);
    EXPECT_NEAR(v.ETA_AK, 27.5, 1e-12);
    EXPECT_NEAR(v.ETA_TH, 15.0, 1e-12);
    EXPECT_NEAR(v.ETA_Q, 40.0, 1e-12);
    EXPECT_NEAR(v.ETA_DQ, 35.0, 1e-12);
    EXPECT_NEAR(v.ETA12, 35.0, 1e-12);
    EXPECT_NEAR(v.ETA[0], 25.0, 1e-12);       // without injection: QNUZD1 / QZU1
    EXPECT_NEAR(v.ETA_CARNOT, 62.5, 1e-12);
    EXPECT_NEAR(v.ETA_I, 40.0, 1e-12);        // (50 - 30) / 50
    EXPECT_NEAR(v.POWER_ID, 2000.0, 1e-9);    // 50 W*s in 25 ms
    EXPECT_NEAR(v.FAKTOR_K, 2.0, 1e-12);      // 5000 W * 20 ms / 50 W*s
    EXPECT_NEAR(v.PMAX_PMIN, 2.5, 1e-12);
    EXPECT_NEAR(v.VMAX_VMIN, 2.0, 1e-12);
    // 0.02 mol, 460 K between the extremes, volume ratio 2: 0.02 * 8.315 * ln 2 * 460 W*s.
    EXPECT_NEAR(v.WORKI[0], 53.0243726, 1e-6);
    EXPECT_NEAR(v.WORKI_SUM, 106.0487452, 1e-6);
    EXPECT_NEAR(v.AUSN_I, 94.2962595, 1e-6);
    EXPECT_NEAR(v.ANZRF[0], 134.8468508, 1e-6);
    EXPECT_NEAR(v.ANUZRF, 269.6937015, 1e-6);
    EXPECT_NEAR(v.AREF_I, 37.0791010, 1e-6);

    // With injection the pair efficiency is the pair's work over its heat input.
    auto q = machine();
    q->run.mode = korvex::run::Mode::ISO;
    q->run.nozzles = true;
    q->run.BEVOL = 0.5;
    evaluate_revolution(*q);
    EXPECT_NEAR(q->sim.rev.ETA[0], 35.0, 1e-12);

    // The single-acting machine compares pair 1 only (its second record is the crankcase).
    auto c = machine();
    c->run.NZYL = 1;
    evaluate_revolution(*c);
    EXPECT_NEAR(c->sim.rev.WORKI_SUM, 53.0243726, 1e-6);
    EXPECT_NEAR(c->sim.rev.ANUZRF, 134.8468508, 1e-6);
}

TEST(RevolutionValues, UndefinedQuotientsAreZeroAndNoListingShowsNaN) {
    // Nothing happened: no heat, no time, no ideal expansion, no volume extremes.
    auto p = std::make_unique<Program>();
    p->units.IPRNT2 = 6;
    p->run.IPRNT1 = 1;
    p->run.NZYL = 4;
    p->run.nozzles = true;
    p->run.FDAMPF = true;
    p->run.NACH = 3;
    p->dia.IIFREI = 1;
    p->dia.def[0].FREI = 1;
    p->dia.def[0].NORD = 2;
    p->dia.def[0].ordinate[0] = "POWERN";
    p->dia.def[0].ordinate[1] = "DVLHM3";
    p->sim.VMAX = 0.0;
    p->sim.VMIN = 0.0;
    p->sim.PMIN = 0.0;
    p->sim.T1_MIN = 0.0;
    p->sim.TE_MAX_I = {500.0, 500.0, 500.0, 500.0};
    p->run.M0 = {0.01, 0.01, 0.01, 0.01};
    p->sim.ARBETN = 5.0;
    evaluate_revolution(*p);
    const RevolutionState& v = p->sim.rev;
    for (double x : {v.ETA_N, v.ETA_A, v.ETA_I, v.ETA_CARNOT, v.ETA12, v.ETA34, v.POWERN,
                     v.P1MEAN, v.PMAX_PMIN, v.VMAX_VMIN, v.FAKTOR_K, v.POWER_ID, v.AUSN_I,
                     v.DVLHM[2], v.WORKI[0]})
        EXPECT_EQ(x, 0.0);
    // The reference machine still has its work; only AUSN_I lacks a denominator.
    EXPECT_GT(v.ANUZRF, 0.0);
    EXPECT_FALSE(korvex::runtime::shows_non_finite(p->units.u6.text()));
    EXPECT_FALSE(korvex::runtime::shows_non_finite(p->units.u8.text()));
    EXPECT_FALSE(korvex::runtime::shows_non_finite(p->units.u9.text()));
    EXPECT_EQ(p->dia.series[0].y[0][0], 0.0f);

    // And with no reference machine either, AREF_I is 0.
    auto q = std::make_unique<Program>();
    q->sim.ARBETN = 5.0;
    evaluate_revolution(*q);
    EXPECT_EQ(q->sim.rev.AREF_I, 0.0);
}

TEST(RevolutionValues, PumpPowersFromTheInjectedVolumes) {
    auto p = machine();
    p->run.DELTA_P = 2.0;
    p->run.nozzles = true;
    p->sim.pair[0].VLQH = p->sim.pair[1].VLQH = 0.5;    // litre in 50 ms: 10 l/s each
    p->sim.pair[0].VLQC = p->sim.pair[1].VLQC = 0.25;
    evaluate_revolution(*p);
    const RevolutionState& v = p->sim.rev;
    EXPECT_NEAR(v.DVLHM[0], 10.0, 1e-12);
    EXPECT_NEAR(v.DVLCM[1], 5.0, 1e-12);
    EXPECT_NEAR(v.PPUMPH, 4000.0, 1e-9);   // 20 l/s at 2 bar
    EXPECT_NEAR(v.PPUMPC, 2000.0, 1e-9);
    EXPECT_NEAR(v.VLH1, 0.5, 0.0);
    // The counters start anew for the next revolution.
    EXPECT_EQ(p->sim.pair[0].VLQH, 0.0);
    EXPECT_EQ(p->sim.pair[1].VLQC, 0.0);
}

TEST(RevolutionValues, ExtremesStartAnewExceptAfterTheLastRevolution) {
    auto p = machine();
    p->run.NACH = 2;
    SimState& s = p->sim;
    s.GEMAX = 0.05;
    s.GEMIN = 0.02;
    s.GCMIN = s.GRMIN = 0.01;   // every mass minimum, the regenerator's too
    evaluate_revolution(*p);
    EXPECT_EQ(s.VMAX, 0.0);
    EXPECT_EQ(s.VMIN, 1000000.0);
    EXPECT_EQ(s.V2MIN, 1000000.0);
    EXPECT_EQ(s.PMIN, 1000.0);
    EXPECT_EQ(s.T1_MIN, 1000.0);
    EXPECT_EQ(s.GEMIN, 10000.0);
    EXPECT_EQ(s.GCMIN, 10000.0);
    EXPECT_EQ(s.GRMIN, 10000.0);
    EXPECT_EQ(s.GEMAX, 0.0);
    EXPECT_EQ(s.D_QZUMAX, 0.0);
    EXPECT_EQ(s.TE_MAX_I[0], 780.0);   // the run's temperature extremes hold
    EXPECT_EQ(s.TC_MIN_I[0], 320.0);
    // Without printing the ideal-machine totals keep accumulating.
    EXPECT_EQ(s.QIEXP, 50.0);

    // Revolution 2 is the last: its extremes stay for the diagrams.
    s.TIME = 0.1;
    s.VMAX = 210.0;
    s.VMIN = 95.0;
    evaluate_revolution(*p);
    EXPECT_EQ(s.VMAX, 210.0);
    EXPECT_EQ(s.VMIN, 95.0);

    // With printing on, the ideal-machine totals start anew with each revolution.
    auto q = machine();
    q->run.IPRNT1 = 2;
    q->units.IPRNT2 = 2;
    evaluate_revolution(*q);
    EXPECT_EQ(q->sim.QIEXP, 0.0);
    EXPECT_EQ(q->sim.QICOMP, 0.0);
    EXPECT_EQ(q->sim.TAE1MX, 0.0);
    EXPECT_NE(q->units.u9.text().find(" LETZTER OUTPUT FUER DIE   1. UMDREHUNG"), std::string::npos);

    // NACH = 0 sets no limit: the run goes on to its end time, and every revolution measures
    // its own extremes.
    auto z = machine();
    z->run.NACH = 0;
    evaluate_revolution(*z);
    EXPECT_EQ(z->sim.VMAX, 0.0);
    EXPECT_EQ(z->sim.VMIN, 1000000.0);
    EXPECT_EQ(z->sim.PMAX, 0.0);
}

TEST(RevolutionValues, PerRevolutionCurvesAreStepFunctionsOverTheRevolutionsPoints) {
    auto p = machine();
    auto& d = p->dia;
    d.IIFREI = 2;
    d.def[0].FREI = d.def[1].FREI = 1;
    d.def[0].NORD = 3;
    d.def[0].ordinate[0] = "POWERN";
    d.def[0].ordinate[1] = "VE1   ";
    d.def[0].ordinate[2] = "DVLHM1";
    d.def[1].NORD = 1;
    d.def[1].ordinate[0] = "PPUMPC";
    for (auto& c : d.series[0].y[1]) c = -7.0f;
    p->run.DELTA_P = 1.0;
    p->sim.pair[0].VLQH = 0.1;  // 2 l/s
    p->sim.pair[0].VLQC = 0.2;  // 4 l/s
    d.NPLOT = 9;                // the revolution's last point is stored in this step: 10
    evaluate_revolution(*p);
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(d.series[0].y[0][n], 1800.0f) << n;
        EXPECT_EQ(d.series[0].y[2][n], 2.0f) << n;
        EXPECT_EQ(d.series[1].y[0][n], 400.0f) << n;
        EXPECT_EQ(d.series[0].y[1][n], -7.0f) << n;   // not a per-revolution quantity
    }
    EXPECT_EQ(d.series[0].y[0][10], 0.0f);
    EXPECT_EQ(p->sim.rev.NANF[0][0], 11);

    // Second revolution: points 11..20 take its value, the first revolution's stay.
    p->sim.TIME = 0.1;
    p->sim.AKOLN = 90.0 + 45.0;   // 45 W*s in 50 ms
    d.NPLOT = 19;
    evaluate_revolution(*p);
    EXPECT_EQ(d.series[0].y[0][9], 1800.0f);
    for (int n = 10; n < 20; ++n) EXPECT_EQ(d.series[0].y[0][n], 900.0f) << n;
    EXPECT_EQ(d.series[0].y[2][15], 0.0f);   // no liquid in the second revolution
}

TEST(RevolutionValues, OnlyTheLastRevolutionIsRecordedWhenOnlyItIsPlotted) {
    auto p = machine();
    p->run.NACH = 2;
    p->run.plot_one_rev = true;
    auto& d = p->dia;
    d.IIFREI = 1;
    d.def[0].FREI = 1;
    d.def[0].NORD = 1;
    d.def[0].ordinate[0] = "POWERN";
    d.NPLOT = 1;
    evaluate_revolution(*p);
    EXPECT_EQ(d.series[0].y[0][0], 0.0f);
    p->sim.TIME = 0.1;
    p->sim.AKOLN = 135.0;
    d.NPLOT = 4;
    evaluate_revolution(*p);
    for (int n = 0; n < 5; ++n) EXPECT_EQ(d.series[0].y[0][n], 900.0f) << n;
}

TEST(RevolutionValues, OrdrevKeepsToTheSeries) {
    auto p = std::make_unique<Program>();
    int NANF = 1995;
    ORDREV(*p, 3.5, 1, 8, NANF, 2010, 4, 1, "POWERN");
    EXPECT_EQ(p->dia.series[0].y[7][2000], 3.5f);
    EXPECT_EQ(p->dia.series[0].y[7][2001], 0.0f);   // FIRST_V cell untouched
    EXPECT_EQ(NANF, 2011);
    int n2 = 1;
    ORDREV(*p, 3.5, 11, 1, n2, 5, 4, 1, "POWERN");   // no such diagram
    ORDREV(*p, 3.5, 1, 9, n2, 5, 4, 1, "POWERN");    // no such slot
    EXPECT_EQ(n2, 1);
}

TEST(RevolutionValues, OrdrevTraceNamesThePointsAndTheUnit) {
    auto p = std::make_unique<Program>();
    p->units.IPRNT2 = 5;
    int NANF = 11;
    ORDREV(*p, 2.0, 2, 3, NANF, 20, 2, 2, "DVLHM1");
    ORDREV(*p, 400.0, 1, 1, NANF, 30, 3, 3, "PPUMPC");
    const std::string& t6 = p->units.u6.text();
    EXPECT_NE(t6.find("   3. ORDINATE IM  2. DIAGRAMM: \"DVLHM1\" ---> Punkte: (  11 bis   20)\n"
                      "                gefuellt mit  0.2000000E+01 Liter/sec fuer die   2. Umdrehung\n"),
              std::string::npos);
    EXPECT_NE(t6.find("   1. ORDINATE IM  1. DIAGRAMM: \"PPUMPC\" ---> PUNKTE: (  21 BIS   30)\n"
                      "                gefuellt mit  0.4000000E+03 Watt fuer die   3. Umdrehung\n"),
              std::string::npos);
    EXPECT_NE(p->units.u9.text().find(" IM NACHFOLGENDEN PRINT OUTPUT WIRD DER WERT FUER DVLHM1 ERST "
                                      "IM ARRAY FUER DIE NAECHSTE UMDREHUNG GEDRUCKT"),
              std::string::npos);
}
