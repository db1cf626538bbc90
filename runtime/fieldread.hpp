#pragma once
// Fixed-field numeric reads with Fortran rules: blanks are ignored, a number without a point is
// whole, an exponent may follow (E, D, or a bare sign). A field that is not a number is a
// failure reported to the caller (no value), never an exception.
#include <optional>
#include <string_view>

namespace korvex::runtime {

// Fw.0 (the R fields of the deck are F11.0): an all-blank field reads as 0.
std::optional<double> read_real_field(std::string_view field);
// Iw: an all-blank field reads as 0; a value outside the 32-bit range is a failure.
std::optional<int> read_int_field(std::string_view field);

// Field k (0-based) of width w from a buffer, blank-padded when the buffer is short.
std::string_view field_of(std::string_view buffer, int k, int w);

}  // namespace korvex::runtime
