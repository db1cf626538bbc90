#pragma once
// The stroke font of the lettering: characters and centred marker symbols on a grid of 14
// units per character height. A glyph is a pen path of at most 18 points: a move to its first
// point, then draws through the others (the pen may retrace to reach a new part of the
// character). Where a character has separate parts (the dot of "i", the two bars of "=", the
// dots of the umlauts) a point may be flagged as a move instead of a draw.
#include <array>
#include <cstdint>

namespace korvex::diagrams {

struct Glyph {
    int n = 0;                                   // points in use, at most 18
    std::array<std::array<std::int8_t, 2>, 18> pt{};  // (x, y) in font units, y upwards
    std::uint32_t moves = 0;                     // bit i set: point i is reached by a move

    bool is_move(int i) const { return i == 0 || ((moves >> i) & 1u) != 0; }
};

constexpr int NFONTCHARS = 103;
constexpr int NMARKERS = 13;

// The glyph of a character, or nullptr when the character is not in the table (it is skipped
// but keeps its place). The table holds the printable ASCII characters 32..126 and, in
// ISO-8859-1 codes, the umlauts Ä Ö Ü ä ö ü, ß and the degree sign.
const Glyph* char_glyph(unsigned char c);
// Marker symbol m (0..12; others are held to that range), drawn like a character with its lower
// left corner at the start point and its centre at (7, 7) of the grid; SYMBLI shifts it by half
// the symbol size so that the centre lands on the point. 0 square, 1 circle, 2 triangle,
// 3 plus, 4 cross, 5 diamond, 6 asterisk, 7 inverted triangle, 8 hourglass, 9 Y, 10 crossed
// square, 11 star, 12 crossed circle.
const Glyph& marker_glyph(int m);

}  // namespace korvex::diagrams
