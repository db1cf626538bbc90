// State equations of one cylinder pair: gas charge, one-pressure closed form, temperature
// modes, regenerator means, work of a closed cycle, vapour at uniform temperature.
#include <gtest/gtest.h>

#include <cmath>

#include "properties/steam_state.hpp"
#include "runtime/units.hpp"
#include "simulation/comp.hpp"

using namespace korvex;
using namespace korvex::simulation;
using F = PairField;

namespace {

constexpr double PI = 3.14159265358979323846;

// A small pair: 10 cm2 pistons, 1 cm dead heights, 30 cm3 regenerator, filled at 10 bar and
// 300 K into V0 = 75 cm3. Gas constant 20 Bar*cm3/(g*K): the charge is 10*75/(20*300) g.
struct Pair {
    PairRecord R;
    CompCommon C;
    CompPair PP;
    runtime::Units u;
    properties::SteamState st;
    int NFAIL = 0;
    static constexpr double CHARGE = 0.125;

    Pair(double TE, double TC) {
        C.AH = C.AK = 10.0;
        C.VR = 30.0;
        C.VR1003 = 10.0;
        C.T0 = 300.0;
        C.P0 = 10.0;
        C.RS = 20.0;
        C.CV = 3.0;
        C.TE_MAX = 2000.0;
        C.TC_MIN = 1.0;
        PP.H00E = PP.H00C = 1.0;
        PP.V0 = 75.0;
        R[F::TE] = R.TEV = TE;
        R[F::TC] = R.TCV = TC;
    }
    void step(double XE, double XC, double TIME, double DT) {
        PP.XE = XE;
        PP.XC = XC;
        COMP(R, C, PP, TIME, DT, u, st, NFAIL);
    }
    double mass() const { return R[F::ME] + R[F::MC] + R[F::MR]; }
};

}  // namespace

TEST(CompState, IsothermalPressureIsTheOnePressureClosedForm) {
    // Three-section regenerator without loss between 600 and 300 K: its reduced volume is
    // VR ln(TE/TC)/(TE - TC), the harmonic mean over a linear profile.
    Pair p(600.0, 300.0);
    p.C.DREI = true;
    p.step(2.0, 3.0, 0.0, 1e-3);  // VE = 30, VC = 40, VG = 100
    const double s = 30.0 / 600.0 + 30.0 * std::log(2.0) / 300.0 + 40.0 / 300.0;
    EXPECT_NEAR(p.R[F::P], 10.0 * 75.0 / (300.0 * s), 1e-12);
    EXPECT_NEAR(p.R[F::T1], 100.0 / s, 1e-9);
    EXPECT_NEAR(p.R[F::V], 300.0 * s, 1e-9);
    EXPECT_NEAR(p.R[F::ME], p.R[F::P] * 30.0 / (20.0 * 600.0), 1e-15);
    EXPECT_NEAR(p.mass(), Pair::CHARGE, 1e-15);
    // No vapour: the total pressure is the gas pressure; the spaces keep their temperatures.
    EXPECT_EQ(p.R[F::PGES], p.R[F::P]);
    EXPECT_EQ(p.R[F::TE], 600.0);
    EXPECT_EQ(p.R[F::TC], 300.0);
    EXPECT_EQ(p.R[F::TREGE], 600.0);
    EXPECT_EQ(p.R[F::TREGC], 300.0);
}

TEST(CompState, RegeneratorMeansThreeSectionAndArithmetic) {
    // 20 % loss: the ends stand 10 % of TE - TC inside: 570 and 330 K.
    for (bool drei : {true, false}) {
        Pair p(600.0, 300.0);
        p.C.VERLUST = 20.0;
        p.C.DREI = drei;
        p.step(2.0, 3.0, 0.0, 1e-3);
        EXPECT_DOUBLE_EQ(p.R[F::TREGE], 570.0);
        EXPECT_DOUBLE_EQ(p.R[F::TREGC], 330.0);
        if (drei) {
            EXPECT_NEAR(p.R[F::TR], 240.0 / std::log(570.0 / 330.0), 1e-9);
            // Sections of 80 K each: 570-490, 490-410, 410-330.
            EXPECT_NEAR(p.R.TRA, 80.0 / std::log(570.0 / 490.0), 1e-9);
            EXPECT_NEAR(p.R.TRB, 80.0 / std::log(490.0 / 410.0), 1e-9);
            EXPECT_NEAR(p.R.TRC, 80.0 / std::log(410.0 / 330.0), 1e-9);
            EXPECT_NEAR(p.R.VRRED, 30.0 * std::log(570.0 / 330.0) / 240.0, 1e-12);
            // Hotter gas moves the ends to 750 and 350 K: the means follow them and are not
            // those of the step before.
            p.R[F::TE] = 800.0;
            p.step(2.0, 3.0, 1e-3, 1e-3);
            const double d = 400.0 / 3.0;
            EXPECT_NEAR(p.R[F::TR], 400.0 / std::log(750.0 / 350.0), 1e-9);
            EXPECT_NEAR(p.R.TRA, d / std::log(750.0 / (750.0 - d)), 1e-9);
            EXPECT_NEAR(p.R.TRC, d / std::log((350.0 + d) / 350.0), 1e-9);
            EXPECT_NEAR(p.R.VRRED, 30.0 * std::log(750.0 / 350.0) / 400.0, 1e-12);
        } else {
            EXPECT_DOUBLE_EQ(p.R[F::TR], 450.0);
            EXPECT_NEAR(p.R.VRRED, 10.0 * (1.0 / 510.0 + 1.0 / 450.0 + 1.0 / 390.0), 1e-15);
            // The next step at the same temperatures keeps them; colder gas (TC 200 K: ends
            // 560 and 240 K, mean 400 K) moves them.
            p.step(2.0, 3.0, 1e-3, 1e-3);
            EXPECT_DOUBLE_EQ(p.R[F::TR], 450.0);
            p.R[F::TC] = 200.0;
            p.step(2.0, 3.0, 2e-3, 1e-3);
            EXPECT_DOUBLE_EQ(p.R[F::TREGC], 240.0);
            EXPECT_DOUBLE_EQ(p.R[F::TR], 400.0);
            EXPECT_NEAR(p.R.VRRED, 10.0 * (1.0 / 480.0 + 1.0 / 400.0 + 1.0 / 320.0), 1e-15);
        }
        EXPECT_NEAR(p.mass(), Pair::CHARGE, 1e-15);
    }
    // Equal ends (no temperature difference) fall back to the arithmetic means, no 0/0.
    Pair q(400.0, 400.0);
    q.C.DREI = true;
    q.step(2.0, 3.0, 0.0, 1e-3);
    EXPECT_EQ(q.R[F::TR], 400.0);
    EXPECT_NEAR(q.R.VRRED, 30.0 / 400.0, 1e-15);
    // Fixed ends of the pre-calculation with a negative model number.
    Pair m(600.0, 300.0);
    m.C.MODELL = -1;
    m.C.TER_1234 = 500.0;
    m.C.TCR_1234 = 350.0;
    m.step(2.0, 3.0, 0.0, 1e-3);
    EXPECT_EQ(m.R[F::TREGE], 500.0);
    EXPECT_EQ(m.R[F::TREGC], 350.0);
    EXPECT_NEAR(m.R[F::TR], 150.0 / std::log(500.0 / 350.0), 1e-9);
}

TEST(CompState, PolytropicTemperaturesFollowTheTotalVolumeRatio) {
    Pair p(600.0, 300.0);
    p.C.MODE_POLY = true;
    p.C.CONSTE1 = 0.4;
    p.C.CONSTC1 = 0.2;
    p.C.VERLUST = 10.0;
    // VG from 100 down to 50 cm3 over a few steps; the space volumes move differently (the
    // cold piston even moves out), only the total volume counts.
    auto compress = [](Pair& x) {
        const double xe[] = {2.0, 1.5, 0.5, 0.0, 0.0};
        const double xc[] = {3.0, 3.0, 2.5, 1.5, 0.0};
        x.R.VGV = 100.0;
        for (int k = 0; k < 5; ++k) {
            x.step(xe[k], xc[k], k * 1e-3, 1e-3);
            EXPECT_NEAR(x.mass(), Pair::CHARGE, 1e-15) << k;
        }
    };
    compress(p);
    // VG = 10*(1+0) + 10*(1+0) + 30 = 50: the ratio telescopes to 100/50.
    EXPECT_NEAR(p.R[F::TE], 600.0 * std::pow(2.0, 0.4), 1e-9);
    EXPECT_NEAR(p.R[F::TC], 300.0 * std::pow(2.0, 0.2), 1e-9);
    EXPECT_NEAR(p.R[F::DTE], (600.0 * std::pow(2.0, 0.4) - 600.0 * std::pow(100.0 / 65.0, 0.4)) / 1e-3,
                1e-6);

    // Mixing after mass exchange without regenerator loss brings every inflow at the space's
    // own temperature, so the polytropic temperatures stand.
    Pair q(600.0, 300.0);
    q.C.MODE_POLY = true;
    q.C.MODELL = 1;
    q.C.CONSTE1 = 0.4;
    q.C.CONSTC1 = 0.2;
    compress(q);
    EXPECT_NEAR(q.R[F::TE], 600.0 * std::pow(2.0, 0.4), 1e-9);
    EXPECT_NEAR(q.R[F::TC], 300.0 * std::pow(2.0, 0.2), 1e-9);
}

TEST(CompState, TableModeTakesTheCrankAngleTemperatures) {
    Pair p(600.0, 300.0);
    p.C.MODE_TEMPD = true;
    for (int k = 0; k < 37; ++k) {
        p.C.TTE[k] = 600.0 + k;
        p.C.TTC[k] = 300.0 - k;
    }
    p.PP.CANGLE = 20.0;
    p.step(2.0, 3.0, 0.0, 1e-3);
    EXPECT_EQ(p.R[F::TE], 602.0);
    EXPECT_EQ(p.R[F::TC], 298.0);
    EXPECT_NEAR(p.mass(), Pair::CHARGE, 1e-15);
    // Linear tables: any interpolation order gives the line.
    p.PP.CANGLE = 125.0;
    p.step(2.0, 3.0, 1e-3, 1e-3);
    EXPECT_NEAR(p.R[F::TE], 612.5, 1e-9);
    EXPECT_NEAR(p.R[F::TC], 287.5, 1e-9);
    EXPECT_NEAR(p.mass(), Pair::CHARGE, 1e-15);
}

TEST(CompState, IsothermalCycleWorkApproachesTheClosedForm) {
    // Sinusoidal travels with the cold side 90 degrees behind: the work of the cycle in the
    // one-pressure isothermal model is (P0 V0/T0) R I (AH sin th + AK sin(th + al)), with
    // 1/P ~ K - c cos(phi - th) and I = 2 pi/c (K/sqrt(K^2 - c^2) - 1).
    const double Rk = 2.0, al = -PI / 2.0, TE = 600.0, TC = 300.0;
    const double vrred = 30.0 * std::log(2.0) / 300.0;
    const double K = 10.0 * (1.0 + Rk) / TE + 10.0 * (1.0 + Rk) / TC + vrred;
    const double a = 10.0 * Rk / TE, b = 10.0 * Rk / TC;
    const double cc = a + b * std::cos(al), cs = -b * std::sin(al);
    const double c = std::hypot(cc, cs), th = std::atan2(cs, cc);
    const double I = 2.0 * PI / c * (K / std::sqrt(K * K - c * c) - 1.0);
    const double W = 10.0 * 75.0 / 300.0 * Rk * I * (10.0 * std::sin(th) + 10.0 * std::sin(th + al));
    ASSERT_GT(W, 0.0);

    double err[2];
    const int steps[2] = {360, 3600};
    for (int n = 0; n < 2; ++n) {
        Pair p(TE, TC);
        p.C.DREI = true;
        const int N = steps[n];
        const double dt = 0.1 / N;  // one revolution in 0.1 s
        for (int k = 0; k <= N; ++k) {
            const double phi = 2.0 * PI * k / N;
            p.step(Rk * (1.0 - std::cos(phi)), Rk * (1.0 - std::cos(phi + al)), k * dt, dt);
            EXPECT_NEAR(p.mass(), Pair::CHARGE, 1e-15);
            if (k == 0) {
                EXPECT_EQ(p.R[F::A], 0.0);  // the start step adds nothing
            }
        }
        // Work in W*s is Bar*cm3 / 10. Isothermal spaces: the heat into E is E's work, the heat
        // out of C is C's work.
        err[n] = std::fabs(p.R[F::A] - W / 10.0) / (W / 10.0);
        EXPECT_NEAR(p.R[F::A], p.R[F::AE] + p.R[F::AC], 1e-12);
        EXPECT_NEAR(p.R[F::QZU], p.R[F::AE], 1e-12);
        EXPECT_NEAR(p.R[F::QAB], p.R[F::AC], 1e-12);
        EXPECT_EQ(p.R[F::QREZU], 0.0);
        EXPECT_EQ(p.R[F::QRCAB], 0.0);
    }
    EXPECT_LT(err[1], 1e-4);
    EXPECT_LT(err[1], err[0]);
}

TEST(CompState, RegeneratorLossHeatGoesToTheInflowSide) {
    // Gas leaves E and enters C: the loss of the cold inflow (at TCR, not TC) is removed by
    // the cooler, the hot outflow adds nothing to the heater.
    Pair p(600.0, 300.0);
    p.C.VERLUST = 20.0;
    p.step(2.0, 3.0, 0.0, 1e-3);
    p.step(1.5, 3.5, 1e-3, 1e-3);  // E shrinks, C grows
    const double DME = p.R[F::DME], DMC = p.R[F::DMC];
    ASSERT_LT(DME, 0.0);
    ASSERT_GT(DMC, 0.0);
    EXPECT_NEAR(p.R[F::DRCAB], 3.0 * DMC * (300.0 - 330.0) + 3.0 * DME * (600.0 - 570.0), 1e-9);
    EXPECT_EQ(p.R[F::DREZU], 0.0);
}

TEST(CompState, LiquidVolumesCarryTheInjectionFlow) {
    // With nozzles both sides get the injection flow, and the volumes add up step by step.
    Pair q(600.0, 300.0);
    q.C.DUESEN = true;
    q.C.BEVOL = 0.02;
    for (int k = 0; k < 10; ++k) q.step(2.0, 3.0, k * 1e-3, 1e-3);
    EXPECT_EQ(q.R[F::DVLQH], 0.02);
    EXPECT_NEAR(q.R[F::DVLHM], 0.02 * 10e-3, 1e-15);
    EXPECT_NEAR(q.R[F::DVLCM], 0.02 * 10e-3, 1e-15);
}

TEST(CompState, DegenerateInputStaysFinite) {
    // Nothing set at all, a zero step, no regenerator: no division may reach the record.
    PairRecord R;
    CompCommon C;
    CompPair PP;
    runtime::Units u;
    properties::SteamState st;
    int NFAIL = 0;
    COMP(R, C, PP, 0.0, 0.0, u, st, NFAIL);
    COMP(R, C, PP, 1.0, 0.0, u, st, NFAIL);
    for (std::size_t k = 0; k < F::COUNT; ++k) EXPECT_TRUE(std::isfinite(R[k])) << k;
    // VR = 0 with a gas: no regenerator mass, density or flow.
    Pair p(600.0, 300.0);
    p.C.VR = p.C.VR1003 = 0.0;
    p.step(2.0, 3.0, 0.0, 1e-3);
    p.step(1.0, 3.0, 1e-3, 1e-3);
    EXPECT_EQ(p.R[F::MR], 0.0);
    EXPECT_EQ(p.R[F::GDR], 0.0);
    EXPECT_EQ(p.R[F::DMR], 0.0);
    EXPECT_NEAR(p.mass(), Pair::CHARGE, 1e-15);
}

TEST(CompState, VapourAtUniformTemperatureIsSaturated) {
    // All spaces at 373.15 K (the table row): the partial pressure of the vapour is the
    // saturation pressure, and the whole vapour in VG is VG * RHO / 1000.
    const double T = static_cast<double>(373.15f);
    Pair p(T, T);
    p.C.FDAMPF = true;
    p.step(2.0, 3.0, 0.0, 1e-3);
    ASSERT_EQ(p.NFAIL, 0);
    const double ps = static_cast<double>(1.01322f);
    EXPECT_NEAR(p.R[F::PS], ps, 1e-9);
    EXPECT_NEAR(p.R[F::PGES], p.R[F::P] + ps, 1e-9);
    EXPECT_NEAR(p.R[F::T3], T, 1e-6);
    const double sdm = 100.0 * static_cast<double>(0.5975f) / 1000.0;
    EXPECT_NEAR(p.R[F::SDM], sdm, 1e-9);
    // Default definitions: heat content SDM * R, entropy DQD / T3.
    EXPECT_NEAR(p.R[F::DQD], sdm * static_cast<double>(2256.66f), 1e-6);
    EXPECT_NEAR(p.R[F::DSD], p.R[F::DQD] / T, 1e-9);
    EXPECT_NEAR(p.mass(), Pair::CHARGE, 1e-15);
    // The pair grows by 10 cm3 at the same temperature: the vapour stays saturated (no
    // pressure rate), 10 cm3 more of it evaporate, and the heat rate is that evaporation.
    p.step(3.0, 3.0, 1e-3, 1e-3);
    EXPECT_NEAR(p.R[F::DPS], 0.0, 1e-6);
    const double dqdamf = 10.0 * static_cast<double>(0.5975f) / 1000.0 * static_cast<double>(2256.66f) / 1e-3;
    EXPECT_NEAR(p.R[F::DQDAF], dqdamf, 1e-3);
    EXPECT_NEAR(p.R[F::DS3], dqdamf / T, 1e-5);
    EXPECT_NEAR(p.R[F::DQNZD], p.R[F::DQNUZ] + dqdamf, 1e-3);
    EXPECT_NEAR(p.R[F::QDAMF], dqdamf * 1e-3, 1e-6);
    // The vapour's work at its constant pressure: -PS dVG / 10 = -1.01322 * 10 / 10 W*s.
    EXPECT_NEAR(p.R[F::WORK], -ps * 10.0 / 10.0, 1e-12);

    // Heat content and entropy as sums over the spaces: the five space masses add up to the
    // vapour of the whole volume.
    Pair d(T, T);
    d.C.FDAMPF = true;
    d.C.DQD = 3;
    d.C.DSD = 1;
    d.step(2.0, 3.0, 0.0, 1e-3);
    const double hd = static_cast<double>(2675.73f), cpw = static_cast<double>(4.21707f);
    EXPECT_NEAR(d.R[F::DQD], sdm * (hd - cpw * (T - static_cast<double>(273.15f))), 1e-6);
    EXPECT_NEAR(d.R[F::DSD], sdm * static_cast<double>(7.35448f), 1e-9);

    // A space beyond the table is a property error: the step ends before any integral moves.
    Pair q(600.0, 300.0);
    q.C.FDAMPF = true;
    q.step(2.0, 3.0, 1e-3, 1e-3);
    EXPECT_GT(q.NFAIL, 880);
    EXPECT_EQ(q.R[F::A], 0.0);
    EXPECT_EQ(q.R.PV, 0.0);
}

TEST(CompState, TheVapourStartStateGivesTheFirstRatesWhereItMeansTheSame) {
    // All spaces at 373.15 K: the saturated heat content of the pair's 100 cm3 is
    // H = SDM (HD - CPW (T - 273.15)). The start state says the heat contents were H0 = H / 2
    // one step before, at the same vapour pressure. Heat content as the sum of the spaces'
    // (definition 3), entropy that sum over T3 (7), its rate the entropy difference (1): the
    // first step's rates come from the start state, whatever the definitions.
    const double T = static_cast<double>(373.15f);
    const double sdm = 100.0 * static_cast<double>(0.5975f) / 1000.0;
    const double H = sdm * (static_cast<double>(2675.73f) - static_cast<double>(4.21707f) * (T - static_cast<double>(273.15f)));
    properties::VorcomArgs a;
    a.FDAMPF = 1;
    a.PS1V = static_cast<double>(1.01322f);
    a.T31V = T;
    a.QHE = H / 4;
    a.QHC = H / 8;
    a.QHR = H / 8;
    a.TE = a.TC = a.TR = T;
    a.VE1V = 20.0;
    a.VC1V = 50.0;
    a.VG1V = 100.0;
    a.V1V = 300.0 * 100.0 / T;
    a.P1V = 7.5 * T / 100.0;
    a.ME1V = a.MC1V = a.MR1V = Pair::CHARGE / 3;
    a.TE1V = a.TC1V = T;
    a.DELT = 1e-3;
    auto first_step = [&](int dqd, int dsd, bool nozzles) {
        Pair p(T, T);
        p.C.FDAMPF = true;
        p.C.DQD = dqd;
        p.C.DSD = dsd;
        p.C.DQDAMPF = 2;
        p.C.DS3 = 1;
        p.C.DUESEN = nozzles;
        p.PP.TW1E = p.PP.TW1C = T;
        take_vorcom(p.R, a, p.C);
        p.step(2.0, 3.0, 1e-3, 1e-3);
        EXPECT_EQ(p.NFAIL, 0);
        return p.R;
    };
    const PairRecord R = first_step(3, 7, false);
    EXPECT_NEAR(R[F::DQD], H, 1e-6);
    EXPECT_NEAR(R[F::DQDAF], (H - H / 2) / 1e-3, 1e-3);
    EXPECT_NEAR(R[F::DS3], (H - H / 2) / T, 1e-6);
    // Definitions the start state cannot form (2: SDM (SD - SW) T3 and SDM (SD - SW)), or
    // nozzles (the start state holds the vapour at the space temperatures, the steps at the
    // liquid's): the first step is its own previous state, and its rates are 0.
    for (const PairRecord& Q : {first_step(2, 2, false), first_step(3, 7, true)}) {
        EXPECT_NEAR(Q[F::DQDAF], 0.0, 1e-6);
        EXPECT_NEAR(Q[F::DS3], 0.0, 1e-9);
    }
}
