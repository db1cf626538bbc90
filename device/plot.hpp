#pragma once
// The pen routines of the plot device: centimetres in, pixels out.
#include "device/device.hpp"

namespace korvex::device {

// Plot area of XL by YL centimetres at drawing factor FACT.
void PLOTS(Plotter& p, float XL, float YL, float FACT);
// Pen action: 3 move, 2 draw, negative: origin shift, -999 end of page, 999 end of job.
void PLOT(Plotter& p, float X, float Y, int IPEN);
// One polyline through N points.
void POLYLN(Plotter& p, const float* X, const float* Y, int N);
// The last point mapped, in user units relative to the origin in force, and FACT.
void WHERE(const Device& d, float& X, float& Y, float& F);
// The box from (X0, Y0) to (X1, Y1), user centimetres, to the lettering record of the device
// when it keeps one.
void note_lettering(Plotter& p, float X0, float Y0, float X1, float Y1, Lettering kind);
// New pen: line style, width, colour index.
void SETPEN(Plotter& p, int S, int W, int C);

}  // namespace korvex::device
