#pragma once
// Start of a run: the checks of the run values the time loop divides by, the pre-calculation
// of machine H1-K1 over one revolution at the start speed, and the start states of all pairs.
#include "simulation/comp.hpp"
#include "state/precalc_state.hpp"

namespace korvex {
struct Program;
}
namespace korvex::run {
struct RunState;
}

namespace korvex::simulation {

// Ambient pressure on the outer end of a piston rod, Bar.
inline constexpr double PU = 1.0;

// The most time steps a run may ask for (TIME / SCHRITT).
constexpr double MAX_STEPS = 1.0e7;

// Stops the job before the simulation when a run value would make the model divide by zero
// or never end (N0, THETA, SCHRITT, TIME not positive, too many steps): writes the
// message naming the keyword and its value to units 6 and 9, sets NFAIL to the input error of
// the deck line that carries it (501 for line 1, 506 for line 6) and returns false.
bool check_run_values(Program& p);

// Pre-calculation and start values: the run constants, one revolution of H1-K1 with the fine
// step (repeated with a wider marker tolerance while a marker angle is missed), the start
// states of the pairs in p.sim.pair, VORCOM per pair, the crankcase of the single-acting
// machine, the liquid columns, the start forces and the ideal comparison machine. Fills
// p.sim.pre, p.sim.comp and p.sim.comp_pair. Returns false when the run must end: NFAIL 199
// (markers not met after 10 passes) or above 880 (property error).
bool PRECALC(Program& p);

// COMP's inputs common to all pairs, from the run and the pre-calculation (p.sim.pre).
// HRVE and HRVC start at HRVE0 and HRVC0; the driver refreshes them every step.
CompCommon make_comp_common(const Program& p);

// The fixed inputs of pair n (1..4): dead heights, start reduced volume, gas charge, area
// factors, liquid temperatures. The driver sets the travels and the table angle every step.
CompPair make_comp_pair(const run::RunState& m, int n);

}  // namespace korvex::simulation
