#include "run/deck_ranges.hpp"

#include <array>
#include <cmath>
#include <cstdio>

#include "runtime/format.hpp"

namespace korvex::run {

namespace {

constexpr bool OPEN = true;    // the lower bound itself is outside the range
constexpr bool CLOSED = false;
constexpr bool ZERO_OK = true;
constexpr bool NO_ZERO = false;

// Bounds no real machine reaches: a bore or crank radius of 10 m, a heater at 5000 K, a
// filling pressure of 10000 bar. Within them every derived quantity stays a finite number.
constexpr double MAX_LENGTH = 1000.0;       // cm
constexpr double MAX_TEMPERATURE = 5000.0;  // K
constexpr double MAX_VOLUME = 1.0e9;        // cm**3 (1000 m**3)
constexpr double MAX_SHARE = 1.0e4;         // % of the stroke

constexpr bool STOPS = true;
constexpr bool GOES_ON = false;
constexpr auto ANY = Per::any;
constexpr auto PCT = Per::percent;
constexpr auto VOL = Per::volume;

constexpr DeckRange ROWS[] = {
    // Line 1: run header.
    {"TIME=", "TIME", "1", 1, 0, 501, STOPS, ANY, 0.0, 1.0e5, OPEN, NO_ZERO, "s",
        "simulated time up to which the run is computed", "positive; more than a day of machine time is no run"},
    {"SCHRITT=", "SCHRITT", "1", 1, 0, 501, STOPS, ANY, 0.0, 1.0, OPEN, NO_ZERO, "s",
        "integration time step", "positive; a step of a second passes whole revolutions"},
    {"IPRNT=", "IPRNT", "1", 1, 0, 501, STOPS, ANY, 0.0, 99.0, CLOSED, NO_ZERO, "",
        "listing control: tens digit the print interval, units digit the detail level 0 to 6",
        "two decimal digits"},

    // Line 2, mode ISO.
    {"MASSE=", "MASSE", "2 ISO", 2, 0, 502, STOPS, ANY, 0.0, 1.0e7, CLOSED, NO_ZERO, "g",
        "mass of the wire-mesh heat exchanger; 0: no wire mesh", "not negative; 10 t of wire is no heat exchanger"},
    {"F=", "F", "2 ISO", 2, 0, 502, STOPS, ANY, 0.0, 1.0, CLOSED, NO_ZERO, "",
        "share of the ideal cycle heat that passes the wire mesh", "a share of a heat: 0 to 1"},
    {"STROM=", "STROM", "2 ISO", 2, 0, 502, STOPS, ANY, 0.0, 1000.0, CLOSED, NO_ZERO, "litre/s",
        "volume flow of the injected liquid (BEVOL)", "not negative; a cubic metre a second floods any cylinder"},
    {"DELTAT=", "DELTAT", "2 ISO", 2, 0, 502, STOPS, ANY, 0.0, 1000.0, CLOSED, NO_ZERO, "K",
        "temperature loss of the gas at heater and cooler", "a loss, not a gain; the gas temperatures must stay above 0 K"},
    {"DELTAP=", "DELTAP", "2 ISO", 2, 0, 502, STOPS, ANY, 0.0, 1000.0, CLOSED, NO_ZERO, "bar",
        "pressure loss charged to the injection pumps", "a loss, not a gain"},

    // Nozzle lines of mode ISO.
    {"NDUE=", "NDUE", "nozzle 1", 22, 0, 503, STOPS, ANY, 0.0, 1.0e5, CLOSED, NO_ZERO, "",
        "number of nozzles of the expansion cylinder", "a count"},
    {"DDUE=", "DDUE", "nozzle 1", 22, 0, 503, STOPS, ANY, 0.0, 100.0, CLOSED, NO_ZERO, "cm",
        "nozzle diameter, expansion cylinder", "not negative; no nozzle is a metre wide"},
    {"NDUC=", "NDUC", "nozzle 1", 22, 0, 503, STOPS, ANY, 0.0, 1.0e5, CLOSED, NO_ZERO, "",
        "number of nozzles of the compression cylinder", "a count"},
    {"DDUC=", "DDUC", "nozzle 1", 22, 0, 503, STOPS, ANY, 0.0, 100.0, CLOSED, NO_ZERO, "cm",
        "nozzle diameter, compression cylinder", "not negative; no nozzle is a metre wide"},
    {"OFRE=", "OFRE", "nozzle 2", 23, 0, 503, STOPS, ANY, 0.0, 1.0e6, CLOSED, NO_ZERO, "",
        "surface factor of the expansion-side jets (1: smooth jets)", "a factor on a surface: not negative"},
    {"OFRC=", "OFRC", "nozzle 2", 23, 0, 503, STOPS, ANY, 0.0, 1.0e6, CLOSED, NO_ZERO, "",
        "surface factor of the compression-side jets (1: smooth jets)", "a factor on a surface: not negative"},
    {"LUST=", "LUST", "nozzle 2", 23, 0, 503, STOPS, ANY, 0.0, 1.0e9, CLOSED, NO_ZERO, "W",
        "radiation loss of the hot cylinders", "a loss, not a gain"},

    // Line 2, mode TEMPD, and its tables.
    {"FTE=", "FTE", "2 TEMPD", 2, 0, 502, STOPS, ANY, -100.0, 100.0, CLOSED, NO_ZERO, "",
        "factor on the expansion-side temperature table", "a factor on differences of a few hundred K"},
    {"FTK=", "FTK", "2 TEMPD", 2, 0, 502, STOPS, ANY, -100.0, 100.0, CLOSED, NO_ZERO, "",
        "factor on the compression-side temperature table", "a factor on differences of a few hundred K"},
    {"D-TE", "D-TE", "2 tables", 2, 0, 502, STOPS, ANY, -1000.0, 1000.0, CLOSED, NO_ZERO, "K",
        "expansion-side temperature difference at a crank angle", "a difference around the heater temperature"},
    {"D-TC", "D-TC", "2 tables", 2, 0, 502, STOPS, ANY, -1000.0, 1000.0, CLOSED, NO_ZERO, "K",
        "compression-side temperature difference at a crank angle", "a difference around the cooler temperature"},

    // Line 2, mode POLY, and its four lines.
    {"VCRANC=", "VCRANC", "2/1 POLY", 2, 1, 502, STOPS, ANY, 0.0, MAX_VOLUME, CLOSED, NO_ZERO, "cm**3",
        "crankcase volume; 0 or absent: 2750", "not negative; 1000 m**3"},
    {"EPSILON_E=", "EPSILON_E", "2/2 POLY", 2, 2, 502, STOPS, ANY, 0.0, 3.0, OPEN, NO_ZERO, "",
        "polytropic exponent of the expansion cylinder", "positive; 1 is isothermal, a gas's isentropic exponent lies below 2"},
    {"START_TE=", "START_TE", "2/3 POLY", 2, 3, 502, STOPS, ANY, 1.0, MAX_TEMPERATURE, CLOSED, NO_ZERO, "K",
        "start temperature of the expansion cylinder", "an absolute temperature; no heater reaches 5000 K"},
    {"EPSILON_C=", "EPSILON_C", "2/4 POLY", 2, 4, 502, STOPS, ANY, 0.0, 3.0, OPEN, NO_ZERO, "",
        "polytropic exponent of the compression cylinder", "positive; 1 is isothermal, a gas's isentropic exponent lies below 2"},
    {"START_TC=", "START_TC", "2/5 POLY", 2, 5, 502, STOPS, ANY, 1.0, MAX_TEMPERATURE, CLOSED, NO_ZERO, "K",
        "start temperature of the compression cylinder", "an absolute temperature; no heater reaches 5000 K"},

    // Line 3.
    {"NACH:", "NACH", "3", 3, 0, 503, STOPS, ANY, -1.0e5, 1.0e5, CLOSED, NO_ZERO, "",
        "revolutions to compute; negative: plot only that revolution", "a count"},
    {"DAEMPFUNG=", "DAEMPFUNG", "3", 3, 0, 503, STOPS, ANY, 0.0, 1.0, CLOSED, NO_ZERO, "",
        "damping of the liquid oscillation, amplitude ratio X1/X0 (1: no damping)",
        "a damped amplitude does not grow"},
    {"FSEAL=", "FSEAL", "3", 3, 0, 503, STOPS, ANY, 0.0, 1.0e6, CLOSED, NO_ZERO, "N",
        "friction force of each piston and piston-rod seal", "friction opposes the motion: not negative"},
    {"PHASE=", "PHASE", "3", 3, 0, 503, STOPS, ANY, -360.0, 0.0, CLOSED, NO_ZERO, "degrees",
        "phase of the compression motion behind the expansion motion (FEHLER 336 when positive)",
        "one revolution back"},

    // Line 4.
    {"DH=", "DH", "4", 4, 0, 504, STOPS, ANY, 0.01, MAX_LENGTH, CLOSED, NO_ZERO, "cm",
        "bore of the expansion (hot) cylinder", "no cylinder is narrower than 0.1 mm or wider than 10 m"},
    {"DK=", "DK", "4", 4, 0, 504, STOPS, ANY, 0.01, MAX_LENGTH, CLOSED, NO_ZERO, "cm",
        "bore of the compression (cold) cylinder", "no cylinder is narrower than 0.1 mm or wider than 10 m"},
    {"R=", "R", "4", 4, 0, 504, STOPS, ANY, 0.01, MAX_LENGTH, CLOSED, NO_ZERO, "cm",
        "crank radius (the stroke is 2 R)", "no crank is shorter than 0.1 mm or longer than 10 m"},
    {"DKST=", "DKST", "4", 4, 0, 504, STOPS, ANY, 0.0, MAX_LENGTH, CLOSED, NO_ZERO, "cm",
        "piston-rod diameter (0 for the single-acting machine); below DH and DK", "not negative; thinner than both bores (checked with them)"},
    {"P0=", "P0", "4", 4, 0, 504, STOPS, ANY, 0.001, 1.0e4, CLOSED, ZERO_OK, "bar",
        "filling pressure; 0 with T0=0 in a later run keeps the gas of the run before",
        "0 carries the gas over; else from 1 mbar to 10000 bar"},
    {"TH=", "TH", "4", 4, 0, 504, STOPS, ANY, 1.0, MAX_TEMPERATURE, CLOSED, NO_ZERO, "K",
        "heater temperature", "an absolute temperature; no heater reaches 5000 K"},
    {"TK=", "TK", "4", 4, 0, 504, STOPS, ANY, 1.0, MAX_TEMPERATURE, CLOSED, NO_ZERO, "K",
        "cooler temperature", "an absolute temperature; no heater reaches 5000 K"},

    // Line 5.
    {"T0=", "T0", "5", 5, 0, 505, STOPS, ANY, 1.0, MAX_TEMPERATURE, CLOSED, ZERO_OK, "K",
        "filling temperature; 0 with P0=0 in a later run keeps the gas of the run before",
        "0 carries the gas over; else an absolute temperature"},
    {"OLUMEN=", "VOLUMEN", "5", 5, 0, 505, STOPS, ANY, 0.0, 1000.0, CLOSED, NO_ZERO, "litre",
        "regenerator volume per cylinder pair", "not negative; not a cubic metre"},
    {"SGRAD=", "SGRAD", "5", 5, 0, 505, STOPS, ANY, 0.0, 100.0, CLOSED, NO_ZERO, "%",
        "regenerator efficiency", "a share in per cent"},

    // Line 6; the dead spaces in % of the stroke with a "%" on the line, else in cm**3.
    {"ZW=", "ZW", "6", 6, 0, 506, STOPS, ANY, 0.0, 1.0e4, CLOSED, NO_ZERO, "",
        "mass factor of the liquid columns or pistons: mass = ZW * R * cross-section * 0.988 g/cm**3",
        "not negative; a column ten thousand crank radii long is no machine part"},
    {"ZH0E=", "ZH0E", "6", 6, 0, 506, STOPS, PCT, 0.0, MAX_SHARE, CLOSED, NO_ZERO, "%",
        "dead space of the expansion cylinder, in % of the stroke", "not negative; a hundred strokes high"},
    {"ZH0E=", "ZH0E", "6", 6, 0, 506, STOPS, VOL, 0.0, MAX_VOLUME, CLOSED, NO_ZERO, "cm**3",
        "dead space of the expansion cylinder", "not negative; 1000 m**3"},
    {"ZH0C=", "ZH0C", "6", 6, 0, 506, STOPS, PCT, 0.0, MAX_SHARE, CLOSED, NO_ZERO, "%",
        "dead space of the compression cylinder, in % of the stroke", "not negative; a hundred strokes high"},
    {"ZH0C=", "ZH0C", "6", 6, 0, 506, STOPS, VOL, 0.0, MAX_VOLUME, CLOSED, NO_ZERO, "cm**3",
        "dead space of the compression cylinder", "not negative; 1000 m**3"},
    {"N0=", "N0", "6", 6, 0, 506, STOPS, ANY, 1.0, 1.0e5, CLOSED, NO_ZERO, "rev/min",
        "start speed", "the machine turns; no crank drive turns 100000 times a minute"},
    {"THETA=", "THETA", "6", 6, 0, 506, STOPS, ANY, 1.0e-3, 1.0e16, CLOSED, NO_ZERO, "g*cm**2",
        "moment of inertia of the flywheel and all rotating parts",
        "a milligram at a crank radius of 0.3 mm to a 10000 t wheel of 10 m radius"},
    {"DICKE=", "DICKE", "6", 6, 0, 506, STOPS, ANY, 0.01, MAX_LENGTH, CLOSED, NO_ZERO, "cm",
        "width of the flywheel (a solid disc)", "a width from 0.1 mm to 10 m"},

    // Line 7; the control volumes in % of the swept volumes with a "%" on the line, else cm**3.
    {"L/R=", "L/R", "7", 7, 0, 507, STOPS, ANY, 1.0, 1000.0, CLOSED, ZERO_OK, "",
        "connecting-rod length over crank radius; 0: purely sinusoidal drive",
        "a rod shorter than the crank radius cannot turn the crank"},
    {"REGELN AB", "REGELN AB", "7", 7, 0, 507, STOPS, ANY, -1.0e6, 1.0e6, CLOSED, NO_ZERO, "s",
        "time at which the control volumes start to shrink; negative: they are already shrinking at the start",
        "the shrinking may have begun before the start (-IN), not ended"},
    {"IN", "IN", "7", 7, 0, 507, STOPS, ANY, 0.0, 1.0e6, CLOSED, NO_ZERO, "s",
        "duration over which the control volumes shrink", "a duration"},
    {"RVE=", "RVE", "7", 7, 0, 507, STOPS, PCT, 0.0, 1000.0, CLOSED, NO_ZERO, "%",
        "control volume of the expansion cylinder, in % of its swept volume", "not negative; ten swept volumes"},
    {"RVE=", "RVE", "7", 7, 0, 507, STOPS, VOL, 0.0, MAX_VOLUME, CLOSED, NO_ZERO, "cm**3",
        "control volume of the expansion cylinder", "not negative; 1000 m**3"},
    {"RVC=", "RVC", "7", 7, 0, 507, STOPS, PCT, 0.0, 1000.0, CLOSED, NO_ZERO, "%",
        "control volume of the compression cylinder, in % of its swept volume", "not negative; ten swept volumes"},
    {"RVC=", "RVC", "7", 7, 0, 507, STOPS, VOL, 0.0, MAX_VOLUME, CLOSED, NO_ZERO, "cm**3",
        "control volume of the compression cylinder", "not negative; 1000 m**3"},

    // Lines 8 and 9: the user gas.
    {"RO=", "RO", "8", 8, 0, 508, STOPS, ANY, 0.001, 1000.0, CLOSED, NO_ZERO, "g/litre",
        "density of the user gas", "a gas, not a liquid"},
    {"CP=", "CP", "8", 8, 0, 508, STOPS, ANY, 0.001, 1000.0, CLOSED, NO_ZERO, "W*s/(g*K)",
        "specific heat capacity of the user gas", "positive; hydrogen has 14.4"},
    {"MG=", "MG", "9", 9, 0, 509, STOPS, ANY, 1.0, 1000.0, CLOSED, NO_ZERO, "g/mol",
        "molar mass of the user gas", "the lightest gas has 2"},
    {"X=", "X", "9", 9, 0, 509, STOPS, ANY, 1.0, 2.0, OPEN, NO_ZERO, "",
        "isentropic exponent of the user gas", "cp over cv of a gas: above 1, below 2"},

    // Optional lines.
    {"DSD=", "DSD", "DEF", 10, 0, 510, STOPS, ANY, 1.0, 99.0, CLOSED, NO_ZERO, "",
        "formula of the vapour entropy rate (1 to 7; above 7 computes with 6)", "a formula number"},
    {"DS3=", "DS3", "DEF", 10, 0, 510, STOPS, ANY, 1.0, 99.0, CLOSED, NO_ZERO, "",
        "formula of the vapour entropy change (1 to 6; 5 and above 6 compute with 1)", "a formula number"},
    {"DQD=", "DQD", "DEF", 10, 0, 510, STOPS, ANY, 1.0, 99.0, CLOSED, NO_ZERO, "",
        "formula of the vapour heat content (1 to 6; above 6 computes with 6)", "a formula number"},
    {"DQDAMPF=", "DQDAMPF", "DEF", 10, 0, 510, STOPS, ANY, 1.0, 99.0, CLOSED, NO_ZERO, "",
        "formula of the vapour heat rate (1 to 6; above 6 computes with 6)", "a formula number"},
    {"VTEn=", "VTEn", "VTE", 10, 0, 512, STOPS, PCT, -MAX_SHARE, MAX_SHARE, CLOSED, NO_ZERO, "%",
        "deviation of the dead space of expansion cylinder n (1 to 4) from ZH0E, in % of the stroke", "a hundred strokes either way"},
    {"VTEn=", "VTEn", "VTE", 10, 0, 512, STOPS, VOL, -MAX_VOLUME, MAX_VOLUME, CLOSED, NO_ZERO, "cm**3",
        "deviation of the dead space of expansion cylinder n (1 to 4) from ZH0E", "1000 m**3 either way"},
    {"VTCn=", "VTCn", "VTE", 10, 0, 512, STOPS, PCT, -MAX_SHARE, MAX_SHARE, CLOSED, NO_ZERO, "%",
        "deviation of the dead space of compression cylinder n (1 to 4) from ZH0C, in % of the stroke", "a hundred strokes either way"},
    {"VTCn=", "VTCn", "VTE", 10, 0, 512, STOPS, VOL, -MAX_VOLUME, MAX_VOLUME, CLOSED, NO_ZERO, "cm**3",
        "deviation of the dead space of compression cylinder n (1 to 4) from ZH0C", "1000 m**3 either way"},
    {"ATEn=", "ATEn", "ATE", 10, 0, 512, STOPS, ANY, -1000.0, 1000.0, CLOSED, NO_ZERO, "K",
        "deviation of the injection temperature of expansion cylinder n (1 to 4) from TH", "a difference of at most 1000 K"},
    {"ATCn=", "ATCn", "ATE", 10, 0, 512, STOPS, ANY, -1000.0, 1000.0, CLOSED, NO_ZERO, "K",
        "deviation of the injection temperature of compression cylinder n (1 to 4) from TK", "a difference of at most 1000 K"},

    // Line 11: the diagram line.
    {"XL=", "XL", "11", 11, 0, 511, STOPS, ANY, 0.1, 200.0, CLOSED, NO_ZERO, "cm",
        "length of the abscissa axis", "an axis on a page"},
    {"YL=", "YL", "11", 11, 0, 511, STOPS, ANY, 0.1, 200.0, CLOSED, NO_ZERO, "cm",
        "length of the ordinate axis", "an axis on a page"},
    {"HOE=", "HOE", "11", 11, 0, 511, STOPS, ANY, 0.01, 10.0, CLOSED, NO_ZERO, "cm",
        "height of axis numbers and captions; also scales the page layout", "lettering on a page"},
    {"HSYM=", "HSYM", "11", 11, 0, 511, STOPS, ANY, 0.0, 10.0, CLOSED, NO_ZERO, "cm",
        "height of marker symbols and legend lettering", "lettering on a page"},
    {"SCALE=", "SCALE", "11", 11, 0, 511, STOPS, ANY, -9.0, 9.0, CLOSED, NO_ZERO, "",
        "above 0: scaling lines follow; its magnitude: decimals of the axis numbers (0: 2)",
        "a count of decimals"},

    // Scaling lines: a value outside is set to 0 (automatic scaling) and the run goes on.
    {"(F)= (D)=", "value", "scaling", 12, 0, 512, GOES_ON, ANY, -1.0e30, 1.0e30, CLOSED, NO_ZERO, "",
        "value at the axis origin (F) and value per cm of axis (D) of a dimension class; 0: automatic",
        "an axis whose ends a single-precision number still holds"},

    // Diagram definitions.
    {"GITTER=", "GITTER", "16", 16, 0, 516, STOPS, ANY, 0.0, 99.0, CLOSED, NO_ZERO, "",
        "option code of the diagram: grid, T-S and p-V extras (9 and above: as 8)",
        "the codes there are, two digits"},
    {"NBILD=", "NBILD", "16", 16, 0, 516, STOPS, ANY, 0.0, 9.0, CLOSED, NO_ZERO, "",
        "legend of a T-S or p-V diagram: 0 name only, 1 work, 2 to 4 one efficiency, 5 and above all",
        "the legends there are"},
};

// The deck's keyword against a row's keyword: equal, or equal but for the row's "n" standing
// for a digit 1 to 4. Every scaling name ends in "(F)=", "(D)=", "F=" or "D=".
bool matches(std::string_view row, std::string_view kw) {
    if (row == "(F)= (D)=")
        return kw.ends_with("(F)=") || kw.ends_with("(D)=") || kw == "DMY12F=" || kw == "DMY12D=" ||
               kw == "DMY34F=" || kw == "DMY34D=";
    if (row.size() != kw.size()) return false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] == kw[i]) continue;
        if (row[i] == 'n' && kw[i] >= '1' && kw[i] <= '4') continue;
        return false;
    }
    return true;
}

// A row whose lower bound is minus another value of its line: the shrinking of the control
// volumes may have begun before the run starts, but not have ended (REGELN AB >= -IN). Empty
// for the other rows.
std::string_view lower_bound_by(const DeckRange& r) { return r.keyword == "REGELN AB" ? "IN" : ""; }

// The row with its lower bound taken from the other values of its line.
DeckRange with_own_bounds(const DeckRange& r, std::initializer_list<DeckValue> values) {
    DeckRange b = r;
    for (const DeckValue& v : values)
        if (!lower_bound_by(r).empty() && v.keyword == lower_bound_by(r)) b.lo = -v.value;
    return b;
}

// The value as a message shows it: whole numbers without decimals.
std::string value_text(double v) {
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1.0e15)
        return runtime::free_item(static_cast<long long>(v));
    return runtime::free_item(v);
}

std::string line_text(const DeckRange& r, int IZEILE) {
    std::string s = runtime::I(IZEILE, 2);
    if (r.part > 0) s += "/" + runtime::I(r.part, 2);
    return s;
}

void report(runtime::Units& units, int& NFAIL, const DeckRange& r, int IZEILE, std::string_view keyword, double v) {
    // Rows that stand for several keywords (VTE1= .. VTE4=, the scaling names) name the one given.
    const std::string_view name =
        r.keyword == keyword ? r.name : keyword.substr(0, keyword.find_last_not_of("=:") + 1);
    std::string text = " ===> FEHLER in der Eingabe ZEILE" + line_text(r, IZEILE) + ": " + std::string(name) + "=" +
                       value_text(v) + " liegt nicht im Bereich " + range_text(r, name, "oder");
    if (!r.unit.empty()) text += " " + std::string(r.unit);
    text += r.stops ? "; Programm STOP" : "; es wird mit 0 gerechnet";
    units.u6.line(text);
    units.u9.line(text);
    NFAIL = r.NFAIL;
}

}  // namespace

std::span<const DeckRange> deck_ranges() { return ROWS; }

const DeckRange* deck_range(std::string_view keyword, bool percent) {
    for (const DeckRange& r : ROWS) {
        if (!matches(r.keyword, keyword)) continue;
        if (r.per == Per::any || (r.per == Per::percent) == percent) return &r;
    }
    return nullptr;
}

bool in_range(const DeckRange& r, double v) {
    if (r.zero_ok && v == 0.0) return true;
    const bool above_lo = r.lo_open ? v > r.lo : v >= r.lo;
    return above_lo && v <= r.hi;  // false for NaN as well
}

std::string bound_text(double v) {
    char buf[32];
    if (v == std::trunc(v) && std::fabs(v) < 1.0e6) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
        return buf;
    }
    if (std::fabs(v) >= 1.0e6) {
        const int e = static_cast<int>(std::lround(std::log10(std::fabs(v))));
        const double m = v / std::pow(10.0, e);
        if (m == std::trunc(m)) {
            std::snprintf(buf, sizeof buf, "%.0fE%d", m, e);
            return buf;
        }
    }
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string range_text(const DeckRange& r, std::string_view name, std::string_view or_word) {
    const std::string n(name.empty() ? r.name : name);
    const std::string lo = lower_bound_by(r).empty() ? bound_text(r.lo) : "-" + std::string(lower_bound_by(r));
    std::string s = lo + (r.lo_open ? " < " : " <= ") + n + " <= " + bound_text(r.hi);
    if (r.zero_ok) s = n + " = 0 " + std::string(or_word) + " " + s;
    return s;
}

bool values_in_range(runtime::Units& units, int& NFAIL, std::initializer_list<DeckValue> values, bool percent) {
    for (const DeckValue& v : values) {
        const DeckRange* row = deck_range(v.keyword, percent);
        if (row == nullptr) continue;
        const DeckRange r = with_own_bounds(*row, values);
        if (in_range(r, v.value)) continue;
        report(units, NFAIL, r, r.IZEILE, v.keyword, v.value);
        return false;
    }
    return true;
}

void scaling_in_range(runtime::Units& units, int& NFAIL, int IZEILE, std::span<const std::string> names,
                      std::span<const double> written, std::span<float> values) {
    for (std::size_t k = 0; k < names.size() && k < values.size() && k < written.size(); ++k) {
        const std::string_view kw = std::string_view(names[k]).substr(0, names[k].find_last_not_of(' ') + 1);
        const DeckRange* r = deck_range(kw);
        if (r == nullptr || in_range(*r, written[k])) continue;
        report(units, NFAIL, *r, IZEILE, kw, written[k]);
        values[k] = 0.0f;
    }
}

}  // namespace korvex::run
