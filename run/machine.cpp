// Machine geometry and gas charge of a run: areas, swept, dead and control volumes, the volume
// scan of one revolution with the start angle, the gas amount per partial machine, the
// effective temperatures of the operating mode, the regenerator end temperatures and the gas
// properties, each with its listing.
#include "run/machine.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "state/constants.hpp"
#include "run/machine_parts.hpp"

namespace korvex::run {

using runtime::E;
using runtime::I;
using runtime::Units;

namespace {

// "H1-K1" .. "H4-K4" and the digit of the names of partial machine i (0-based).
std::string pair_name(int i) {
    const char d = static_cast<char>('1' + i);
    return std::string{'H', d, '-', 'K', d};
}
std::string digit(int i) { return std::string(1, static_cast<char>('1' + i)); }

template <class... P>
void both(Units& u, const P&... pieces) {
    u.u6.record(pieces...);
    u.u9.record(pieces...);
}

// A rod that fills the bore would leave no annulus (or a negative one) on the rod side.
bool check_line4(RunState& m, Units& u) {
    if (!(m.DH > 0.0 && m.DK > 0.0 && m.R > 0.0)) {
        m.NFAIL = 504;
        write_line_error(u, 4);
        both(u, " ");
        both(u, " DH=", runtime::F(m.DH, 8, 3), " DK=", runtime::F(m.DK, 8, 3), " R=",
             runtime::F(m.R, 8, 3), " Alle Werte muessen >0 sein");
        both(u, " ");
        return false;
    }
    // A negative diameter squares to a real rod as well: it must not slip past this test.
    if (m.DKST < 0.0 || m.DKST >= m.DH || m.DKST >= m.DK) {
        m.NFAIL = 504;
        write_line_error(u, 4);
        both(u, " ");
        both(u, " DKST=", runtime::F(m.DKST, 8, 3), " DH=", runtime::F(m.DH, 8, 3), " DK=",
             runtime::F(m.DK, 8, 3),
             " Der Kolbenstangen Durchmesser DKST muss >=0 und kleiner als DH und DK sein");
        both(u, " ");
        return false;
    }
    if (m.P0 < 0.0) {
        m.NFAIL = 504;
        write_line_error(u, 4);
        both(u, " P0=", runtime::F(m.P0, 8, 3), " Bar; der Fuelldruck darf nicht negativ sein");
        return false;
    }
    if (m.T0 < 0.0) {
        m.NFAIL = 505;
        write_line_error(u, 5);
        both(u, " T0=", runtime::F(m.T0, 8, 2),
             " Kelvin; die Fuelltemperatur darf nicht negativ sein");
        return false;
    }
    return true;
}

// Steps 1 to 7: rod, areas, swept volumes, control volumes, dead spaces, regenerator.
void volumes(RunState& m) {
    const double stroke = 2.0 * m.R;

    m.AKST = m.DKST * m.DKST * PI / 4.0;
    m.VDKST = m.AKST * stroke;
    m.FQE = m.DH * m.DH * PI / 4.0;
    m.FQER = m.FQE - m.AKST;
    m.FQC = m.DK * m.DK * PI / 4.0;
    m.FQCR = m.FQC - m.AKST;

    m.VE[0] = m.VE[2] = m.FQE * stroke;
    m.VE[1] = m.VE[3] = m.FQER * stroke;
    m.VC[0] = m.VC[2] = m.FQC * stroke;
    m.VC[1] = m.VC[3] = m.FQCR * stroke;
    if (m.NZYL > 2) {
        m.VC[0] = m.FQCR * stroke;
        m.VC[1] = m.FQC * stroke;
    }

    // Control volumes: given in % of the swept volumes or in cm**3; both are kept in %.
    if (m.control_volume_percent) {
        m.RVEVOL = m.VE[0] * m.RVE / 100.0;
        m.RVCVOL = m.VC[0] * m.RVC / 100.0;
    } else {
        m.RVEVOL = m.RVE;
        m.RVCVOL = m.RVC;
        m.RVE = m.RVEVOL * 100.0 / m.VE[0];
        m.RVC = m.RVCVOL * 100.0 / m.VC[0];
    }
    m.HRVE0 = m.RVEVOL / m.FQE;
    m.HRVC0 = m.RVCVOL / m.FQC;

    // Dead spaces: given in % of the stroke or in cm**3; ZH0E and ZH0C end up in %. The full
    // piston areas serve all four partial machines.
    if (m.dead_space_percent) {
        m.H00E0 = m.ZH0E * stroke / 100.0;
        m.H00C0 = m.ZH0C * stroke / 100.0;
        for (int i = 0; i < 4; ++i) {
            m.H00E[i] = m.VTE[i] * stroke / 100.0 + m.H00E0;
            m.H00C[i] = m.VTC[i] * stroke / 100.0 + m.H00C0;
            m.VH00E[i] = m.H00E[i] * m.FQE;
            m.VH00C[i] = m.H00C[i] * m.FQC;
        }
        m.VH00E0 = m.H00E0 * m.FQE;
        m.VH00C0 = m.H00C0 * m.FQC;
    } else {
        m.VH00E0 = m.ZH0E;
        m.H00E0 = m.VH00E0 / m.FQE;
        m.ZH0E = m.H00E0 * 100.0 / stroke;
        m.VH00C0 = m.ZH0C;
        m.H00C0 = m.VH00C0 / m.FQC;
        m.ZH0C = m.H00C0 * 100.0 / stroke;
        for (int i = 0; i < 4; ++i) {
            m.VH00E[i] = m.VH00E0 + m.VTE[i];
            m.H00E[i] = m.VH00E[i] / m.FQE;
            m.VH00C[i] = m.VH00C0 + m.VTC[i];
            m.H00C[i] = m.VH00C[i] / m.FQC;
        }
    }

    m.VR = m.VOLUMEN * 1000.0;
    m.VR3 = m.VR / 3.0;
    for (int i = 0; i < 4; ++i)
        m.TOTVL[i] = m.VH00E[i] + m.VH00C[i] + m.RVEVOL + m.RVCVOL + m.VR;
}

void zero_dead_space_note(RunState& m, Units& u) {
    if (!u.level(1) || (m.ZH0E != 0.0 && m.ZH0C != 0.0)) return;
    both(u, " Ein Totvolumen im Expansions- oder Kompressionszylinder von 0 ist unrealistisch");
    both(u, " ZHOE=", runtime::F(m.ZH0E, 7, 3), " %, ZH0C=", runtime::F(m.ZH0C, 7, 3),
         " %; Die Berechnung geht mit diesen Werten weiter");
    both(u, " ");
}

// The dead and control volumes of each partial machine on unit 9.
void dead_volume_report(RunState& m, Units& u) {
    runtime::Unit& u9 = u.u9;
    for (int i = 0; i < 4; ++i) {
        const bool listed = i == 0   ? u.level(1)
                            : i == 1 ? u.level(2) && m.NZYL >= 2
                                     : u.level(2) && m.NZYL == 4;
        if (!listed) continue;
        const std::string d = digit(i);
        u9.record(" TOTRAUMHOEHE IM   EXPANSIONSZYLINDER:   \"H00E", d, "\"= (ZH0E+VTE", d,
                  ")*2*R =", runtime::F(m.H00E[i], 8, 2), " CM; \"ZH0E\" =", runtime::F(m.ZH0E, 8, 1),
                  ", \"VTE", d, "\" =", runtime::F(m.VTE[i], 5, 1), " % VOM HUB");
        u9.record(" TOTRAUMHOEHE IM KOMPRESSIONSZYLINDER:   \"H00C", d, "\"= (ZH0C+VTC", d,
                  ")*2*R =", runtime::F(m.H00C[i], 8, 2), " CM; \"ZH0C\" =", runtime::F(m.ZH0C, 8, 1),
                  ", \"VTC", d, "\" =", runtime::F(m.VTC[i], 5, 1), " % VOM HUB");
        u9.record(" TOTRAUM IM EXPANSIONS   ZYLINDER:      \"VH00E", d, "\"=",
                  runtime::F(m.VH00E[i], 10, 2), " CM**3");
        u9.record(" TOTRAUM IM KOMPRESSIONS ZYLINDER:      \"VH00C", d, "\"=",
                  runtime::F(m.VH00C[i], 10, 2), " CM**3");
        u9.line(" ");
        u9.record(" REGELVOLUMEN IM EXPANSIONS- ZYLINDER:  \"RVEVOL\"=", runtime::F(m.RVEVOL, 10, 2),
                  " CM**3,REGELRAUMHOEHE HRVE0=", runtime::F(m.HRVE0, 8, 1), " CM");
        u9.record(" REGELVOLUMEN IM KOMPRESSIONS ZYLINDER  \"RVCVOL\"=", runtime::F(m.RVCVOL, 10, 2),
                  " CM**3,REGELRAUMHOEHE HRVC0=", runtime::F(m.HRVC0, 8, 1), " CM");
        u9.line(" ");
        u9.record(" REGENERATOR VOLUMEN JE TEILMASCHINE:      \"VR\" =", runtime::F(m.VR, 10, 2),
                  " CM**3");
        u9.line(" ");
        u9.record(" Gesamter Totraum in Teilmaschine ", pair_name(i), " \"TOTVL", d, "\"=",
                  runtime::F(m.TOTVL[i], 10, 2),
                  " CM**3  inklusive der Regelvolumina \"RVEVOL\" und \"RVCVOL\"");
        if (i == 0) {
            u9.line(" ");
            u9.record("                   Anfangsdrehzahl         \"N0\" =", runtime::F(m.N0, 10, 1),
                      " U/MIN");
            u9.line(" ");
            u9.line(" ");
        } else {
            u9.line(" ");
        }
    }
}

// Step 8: the volume scan of one revolution with pure sinusoidal piston motion from PHI0 on:
// the extremes of partial machine 1 and their angles and, for the double-acting machine, the
// angle where both partial machines hold the same volume, with those volumes less the control
// volumes as V01 and V02.
void scan_volumes(RunState& m) {
    m.PHASE_RAD = m.PHASE / GRAD;
    const double A = m.NZYL == 2 ? m.FQC : m.FQCR;
    const double control = m.RVEVOL + m.RVCVOL;
    const double dphi = 2.0 * PI / SCAN_STEPS;
    const double phi_start = m.PHI0 / GRAD;

    // Largest values stand in as the "nothing found yet" marks, so that a large machine finds
    // its smallest volume and its equal-volume angle too.
    double best = std::numeric_limits<double>::max();
    m.VMAX = 0.0;
    m.VMIN = std::numeric_limits<double>::max();
    m.PHI_VMAX = m.PHI_VMIN = m.PHI_EQUAL = phi_start;
    for (int k = 0; k <= SCAN_STEPS; ++k) {
        const double phi = phi_start + k * dphi;
        const double V1 = (1.0 - std::cos(phi)) * m.R * m.FQE +
                          (1.0 - std::cos(phi + m.PHASE_RAD)) * m.R * A + m.TOTVL[0];
        if (m.NZYL == 2) {
            const double V2 = (1.0 - std::cos(phi + PI)) * m.R * m.FQER +
                              (1.0 - std::cos(phi + PI + m.PHASE_RAD)) * m.R * m.FQCR + m.TOTVL[1];
            if (std::fabs(V1 - V2) < best) {
                best = std::fabs(V1 - V2);
                m.PHI_EQUAL = phi;
                m.V0[0] = V1 - control;
                m.V0[1] = V2 - control;
            }
        }
        if (V1 > m.VMAX) { m.VMAX = V1; m.PHI_VMAX = phi; }
        if (V1 < m.VMIN) { m.VMIN = V1; m.PHI_VMIN = phi; }
    }
}

// Step 9: the start angle PHI0 and the reference volumes V01..V04 of the partial machines, by
// the kind of machine.
void start_angle(RunState& m, Units& u) {
    const double control = m.RVEVOL + m.RVCVOL;
    double start = 0.0;
    if (m.NZYL < 2) {
        // Single-acting: the gas is filled at the largest total volume.
        start = m.PHI_VMAX;
        m.V0[0] = m.VMAX - control;
        m.V0[1] = m.VCRANC + m.VE[0] + m.VC[0] + m.TOTVL[0] - m.VMAX;
        m.V0[2] = m.V0[3] = 0.0;
        m.PHI0 = start * GRAD;
        if (u.level(4)) {
            u.u6.record(" Gas wird eingefuellt bei maximalem Gesamtvolumen \"VG_max\"=",
                        runtime::F(m.VMAX, 9, 3), " cm**3");
            u.u6.record(" Startwinkel fuer die Berechnung dieser Maschine ist \"PHI0\"=",
                        runtime::F(m.PHI0, 8, 3), " Grad");
            u.u6.record(" Das Ausgangsvolumen ist: \"V01\" = \"Vmax\" - \"Regelvolumina\"=",
                        runtime::F(m.V0[0], 9, 3), " cm**3");
            u.u6.line(" ");
        }
    } else if (m.NZYL == 2) {
        // Double-acting: both partial machines start with the same volume.
        start = m.PHI_EQUAL;
        m.V0[2] = m.V0[3] = 0.0;
        m.PHI0 = start * GRAD;
        if (u.level(4)) {
            u.u6.record(" Gleiches Volumen fuer die doppelt wirkende Maschine bei ",
                        runtime::F(m.PHI_EQUAL * GRAD, 7, 3), " Grad");
            u.u6.record(" V01 =", E(m.V0[0], 14, 7), ", V02 =", E(m.V0[1], 14, 7), " cm**3");
            u.u6.record(" Startwinkel fuer die Vorberechnung dieser Maschine ist \"PHI0\"=",
                        runtime::F(m.PHI0, 7, 2), " Grad");
            u.u6.line(" ");
        }
    } else {
        // Twice double-acting: start at 0 with half strokes in every partial machine.
        start = 0.0;
        for (int i = 0; i < 4; ++i)
            m.V0[i] = (m.VE[i] + m.VC[i]) / 2.0 + m.VR + m.VH00E[i] + m.VH00C[i];
        m.PHI0 = start * GRAD;
        if (u.level(3)) {
            u.u6.record(" Startwinkel fuer die Berechnung dieser Maschine ist \"PHI0\"= ",
                        runtime::F(m.PHI0, 7, 3), " GRAD");
            u.u6.line(" ");
            u.u9.record(" Startwinkel fuer die Berechnung dieser Maschine ist \"PHI0\"= ",
                        runtime::F(m.PHI0, 7, 3), " Grad Kurbelwinkel");
            u.u9.line(" Bei der 2 x doppelt wirkenden Maschine beginnt die Berechnung bei 0 Grad.");
            u.u9.line(" Die vier Kurbeln sind um je 90 Grad versetzt; die Kolben stehen");
            u.u9.line(" in jeder Teilmaschine bei diesem Winkel nicht in der Mitte des Hubes.");
            u.u9.line(" Als Ausgangsvolumen jeder Teilmaschine wird darum die Haelfte ihrer");
            u.u9.line(" Hubvolumina plus Regenerator und Totraeume genommen, ohne Regelvolumina:");
            u.u9.record(" V0i = (VEi + VCi)/2 + VR + VH00Ei + VH00Ci:", " V01 =", E(m.V0[0], 14, 7), " V02 =",
                        E(m.V0[1], 14, 7), " V03 =", E(m.V0[2], 14, 7), " V04 =", E(m.V0[3], 14, 7), " CM**3");
            u.u9.line(" ");
        }
    }
}

// Step 8: the gas volume of partial machine i (0-based) at crank angle phi (rad) with pure
// sinusoidal piston motion, each side at the crank throw the simulation gives it: pair 2 on the
// second throw (+ PI), pairs 3 and 4 with their hot side on the compression crank. Pair 1 is the
// scan's V1, pair 2 of the double-acting machine its V2.
double pair_gas_volume(const RunState& m, int i, double phi) {
    const double hot_angle[4] = {phi, phi + PI, phi + m.PHASE_RAD, phi + m.PHASE_RAD + PI};
    const double cold_angle[4] = {phi + m.PHASE_RAD, phi + PI + m.PHASE_RAD, phi + PI, phi};
    const double hot_area[4] = {m.FQE, m.FQER, m.FQE, m.FQER};
    const double cold_area[4] = {m.NZYL == 2 ? m.FQC : m.FQCR, m.NZYL == 4 ? m.FQC : m.FQCR, m.FQC, m.FQCR};
    return (1.0 - std::cos(hot_angle[i])) * m.R * hot_area[i] + (1.0 - std::cos(cold_angle[i])) * m.R * cold_area[i] +
           m.TOTVL[i];
}

// The smallest gas volume of partial machine i over the revolution of the volume scan.
double smallest_pair_volume(const RunState& m, int i) {
    const double dphi = 2.0 * PI / SCAN_STEPS;
    double vmin = std::numeric_limits<double>::max();
    for (int k = 0; k <= SCAN_STEPS; ++k) vmin = std::min(vmin, pair_gas_volume(m, i, m.PHI0 / GRAD + k * dphi));
    return vmin;
}

// Step 8: the gas volume of every partial machine the simulation computes must stay positive
// over the whole revolution: the gas amount, the volume ratio and every pressure of the
// simulation divide by it. Pair 1 is judged by the scan's VMIN; pair 2 of the single-acting
// machine is the crankcase (its reference volume is checked in step 10).
bool smallest_volume_positive(RunState& m, Units& u) {
    const int pairs = m.NZYL == 4 ? 4 : m.NZYL == 2 ? 2 : 1;
    for (int i = 0; i < pairs; ++i) {
        const double vmin = i == 0 ? m.VMIN : smallest_pair_volume(m, i);
        if (vmin > 0.0) continue;
        m.NFAIL = 506;
        write_line_error(u, 6);
        both(u, " ");
        both(u, " Das kleinste Gasvolumen in \"", pair_name(i), "\" VMIN=", E(vmin, 14, 7), " CM**3 ist nicht >0; ZH0E, ZH0C, VTE",
             digit(i), ", VTC", digit(i), " pruefen");
        both(u, " ");
        return false;
    }
    return true;
}

// Step 10: every pair the machine has (and the crankcase of the single-acting machine) is filled
// with the gas of its reference volume; one that is not positive would hold no gas or a
// negative amount. The VMIN test covers only the gas space of pair 1: negative dead-space
// deviations, a negative regenerator or large control volumes can empty the others.
bool reference_volumes_positive(RunState& m, Units& u) {
    const int filled = m.NZYL == 4 ? 4 : 2;
    for (int i = 0; i < filled; ++i) {
        if (m.V0[i] > 0.0) continue;
        m.NFAIL = 506;
        write_line_error(u, 6);
        both(u, " ");
        both(u, " Das Ausgangsvolumen \"V0", digit(i), "\"=", E(m.V0[i], 14, 7),
             " CM**3 ist nicht >0; ZH0E, ZH0C, VTE", digit(i), ", VTC", digit(i), ", VCRANC pruefen");
        both(u, " ");
        return false;
    }
    return true;
}

// Steps 8 to 10: the volume scan, the start angle and the reference volumes.
bool scan_and_start(RunState& m, Units& u) {
    scan_volumes(m);
    if (!smallest_volume_positive(m, u)) return false;
    start_angle(m, u);
    return reference_volumes_positive(m, u);
}

// Step 11: filling pressure and temperature; a run with P0 = T0 = 0 keeps the gas amount of
// the run that last gave both.
bool filling(RunState& m, Units& u) {
    if (m.P0 > 0.0 && m.T0 > 0.0) {
        m.P0V01_SAVED = m.P0 * m.V0[0];
        m.T0_SAVED = m.T0;
    }
    if (m.NLAUF == 0 || m.T0_SAVED <= 0.0) {
        if (!(m.P0 > 0.0 && m.T0 > 0.0)) {
            m.NFAIL = 330;
            both(u, " ");
            both(u, " ====>> FEHLER: IM 1. Rechenlauf MUESSEN \"P0\" und \"T0\" > 0 sein; PROGRAMM STOP");
            return false;
        }
        return true;
    }
    if (m.P0 == 0.0 && m.T0 == 0.0) {
        if (!(m.V0[0] > 0.0)) {
            m.NFAIL = 506;
            write_line_error(u, 6);
            both(u, " V01=", E(m.V0[0], 14, 7),
                 " CM**3; P0 kann aus der Gasmasse nicht bestimmt werden, V01 muss >0 sein");
            return false;
        }
        m.T0 = m.T0_SAVED;
        m.P0 = m.P0V01_SAVED / m.V0[0];
        auto note = [&](runtime::Unit& w) {
            w.record(" P0 wird neu bestimmt, sodass die Gasmasse von", E(m.GM0[0], 14, 7), " Gramm");
            w.record(" aus der vorherigen Rechnung uebernommen wird");
            w.record(" P0_NEU=", runtime::F(m.P0, 8, 4), " Bar im", I(m.NLAUF + 1, 3), ". Lauf");
        };
        if (u.level(4)) note(u.u6);
        if (u.level(3)) note(u.u9);
        return true;
    }
    if (m.P0 == 0.0) {
        m.NFAIL = 329;
        both(u, " ");
        both(u, " ====>> FEHLER 329: FUER DIE BERECHNUNG VON \"P0\" AUS DER GLEICHEN GASMASSE");
        both(u, " WIE VORHER, MUSS MIT \"P0\"=0 AUCH \"T0\"=0 SEIN; PROGRAMM STOP");
        both(u, " IM 1. SIMULATIONSLAUF MUSS MIT \"P0\" >0 UND \"T0\" >0 DIESE GASMASSE");
        both(u, " ZUVOR DEFINIERT SEIN");
        return false;
    }
    if (m.T0 == 0.0) {
        m.NFAIL = 329;
        both(u, " ");
        both(u, " ====>> FEHLER 329: FUER DIE BERECHNUNG VON \"P0\" AUS DER GLEICHEN GASMASSE");
        both(u, " WIE VORHER, MUSS MIT \"T0\"=0 AUCH \"P0\"=0 SEIN; PROGRAMM STOP");
        both(u, " IM 1. SIMULATIONS-LAUF MUSS MIT \"P0\" >0 UND \"T0\" >0 DIESE GASMASSE");
        both(u, " ZUVOR DEFINIERT SEIN");
        both(u, " ");
        return false;
    }
    return true;
}

// Step 12: gas amount per partial machine.
void gas_amount(RunState& m, Units& u) {
    for (int i = 0; i < 4; ++i) {
        m.P0V0[i] = m.P0 * m.V0[i] / 10.0;
        m.M0[i] = m.P0 * m.V0[i] / m.T0 / (RM * 1000.0);
    }
    if (u.level(3)) {
        const int n = m.NZYL > 2 ? 4 : 2;
        for (int i = 0; i < n; ++i) {
            const std::string d = digit(i);
            const std::string head =
                (i == 1 && m.NZYL < 2)
                    ? std::string(" GASMASSE KURBELGEHAEUSE NACH DEM GASEINFUELLEN IST M02=")
                    : " GASMASSE IM ZYLINDER-PAAR \"" + pair_name(i) + "\" MIT REGENERATOR  M0" + d + "=";
            u.u9.record(head, E(m.M0[i], 14, 7), " MOL; \"V0", d, "\" =", E(m.V0[i], 14, 7), "CM**3");
            u.u9.record(" DIES ENTSPRICHT:", E(m.M0[i] * MOLAR_HYDROGEN, 14, 7),
                        " GRAMM WASSERSTOFF, ODER:", E(m.M0[i] * MOLAR_HELIUM, 14, 7),
                        " GRAMM HELIUM, ODER:", E(m.M0[i] * MOLAR_AIR, 14, 7), " GRAMM LUFT");
        }
    }
    if (u.level(4)) {
        u.u9.line(" ");
        u.u9.record(" IM ZYLINDER-PAAR \"H1-K1\" MIT REGENERATOR IST \"VMAX\"=", E(m.VMAX, 14, 7),
                    ", \"VMIN\"=", E(m.VMIN, 14, 7), "CM**3");
        u.u9.line(" ");
    }
    if (u.level(5)) {
        u.u6.line(" ");
        u.u6.record(" IN \"H1-K1\" IST \"VMAX\"=", E(m.VMAX, 14, 7), ", \"VMIN\"=", E(m.VMIN, 14, 7),
                    "CM**3");
        u.u6.line(" ");
    }
}

// Wire-mesh heat exchanger (mode ISO, MASSE > 0): the mesh takes up heat on the hot side and
// gives it off on the cold side; what it cannot store lowers the hot and raises the cold gas
// temperature.
bool wire_mesh(RunState& m, Units& u) {
    if (m.PHASE != -90.0 || m.DH != m.DK) {
        both(u, " TEMPERATURVERLUST AM DRAHTNETZ WAERMETAUSCHER KANN NUR BERECHNET WERDEN, "
                "WENN DER PHASENVERSATZ WINKEL = -90.0 GRAD BETRAEGT,");
        both(u, " UND WENN BEIDE ZYLINDER DEN GLEICHEN DURCHMESSER HABEN: \"DH\" = \"DK\". EINGELESEN WURDE:");
        both(u, " PHASE=", runtime::F(m.PHASE, 7, 2), "; DH=", runtime::F(m.DH, 7, 2), " DK=",
             runtime::F(m.DK, 7, 2), " CM");
        both(u, " ");
        both(u, "DIE WEITERE BERECHNUNG IST UNGENAU");
    }
    const double L = std::log(m.VMAX / m.VMIN);
    const double charge = m.P0 * m.V0[0] / m.T0;
    const double q_exp = charge * m.TH * L / 10.0;
    const double q_comp = charge * m.TK * L / 10.0;
    m.QZU_NEW = q_exp * m.F;
    m.QAB_NEW = q_comp * m.F;
    m.THNEU = m.TH - m.QZU_NEW / (C_WIRE * m.MASSE);
    m.TKNEU = m.TK + m.QAB_NEW / (C_WIRE * m.MASSE);

    if (m.F < 0.1) {
        const std::string first =
            " EIN WAERMEUEBERGANGSVERLUST AM DRAHTNETZ VON F< 0.1 IST UNREALISTISCH, F=";
        u.u6.record(first, runtime::F(m.F, 5, 3));
        u.u6.line(" Entweder wurde kein Wert fuer F=angegeben, oder es wurde unzulaessigerweise");
        u.u6.line(" der Waermeuebergang am Drahtnetz mit der Eingabe fuer die Beregnung kombiniert");
        u.u6.line(" Die Berechnung geht weiter");
        u.u6.line(" ");
        u.u9.record(first, runtime::F(m.F, 5, 3));
        u.u9.line(" Entweder wurde kein Wert fuer F=angegeben, oder es wurde unzulaessigerweise "
                  "der Waermeuebergang am Drahtnetz");
        u.u9.line(" mit der Eingabe fuer die Beregnung kombiniert");
        u.u9.line(" Die Berechnung geht weiter");
        u.u9.line(" ");
    }
    if (m.TKNEU > m.THNEU) {
        m.NFAIL = 222;
        u.u9.record(" Die Waermekapazitaet der Drahtmasse ist zu klein, es ergibt sich mit dieser Masse von:",
                    runtime::F(m.MASSE, 10, 3), " Gramm unf F =", runtime::F(m.F, 7, 3));
        u.u9.free("TKNEU =", m.TKNEU, " > THNEU=", m.THNEU, " >>>> STOP");
        u.u6.line(" Die Waermekapazitaet der Drahtmasse ist zu klein!");
        u.u6.line(" Es ergibt sich mit dieser Drahtmasse und Faktor:");
        u.u6.free("TKNEU =", m.TKNEU, " > THNEU=", m.THNEU, " >>>> STOP");
        return false;
    }
    auto block = [&](runtime::Unit& w) {
        w.line(" ");
        w.line(" WAERMEUEBERGANG AM DRAHTNETZ:");
        w.line(" ");
        w.record(" TH=", runtime::F(m.TH, 6, 1), " THNEU=", runtime::F(m.THNEU, 7, 2), " Drahtmasse=",
                 runtime::F(m.MASSE, 6, 1), " Gramm, VMAX=", runtime::F(m.VMAX, 8, 1),
                 " CM**3, Q_Expansion_IDEAL =", runtime::F(q_exp, 8, 1), "WATT*SEC; F =",
                 runtime::F(m.F, 4, 2));
        w.record(" QZU_NEW = Q_Expansion_IDEAL * F = ", runtime::F(m.QZU_NEW, 8, 1), " WATT*SEC");
        w.record(" TK=", runtime::F(m.TK, 6, 1), " TKNEU=", runtime::F(m.TKNEU, 7, 2), " Drahtmasse=",
                 runtime::F(m.MASSE, 6, 1), " Gramm, VMIN=", runtime::F(m.VMIN, 8, 1),
                 " CM**3, Q_Kompression_IDEAL=", runtime::F(q_comp, 8, 1), "WATT*SEC; F =",
                 runtime::F(m.F, 4, 2));
        w.record(" QAB_NEW = Q_Kompression_IDEAL * F = ", runtime::F(m.QAB_NEW, 8, 1), " WATT*SEC");
        w.line(" ");
    };
    if (u.level(1)) block(u.u9);
    if (u.level(3)) block(u.u6);
    return true;
}

// The crank-angle temperature tables of mode TEMPD on a unit.
void tempd_tables(const RunState& m, runtime::Unit& w, bool with_interpolation) {
    w.record(" TH = ", runtime::F(m.TH, 7, 2), ", TK = ", runtime::F(m.TK, 7, 2), " KELVIN");
    w.line(" ");
    if (with_interpolation) {
        // The interpolation line stands between empty records of its own.
        w.line(" ");
        w.record(" INTERPOLATION DER TEMPERATUREN ERFOLGT", I(m.IP1 - 1, 2), ". GRADES");
        w.line(" ");
    }
    const int first[3] = {0, 12, 24};
    const int count[3] = {12, 12, 13};
    for (int b = 0; b < 3; ++b) {
        std::string a = " Winkel", e = " TTE =  ", c = " TTC =  ";
        for (int k = first[b]; k < first[b] + count[b]; ++k) {
            a += runtime::F(m.WINKEL[k], 7, 1);
            e += runtime::F(m.TTE[k], 7, 2);
            c += runtime::F(m.TTC[k], 7, 2);
        }
        w.line(a);
        w.line(e);
        w.line(c);
        w.line(" ");
    }
}

// Step 13, mode ISO: the wire mesh, the injected liquid, or a fixed temperature loss.
bool iso_temperatures(RunState& m, Units& u) {
    if (m.MASSE > 0.0) {
        if (!wire_mesh(m, u)) return false;
    } else if (m.nozzles) {
        // The injected liquid, not a fixed loss, cools and heats the gas.
        m.THNEU = m.TH;
        m.TKNEU = m.TK;
    } else {
        m.THNEU = m.TH - m.DELTAT;
        m.TKNEU = m.TK + m.DELTAT;
        if (u.level(1)) {
            u.u9.record(" Bei der Beregnung des Arbeitsgases wird mit einem Temperatur Verlust von DELTA_T=",
                        runtime::F(m.DELTAT, 5, 2), " Grad C");
            u.u9.record(" und einem Druckverlust fuer die Pumpen von DELTA_P=",
                        runtime::F(m.DELTA_P, 5, 2), " Bar gerechnet");
            u.u9.line(" ");
        }
        if (u.level(3)) {
            u.u6.record(" Es wird mit einem Temperatur Verlust DELTA_T=", runtime::F(m.DELTAT, 5, 2), " K");
            u.u6.record(" und einem Druckverlust fuer die Pumpen von DELTA_P=",
                        runtime::F(m.DELTA_P, 5, 2), " Bar gerechnet");
            u.u6.line(" ");
        }
    }
    m.TAA1 = m.THNEU;
    m.TZZ1 = m.TKNEU;
    m.EPSILON_E = m.EPSILON_C = 1.0;
    return true;
}

// Step 13, mode TEMPD: the crank-angle temperature tables, listed when the mode begins.
void tempd_temperatures(RunState& m, Units& u) {
    m.TEMAX = 0.0;
    m.TCMIN = 100000.0;
    for (int i = 0; i < 36; ++i) {
        m.TTE[i] = m.FTE * m.DTE[i] + m.TH;
        m.TTC[i] = m.FTK * m.DTC[i] + m.TK;
        if (m.TTE[i] > m.TEMAX) m.TEMAX = m.TTE[i];
        if (m.TTC[i] < m.TCMIN) m.TCMIN = m.TTC[i];
    }
    m.TTE[36] = m.TTE[0];
    m.TTC[36] = m.TTC[0];
    m.THNEU = m.TH;
    m.TKNEU = m.TK;
    m.TAA1 = m.TTE[0];
    m.TZZ1 = m.TTC[0];
    m.EPSILON_E = m.EPSILON_C = 1.0;
    if (m.mode_prev != Mode::TEMPD) {
        tempd_tables(m, u.u8, true);
        if (u.level(2)) {
            tempd_tables(m, u.u9, true);
            u.u6.line(" ");
            u.u6.record(" INTERPOLATION DER TEMPERATUREN ERFOLGT", I(m.IP1 - 1, 2), ". GRADES");
            u.u6.line(" ");
        }
    }
}

// Every gas temperature of the run is divided by somewhere in the simulation.
bool gas_temperatures_positive(RunState& m, Units& u) {
    double lowest = std::fmin(std::fmin(m.THNEU, m.TKNEU), std::fmin(m.TAA1, m.TZZ1));
    if (m.mode == Mode::TEMPD)
        for (int i = 0; i < 36; ++i) lowest = std::fmin(lowest, std::fmin(m.TTE[i], m.TTC[i]));
    if (!(lowest > 0.0)) {
        const bool line4 = !(m.TH > 0.0 && m.TK > 0.0) && m.mode != Mode::POLY;
        m.NFAIL = line4 ? 504 : 502;
        write_line_error(u, line4 ? 4 : 2);
        both(u, " TH=", runtime::F(m.TH, 8, 2), " TK=", runtime::F(m.TK, 8, 2), " THNEU=",
             runtime::F(m.THNEU, 8, 2), " TKNEU=", runtime::F(m.TKNEU, 8, 2), " TAA1=",
             runtime::F(m.TAA1, 8, 2), " TZZ1=", runtime::F(m.TZZ1, 8, 2));
        both(u, " Alle Gastemperaturen muessen >0 Kelvin sein");
        return false;
    }
    return true;
}

// Step 13: the effective temperatures of the operating mode.
bool mode_temperatures(RunState& m, Units& u) {
    switch (m.mode) {
    case Mode::ISO:
        if (!iso_temperatures(m, u)) return false;
        break;
    case Mode::TEMPD:
        tempd_temperatures(m, u);
        break;
    case Mode::POLY:
        m.THNEU = m.TH;
        m.TKNEU = m.TK;
        m.TAA1 = m.START_TE;
        m.TZZ1 = m.START_TC;
        break;
    case Mode::NONE:
        m.THNEU = m.TH;
        m.TKNEU = m.TK;
        m.TAA1 = m.TH;
        m.TZZ1 = m.TK;
        break;
    }
    return gas_temperatures_positive(m, u);
}

// Step 15: the gas properties by the gas name; a name not in the table changes nothing.
bool gas_properties(RunState& m, Units& u) {
    struct Gas {
        const char* name;
        double MG, CP, RO, KAPPA;
        GasKind kind;
    };
    static constexpr Gas table[] = {
        {"LU", 29.0, 1.03, 1.276, 1.4, GasKind::AIR},
        {"HE", 4.003, 5.3, 0.177, 1.63, GasKind::HELIUM},
        {"AR", 39.94, 0.523, 1.784, 1.65, GasKind::ARGON},
        {"H2", 2.016, 14.4, 0.08875, 1.41, GasKind::HYDROGEN},
    };
    const std::string name = m.GAS.substr(0, 2);
    for (const Gas& g : table) {
        if (name == g.name) {
            m.MG = g.MG;
            m.CP = g.CP;
            m.RO = g.RO;
            m.KAPPA = g.KAPPA;
            m.gas_kind = g.kind;
        }
    }
    if (name == "XX") {
        // A user gas without molar mass or exponent cannot be computed: both are divisors.
        if (!(m.MG_XX > 0.0 && m.X_XX > 0.0)) {
            m.NFAIL = 509;
            write_line_error(u, 9);
            both(u, " MG=", runtime::F(m.MG_XX, 8, 3), " X=", runtime::F(m.X_XX, 8, 3),
                 " Molgewicht MG und Adiabaten-Exponent X muessen >0 sein");
            return false;
        }
        m.MG = m.MG_XX;
        m.CP = m.CP_XX;
        m.RO = m.RO_XX;
        m.KAPPA = m.X_XX;
        m.gas_kind = GasKind::AIR;
        if (m.nozzles && u.level(3))
            both(u, " >>>>> In der Temperaturberechnung wird mit den Stofwerten von Luft gerechnet <<<<<");
    }
    if (m.gas_kind == GasKind::NONE) {
        // No gas was ever selected in this program: the unknown name has nothing to fall back
        // on, and the gas constant would divide by a zero molar mass.
        m.NFAIL = 507;
        write_line_error(u, 7);
        both(u, " GAS=", name, " ist kein bekanntes Arbeitsgas (HE, H2, LU, AR, XX)");
        return false;
    }
    m.CV = m.CP / m.KAPPA;
    m.CPGE = m.CPGC = m.CP;
    m.RS = RM * 1000.0 / m.MG;
    for (int i = 0; i < 4; ++i) m.GM0[i] = m.M0[i] * m.MG;
    m.CGAS1 = m.CV * m.MG * m.M0[0];
    return true;
}

}  // namespace

void write_line_error(Units& u, int IZEILE) {
    both(u, " ===> FEHLER in der Eingabe ZEILE", I(IZEILE, 2), "; Programm STOP");
}

bool derive_geometry(RunState& m, Units& u) {
    m.PHI0 = 0.0;

    // Step 1: the single-acting machine has no piston rod.
    if (m.NZYL == 1 && m.DKST > 0.0) {
        m.DKST = 0.0;
        for (runtime::Unit* w : {&u.u6, &u.u8, &u.u9}) {
            w->line(" EINGABEFEHLER, der korrigiert wird: Fuer die einfach wirkende Maschine: NZYL=1");
            w->line(" ist der Kolbenstangen Durchmesser \"DKST  \" = 0.0 zu setzen");
            w->line(" ");
            w->line(" ");
        }
    }
    if (!check_line4(m, u)) return false;

    volumes(m);
    zero_dead_space_note(m, u);
    dead_volume_report(m, u);
    if (!scan_and_start(m, u)) return false;
    if (!filling(m, u)) return false;
    gas_amount(m, u);
    if (!mode_temperatures(m, u)) return false;

    // Step 14: regenerator end temperatures, shifted towards each other by half the loss.
    m.VERLUST = 100.0 - m.SGRAD;
    const double d = (m.THNEU - m.TKNEU) * m.VERLUST / 200.0;
    m.TER1 = m.THNEU - d;
    m.TCR1 = m.TKNEU + d;

    if (!gas_properties(m, u)) return false;

    // Step 16: the single-acting case under its proper number; friction.
    if (m.NZYL == 0) {
        m.NZYL = 1;
        both(u, "=====>> \"NZYL\" = 0 wird zu \"NZYL\"=1 <<======");
    }
    if (m.FSEAL == 0.0)
        both(u, "=====>> Reibungskraft \"FSEAL\" =0.0 ist eingegeben worden !! <<======");
    if (u.level(1)) u.u9.record(" Berechnung fuer NZYL=", I(m.NZYL, 2), " Zylinderpaare");
    if (u.level(2)) {
        u.u6.record(" NZYL=", I(m.NZYL, 2), " Zylinderpaare; Reibungskraft FSEAL=",
                    runtime::F(m.FSEAL, 5, 1), " Newton");
        u.u6.line(" ");
    }
    return true;
}

}  // namespace korvex::run
