#include "run/error_table.hpp"

#include <algorithm>
#include <cstdio>

#include "run/deck_ranges.hpp"

namespace korvex::run {

namespace {

constexpr Effect STOPS = Effect::stops_job;
constexpr Effect ENDS_RUN = Effect::ends_run;
constexpr Effect GOES_ON = Effect::goes_on;
constexpr Effect VARIES = Effect::varies;

// Every number the program sets, in ascending order. A deck line's reader failure is a
// keyword that is missing, a value that is no number, or a number or keyword that column 80
// cuts in two; its range failure a value outside the range the line's table gives (--explain
// lists them).
constexpr ErrorEntry TABLE[] = {
    {1, 99, GOES_ON, "events counted during the run (the number is their count)",
     "each of these adds 1 to the error number, also on top of a number set before (771 is 770 and one "
     "event): a run shorter than one revolution (\"ZU KURZ FUER DIE BERECHNUNG VON 1 UMDREHUNG\"); a marker "
     "angle of the first revolution not reached; the machine stopping (\"DIE MASCHINE BLEIBT STEHEN\") or "
     "turning more than half a revolution in one step (\"DREHZAHL ZU HOCH\"); an abscissa name found invalid "
     "at the first plot point; an ordinate name that is not in the catalogue or belongs to a cylinder pair "
     "the run does not compute; a PLOT call with pen code 0",
     "read the messages above the end of the listing. A machine that stops has too little flywheel energy "
     "to carry it through its first compression: make THETA or N0 larger, not smaller (the energy grows "
     "with THETA * N0**2; the sample engine started at N0=300 stops with THETA 1E4, 1E5 and 1E6 and runs "
     "with 1E7). A run too short for one revolution, or whose first revolution's markers are not reached, "
     "needs a longer TIME or a larger N0 (a heavy flywheel at a low N0 turns slowly: the first revolution "
     "takes about 60/N0 s). Shorten SCHRITT for a machine that runs away, and take the quantity names from "
     "`korvex --quantities`"},
    {112, 112, GOES_ON, "a T-S diagram of S2 or S3 without the vapour calculation",
     "a diagram definition with the abscissa S2n or S3n in a run whose line 7 has no vapour option "
     "(GAS=HE DAMPF): S2 is plotted as S1, S3 is not plotted",
     "give the vapour option on line 7, or plot S1n and T1n"},
    {199, 199, ENDS_RUN, "the polytropic pre-calculation found no start values",
     "mode POLY: after ten passes of the pre-calculation of H1-K1 a marker angle was still not met "
     "(\"POLYTROPE VORBERECHNUNG ABGEBROCHEN\")",
     "check the polytropic exponents and start temperatures (lines 2/2 to 2/5) and N0 and THETA on line 6"},
    {222, 222, STOPS, "the wire mesh cannot store the heat it is given",
     "mode ISO with MASSE > 0: with this mass and factor F the cold gas would end hotter than the hot gas "
     "(TKNEU > THNEU)",
     "raise MASSE or lower F on line 2"},
    {299, 299, STOPS, "NZYL is not 0, 1, 2 or 4", "line 1: NZYL=",
     "NZYL=1 (or 0) for the single-acting machine, 2 for the double-acting, 4 for the twice double-acting"},
    {329, 329, STOPS, "a later run gives only one of P0 and T0 as 0",
     "line 4 (P0=) and line 5 (T0=) of a run after the first: P0=0 and T0=0 together keep the gas of the "
     "run before; one of them alone cannot",
     "give both P0 and T0 as 0, or both above 0"},
    {330, 330, STOPS, "the first run has no gas charge",
     "line 4 (P0=) or line 5 (T0=) of the first run is 0",
     "give the filling pressure P0 and the filling temperature T0 above 0 in the first run"},
    {332, 332, STOPS, "the line where a run begins is no run header",
     "line 1 of a run has no \"AUS\" in columns 1 to 18: lines out of order, a misspelt header, scaling "
     "lines with SCALE <= 0, or SCALE > 0 without scaling lines",
     "begin every run with its line 1 (\"AUSGABE: TIME= SCHRITT= NZYL= IPRNT=\"), keep the order of the "
     "lines, and match SCALE on line 11 with the scaling lines"},
    {333, 333, STOPS, "line 2 names no operating mode", "line 2 has none of \"ISO\", \"TEMP\", \"POLY\"",
     "write ISOTHERM, TEMPD or POLYTROP on line 2 (TEMP and POLY within columns 1 to 18)"},
    {336, 336, STOPS, "the phase angle is positive", "line 3: PHASE= above 0",
     "give the phase of the compression motion as 0 or negative (a Stirling engine runs with about -90)"},
    {501, 501, STOPS, "line 1 (run header) cannot be used",
     "line 1: a keyword missing, a value that is no number or outside its range, a number or keyword that "
     "column 80 cuts in two, or more than 10 million steps (TIME / SCHRITT); a SCHRITT larger than TIME is "
     "no error of this line: the run completes no revolution and ends as too short (1 to 99)",
     "give TIME=, SCHRITT=, NZYL= and IPRNT= with values in the ranges below, within column 80"},
    {502, 502, VARIES, "line 2 (operating mode) or its extra lines cannot be used",
     "line 2 of mode ISO (MASSE=, F=, STROM=, DELTAT=, DELTAP=), of mode TEMPD (FTE=, FTK= and the four "
     "temperature tables), or of mode POLY (VCRANC= and the lines 2/2 to 2/5); also a table or start "
     "temperature that leaves a gas temperature at or below 0 K (the job stops). A value of the ISO line "
     "that is no number (STROM=0,5) is taken as 0 and the run goes on without it; the job still ends "
     "with this number",
     "write the values of the mode's lines as numbers in the ranges below"},
    {503, 503, STOPS, "line 3 or a nozzle line cannot be used",
     "line 3 (NACH:, DAEMPFUNG=, FSEAL=, PHASE=), the nozzle lines of mode ISO (NDUE=, DDUE=, NDUC=, "
     "DDUC= and OFRE=, OFRC=, LUST=), or nozzles given with a flow but without a nozzle cross-section on "
     "each side, or with more cross-section than the cylinder",
     "give the values in the ranges below; with injection, at least one nozzle of a positive diameter on "
     "each side"},
    {504, 504, STOPS, "line 4 (cylinders, pressure, temperatures) cannot be used",
     "line 4: a keyword missing or malformed, DH, DK or R not above 0, a rod DKST not below DH and DK, a "
     "value outside its range, or a gas temperature of the run at or below 0 K (TH, TK less DELTAT)",
     "give DH=, DK=, R=, DKST=, P0=, TH=, TK= in the ranges below"},
    {505, 505, STOPS, "line 5 (filling temperature, regenerator) cannot be used",
     "line 5: T0=, ...OLUMEN= (VOLUMEN=), SGRAD= missing, malformed or outside the range",
     "give the values in the ranges below"},
    {506, 506, STOPS, "line 6 (dead spaces, start speed, flywheel) cannot be used",
     "line 6: ZW=, ZH0E=, ZH0C=, N0=, THETA=, DICKE= missing, malformed or outside the range; or a gas "
     "volume of a cylinder pair (with the deviations of the VTE line) that is not above 0 somewhere in "
     "the revolution",
     "give the values in the ranges below; with negative dead-space deviations keep every dead space "
     "positive"},
    {507, 507, VARIES, "line 7 (crank drive, control volumes, gas) cannot be used",
     "line 7: L/R=, REGELN AB, IN, RVE=, RVC= missing, malformed or outside the range (REGELN AB may be "
     "negative down to -IN), or digits after the vapour option that are no interpolation orders (the job "
     "stops); no \"GAS=\" (the run goes on with helium); a gas name none of HE, H2, LU, AR, XX in the "
     "first run (the job stops; a later run keeps the gas of the run before)",
     "give the values in the ranges below and GAS=HE, H2, LU, AR or XX"},
    {508, 508, STOPS, "line 8 (user gas) cannot be used", "line 8 after GAS=XX: RO=, CP=",
     "give the density and the specific heat of the gas in the ranges below"},
    {509, 509, STOPS, "line 9 (user gas) cannot be used", "line 9 after GAS=XX: MG=, X=",
     "give the molar mass and the isentropic exponent in the ranges below"},
    {510, 510, STOPS, "the DEF line cannot be used", "the optional line with \"DEF\": DSD=, DS3=, DQD=, DQDAMPF=",
     "give all four formula numbers in the ranges below"},
    {511, 511, STOPS, "the diagram line cannot be used",
     "line 11 (\"DIAGRAMME:\"): XL=, YL=, HOE=, HSYM=, IBACK=, SCALE= missing, malformed or outside the "
     "range; or one of these keywords on a line without \"DIAGRAM\"",
     "begin the line with DIAGRAMME: and give the values in the ranges below"},
    {512, 512, VARIES, "a VTE or ATE line, or a scaling value, cannot be used",
     "the optional lines with VTE1= or ATE1= (all eight values each; the job stops); a scaling line (lines "
     "12 to 15) with a value that is no number, outside the range as written, or cut in two by column 80 "
     "(the value is not used, the axis is scaled automatically, and the run goes on)",
     "give every value of the line in the ranges below"},
    {516, 516, STOPS, "a diagram definition line cannot be used",
     "line 16: no name after \"ABSZISSE|\", GITTER= or NBILD= missing or outside the range; or GITTER= or "
     "NBILD= on a line without \"ABSZISSE|\"",
     "write \"ABSZISSE| NAME GITTER=g NBILD=n\" with values in the ranges below"},
    {517, 517, STOPS, "an ordinate line cannot be used", "line 17: no \"ORDINATEN|\" after the definition line",
     "follow every ABSZISSE| line with a line \"ORDINATEN| NAME NAME ...\""},
    {666, 666, ENDS_RUN, "the gas pressure fell to the vapour pressure",
     "vapour option: the lowest gas pressure of H1-K1 is not above the highest vapour pressure of the "
     "liquid (\"PGMIN < PSTE1\"); the run ends without evaluation and diagrams",
     "raise P0, or lower the temperatures of the liquid (TH, TK, the ATE deviations)"},
    {770, 770, GOES_ON, "a diagram's abscissa is not in the catalogue",
     "a definition line \"ABSZISSE| NAME\" whose name no plottable quantity has; that diagram is cancelled",
     "take the name from `korvex --quantities` (upper case, the pair digit last: P1, VG2, TIME)"},
    {777, 777, GOES_ON, "a diagram cannot be drawn",
     "its abscissa belongs to a cylinder pair that the run does not compute (P3 with NZYL=2), or the only "
     "diagram of the run has an invalid abscissa (plotting is switched off)",
     "plot quantities of the pairs up to NZYL, or the global ones"},
    {885, 885, ENDS_RUN, "the steam table was asked outside its use",
     "vapour option: the property routine got no usable input (\"PDAMPF-EINGABE FEHLER\")",
     "check the temperatures and pressures of the run; the steam table covers 273.16 K to 543.15 K"},
    {886, 888, ENDS_RUN, "a vapour pressure or density below the steam table",
     "vapour option: \"AUSSERHALB DER DAMPFDRUCKTABELLE\"; the liquid is colder than 273.16 K or the vapour "
     "thinner than the table",
     "raise the cooler temperature TK (or the ATC deviations) above the freezing point"},
    {889, 889, ENDS_RUN, "a vapour temperature outside the steam table",
     "vapour option: a space temperature below 273.16 K or above 543.15 K (\"T MUSS ZWISCHEN 273.16 UND "
     "543.15 KELVIN LIEGEN\")",
     "keep TH and TK (with their deviations) between 273.16 K and 543.15 K when the vapour is computed"},
};

const char* effect_text(Effect e) {
    switch (e) {
        case Effect::stops_job: return "the job stops (\"Programm STOP\"); no further run is computed";
        case Effect::ends_run: return "the run ends; the job goes on with the next run";
        case Effect::goes_on: return "the run goes on";
        case Effect::varies: return "depends on the cause (see where)";
    }
    return "";
}

// Text after a label of `indent` columns, broken into lines of at most 100 columns.
void wrapped(std::string& out, std::string_view label, std::string_view text) {
    constexpr std::size_t WIDTH = 100;
    const std::size_t indent = label.size();
    std::string line(label);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(at, end - at);
        if (line.size() > indent && line.size() + 1 + word.size() > WIDTH) {
            out += line + "\n";
            line.assign(indent, ' ');
        } else if (line.size() > indent) {
            line += ' ';
        }
        line += word;
        at = end + 1;
    }
    out += line + "\n";
}

std::string padded(std::string s, std::size_t w) {
    if (s.size() < w) s.resize(w, ' ');
    return s + " ";
}

// The value ranges of the deck lines that give number n: keyword, range and line, and below
// them what the value is and what the bounds mean.
void ranges_of(std::string& out, int n) {
    std::size_t width = 0;
    for (const DeckRange& r : deck_ranges()) width = std::max(width, range_text(r).size() + 1 + r.unit.size());
    bool first = true;
    for (const DeckRange& r : deck_ranges()) {
        if (r.NFAIL != n) continue;
        if (first) out += "  Values:\n";
        first = false;
        std::string range = range_text(r);
        if (!r.unit.empty()) range += " " + std::string(r.unit);
        std::string form;
        if (r.per == Per::percent) form = ", with \"%\" on the line";
        if (r.per == Per::volume) form = ", without \"%\"";
        out += "    " + padded(std::string(r.keyword), 10) + padded(range, width) + "(line " + std::string(r.line) +
               form + ")\n";
        std::string what(r.meaning);
        if (!what.empty() && what[0] >= 'a' && what[0] <= 'z') what[0] = static_cast<char>(what[0] - 'a' + 'A');
        wrapped(out, "        ", what + ". Bounds: " + std::string(r.bounds) + ".");
    }
}

void entry_text(std::string& out, const ErrorEntry& e) {
    char head[64];
    if (e.lo == e.hi) std::snprintf(head, sizeof head, "FEHLER Nr. %d: ", e.lo);
    else std::snprintf(head, sizeof head, "FEHLER Nr. %d to %d: ", e.lo, e.hi);
    out += head;
    out += e.title;
    out += "\n";
    wrapped(out, "  Effect: ", effect_text(e.effect));
    wrapped(out, "  Where:  ", e.where);
    wrapped(out, "  Change: ", e.change);
    if (e.lo == e.hi) ranges_of(out, e.lo);
}

}  // namespace

std::span<const ErrorEntry> error_table() { return TABLE; }

const ErrorEntry* error_entry(int n) {
    for (const ErrorEntry& e : TABLE)
        if (n >= e.lo && n <= e.hi) return &e;
    return nullptr;
}

std::string explain_error(int n) {
    std::string out;
    if (const ErrorEntry* e = error_entry(n)) {
        entry_text(out, *e);
        return out;
    }
    // A number a little above one that lets the job go on: that number and events counted on
    // top of it.
    for (int k = 1; k <= 99 && n - k > 0; ++k) {
        const ErrorEntry* e = error_entry(n - k);
        if (e == nullptr || e->hi == 99 || e->effect == Effect::stops_job) continue;
        char head[120];
        std::snprintf(head, sizeof head, "FEHLER Nr. %d is %d and %d counted event%s after it:\n\n", n, n - k, k,
                      k == 1 ? "" : "s");
        out += head;
        entry_text(out, *e);
        out += "\n";
        entry_text(out, TABLE[0]);
        return out;
    }
    return out;
}

std::string explain_all() {
    std::string out;
    for (const ErrorEntry& e : TABLE) {
        if (!out.empty()) out += "\n";
        entry_text(out, e);
    }
    return out;
}

}  // namespace korvex::run
