#pragma once
// Crank drive: piston travel, speed and acceleration at a crank angle, for the purely
// sinusoidal drive (LR <= 0) and for the drive with a connecting rod of LR crank radii.
// The step computes the sine and cosine of each crank once and hands them in; the second
// throw of a crank, half a turn on, has both negated.

namespace korvex::simulation {

struct CrankState {
    double X = 0.0;   // travel from the top position, cm
    double U = 0.0;   // speed, cm/s
    double B = 0.0;   // acceleration, cm/s2
    double XP = 0.0;  // travel of the throw half a turn on, cm
};

// Travel alone, from the sine and cosine of the crank angle.
double crank_travel(double s, double c, double R, double LR);
// Travel, speed and acceleration at angular speed OMEGA, and the travel of the second throw.
CrankState crank_motion(double s, double c, double R, double LR, double OMEGA);
// The same from the angle itself (radians).
double crank_travel_at(double phi, double R, double LR);
CrankState crank_motion_at(double phi, double R, double LR, double OMEGA);

// A crank angle within a revolution (degrees) as a diagram marker. The end of a revolution
// is the start of the next, and the search for a marker closes at the revolution's end: an
// extreme taken within the last step (of STEP degrees) before 360, or at the step that passes
// 360, marks the start of the revolution: 0.
inline double marker_angle(double deg, double step) {
    if (deg > 360.0 - step) return deg > 360.0 ? deg - 360.0 : 0.0;
    return deg;
}

}  // namespace korvex::simulation
