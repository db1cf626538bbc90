// Machine options: flywheel, liquid columns, injection nozzles. Expected values by hand from
// the closed forms with PI = 3.141592654 and the single-precision densities.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "run/machine.hpp"
#include "run/machine_parts.hpp"

namespace korvex::run {
namespace {

constexpr double pi10 = 3.141592654;
constexpr double row = 0.9879999756813049;  // 0.988 in single precision

std::unique_ptr<Program> machine(int nzyl) {
    auto p = std::make_unique<Program>();
    RunState& m = p->run;
    m.NZYL = nzyl;
    m.mode = Mode::ISO;
    m.DH = 10.0; m.DK = 10.0; m.R = 2.5;
    m.P0 = 20.0; m.T0 = 300.0; m.TH = 800.0; m.TK = 300.0;
    m.VOLUMEN = 0.05; m.SGRAD = 95.0; m.PHASE = -90.0; m.FSEAL = 12.5;
    m.dead_space_percent = true; m.control_volume_percent = true;
    m.ZH0E = 10.0; m.ZH0C = 10.0;
    m.GAS = "H2";
    m.NACH = 3; m.DAEMPFUNG = 0.9;
    return p;
}

bool derive(Program& p) { return derive_geometry(p.run, p.units) && derive_options(p.run, p.units); }

TEST(MachineOptions, FlywheelDiameterAndEnergy) {
    auto p = machine(2);
    p->units.IPRNT2 = 2;
    RunState& m = p->run;
    // A disc of radius 10 cm and width 2 cm: THETA = 7.8 PI r**4 d / 2 = 78000 PI.
    m.THETA = 78000.0 * pi10; m.DICKE = 2.0; m.N0 = 300.0;
    ASSERT_TRUE(derive(*p));
    EXPECT_NEAR(m.flywheel_diameter, 20.0, 1e-6);  // 7.8 is held as 7.8000002
    // 0.5 (10 PI)**2 THETA / 1e7 N*m
    EXPECT_NEAR(m.flywheel_energy, 0.5 * 100 * pi10 * pi10 * 78000 * pi10 / 1e7, 1e-12);
    EXPECT_NE(p->units.u6.text().find(" Schwungscheibe: Durchmesser=  20.00  Breite= 2.0 CM; THETA=0.2450E+06"
                                      " gr*cm**2\n Rotationsenergie der Schwungscheibe= 0.1209245E+02"
                                      " Newton * METER\n"),
              std::string::npos);
    EXPECT_NE(p->units.u9.text().find(" Traegheitsmoment der Schwungscheibe= 0.2450442E+06 Gramm*cm**2,"
                                      " Dichte= 7.80 Gramm/cm**3 Breite= 2.00 Durchmesser=  20.00 CM\n"),
              std::string::npos);

    // No flywheel: nothing to size, no energy, no complaint.
    auto q = machine(2);
    q->run.THETA = 0.0; q->run.DICKE = 0.0; q->run.N0 = 300.0;
    ASSERT_TRUE(derive(*q));
    EXPECT_EQ(q->run.flywheel_diameter, 0.0);
    EXPECT_EQ(q->run.flywheel_energy, 0.0);

    // An inertia without a width has no disc.
    auto r = machine(2);
    r->run.THETA = 1000.0; r->run.DICKE = 0.0;
    EXPECT_FALSE(derive(*r));
    EXPECT_EQ(r->run.NFAIL, 506);
}

TEST(MachineOptions, RevolutionsAndDampingAreEchoed) {
    auto p = machine(2);
    p->units.IPRNT2 = 2;
    p->run.THETA = 0.0;
    ASSERT_TRUE(derive(*p));
    EXPECT_NE(p->units.u6.text().find(" BERECHNUNG ERFOLGT FUER  3 UMDREHUNGEN DAEMPFUNG X1/X0=0.900;"
                                      " PHASENW.: -90.00\n \n"),
              std::string::npos);
    EXPECT_NE(p->units.u9.text().find(" \n BERECHNUNG ERFOLGT FUER  3 UMDREHUNGEN; DAEMPFUNG=0.900 = VERHAELTNIS"
                                      " X1 / X0 DER SCHWINGUNGSAMPLITUDEN; PHASENWINKEL = -90.00 GRAD\n \n"),
              std::string::npos);
    auto q = machine(2);
    q->units.IPRNT2 = 2;
    q->run.NACH = 1;
    ASSERT_TRUE(derive(*q));
    EXPECT_NE(q->units.u6.text().find(" BERECHNUNG ERFOLGT FUER 1 UMDREHUNG DAEMPFUNG: X1/X0=0.900"
                                      " PHASENWINKEL: -90.00\n"),
              std::string::npos);
}

TEST(MachineOptions, LiquidColumnsAreShortenedByTheControlVolumes) {
    auto p = machine(2);
    p->units.IPRNT2 = 1;
    RunState& m = p->run;
    m.ZW = 4.0; m.RVE = 5.0; m.RVC = 10.0; m.DAEMPFUNG = 1.0;
    ASSERT_TRUE(derive(*p));
    // HRVE0 = 5 % of the 5 cm stroke = 0.25 cm, HRVC0 = 0.5 cm; column R ZW = 10 cm.
    EXPECT_NEAR(m.MH, 9.5 * 25 * pi10 * row, 1e-9);
    EXPECT_NEAR(m.MK, 9.0 * 25 * pi10 * row, 1e-9);
    const std::string block =
        " KOLBEN- UND/ODER WASSERMASSE PRO U-ROHR = ZW * R * FQ * ROW;   ZW= 4.0"
        "   \"FQ\" IST DER QUERSCHNITT DES JEWEILIGEN U-ROHRES\n"
        "                 MASSE IM HEISSEN U-ROHR   \"MH\" =" + runtime::E(9.5 * 25 * pi10 * row, 14, 7) +
        " GRAMM;    DICHTE \"ROW\" = 0.988 GRAMM/CM**3, \"R\" = KURBELRADIUS\n"
        "                 MASSE IM KALTEN  U-ROHR   \"MK\" =" + runtime::E(9.0 * 25 * pi10 * row, 14, 7) +
        " GRAMM\n \n \n"
        " REIBUNGSKRAFT VON KOLBEN- UND KOLBENSTANGENDICHTUNGEN \"FSEAL\"=  12.50 NEWTON;\n"
        " DAEMPFUNG DER FLUESSIGKEITSSCHWINGUNG: AMPLITUDENVERHAELTNIS X1/X0=  1.000\n \n"
        " Schwingungsdaempfung wird nicht berechnet\n \n";
    EXPECT_NE(p->units.u9.text().find(block), std::string::npos);

    // Pistons of the single-acting machine carry the note on damping without liquid.
    auto q = machine(1);
    q->units.IPRNT2 = 1;
    q->run.ZW = 2.0;
    ASSERT_TRUE(derive(*q));
    EXPECT_NEAR(q->run.MH, 5.0 * 25 * pi10 * row, 1e-9);
    EXPECT_NE(q->units.u9.text().find("      KOLBENMASSE IM EXPANSIONSZYLINDER    \"MH\" ="),
              std::string::npos);
    EXPECT_NE(q->units.u9.text().find("  0.900 ->> OHNE FLUESSIGKEIT MUSS X1/X0 = 1.0 SEIN <<-\n"),
              std::string::npos);
}

TEST(MachineOptions, InjectionNozzles) {
    auto p = machine(2);
    p->units.IPRNT2 = 5;
    RunState& m = p->run;
    m.nozzles = true; m.BEVOL = 0.01;
    m.NDUE = 10; m.DDUE = 0.1; m.NDUC = 5; m.DDUC = 0.2;
    m.OFRE = 1.5; m.OFRC = 2.0; m.LUST = 120.0;
    nozzle_geometry(p->run, p->units);
    EXPECT_NEAR(m.FQDUE, 0.0785398163, 1e-9);  // 0.01 cm**2 * 10 * PI / 4
    EXPECT_NEAR(m.UDU0E, 1.27323954, 1e-8);    // 0.1 / 0.0785398 m/s
    EXPECT_NEAR(m.FQDUC, 0.05 * pi10, 1e-12);
    const std::string short_block =
        " \n Beregnungsvolumenstrom BEVOL=0.100000E-01 Liter/sec\n"
        " Duesen Werte: Expansionszylinder   Anzahl NDUe=  10 Durchmesser DDUe= 0.100 cm\n"
        "               Kompressionszylinder Anzahl NDUc=   5 Durchmesser DDUc= 0.200 cm\n"
        " Oberflaechenfaktor fuer Expams.-Strahlen =  1.5\n"
        " Oberflaechenfaktor fuer Kompr. -Strahlen =  2.0\n"
        " Abstrahlungsverlust der heissen Zylinder =   120.0 Watt\n \n";
    EXPECT_EQ(p->units.u9.text(), short_block);

    ASSERT_TRUE(derive(*p));
    // (DH**2 - n d**2) / ((n d + DH) 100) = 99.9 / 1100 m; cold side 99.8 / 1100.
    EXPECT_NEAR(m.DGLe, 99.9 / 1100, 1e-14);
    EXPECT_NEAR(m.DGLc, 99.8 / 1100, 1e-14);
    EXPECT_NE(p->units.u9.text().find(
                  " Hydr. Durchmesser DGLe=  0.09082 DGLc=  0.09073 m\n"
                  " Querschnitt aller Duesen FQDUE=0.785398E-01 FQDUC=0.157080E+00 cm**2\n"
                  " Strahlgeschwindigkeit UDU0E=0.127324E+01 UDU0C=0.636620E+00 m/sec\n"
                  " Oberflaechenfaktor fuer Expans.-Strahlen =  1.5\n"),
              std::string::npos);
}

TEST(MachineOptions, InjectionWithoutNozzleCrossSectionStops) {
    auto p = machine(2);
    RunState& m = p->run;
    m.nozzles = true; m.BEVOL = 0.01;
    m.NDUE = 0; m.DDUE = 0.1; m.NDUC = 5; m.DDUC = 0.2;
    EXPECT_FALSE(derive(*p));
    EXPECT_EQ(m.NFAIL, 503);
    EXPECT_NE(p->units.u6.text().find(" ===> FEHLER in der Eingabe ZEILE22; Programm STOP\n"
                                      " NDUE=   0 DDUE= 0.100 NDUC=   5 DDUC= 0.200\n"),
              std::string::npos);
    EXPECT_TRUE(std::isfinite(m.UDU0E));

    // The wire mesh takes precedence: the nozzles are neither checked nor listed.
    auto q = machine(2);
    q->units.IPRNT2 = 3;
    q->run.nozzles = true; q->run.BEVOL = 0.01; q->run.MASSE = 2000.0; q->run.F = 0.5;
    ASSERT_TRUE(derive(*q));
    EXPECT_EQ(q->units.u9.text().find("Beregnungsvolumenstrom"), std::string::npos);
    EXPECT_LT(q->run.THNEU, 800.0);
}

}  // namespace
}  // namespace korvex::run

namespace korvex::run {
namespace {

TEST(MachineSummary, CarriesTheChargeAndTheCrankDrive) {
    auto p = std::make_unique<Program>();
    RunState& m = p->run;
    m.NZYL = 2; m.mode = Mode::ISO;
    m.DH = 10.0; m.DK = 10.0; m.R = 5.0;
    m.P0 = 10.0; m.T0 = 300.0; m.TH = 900.0; m.TK = 300.0;
    m.VOLUMEN = 0.1; m.SGRAD = 100.0; m.PHASE = -90.0; m.FSEAL = 1.0;
    m.GAS = "HE"; m.DAM = "     ";
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    p->units.IPRNT2 = 3;
    write_machine_summary(p->run, p->units);
    // V01 = 2 R F + VR = 250 PI + 100 cm**3 = 0.88540 litre; P0 V01 / 10 = 885.4 N*m.
    const std::string& u6 = p->units.u6.text();
    EXPECT_NE(u6.find(" Kurbeltrieb ist die rein SINUS-foermig arbeitende Kurbelschwinge\n"), std::string::npos);
    EXPECT_NE(u6.find(" P0= 10.00 Bar;\"V01\"= 0.88540 Liter; P0V01=    885.4 Newton*m; --->> GAS=HE      \n"),
              std::string::npos);
    EXPECT_NE(p->units.u9.text().find(" THNEU= 900.00 TKNEU= 300.00 KELVIN;"), std::string::npos);
}

}  // namespace
}  // namespace korvex::run
