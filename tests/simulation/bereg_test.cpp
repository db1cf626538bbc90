// Heat exchange with the injected liquid: correlations, gas properties, regenerator ends
// around flow reversals, the slow-jet messages, the heat balances of a step, and the guard
// against nozzle data the simulation cannot compute with.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "properties/steam_state.hpp"
#include "state/program.hpp"
#include "runtime/units.hpp"
#include "simulation/bereg.hpp"
#include "simulation/gas_transport.hpp"

using namespace korvex;
using namespace korvex::simulation;
using F = PairField;

namespace {

constexpr double PI = 3.14159265358979323846;

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A pair with 10 cm2 pistons, ten 0.1 cm nozzles per side (0.5 cm2 stated as the nozzle
// cross-section so that the free cross-section is 9.5 cm2), a 10 cm long space and 5 cm
// hydraulic diameter. The gas is at rest and nothing flows in or out unless a test says so.
struct Fixture {
    PairRecord R;
    Injection INJ;
    BeregArgs a;
    runtime::Units u;
    properties::SteamState st;
    int NFAIL = 0;

    Fixture() {
        BeregCommon& C = INJ.C;
        C.active = true;
        C.PR = double(0.7f);
        C.PRF = prandtl_factor(C.PR);
        C.BEVOL = 0.01;
        C.NDUE = C.NDUC = 10;
        C.DDUE = C.DDUC = 0.1;
        C.FQDUE = C.FQDUC = 0.5;
        C.DGLE = C.DGLC = 0.05;
        C.OFRE = C.OFRC = 2.0;
        a.DELT = 0.01, a.TIME = 1.0, a.CANGLE = 45.0;
        a.HE = a.HC = 10.0, a.VE = a.VC = 100.0, a.AH = a.AK = 10.0;
        a.PV = 20.0, a.TEV = 600.0, a.TCV = 300.0, a.MEV = a.MCV = 0.001, a.CV = 3.1;
        a.TW1E = 500.0, a.TW1C = 350.0, a.CLE = a.CLC = 40.0;
        a.LAMBDAE = a.LAMBDAC = 0.1, a.NUE = a.NUC = 1e-5;
    }
    bool step(double& TE, double& TC) { return BEREG(R, INJ, a, TE, TC, u, st, NFAIL); }
    bool step() {
        double TE = 0.0, TC = 0.0;
        return step(TE, TC);
    }
};

}  // namespace

TEST(BeregCorrelations, NusseltSwitchesAboveRe2300) {
    // Laminar: 3.65 + 0.0668 Gz / (1 + 0.045 Gz**0.667), also at Re = 2300 itself.
    EXPECT_NEAR(nusselt(2300.0, prandtl_factor(double(0.7f)), 100.0, 0.05), 7.03916836221606, 1e-12);
    EXPECT_NEAR(nusselt(0.0, prandtl_factor(double(0.7f)), 0.0, 0.05), 3.65, 1e-6);
    // Just above: 0.0326 Re**0.786 Pr**0.45 (d/l)**0.054, about 10.37 at Re = 2300.
    EXPECT_NEAR(nusselt(2300.000001, prandtl_factor(double(0.7f)), 100.0, 0.05), 10.3651174046567, 1e-8);
}

TEST(BeregCorrelations, GasTransportOfEachGas) {
    // t in Celsius from the single-precision 273.15; densities 1000 P / (RS T) in kg/m3; air's
    // viscosity is 158.2e-7 m2/s at 25 C and 1 Bar.
    struct Case { run::GasKind gas; double T, P, RS, LAMBDA, NU; };
    const Case cases[] = {
        {run::GasKind::HELIUM, 373.15, 10.0, 20.0, 0.1765, 2.28e-5 * 20.0 * 373.15 / 10000.0},
        {run::GasKind::AIR, 298.15, 2.0, 2.87, 0.02626, 7.91e-6},
        {run::GasKind::HYDROGEN, 473.15, 5.0, 40.0, 0.255, 4.62172922900645e-05},
        {run::GasKind::ARGON, 473.15, 5.0, 2.0, 0.02529, 6.01278995555396e-06},
    };
    for (const Case& c : cases) {
        const GasTransport g = gas_transport(c.gas, c.T, c.P, c.RS);
        EXPECT_NEAR(g.LAMBDA, c.LAMBDA, 1e-8);
        EXPECT_NEAR(g.NU / c.NU, 1.0, 1e-6);
        // No pressure: no viscosity rather than a division by zero.
        EXPECT_EQ(gas_transport(c.gas, c.T, 0.0, c.RS).NU, 0.0);
    }
}

TEST(BeregRegenerator, ReversalsFollowAHalfCosine) {
    // End at 600 K while gas leaves, 540 K while it enters; two steps per 10 degrees.
    const double TV = 600.0, L = 60.0, XTR = 2.0;
    double C1 = 0.0, C2 = 3.0;  // an entering transition that is over
    EXPECT_EQ(regenerator_end(false, TV, L, XTR, C1, C2), 540.0);
    EXPECT_EQ(C1, 0.0);
    // Gas leaves: 40 degrees = 8 steps from 540 up to 600 along a half cosine (pi held to ten
    // digits moves the points by some 1e-8 K).
    for (int k = 0; k <= 8; ++k) {
        const double expect = 570.0 - 30.0 * std::cos(PI * k / 8.0);
        EXPECT_NEAR(regenerator_end(true, TV, L, XTR, C1, C2), expect, 1e-7) << k;
    }
    EXPECT_EQ(regenerator_end(true, TV, L, XTR, C1, C2), 600.0);
    EXPECT_EQ(C2, 0.0);
    // Gas enters again: 50 degrees = 10 steps back down to 540.
    for (int k = 0; k <= 10; ++k) {
        const double expect = 570.0 + 30.0 * std::cos(PI * k / 10.0);
        EXPECT_NEAR(regenerator_end(false, TV, L, XTR, C1, C2), expect, 1e-7) << k;
    }
    EXPECT_EQ(regenerator_end(false, TV, L, XTR, C1, C2), 540.0);
    // The cold end mirrors it: the loss step counts upward from the space temperature.
    double D1 = 0.0, D2 = 3.0;
    EXPECT_EQ(regenerator_end(false, 300.0, -60.0, XTR, D1, D2), 360.0);
    // Before the first revolution end the steps per 10 degrees are not known: the end jumps.
    double E1 = 0.0, E2 = 0.0;
    EXPECT_EQ(regenerator_end(true, TV, L, 0.0, E1, E2), 600.0);
    EXPECT_EQ(regenerator_end(false, TV, L, 0.0, E1, E2), 540.0);
}

TEST(BeregJet, SlowJetIsReportedOncePerEpisode) {
    Fixture x;
    x.INJ.C.UDU0E = 0.5;
    x.INJ.C.UDU0C = 50.0;
    x.INJ.U1 = 1.9;  // in the free 9.5 of 10 cm2 the gas moves at 2 m/s
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(x.step());
    const std::string& t = x.u.u9.text();
    EXPECT_EQ(t,
              "FEHLER: Einspritzgeschwindigkeit UDU0E=0.500000E+00 KLEINER als "
              "Kolbengeschwindigkeit UE=0.200000E+01 m/sec\n"
              "        Zylinderpaar H1 - K1 bei:  45.00 Grad Kurbelwinkel; ABHILFE: Drehzahl oder "
              "Duesen-Anzahl bzw.\n"
              "        Duesen-Durchmesser NDUE, DDUE verkleinern oder Beregnungsvolumenstrom BEVOL "
              "vergroessern\n");
    // The step goes on with the jet's own velocity.
    EXPECT_NEAR(x.R[F::RENOL], 0.5 * 0.05 / 1e-5, 1e-9);
    // The piston stops: the episode ends, reported once.
    x.INJ.U1 = 0.0;
    x.a.CANGLE = 90.0;
    ASSERT_TRUE(x.step());
    ASSERT_TRUE(x.step());
    EXPECT_EQ(count(t, "FEHLER: aufgehoben fuer Zylinderpaar H1 - K1 bei:  90.00 Grad Kurbelwinkel\n"), 1u);
    // A new episode is a new message.
    x.INJ.U1 = 1.9;
    ASSERT_TRUE(x.step());
    EXPECT_EQ(count(t, "UDU0E="), 2u);
    EXPECT_EQ(count(t, "UDU0C="), 0u);

    // Pair 4 has crank 1 on its cold side.
    Fixture y;
    y.INJ.C.UDU0E = 50.0;
    y.INJ.C.UDU0C = 0.5;
    y.INJ.U1 = 1.9;
    y.a.N = 4;
    ASSERT_TRUE(y.step());
    EXPECT_EQ(y.u.u9.text().find("FEHLER: Einspritzgeschwindigkeit UDU0C=0.500000E+00 KLEINER als "
                                 "Kolbengeschwindigkeit UC=0.200000E+01 m/sec\n        Zylinderpaar H4 - K4"),
              0u);
}

TEST(BeregBalance, HeatsOfOneStepBalance) {
    // Gas flowing in and the piston moving: the liquid gives off what the gas takes plus the
    // radiation loss on the hot side; the gas takes what its own balance needs.
    Fixture x;
    x.INJ.C.LUST = 20.0;
    x.INJ.C.VERLUST = 10.0;
    x.a.DME = 0.1;
    x.a.DMC = -0.1;
    x.a.DVE = 30.0;
    x.a.DVC = -30.0;
    double TE = 0.0, TC = 0.0;
    ASSERT_TRUE(x.step(TE, TC));
    const PairRecord& R = x.R;
    EXPECT_NEAR(R[F::DQWE], R[F::DQGSE] + 20.0, 1e-9);
    EXPECT_NEAR(R[F::DQWC], R[F::DQGSC], 1e-9);
    EXPECT_NEAR(R[F::DQLUE], R[F::DQGSE], 1e-9);
    EXPECT_NEAR(R[F::DQLUC], R[F::DQGSC], 1e-9);
    EXPECT_EQ(TE, R[F::TGASE]);
    // The gas at rest along the jets: Nu = 3.65, alpha = Nu lambda / DGL, over the surface of
    // ten jets 1 mm thick, 10 cm long, counted twice.
    const double KA = 3.65 * 0.1 / 0.05 * (10 * 0.001 * PI * 0.1 * 2.0);
    EXPECT_NEAR(R[F::DQGSE] / ((500.0 + R[F::TW2E]) / 2.0 - TE), KA, 1e-6);
    EXPECT_NEAR(R[F::ALPAE], 7.3, 1e-6);
    EXPECT_NEAR(R[F::QWE], R[F::DQWE] * 0.01, 1e-12);
}

TEST(BeregBalance, GasSettlesAtTheLiquidTemperature) {
    Fixture x;
    x.a.TW1E = x.a.TW1C = 400.0;
    double TE = 600.0, TC = 300.0;
    for (int i = 0; i < 600; ++i) {
        x.a.TEV = TE;
        x.a.TCV = TC;
        ASSERT_TRUE(x.step(TE, TC));
    }
    EXPECT_NEAR(TE, 400.0, 1e-9);
    EXPECT_NEAR(TC, 400.0, 1e-9);
    EXPECT_NEAR(x.R[F::TW2E], 400.0, 1e-9);
    EXPECT_NEAR(x.R[F::DQWC], 0.0, 1e-9);
    // Nothing comes out of a state that is already there.
    Fixture y;
    y.a.TEV = y.a.TW1E = 450.0;
    ASSERT_TRUE(y.step(TE, TC));
    EXPECT_NEAR(TE, 450.0, 1e-12);
    EXPECT_NEAR(y.R[F::TW2E], 450.0, 1e-12);
    // An empty space over a zero step without conductance: nothing to solve or divide by.
    Fixture z;
    z.a.DELT = z.a.MEV = z.a.LAMBDAE = z.a.NUE = 0.0;
    ASSERT_TRUE(z.step(TE, TC));
    EXPECT_EQ(TE, 600.0);
    EXPECT_EQ(z.R[F::TW2E], 500.0);
    for (std::size_t k = 0; k < F::COUNT; ++k) EXPECT_TRUE(std::isfinite(z.R[k])) << k;
}

TEST(BeregBalance, ATrickleOfLiquidLeavesAtMostAtTheGasTemperature) {
    // Jets with a thousand times the fixture's surface and a trickle of liquid (4 W/K): the
    // mean-temperature balance alone would send the hot liquid out far below the gas it heats
    // and the cold liquid far above the gas it cools. The liquid can at best come out at the
    // gas temperature, giving off all the heat its flow carries.
    Fixture x;
    x.INJ.C.OFRE = x.INJ.C.OFRC = 2000.0;
    x.a.CLE = x.a.CLC = 4.0;
    x.a.MEV = x.a.MCV = 10.0;  // a gas charge that hardly moves in one step
    x.a.TEV = 450.0;
    x.a.TCV = 400.0;
    double TE = 0.0, TC = 0.0;
    ASSERT_TRUE(x.step(TE, TC));
    const PairRecord& R = x.R;
    EXPECT_NEAR(TE, 450.0, 0.5);
    EXPECT_NEAR(TC, 400.0, 0.5);
    // Hot liquid in at 500 K, cold at 350 K: out between inlet and gas, at the gas here.
    EXPECT_GE(R[F::TW2E], TE - 1e-9);
    EXPECT_LE(R[F::TW2E], 500.0);
    EXPECT_LE(R[F::TW2C], TC + 1e-9);
    EXPECT_GE(R[F::TW2C], 350.0);
    EXPECT_NEAR(R[F::TW2E], TE, 0.5);
    EXPECT_NEAR(R[F::DQWE], 4.0 * (500.0 - 450.0), 2.0);
    EXPECT_NEAR(R[F::DQWC], 4.0 * (350.0 - 400.0), 2.0);
    // What the liquid gives off is what the gas takes.
    EXPECT_NEAR(R[F::DQWE], R[F::DQGSE], 1e-9);
    EXPECT_NEAR(R[F::DQWC], R[F::DQGSC], 1e-9);
}

TEST(BeregInput, GuardAgainstMissingNozzleCrossSection) {
    auto p = std::make_unique<Program>();
    run::RunState& r = p->run;
    r.mode = run::Mode::ISO;
    r.nozzles = true;
    r.BEVOL = 0.01;
    r.FQE = r.FQC = 50.0;
    r.NDUE = r.NDUC = 10;
    r.DDUE = r.DDUC = 0.1;
    r.FQDUE = r.FQDUC = 0.0785;
    r.UDU0E = r.UDU0C = 1.27;
    r.DGLe = r.DGLc = 0.07;
    EXPECT_TRUE(check_injection_input(*p));
    EXPECT_EQ(r.NFAIL, 0);
    // No nozzles on the cold side.
    r.NDUC = 0;
    r.FQDUC = 0.0;
    r.UDU0C = 0.0;
    EXPECT_FALSE(check_injection_input(*p));
    EXPECT_EQ(r.NFAIL, 503);
    // With the wire mesh the nozzles are not used, and without a flow there is no jet.
    r.NFAIL = 0;
    r.MASSE = 100.0;
    EXPECT_TRUE(check_injection_input(*p));
    r.MASSE = 0.0;
    r.BEVOL = 0.0;
    EXPECT_TRUE(check_injection_input(*p));
    EXPECT_EQ(r.NFAIL, 0);

    // Beside a wire mesh the simulation runs no injection.
    Injection INJ;
    r.BEVOL = 0.01;
    r.MASSE = 100.0;
    prepare_injection(INJ, r);
    EXPECT_FALSE(INJ.C.active);
}

TEST(BeregComp, InjectionGivesTheSpaceTemperaturesOfModeIso) {
    // A pair at rest, its hot gas (600 K) sprayed with 700 K liquid, its cold gas (300 K) with
    // 250 K liquid; without active injection mode ISO keeps the temperatures.
    for (bool active : {true, false}) {
        Fixture x;
        PairRecord& R = x.R;
        CompCommon C;
        CompPair PP;
        C.MODE_ISO = true;
        C.AH = C.AK = 10.0, C.VR = 30.0, C.VR1003 = 10.0, C.T0 = 300.0, C.P0 = 10.0;
        C.RS = 20.0, C.CV = 3.0, C.TE_MAX = 2000.0, C.TC_MIN = 1.0;
        PP.H00E = PP.H00C = 1.0, PP.XE = 2.0, PP.XC = 3.0, PP.V0 = 75.0;
        PP.TW1E = 700.0, PP.TW1C = 250.0;
        R[F::TE] = R.TEV = 600.0;
        R[F::TC] = R.TCV = 300.0;
        x.INJ.C.active = active;
        x.INJ.C.RS = 20.0, x.INJ.C.CPWE = x.INJ.C.CPWC = 4.2;
        x.INJ.C.GAS = run::GasKind::HELIUM;
        COMP(R, C, PP, 0.0, 0.01, x.u, x.st, x.NFAIL);  // settles the previous-step values
        COMP(R, C, PP, x.INJ, 0.01, 0.01, x.u, x.st, x.NFAIL);
        ASSERT_EQ(x.NFAIL, 0);
        if (active) {
            EXPECT_GT(R[F::TE], 600.0);
            EXPECT_LT(R[F::TE], R[F::TW2E]);
            EXPECT_LT(R[F::TW2E], 700.0);
            EXPECT_LT(R[F::TC], 300.0);
            EXPECT_GT(R[F::TC], R[F::TW2C]);
            EXPECT_GT(R[F::TW2C], 250.0);
        } else {
            EXPECT_EQ(R[F::TE], 600.0);
            EXPECT_EQ(R[F::TC], 300.0);
            EXPECT_EQ(R[F::TW2E], 0.0);
        }
    }
}

TEST(BeregVapour, SteamTableGivesLiquidHeatsAndMixesVapourIntoTheGas) {
    Fixture x;
    x.INJ.C.FDAMPF = true;
    x.INJ.C.CPWE = x.INJ.C.CPWC = 1.0;  // must not be used with the vapour component
    double CLE = 0.0, CLC = 0.0;
    ASSERT_TRUE(liquid_flows(x.INJ.C, 373.15, 303.15, 100.0, 100.0, x.u, x.st, x.NFAIL, CLE, CLC));
    // Liquid specific heats of the table at 100 and 30 C, kJ/(kg*K), times density and flow.
    EXPECT_NEAR(CLE, 917.0 * 4.21707 * 0.01, 1e-3);
    EXPECT_NEAR(CLC, 988.0 * 4.18334 * 0.01, 1e-3);

    // Saturated vapour at the liquid outlet temperature pulls the gas of each space towards it.
    x.a.TW1E = 373.15;
    x.a.TW1C = 303.15;
    double TE = 0.0, TC = 0.0;
    ASSERT_TRUE(x.step(TE, TC));
    ASSERT_EQ(x.NFAIL, 0);
    EXPECT_GT(x.R[F::DMTE], 0.0);
    EXPECT_LT(TE, x.R[F::TGASE]);
    EXPECT_GT(TE, x.R[F::TW2E]);
    // The cold gas (300 K) is below its liquid (303.15 K).
    EXPECT_GT(TC, x.R[F::TGASC]);
    EXPECT_LT(TC, x.R[F::TW2C]);
}
