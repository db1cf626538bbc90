// Pre-calculation and start values of a run: volume extremes and the ideal machine, the start
// states the pairs take at their crank angles, the crankcase, the polytropic regenerator ends,
// the liquid columns, start forces, the marker search with its give-up, and the run-value
// checks. Expected values are worked by hand from the machine below.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "state/program.hpp"
#include "simulation/precalc.hpp"

using namespace korvex;
using namespace korvex::simulation;
using PF = PairField;

namespace {

constexpr double PI = 3.141592654;  // as the model holds it
const double S2 = std::sqrt(2.0);

// A machine that can be followed by hand: 10 cm2 pistons with 1 cm dead heights, no
// regenerator, no control volumes, crank radius 5 cm on a sinusoidal drive, the cold crank 90
// degrees behind. Total volume VG = 120 - 50 (cos phi + sin phi): largest 120 + 50 sqrt 2 at
// 225 degrees, smallest 120 - 50 sqrt 2 at 45. Spaces at 600 K and 300 K, filled at 10 bar and
// 300 K into V0 = 100 cm3 with a gas constant of 20: 1/6 g per pair. 600 U/min.
void machine(Program& p, int NZYL) {
    auto& m = p.run;
    m.NZYL = NZYL;
    m.TIME = 1.0;
    m.SCHRITT = 1.0e-4;
    m.N0 = 600.0;
    m.THETA = 1.0e6;
    m.mode = run::Mode::NONE;
    m.EPSILON_E = m.EPSILON_C = 1.0;
    m.TAA1 = m.TH = 600.0;
    m.TZZ1 = m.TK = 300.0;
    m.VERLUST = 0.0;
    m.R = 5.0;
    m.LR = 0.0;
    m.PHASE = -90.0;
    m.FQE = m.FQC = 10.0;
    m.AKST = 1.0;
    m.FQER = m.FQCR = 9.0;
    m.H00E.fill(1.0);
    m.H00C.fill(1.0);
    m.VE.fill(100.0);
    m.VC.fill(100.0);
    m.VCRANC = 1000.0;
    m.T0 = 300.0;
    m.P0 = 10.0;
    m.RS = 20.0;
    m.CV = 3.0;
    m.KAPPA = 1.4;
    m.V0.fill(100.0);
    m.GM0.fill(1.0 / 6.0);
    m.VMAX = 120.0 + 50.0 * S2;
    m.PHI0 = NZYL == 1 ? 225.0 : 0.0;
}

bool has(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

double travel(double phi) { return 5.0 * (1.0 - std::cos(phi)); }

}  // namespace

TEST(PrecalcStart, SingleActingMachineStartsFromTheFullTurn) {
    Program p;
    machine(p, 1);
    p.run.GM0[1] = 10.0 * (1220.0 - p.run.VMAX) / (20.0 * 300.0);
    ASSERT_TRUE(PRECALC(p));
    const auto& pre = p.sim.pre;
    EXPECT_EQ(pre.NLAEUFE, 1);

    // Volume extremes and where they lie; the ideal machine's dead volume
    // (10 * 1 + 100) / (VMAX/VMIN - 1).
    EXPECT_NEAR(pre.VMAX, 190.71067811865476, 1e-7);
    EXPECT_NEAR(pre.VMIN, 49.289321881345245, 1e-7);
    EXPECT_NEAR(pre.PHI_VMAX, 225.0, 1e-6);
    EXPECT_NEAR(pre.PHI_VMIN, 45.0, 1e-6);
    EXPECT_NEAR(pre.VMIN_IDEAL, 38.33809511662427, 1e-6);
    EXPECT_NEAR(pre.ANGLE[1], 45.0, 1e-6);
    EXPECT_NEAR(pre.ANGLE[4], 225.0, 1e-6);

    // Pair 1 at 0 degrees: VE = 10, VC = 60, VRED = (10/600 + 60/300) 300 = 65.
    const PairRecord& R = p.sim.pair[0];
    const double P = 1000.0 / 65.0;
    // (Angles run in the model's pi of ten digits: its full turn is 8e-10 rad past the true
    // one, which moves the pressures by some 1e-8.)
    EXPECT_NEAR(R[PF::P], P, 1e-7);
    EXPECT_DOUBLE_EQ(R[PF::TE], 600.0);
    EXPECT_DOUBLE_EQ(R[PF::TC], 300.0);
    EXPECT_NEAR(R[PF::ME], P * 10.0 / (20.0 * 600.0), 1e-9);
    EXPECT_NEAR(R[PF::MC], P * 60.0 / (20.0 * 300.0), 1e-9);
    EXPECT_NEAR(R[PF::ME] + R[PF::MC] + R[PF::MR], 1.0 / 6.0, 1e-12);

    // The step before the start, at -OMEGA SCHRITT: the volumes VORCOM hands to the first step.
    const double A1 = -600.0 * PI / 30.0 * 1.0e-4;
    const double VEV = 10.0 * (1.0 + travel(A1));
    const double VCV = 10.0 * (1.0 + travel(A1 - PI / 2.0));
    EXPECT_NEAR(pre.ANGLE1, A1, 1e-15);
    EXPECT_NEAR(R.VEV, VEV, 1e-9);
    EXPECT_NEAR(R.VCV, VCV, 1e-9);
    EXPECT_NEAR(R.VGV, VEV + VCV, 1e-9);
    const double P1V = 1000.0 / ((VEV / 600.0 + VCV / 300.0) * 300.0);
    EXPECT_NEAR(R.PV, P1V, 1e-9);

    // Crankcase: 1000 + 100 + 100 around 20 cm3 of dead space; filled at VMAX, so at 0
    // degrees (VG1 = 70) it holds P0 (1220 - VMAX) / 1150 at T0.
    EXPECT_NEAR(pre.VCRTOT, 1220.0, 1e-12);
    EXPECT_NEAR(pre.VG2ZA, 1150.0, 1e-6);
    EXPECT_NEAR(pre.P2ZA, 8.950341929403, 1e-8);
    EXPECT_DOUBLE_EQ(pre.TE2ZA, 300.0);
    // One step earlier its volume is 1220 - VG1V; compressed along the adiabatic of 1.4.
    const double VG2V = 1220.0 - (VEV + VCV);
    const double TE2V = 300.0 * std::pow(1150.0 / VG2V, 0.4);
    EXPECT_NEAR(pre.VG2V, VG2V, 1e-9);
    EXPECT_NEAR(pre.TE2V, TE2V, 1e-7);
    EXPECT_NEAR(pre.P2V, 8.950341929403 * 1150.0 * TE2V / (VG2V * 300.0), 1e-7);
    EXPECT_NEAR(p.sim.pair[1][PF::P], pre.P2V, 1e-12);
    EXPECT_NEAR(p.sim.pair[1][PF::ME], p.run.GM0[1], 1e-12);

    // Rod forces: gas on the full piston against the crankcase on the annulus, less the
    // ambient pressure on the rod (1 bar on 1 cm2 = 10 N).
    EXPECT_NEAR(pre.FKOL, 10.0, 1e-12);
    EXPECT_NEAR(pre.FI0, (P1V * 10.0 - pre.P2V * 9.0) * 10.0 - 10.0, 1e-6);
    EXPECT_NEAR(pre.FII0, (P1V * 10.0 - pre.P2V * 9.0) * 10.0 - 10.0, 1e-6);

    // COMP's inputs carry the run's data.
    EXPECT_TRUE(p.sim.comp.DREI);
    EXPECT_DOUBLE_EQ(p.sim.comp_pair[0].V0, 100.0);
    EXPECT_DOUBLE_EQ(p.sim.comp_pair[1].FE, 0.9);
}

TEST(PrecalcStart, DoubleActingTakesTheFullTurnFirstWhenStartingPastHalf) {
    Program p;
    machine(p, 2);
    p.run.PHI0 = 200.0;
    p.run.FQCR = 8.0;  // a different annulus on the cold side, to tell the two rods apart
    p.units.IPRNT2 = 4;
    ASSERT_TRUE(PRECALC(p));
    const std::string& u9 = p.units.u9.text();
    const auto at4 = u9.find("ANGLEZ(4)=");
    const auto at2 = u9.find("ANGLEZ(2)=");
    ASSERT_NE(at4, std::string::npos);
    ASSERT_NE(at2, std::string::npos);
    EXPECT_LT(at4, at2);

    // Pair 1 from 360 degrees (VRED 65), pair 2 from 180 degrees of H1-K1: VE = 110, VC = 60,
    // VRED = 55 + 60.
    EXPECT_NEAR(p.sim.pair[0][PF::P], 1000.0 / 65.0, 1e-7);
    EXPECT_NEAR(p.sim.pair[1][PF::P], 1000.0 / 115.0, 1e-7);
    EXPECT_NEAR(p.sim.pre.mark[1].PHI1Z, 180.0, 1e-6);
    EXPECT_NEAR(p.sim.pre.mark[3].PHI1Z, 360.0, 1e-6);
    EXPECT_EQ(p.sim.pair[2][PF::P], 0.0);

    // Start forces from the total pressures one step before the start: pair 2 sits on the
    // annuli (0.9 of the hot piston, 0.8 of the cold one) half a turn on.
    const double A1 = -600.0 * PI / 30.0 * 1.0e-4, A2 = A1 - PI / 2.0;
    const double V1 = (10.0 * (1.0 + travel(A1)) / 600.0 + 10.0 * (1.0 + travel(A2)) / 300.0) * 300.0;
    const double V2 = (10.0 * (1.0 + 0.9 * travel(A1 + PI)) / 600.0 +
                       10.0 * (1.0 + 0.8 * travel(A2 + PI)) / 300.0) * 300.0;
    const double P1 = 1000.0 / V1, P2 = 1000.0 / V2;
    EXPECT_NEAR(p.sim.pre.PGESV[0], P1, 1e-9);
    EXPECT_NEAR(p.sim.pre.PGESV[1], P2, 1e-9);
    EXPECT_NEAR(p.sim.pre.FI0, (P1 * 10.0 - P2 * 9.0) * 10.0 - 10.0, 1e-8);
    EXPECT_NEAR(p.sim.pre.FII0, (P1 * 10.0 - P2 * 8.0) * 10.0 - 10.0, 1e-8);
}

TEST(PrecalcStart, FourPairsTakeTheStatesOfTheirCrankAngles) {
    Program p;
    machine(p, 4);
    ASSERT_TRUE(PRECALC(p));
    // H1-K1 of the four-pair machine has the cold annulus (0.9): VC = 10 (1 + 0.9 X).
    // 0 deg: VRED = 5 + 55; 90: 30 + 10; 180: 55 + 55; 270: 30 + 100.
    EXPECT_NEAR(p.sim.pair[0][PF::P], 1000.0 / 60.0, 1e-7);   // pair 1 at the start angle
    EXPECT_NEAR(p.sim.pair[1][PF::P], 1000.0 / 110.0, 1e-7);  // pair 2 at 180
    EXPECT_NEAR(p.sim.pair[2][PF::P], 1000.0 / 130.0, 1e-7);  // pair 3 at 180 - PHASE
    EXPECT_NEAR(p.sim.pair[3][PF::P], 1000.0 / 40.0, 1e-7);   // pair 4 at -PHASE
    for (int k = 0; k < 4; ++k) EXPECT_GT(p.sim.pre.PGESV[k], 0.0) << k;
}

TEST(PrecalcStart, PolytropicRegeneratorEndsLieBetweenTheSpaceMeans) {
    Program p;
    machine(p, 1);
    p.run.mode = run::Mode::POLY;
    p.run.EPSILON_E = 1.4;
    p.run.EPSILON_C = 1.2;
    p.run.VERLUST = 20.0;
    p.units.IPRNT2 = 4;
    ASSERT_TRUE(PRECALC(p));
    const auto& pre = p.sim.pre;
    // T = T_start (VG one step before the start / VG)**(n - 1); the start is at VMAX.
    const double VGm = 120.0 + 50.0 * S2 * std::cos(0.125 * PI / 180.0);
    const double VMAX = 120.0 + 50.0 * S2, VMIN = 120.0 - 50.0 * S2;
    const double TEMAX = 600.0 * std::pow(VGm / VMIN, 0.4), TEMIN = 600.0 * std::pow(VGm / VMAX, 0.4);
    const double TCMAX = 300.0 * std::pow(VGm / VMIN, 0.2), TCMIN = 300.0 * std::pow(VGm / VMAX, 0.2);
    EXPECT_NEAR(pre.TE_MAX, TEMAX, 1e-6);
    EXPECT_NEAR(pre.TE_MIN, TEMIN, 1e-6);
    EXPECT_NEAR(pre.TC_MAX, TCMAX, 1e-6);
    EXPECT_NEAR(pre.TC_MIN, TCMIN, 1e-6);
    const double TER = (TEMAX + TEMIN) / 2.0, TCR = (TCMAX + TCMIN) / 2.0;
    EXPECT_NEAR(pre.TER_1234, TER - 0.1 * (TER - TCR), 1e-6);
    EXPECT_NEAR(pre.TCR_1234, TCR + 0.1 * (TER - TCR), 1e-6);
    EXPECT_DOUBLE_EQ(p.sim.comp.TER_1234, pre.TER_1234);
    EXPECT_DOUBLE_EQ(p.sim.comp.TE_MAX, pre.TE_MAX);
    EXPECT_DOUBLE_EQ(p.sim.pair[0][PF::TREGE], pre.TER_1234);
    EXPECT_TRUE(has(p.units.u6.text(), " TCR_1234="));
    EXPECT_TRUE(has(p.units.u9.text(), " KELVIN SIND CONSTANT BEI DER POLYTROPEN ZUSTANDSAENDERUNG"));
}

TEST(PrecalcStart, LiquidColumnsOfTheSingleActingMachine) {
    Program p;
    machine(p, 1);
    p.run.ZW = 2.0;
    p.run.DAEMPFUNG = 0.5;
    ASSERT_TRUE(PRECALC(p));
    // OMEGA_0 = sqrt(9.81 * 200 / (R ZW)); XD = 2 / sqrt((2 pi / ln 0.5)**2 + 1).
    EXPECT_NEAR(p.sim.pre.OMEGA_0, 14.007141335487908, 1e-9);
    EXPECT_NEAR(p.sim.pre.XD, 0.21930516197047917, 1e-9);
    EXPECT_NEAR(p.sim.pre.MH, 9.0 * double(0.988f) * 5.0 * 2.0, 1e-9);
    // Said on every listing, whatever the detail level.
    const char* msg = " ======>> ES SOLL EINE EINFACH WIRKENDE MASCHINE MIT SCHWINGENDEN "
                      "ARBEITSFLUESSIGKEITSSAEULEN BERECHNET WERDEN";
    EXPECT_TRUE(has(p.units.u9.text(), msg));
    EXPECT_TRUE(has(p.units.u8.text(), msg));
    EXPECT_TRUE(has(p.units.u6.text(),
                    " ======>> EINFACH WIRKENDE MASCHINE MIT SCHWINGENDEN ARBEITSFLUESSIGKEITSSAEULEN"));

    // Without damping (X1/X0 = 1) the columns are not damped and nothing is said.
    Program q;
    machine(q, 1);
    q.run.ZW = 2.0;
    q.run.DAEMPFUNG = 1.0;
    ASSERT_TRUE(PRECALC(q));
    EXPECT_EQ(q.sim.pre.XD, 0.0);
    EXPECT_FALSE(has(q.units.u8.text(), "SCHWINGENDEN"));
}

TEST(PrecalcStart, MarkerNeverMetGivesUpAfterTenPasses) {
    Program p;
    machine(p, 4);
    p.run.PHASE = -400.0;  // the first marker angle, 400 degrees, is never reached
    p.units.IPRNT2 = 0;    // the repetitions and the give-up are listed at every level
    EXPECT_FALSE(PRECALC(p));
    EXPECT_EQ(p.run.NFAIL, 199);
    EXPECT_EQ(p.sim.pre.NLAEUFE, 10);
    const char* msg = " NACH 10 VERSUCHEN WIRD DIE POLYTROPE VORBERECHNUNG ABGEBROCHEN";
    EXPECT_TRUE(has(p.units.u6.text(), msg));
    EXPECT_TRUE(has(p.units.u9.text(), msg));
    // Nine widenings of the tolerance by 10 % each, announced on the detail listing.
    const std::string& u9 = p.units.u9.text();
    int n = 0;
    for (auto pos = u9.find("MUSS WIEDERHOLT WERDEN"); pos != std::string::npos;
         pos = u9.find("MUSS WIEDERHOLT WERDEN", pos + 1))
        ++n;
    EXPECT_EQ(n, 9);
    EXPECT_NEAR(p.sim.pre.FACTAA, (1.0 / 12.0) * std::pow(1.1, 9), 1e-6);
}

TEST(PrecalcStart, RegeneratorMeansByTheStartTemperatures) {
    Program p;
    machine(p, 1);
    p.run.DELTAT = 2.0;
    EXPECT_TRUE(make_comp_common(p).DREI);
    EXPECT_NEAR(make_comp_common(p).CQ, 4186.0 * 2.0 * 0.988, 1e-3);
    p.run.VERLUST = 100.0;
    EXPECT_FALSE(make_comp_common(p).DREI);
    p.run.VERLUST = 0.0;
    p.run.TZZ1 = 600.0;
    EXPECT_FALSE(make_comp_common(p).DREI);
}

TEST(PrecalcStart, DegenerateMachineKeepsTheListingsFinite) {
    // Only the checked run values are set: no pistons, no stroke, no gas.
    Program p;
    p.run.TIME = 0.1;
    p.run.SCHRITT = 0.001;
    p.run.N0 = 100.0;
    p.run.THETA = 1.0;
    p.run.DAEMPFUNG = 0.5;
    p.units.IPRNT2 = 6;
    ASSERT_TRUE(check_run_values(p));
    PRECALC(p);
    for (const std::string* t : {&p.units.u6.text(), &p.units.u8.text(), &p.units.u9.text()}) {
        EXPECT_FALSE(has(*t, "NaN"));
        EXPECT_FALSE(has(*t, "Inf"));
    }
    EXPECT_TRUE(std::isfinite(p.sim.pre.VMIN_IDEAL));
    EXPECT_TRUE(std::isfinite(p.sim.pre.FI0));
    for (const auto& R : p.sim.pair)
        for (double v : R.f) EXPECT_TRUE(std::isfinite(v));
}

TEST(PrecalcChecks, RunValuesThatCannotBeSteppedStopTheJob) {
    struct Case {
        double TIME, SCHRITT, N0, THETA;
        int NFAIL;
        const char* piece;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {0.0, 0.001, 600.0, 1.0, 501, "ZEILE 1: TIME="},
        {1.0, 0.0, 600.0, 1.0, 501, "ZEILE 1: SCHRITT="},
        {1.0, -0.001, 600.0, 1.0, 501, "ZEILE 1: SCHRITT="},
        {1.0, 0.001, 0.0, 1.0, 506, "ZEILE 6: N0="},
        {1.0, 0.001, nan, 1.0, 506, "ZEILE 6: N0="},
        {1.0, 0.001, 600.0, -5.0, 506, "ZEILE 6: THETA="},
        // 0.01 s in steps of 1E-300 s would never end; ten million steps is the most a run gets.
        {0.01, 1.0e-300, 600.0, 1.0, 501, "ZEILE 1: TIME=0.01 / SCHRITT=1.0E-300 ergibt mehr als 10000000 Rechenschritte"},
        {1.0, 0.99e-7, 600.0, 1.0, 501, " ergibt mehr als 10000000 Rechenschritte"},
    };
    for (const Case& c : cases) {
        Program p;
        p.run.TIME = c.TIME;
        p.run.SCHRITT = c.SCHRITT;
        p.run.N0 = c.N0;
        p.run.THETA = c.THETA;
        EXPECT_FALSE(check_run_values(p)) << c.piece;
        EXPECT_EQ(p.run.NFAIL, c.NFAIL) << c.piece;
        EXPECT_TRUE(has(p.units.u6.text(), c.piece)) << p.units.u6.text();
        EXPECT_TRUE(has(p.units.u9.text(), c.piece)) << p.units.u9.text();
        EXPECT_TRUE(has(p.units.u6.text(), "; Programm STOP"));
    }
    Program ok;
    ok.run.TIME = 0.1;
    ok.run.SCHRITT = 0.1;
    ok.run.N0 = 600.0;
    ok.run.THETA = 1.0;
    EXPECT_TRUE(check_run_values(ok));
    EXPECT_EQ(ok.run.NFAIL, 0);
    EXPECT_TRUE(ok.units.u6.text().empty());
    Program many;  // exactly ten million steps still run
    many.run.TIME = 1.0;
    many.run.SCHRITT = 1.0e-7;
    many.run.N0 = 600.0;
    many.run.THETA = 1.0;
    EXPECT_TRUE(check_run_values(many));
}

TEST(PrecalcStart, IdealMachineIsListedAsDeadVolumeThenSweptVolumeAndRatio) {
    // (10 * 1 + 100) / (190.711 / 49.289 - 1) = 38.338 cm3; VMAX/VMIN = 3.86921.
    const std::string dead = " IDEALE MASCHINE MIT V = VE1: VMIN_IDEAL=     38.338\n";
    const std::string swept = " HUB-VOL: VHUBH1=    100.000 CM**3; VMAX/VMIN =   3.86921\n";
    Program p;
    machine(p, 2);
    p.units.IPRNT2 = 4;
    ASSERT_TRUE(PRECALC(p));
    for (const std::string* t : {&p.units.u6.text(), &p.units.u9.text()}) {
        EXPECT_TRUE(has(*t, dead + swept)) << *t;
    }
    // Level 3 lists it on unit 9 only.
    Program q;
    machine(q, 2);
    q.units.IPRNT2 = 3;
    ASSERT_TRUE(PRECALC(q));
    EXPECT_TRUE(has(q.units.u9.text(), dead + swept));
    EXPECT_FALSE(has(q.units.u6.text(), "VMIN_IDEAL"));
}
