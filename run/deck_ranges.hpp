#pragma once
// The value ranges of the deck: for every number a deck line carries, the range a real machine
// (or a sensible listing) can have, with its unit and what the bounds mean. The deck reader
// checks each value right after reading it; a value outside its range is an input error of its
// line and is never computed with. The same table feeds `korvex --explain` and the deck
// reference, so the checks, their messages and the documentation cannot drift apart.
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "runtime/units.hpp"

namespace korvex::run {

// Which form of a line a row belongs to: lines 6, 7 and the dead-space deviations give their
// volumes either in % (a "%" on the line) or in cm**3.
enum class Per { any, percent, volume };

struct DeckRange {
    std::string_view keyword;  // as searched in the line ("DH=", "NACH:", "REGELN AB", "VTEn=")
    std::string_view name;     // as the messages name it ("DH", "NACH", "VOLUMEN", "VTEn")
    std::string_view line;     // the deck line, as the reference names it ("4", "2 ISO", "nozzle 1")
    int IZEILE;                // line number in the messages
    int part;                  // second line number of the POLY lines (ZEILE 2/part), else 0
    int NFAIL;                 // error number of a value outside the range
    bool stops;                // whether that error stops the job (scaling values: the run goes on)
    Per per;
    double lo, hi;
    bool lo_open;              // lo itself is outside the range
    bool zero_ok;              // 0 is allowed besides the range (it selects a default or a carry-over)
    std::string_view unit;     // "cm", "bar", "K", "%", ...; empty for a pure number
    std::string_view meaning;  // what the value is
    std::string_view bounds;   // what the bounds mean
};

// Every row, in the order of the deck lines.
std::span<const DeckRange> deck_ranges();

// The row of a keyword (a digit 1 to 4 in place of the row's "n", as in "VTE3="; any of the 66
// scaling names for the row "(F)= (D)="), in the form `percent` selects where a line has two.
// Null when the keyword has no row.
const DeckRange* deck_range(std::string_view keyword, bool percent = false);

// Whether v lies in the row's range.
bool in_range(const DeckRange& r, double v);

// The range as the messages and the reference show it: "0 < DH <= 1000", "LR = 0 or 1 <= LR
// <= 1000" (the listing says "oder"); `name` in place of the row's name when given.
std::string range_text(const DeckRange& r, std::string_view name = {}, std::string_view or_word = "or");

// A bound as the messages and the reference write it: "1000", "0.001", "1E8".
std::string bound_text(double v);

// One value of a line as read, under its keyword.
struct DeckValue {
    template <class T>
    DeckValue(std::string_view k, T v) : keyword(k), value(static_cast<double>(v)) {}
    std::string_view keyword;
    double value;
};

// Checks the values of one line, in order. At the first value outside its range: the message
// naming the keyword, the value and the range goes to units 6 and 9, NFAIL is set to the
// line's error number, and the result is false. The message goes to `units`. `percent` selects the % form of a line.
bool values_in_range(runtime::Units& units, int& NFAIL, std::initializer_list<DeckValue> values, bool percent = false);

// The scaling values after scaling line IZEILE, judged as the deck writes them (`written`):
// a value outside its range is reported with NFAIL = 512 and set to 0 in `values` (the axis is
// scaled automatically); the run goes on.
void scaling_in_range(runtime::Units& units, int& NFAIL, int IZEILE, std::span<const std::string> names,
                      std::span<const double> written, std::span<float> values);

}  // namespace korvex::run
