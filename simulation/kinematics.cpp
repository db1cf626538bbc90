// Crank drive formulas.
#include "simulation/kinematics.hpp"

#include <cmath>

namespace korvex::simulation {

namespace {

// sqrt(LR**2 - sin**2): the rod's projection over the cylinder axis, in crank radii. A rod
// not longer than the crank would make it vanish (or turn imaginary) near mid-stroke; it is
// held at a small positive value there, so the formulas stay finite.
double rod_root(double s, double LR) {
    const double w2 = LR * LR - s * s;
    constexpr double W2MIN = 1.0e-12;
    return std::sqrt(w2 > W2MIN ? w2 : W2MIN);
}

}  // namespace

double crank_travel(double s, double c, double R, double LR) {
    if (LR <= 0.0) return R * (1.0 - c);
    return R * (1.0 - c) + R * (LR - rod_root(s, LR));
}

CrankState crank_motion(double s, double c, double R, double LR, double OMEGA) {
    CrankState k;
    // The second throw has sine and cosine negated, and so the same rod root.
    if (LR <= 0.0) {
        k.X = R * (1.0 - c);
        k.XP = R * (1.0 + c);
        k.U = R * OMEGA * s;
        k.B = R * OMEGA * OMEGA * c;
        return k;
    }
    const double W = rod_root(s, LR);
    const double c2 = c * c, s2 = s * s;
    k.X = R * (1.0 - c) + R * (LR - W);
    k.XP = R * (1.0 + c) + R * (LR - W);
    k.U = R * OMEGA * s * (1.0 + c / W);
    k.B = R * OMEGA * OMEGA * (c + c2 * s2 / (W * W * W) + (c2 - s2) / W);
    return k;
}

double crank_travel_at(double phi, double R, double LR) {
    return crank_travel(std::sin(phi), std::cos(phi), R, LR);
}

CrankState crank_motion_at(double phi, double R, double LR, double OMEGA) {
    return crank_motion(std::sin(phi), std::cos(phi), R, LR, OMEGA);
}

}  // namespace korvex::simulation
