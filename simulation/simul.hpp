#pragma once
// SIMUL: the simulation of one run. Pre-calculation and start values, the time loop over the
// cylinder pairs with crank drive, rod forces and flywheel, the revolution evaluations, the
// plot points of the diagrams, and at the end the diagram driver.
#include "run/program.hpp"

namespace korvex::simulation {

void SIMUL(Program& p);

}  // namespace korvex::simulation
