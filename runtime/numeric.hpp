#pragma once
// Arithmetic guards shared by the model's routines.
#include <cmath>

namespace korvex::runtime {

// a / b, or 0 where the divisor is 0 or the quotient is not a finite number: a degenerate
// state (an empty space, no flow, a frame of no extent) then yields zeros instead of carrying
// a NaN or an infinity into the listings and the plot series.
inline double quot(double a, double b) {
    if (b == 0.0) return 0.0;
    const double q = a / b;
    return std::isfinite(q) ? q : 0.0;
}

}  // namespace korvex::runtime
