#pragma once
// The plot library on top of the plot device: scaling of a series to an axis, labelled axes,
// numbers and lettering in the stroke font, marker symbols, curves and grids. Lengths are
// centimetres of page space, angles degrees counter-clockwise from the x axis.
//
// A series of N points with stride K keeps its scale behind its values: cell N*K+1 holds
// FIRST_V (the value at the axis origin) and cell N*K+1+K holds DELTA_V (value per cm); in the
// zero-based spans here those are indices N*K and N*K+K.
#include <span>
#include <string>
#include <string_view>

#include "device/device.hpp"

namespace korvex::diagrams {

// A coordinate of SYMBOL or NUMBER equal to this continues at the current pen position.
constexpr float CONTINUE = 999.0f;
// Height of the markers KURVE puts on a curve, cm.
constexpr float KURVE_SYMBOL_HEIGHT = 0.2f;

// Nice scale of N points (stride |K|) for an axis of L cm; K < 0 gives a descending axis.
// Nothing is stored when N, K or L leave no scale to compute or the cells lie beyond A.
void SKALIE(std::span<float> A, float L, int N, int K);

// Axis of L cm at (X, Y) and ANGLE: line, a tick per cm, numbers at height H and the title.
// NC > 0 annotates the counter-clockwise side, NC < 0 the clockwise side; |NC| is the title
// length. NDEC < 0 chooses the decimals from DELTAV.
void ACHSE(device::Plotter& p, float X, float Y, std::string_view TITLE, int NC, float L,
           float ANGLE, float FIRSTV, float DELTAV, int NDEC, float H);

// The pieces of an axis, for ACHSE and for anyone who lays out text beside an axis:
// the exponent E that brings |DELTAV| into 0.01 .. 999 (labels show value * 10**-E), and the
// decimals of the labels (NDEC itself when NDEC >= 0, else chosen from DELTAV).
int axis_exponent(float DELTAV);
int axis_decimals(float DELTAV, int NDEC);
// The characters NUMBER draws for VALUE with NDEC decimals (NDEC at most 9), leading blanks
// removed.
std::string number_text(float VALUE, int NDEC);

// VALUE as text with NDEC decimals (NDEC < 0: rounded to 10**(-NDEC-1), no decimal point).
void NUMBER(device::Plotter& p, float X, float Y, float H, float VALUE, float ANGLE, int NDEC);

// N characters of TEXT with the lower left corner of the first at (X, Y). H < 0 letters
// narrowly (advance 6/7 of the height).
void SYMBOL(device::Plotter& p, float X, float Y, float H, std::string_view TEXT, float ANGLE,
            int N);

// Length of N characters lettered at height H, cm.
float lettering_length(float H, std::size_t N);

// Marker symbol ISYM (0..12) centred on (X, Y); N must be -1.
void SYMBLI(device::Plotter& p, float X, float Y, float H, int ISYM, float ANGLE, int N);

// Curve of N points (stride K) on the scales behind the two series; J != 0 puts marker L on
// every |J|-th point. Drawn from the end nearer the pen, as one polyline.
void KURVE(device::Plotter& p, std::span<const float> X, std::span<const float> Y, int N, int K,
           int J, int L);

// KURVE without markers, cut to the axis rectangle 0..XL by 0..YL: only the parts of the curve
// inside are drawn, one polyline each. A curve that lies wholly inside is drawn exactly as KURVE
// draws it. For curves on scales not made for their data (scales from the deck, from an earlier
// diagram or run), for ideal frames and the like.
void clipped_curve(device::Plotter& p, std::span<const float> X, std::span<const float> Y, int N,
                   int K, float XL, float YL);
// Whether the point (X, Y) in axis centimetres lies on the axis rectangle 0..XL by 0..YL.
bool on_axes(float X, float Y, float XL, float YL);

// Frame of XSIZE by YSIZE cm at (X, Y) with minor grid steps XSTEP, YSTEP and major steps
// XMAJ, YMAJ (negative: logarithmic decades of that length).
void NETZ(device::Plotter& p, float X, float Y, float XSIZE, float YSIZE, float XSTEP,
          float YSTEP, float XMAJ, float YMAJ);

}  // namespace korvex::diagrams
