// Energy balance of a pair whose space temperatures come from the injected liquid, over whole
// revolutions at constant speed: the heat the heater is charged with is the heat the hot liquid
// gives to the gas, the liquid gives that heat plus the radiation loss, the net heat of the
// cycle is its work, and the work stays below what the two liquid temperatures allow.
#include <gtest/gtest.h>

#include <cmath>

#include "properties/steam_state.hpp"
#include "runtime/units.hpp"
#include "simulation/bereg.hpp"

using namespace korvex;
using namespace korvex::simulation;
using F = PairField;

namespace {

constexpr double PI = 3.14159265358979323846;

// A helium pair of 20 cm2 pistons with 2 cm crank radius, the hot piston 90 degrees ahead,
// turning at 10 revolutions per second; twelve 0.5 mm jets per side carry 0.01 litre/s of
// liquid at 850 K and 320 K. The jet surface factor is large enough for the gas to follow the
// liquid closely. No regenerator loss, so the heater heat has no loss share.
struct Cycle {
    PairRecord R;
    CompCommon C;
    CompPair PP;
    Injection INJ;
    runtime::Units u;
    properties::SteamState st;
    int NFAIL = 0;

    static constexpr double RAD = 2.0;           // crank radius, cm
    static constexpr double OMEGA = 20.0 * PI;   // 10 revolutions per second
    static constexpr int STEPS = 10000;          // steps per revolution
    static constexpr double DT = 2.0 * PI / OMEGA / STEPS;
    static constexpr double LUST = 5.0;
    double TIME = 0.0;
    double TMIN = 1e9, TMAX = 0.0;

    Cycle() {
        const double AREA = 20.0;
        const double DH = std::sqrt(4.0 * AREA / PI);
        C.MODE_ISO = true;
        C.DUESEN = true;
        C.AH = C.AK = AREA;
        C.VR = 20.0;
        C.VR1003 = C.VR / 3.0;
        C.T0 = 300.0;
        C.P0 = 10.0;
        C.RS = 20.77;                 // helium, Bar*cm3/(g*K)
        C.CV = 3.116;                 // W*s/(g*K)
        C.TE_MAX = 2000.0;
        C.TC_MIN = 1.0;
        C.BEVOL = 0.01;
        PP.H00E = PP.H00C = 0.5;
        PP.V0 = 100.0;
        PP.TW1E = 850.0;
        PP.TW1C = 320.0;
        R[F::TE] = R.TEV = 850.0;
        R[F::TC] = R.TCV = 320.0;

        BeregCommon& B = INJ.C;
        B.active = true;
        B.GAS = run::GasKind::HELIUM;
        B.RS = C.RS;
        B.BEVOL = 0.01;
        B.NDUE = B.NDUC = 12;
        B.DDUE = B.DDUC = 0.05;
        B.FQDUE = B.FQDUC = 12 * PI / 4.0 * 0.05 * 0.05;
        B.UDU0E = B.UDU0C = B.BEVOL / 1000.0 / (B.FQDUE / 1e4);
        B.DGLE = B.DGLC = (DH * DH - 12 * 0.05 * 0.05) / ((12 * 0.05 + DH) * 100.0);
        B.OFRE = B.OFRC = 2000.0;
        B.LUST = LUST;
        B.CPWE = 4.3;
        B.CPWC = 4.18;
        B.PR = 0.7;
        B.PRF = prandtl_factor(B.PR);
        INJ.XTR = STEPS / 36.0;
        place(0.0);
        COMP(R, C, PP, INJ, 0.0, DT, u, st, NFAIL);  // settles the previous-step values
    }
    // Crank at angle A: piston travels (cm) and speeds (m/s) of the hot and the cold side.
    void place(double A) {
        PP.XE = RAD * (1.0 - std::cos(A));
        PP.XC = RAD * (1.0 - std::cos(A - PI / 2.0));
        INJ.U1 = RAD * OMEGA * std::sin(A) / 100.0;
        INJ.U2 = RAD * OMEGA * std::sin(A - PI / 2.0) / 100.0;
        PP.CANGLE = A * 180.0 / PI;
    }
    void revolution() {
        for (int i = 0; i < STEPS; ++i) {
            TIME += DT;
            place(OMEGA * TIME);
            COMP(R, C, PP, INJ, TIME, DT, u, st, NFAIL);
            TMIN = std::fmin(TMIN, std::fmin(R[F::TE], R[F::TC]));
            TMAX = std::fmax(TMAX, std::fmax(R[F::TE], R[F::TC]));
        }
    }
};

}  // namespace

TEST(BeregCycle, HeaterHeatIsWhatTheHotLiquidGivesAndWorkStaysBelowCarnot) {
    Cycle c;
    c.revolution();
    c.revolution();  // the start transient is over
    const PairRecord& R = c.R;
    const double QZU0 = R[F::QZU], QG0 = R[F::QGASE], QW0 = R[F::QWE], A0 = R[F::A];
    const double QN0 = R[F::QNUZG];
    c.TMIN = 1e9;
    c.TMAX = 0.0;
    c.revolution();
    ASSERT_EQ(c.NFAIL, 0);
    const double QZU = R[F::QZU] - QZU0, QG = R[F::QGASE] - QG0, QW = R[F::QWE] - QW0;
    const double A = R[F::A] - A0, QN = R[F::QNUZG] - QN0;
    const double TREV = Cycle::STEPS * Cycle::DT;

    ASSERT_GT(QG, 0.0);
    ASSERT_GT(A, 0.0);
    // The heater heat of the pair is the heat the hot jets give to the gas (the gas pushes
    // on a piston area narrowed by the nozzles by about one part in a thousand).
    EXPECT_NEAR(QZU, QG, 0.01 * QG);
    // The hot liquid gives off that heat and the radiation loss of the cylinder.
    EXPECT_NEAR(QW, QG + Cycle::LUST * TREV, 1e-9 * QW);
    // Over a closed cycle the net heat of the gas is its work.
    EXPECT_NEAR(QN, A, 0.01 * QZU);
    // No more work than a reversible engine between the two liquids would give.
    EXPECT_LT(A / QZU, 1.0 - 320.0 / 850.0);
    // The gas stays near the liquid it is sprayed with: compression and expansion move it
    // only part of the way they would without the jets (helium between 850 K and 320 K at a
    // pressure ratio near two would swing by some hundreds of kelvin).
    EXPECT_GT(c.TMIN, 320.0 - 100.0);
    EXPECT_LT(c.TMAX, 850.0 + 100.0);
}
