#pragma once
// The number scan behind a keyword, shared by LESEPR and READRL, and the small pieces of the
// readers' messages.
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/units.hpp"

namespace korvex::input {

// Where the text of one number lies in a line. Positions are 0-based; the text is
// line[ISTART, JEND). JEND has already lost the blanks counted behind the digits and, when a
// comma was seen, is placed as the comma rule leaves it.
struct ScannedValue {
    std::size_t ISTART = 0;
    std::size_t JEND = 0;
    bool comma_inside = false;  // a comma stands inside the number (reported, text still kept)
    bool no_digit = false;      // nothing that starts a number was found
    // Characters from the end of the search string to the end of the number.
    std::size_t NDIG() const { return JEND > ISTART ? JEND - ISTART : 0; }
};

// Scans the number that begins at ISTART (the first character after the search string).
ScannedValue scan_value(std::string_view line, std::size_t ISTART);

// The line as a fixed record of 80 characters: blank-padded or cut on the right.
std::string line80(std::string_view line);

// At detail level 5 a reader states on both short and detail listing which deck line it works
// on: its heading with the line number, then the line as a free-format record.
void trace_line(runtime::Units& u, std::string_view heading, int IZEILE, std::string_view ZLINE);

// A search string that was not given counts as a single blank.
inline std::string_view given_or_blank(std::string_view s) { return s.empty() ? std::string_view(" ") : s; }

}  // namespace korvex::input
