// Space temperatures from the crank-angle tables: hits, windows, and the two table errors.
#include <gtest/gtest.h>

#include <cmath>

#include "simulation/tdifdf.hpp"

using namespace korvex;
using namespace korvex::simulation;

namespace {

struct Tables : ::testing::Test {
    runtime::Units u;
    AngleTable ang = table_angles();
    AngleTable tte{}, ttc{};
    double TE = -1.0, TC = -1.0;
    void at(double angle, int ip, int pair = 1) { TDIFDF(u, TE, TC, tte, ttc, ang, angle, ip, pair); }
    // A single 1 at table point `one` (0-based), zeros elsewhere: the result is that point's
    // Lagrange weight.
    void spike(int one) {
        tte.fill(0.0);
        tte[one] = 1.0;
    }
};

// One table through the interpolation of two.
double LAGRANGE(double x, const double* X, const double* Y, int n) {
    double V = 0.0, same = 0.0;
    korvex::simulation::LAGRANGE(x, X, Y, Y, n, V, same);
    return V;
}

}  // namespace

TEST(Lagrange, ReproducesAPolynomialOfItsDegree) {
    // y = 2x^3 - x^2 + 3 through x = -1, 0.5, 2, 3.
    const double X[4] = {-1.0, 0.5, 2.0, 3.0};
    double Y[4];
    for (int i = 0; i < 4; ++i) Y[i] = 2 * X[i] * X[i] * X[i] - X[i] * X[i] + 3;
    EXPECT_NEAR(LAGRANGE(1.0, X, Y, 4), 4.0, 1e-12);
    EXPECT_NEAR(LAGRANGE(2.5, X, Y, 4), 28.0, 1e-12);
    EXPECT_EQ(LAGRANGE(2.0, X, Y, 4), Y[2]);  // on a node: no 0/0
    EXPECT_EQ(LAGRANGE(2.5, X, Y, 1), Y[0]);
    // Two tables over the same nodes at once: each gets its own polynomial, y = x^2 - 4 the
    // second.
    double Z[4];
    for (int i = 0; i < 4; ++i) Z[i] = X[i] * X[i] - 4;
    double a = 0.0, b = 0.0;
    LAGRANGE(2.5, X, Y, Z, 4, a, b);
    EXPECT_NEAR(a, 28.0, 1e-12);
    EXPECT_NEAR(b, 2.25, 1e-12);
    LAGRANGE(0.5, X, Y, Z, 4, a, b);
    EXPECT_EQ(a, Y[1]);
    EXPECT_EQ(b, Z[1]);
}

TEST_F(Tables, TableAnglesAreHitExactly) {
    for (int k = 0; k < TABLE_ANGLES; ++k) {
        tte[k] = 700.0 + std::sin(k);  // nothing a polynomial would reproduce
        ttc[k] = 300.0 + std::cos(k);
    }
    at(130.0, 3);
    EXPECT_EQ(TE, tte[13]);
    EXPECT_EQ(TC, ttc[13]);
    at(0.0, 3);
    EXPECT_EQ(TE, tte[0]);
    at(360.0, 3);
    EXPECT_EQ(TC, ttc[36]);
    EXPECT_EQ(u.u6.text(), "");
}

TEST_F(Tables, InterpolationThroughThePointsAroundTheAngle) {
    // A quadratic is reproduced by three points, a straight line by two.
    for (int k = 0; k < TABLE_ANGLES; ++k) {
        const double a = 10.0 * k;
        tte[k] = 800.0 + 0.5 * a;
        ttc[k] = 300.0 + 0.001 * a * a;
    }
    at(125.0, 3);
    EXPECT_NEAR(TE, 862.5, 1e-9);
    EXPECT_NEAR(TC, 315.625, 1e-9);
    at(357.5, 2);
    EXPECT_NEAR(TC, 300.0 + 0.001 * 357.5 * 357.5, 0.03);  // chord of the parabola
    EXPECT_NEAR(TE, 978.75, 1e-9);

    // Which points: at 125 degrees with three points 120, 130, 140; the weight of 140 there is
    // (125-120)(125-130) / ((140-120)(140-130)) = -1/8.
    spike(14);
    at(125.0, 3);
    EXPECT_NEAR(TE, -0.125, 1e-12);
    // Between 350 and 360 the window ends at 360: 340, 350, 360, weight of 340 at 355 is -1/8.
    spike(34);
    at(355.0, 3);
    EXPECT_NEAR(TE, -0.125, 1e-12);
    // Below 20 degrees it starts at 0: 0, 10, 20, weight of 20 at 5 is -1/8.
    spike(2);
    at(5.0, 3);
    EXPECT_NEAR(TE, -0.125, 1e-12);
    // Two points at 125: 120 and 130 only.
    spike(12);
    at(125.0, 2);
    EXPECT_NEAR(TE, 0.5, 1e-12);
    spike(14);
    at(125.0, 2);
    EXPECT_EQ(TE, 0.0);

    // Angles other than the tens of degrees (every 9 degrees) are bracketed all the same.
    for (int k = 0; k < TABLE_ANGLES; ++k) {
        ang[k] = 9.0 * k;
        tte[k] = 800.0 + 0.5 * ang[k];
    }
    at(125.0, 2);
    EXPECT_NEAR(TE, 862.5, 1e-9);
    at(117.0, 3);
    EXPECT_EQ(TE, tte[13]);
}

TEST_F(Tables, AnyOrderStaysInsideTheTable) {
    // A constant table stays constant for any order (up to the rounding of 37-point sums).
    for (int k = 0; k < TABLE_ANGLES; ++k) tte[k] = ttc[k] = 500.0;
    for (int ip : {-1, 0, 1, 4, 5, 36, 37, 99}) {
        for (double a : {3.0, 15.0, 185.0, 345.0, 359.0}) {
            at(a, ip);
            EXPECT_NEAR(TE, 500.0, 1e-3) << ip << " " << a;
        }
    }
}

TEST_F(Tables, AngleAboveTheTable) {
    tte[36] = 850.25;
    ttc[36] = 310.5;
    at(365.5, 3, 2);
    EXPECT_EQ(TE, 850.25);
    EXPECT_EQ(TC, 310.5);
    EXPECT_EQ(u.u6.text(),
              " ===>> SUBROUTINE  TDIFDF : FEHLER BEI DER WINKELBESTIMMUNG FUER EINGELESENE\n"
              " TEMPERATURDIFFERENZEN; BERECHNETER WINKEL FUER DAS 2. ZYLINDERPAAR IST:\n"
              " CANGLE2=365.500 GRAD, UND LIEGT DAMIT OBERHALB DER TABELLE: TANGLE(37)=360.0\n"
              " WEITER MIT TE(360)=850.25000, TC(360)=310.50000 GRAD\n");
    EXPECT_EQ(u.u9.text(),
              " ===>> SUBROUTINE \"TDIFDF\": FEHLER BEI DER WINKELBESTIMMUNG FUER EINGELESENE\n"
              " TEMPERATURDIFFERENZEN; BERECHNETER WINKEL FUER DAS 2. ZYLINDERPAAR IST:\n"
              " KURBELWINKEL CANGLE_H2-K,2 =365.50000 GRAD, UND LIEGT DAMIT OBERHALB DER "
              "TABELLE: TANGLE(37)=360.0\n"
              " WEITER MIT TE(360)=850.25000, TC(360)=310.50000 GRAD\n");
}

TEST_F(Tables, AngleJustAbove360KeepsTheTemperatures) {
    tte.fill(900.0);
    ttc.fill(300.0);
    TE = 123.0;
    TC = 45.0;
    at(360.0005, 3);
    EXPECT_EQ(TE, 123.0);
    EXPECT_EQ(TC, 45.0);
    at(std::nan(""), 3);
    EXPECT_EQ(TE, 123.0);
    EXPECT_EQ(u.u6.text(), "");
    EXPECT_EQ(u.u9.text(), "");
}

TEST_F(Tables, NegativeAngleBelowTheTable) {
    tte[0] = 800.0;
    ttc[0] = 299.875;
    at(-1.25, 3, 1);
    EXPECT_EQ(TE, 800.0);
    EXPECT_EQ(TC, 299.875);
    EXPECT_EQ(u.u6.text(),
              " ===>> SUBROUTINE  TDIFDF : FEHLER BEI DER WINKELBESTIMMUNG FUER EINGELESENE\n"
              " TEMPERATURDIFFERENZEN; BERECHNETER WINKEL FUER DAS 1. ZYLINDERPAAR IST:\n"
              " CANGLE1= -1.250 GRAD, UND LIEGT DAMIT UNTERHALB DER TABELLE: TANGLE(1)=0.0)\n"
              " WEITER MIT TE(1)=800.00000, TC(1)=299.87500 GRAD\n");
    EXPECT_EQ(u.u9.text(),
              "====>> SUBROUTINE \"TDIFDF\": FEHLER BEI DER WINKELBESTIMMUNG FUER EINGELESENE\n"
              " TEMPERATURDIFFERENZEN; BERECHNETER WINKEL FUER DAS 1. ZYLINDERPAAR IST:\n"
              " KURBELWINKEL CANGLE_H1-K,1 = -1.25000 GRAD, UND LIEGT DAMIT UNTERHALB DER "
              "TABELLE: \"TANGLE(1)=0.)\"\n"
              " WEITER MIT TE(1)=800.00000, TC(1)=299.87500 GRAD\n");
}
