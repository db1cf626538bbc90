#pragma once
// The stroke font of the lettering: characters and centred marker symbols on a grid of 14
// units per character height. A glyph is one stroke: a move to its first point, then draws
// through the others (the pen may retrace to reach a new part of the character).
#include <array>
#include <cstdint>

namespace korvex::diagrams {

struct Glyph {
    int n = 0;                                   // points in use, at most 18
    std::array<std::array<std::int8_t, 2>, 18> pt{};  // (x, y) in font units, y upwards
};

constexpr int NFONTCHARS = 103;
constexpr int NMARKERS = 13;

// The glyph of a character, or nullptr when the character is not in the table (it is skipped
// but keeps its place).
const Glyph* char_glyph(unsigned char c);
// Marker symbol m (0..12), centred on the point (0, 0) of its grid... drawn with its lower left
// corner at the start point like a character; SYMBLI shifts it by half the symbol size.
const Glyph& marker_glyph(int m);

}  // namespace korvex::diagrams
