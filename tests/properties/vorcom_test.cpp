// Start state of a cylinder pair with and without its vapour component.
#include <gtest/gtest.h>

#include <cmath>

#include "properties/vorcom.hpp"

using namespace korvex;
using namespace korvex::properties;

namespace {

double f32(double x) { return static_cast<double>(static_cast<float>(x)); }

// A pair with E 20 cm3, C 30 cm3 and a regenerator of 15 cm3.
VorcomArgs pair1() {
    VorcomArgs a;
    a.n = 1;
    a.NZYL = 1;
    a.FE = 10.0, a.HE1V = 2.0, a.FC = 10.0, a.HC1V = 3.0, a.VR = 15.0, a.VR1003 = 5.0;
    a.TE = 600.0, a.TC = 300.0, a.TR = 450.0;
    a.DTE = 100.0, a.DTC = -100.0, a.DTR = 0.0;
    a.ME = 1.0, a.MC = 2.0, a.MR = 0.5;
    a.DME1 = 10.0, a.DMC1 = 0.0, a.DMR1 = -10.0;
    a.DELT = 0.01, a.VERLUST = 0.0, a.T0 = 300.0, a.P0 = 10.0, a.V01 = 40.0;
    a.ZERO.fill(7.0);
    return a;
}

struct Job {
    SteamState st;
    runtime::Units u;
    int NFAIL = 0;
};

}  // namespace

TEST(Vorcom, GasStateOneStepBeforeTheStart) {
    Job j;
    VorcomArgs a = pair1();
    VORCOM(j.st, j.u, j.NFAIL, a);
    EXPECT_EQ(a.VE1V, 20.0);
    EXPECT_EQ(a.VC1V, 30.0);
    EXPECT_EQ(a.VG1V, 65.0);
    EXPECT_NEAR(a.TE1V, 599.0, 1e-12);
    EXPECT_NEAR(a.TC1V, 301.0, 1e-12);
    EXPECT_NEAR(a.ME1V, 0.9, 1e-12);
    EXPECT_NEAR(a.MC1V, 2.0, 1e-12);
    EXPECT_NEAR(a.MR1V, 0.6, 1e-12);
    // Arithmetic zones between the ends 599 and 301 with the regenerator at 450 K; the
    // reduced volume takes the spaces at their temperatures at the start.
    const double v = (20.0 / 600.0 + 5.0 * (1 / 524.5 + 1 / 450.0 + 1 / 375.5) + 30.0 / 300.0) * 300.0;
    EXPECT_NEAR(a.V1V, v, 1e-9);
    EXPECT_NEAR(a.P1V, 10.0 * 40.0 / v, 1e-9);
    EXPECT_NEAR(a.T11V, 300.0 * 65.0 / v, 1e-9);
    // No vapour: the total pressure is the gas pressure.
    EXPECT_EQ(a.PGES1V, a.P1V);
    EXPECT_EQ(a.PS1V, 0.0);
    EXPECT_EQ(a.SDM1V, 0.0);
    EXPECT_EQ(a.DQD1V, 0.0);
    for (double z : a.ZERO) EXPECT_EQ(z, 0.0);
    EXPECT_EQ(j.NFAIL, 0);
    EXPECT_EQ(j.u.u9.text(), "");

    // Logarithmic zones over three equal intervals of 599..301.
    a = pair1();
    a.LOGREG = 1;
    VORCOM(j.st, j.u, j.NFAIL, a);
    const double dt = 298.0 / 3, ta = 599.0 - dt, tb = 301.0 + dt;
    const double zl = 1 / (dt / std::log(599.0 / ta)) + 1 / (dt / std::log(ta / tb)) +
                      1 / (dt / std::log(tb / 301.0));
    EXPECT_NEAR(a.V1V, (20.0 / 600.0 + 5.0 * zl + 30.0 / 300.0) * 300.0, 1e-9);

    // Equal ends with the logarithmic profile fall back to the arithmetic zones.
    a = pair1();
    a.LOGREG = 1;
    a.TE = a.TC = a.TR = 400.0;
    a.DTE = a.DTC = 0.0;
    VORCOM(j.st, j.u, j.NFAIL, a);
    EXPECT_NEAR(a.V1V, 65.0 / 400.0 * 300.0, 1e-12);
}

TEST(Vorcom, PairsTheMachineDoesNotHaveAreZeroed) {
    Job j;
    for (int n : {3, 4}) {
        VorcomArgs a = pair1();
        a.n = n;
        a.NZYL = 2;
        a.FDAMPF = 1;
        a.PGES1V = 5.0;
        VORCOM(j.st, j.u, j.NFAIL, a);
        for (double x : {a.VE1V, a.VC1V, a.VG1V, a.V1V, a.P1V, a.T11V, a.TE, a.TC, a.TR, a.TE1V,
                         a.TC1V, a.ME1V, a.MC1V, a.MR1V, a.DME1, a.DMC1, a.DMR1, a.HE1V, a.HC1V,
                         a.PS1V, a.PGES1V, a.SDM1V})
            EXPECT_EQ(x, 0.0);
    }
    VorcomArgs a = pair1();  // the second pair of a double-acting machine is in use
    a.n = 2;
    a.NZYL = 2;
    VORCOM(j.st, j.u, j.NFAIL, a);
    EXPECT_EQ(a.VG1V, 65.0);
}

TEST(Vorcom, SaturatedVapourAtOneTableTemperature) {
    Job j;
    VorcomArgs a = pair1();
    const double T = f32(373.15);  // row 11 of the steam table
    a.TE = a.TC = a.TR = T;
    a.DTE = a.DTC = 0.0;
    a.VERLUST = 10.0;
    a.FDAMPF = 1;
    a.IP1 = 3;
    j.u.IPRNT2 = 3;
    VORCOM(j.st, j.u, j.NFAIL, a);
    ASSERT_EQ(j.NFAIL, 0);
    EXPECT_NE(j.u.u9.text().find("\n                      : Mittlerer Dampfdruck  PS1V= 1.0132 "
                                 "Bar bei der Temperatur T31V= 373.150 Kelvin\n"),
              std::string::npos);
    const double ps = f32(1.01322), rho = f32(0.5975), hd = f32(2675.73), r = f32(2256.66),
                 cpw = f32(4.21707);
    EXPECT_EQ(a.PSTE1V, ps);
    EXPECT_EQ(a.PSTC1V, ps);
    EXPECT_NEAR(a.SDME_A, 20.0 * rho / 1000.0, 1e-15);
    EXPECT_EQ(a.SDME_B, a.SDME_A);
    // Every space at the same saturation pressure: the mean is that pressure, the pair holds
    // 65 cm3 of saturated vapour at 373.15 K.
    EXPECT_NEAR(a.VPTRG1, 5.0 * 3.0 * ps / T * 300.0, 1e-9);
    EXPECT_NEAR(a.PS1V, 1.01322, 1e-6);
    EXPECT_NEAR(a.T31V, 373.15, 1e-5);
    EXPECT_NEAR(a.SDM1V, 65.0 * 0.5975 / 1000.0, 1e-8);
    EXPECT_NEAR(a.DQD1V, 65.0 * 0.5975 / 1000.0 * 2256.66, 1e-5);
    EXPECT_NEAR(a.DSD1V, a.DQD1V / 373.15, 1e-7);
    EXPECT_NEAR(a.PGES1V, a.P1V + 1.01322, 1e-6);
    // Vapour enthalpy above liquid at 0 C and heat of evaporation, per space.
    const double h = hd - cpw * (T - f32(273.15));
    EXPECT_NEAR(a.QHE, h * 20.0 * rho / 1000.0, 1e-9);
    EXPECT_NEAR(a.QHC, h * 30.0 * rho / 1000.0, 1e-9);
    EXPECT_NEAR(a.QHR, h * 15.0 * rho / 1000.0, 1e-9);
    EXPECT_NEAR(a.QRE, r * 20.0 * rho / 1000.0, 1e-9);
    EXPECT_NEAR(a.QRR, r * 15.0 * rho / 1000.0, 1e-9);
}

TEST(Vorcom, PropertyErrorEndsTheRoutine) {
    Job j;
    VorcomArgs a = pair1();  // E space at 599 K: above the steam table
    a.FDAMPF = 1;
    a.PGES1V = 123.0;
    VORCOM(j.st, j.u, j.NFAIL, a);
    EXPECT_EQ(j.NFAIL, 889);
    EXPECT_EQ(a.PGES1V, 123.0);
    EXPECT_EQ(a.DQD1V, 0.0);
    EXPECT_NE(j.u.u6.text().find("TEMPERATUR T = 599.0"), std::string::npos);
}

TEST(Vorcom, TraceAtLevelThree) {
    Job j;
    j.u.IPRNT2 = 3;
    VorcomArgs a = pair1();
    a.n = 2;
    a.NZYL = 2;
    a.TR = 450.0;
    VORCOM(j.st, j.u, j.NFAIL, a);
    const std::string& t = j.u.u9.text();
    const std::string first = t.substr(0, t.find('\n'));
    EXPECT_EQ(first,
              " Zylinderpaar: H2 - K2: VE2V=   20.000 VC2V=   30.000 VG2V=   65.000 ME2V= "
              "0.9000000E+00 MC2V= 0.2000000E+01 MR2V= 0.6000000E+00");
    EXPECT_NE(t.find("\n                        TE2V= 599.000 TC2V= 301.000 Kelvin\n"),
              std::string::npos);
    EXPECT_NE(t.find("\n         Mit: DMR2*DELT=-.100000E+00 Gramm  wird MR2=  0.50000 Gramm\n\n"),
              std::string::npos);
    EXPECT_EQ(t.find("Dampfdruck"), std::string::npos);  // no vapour lines without vapour
}
