// Machine options of a run: revolutions and damping, the flywheel, the moving liquid columns
// or pistons, and the injection nozzles, each with its listing.
#include <cmath>
#include <string>

#include "state/constants.hpp"
#include "run/machine.hpp"
#include "run/machine_parts.hpp"

namespace korvex::run {

using runtime::E;
using runtime::I;
using runtime::Units;

namespace {

void revolutions(RunState& m, Units& u) {
    if (!u.level(2) || m.NACH == 0) return;
    const std::string damping = runtime::F(m.DAEMPFUNG, 5, 3);
    const std::string phase = runtime::F(m.PHASE, 7, 2);
    const std::string u9_tail = " = VERHAELTNIS X1 / X0 DER SCHWINGUNGSAMPLITUDEN; PHASENWINKEL =";
    if (m.NACH == 1) {
        u.u6.record(" BERECHNUNG ERFOLGT FUER 1 UMDREHUNG", " DAEMPFUNG: X1/X0=", damping,
                    " PHASENWINKEL:", phase);
        u.u9.line(" ");
        u.u9.record(" BERECHNUNG ERFOLGT FUER 1 UMDREHUNG", "; DAEMPFUNG=", damping, u9_tail, phase,
                    " GRAD");
    } else {
        u.u6.record(" BERECHNUNG ERFOLGT FUER", I(m.NACH, 3), " UMDREHUNGEN", " DAEMPFUNG X1/X0=",
                    damping, "; PHASENW.:", phase);
        u.u9.line(" ");
        u.u9.record(" BERECHNUNG ERFOLGT FUER", I(m.NACH, 3), " UMDREHUNGEN", "; DAEMPFUNG=", damping,
                    u9_tail, phase, " GRAD");
    }
    u.u6.line(" ");
    u.u9.line(" ");
}

// A solid disc of width DICKE and density 7.8 g/cm**3 with the inertia THETA:
// THETA = rho * PI * r**4 * DICKE / 2.
bool flywheel(RunState& m, Units& u) {
    if (m.THETA < 0.0 || (m.THETA > 0.0 && !(m.DICKE > 0.0))) {
        m.NFAIL = 506;
        write_line_error(u, 6);
        u.u6.record(" THETA=", E(m.THETA, 14, 7), " DICKE=", runtime::F(m.DICKE, 7, 2),
                    " Fuer eine Schwungscheibe muessen THETA >=0 und DICKE >0 sein");
        u.u9.record(" THETA=", E(m.THETA, 14, 7), " DICKE=", runtime::F(m.DICKE, 7, 2),
                    " Fuer eine Schwungscheibe muessen THETA >=0 und DICKE >0 sein");
        return false;
    }
    const double r = m.THETA > 0.0
                         ? std::pow(2.0 * m.THETA / (RHO_FLYWHEEL * m.DICKE * PI), 0.25)
                         : 0.0;
    m.flywheel_diameter = 2.0 * r;
    const double omega = m.N0 * PI / 30.0;
    m.flywheel_energy = 0.5 * omega * omega * m.THETA / 10000000.0;
    if (u.level(2)) {
        u.u6.record(" Schwungscheibe: Durchmesser=", runtime::F(m.flywheel_diameter, 7, 2),
                    "  Breite=", runtime::F(m.DICKE, 4, 1), " CM; THETA=", E(m.THETA, 10, 4),
                    " gr*cm**2");
        u.u6.record(" Rotationsenergie der Schwungscheibe=", E(m.flywheel_energy, 14, 7),
                    " Newton * METER");
    }
    if (u.level(1)) {
        u.u9.record(" Traegheitsmoment der Schwungscheibe=", E(m.THETA, 14, 7),
                    " Gramm*cm**2, Dichte=", runtime::F(RHO_FLYWHEEL, 5, 2), " Gramm/cm**3",
                    " Breite=", runtime::F(m.DICKE, 5, 2), " Durchmesser=",
                    runtime::F(m.flywheel_diameter, 7, 2), " CM");
        u.u9.record(" Rotationsenergie der Schwungscheibe=", E(m.flywheel_energy, 14, 7),
                    " Newton * METER");
        u.u9.line(" ");
    }
    return true;
}

// The injection block of the detail listing; with the hydraulic diameters, cross-sections and
// jet velocities once the wire mesh is known to be absent.
void nozzle_block(const RunState& m, runtime::Unit& w, bool full) {
    w.line(" ");
    w.record(" Beregnungsvolumenstrom BEVOL=", E(m.BEVOL, 12, 6), " Liter/sec");
    w.record(" Duesen Werte: Expansionszylinder   Anzahl NDUe=", I(m.NDUE, 4), " Durchmesser DDUe=",
             runtime::F(m.DDUE, 6, 3), " cm");
    w.record("               Kompressionszylinder Anzahl NDUc=", I(m.NDUC, 4), " Durchmesser DDUc=",
             runtime::F(m.DDUC, 6, 3), " cm");
    if (full) {
        w.record(" Hydr. Durchmesser DGLe=", runtime::F(m.DGLe, 9, 5), " DGLc=", runtime::F(m.DGLc, 9, 5),
                 " m");
        w.record(" Querschnitt aller Duesen FQDUE=", E(m.FQDUE, 12, 6), " FQDUC=", E(m.FQDUC, 12, 6),
                 " cm**2");
        w.record(" Strahlgeschwindigkeit UDU0E=", E(m.UDU0E, 12, 6), " UDU0C=", E(m.UDU0C, 12, 6),
                 " m/sec");
        w.record(" Oberflaechenfaktor fuer Expans.-Strahlen =", runtime::F(m.OFRE, 5, 1));
    } else {
        w.record(" Oberflaechenfaktor fuer Expams.-Strahlen =", runtime::F(m.OFRE, 5, 1));
    }
    w.record(" Oberflaechenfaktor fuer Kompr. -Strahlen =", runtime::F(m.OFRC, 5, 1));
    w.record(" Abstrahlungsverlust der heissen Zylinder =", runtime::F(m.LUST, 8, 1), " Watt");
    w.line(" ");
}

// Cross-sections and jet velocities; a side without nozzle cross-section has no jet.
void compute_nozzles(RunState& m) {
    m.FQDUE = m.DDUE * m.DDUE * m.NDUE * PI / 4.0;
    m.FQDUC = m.DDUC * m.DDUC * m.NDUC * PI / 4.0;
    m.UDU0E = m.FQDUE > 0.0 ? m.BEVOL * 10.0 / m.FQDUE : 0.0;
    m.UDU0C = m.FQDUC > 0.0 ? m.BEVOL * 10.0 / m.FQDUC : 0.0;
}

// Injection with a flow needs nozzles on both sides: the jet velocity divides the flow by
// their cross-section, and the hydraulic diameter needs a positive perimeter.
bool nozzles(RunState& m, Units& u) {
    compute_nozzles(m);
    if (m.MASSE > 0.0) return true;  // the wire mesh takes precedence over injection
    const bool hot_ok = m.NDUE > 0 && m.DDUE > 0.0 && m.NDUE * m.DDUE * m.DDUE < m.DH * m.DH;
    const bool cold_ok = m.NDUC > 0 && m.DDUC > 0.0 && m.NDUC * m.DDUC * m.DDUC < m.DK * m.DK;
    if (!hot_ok || !cold_ok) {
        m.NFAIL = 503;
        write_line_error(u, 22);
        for (runtime::Unit* w : {&u.u6, &u.u9}) {
            w->record(" NDUE=", I(m.NDUE, 4), " DDUE=", runtime::F(m.DDUE, 6, 3), " NDUC=", I(m.NDUC, 4),
                      " DDUC=", runtime::F(m.DDUC, 6, 3));
            w->line(" Anzahl und Durchmesser der Duesen muessen >0 sein, und alle Duesen zusammen");
            w->line(" muessen kleiner als der Zylinderquerschnitt sein");
        }
        return false;
    }
    m.DGLe = (m.DH * m.DH - m.NDUE * m.DDUE * m.DDUE) / ((m.NDUE * m.DDUE + m.DH) * 100.0);
    m.DGLc = (m.DK * m.DK - m.NDUC * m.DDUC * m.DDUC) / ((m.NDUC * m.DDUC + m.DK) * 100.0);
    if (u.level(1)) nozzle_block(m, u.u9, true);
    if (u.level(3)) nozzle_block(m, u.u6, true);
    return true;
}

}  // namespace

void nozzle_geometry(RunState& m, Units& u) {
    compute_nozzles(m);
    if (u.level(5)) nozzle_block(m, u.u9, false);
}

void write_liquid_masses(const RunState& m, runtime::Unit& w) {
    const std::string zw = runtime::F(m.ZW, 4, 1);
    if (m.NZYL < 2) {
        w.line(" ");
        w.record(" KOLBENMASSE ERRECHNET MIT DEM FAKTOR \"ZW\" WIE BEI DER WASSERMASSEN BERECHNUNG: "
                 "MASSE = ZW * R * FQ * ROW;   ZW=",
                 zw);
        w.record("      KOLBENMASSE IM EXPANSIONSZYLINDER    \"MH\" =", E(m.MH, 14, 7),
                 " GRAMM;    DICHTE \"ROW\"=0.988 GRAMM/CM**3 IST GLEICH DER WASSERDICHTE");
        w.record("      KOLBENMASSE IM KOMPRESSIONSZYLINDER  \"MK\" =", E(m.MK, 14, 7),
                 " GRAMM;    \"R\" = KURBELRADIUS, \"FQ\" = KOLBENQUERSCHNITT");
    } else if (m.NZYL == 2) {
        w.record(" KOLBEN- UND/ODER WASSERMASSE PRO U-ROHR = ZW * R * FQ * ROW;   ZW=", zw,
                 "   \"FQ\" IST DER QUERSCHNITT DES JEWEILIGEN U-ROHRES");
        w.record("                 MASSE IM HEISSEN U-ROHR   \"MH\" =", E(m.MH, 14, 7),
                 " GRAMM;    DICHTE \"ROW\" = 0.988 GRAMM/CM**3, \"R\" = KURBELRADIUS");
        w.record("                 MASSE IM KALTEN  U-ROHR   \"MK\" =", E(m.MK, 14, 7), " GRAMM");
    } else {
        w.record(" WASSERMASSE PRO U-ROHR = ZW * R * FQ * ROW;   ZW=", zw,
                 "                      \"FQ\" IST DER QUERSCHNITT DES JEWEILIGEN U-ROHRES");
        w.record("          WASSERMASSE IM HEISSEN U-ROHR    \"MH\" =", E(m.MH, 14, 7),
                 " GRAMM;      DICHTE \"ROW\" = 0.988 GRAMM/CM**3, \"R\" = KURBELRADIUS");
        w.record("          WASSERMASSE IM KALTEN  U-ROHR    \"MK\" =", E(m.MK, 14, 7), " GRAMM");
    }
    w.line(" ");
    w.line(" ");
    w.record(" REIBUNGSKRAFT VON KOLBEN- UND KOLBENSTANGENDICHTUNGEN \"FSEAL\"=",
             runtime::F(m.FSEAL, 7, 2), " NEWTON;");
    if (m.NZYL < 2)
        w.record(" DAEMPFUNG DER FLUESSIGKEITSSCHWINGUNG: AMPLITUDENVERHAELTNIS X1/X0=",
                 runtime::F(m.DAEMPFUNG, 7, 3), " ->> OHNE FLUESSIGKEIT MUSS X1/X0 = 1.0 SEIN <<-");
    else
        w.record(" DAEMPFUNG DER FLUESSIGKEITSSCHWINGUNG: AMPLITUDENVERHAELTNIS X1/X0=",
                 runtime::F(m.DAEMPFUNG, 7, 3));
    w.line(" ");
}

namespace {

double column_mass(double length, double control_height, double FQ, Units& u, const char* side) {
    if (length >= 2.0 * control_height) return (length - 2.0 * control_height) * FQ * ROW;
    u.note(std::string(" NOTE: the ") + side + " liquid column ZW*R =" + runtime::F(length, 9, 3) +
           " CM is shorter than twice its control height" + runtime::F(2.0 * control_height, 9, 3) + " CM;");
    u.note("       it holds no liquid (mass 0) while the control volume is open");
    return 0.0;
}

}  // namespace

bool derive_options(RunState& m, Units& u) {
    revolutions(m, u);
    if (!flywheel(m, u)) return false;

    // Liquid columns (or pistons): the control-volume heights shorten the column. A column
    // shorter than twice its control height holds no liquid while the control volume is
    // open: its mass is 0 then, never negative, and the user is told.
    m.MH = column_mass(m.R * m.ZW, m.HRVE0, m.FQE, u, "hot");
    m.MK = column_mass(m.R * m.ZW, m.HRVC0, m.FQC, u, "cold");
    if (u.level(1)) {
        write_liquid_masses(m, u.u9);
        if (m.DAEMPFUNG == 1.0 || m.DAEMPFUNG == 0.0) {
            u.u9.line(" Schwingungsdaempfung wird nicht berechnet");
            u.u9.line(" ");
        }
    }

    if (m.mode == Mode::ISO && m.nozzles && !nozzles(m, u)) return false;
    return true;
}

}  // namespace korvex::run
