#pragma once
// SIMUL: the simulation of one run. Pre-calculation and start values, the time loop over the
// cylinder pairs with crank drive, rod forces and flywheel, the revolution evaluations, the
// plot points of the diagrams, and at the end the diagram driver.
#include "state/program.hpp"

namespace korvex::simulation {

void SIMUL(Program& p);

// Step adaptation: the step DELT_NEU after the step that ended at ANGLE1 (rad), at angular
// speed OMEGA. The nominal SCHRITT, except when the crank would pass the end of the revolution
// PHIREV or the half-revolution mark PHIHALF: then the step is cut so that the crank passes the
// mark by SCHRITT_100 of a nominal angle step, and a passed half mark moves on to PHIREV + pi.
// Returns whether the step was cut; TARGET is then the mark.
bool cut_step(double ANGLE1, double OMEGA, double SCHRITT, double SCHRITT_100, double PHIREV,
              double& PHIHALF, double& DELT_NEU, double& TARGET);

// Direction of the seal friction on a rod: it acts against the motion, and a rod at rest
// counts as moving forward.
inline double seal_direction(double UD) { return UD >= 0.0 ? 1.0 : -1.0; }

// The header of the printed lines on unit 9: " TIME " and the names of the ordinates that the
// printed lines carry, in their order. Written before the loop and after each revolution's
// last output.
void print_header(runtime::Units& u, SimState& s, const diagrams::DiagramState& d);

// The global plottable values of the current step, written into the diagram state.
void fill_globals(diagrams::DiagramState& d, const SimState& s, const run::RunState& r);

// The flywheel over one step: the angular acceleration DWDT from the net rod forces FNI, FNII
// at the step means of the crank speeds, the new OMEGA and RPM, and the flywheel power DATETA,
// whose integral over the step is THETA (OMEGA**2 - OMEGAV**2) / 2 (in 10**-7 of the units of
// THETA OMEGA**2).
void flywheel_step(SimState& s, const LoopConstants& c);

}  // namespace korvex::simulation
