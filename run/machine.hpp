#pragma once
// The machine of a run, derived from its deck values once the deck lines are read.
#include "state/program.hpp"

namespace korvex::run {

// Areas, swept, dead and control volumes, the volume scan with the start angle, the gas
// charge and its properties, and the effective temperatures of the operating mode, with
// their listings. False after a stopping error (NFAIL set, message written).
bool derive_geometry(RunState& m, runtime::Units& u);

// Flywheel, liquid columns or pistons, injection nozzles, with their listings. Runs after
// derive_geometry. False after a stopping error (NFAIL set, message written).
bool derive_options(RunState& m, runtime::Units& u);

}  // namespace korvex::run
