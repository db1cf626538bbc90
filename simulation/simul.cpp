// SIMUL: the simulation of one run.
#include "simulation/simul.hpp"

namespace korvex::simulation {

void SIMUL(Program&) {}

}  // namespace korvex::simulation
