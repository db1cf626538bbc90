// The fixed pieces of a run's listing, laid out column by column as the results table and the
// diagrams expect them.
#include "run/listings.hpp"

#include <array>

#include "run/deck.hpp"
#include "run/machine_parts.hpp"
#include "simulation/revolution.hpp"

namespace korvex::run {

namespace {

using runtime::A;
using runtime::E;
using runtime::F;
using runtime::I;

// The records of the results-table legend, empty records included.
constexpr std::array<const char*, 84> LEGEND{
    "  1 -> RUN NO.: NUMMER DES EINGABEPAKETES  = NR. DES RECHENLAUFS       ",
    "    -> REVOL  : NUMMER DER GERADE BERECHNETEN UMDREHUNG                ",
    "  2 -> DKST   : DURCHMESSER DER KOLBENSTANGE, WENN DIESE BEI DER       ",
    "                DOPPELT WIRKENDEN MASCHINE ZU BERUECKSICHTIGEN IST.  CM",
    "    -> DH     : DURCHMESSER DES EXPANSIONSZYLINDERS;                 CM",
    "    -> DK     : DURCHMESSER DES KOMPRESSIONSZYLINDERS;               CM",
    "    -> STROKE : KOLBENHUB = 2 * KURBELRADIUS \"R\"                     CM",
    "  3 -> KAPA   : EXPONENT FUER DIE POLYTROPE ZUSTANDSAENDERNG         - ",
    "    -> EXP    : POLYTROPENEXPONENT IM EXPANSIONSZYLINDER             - ",
    "    -> COMP   : POLYTROPENEXPONENT IM KOMPRESSIONSZYLINDER           - ",
    "  4 -> TEMP.  : ANFANGSTEMPERATUREN IN DEN ZYLINDERN             KELVIN",
    "    -> TH     : ANFANGSTEMPERATUR IM EXPANSIONSZYLINDER          KELVIN",
    "    -> TK     : ANFANGSTEMPERATUR IM KOMPRESSIONSZYLINDER        KELVIN",
    "    -> TE_MAX : MAXIMALTEMPERATUR IM EXPANSIONSZYLINDER          KELVIN",
    "    -> TC_MIN : MINIMALTEMPERATUR IM KOMPRESSIONSZYLINDER        KELVIN",
    "  5 -> STROKEVOL.: HUBVOLUMINA DER ARBEITSZYLINDER                CM**3",
    "    -> EXP.   : HUBVOLUMEN DES EXPANSIONSZYLINDERS.               CM**3",
    "    -> COMP.  : HUBVOLUMEN DES KOMPRESSIONSZYLINDERS.             CM**3",
    "  6 -> DEADVOL.EXP.: TOTVOLUMEN DES EXPANSIONSZYLINDERS           CM**3",
    "  7 -> REGEN. VOL. : VOLUMEN DES REGENERATORS.                    CM**3",
    "    -> ETA_R       : WIRKUNGSGRAD DES REGENERATORS                     ",
    "  8 -> DEADVOL.COMP: TOTVOLUMEN DES KOMPRESSIONSZYLINDERS         CM**3",
    " ",
    "  9 -> P0 :        RUHEDRUCK DES ARBEITSGASES IN DER MASCHINE       BAR",
    "                   BEI DER GASEINFUELL TEMPERATUR \"T0\".                ",
    "                   MIT DER GASEINFUELL TEMPERATUR \"T0\", DEM DRUCK      ",
    "                   \"P0\" UND DEN ZYLINDERABMESSUNGEN WIRD DIE GASMASSE  ",
    "                   BERECHNET. WENN IN NACHFOLGENDEN RECHENLAEUFEN       ",
    "                   IMMER DIE GLEICHE GASMASSE GEWUENSCHT WIRD, WIE      ",
    "                   SIE IM 1. RECHENLAUF ERRECHNET WURDE, DANN MUSS IN   ",
    "                   DIESEN NACHFOLGENDEN RECHENLAEUFEN EINE NEUBERECH-   ",
    "                   NUNG VON \"P0\" ERFOLGEN UNTER BEIBEHALTUNG DER GAS-   ",
    "                   EINFUELLTEMPERATUR \"T0\". DIESE NEUBERECHNUNG VON \"P0\"",
    "                   ERFOLGT IM PROGRAMM SELBST, WENN IN DEM ENTSPRECH-   ",
    "                   ENDEN RECHENLAUF: P0=0. UND T0=0. GESETZT WIRD.      ",
    "    -> P1MEAN      MITTLERER DRUCK DES ARBEITSGASES                 BAR",
    " ",
    " 10 -> VMAX/VMIN : DAS VOLUMENVERHAELTNIS.                            - ",
    " 11 -> PMAX/PMIN : DAS DRUCKVERHAELTNIS.                              - ",
    " 12 -> WORK A1   : DIE AUSDEHNUNGSARBEIT DER TEILMASCHINE H1-K1 WATT*SEC",
    "                   OHNE BERUECKSICHTIGUNG DER VERLUSTE.                 ",
    " 13 -> WORK A2   : DIE AUSDEHNUNGSARBEIT DER TEILMASCHINE H2-K2 WATT*SEC",
    "                   OHNE BERUECKSICHTIGUNG DER VERLUSTE. ES KANN         ",
    "                   A2 < A1 SEIN, WENN DAS VOLUMEN DER KOLBENSTANGE      ",
    "                   DEN HUBRAUM DIESER TEILMASCHINE VERRINGERT;          ",
    "                   ODER \"A2\" IST DIE AUSDEHNUNGSARBEIT INFOLGE          ",
    "                   DES GASDRUCKES IM KURBELGEHAEUSE, WENN EINE          ",
    "                   EINFACH WIRKENDE MASCHINE GERECHNET WURDE.           ",
    "    -> ETA_N     : THERMISCHER WIRKUNGSGRAD MIT BERUEECKSICHTIGUNG      ",
    "                   DER VERLUSTARBEIT \"WORK LOST\"                      % ",
    "    -> AUSN_I    : AUSNUTZUNGSGRAD = (A1 - WORK LOST) / (ARBEIT DES     ",
    "                   IDEALEN STIRLINGPROZESSES)                         % ",
    "    -> AREF_I    : AUSNUTZUNGSGRAD = (A1 - WORK LOST) / (ARBEIT DES     ",
    "                   IDEALEN STIRLING REFERENZSPROZESSES)               % ",
    " ",
    " 14 -> WORK LOST : DIE VERLUSTARBEIT DER GANZEN MASCHINE        WATT*SEC",
    "                   AUFGRUND VON REIBUNG UND MASSENBESCHLEUNIGUNG.       ",
    " 15 -> POWER USABLE: DIE NUTZLEISTUNG DER GANZEN MASCHINE           WATT",
    "                   MIT BERUECKSICHTIGUNG ALLER VERLUSTE                 ",
    "                   AUSSER DER FOERDERLEISTUNG DER EINSPRITZPUMPEN       ",
    "    -> Power for Pumps: Abzuziehende MITTLERE FOERDERRLEISTUNG      WATT",
    "                   ALLER PUMPEN",
    " 16 -> DQZU1 MAX : DIE MAXIMALE ENERGIEZUFUHR LEISTUNG              WATT",
    "                   IN DEN EXPANSIONSZYLINDER \"H1\".                      ",
    " ",
    "     DIFFERENCE IN GASMASS: ",
    " ",
    " 17 -> EXP.      : DIE DIFFERENZ ZWISCHEN MAXIMALER UND MINIMALER       ",
    "                   GASLADUNG IM EXPANSIONSZYLINDER.                GRAMM",
    " 18 -> COMP.     : DIE DIFFERENZ ZWISCHEN MAXIMALER UND MINIMALER       ",
    "                   GASLADUNG IM KOMPRESSIONSZYLINDER.              GRAMM",
    " 19 -> REG.      : DIE DIFFERENZ ZWISCHEN MAXIMALER UND MINIMALER       ",
    "                   GASLADUNG IM REGENERATOR.                       GRAMM",
    " 20 -> TIME      : DIE LAUFZEIT DER MASCHINE BIS JETZT               SEC",
    "    -> REVOL.TIME: DIE ZEIT FUER DIE GERADE BERECHNETE UMDREHUNG    MSEC",
    "    -> RPM       : DIE DREHZAHL ZU DIESEM ZEITPUNKT                U/MIN",
    " ",
    "                   DIE MASCHINE IST MIT EINER GROSSEN                   ",
    "                   SCHWUNGMASSE VERSEHEN; DIE ERHOEHUNG DER             ",
    "                   ROTATIONSENERGIE DIESER SCHWUNGMASSE IST             ",
    "                   DIE VERRICHTETE NUTZARBEIT.",
    " ",
    "   NUTZARBEIT / UMDREHUNG = A1 + A2 - VWORK",
    " ",
};

// Number of partial machines the listings show for NZYL.
int pairs_of(int NZYL) { return NZYL == 4 ? 4 : (NZYL == 2 ? 2 : 1); }

std::string digit(int i) { return std::string(1, static_cast<char>('1' + i)); }

// The caption text from column 24 on.
std::string caption_text(const RunState& r) {
    const double VR_L = r.VR / 1000.0;
    const bool control = r.RVE > 0.0 || r.RVC > 0.0;
    const bool rod = r.LR > 0.0;
    std::string t;
    if (control && r.control_volume_percent) {
        t = " P0=" + F(r.P0, 5, 1) + " Bar R=" + F(r.R, 5, 2) + " DH=" + F(r.DH, 5, 1) + " DK=" + F(r.DK, 5, 1) +
            " cm  TH=" + F(r.THNEU, 4, 0) + " TK=" + F(r.TKNEU, 4, 0) + " K; RVE/C=" + F(r.RVE, 4, 1) + "/" +
            F(r.RVC, 4, 1);
        t += rod ? " % L/R=" + F(r.LR, 4, 1) : "% ]d.=" + F(r.PHASE, 6, 1);
    } else if (control) {
        if (rod)
            t = ";P0=" + F(r.P0, 5, 1) + " Bar R=" + F(r.R, 5, 2) + " DH=" + F(r.DH, 5, 1) + " DK=" +
                F(r.DK, 5, 1) + " cm TH=" + F(r.THNEU, 4, 0) + " TK=" + F(r.TKNEU, 4, 0) + " K RVE/C=" +
                F(r.RVEVOL, 6, 0) + "/" + F(r.RVCVOL, 6, 0) + ";L/R=" + F(r.LR, 4, 1);
        else
            t = " P0=" + F(r.P0, 4, 0) + " Bar R=" + F(r.R, 5, 2) + " DH=" + F(r.DH, 5, 1) + " DK=" +
                F(r.DK, 5, 1) + " cm TH=" + F(r.THNEU, 4, 0) + " TK=" + F(r.TKNEU, 4, 0) + " K RVE/C=" +
                F(r.RVEVOL, 6, 0) + "/" + F(r.RVCVOL, 6, 0) + " ]d.=" + F(r.PHASE, 6, 1);
    } else {
        t = "P0=" + F(r.P0, 5, 1) + " Bar;R=" + F(r.R, 5, 2) + " DH=" + F(r.DH, 5, 1) + " DK=" + F(r.DK, 5, 1) +
            " cm TH=" + F(r.THNEU, 4, 0) + " TK=" + F(r.TKNEU, 4, 0) + " K;ZH0e/c=" + F(r.ZH0E, 5, 1) + "/" +
            F(r.ZH0C, 5, 1);
        t += rod ? " % L/R=" + F(r.LR, 4, 1) : "% ]d.=" + F(r.PHASE, 6, 1);
    }
    return t + " VR=" + F(VR_L, 6, 3) + " L";
}

// The raw lines of the operating mode as the run heading shows them.
void mode_lines(const RunState& r, runtime::Unit& u) {
    u.line(r.ZEILE2);
    if (r.mode == Mode::ISO && r.nozzles) {
        u.line(r.ZEILE22);
        u.line(r.ZEILE23);
    }
}

}  // namespace

std::string caption_line(const RunState& r, std::string_view stamp) {
    std::string line(stamp.substr(0, 23));
    line.resize(23, ' ');
    line += caption_text(r);
    line.resize(131, ' ');
    if (r.FDAMPF) line.replace(126, 5, A(r.DAM, 5));
    return line;
}

void write_row_start(const RunState& r, std::string& ROW) {
    std::string s = I(r.NLAUF, 4) + "|" + F(r.DKST, 5, 2) + "|" + F(r.EPSILON_E, 4, 2);
    for (double v : {r.TAA1, r.VE[0], r.VH00E[0], r.VR, r.VH00C[0]}) s += "|" + F(v, 6, 1);
    s += "|" + (r.P0 < 100.0 ? F(r.P0, 6, 3) : F(r.P0, 6, 2)) + "|";
    ROW.resize(133, ' ');
    ROW.replace(0, s.size(), s);
}

void write_table_head_start(runtime::Unit& u) {
    u.record(" ", std::string(131, '_'));
    u.line("  1 |  2  | 3  |  4   |  5   |  6   |  7   |  8   |  9   | 10  | 11  |  12   |  13   |  14  "
           "| 15  | 16  |  17  |  18  |  19  |  20 ");
    u.line(" ___|_____|____|______|______|______|______|______|______|_____|_____|_______|_______|______"
           "|_____|_____|______|______|______|______");
}

void write_run_heading(const RunState& r, runtime::Units& u) {
    auto tempd_tables = [&] {
        if (r.mode == Mode::TEMPD)
            for (const std::string& l : r.TEMPD_ECHO) u.u8.line(l);
    };
    if (r.NLAUF > 0 && r.mode == r.mode_prev) {
        // No new heading, but the tables of this run still belong above its rows.
        tempd_tables();
        return;
    }
    u.u8.line(" ");
    u.u8.record(" BETRIEBSZUSTAND FUER DEN", I(r.NLAUF + 1, 2), ". RECHENLAUF:");
    u.u8.line(" ");
    if (r.mode == Mode::POLY) {
        write_poly_block(r, u.u8);
    } else {
        u.u8.line(" ");
        mode_lines(r, u.u8);
        tempd_tables();
    }
    u.u8.line(" ");
    if (r.NLAUF > 0) write_table_head_start(u.u8);
    if (!u.level(5)) {
        if (u.level(1)) mode_lines(r, u.u9);
        if (u.level(2)) mode_lines(r, u.u6);
    }
}

void write_legend(runtime::Unit& u) {
    for (const char* l : LEGEND) u.line(l);
}

namespace {

// The data sheet's first block: revolutions, start speed, temperatures, cylinders and drive.
void write_sheet_drive(const RunState& r, runtime::Unit& u) {
    const std::string label = A(r.machine_label, 7);
    u.line(" ");
    if (r.NACH == 1)
        u.record(" BERECHNUNG FUER 1 UMDREHUNG DER ", label, " WIRKENDEN MASCHINE; (NZYL=", I(r.NZYL, 1), ")");
    else
        u.record(" BERECHNUNG FUER", I(r.NACH, 3), " UMDREHUNGEN DER ", label, " WIRKENDEN MASCHINE; (NZYL=",
                 I(r.NZYL, 1));
    u.record(" ANFANGSDREHZAHL N0 =", F(r.N0, 7, 2), " U/MIN");
    u.line(" ");
    if (r.mode == Mode::ISO) {
        u.record(" TEMPERATUREN: IM EXPANSIONSZYLINDER TH =", F(r.TAA1, 7, 1), " IM KOMPRESSIONSZYLINDER TK =",
                 F(r.TZZ1, 7, 1), " KELVIN");
        u.line(" ");
    }
    u.record(" EXP. ZYLINDER DURCHMESSER DH =", F(r.DH, 7, 3), " CM");
    u.record(" KOMP.ZYLINDER DURCHMESSER DK =", F(r.DK, 7, 3), " CM");
    u.record(" KURBELRADIUS              R  =", F(r.R, 7, 3), " CM");
    if (r.LR == 0.0)
        u.line(" KURBELTRIEB IST DIE REIN SINUS-FOERMIG ARBEITENDE KURBELSCHWINGE");
    else
        u.record(" KURBELTRIEB MIT PLEUELSTANGE; VERHAELTNIS: PLEUELSTANGENLAENGE / KURBELRADIUS L/R=",
                 F(r.LR, 5, 2));
    u.record(" KOLBENSTANGEN DURCHM.   DKST =", F(r.DKST, 7, 3), " CM; QUERSCHNITT =", F(r.AKST, 8, 3), " CM**2");
    u.record(" KOLBENSTANGEN VOLUMEN  VDKST =", F(r.VDKST, 7, 3), " CM **3");
}

// The data sheet's volumes: swept and dead volumes per pair, regenerator, dead spaces, control
// volumes, and each pair's total dead volume, gas mass and reference volume.
void write_sheet_volumes(const RunState& r, runtime::Unit& u) {
    const int pairs = pairs_of(r.NZYL);
    for (int i = 0; i < pairs; ++i) {
        const std::string d = digit(i);
        u.record(" HUB VOLUMEN IM EXPANSIONSZYLINDER    VE", d, " =", E(r.VE[i] / 1000.0, 14, 7),
                 " LITER, TOT-VOL. IN VE", d, "=", E(r.VH00E[i] / 1000.0, 14, 7), " LITER");
        u.record(" HUB VOLUMEN IM KOMPRESSIONSZYLINDER  VC", d, " =", E(r.VC[i] / 1000.0, 14, 7),
                 " LITER, TOT-VOL. IN VC", d, "=", E(r.VH00C[i] / 1000.0, 14, 7), " LITER");
        if (r.NZYL < 2) {
            u.record(" KURBELGEHAEUSE VOLUMEN:           VCRANC =", E(r.VCRANC / 1000.0, 14, 7), " LITER");
            u.line(" ");
        }
    }
    u.line(" ");
    u.record(" REGENERATOR VOLUMEN   :               VR =", E(r.VR, 14, 7), " CM**3; REGENERATOR WIRKUNGSGRAD =",
             F(r.SGRAD, 6, 1), " %");
    u.record(" TOTRAUM IM EXPANSIONS   ZYLINDER : VH00E1=", E(r.VH00E[0], 14, 7), " CM**3; TOTRAUMHOEHE =",
             F(r.H00E[0], 7, 3), " CM,");
    u.record(" ENTSPR. \"ZH0E\"= ", F(r.ZH0E, 8, 1), " + \"VTE1\"=", F(r.VTE[0], 5, 1), " % VOM HUB");
    u.record(" TOTRAUM IM KOMPRESSIONS ZYLINDER : VH00C1=", E(r.VH00C[0], 14, 7), " CM**3; TOTRAUMHOEHE =",
             F(r.H00C[0], 7, 3), " CM,");
    u.record(" ENTSPR. \"ZH0C\"= ", F(r.ZH0C, 8, 1), " + \"VTC1\"=", F(r.VTC[0], 5, 1), " % VOM HUB");
    u.record(" REGELVOLUMEN IM EXPANSIONS- ZYL. : RVEVOL=", E(r.RVEVOL, 14, 7), " CM**3; ENTSPR. \"RVE\"=",
             F(r.RVE, 8, 1), " % DES HUBVOLUMENS IM EXPANSIONSZYLINDER");
    u.record(" REGELVOLUMEN IM KOMPRESSIONS ZYL.: RVCVOL=", E(r.RVCVOL, 14, 7), " CM**3; ENTSPR. \"RVC\"=",
             F(r.RVC, 8, 1), " % DES HUBVOLUMENS IM KOMPRESSIONSZYLINDER");
    u.line(" ");
    for (int i = 0; i < pairs; ++i) {
        const std::string d = digit(i);
        u.record(" GES.  TOTRAUM IN H", d, "-K", d, ": TOTVL", d, "=", E(r.TOTVL[i], 14, 7),
                 " CM**3 INKLUSIVE DER REGELVOLUMINA \"RVEVOL\" UND \"RVCVOL\"");
        u.record(" GASMASSE IN DER MASCHINE H", d, "-K", d, "=", E(r.GM0[i], 14, 7),
                 " GRAMM; DIE REGELVOLUMINA BLEIBEN BEI DER GASMASSEN BERECHNUNG UNBERUECKSICHTIGT ");
        u.record(" AUSGANGSVOLUMEN \"V0", d, "\" IN H", d, "-K", d, "=", E(r.V0[i], 14, 7),
                 " CM**3; GASDRUCK IM RUHEZUSTAND \"P0\"=", F(r.P0, 9, 3), " BAR");
        u.line(" ");
    }
}

}  // namespace

void write_data_sheet(const RunState& r, runtime::Units& levels) {
    runtime::Unit& u = levels.u8;
    write_sheet_drive(r, u);
    write_sheet_volumes(r, u);
    u.line(" ");
    u.record(" TRAEGHEITSMOMENT DER SCHWUNGSCHEIBE=", E(r.THETA, 14, 7), " GRAMM*CM**2, DURCHMESSER=",
             F(r.flywheel_diameter, 7, 2), " BEI EINER STAERKE VON ", F(r.DICKE, 5, 2), " CM");
    u.record(" ROTATIONSENERGIE DER SCHWUNGSCHEIBE=", E(r.flywheel_energy, 14, 7),
             " NEWTON * METER BEI DER ANFANGSDREHZAHL N0 VON ", F(r.N0, 7, 2), " U/MIN");
    write_liquid_masses(r, u);
    if (r.DAEMPFUNG == 1.0 || r.DAEMPFUNG == 0.0) {
        u.line(" Schwingungsdaempfung wird nicht berechnet");
        u.line(" ");
    }
    u.record(" WINKEL-VERSATZ ZWISCHEN EXPANSIONS- UND KOMPRESSIONSBEWEGUNG: PHASE=", F(r.PHASE, 6, 1),
             " WINKELGRAD");
    u.line(" ");
    u.line(" ");
    if (levels.level(4)) {
        u.line(" ");
        u.line(" ");
        u.line(" LEGEND OF THE TABLE:");
        u.line(" ");
        write_legend(u);
    }
    u.line(" ");
    u.line(" ");
    simulation::write_table_head(u);
}

void write_gas_echo(const RunState& r, runtime::Units& u) {
    auto gas = [&](runtime::Unit& w) {
        w.record(" Stoffwerte des Gases : ", A(r.GAS, 2));
        w.record(" Dichte RO:", F(r.RO, 6, 4), " Gramm/Liter; Spez.Waerme Cp:", F(r.CP, 7, 3),
                 " Watt*sec/(Gramm * Grad)");
        w.record(" Molgewicht MG:", F(r.MG, 7, 3), " Gramm/Mol; Adiabaten-Exponent X:", F(r.KAPPA, 5, 2), " -");
        w.line(" ");
    };
    if (u.level(2)) gas(u.u9);
    if (u.level(5)) gas(u.u6);
    if (u.level(4)) {
        for (int i = 0; i < pairs_of(r.NZYL); ++i) {
            const std::string d = digit(i);
            u.u9.record(" RUHEDRUCK P0=", F(r.P0, 8, 3), " BAR; V0", d, "=", E(r.V0[i], 14, 7), " CM**3; P0V0", d,
                        "=", F(r.P0 * r.V0[i] / 1000.0, 10, 4), " BAR * LITER");
        }
    }
    if (u.level(2)) {
        u.u9.line(" ");
        u.u9.record(" Ein idealer Regenerator muss die Energie:", E(r.M0[0] * r.MG * r.CV * (r.THNEU - r.TKNEU), 12, 5),
                    " WATT*SEC  in H1-K1 austauschen");
        u.u9.line(" ");
    }
}

}  // namespace korvex::run
