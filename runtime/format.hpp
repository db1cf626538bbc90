#pragma once
// Fixed-layout pieces of a listing record, exactly as a Fortran run-time edits them, and the
// items of free-format records.
#include <string>
#include <string_view>

namespace korvex::runtime {

// Iw: right-justified integer, w asterisks when it does not fit.
std::string I(long long v, int w);
// Fw.d: fixed point, rounded to nearest (ties to even on the exact binary value), a leading
// zero only when there is room for it, "-0.00" for small negatives, w asterisks on overflow.
std::string F(double v, int w, int d);
// Ew.d: 0.ddddE+xx; a three-digit exponent drops the E (0.10000+101); w asterisks on overflow.
std::string E(double v, int w, int d);
// Aw: the text cut to w characters, or right-justified in w characters when shorter.
std::string A(std::string_view s, int w);
// nX: n blanks.
std::string X(int n);

// One item of a free-format record as it is written: integers plainly, reals in a compact form
// with up to 8 significant digits (single-precision values with their float digits).
std::string free_item(long long v);
std::string free_item(double v);
std::string free_item(float v);
// The same, appended to a record being built (no allocation once the record has its capacity).
void append_free_item(std::string& out, long long v);
void append_free_item(std::string& out, double v);

// Whether a listing's text shows a number that is not finite, as the edit descriptors above
// spell one ("NaN", "Infinity", also with a unit right behind it: "NaNCM**3"). A deck may hold
// such a word itself (in a title, a comment, a value in error), and the listings echo deck
// text: records that name their "ZEILE" or the reader "LESEPR" are passed over, and a word
// whose surroundings in its record (up to 8 characters either side) stand in the deck text as
// well is the deck's, not a number.
bool shows_non_finite(std::string_view listing, std::string_view deck = {});

}  // namespace korvex::runtime
