#include "run/deck.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <span>

#include "diagrams/catalogue.hpp"
#include "input/readers.hpp"
#include "run/deck_columns.hpp"
#include "run/deck_ranges.hpp"
#include "run/machine_parts.hpp"
#include "runtime/fieldread.hpp"
#include "runtime/format.hpp"

namespace korvex::run {

namespace {

using runtime::A;
using runtime::E;
using runtime::F;
using runtime::I;

constexpr int FIELD = 11;  // width of a value field in the result buffer

bool contains(std::string_view s, std::string_view key) { return s.find(key) != std::string_view::npos; }

// The keyword as a word of its own: not the tail of a longer name ("YL=" inside "NZYL=" of the
// next run's first line is no diagram keyword).
bool has_word(std::string_view s, std::string_view key) { return input::find_name(s, key) != std::string_view::npos; }

// A text written to the short and then to the detail listing.
void both(runtime::Units& u, std::string_view text) {
    u.u6.line(text);
    u.u9.line(text);
}

std::string generic_failure(int IZEILE) {
    return " ===> FEHLER in der Eingabe ZEILE" + I(IZEILE, 2) + "; Programm STOP";
}

DeckStatus stop_with(ControlState& c, int nfail) {
    c.NFAIL = nfail;
    return DeckStatus::error;
}

// Column 80 cuts a number or keyword of line `l` (" 4", " 2/ 3" as the messages number it):
// an input error of the line, which stops the job with its number.
bool cut_at_80(runtime::Units& u, const DeckLine& l, std::string_view line_no, int nfail) {
    if (l.cut.empty()) return false;
    report_cut_at_80(u, line_no, nfail, l.cut, true);
    return true;
}
bool cut_at_80(runtime::Units& u, const DeckLine& l, int IZEILE, int nfail) {
    return cut_at_80(u, l, I(IZEILE, 2), nfail);
}

// The input ended where a line of the run must follow: the run is incomplete and is not
// computed. The job ends with the error number of the missing line, and the listings say which
// run and which line (as the messages number it: " 5", "16", " 2/ 3").
DeckStatus input_ended(runtime::Units& u, ControlState& c, int nfail, std::string_view line) {
    both(u, " ");
    both(u, " ===> FEHLER: Die Eingabe endet im" + I(c.NLAUF + 1, 3) + ". Rechenlauf; erwartet wird ZEILE" +
                std::string(line));
    both(u, " Dieser Rechenlauf wird nicht gerechnet; Programm STOP");
    return stop_with(c, nfail);
}
DeckStatus input_ended(runtime::Units& u, ControlState& c, int nfail) {
    return input_ended(u, c, nfail, I(nfail - 500, 2));
}

// A value that the keyword reader found with digits but that is no number of the kind its field
// needs ("1.2.3"; "1.0" for a whole number): the keyword and the field as read.
void not_a_number(runtime::Units& u, int IZEILE, std::string_view key, std::string_view field, bool whole) {
    std::string copy(key.substr(0, 11));
    copy.resize(11, ' ');
    const std::size_t first = field.find_first_not_of(' ');
    const std::string_view text = first == std::string_view::npos ? std::string_view() : field.substr(first);
    both(u, " ### ERROR IN DATA INPUT: VALUE AFTER SEARCH STRING: " + copy + " IN ZEILE" + I(IZEILE, 3) +
                (whole ? " IS NO WHOLE NUMBER: \"" : " IS NO NUMBER: \"") + std::string(text) + "\"");
}

// The values of one keyword line: LESEPR's result buffer, read field by field with the layout of
// the line (a real or a whole number per keyword, in keyword order).
struct KeywordValues {
    runtime::Units& u;
    int IZEILE;
    std::array<std::string_view, 7> keys{};
    const std::string& buf;
    bool found;  // LESEPR found every keyword with a number behind it

    // Field k as a real or a whole number; false, with a message naming the keyword and the
    // field, when its text is no such number.
    bool real(int k, double& v) const {
        auto r = runtime::read_real_field(field(k));
        if (!r) return fail(k, false);
        v = *r;
        return true;
    }
    bool real(int k, float& v) const {
        double x = 0.0;
        if (!real(k, x)) return false;
        v = static_cast<float>(x);
        return true;
    }
    // Field k as the deck gives it, in double precision, before a single-precision value takes
    // it (0 when it is no number; real() has said so).
    double as_given(int k) const { return runtime::read_real_field(field(k)).value_or(0.0); }
    bool whole(int k, int& v) const {
        auto r = runtime::read_int_field(field(k));
        if (!r) return fail(k, true);
        v = *r;
        return true;
    }

private:
    std::string_view field(int k) const { return runtime::field_of(buf, k, FIELD); }
    bool fail(int k, bool whole_number) const {
        not_a_number(u, IZEILE, keys[static_cast<std::size_t>(k)], field(k), whole_number);
        return false;
    }
};

// LESEPR on one keyword line into the result buffer. The level-5 trace shows what the reader
// delivered.
KeywordValues keywords(runtime::Units& u, ControlState& c, int IZEILE, std::string_view norm, std::initializer_list<std::string_view> keys,
                       std::string& buf, bool trace = true) {
    buf.assign(80, ' ');
    input::LESEPR(u, IZEILE, FIELD, buf, norm, c.IERR_READERS, keys);
    if (trace && u.level(5)) {
        u.u6.record(" ### Eingabe Pruefer \"LESEPR\" hat gefunden:", buf);
        u.u9.record(" ### Eingabe Pruefer \"LESEPR\" hat gefunden:", buf);
    }
    KeywordValues v{u, IZEILE, {}, buf, c.IERR_READERS == 0};
    std::size_t i = 0;
    for (std::string_view k : keys)
        if (i < v.keys.size()) v.keys[i++] = k;
    return v;
}

std::string upper(std::string_view raw) {
    std::string norm(80, ' ');
    input::CHCASE(raw, 80, 80, norm);
    return norm;
}

// ---------------------------------------------------------------------------------------
// Defaults before line 1 of every run.

void apply_defaults(runtime::Units& u, DeckValues& d) {
    d.FTE = d.FTK = 0.0;
    d.DSD = d.DQD = 6;
    d.DS3 = d.DQDAMPF = 2;
    d.VCRANC = 2750.0;
    d.EPSILON_E = d.EPSILON_C = 1.0;
    d.NDUE = d.NDUC = 0;
    d.DDUE = d.DDUC = 0.0;
    d.MASSE = d.F = d.BEVOL = d.DELTAT = d.DELTA_P = 0.0;
    d.nozzles = false;
    d.FDAMPF = false;
    d.IPRNT1 = 0;
    d.plot_one_rev = false;
    d.mode = Mode::NONE;
    u.IPRNT2 = 0;
}

// ---------------------------------------------------------------------------------------
// Line 1.

void write_fehler_332(runtime::Units& u, const std::string& raw) {
    for (runtime::Unit* v : {&u.u9, &u.u6}) {
        v->line(" ");
        v->line(" FEHLER Nr. 332 EINGABEZEILE UEBERPRUEFEN:");
        v->line(raw);
        v->line(" ");
        v->line(" Ist die Reihenfolge der Eingabezeilen eingehalten worden?");
        v->line(" ODER: Ist der vorgeschriebene Text dieser Eingabezeile FALSCH geschrieben?");
        v->line(" ODER: Ist \"SCALE\" NEGATIV  und dennoch folgen Skalierungswerte? ---> ZEILE 11");
        v->line(" ODER: Ist \"SCALE\" POSITIV  und es folgen KEINE Skalierungswerte? ---> ZEILE 11");
        v->line(" ");
    }
}

// Line 1 of a run. A line 1 that cannot be read gives the run no detail levels: the end of the
// job then keeps those of the last run (last_levels).
DeckStatus line1(runtime::Units& u, RunState& r, const DeckLine& l1, std::string& buf, int last_levels) {
    DeckValues& d = r;
    const std::string& raw = l1.raw;
    const std::string& norm = l1.norm;
    if (std::string_view(norm).substr(0, 18).find("AUS") == std::string_view::npos) {
        write_fehler_332(u, raw);
        u.IPRNT2 = last_levels;
        return stop_with(r, 332);
    }
    if (cut_at_80(u, l1, 1, 501)) {
        u.IPRNT2 = last_levels;
        return stop_with(r, 501);
    }
    // Line 1 has a longer trace of its own (below), in place of the short one.
    const KeywordValues kv1 = keywords(u, r, 1, norm, {"TIME=", "SCHRITT=", "NZYL=", "IPRNT="}, buf, false);
    bool ok = kv1.found && kv1.real(0, d.TIME) && kv1.real(1, d.SCHRITT) && kv1.whole(2, d.NZYL) &&
              kv1.whole(3, d.IPRNT);
    if (!ok) {
        both(u, " ### FEHLER 501: In der 1. Eingabe ZEILE ; Programm STOP");
        u.IPRNT2 = last_levels;
        return stop_with(r, 501);
    }
    if (!values_in_range(u, r.NFAIL, {{"TIME=", d.TIME}, {"SCHRITT=", d.SCHRITT}, {"IPRNT=", d.IPRNT}}))
        return DeckStatus::error;
    d.IPRNT1 = d.IPRNT / 10;
    u.IPRNT2 = d.IPRNT % 10;
    d.SCHRITT_100 = d.SCHRITT / 100.0;

    if (u.level(4)) {
        u.u9.line(" Eingabedaten:");
        u.u9.record(" ZEILE: ", raw);
    }
    if (u.level(5)) {
        for (runtime::Unit* v : {&u.u6, &u.u9}) {
            v->line(" ### Eingabe Pruefer \"LESEPR\" bearbeitet ZEILE 1 :");
            v->record(" ", norm);
            v->record(" ### Such Begriffe in ZEILE 1:", A("TIME=", FIELD), A("SCHRITT=", FIELD), A("NZYL=", FIELD),
                      A("IPRNT=", FIELD));
            v->record(" ### \"LESEPR\" Output:", buf);
        }
    }

    d.machine_label = d.NZYL < 2 ? "EINFACH" : d.NZYL == 2 ? "DOPPELT" : "4- FACH";

    if (d.NZYL == 3 || d.NZYL > 4 || d.NZYL < 0) {
        for (runtime::Unit* v : {&u.u6, &u.u8, &u.u9}) {
            v->record(" ===========>> FEHLER 299: Fuer NZYL=", I(d.NZYL, 2), " wird nicht gerechnet !");
            v->line(" Bitte NZYL=1 fuer die einfach wirkende Maschine");
            v->line(" oder  NZYL=2 fuer die doppelt wirkende Maschine");
            v->line(" oder  NZYL=4 fuer die 2 x doppelt wirkende Maschine angeben");
        }
        return stop_with(r, 299);
    }

    auto echo = [&](runtime::Unit& v) {
        v.record(" Ausgabe bis TIME =", F(d.TIME, 5, 2), " sec; Rechenschrittweite =", F(d.SCHRITT, 10, 7),
                 " sec; NZYL=", I(d.NZYL, 2));
        v.record(" IPRNT1=", I(d.IPRNT1, 1), ", IPRNT2=CNTRL_n=", I(u.IPRNT2, 1));
    };
    if (u.level(2)) echo(u.u6);
    if (u.level(1)) echo(u.u9);
    if (u.level(1) && r.NLAUF == 0)
        u.u8.record(" Ausgabe bis TIME =", F(d.TIME, 5, 2), " sec; Rechenschrittweite =", F(d.SCHRITT, 9, 7), " sec");
    return DeckStatus::run;
}

// ---------------------------------------------------------------------------------------
// Line 2: operating mode.

// Mode ISO, the mode line itself: wire mesh, injection flow and losses, with the notes on a
// flow and a temperature loss given together or neither given.
DeckStatus iso_values(runtime::Units& u, RunState& r, const DeckLine& l2) {
    DeckValues& d = r;
    static const std::array<std::string, 5> names = {"MASSE= ", "F=     ", "STROM= ", "DELTAT=", "DELTAP="};
    static const std::array<int, 5> L1 = {6, 2, 6, 7, 7};
    std::array<int, 5> ierr{};
    std::array<float, 5> x{};
    // A value READRL cannot read is reported by it and taken as 0; the run goes on, but the
    // job ends with the line's error number: it did not compute what the deck asked for.
    input::READRL(u, 2, 12, L1, ierr, l2.norm, names, x);
    if (std::find(ierr.begin(), ierr.end(), 1) != ierr.end()) r.NFAIL = 502;
    d.MASSE = x[0];
    d.F = x[1];
    d.BEVOL = x[2];
    d.DELTAT = x[3];
    d.DELTA_P = x[4];
    if (!values_in_range(u, r.NFAIL, {{"MASSE=", d.MASSE}, {"F=", d.F}, {"STROM=", d.BEVOL}, {"DELTAT=", d.DELTAT},
                             {"DELTAP=", d.DELTA_P}}))
        return DeckStatus::error;
    const double strom = d.BEVOL;

    if (d.BEVOL > 0.0 && d.DELTAT > 0.0) {
        u.u6.record(" FEHLER: Beregnungs Volumenstrom=", E(d.BEVOL, 12, 6), " DELTAT=", F(d.DELTAT, 5, 2),
                    " nur 1 Wert >0 angeben");
        u.u6.line("         oder 2 Zeilen mit Duesenwerten eingeben und DELTAT=0.");
        u.u6.line("         Es wird der Beregnungs Volumenstrom BEVOL= 0. Liter/sec gesetzt");
        u.u9.record(" FEHLER: Beregnungs Volumenstrom=", E(d.BEVOL, 12, 6), " Liter/sec; DELTAT =",
                    F(d.DELTAT, 5, 2), " Kelvin; Nur 1 WERT darf >0 angegeben werden!");
        u.u9.line("         oder 2 Zeilen mit Duesenwerten eingeben und DELTAT=0.");
        u.u9.line("         Es wird fuer die weitere Rechnung der Beregnungs Volumenstrom BEVOL= 0.Liter/sec gesetzt");
        d.BEVOL = 0.0;
    }
    if (!contains(l2.norm, "DRAHT") && strom == 0.0 && d.DELTAT == 0.0 && u.level(2)) {
        for (runtime::Unit* v : {&u.u6, &u.u9}) {
            v->line(" ");
            v->record(" Beregnungs Volumenstrom=", F(d.BEVOL, 4, 1), " Temperaturverlust DELTAT=", F(d.DELTAT, 4, 1));
            v->line(" Bei DELTAT=0 werden keine Beregnungs-Volumenstroeme errechnet.");
        }
    }
    return DeckStatus::run;
}

// Nozzle values given but no injection flow: the run stays isothermal.
void achtung_no_flow(runtime::Units& u) {
    for (runtime::Unit* v : {&u.u9, &u.u6}) {
        v->line("ACHTUNG: Duesenwerte eingegeben aber Beregnungs Volumenstrom =0. !!!");
        v->line("         Es wird isotherm weitergerechnet");
    }
}

// Mode ISO: the mode line and its optional nozzle lines. The line after them (or the first line
// after line 2 when it is no nozzle line) is line 3 and is handed back in `next`.
DeckStatus mode_iso(runtime::Units& u, RunState& r, const DeckLine& l2, std::string& buf, std::optional<DeckLine>& next) {
    DeckValues& d = r;
    if (DeckStatus s = iso_values(u, r, l2); s != DeckStatus::run) return s;

    d.nozzles = false;
    DeckLine n1;
    if (!read_deck_line(u, n1)) return input_ended(u, r, 503);
    if (!contains(n1.norm, "DUESE")) {
        if (d.BEVOL > 0.0) {
            for (runtime::Unit* v : {&u.u9, &u.u6}) {
                v->line("ACHTUNG: Beregnungsvolumenstrom angegeben, aber keine Duesenwerte eingegeben.");
                v->line("         Es wird isotherm ohne Beregnungsvolumenstrom gerechnet");
            }
        }
        next = std::move(n1);
        return DeckStatus::run;
    }

    if (cut_at_80(u, n1, 22, 503)) return stop_with(r, 503);
    d.nozzles = true;
    d.ZEILE22 = n1.raw;
    d.OFRE = 1.0;
    d.OFRC = 1.0;
    d.LUST = 0.0;
    const KeywordValues kv22 = keywords(u, r, 22, n1.norm, {"NDUE=", "DDUE=", "NDUC=", "DDUC="}, buf);
    bool ok = kv22.found && kv22.whole(0, d.NDUE) && kv22.real(1, d.DDUE) && kv22.whole(2, d.NDUC) &&
              kv22.real(3, d.DDUC);
    if (!ok) {
        both(u, generic_failure(22));
        both(u, "### FEHLER in der Eingabe ZEILE2_2; Programm STOP");
        both(u, "### Eingabezeilen fuer Duesenwerte vertauscht ??");
        return stop_with(r, 503);
    }
    if (!values_in_range(u, r.NFAIL, {{"NDUE=", d.NDUE}, {"DDUE=", d.DDUE}, {"NDUC=", d.NDUC}, {"DDUC=", d.DDUC}}))
        return DeckStatus::error;

    DeckLine n2;
    if (!read_deck_line(u, n2)) return input_ended(u, r, 503);
    if (!contains(n2.norm, "DUESE")) {
        if (d.BEVOL == 0.0) achtung_no_flow(u);
        both(u, " ");
        both(u, ">>> 2. Eingabezeile mit Duesenwerten fehlt. Es wird isotherm weitergerechnet:");
        d.nozzles = false;
        next = std::move(n2);
        return DeckStatus::run;
    }
    if (cut_at_80(u, n2, 23, 503)) return stop_with(r, 503);
    d.ZEILE23 = n2.raw;
    const KeywordValues kv23 = keywords(u, r, 23, n2.norm, {"OFRE=", "OFRC=", "LUST="}, buf);
    ok = kv23.found && kv23.real(0, d.OFRE) && kv23.real(1, d.OFRC) && kv23.real(2, d.LUST);
    if (!ok) {
        both(u, generic_failure(23));
        return stop_with(r, 503);
    }
    if (!values_in_range(u, r.NFAIL, {{"OFRE=", d.OFRE}, {"OFRC=", d.OFRC}, {"LUST=", d.LUST}})) return DeckStatus::error;
    nozzle_geometry(r, u);
    if (d.BEVOL == 0.0) {
        achtung_no_flow(u);
        d.nozzles = false;
    }
    return DeckStatus::run;
}

// Mode TEMPD: the two factors and four table blocks, each a text line and a number line of 18
// fields of 4 columns.
DeckStatus mode_tempd(runtime::Units& u, RunState& r, const DeckLine& l2, std::string& buf) {
    DeckValues& d = r;
    const KeywordValues kv2 = keywords(u, r, 2, l2.norm, {"FTE=", "FTK="}, buf);
    bool ok = kv2.found && kv2.real(0, d.FTE) && kv2.real(1, d.FTK);
    if (!ok) {
        both(u, generic_failure(2));
        return stop_with(r, 502);
    }
    if (!values_in_range(u, r.NFAIL, {{"FTE=", d.FTE}, {"FTK=", d.FTK}})) return DeckStatus::error;
    for (int b = 0; b < 4; ++b) {
        DeckLine text;
        if (!read_deck_line(u, text)) return input_ended(u, r, 502);
        // A text line is only echoed: a word cut at column 80 changes no value.
        if (!text.cut.empty()) note_text_beyond_80(u, u.u55.records_read(), u.u55.beyond());
        auto numbers = u.u55.read();  // read as it stands: no comment or blank handling
        if (!numbers) return input_ended(u, r, 502);
        std::array<double, 36>& table = b < 2 ? d.DTE : d.DTC;
        const int first = (b % 2) * 18;
        for (int k = 0; k < 18; ++k) {
            auto v = runtime::read_real_field(runtime::field_of(*numbers, k, 4));
            if (!v) {
                both(u, generic_failure(2));
                return stop_with(r, 502);
            }
            table[first + k] = *v;
            if (!values_in_range(u, r.NFAIL, {{b < 2 ? "D-TE" : "D-TC", *v}})) return DeckStatus::error;
        }
        std::string rec1 = text.raw + (b % 2 == 0 ? "  ==>> WINKELGRADE 0-170" : "  ==>> WINKELGRADE 180-350");
        std::string rec2 = " ";
        for (int k = 0; k < 18; ++k) rec2 += F(table[first + k], 4, 0);
        rec2 += b < 2 ? " ==>> TEMPERATUR D-TE; FTE=" + F(d.FTE, 4, 1) : " ==>> TEMPERATUR D-TC; FTK=" + F(d.FTK, 4, 1);
        // Unit 8 shows them in the run heading, under the mode line (write_run_heading).
        d.TEMPD_ECHO[2 * b] = rec1;
        d.TEMPD_ECHO[2 * b + 1] = rec2;
        if (u.level(1)) {
            u.u9.line(rec1);
            u.u9.line(rec2);
        }
    }
    return DeckStatus::run;
}

// Mode POLY: the crankcase volume on the mode line and four lines with one value each.
DeckStatus mode_poly(runtime::Units& u, RunState& r, const DeckLine& l2, std::string& buf) {
    DeckValues& d = r;
    auto fail = [&](int part) {
        both(u, " ===> FEHLER in der Eingabe ZEILE" + I(2, 2) + "/" + I(part, 2) + "; Programm STOP");
        return stop_with(r, 502);
    };
    if (contains(l2.norm, "VCRANC=")) {
        const KeywordValues kv = keywords(u, r, 2, l2.norm, {"VCRANC="}, buf);
        if (!kv.found || !kv.real(0, d.VCRANC)) return fail(1);
        if (!values_in_range(u, r.NFAIL, {{"VCRANC=", d.VCRANC}})) return DeckStatus::error;
        if (d.VCRANC == 0.0) d.VCRANC = 2750.0;
    } else {
        d.VCRANC = 2750.0;
    }
    static constexpr std::array<std::string_view, 4> keys = {"EPSILON_E=", "START_TE=", "EPSILON_C=", "START_TC="};
    std::array<double*, 4> vals = {&d.EPSILON_E, &d.START_TE, &d.EPSILON_C, &d.START_TC};
    for (int k = 0; k < 4; ++k) {
        DeckLine l;
        if (!read_deck_line(u, l)) return input_ended(u, r, 502, I(2, 2) + "/" + I(k + 2, 2));
        if (cut_at_80(u, l, I(2, 2) + "/" + I(k + 2, 2), 502)) return stop_with(r, 502);
        const KeywordValues kv = keywords(u, r, 2, l.norm, {keys[k]}, buf);
        if (!kv.found || !kv.real(0, *vals[k])) return fail(k + 2);
        if (!values_in_range(u, r.NFAIL, {{keys[k], *vals[k]}})) return DeckStatus::error;
        if (k == 3) {
            const std::size_t at = l.norm.find("MODELL=");
            if (at != std::string::npos) {
                std::string two = l.norm.substr(at + 7, 2);
                two.resize(2, ' ');
                auto m = runtime::read_int_field(two);
                if (!m) {
                    not_a_number(u, 2, "MODELL=", two, true);
                    return fail(5);
                }
                d.MODELL = *m;
            }
        }
    }
    if (u.level(2)) write_poly_block(d, u.u6);
    if (u.level(1)) write_poly_block(d, u.u9);
    return DeckStatus::run;
}

// ---------------------------------------------------------------------------------------
// Line 7: the gas name and its option field.

// False when the interpolation orders in the option field are no digits.
bool read_gas(runtime::Units& u, RunState& r, const std::string& norm) {
    DeckValues& d = r;
    const std::size_t at = norm.find("GAS=");
    if (at == std::string::npos) {
        r.NFAIL = 507;
        d.GAS = "HE";
        d.DAM = std::string(5, ' ');
        u.u6.line("### Suchwort: GAS= nicht gefunden, Arbeitsgas wird HE");
        u.u6.line(" ### Dieser FEHLER kann auftreten,");
        u.u6.line(" wenn die folgende Eingabezeile nicht einen neuen Rechenlauf spezifiziert");
        u.u9.line("### Suchwort: GAS= nicht gefunden, als Arbeitsgas wird HE angenommen");
        u.u9.line("### Dieser FEHLER kann auftreten, wenn die folgende Eingabezeile nicht einen neuen Rechenlauf spezifiziert");
    } else {
        std::string nine = norm.substr(at + 4, 9);
        nine.resize(9, ' ');
        d.GAS = nine.substr(0, 2);
        d.DAM = nine.substr(3, 5);
    }
    d.FDAMPF = d.DAM[0] == 'D';
    const std::string orders = d.DAM.substr(2, 3);
    auto f1 = runtime::read_int_field(orders.substr(0, 1));
    auto f2 = runtime::read_int_field(orders.substr(1, 2));
    // An order below 1 would leave the interpolation without points.
    const bool two_orders = f1 && f2 && *f1 >= 0 && *f2 >= 0;
    if (orders == "MPF" || orders == "   " || (!d.FDAMPF && !two_orders)) {
        // Without the vapour option the field may hold the next keyword of the line ("GAS=HE
        // RVE=0"): orders are taken from it only when it holds them.
        d.IPF1 = d.IPF2 = 2;
    } else {
        if (!two_orders) {
            for (runtime::Unit* v : {&u.u6, &u.u9}) {
                v->record(" ### GAS=", d.GAS, ": im Optionsfeld \"", d.DAM,
                          "\" der ZEILE 7 stehen keine Interpolationsgrade");
                v->line(" ### erwartet wird DAMPF, oder D mit 1 Ziffer fuer VORCOM und 2 fuer COMP, z.B. \"D 123\"");
            }
            return false;
        }
        d.IPF1 = *f1;
        d.IPF2 = *f2;
        if (u.level(3))
            u.u9.record(" EINGELESENE INTERPOLATIONSFAKTOREN FUER DAMPFZUSTANDS BERECHNUNG: IPF1=", I(d.IPF1, 3),
                        "; IPF2=", I(d.IPF2, 2));
    }
    d.IP1 = d.IPF1 + 1;
    d.IP2 = d.IPF2 + 1;
    if (d.FDAMPF) {
        if (u.level(4))
            u.u6.record(" INTERPOLATIONSGRAD FUER DAMPFBERECHNUNG: IP1=", I(d.IP1, 2), "; IP2=", I(d.IP2, 2));
        if (u.level(3))
            u.u9.record(" INTERPOLATIONSGRAD FUER DAMPFBERECHNUNG: IP1=", I(d.IP1, 2), " FUER SUBR. \"VORCOM\"",
                        "; IP2=", I(d.IP2, 2), " FUER SUBR. \"COMP\"");
    }
    if (u.level(5)) u.u6.record(" ARBEITSGAS \"GAS\"=", d.GAS, " DAM=", d.DAM);
    return true;
}

// ---------------------------------------------------------------------------------------
// Optional lines.

// Formula choices out of range are brought back to ones the vapour calculation knows.
void correct_vapour_definitions(runtime::Units& u, RunState& r) {
    DeckValues& d = r;
    auto note = [&](std::string_view text) {
        for (runtime::Unit* v : {&u.u6, &u.u9}) {
            v->line(" ");
            v->line(text);
            v->line(" ");
        }
    };
    if (d.DSD > 7) {
        d.DSD = 6;
        note(" =======>> Fuer \"DSD\" > 7 wird mit DSD=6 gerechnet");
    }
    if (d.DS3 > 6) {
        d.DS3 = 1;
        note(" =======>> Fuer \"DS3\" > 6 wird mit DS3=1 gerechnet");
    }
    if (d.DS3 == 5) {
        d.DS3 = 1;
        note(" =======>> Fuer \"DS3\" = 5 wird mit DS3=1 gerechnet");
    }
    if (d.DQD > 6) {
        d.DQD = 6;
        note(" =======>> Fuer \"DQD\" > 6 wird mit DQD=6 gerechnet");
    }
    if (d.DQDAMPF > 6) {
        d.DQDAMPF = 6;
        note(" =======>> fuer \"DQDAMPF\" > 6 wird mit DQDAMPF=6 gerechnet");
    }
    if (d.DS3 == 2 && d.DQDAMPF == 1) {
        d.DQDAMPF = 2;
        both(u, "  DS3=\"2\" fuer DS3 = DQDAMPF/T3 und DQDAMPF=\"1\" fuer DQDAMPF = DS3*T3 GEHT NICHT");
        both(u, "  Definition DQDAMPF=\"1\" wird in DQDAMPF=\"2\" geaendert");
    }
}

// The deviations per pair: two reader passes over the same line.
DeckStatus deviations(runtime::Units& u, RunState& r, const DeckLine& l, char kind, std::string& buf) {
    DeckValues& d = r;
    std::array<double, 4>& e = kind == 'V' ? d.VTE : d.ATE;
    std::array<double, 4>& c = kind == 'V' ? d.VTC : d.ATC;
    const std::string te = kind == 'V' ? "VTE" : "ATE";
    const std::string tc = kind == 'V' ? "VTC" : "ATC";
    for (int pass = 0; pass < 2; ++pass) {
        const std::string a = std::to_string(2 * pass + 1), b = std::to_string(2 * pass + 2);
        const std::string k0 = te + a + "=", k1 = tc + a + "=", k2 = te + b + "=", k3 = tc + b + "=";
        const KeywordValues kv = keywords(u, r, 10, l.norm, {k0, k1, k2, k3}, buf);
        bool ok = kv.found && kv.real(0, e[2 * pass]) && kv.real(1, c[2 * pass]) && kv.real(2, e[2 * pass + 1]) &&
                  kv.real(3, c[2 * pass + 1]);
        if (!ok) return stop_with(r, 512);
        if (!values_in_range(u, r.NFAIL, {{k0, e[2 * pass]}, {k1, c[2 * pass]}, {k2, e[2 * pass + 1]}, {k3, c[2 * pass + 1]}},
                             d.dead_space_percent))
            return DeckStatus::error;
    }
    if (u.level(5)) {
        both(u, " ");
        both(u, kind == 'V' ? " Abeichungen von den errrechneten Volumina:"
                            : " Abeichung von den Einspritztemperaturen TH und TK:");
        for (int pass = 0; pass < 2; ++pass) {
            const std::string a = std::to_string(2 * pass + 1), b = std::to_string(2 * pass + 2);
            const std::string rec = " >>> " + te + a + "=" + F(e[2 * pass], 5, 1) + ", " + tc + a + "=" +
                                    F(c[2 * pass], 5, 1) + ", " + te + b + "=" + F(e[2 * pass + 1], 5, 1) + ", " + tc +
                                    b + "=" + F(c[2 * pass + 1], 5, 1);
            both(u, rec);
        }
        both(u, " ");
    }
    return DeckStatus::run;
}

// Line 11, the diagram line.
DeckStatus line11(runtime::Units& u, RunState& r, const DeckLine& l, std::string& buf, bool& MONO) {
    DeckValues& d = r;
    if (cut_at_80(u, l, 11, 511)) return stop_with(r, 511);
    const KeywordValues kv11 = keywords(u, r, 11, l.norm, {"XL=", "YL=", "HOE=", "HSYM=", "IBACK=", "SCALE="}, buf);
    bool ok = kv11.found && kv11.real(0, d.XL) && kv11.real(1, d.YL) && kv11.real(2, d.HOE) && kv11.real(3, d.HSYM) &&
              kv11.whole(4, d.IBACK) && kv11.whole(5, d.SCALE);
    if (!ok) {
        both(u, generic_failure(11));
        u.u9.record("### ERROR IN PROCESSING INPUT LINE 11; STOP PROGRAM", " LINE11=", l.norm);
        return stop_with(r, 511);
    }
    // The lengths as the deck gives them, before single precision takes them.
    if (!values_in_range(u, r.NFAIL, {{"XL=", kv11.as_given(0)}, {"YL=", kv11.as_given(1)}, {"HOE=", kv11.as_given(2)},
                             {"HSYM=", kv11.as_given(3)}, {"SCALE=", d.SCALE}}))
        return DeckStatus::error;
    MONO = l.norm[0] == 'B';
    return DeckStatus::run_diagrams;
}

// The optional lines after line 7 (or 9) up to the diagram line.
DeckStatus optional_lines(runtime::Units& u, RunState& r, std::string& buf, bool& MONO) {
    DeckValues& d = r;
    d.VTE.fill(0.0);
    d.VTC.fill(0.0);
    d.ATE.fill(0.0);
    d.ATC.fill(0.0);
    for (;;) {
        DeckLine l;
        if (!read_deck_line(u, l)) {
            if (d.FDAMPF) correct_vapour_definitions(u, r);
            return DeckStatus::run_then_end;
        }
        if (contains(l.norm, "DIAGRAM")) {
            if (d.FDAMPF) correct_vapour_definitions(u, r);
            return line11(u, r, l, buf, MONO);
        }
        if (contains(l.norm, "DEF")) {
            if (cut_at_80(u, l, 10, 510)) return stop_with(r, 510);
            const KeywordValues kv = keywords(u, r, 10, l.norm, {"DSD=", "DS3=", "DQD=", "DQDAMPF="}, buf);
            bool ok = kv.found && kv.whole(0, d.DSD) && kv.whole(1, d.DS3) && kv.whole(2, d.DQD) &&
                      kv.whole(3, d.DQDAMPF);
            if (!ok) return stop_with(r, 510);
            if (!values_in_range(u, r.NFAIL, {{"DSD=", d.DSD}, {"DS3=", d.DS3}, {"DQD=", d.DQD}, {"DQDAMPF=", d.DQDAMPF}}))
                return DeckStatus::error;
            continue;
        }
        if (contains(l.norm, "VTE1=") || contains(l.norm, "ATE1=")) {
            if (cut_at_80(u, l, 10, 512)) return stop_with(r, 512);
            DeckStatus s = deviations(u, r, l, contains(l.norm, "VTE1=") ? 'V' : 'A', buf);
            if (s != DeckStatus::run) return s;
            continue;
        }
        for (std::string_view key : {"XL=", "YL=", "HOE=", "HSYM=", "IBACK=", "SCALE="}) {
            if (has_word(l.norm, key)) {
                both(u, " ");
                both(u, " Fehler: Die Diagramm Definitionszeile muss beginnen mit: DIAGRAMME:");
                both(u, " ");
                both(u, generic_failure(11));
                u.u9.record("### ERROR IN PROCESSING INPUT LINE 11:", l.norm, "; STOP PROGRAM");
                return stop_with(r, 511);
            }
        }
        // Not an optional line: the run has no diagrams and this line begins the next run.
        if (d.FDAMPF) correct_vapour_definitions(u, r);
        r.pending_line = l.raw;
        return DeckStatus::run_no_diagrams;
    }
}

// The 66 names of the scaling lines, the two scale keywords of each dimension class of the
// catalogue in class order, as 7-character entries.
const std::array<std::string, 2 * diagrams::NCLASS>& scaling_names() {
    static const std::array<std::string, 2 * diagrams::NCLASS> names = [] {
        std::array<std::string, 2 * diagrams::NCLASS> out;
        for (int k = 1; k <= diagrams::NCLASS; ++k) {
            out[2 * k - 2] = diagrams::first_keyword(k);
            out[2 * k - 1] = diagrams::delta_keyword(k);
        }
        for (std::string& n : out) n.resize(7, ' ');
        return out;
    }();
    return names;
}

}  // namespace

// ---------------------------------------------------------------------------------------

bool read_deck_line(runtime::Units& u, DeckLine& line) {
    for (;;) {
        auto r = u.u55.read();
        if (!r) return false;
        if (u.level(4)) u.u9.record(" ZEILE:", *r);
        if (contains(*r, "***")) continue;
        line.cut = word_cut_at_80(*r, u.u55.beyond());
        if (line.cut.empty() && u.u55.beyond_text()) note_text_beyond_80(u, u.u55.records_read(), u.u55.beyond());
        if (r->find_first_not_of(' ') == std::string::npos) continue;
        line.raw = std::move(*r);
        line.norm = upper(line.raw);
        return true;
    }
}

bool read_first_line(runtime::Units& u, ControlState& c) {
    DeckLine l;
    if (!read_deck_line(u, l)) return false;
    c.pending_line = l.raw;
    return true;
}


namespace {

// Line 2: the operating mode and the lines that belong to it. A line already read that is
// line 3 comes back in `next`.
DeckStatus read_mode_lines(runtime::Units& u, RunState& r, std::string& buf, std::optional<DeckLine>& next) {
    DeckLine l2;
    if (!read_deck_line(u, l2)) return input_ended(u, r, 502);
    r.ZEILE2 = l2.raw;
    if (cut_at_80(u, l2, 2, 502)) return stop_with(r, 502);
    const std::string_view head = std::string_view(l2.norm).substr(0, 18);
    if (contains(l2.norm, "ISO")) {
        r.mode = Mode::ISO;
        return mode_iso(u, r, l2, buf, next);
    }
    if (contains(head, "TEMP")) {
        r.mode = Mode::TEMPD;
        return mode_tempd(u, r, l2, buf);
    }
    if (contains(head, "POLY")) {
        r.mode = Mode::POLY;
        return mode_poly(u, r, l2, buf);
    }
    both(u, " =====> FEHLER fuer den Betriebszustand:");
    both(u, "        kein \"ISO\", \"TEMPD\", ODER \"POLY\" gefunden ====>> STOP");
    return stop_with(r, 333);
}

// Line 3: revolutions, damping, friction, phase. A negative NACH plots that revolution only.
DeckStatus line3(runtime::Units& u, RunState& r, std::optional<DeckLine>& next, std::string& buf) {
    DeckValues& d = r;
    DeckLine l;
    if (next) {
        l = std::move(*next);
    } else if (!read_deck_line(u, l)) {
        return input_ended(u, r, 503);
    }
    if (cut_at_80(u, l, 3, 503)) return stop_with(r, 503);
    const KeywordValues kv3 = keywords(u, r, 3, l.norm, {"NACH:", "DAEMPFUNG=", "FSEAL=", "PHASE="}, buf);
    bool ok = kv3.found && kv3.whole(0, d.NACH) && kv3.real(1, d.DAEMPFUNG) && kv3.real(2, d.FSEAL) &&
              kv3.real(3, d.PHASE);
    if (!ok) return stop_with(r, 503);
    if (!values_in_range(u, r.NFAIL, {{"NACH:", d.NACH}, {"DAEMPFUNG=", d.DAEMPFUNG}, {"FSEAL=", d.FSEAL}}))
        return DeckStatus::error;
    if (d.NACH < 0) {
        d.NACH = d.NACH == INT_MIN ? INT_MAX : -d.NACH;
        d.plot_one_rev = true;
        if (u.level(2))
            u.u9.record(" >>>>>> Berechnete Daten werden nur fuer die", I(d.NACH, 4), ". Umdrehung geplottet");
        if (u.level(3))
            u.u6.record(" >>>>>> Berechnete Daten werden nur fuer die", I(d.NACH, 4), ". Umdrehung geplottet");
    }
    if (d.PHASE > 0.0) {
        both(u, " FEHLER: Phasenwinkel=" + F(d.PHASE, 6, 2) + " muss < 0 sein fuer den Stirling Motor");
        both(u, " ===========>> Programm STOP <<==========");
        return stop_with(r, 336);
    }
    if (!values_in_range(u, r.NFAIL, {{"PHASE=", d.PHASE}})) return DeckStatus::error;
    if (r.NLAUF == 0) d.PHASE_RUN1 = d.PHASE;
    return DeckStatus::run;
}

// Line 4: bores, crank radius, rod, filling pressure, heater and cooler temperatures.
DeckStatus line4(runtime::Units& u, RunState& r, std::string& buf) {
    DeckValues& d = r;
    DeckLine l;
    if (!read_deck_line(u, l)) return input_ended(u, r, 504);
    if (cut_at_80(u, l, 4, 504)) return stop_with(r, 504);
    const KeywordValues kv4 = keywords(u, r, 4, l.norm, {"DH=", "DK=", "R=", "DKST=", "P0=", "TH=", "TK="}, buf);
    const bool ok = kv4.found && kv4.real(0, d.DH) && kv4.real(1, d.DK) && kv4.real(2, d.R) && kv4.real(3, d.DKST) &&
                    kv4.real(4, d.P0) && kv4.real(5, d.TH) && kv4.real(6, d.TK);
    if (!ok) return stop_with(r, 504);
    if (!(d.DH > 0.0 && d.DK > 0.0 && d.R > 0.0)) {
        for (runtime::Unit* v : {&u.u6, &u.u9}) {
            v->line(generic_failure(4));
            v->line(" ");
            v->record(" DH=", F(d.DH, 8, 3), " DK=", F(d.DK, 8, 3), " R=", F(d.R, 8, 3), " Alle Werte muessen >0 sein");
            v->line(" ");
        }
        return stop_with(r, 504);
    }
    if (!values_in_range(u, r.NFAIL, {{"DH=", d.DH}, {"DK=", d.DK}, {"R=", d.R}, {"DKST=", d.DKST}, {"P0=", d.P0},
                                      {"TH=", d.TH}, {"TK=", d.TK}}))
        return DeckStatus::error;
    return DeckStatus::run;
}

// Line 5: filling temperature and the regenerator.
DeckStatus line5(runtime::Units& u, RunState& r, std::string& buf) {
    DeckValues& d = r;
    DeckLine l;
    if (!read_deck_line(u, l)) return input_ended(u, r, 505);
    if (cut_at_80(u, l, 5, 505)) return stop_with(r, 505);
    const KeywordValues kv5 = keywords(u, r, 5, l.norm, {"T0=", "OLUMEN=", "SGRAD="}, buf);
    const bool ok = kv5.found && kv5.real(0, d.T0) && kv5.real(1, d.VOLUMEN) && kv5.real(2, d.SGRAD);
    if (!ok) return stop_with(r, 505);
    if (!values_in_range(u, r.NFAIL, {{"T0=", d.T0}, {"OLUMEN=", d.VOLUMEN}, {"SGRAD=", d.SGRAD}}))
        return DeckStatus::error;
    return DeckStatus::run;
}

// Line 6: liquid columns, dead spaces (in % of the stroke with a "%"), start speed, flywheel.
DeckStatus line6(runtime::Units& u, RunState& r, std::string& buf) {
    DeckValues& d = r;
    DeckLine l;
    if (!read_deck_line(u, l)) return input_ended(u, r, 506);
    if (cut_at_80(u, l, 6, 506)) return stop_with(r, 506);
    d.dead_space_percent = contains(l.raw, "%");
    const KeywordValues kv6 = keywords(u, r, 6, l.norm, {"ZW=", "ZH0E=", "ZH0C=", "N0=", "THETA=", "DICKE="}, buf);
    const bool ok = kv6.found && kv6.real(0, d.ZW) && kv6.real(1, d.ZH0E) && kv6.real(2, d.ZH0C) &&
                    kv6.real(3, d.N0) && kv6.real(4, d.THETA) && kv6.real(5, d.DICKE);
    if (!ok) return stop_with(r, 506);
    if (!values_in_range(u, r.NFAIL, {{"ZW=", d.ZW}, {"ZH0E=", d.ZH0E}, {"ZH0C=", d.ZH0C}, {"N0=", d.N0},
                                      {"THETA=", d.THETA}, {"DICKE=", d.DICKE}},
                         d.dead_space_percent))
        return DeckStatus::error;
    return DeckStatus::run;
}

// Line 7: crank drive, control volumes (in % of the swept volumes with a "%"), the gas.
DeckStatus line7(runtime::Units& u, RunState& r, std::string& buf) {
    DeckValues& d = r;
    DeckLine l;
    if (!read_deck_line(u, l)) return input_ended(u, r, 507);
    if (cut_at_80(u, l, 7, 507)) return stop_with(r, 507);
    d.control_volume_percent = contains(l.raw, "%");
    const KeywordValues kv7 = keywords(u, r, 7, l.norm, {"L/R=", "REGELN AB", "IN", "RVE=", "RVC="}, buf);
    const bool ok = kv7.found && kv7.real(0, d.LR) && kv7.real(1, d.REGELN_AB) && kv7.real(2, d.IN) &&
                    kv7.real(3, d.RVE) && kv7.real(4, d.RVC);
    if (!ok || !read_gas(u, r, l.norm)) return stop_with(r, 507);
    if (!values_in_range(u, r.NFAIL, {{"L/R=", d.LR}, {"REGELN AB", d.REGELN_AB}, {"IN", d.IN}, {"RVE=", d.RVE},
                                      {"RVC=", d.RVC}},
                         d.control_volume_percent))
        return DeckStatus::error;
    return DeckStatus::run;
}

// Lines 8 and 9: the properties of the user gas "XX".
DeckStatus user_gas_lines(runtime::Units& u, RunState& r, std::string& buf) {
    DeckValues& d = r;
    DeckLine l;
    if (!read_deck_line(u, l)) return input_ended(u, r, 508);
    if (cut_at_80(u, l, 8, 508)) return stop_with(r, 508);
    const KeywordValues kv8 = keywords(u, r, 8, l.norm, {"RO=", "CP="}, buf);
    bool ok = kv8.found && kv8.real(0, d.RO_XX) && kv8.real(1, d.CP_XX);
    if (!ok) return stop_with(r, 508);
    if (!values_in_range(u, r.NFAIL, {{"RO=", d.RO_XX}, {"CP=", d.CP_XX}})) return DeckStatus::error;
    if (!read_deck_line(u, l)) return input_ended(u, r, 509);
    if (cut_at_80(u, l, 9, 509)) return stop_with(r, 509);
    const KeywordValues kv9 = keywords(u, r, 9, l.norm, {"MG=", "X="}, buf);
    ok = kv9.found && kv9.real(0, d.MG_XX) && kv9.real(1, d.X_XX);
    if (!ok) return stop_with(r, 509);
    if (!values_in_range(u, r.NFAIL, {{"MG=", d.MG_XX}, {"X=", d.X_XX}})) return DeckStatus::error;
    return DeckStatus::run;
}

}  // namespace

DeckStatus read_run_head(Program& p) {
    runtime::Units& u = p.units;
    RunState& r = p.run;

    // Line 1, already read: the pending line. "STOP" begins no run: the end of the job keeps the
    // detail levels of the last run, which the defaults of a new run would switch off.
    // It is the last line read: what stood beyond its column 80 is still at hand.
    const DeckLine l1{r.pending_line, upper(r.pending_line), word_cut_at_80(r.pending_line, u.u55.beyond())};
    if (contains(l1.norm, "STOP")) return DeckStatus::stop;
    const int last_levels = u.IPRNT2;
    apply_defaults(u, r);
    p.dia.IIFREI = 0;
    std::string buf(80, ' ');  // LESEPR's result buffer, shared by the lines of the run
    DeckStatus s = line1(u, r, l1, buf, last_levels);
    if (s != DeckStatus::run) return s;

    std::optional<DeckLine> next;  // a line already read that is line 3
    if ((s = read_mode_lines(u, r, buf, next)) != DeckStatus::run) return s;
    if ((s = line3(u, r, next, buf)) != DeckStatus::run) return s;
    if ((s = line4(u, r, buf)) != DeckStatus::run) return s;
    if ((s = line5(u, r, buf)) != DeckStatus::run) return s;
    if ((s = line6(u, r, buf)) != DeckStatus::run) return s;
    if ((s = line7(u, r, buf)) != DeckStatus::run) return s;
    if (r.GAS == "XX" && (s = user_gas_lines(u, r, buf)) != DeckStatus::run) return s;

    // Optional lines and the diagram line.
    return optional_lines(u, r, buf, p.device.MONO);
}

namespace {

// A scaling value that column 80 cuts is an error of its line like any other scaling value:
// it is not read (the word before column 81 is blanked) and the run goes on.
void drop_cut_value(runtime::Units& u, RunState& r, DeckLine& l, int IZEILE) {
    report_cut_at_80(u, I(IZEILE, 2), 512, l.cut, false);
    r.NFAIL = 512;
    const std::size_t b = l.norm.find_last_of(' ');
    const std::size_t from = b == std::string::npos ? 0 : b + 1;
    l.norm.replace(from, l.norm.size() - from, l.norm.size() - from, ' ');
}

// The scaling lines 12 to 15 into `scaling`, each value checked. They end at the first diagram
// definition, which must follow; `l` is then that line and `have` is set.
DeckStatus read_scaling_lines(runtime::Units& u, RunState& r, std::span<float> scaling, DeckLine& l, bool& have) {
    const auto& names = scaling_names();
    std::array<int, 66> L1{};
    for (int i = 0; i < 66; ++i) L1[i] = static_cast<int>(names[i].find_last_not_of(' ') + 1);
    int nread = 0;
    for (int i = 0; i < 4; ++i) {
        if (!read_deck_line(u, l)) return input_ended(u, r, 516);
        if (contains(l.norm, "ABSZISSE|")) {
            have = true;
            break;
        }
        if (contains(l.norm, "GITTER=") || contains(l.norm, "NBILD=")) {
            both(u, " ");
            both(u, " ZEILE16 muss das Kennwort ABSZISSE| haben");
            both(u, " ");
            both(u, generic_failure(16));
            return stop_with(r, 516);
        }
        const int IZEILE = 12 + i;
        if (u.level(5)) u.u9.record(" ZEILE", I(IZEILE, 2), ":", l.raw);
        if (!l.cut.empty()) drop_cut_value(u, r, l, IZEILE);
        std::array<int, 66> ierr{};
        std::array<double, 66> written{};
        std::copy(scaling.begin(), scaling.end(), written.begin());
        // A scaling name counts only as a name of its own: "T(F)=" inside "DT(F)=" is none.
        input::READRL(u, IZEILE, 12, L1, ierr, l.norm, names, scaling, input::NameMatch::whole_name, written);
        ++nread;
        for (int e : ierr)
            if (e != 0) r.NFAIL = 512;
        scaling_in_range(u, r.NFAIL, IZEILE, names, written, scaling);
    }
    if (nread > 0 && u.level(5)) {
        u.u9.line(" Eingelesene -  bzw. 0.- SKalierungswerte:");
        for (int k = 0; k < 66; k += 2)
            u.u9.record(" ", names[k], " =", E(scaling[k], 12, 6), " ; ", names[k + 1], " =",
                        E(scaling[k + 1], 12, 6));
    }
    return DeckStatus::run;
}

// One diagram definition from its definition line `l` on: the abscissa, option code and legend
// count, the ordinates, and up to three caption lines. `l` is left on the line after them.
// run_then_end when the input ends after the definition.
DeckStatus read_definition(runtime::Units& u, RunState& r, diagrams::DiagramDefinition& def, DeckLine& l,
                           std::string& buf) {
    // Definition line: the abscissa name, the option code and the legend count.
    if (cut_at_80(u, l, 16, 516)) return stop_with(r, 516);
    std::string name(6, ' ');
    input::LESEPC(u, 16, 6, name, l.norm, r.IERR_READERS, "ABSZISSE|", 1);
    if (r.IERR_READERS != 0) return stop_with(r, 516);
    if (u.level(5)) both(u, " ### \"LESEPC\" hat gefunden: " + name);
    const KeywordValues kv = keywords(u, r, 16, l.norm, {"GITTER=", "NBILD="}, buf);
    if (!kv.found || !kv.whole(0, def.GITTER) || !kv.whole(1, def.NBILD)) return stop_with(r, 516);
    if (!values_in_range(u, r.NFAIL, {{"GITTER=", def.GITTER}, {"NBILD=", def.NBILD}})) return DeckStatus::error;
    def.abscissa = name;

    // Ordinate line.
    if (!read_deck_line(u, l)) return input_ended(u, r, 517);
    if (cut_at_80(u, l, 17, 517)) return stop_with(r, 517);
    std::string ords(6 * diagrams::MAXORD, ' ');
    input::LESEPC(u, 17, 6, ords, l.norm, r.IERR_READERS, "ORDINATEN|", diagrams::MAXORD);
    if (r.IERR_READERS != 0) return stop_with(r, 517);
    if (u.level(5)) both(u, "### \"LESEPC\" Output:" + ords);
    for (int j = 0; j < diagrams::MAXORD; ++j) {
        def.ordinate[j] = ords.substr(6 * j, 6);
        if (def.ordinate[j].find_first_not_of(' ') != std::string::npos) def.NORD = j + 1;
    }
    def.FREI = (def.abscissa.find_first_not_of(' ') != std::string::npos && def.NORD > 0) ? 1 : 0;

    // Caption lines: up to three lines with ":" in column 1. The input may end here: the run is
    // complete and is computed.
    for (;;) {
        if (!read_deck_line(u, l)) return DeckStatus::run_then_end;
        if (l.raw[0] != ':' || def.ncaption == 3) break;
        // A caption is text: a word cut at column 80 changes no value.
        if (!l.cut.empty()) note_text_beyond_80(u, u.u55.records_read(), u.u55.beyond());
        def.caption[def.ncaption++] = l.raw.substr(1, 79);
    }
    return DeckStatus::run;
}

}  // namespace

DeckStatus read_run_diagrams(runtime::Units& u, RunState& r, diagrams::DiagramState& dia) {
    dia.IIFREI = 0;
    DeckLine l;
    bool have = false;  // a line read by the scaling loop that is the first definition
    if (r.SCALE > 0) {
        if (DeckStatus s = read_scaling_lines(u, r, dia.scaling, l, have); s != DeckStatus::run) return s;
    }
    if (!have && !read_deck_line(u, l)) return input_ended(u, r, 516);

    std::string buf(80, ' ');
    for (int n = 0; n < diagrams::MAXDIA; ++n) {
        diagrams::DiagramDefinition& def = dia.def[n];
        def.abscissa = std::string(6, ' ');
        def.ordinate.fill(std::string(6, ' '));
        def.caption.fill(std::string(79, ' '));
        def.ncaption = 0;
        def.NORD = 0;
        def.FREI = 0;
        if (!contains(l.norm, "ABSZISSE|")) break;
        const DeckStatus s = read_definition(u, r, def, l, buf);
        // A definition whose ordinates were read counts, also when the input ends behind it.
        if (s == DeckStatus::run || s == DeckStatus::run_then_end) dia.IIFREI = n + 1;
        if (s != DeckStatus::run) return s;
    }
    r.pending_line = l.raw;
    return DeckStatus::run;
}


std::string vapour_definition_text(std::string_view name, int value) {
    static const char* const dqd[6] = {
        "DQD =  S2R_M * TR_M  + S2E * TE + S2C * TC", "DQD =  SDM   * (SD3  - SW3) * T3",
        "DQD =  H2DE  + H2DC  + H2DR",                "DQD =  SDM   * (H2D3 - CPW3 * (T3-273.15))",
        "DQD =  RDME + RDMC + RDMR",                  "DQD =  SDM   * RDAM3"};
    static const char* const dqdampf[6] = {
        "DQDAMF = DS3 * T3",                         "DQDAMF = (DQD - DQDV)/DELT - VGDPS",
        "DQDAMF = (DQD - DQDV)/DELT + DPSVEC",       "DQDAMF = DH2DE  + DH2DC  + DH2DR - VGDPS",
        "DQDAMF = DRDME  + DRDMC  + DRDMR + DPSVEC", "DQDAMF = DRDME  + DRDMC  + DRDMR - VGDPS"};
    static const char* const dsd[7] = {"DSD =  S2R      +  S2E  +  S2C",
                                       "DSD =  SDM      * (SD3  - SW3)",
                                       "DSD =  H2DE/TE  + H2DC/TC + H2DR/TR",
                                       "DSD =  SDM      * (H2D3 - CPW3 * (T3-273.15)) / T3",
                                       "DSD =  (RDME    + RDMC  + RDMR) / T3",
                                       "DSD =  DQD / T3",
                                       "DSD =  (H2DE    + H2DC  + H2DR) / T3"};
    static const char* const ds3[6] = {"DS3 =  DSD    - DSDV",
                                       "DS3 =  DQDAMF / T3",
                                       "DS3 =  DH2DE  / TE   +  DH2DC / TC + DH2DR / TR",
                                       "DS3 =  (DH2DE + DH2DC + DH2DR - VGDPS)  / T3",
                                       "DS3 =  DRDME  / TE  +  DRDMC / TC  +  DRDMR / TR",
                                       "DS3 =  (DRDME + DRDMC + DRDMR + DPSVEC)/ T3"};
    std::string text;
    auto pick = [&](const char* const* table, int n) {
        if (value >= 1 && value <= n) text = table[value - 1];
    };
    if (name == "DQD") pick(dqd, 6);
    else if (name == "DQDAMPF") pick(dqdampf, 6);
    else if (name == "DSD") pick(dsd, 7);
    else if (name == "DS3") pick(ds3, 6);
    text.resize(50, ' ');
    return text;
}

void write_vapour_definitions(const DeckValues& d, runtime::Units& u) {
    const std::pair<const char*, int> defs[4] = {{"DQD", d.DQD}, {"DQDAMPF", d.DQDAMPF}, {"DSD", d.DSD}, {"DS3", d.DS3}};
    if (u.level(4)) {
        for (const auto& [name, v] : defs)
            u.u6.record("DEFINITIONEN: ", name, "=", I(v, 1), " : ", vapour_definition_text(name, v));
    }
    if (u.level(2)) {
        u.u9.line(" DEFINITIONEN FUER DIE BERECHNUNG DER DAMPF-KOMPONENTE");
        for (const auto& [name, v] : defs)
            u.u9.record(" ", name, "=", I(v, 1), " : ", vapour_definition_text(name, v));
    }
}

void write_poly_block(const DeckValues& d, runtime::Unit& u) {
    u.line(" ");
    u.line(" POLYTROPE ZUSTANDSAENDERUNG IN DER MASCHINE:");
    u.record(" POLYTROPENEXPONENT IM EXPANSIONSZYLINDER ---> CONSTE=", F(d.EPSILON_E, 5, 2));
    u.record(" ANFANGSTEMPERATUR  IM EXPANSIONSZYLINDER ---> TAA1  =", F(d.START_TE, 6, 1));
    u.record(" POLYTROPENEXPONENT IM KOMPESSIONSZYLINDER --> CONSTC=", F(d.EPSILON_C, 5, 2));
    u.record(" ANFANGSTEMPERATUR  IM KOMPESSIONSZYLINDER --> TZZ1  =", F(d.START_TC, 6, 1), " MODELL=",
             I(d.MODELL, 3));
    u.line(" ");
    u.line(" ");
}

}  // namespace korvex::run
