// Space temperatures after a step of mass exchange.
#include <gtest/gtest.h>

#include <cmath>

#include "properties/tetctr.hpp"

using namespace korvex;
using namespace korvex::properties;

namespace {

struct Exchange {
    double TE = 900.0, TC = 300.0, VERLUST = 10.0;
    double MEV = 2.0, MCV = 3.0, MRV = 1.0;
    double TIME = 1.0, DELT = 0.1, CV = 3.1;
    double DME = 10.0, DMC = -2.0, DMR = 5.0;
    double TEV = 880.0, TCV = 310.0, TRV = 500.0;
    int NTEMP = 1, LOG = 0;
    double TR = 0, TEE = 0, TCC = 0, TRR = 0;
    void run(runtime::Units& u) {
        TETCTR(u, TE, TC, TR, NTEMP, VERLUST, MEV, MCV, MRV, TIME, DELT, CV, DME, DMC, DMR, TEV,
               TCV, TRV, TEE, TCC, TRR, LOG);
    }
};

}  // namespace

TEST(Tetctr, MassWeightedMeansOfOldAndExchangedGas) {
    runtime::Units u;
    Exchange x;
    x.run(u);
    // Regenerator ends: D = 600 * 10 / 200 = 30, hot 870, cold 330, mean 600.
    EXPECT_NEAR(x.TR, 600.0, 1e-12);
    // E: 2 g at 900 K and 1 g in at 870 K.
    EXPECT_NEAR(x.TEE, (2 * 900.0 + 1 * 870.0) / 3, 1e-9);
    // C: 3 g at 300 K, 0.2 g out counted at 330 K.
    EXPECT_NEAR(x.TCC, (3 * 300.0 - 0.2 * 330.0) / 2.8, 1e-9);
    // R: 1 g at the mean 600 K and 0.5 g at its start temperature 500 K.
    EXPECT_NEAR(x.TRR, (1 * 600.0 + 0.5 * 500.0) / 1.5, 1e-9);

    // Logarithmic mean of the ends; the enthalpy datum does not change the temperatures.
    x.LOG = 1;
    x.NTEMP = 2;
    x.run(u);
    const double trlog = 540.0 / std::log(870.0 / 330.0);
    EXPECT_NEAR(x.TR, trlog, 1e-9);
    EXPECT_NEAR(x.TEE, (2 * 900.0 + 870.0) / 3, 1e-9);
    EXPECT_NEAR(x.TRR, (trlog + 0.5 * 500.0) / 1.5, 1e-9);

    // Without loss the inflow comes at the space temperatures, without flow nothing mixes.
    x.VERLUST = 0.0;
    x.DMR = 0.0;
    x.run(u);
    EXPECT_NEAR(x.TEE, 900.0, 1e-9);
    EXPECT_NEAR(x.TCC, 300.0, 1e-9);
    EXPECT_EQ(x.TRR, x.TR);
    EXPECT_EQ(u.u9.text(), "");  // trace only at level 6
}

TEST(Tetctr, SpacesThatEmptyOrNearlyEmptyKeepTheirTemperature) {
    runtime::Units u;
    Exchange x;
    x.DME = -20.0;  // 2 g - 2 g
    x.DMC = -40.0;  // 3 g - 4 g
    x.MRV = 0.0;
    x.DMR = -1.0;
    x.run(u);
    EXPECT_EQ(x.TEE, 900.0);
    EXPECT_EQ(x.TCC, 300.0);
    EXPECT_EQ(x.TRR, x.TR);

    // Out of 3 g in C: 0.27 g leave, 2.73 g stay (9.9 %): the outflow counts at the cold end,
    // 330 K. 0.3 g leave, 2.7 g stay (11.1 %): the space keeps its 300 K. Without the guard
    // 2.7 g leaving 0.3 g would give (900 - 2.7 * 330) / 0.3 = 30 K.
    Exchange y;
    y.DMC = -2.7;
    y.run(u);
    EXPECT_NEAR(y.TCC, (3 * 300.0 - 0.27 * 330.0) / 2.73, 1e-9);
    y.DMC = -3.0;
    y.run(u);
    EXPECT_EQ(y.TCC, 300.0);
    y.DMC = -27.0;
    y.run(u);
    EXPECT_EQ(y.TCC, 300.0);

    // No step, no specific heat: nothing to divide by either.
    Exchange z;
    z.DELT = 0.0;
    z.run(u);
    EXPECT_EQ(z.TEE, 900.0);
    EXPECT_EQ(z.TCC, 300.0);
    z.DELT = 0.1;
    z.CV = 0.0;
    z.run(u);
    EXPECT_EQ(z.TEE, 900.0);
}

TEST(Tetctr, EqualRegeneratorEndsUseTheirMean) {
    runtime::Units u;
    Exchange x;
    x.LOG = 1;
    x.TE = x.TC = 400.0;
    x.run(u);
    EXPECT_EQ(x.TR, 400.0);
    EXPECT_TRUE(std::isfinite(x.TRR));
    x.VERLUST = 100.0;  // ends swap into one another: both at the mean
    x.TE = 600.0;
    x.TC = 300.0;
    x.run(u);
    EXPECT_EQ(x.TR, 450.0);
}

TEST(Tetctr, TraceInTheFirstStepsAtLevelSix) {
    runtime::Units u;
    u.IPRNT2 = 6;
    Exchange x;
    x.TIME = 0.25;  // 3 * 0.1 > 0.25
    x.run(u);
    const std::string& t = u.u9.text();
    EXPECT_EQ(t.substr(0, t.find('\n')), " =========>> Subroutine TETCTR");
    int lines = 0;
    for (char c : t) lines += c == '\n';
    EXPECT_EQ(lines, 8);
    EXPECT_NE(t.find(" TIME= 0.25 DME= 10.0 DMC= -2.0 DMR= 5.0\n"), std::string::npos);
    EXPECT_NE(t.find(" D_M= 13.0\n"), std::string::npos);

    u.u9.clear_text();
    x.TIME = 0.5;  // past the first three steps
    x.run(u);
    u.IPRNT2 = 5;
    x.TIME = 0.0;
    x.run(u);
    EXPECT_EQ(u.u9.text(), "");
}
