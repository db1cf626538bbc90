// Saturated-steam properties: table rows, interpolation windows, input modes, errors, silence.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "properties/pdampf.hpp"

using namespace korvex;
using namespace korvex::properties;

namespace {

double f32(double x) { return static_cast<double>(static_cast<float>(x)); }

int count_lines(const std::string& s) {
    int n = 0;
    for (char c : s) n += (c == '\n');
    return n;
}

// One caller of PDAMPF with its own job state; outputs start at -1 so that untouched ones show.
struct Steam : ::testing::Test {
    SteamState st;
    runtime::Units u;
    int NFAIL = 0;
    double PS = 0, MASSE = 0, T = 0, V = 0;
    double R = -1, CPD = -1, CPW = -1, SD = -1, SW = -1, HD = -1;
    void call(int IP) { PDAMPF(st, u, NFAIL, PS, MASSE, T, V, R, CPD, CPW, SD, SW, HD, IP); }
    void input(double ps, double m, double t, double v) { PS = ps, MASSE = m, T = t, V = v; }
};

}  // namespace

TEST_F(Steam, TableRowsAreReturnedAsTabulatedInSinglePrecision) {
    // Row 11 by temperature: 373.15 K, 1.01322 bar, 0.5975 kg/m3.
    input(0, 0, f32(373.15), 1000.0);
    call(3);
    EXPECT_EQ(NFAIL, 0);
    EXPECT_EQ(PS, f32(1.01322));
    EXPECT_NEAR(MASSE, f32(0.5975), 1e-15);
    EXPECT_EQ(T, f32(373.15));
    EXPECT_EQ(R, f32(2256.66));
    EXPECT_EQ(CPD, f32(2.04403));
    EXPECT_EQ(CPW, f32(4.21707));
    EXPECT_EQ(SD, f32(7.35448));
    EXPECT_EQ(SW, f32(1.30688));
    EXPECT_EQ(HD, f32(2675.73));

    // The decimal 373.15 lies a few micro-kelvin above the stored row value: interpolated,
    // but the same to the table's digits.
    input(0, 0, 373.15, 1000.0);
    call(3);
    EXPECT_NEAR(PS, 1.01322, 1e-6);
    EXPECT_NEAR(MASSE, 0.5975, 1e-6);

    // Last row by pressure (mode 3): the temperature and the volume of 2 g of vapour.
    input(f32(54.99866), 2.0, -1.0, 0.0);
    call(3);
    EXPECT_EQ(T, f32(543.15));
    EXPECT_NEAR(V, 2.0 * 1000.0 / f32(28.06133), 1e-12);
    EXPECT_EQ(HD, f32(2789.14));

    // First row by temperature.
    input(0, 0, f32(273.16), 100.0);
    call(3);
    EXPECT_EQ(NFAIL, 0);
    EXPECT_EQ(PS, f32(0.00612));
    EXPECT_EQ(SW, f32(1e-05));
}

TEST_F(Steam, InterpolationUsesTheWindowAroundTheBracket) {
    // Two rows: the linear mean of rows 11 and 12 at 378.15 K.
    input(0, 0, 378.15, 1000.0);
    call(2);
    EXPECT_NEAR(PS, 1.22281, 1e-6);
    EXPECT_NEAR(R, (2256.66 + 2229.93) / 2, 1e-4);
    EXPECT_NEAR(MASSE, (0.5975 + 0.82601) / 2, 1e-6);
    EXPECT_NEAR(HD, (2675.73 + 2691.27) / 2, 1e-4);

    // Three rows: 11, 12, 13; at the midpoint of 11 and 12 the Lagrange weights are 3/8, 6/8,
    // -1/8.
    call(3);
    EXPECT_NEAR(PS, 3.0 / 8 * 1.01322 + 6.0 / 8 * 1.4324 - 1.0 / 8 * 1.98482, 1e-6);

    // Between rows 27 and 28 the window ends at row 27: two rows extrapolate from 26 and 27.
    input(0, 0, 538.15, 1000.0);
    call(2);
    EXPECT_NEAR(PS, 46.89441 + 0.5 * (46.89441 - 39.73642), 1e-4);

    // Near the bottom the window starts at row 1.
    input(0, 0, 278.155, 1000.0);
    call(2);
    EXPECT_NEAR(PS, (0.00612 + 0.01228) / 2, 1e-7);
}

TEST_F(Steam, EachInputModeReturnsItsOwnUnknowns) {
    // Mode 4 (pressure and volume): T = 0 and MASSE = 0 leave it to PS and V.
    input(2.0, 0.0, 0.0, 500.0);
    call(2);
    const double f4 = (2.0 - 1.98482) / (2.70019 - 1.98482);  // rows 13 and 14
    EXPECT_NEAR(T, 393.15 + 10.0 * f4, 1e-5);
    EXPECT_NEAR(MASSE, 500.0 * (1.12083 + f4 * (1.49538 - 1.12083)) / 1000.0, 1e-7);
    EXPECT_EQ(PS, 2.0);
    EXPECT_EQ(V, 500.0);

    // Mode 2 (mass and volume): density 1 kg/m3 between rows 12 and 13.
    input(0.0, 1.0, 0.0, 1000.0);
    call(2);
    const double f2 = (1.0 - 0.82601) / (1.12083 - 0.82601);
    EXPECT_NEAR(PS, 1.4324 + f2 * (1.98482 - 1.4324), 1e-6);
    EXPECT_NEAR(T, 383.15 + 10.0 * f2, 1e-5);
    EXPECT_NEAR(SD, 7.23857 + f2 * (7.12973 - 7.23857), 1e-6);

    // Mode 3 (pressure and mass): 10 bar between rows 18 and 19.
    input(10.0, 3.0, 0.0, 0.0);
    call(2);
    const double f3 = (10.0 - 7.91469) / (10.01925 - 7.91469);
    EXPECT_NEAR(T, 443.15 + 10.0 * f3, 1e-5);
    EXPECT_NEAR(V, 3.0 * 1000.0 / (4.11813 + f3 * (5.15392 - 4.11813)), 1e-4);
    EXPECT_EQ(NFAIL, 0);
}

TEST_F(Steam, AnyInterpolationOrderStaysInsideTheTable) {
    // The deck may ask for up to 100 rows (24 is a documented choice); the window is shifted
    // to fit the 28 rows. One row gives the row above the key.
    for (int ip : {-3, 0, 1, 4, 24, 40})
        for (double t : {274.0, 378.15, 538.0}) {
            input(0, 0, t, 100.0);
            call(ip);
            EXPECT_TRUE(std::isfinite(PS) && NFAIL == 0) << ip << " " << t;
        }
    input(0, 0, 378.15, 100.0);
    call(1);
    EXPECT_EQ(PS, f32(1.4324));
}

TEST_F(Steam, InputErrorWhenNoModeAppliesOrTheKeyIsAboveTheTable) {
    input(0.0, 0.0, 0.0, 0.0);
    call(3);
    EXPECT_EQ(NFAIL, 885);
    EXPECT_EQ(u.u6.text(), "  PDAMPF-EINGABE FEHLER: PS= 0.0  D_MASSE= 0.0  T= 0.0  V= 0.0\n");
    EXPECT_EQ(u.u9.text(), u.u6.text());
    EXPECT_EQ(R, -1.0);  // nothing zeroed
    EXPECT_EQ(HD, -1.0);

    u.u6.clear_text();
    NFAIL = 0;
    input(60.0, 0.0, 0.0, 100.0);  // mode 4, above 54.99866 bar
    call(3);
    EXPECT_EQ(NFAIL, 885);
    EXPECT_EQ(u.u6.text(), "  PDAMPF-EINGABE FEHLER: PS= 60.0  D_MASSE= 0.0  T= 0.0  V= 100.0\n");

    NFAIL = 0;
    input(0.0, 0.0, std::nan(""), std::nan(""));
    call(3);
    EXPECT_EQ(NFAIL, 885);
    EXPECT_EQ(st.NERR, 3);
}

TEST_F(Steam, BelowTableErrorsOfEachModeZeroTheirOutputs) {
    input(0.005, -3.0, -5.0, 100.0);  // mode 4
    call(3);
    EXPECT_EQ(NFAIL, 886);
    EXPECT_EQ(T, 0.0);
    EXPECT_EQ(MASSE, 0.0);
    const std::string t886 =
        " DAMPF-DRUCK = 0.005  AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG MOEGLICH; "
        ">>>> PDAMPF <<<<\n"
        " 4. EINGABEMOEGLICHKEIT IN \"PDAMPF\": DAMPF-VOLUMEN= 100.0 , DAMPF-DRUCK= 0.005\n";
    EXPECT_EQ(u.u9.text(), t886);

    u.u9.clear_text();
    input(0.005, 2.0, -1.0, -7.0);  // mode 3
    call(3);
    EXPECT_EQ(NFAIL, 887);
    EXPECT_EQ(T, 0.0);
    EXPECT_EQ(V, 0.0);
    EXPECT_EQ(u.u9.text(),
              " DAMPF-DRUCK = 0.005  AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG MOEGLICH; "
              ">>>> PDAMPF : PS-MIN= 0.00612 BAR\n"
              " 3. EINGABEMOEGLICHKEIT IN \"PDAMPF\": DAMPF-MASSE= 2.0 , DAMPF-DRUCK= 0.005\n");

    u.u9.clear_text();
    input(7.0, 0.001, 0.0, 1000.0);  // mode 2, density 0.001 kg/m3
    R = 5.0;
    call(3);
    EXPECT_EQ(NFAIL, 888);
    EXPECT_EQ(PS, 0.0);
    EXPECT_EQ(R, 0.0);
    EXPECT_EQ(u.u9.text(),
              " DAMPF-DICHTE = 0.001  AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG MOEGLICH; "
              ">>>> PDAMPF <<<<\n"
              " 2. EINGABEMOEGLICHKEIT IN \"PDAMPF\": DAMPF-MASSE= 0.001 , DAMPFVOLUMEN= 1000.0\n");
    // The short listing gets the same six records; the long text of each first record does not
    // fit behind its number in 80 columns and stands whole on the next line.
    EXPECT_EQ(count_lines(u.u6.text()), 9);
}

TEST_F(Steam, TemperatureOutsideTheTable) {
    // Above the single-precision 543.14, although the message names 543.15.
    input(3.0, 0.0, 543.145, 100.0);
    R = 9.0;
    call(3);
    EXPECT_EQ(NFAIL, 889);
    EXPECT_EQ(PS, 0.0);
    EXPECT_EQ(R, 0.0);
    EXPECT_EQ(u.u6.text(),
              " TEMPERATUR T = 543.145\n"
              "  T MUSS ZWISCHEN 273.16 UND 543.15 KELVIN LIEGEN; KEINE BERECHNUNG MOEGLICH; >>>> PDAMPF <<<<\n");
    EXPECT_EQ(u.u9.text(),
              " TEMPERATUR T = 543.145  AUSSERHALB DER DAMPFDRUCKTABELLE; KEINE BERECHNUNG "
              "MOEGLICH; >>>> PDAMPF <<<<\n"
              " TEMPERATUR T = 543.145  T MUSS ZWISCHEN 273.16 UND 543.15 KELVIN LIEGEN "
              "<<<<<<<<<<<<<<<<\n");

    NFAIL = 0;
    input(3.0, 0.0, 250.0, 100.0);
    call(3);
    EXPECT_EQ(NFAIL, 889);
    EXPECT_EQ(PS, 0.0);

    NFAIL = 0;
    input(0.0, 0.0, 543.14, 100.0);  // just inside
    call(3);
    EXPECT_EQ(NFAIL, 0);
    EXPECT_GT(PS, 54.0);
}

TEST_F(Steam, SilentAfterTheEleventhErrorUntilTheNextJob) {
    for (int k = 1; k <= 10; ++k) {
        input(0, 0, 0, 0);
        call(3);
    }
    EXPECT_EQ(count_lines(u.u6.text()), 10);
    // Ten errors: still working.
    input(0, 0, f32(373.15), 1000.0);
    call(3);
    EXPECT_EQ(PS, f32(1.01322));

    input(0, 0, 0, 0);
    call(3);  // the eleventh error is still reported
    EXPECT_EQ(count_lines(u.u6.text()), 11);
    EXPECT_EQ(st.NERR, 11);

    NFAIL = 0;
    u.u6.clear_text();
    input(0, 0, f32(373.15), 1000.0);
    R = -1;
    call(3);
    EXPECT_EQ(PS, 0.0);
    EXPECT_EQ(MASSE, 0.0);
    EXPECT_EQ(R, -1.0);
    input(0, 0, 0, 0);
    call(3);
    EXPECT_EQ(NFAIL, 0);
    EXPECT_EQ(u.u6.text(), "");

    // A new job (the next paint) starts with a fresh counter.
    reset_for_job(st);
    input(0, 0, f32(373.15), 1000.0);
    call(3);
    EXPECT_EQ(PS, f32(1.01322));
}

TEST_F(Steam, EachModeIsTracedOnceAtLevelFour) {
    u.IPRNT2 = 4;
    input(0, 0, 378.15, 1000.0);
    call(3);
    call(3);
    input(2.0, 0.0, 0.0, 500.0);
    call(3);
    EXPECT_EQ(u.u9.text(),
              "  >>>>>>>>> 1. EINGABEMOEGLICHKEIT IN PDAMPF; T= 378.15 ; V= 1000.0 , MASSE= 0.0 "
              ", PS= 0.0\n"
              "  ========= 4. EINGABEMOEGLICHKEIT IN PDAMPF; PS= 2.0 , V= 500.0 ; MASSE= 0.0 , "
              "T= 0.0\n");

    // The first call below level 4 uses up the mode's trace as well.
    u.u9.clear_text();
    reset_for_job(st);
    u.IPRNT2 = 3;
    call(3);
    u.IPRNT2 = 4;
    call(3);
    EXPECT_EQ(u.u9.text(), "");
    EXPECT_EQ(u.u6.text(), "");
}

TEST(Polint, ReproducesACubicAndALineAtOnceAndTheirNodes) {
    // y = x^3 - 2x + 1 and y = 3 - x through x = 0, 1, 2, 4.
    const double xt[4] = {0.0, 1.0, 2.0, 4.0};
    const std::array<double, 2> yt[4] = {{1.0, 3.0}, {0.0, 2.0}, {5.0, 1.0}, {57.0, -1.0}};
    const auto a = POLINT(3.0, xt, yt, 4);
    EXPECT_NEAR(a[0], 22.0, 1e-12);
    EXPECT_NEAR(a[1], 0.0, 1e-12);
    EXPECT_NEAR(POLINT(-1.0, xt, yt, 4)[0], 2.0, 1e-12);
    EXPECT_EQ(POLINT(2.0, xt, yt, 4)[0], 5.0);
    EXPECT_EQ(POLINT(3.0, xt, yt, 0)[1], 0.0);
}
