// Values of the time loop worked out by hand from the deck: the energy the flywheel gains, the
// mass of the liquid columns around the closing of the control volumes, and the temperatures
// at which the gas crosses the regenerator ends when liquid is injected.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "properties/steam_state.hpp"
#include "runtime/units.hpp"
#include "simulation/bereg.hpp"
#include "simulation/gas_transport.hpp"
#include "tests/e2e/e2e_support.hpp"

using namespace korvex;

namespace {

constexpr double PI = 3.141592654;

// tests/decks/tests_control_columns.dat, computed once: every step is a plot point, diagram 1
// holds C2BI BI C2BII BII HRVE over the time, diagram 2 W and ATHETA. With short = true its
// columns are ZW = 0.5 crank radii long, shorter than twice the hot control height.
const e2e::Job& columns_job(bool short_columns = false) {
    static const auto run = [](bool short_) {
        std::string deck = e2e::read_file(e2e::fs::path(KORVEX_SOURCE_DIR) / "tests/decks/tests_control_columns.dat");
        if (short_) deck.replace(deck.find("ZW=6.0"), 6, "ZW=0.5");
        auto j = e2e::run_job(deck);
        EXPECT_EQ(j->nfail(), 0);
        EXPECT_GE(j->p->sim.NREV, 2);
        return j;
    };
    static const std::unique_ptr<e2e::Job> jobs[2] = {run(false), run(true)};
    return *jobs[short_columns ? 1 : 0];
}

}  // namespace

TEST(DriverBalances, FlywheelEnergyIsHalfThetaTimesTheGainInSquaredSpeed) {
    // ATHETA sums (w + w_before) THETA / 2 * dw/dt * dt over the steps after the start: the
    // sum telescopes to THETA / 2 (w**2 - w0**2), w0 the speed after the first step (at time
    // 0, which the integrals leave out). THETA = 2.5E4 g cm2 = 2.5E-3 kg m2, so W*s =
    // THETA / 2 (w**2 - w0**2) / 1E7. The engine speeds up from 3000 rpm to some 8000.
    const auto& d = columns_job().p->dia;
    const auto& w = d.series[1].y[0];
    const auto& atheta = d.series[1].y[1];
    ASSERT_GT(d.NPLOT, 1500);
    EXPECT_EQ(atheta[0], 0.0f);
    const double w0 = w[0];
    double largest = 0.0;
    for (int k = 1; k < d.NPLOT; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const double gain = 2.5e4 / 2.0 * (double(w[i]) * w[i] - w0 * w0) / 1e7;
        largest = std::max(largest, std::abs(gain));
        // Two single-precision speeds of about 300 to 900 1/s: 1e-4 W*s covers their rounding.
        ASSERT_NEAR(atheta[i], gain, 1e-4 + 1e-6 * std::abs(gain)) << "point " << k + 1;
    }
    EXPECT_GT(largest, 100.0);
}

TEST(DriverBalances, LiquidColumnsLoseTwiceTheControlHeightUntilTheControlVolumesClose) {
    // Pistons of 5 cm with 1 cm rods: annuli AHR = AKR = pi/4 (25 - 1) cm2; R = 2.5 cm and
    // ZW = 6 give columns of 15 cm of liquid of 0.988 g/cm3 (single precision). The control
    // volume of 20 cm3 stands RVE / AH = 1.0186 cm high in the hot cylinder and shortens the
    // hot column by twice that until it closes, from 0.02 s over 0.01 s along a half cosine:
    //   MHK = ((R ZW - 2 HRVE) AHR + R ZW AKR) ROW / 100000, HRVE = 0 once closed.
    // The inertia force of the columns on each rod is MHK times the mean of the crank's
    // accelerations at the ends of the step; every step is a plot point.
    // A column shorter than twice the control height (ZW = 0.5: 1.25 cm against 2.04 cm)
    // holds no liquid while the control volume is open: its mass is 0, never negative.
    for (const bool short_columns : {false, true}) {
        const auto& d = columns_job(short_columns).p->dia;
        const auto& s = d.series[0];
        const double AH = PI / 4 * 25, AHR = PI / 4 * 24, ROW = double(0.988f), RZW = 2.5 * (short_columns ? 0.5 : 6);
        const double HRVE0 = 20.0 / AH;
        if (short_columns) {
            EXPECT_NE(columns_job(true).u6().find("hot liquid column ZW*R =    1.250 CM is shorter"), std::string::npos);
        }
        int before = 0, closing = 0, after = 0;
        for (int k = 1; k < d.NPLOT; ++k) {
            const auto i = static_cast<std::size_t>(k);
            const double t = s.x[i];
            if (std::abs(t - 0.02) < 1e-6 || std::abs(t - 0.03) < 1e-6) continue;   // on a bound
            // The step cut short before a half revolution is no plot point: the point after it
            // lies more than one step after the point before.
            const bool steps_on = t - s.x[i - 1] < 2.01e-5;
            const double HRVE = t < 0.02 ? HRVE0 : t <= 0.03 ? HRVE0 * (1 + std::cos(PI * (t - 0.02) / 0.01)) / 2 : 0.0;
            const double MHK = (std::max(0.0, (RZW - 2 * HRVE) * AHR) + RZW * AHR) * ROW / 100000;
            if (t <= 0.03) {
                ASSERT_NEAR(s.y[4][i], HRVE, 1e-6) << "time " << t;
            }
            for (int rod : {0, 2}) {   // C2BI over BI, C2BII over BII
                const auto& force = s.y[static_cast<std::size_t>(rod)];
                const auto& b = s.y[static_cast<std::size_t>(rod) + 1];
                const double mean = (double(b[i]) + b[i - 1]) / 2;
                // Away from the turns of the acceleration the single-precision values give the
                // ratio to some 1e-6.
                if (!steps_on || std::abs(mean) < 1e5) continue;
                ASSERT_NEAR(force[i] / mean / MHK, 1.0, 5e-6) << "time " << t << ", rod " << rod / 2 + 1;
                ++(t < 0.02 ? before : t <= 0.03 ? closing : after);
            }
        }
        EXPECT_GT(before, 500);
        EXPECT_GT(closing, 200);
        EXPECT_GT(after, 100);
    }
}

TEST(DriverBalances, GasCrossingTheRegeneratorEndsWithInjectionStaysBetweenTheSpaceAndTheLoss) {
    // Hot space at 900 K, cold space at 320 K, a regenerator that loses 5 %: L = 29 K. Gas
    // leaving a space crosses its end at the space's temperature, gas entering it at the
    // temperature the loss leaves: 900 - L at the hot end, 320 + L at the cold end. Between
    // the two a reversal moves along a half cosine, so the hot end never lies above its space
    // or below 900 - L, and gas entering the compression space never arrives colder than the
    // space. Two steps per 10 degrees; the flow reverses every 60 steps.
    simulation::PairRecord R;
    simulation::Injection INJ;
    simulation::BeregArgs a;
    runtime::Units u;
    properties::SteamState st;
    int NFAIL = 0;
    auto& C = INJ.C;
    C.active = true;
    C.VERLUST = 5.0;
    C.PR = double(0.7f);
    C.PRF = simulation::prandtl_factor(C.PR);
    C.BEVOL = 0.01;
    C.NDUE = C.NDUC = 10;
    C.DDUE = C.DDUC = 0.1;
    C.FQDUE = C.FQDUC = 0.5;
    C.DGLE = C.DGLC = 0.05;
    C.UDU0E = C.UDU0C = 50.0;
    INJ.XTR = 2.0;
    a.DELT = 1e-4, a.TIME = 1.0, a.CANGLE = 45.0;
    a.HE = a.HC = 10.0, a.VE = a.VC = 100.0, a.AH = a.AK = 10.0;
    a.PV = 20.0, a.TEV = 900.0, a.TCV = 320.0, a.MEV = a.MCV = 0.001, a.CV = 3.1;
    a.TW1E = 850.0, a.TW1C = 320.0, a.CLE = a.CLC = 40.0;
    a.LAMBDAE = a.LAMBDAC = 0.1, a.NUE = a.NUC = 1e-5;
    const double L = 29.0;
    for (int k = 0; k < 240; ++k) {
        // Gas moves from the hot space to the cold one, then back.
        const bool towards_cold = (k / 60) % 2 == 0;
        a.DVE = towards_cold ? -50.0 : 50.0;
        a.DVC = -a.DVE;
        a.DME = towards_cold ? -0.01 : 0.01;
        a.DMC = -a.DME;
        double TE = 0.0, TC = 0.0;
        ASSERT_TRUE(simulation::BEREG(R, INJ, a, TE, TC, u, st, NFAIL));
        const auto& e = INJ.pair[0];
        SCOPED_TRACE("step " + std::to_string(k));
        ASSERT_LE(e.TER, 900.0 + 1e-9);
        ASSERT_GE(e.TER, 900.0 - L - 1e-9);
        ASSERT_GE(e.TCR, 320.0 - 1e-9);
        ASSERT_LE(e.TCR, 320.0 + L + 1e-9);
        if (k % 60 == 59) {   // each reversal is over
            EXPECT_NEAR(e.TER, towards_cold ? 900.0 : 900.0 - L, 1e-9);
            EXPECT_NEAR(e.TCR, towards_cold ? 320.0 + L : 320.0, 1e-9);
        }
    }
}
