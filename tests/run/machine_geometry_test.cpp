// Machine geometry and gas charge: expected values are worked out by hand from the closed
// forms, with PI = 3.141592654 and the single-precision constants written out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "run/machine.hpp"

namespace korvex::run {
namespace {

constexpr double pi10 = 3.141592654;
constexpr double rm = 0.0831499993801117;  // 0.08315 in single precision

bool has_line(const std::string& text, const std::string& line) {
    return text.find("\n" + line + "\n") != std::string::npos || text.rfind(line + "\n", 0) == 0;
}

// A double-acting helium machine with equal bores, no rod and no dead spaces, 90 degrees out
// of phase: V1 = R F (2 - cos phi - sin phi) + VR, so its extremes and the equal-volume angle
// lie on scan points.
std::unique_ptr<Program> square_machine(int nzyl = 2) {
    auto p = std::make_unique<Program>();
    RunState& m = p->run;
    m.NZYL = nzyl;
    m.mode = Mode::ISO;
    m.DH = 10.0; m.DK = 10.0; m.R = 5.0; m.DKST = 0.0;
    m.P0 = 10.0; m.T0 = 300.0; m.TH = 900.0; m.TK = 300.0;
    m.VOLUMEN = 0.1; m.SGRAD = 100.0;
    m.PHASE = -90.0; m.FSEAL = 5.0; m.N0 = 600.0;
    m.dead_space_percent = true; m.control_volume_percent = true;
    m.GAS = "HE";
    return p;
}

TEST(MachineGeometry, AreasSweptControlAndDeadVolumes) {
    auto p = square_machine();
    RunState& m = p->run;
    m.DK = 8.0; m.R = 2.5; m.DKST = 2.0;
    m.ZH0E = 10.0; m.ZH0C = 20.0; m.VTE = {2.0, 0.0, 0.0, 0.0};
    m.RVE = 5.0; m.RVC = 10.0; m.VOLUMEN = 0.05;
    ASSERT_TRUE(derive_geometry(p->run, p->units));

    EXPECT_NEAR(m.AKST, pi10, 1e-12);
    EXPECT_NEAR(m.VDKST, 5 * pi10, 1e-11);
    EXPECT_NEAR(m.FQE, 78.53981635, 1e-10);  // not the full-precision 78.53981634
    EXPECT_NEAR(m.FQER, 24 * pi10, 1e-10);
    EXPECT_NEAR(m.FQC, 16 * pi10, 1e-10);
    EXPECT_NEAR(m.FQCR, 15 * pi10, 1e-10);
    EXPECT_NEAR(m.VE[0], 125 * pi10, 1e-9);
    EXPECT_NEAR(m.VE[1], 120 * pi10, 1e-9);
    EXPECT_NEAR(m.VE[2], 125 * pi10, 1e-9);
    EXPECT_NEAR(m.VC[0], 80 * pi10, 1e-9);
    EXPECT_NEAR(m.VC[3], 75 * pi10, 1e-9);

    EXPECT_NEAR(m.RVEVOL, 6.25 * pi10, 1e-10);
    EXPECT_NEAR(m.RVCVOL, 8 * pi10, 1e-10);
    EXPECT_NEAR(m.HRVE0, 0.25, 1e-12);
    EXPECT_NEAR(m.HRVC0, 0.5, 1e-12);

    EXPECT_NEAR(m.H00E0, 0.5, 1e-12);
    EXPECT_NEAR(m.H00C0, 1.0, 1e-12);
    EXPECT_NEAR(m.H00E[0], 0.6, 1e-12);
    EXPECT_NEAR(m.H00E[1], 0.5, 1e-12);
    EXPECT_NEAR(m.VH00E[0], 15 * pi10, 1e-10);
    EXPECT_NEAR(m.VH00C[2], 16 * pi10, 1e-10);
    EXPECT_NEAR(m.VR, 50.0, 1e-12);
    EXPECT_NEAR(m.VR3, 50.0 / 3, 1e-12);
    EXPECT_NEAR(m.TOTVL[0], 45.25 * pi10 + 50, 1e-9);
    EXPECT_NEAR(m.TOTVL[1], 42.75 * pi10 + 50, 1e-9);
}

TEST(MachineGeometry, VolumesGivenInCubicCentimetresBecomePercentages) {
    auto p = square_machine();
    RunState& m = p->run;
    m.dead_space_percent = false; m.control_volume_percent = false;
    m.ZH0E = 10.0; m.ZH0C = 0.0; m.VTE = {0, 5.0, 0, 0};
    m.RVE = 20.0; m.RVC = 0.0;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    const double F = 25 * pi10;
    EXPECT_NEAR(m.VH00E0, 10.0, 1e-12);
    EXPECT_NEAR(m.H00E0, 10.0 / F, 1e-12);
    EXPECT_NEAR(m.ZH0E, 10.0 / F * 100 / 10, 1e-12);  // 1.2732395 % of the 10 cm stroke
    EXPECT_NEAR(m.VH00E[1], 15.0, 1e-12);
    EXPECT_NEAR(m.H00E[1], 15.0 / F, 1e-12);
    EXPECT_NEAR(m.RVEVOL, 20.0, 1e-12);
    EXPECT_NEAR(m.RVE, 20.0 * 100 / (10 * F), 1e-12);
    EXPECT_NEAR(m.HRVE0, 20.0 / F, 1e-12);

    // In percent of the stroke instead: 10 % of 10 cm is 1 cm.
    auto q = square_machine();
    q->run.ZH0E = 10.0;
    ASSERT_TRUE(derive_geometry(q->run, q->units));
    EXPECT_NEAR(q->run.H00E0, 1.0, 1e-12);
    EXPECT_NEAR(q->run.VH00E0, F, 1e-10);
}

TEST(MachineGeometry, TwiceDoubleActingExchangesTheFirstTwoCompressionVolumes) {
    auto p = square_machine(4);
    RunState& m = p->run;
    m.DKST = 2.0; m.ZH0E = 10; m.ZH0C = 10;
    p->units.IPRNT2 = 3;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_NEAR(m.VC[0], 24 * pi10 * 10, 1e-9);  // annulus
    EXPECT_NEAR(m.VC[1], 25 * pi10 * 10, 1e-9);  // full piston
    EXPECT_NEAR(m.VC[2], 25 * pi10 * 10, 1e-9);
    EXPECT_NEAR(m.VC[3], 24 * pi10 * 10, 1e-9);
    // Start at 0 with half strokes, regenerator and dead spaces (1 cm each side).
    EXPECT_EQ(m.PHI0, 0.0);
    EXPECT_NEAR(m.V0[0], (250 + 240) * pi10 / 2 + 100 + 2 * 25 * pi10, 1e-9);
    EXPECT_NEAR(m.V0[1], (240 + 250) * pi10 / 2 + 100 + 2 * 25 * pi10, 1e-9);
    EXPECT_NEAR(m.V0[3], (240 + 240) * pi10 / 2 + 100 + 2 * 25 * pi10, 1e-9);
    // The detail listing explains the rule in six lines, the last ending with the four volumes
    // (295 pi + 100, 295 pi + 100, 300 pi + 100, 290 pi + 100).
    const std::string& u9 = p->units.u9.text();
    const std::string start = " Startwinkel fuer die Berechnung dieser Maschine ist \"PHI0\"=   0.000 Grad Kurbelwinkel\n";
    const std::string volumes = " V01 = 0.1026770E+04 V02 = 0.1026770E+04 V03 = 0.1042478E+04 V04 = 0.1011062E+04 CM**3\n \n";
    const std::size_t a = u9.find(start), b = u9.find(volumes);
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    const std::string between = u9.substr(a + start.size(), b - a - start.size());
    EXPECT_EQ(std::count(between.begin(), between.end(), '\n'), 5);  // the sixth line ends in the volumes
    EXPECT_NE(between.back(), '\n');
}

TEST(MachineGeometry, RodOfTheSingleActingMachineIsRemoved) {
    auto p = square_machine(1);
    p->run.DKST = 2.0;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_EQ(p->run.DKST, 0.0);
    EXPECT_EQ(p->run.FQCR, p->run.FQC);
    for (const std::string* t : {&p->units.u6.text(), &p->units.u8.text(), &p->units.u9.text()})
        EXPECT_NE(t->find(" EINGABEFEHLER, der korrigiert wird: Fuer die einfach wirkende Maschine: NZYL=1\n"
                          " ist der Kolbenstangen Durchmesser \"DKST  \" = 0.0 zu setzen\n \n \n"),
                  std::string::npos);

    // NZYL = 0 keeps its rod but is computed as the single-acting machine and renamed.
    auto q = square_machine(0);
    q->run.DKST = 2.0;
    ASSERT_TRUE(derive_geometry(q->run, q->units));
    EXPECT_EQ(q->run.DKST, 2.0);
    EXPECT_NEAR(q->run.FQCR, 24 * pi10, 1e-10);
    EXPECT_EQ(q->run.NZYL, 1);
    EXPECT_TRUE(has_line(q->units.u6.text(), "=====>> \"NZYL\" = 0 wird zu \"NZYL\"=1 <<======"));
    EXPECT_TRUE(has_line(q->units.u9.text(), "=====>> \"NZYL\" = 0 wird zu \"NZYL\"=1 <<======"));
}

TEST(MachineGeometry, RodAsWideAsABoreStopsAsInputErrorOfLine4) {
    auto p = square_machine(2);
    p->run.DK = 8.0;
    p->run.DKST = 8.0;
    EXPECT_FALSE(derive_geometry(p->run, p->units));
    EXPECT_EQ(p->run.NFAIL, 504);
    const std::string msg = " ===> FEHLER in der Eingabe ZEILE 4; Programm STOP\n \n"
                            " DKST=   8.000 DH=  10.000 DK=   8.000"
                            " Der Kolbenstangen Durchmesser DKST muss >=0 und kleiner als DH und DK sein\n \n";
    EXPECT_EQ(p->units.u6.text(), msg);
    EXPECT_EQ(p->units.u9.text(), msg);

    // A negative diameter squares to a rod of the same size: here one that fills the bore of
    // the compression cylinder, whose annulus in pair 2 would be empty.
    auto q = square_machine(4);
    q->run.DK = 8.0;
    q->run.DKST = -8.0;
    EXPECT_FALSE(derive_geometry(q->run, q->units));
    EXPECT_EQ(q->run.NFAIL, 504);
}

TEST(MachineGeometry, ReferenceVolumeOfAFurtherPairThatIsNotPositiveStops) {
    // Pair 2 of the double-acting machine with a dead space of -1000 % of the stroke: its gas
    // space is below -7000 cm**3 at every angle, while pair 1 is untouched.
    auto p = square_machine(2);
    p->run.VTE[1] = -1000.0;
    EXPECT_FALSE(derive_geometry(p->run, p->units));
    EXPECT_EQ(p->run.NFAIL, 506);
    EXPECT_TRUE(has_line(p->units.u6.text(), " ===> FEHLER in der Eingabe ZEILE 6; Programm STOP"));

    // The same in pair 4 of the twice double-acting machine.
    auto q = square_machine(4);
    q->run.VTC[3] = -1000.0;
    EXPECT_FALSE(derive_geometry(q->run, q->units));
    EXPECT_EQ(q->run.NFAIL, 506);

    // Pairs a single-acting or double-acting machine does not have are not looked at.
    auto r = square_machine(2);
    r->run.VTE[2] = -1000.0;
    EXPECT_TRUE(derive_geometry(r->run, r->units));
}

TEST(MachineGeometry, EqualVolumeAngleAndExtremesOfTheDoubleActingMachine) {
    auto p = square_machine(2);
    p->units.IPRNT2 = 4;
    RunState& m = p->run;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    const double RF = 5 * 25 * pi10;
    // cos phi + sin phi = 0 first at 135 degrees (again at 315, where the ten-digit PI makes
    // the difference larger).
    EXPECT_NEAR(m.PHI0, 135.0, 1e-7);
    EXPECT_NEAR(m.V0[0], 2 * RF + 100, 1e-6);
    EXPECT_NEAR(m.V0[1], 2 * RF + 100, 1e-6);
    EXPECT_NEAR(m.VMAX, RF * (2 + std::sqrt(2.0)) + 100, 1e-6);
    EXPECT_NEAR(m.VMIN, RF * (2 - std::sqrt(2.0)) + 100, 1e-6);
    EXPECT_NEAR(m.PHI_VMAX * 180 / pi10, 225.0, 1e-7);
    EXPECT_NEAR(m.PHI_VMIN * 180 / pi10, 45.0, 1e-7);
    EXPECT_NE(p->units.u6.text().find(" Gleiches Volumen fuer die doppelt wirkende Maschine bei 135.000 Grad\n"),
              std::string::npos);
    EXPECT_NE(p->units.u6.text().find(" Startwinkel fuer die Vorberechnung dieser Maschine ist \"PHI0\"= 135.00 Grad\n"),
              std::string::npos);

    // Gas amount: n = P0 V01 / T0 / (RM 1000), P0 V01 / 10 in N*m, grams of helium.
    const double n = 10 * (2 * RF + 100) / 300 / (rm * 1000);
    EXPECT_NEAR(m.M0[0], n, 1e-9);
    EXPECT_NEAR(m.P0V0[0], (2 * RF + 100), 1e-6);
    EXPECT_NEAR(m.GM0[0], n * 4.003, 1e-9);
    EXPECT_EQ(m.V0[2], 0.0);
    EXPECT_EQ(m.M0[3], 0.0);
}

TEST(MachineGeometry, SingleActingMachineIsFilledAtItsLargestVolume) {
    auto p = square_machine(1);
    p->units.IPRNT2 = 4;
    RunState& m = p->run;
    m.RVE = 10.0;  // 10 % of 250 PI
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    const double RF = 5 * 25 * pi10;
    const double tot = 100 + 25 * pi10;
    EXPECT_NEAR(m.PHI0, 225.0, 1e-7);
    EXPECT_NEAR(m.VMAX, RF * (2 + std::sqrt(2.0)) + tot, 1e-6);
    EXPECT_NEAR(m.V0[0], RF * (2 + std::sqrt(2.0)) + 100, 1e-6);
    // Crankcase: VCRANC plus both swept volumes less what the working space holds.
    EXPECT_NEAR(m.V0[1], 2750 + RF * (2 - std::sqrt(2.0)), 1e-6);
    const std::string& u6 = p->units.u6.text();
    EXPECT_NE(u6.find(" Startwinkel fuer die Berechnung dieser Maschine ist \"PHI0\"= 225.000 Grad\n"),
              std::string::npos);
}

TEST(MachineGeometry, LaterRunWithoutP0AndT0KeepsTheGasAmount) {
    auto p = square_machine(2);
    p->units.IPRNT2 = 3;
    RunState& m = p->run;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    const double moles = m.M0[0];
    const double gm01 = m.GM0[0];
    EXPECT_NEAR(m.P0V01_SAVED, 10 * m.V0[0], 1e-9);

    m.NLAUF = 1;
    m.P0 = 0.0; m.T0 = 0.0; m.R = 4.0;  // a shorter stroke: a different V01
    p->units.u9.clear_text();
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    const double v01 = 2 * 4 * 25 * pi10 + 100;
    EXPECT_NEAR(m.V0[0], v01, 1e-6);
    EXPECT_EQ(m.T0, 300.0);
    EXPECT_NEAR(m.P0, 10 * (2 * 5 * 25 * pi10 + 100) / v01, 1e-9);
    EXPECT_NEAR(m.M0[0], moles, 1e-12);
    const std::string& u9 = p->units.u9.text();
    EXPECT_NE(u9.find(" P0 wird neu bestimmt, sodass die Gasmasse von" + runtime::E(gm01, 14, 7) + " Gramm\n"
                      " aus der vorherigen Rechnung uebernommen wird\n"
                      " P0_NEU=" + runtime::F(m.P0, 8, 4) + " Bar im  2. Lauf\n"),
              std::string::npos);
}

TEST(MachineGeometry, FillingPressureAndTemperatureRules) {
    {
        auto p = square_machine();
        p->run.T0 = 0.0;
        EXPECT_FALSE(derive_geometry(p->run, p->units));
        EXPECT_EQ(p->run.NFAIL, 330);
        EXPECT_EQ(p->units.u9.text(),
                  " \n ====>> FEHLER: IM 1. Rechenlauf MUESSEN \"P0\" und \"T0\" > 0 sein; PROGRAMM STOP\n");
    }
    for (int which = 0; which < 2; ++which) {
        auto p = square_machine();
        ASSERT_TRUE(derive_geometry(p->run, p->units));
        p->units.u6.clear_text();
        p->run.NLAUF = 1;
        (which == 0 ? p->run.P0 : p->run.T0) = 0.0;
        EXPECT_FALSE(derive_geometry(p->run, p->units));
        EXPECT_EQ(p->run.NFAIL, 329);
        const std::string expect =
            which == 0 ? " \n ====>> FEHLER 329: FUER DIE BERECHNUNG VON \"P0\" AUS DER GLEICHEN GASMASSE\n"
                         " WIE VORHER, MUSS MIT \"P0\"=0 AUCH \"T0\"=0 SEIN; PROGRAMM STOP\n"
                         " IM 1. SIMULATIONSLAUF MUSS MIT \"P0\" >0 UND \"T0\" >0 DIESE GASMASSE\n"
                         " ZUVOR DEFINIERT SEIN\n"
                       : " \n ====>> FEHLER 329: FUER DIE BERECHNUNG VON \"P0\" AUS DER GLEICHEN GASMASSE\n"
                         " WIE VORHER, MUSS MIT \"T0\"=0 AUCH \"P0\"=0 SEIN; PROGRAMM STOP\n"
                         " IM 1. SIMULATIONS-LAUF MUSS MIT \"P0\" >0 UND \"T0\" >0 DIESE GASMASSE\n"
                         " ZUVOR DEFINIERT SEIN\n \n";
        EXPECT_EQ(p->units.u6.text(), expect);
    }
    {
        auto p = square_machine();
        p->run.P0 = -1.0;
        EXPECT_FALSE(derive_geometry(p->run, p->units));
        EXPECT_EQ(p->run.NFAIL, 504);
    }
}

TEST(MachineGeometry, GasVolumeThatReachesZeroStops) {
    auto p = square_machine();
    p->run.dead_space_percent = false;
    p->run.VOLUMEN = 0.0;
    p->run.ZH0E = -300.0;  // more negative than the smallest working volume
    p->units.IPRNT2 = 4;    // the level that lists the start angle
    EXPECT_FALSE(derive_geometry(p->run, p->units));
    EXPECT_EQ(p->run.NFAIL, 506);
    // The machine stops before it is given a start angle and reference volumes.
    const std::string u6 = p->units.u6.text();
    EXPECT_NE(u6.find("VMIN="), std::string::npos);
    EXPECT_EQ(u6.find("Gleiches Volumen"), std::string::npos);
}

TEST(MachineGeometry, TemperaturesOfTheModesAndTheRegenerator) {
    auto p = square_machine();
    p->units.IPRNT2 = 3;
    RunState& m = p->run;
    m.DELTAT = 20.0; m.DELTA_P = 1.5; m.SGRAD = 90.0;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_EQ(m.THNEU, 880.0);
    EXPECT_EQ(m.TKNEU, 320.0);
    EXPECT_EQ(m.TAA1, 880.0);
    EXPECT_EQ(m.TZZ1, 320.0);
    EXPECT_NEAR(m.TER1, 880.0 - 28.0, 1e-12);  // (880 - 320) * 10 / 200
    EXPECT_NEAR(m.TCR1, 320.0 + 28.0, 1e-12);
    EXPECT_NE(p->units.u9.text().find(
                  " Bei der Beregnung des Arbeitsgases wird mit einem Temperatur Verlust von DELTA_T=20.00 Grad C\n"
                  " und einem Druckverlust fuer die Pumpen von DELTA_P= 1.50 Bar gerechnet\n \n"),
              std::string::npos);
    EXPECT_NE(p->units.u6.text().find(" Es wird mit einem Temperatur Verlust DELTA_T=20.00 K\n"),
              std::string::npos);

    // Injection: the liquid does the cooling, no fixed loss.
    auto q = square_machine();
    q->run.nozzles = true;
    q->run.DELTAT = 20.0;
    ASSERT_TRUE(derive_geometry(q->run, q->units));
    EXPECT_EQ(q->run.THNEU, 900.0);
    EXPECT_EQ(q->run.TKNEU, 300.0);

    // POLY: start temperatures from its own lines.
    auto r = square_machine();
    r->run.mode = Mode::POLY;
    r->run.START_TE = 850.0; r->run.START_TC = 310.0; r->run.EPSILON_E = 1.3;
    ASSERT_TRUE(derive_geometry(r->run, r->units));
    EXPECT_EQ(r->run.TAA1, 850.0);
    EXPECT_EQ(r->run.TZZ1, 310.0);
    EXPECT_EQ(r->run.EPSILON_E, 1.3);
    EXPECT_EQ(r->run.THNEU, 900.0);
}

TEST(MachineGeometry, CrankAngleTablesOfModeTempd) {
    auto p = square_machine();
    p->units.IPRNT2 = 2;
    RunState& m = p->run;
    m.mode = Mode::TEMPD;
    m.IP1 = 3;
    m.FTE = 1.0; m.FTK = 2.0;
    for (int i = 0; i < 36; ++i) { m.DTE[i] = i; m.DTC[i] = -i; }
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_EQ(m.TTE[5], 905.0);
    EXPECT_EQ(m.TTC[5], 290.0);
    EXPECT_EQ(m.TTE[36], 900.0);
    EXPECT_EQ(m.TEMAX, 935.0);
    EXPECT_EQ(m.TCMIN, 230.0);
    EXPECT_EQ(m.TAA1, 900.0);
    EXPECT_EQ(m.TZZ1, 300.0);
    const std::string head =
        " TH =  900.00, TK =  300.00 KELVIN\n \n \n INTERPOLATION DER TEMPERATUREN ERFOLGT 2. GRADES\n \n"
        " Winkel    0.0   10.0   20.0   30.0   40.0   50.0   60.0   70.0   80.0   90.0  100.0  110.0\n"
        " TTE =   900.00 901.00 902.00 903.00 904.00 905.00 906.00 907.00 908.00 909.00 910.00 911.00\n";
    EXPECT_EQ(p->units.u8.text().substr(0, head.size()), head);
    EXPECT_NE(p->units.u8.text().find(" TTC =   252.00 250.00 248.00 246.00 244.00 242.00 240.00 238.00"
                                      " 236.00 234.00 232.00 230.00 300.00\n"),
              std::string::npos);
    EXPECT_NE(p->units.u9.text().find(head), std::string::npos);

    // A second TEMPD run does not repeat the tables.
    m.mode_prev = Mode::TEMPD;
    p->units.u8.clear_text();
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_EQ(p->units.u8.text(), "");
}

TEST(MachineGeometry, GasPropertiesAndUnknownNames) {
    auto p = square_machine();
    RunState& m = p->run;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_EQ(m.gas_kind, GasKind::HELIUM);
    EXPECT_EQ(m.MG, 4.003);
    EXPECT_NEAR(m.CV, 5.3 / 1.63, 1e-14);
    EXPECT_NEAR(m.RS, rm * 1000 / 4.003, 1e-12);
    EXPECT_NEAR(m.CGAS1, 5.3 / 1.63 * m.GM0[0], 1e-12);

    m.GAS = "CO";  // not in the table: helium stays in force
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_EQ(m.gas_kind, GasKind::HELIUM);
    EXPECT_EQ(m.CP, 5.3);

    m.GAS = "XX";
    m.MG_XX = 28.0; m.CP_XX = 1.04; m.RO_XX = 1.25; m.X_XX = 1.4;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_EQ(m.gas_kind, GasKind::AIR);
    EXPECT_NEAR(m.GM0[0], m.M0[0] * 28.0, 1e-12);

    m.X_XX = 0.0;  // the exponent divides CP
    EXPECT_FALSE(derive_geometry(p->run, p->units));
    EXPECT_EQ(m.NFAIL, 509);

    auto q = square_machine();
    q->run.GAS = "CO";  // nothing selected before in this program
    EXPECT_FALSE(derive_geometry(q->run, q->units));
    EXPECT_EQ(q->run.NFAIL, 507);
}

TEST(MachineGeometry, DeadVolumeReportOfTheFirstMachine) {
    auto p = square_machine(2);
    p->units.IPRNT2 = 1;
    RunState& m = p->run;
    m.ZH0E = 10.0; m.ZH0C = 0.0; m.VTE = {2.0, 0, 0, 0}; m.RVE = 4.0;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    // H00E1 = (10 + 2) % of 10 cm; VH00E1 = 1.2 * 25 PI; RVEVOL = 4 % of 250 PI = 10 PI.
    const std::string report =
        " TOTRAUMHOEHE IM   EXPANSIONSZYLINDER:   \"H00E1\"= (ZH0E+VTE1)*2*R =    1.20 CM; \"ZH0E\" ="
        "    10.0, \"VTE1\" =  2.0 % VOM HUB\n"
        " TOTRAUMHOEHE IM KOMPRESSIONSZYLINDER:   \"H00C1\"= (ZH0C+VTC1)*2*R =    0.00 CM; \"ZH0C\" ="
        "     0.0, \"VTC1\" =  0.0 % VOM HUB\n"
        " TOTRAUM IM EXPANSIONS   ZYLINDER:      \"VH00E1\"=     94.25 CM**3\n"
        " TOTRAUM IM KOMPRESSIONS ZYLINDER:      \"VH00C1\"=      0.00 CM**3\n \n"
        " REGELVOLUMEN IM EXPANSIONS- ZYLINDER:  \"RVEVOL\"=     31.42 CM**3,REGELRAUMHOEHE HRVE0="
        "     0.4 CM\n"
        " REGELVOLUMEN IM KOMPRESSIONS ZYLINDER  \"RVCVOL\"=      0.00 CM**3,REGELRAUMHOEHE HRVC0="
        "     0.0 CM\n \n"
        " REGENERATOR VOLUMEN JE TEILMASCHINE:      \"VR\" =    100.00 CM**3\n \n"
        " Gesamter Totraum in Teilmaschine H1-K1 \"TOTVL1\"=    225.66 CM**3  inklusive der Regelvolumina"
        " \"RVEVOL\" und \"RVCVOL\"\n \n"
        "                   Anfangsdrehzahl         \"N0\" =     600.0 U/MIN\n \n \n";
    EXPECT_NE(p->units.u9.text().find(report), std::string::npos);
    EXPECT_EQ(p->units.u9.text().find("H2-K2"), std::string::npos);  // machine 2 from level 2 on
    // ZH0C = 0 is unrealistic but goes on.
    EXPECT_NE(p->units.u6.text().find(
                  " Ein Totvolumen im Expansions- oder Kompressionszylinder von 0 ist unrealistisch\n"
                  " ZHOE= 10.000 %, ZH0C=  0.000 %; Die Berechnung geht mit diesen Werten weiter\n \n"),
              std::string::npos);
}

TEST(MachineGeometry, WireMeshLowersTheHotAndRaisesTheColdTemperature) {
    auto p = square_machine(2);
    p->units.IPRNT2 = 1;
    RunState& m = p->run;
    m.MASSE = 500.0; m.F = 0.5;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    const double RF = 5 * 25 * pi10;
    const double L = std::log((RF * (2 + std::sqrt(2.0)) + 100) / (RF * (2 - std::sqrt(2.0)) + 100));
    const double charge = 10 * (2 * RF + 100) / 300;
    const double c_wire = 0.47720399498939514;
    EXPECT_NEAR(m.QZU_NEW, charge * 900 * L / 10 * 0.5, 1e-6);
    EXPECT_NEAR(m.QAB_NEW, charge * 300 * L / 10 * 0.5, 1e-6);
    EXPECT_NEAR(m.THNEU, 900 - charge * 900 * L / 10 * 0.5 / (c_wire * 500), 1e-8);
    EXPECT_NEAR(m.TKNEU, 300 + charge * 300 * L / 10 * 0.5 / (c_wire * 500), 1e-8);
    EXPECT_NE(p->units.u9.text().find(" \n WAERMEUEBERGANG AM DRAHTNETZ:\n \n TH= 900.0 THNEU="),
              std::string::npos);
    EXPECT_EQ(p->units.u9.text().find("UNGENAU"), std::string::npos);

    // F = 0: no exchange, and the note on an unrealistic factor.
    auto q = square_machine(2);
    q->run.MASSE = 500.0; q->run.F = 0.0; q->run.PHASE = -80.0;
    ASSERT_TRUE(derive_geometry(q->run, q->units));
    EXPECT_EQ(q->run.THNEU, 900.0);
    EXPECT_EQ(q->run.TKNEU, 300.0);
    const std::string& u6 = q->units.u6.text();
    EXPECT_NE(u6.find(" EIN WAERMEUEBERGANGSVERLUST AM DRAHTNETZ VON F< 0.1 IST UNREALISTISCH, F=0.000\n"
                      " Entweder wurde kein Wert fuer F=angegeben, oder es wurde unzulaessigerweise\n"),
              std::string::npos);
    EXPECT_NE(u6.find(" PHASE= -80.00; DH=  10.00 DK=  10.00 CM\n \nDIE WEITERE BERECHNUNG IST UNGENAU\n"),
              std::string::npos);

    // Too little mesh: the cold side would end up hotter than the hot one.
    auto r = square_machine(2);
    r->run.MASSE = 1.0; r->run.F = 1.0;
    EXPECT_FALSE(derive_geometry(r->run, r->units));
    EXPECT_EQ(r->run.NFAIL, 222);
    EXPECT_NE(r->units.u6.text().find(" Die Waermekapazitaet der Drahtmasse ist zu klein!\n"
                                      " Es ergibt sich mit dieser Drahtmasse und Faktor:\n TKNEU ="),
              std::string::npos);
}

TEST(MachineGeometry, FrictionNoteAndPairCount) {
    auto p = square_machine(4);
    p->units.IPRNT2 = 2;
    p->run.FSEAL = 0.0;
    ASSERT_TRUE(derive_geometry(p->run, p->units));
    EXPECT_TRUE(has_line(p->units.u9.text(),
                         "=====>> Reibungskraft \"FSEAL\" =0.0 ist eingegeben worden !! <<======"));
    EXPECT_TRUE(has_line(p->units.u9.text(), " Berechnung fuer NZYL= 4 Zylinderpaare"));
    EXPECT_TRUE(has_line(p->units.u6.text(), " NZYL= 4 Zylinderpaare; Reibungskraft FSEAL=  0.0 Newton"));
}

}  // namespace
}  // namespace korvex::run
