#pragma once
// Pieces of the machine derivation that other parts of the run control call on their own.
#include "state/program.hpp"
#include "runtime/units.hpp"

namespace korvex::run {

// Nozzle cross-sections and jet velocities, computed as soon as the second nozzle line is
// read; lists the injection data on unit 9 at detail level 5. derive_options computes them
// again (silently) in case this was not called.
void nozzle_geometry(RunState& m, runtime::Units& u);

// The moving liquid or piston masses with friction and damping, in the variant for NZYL, as
// the detail listing shows them; the first run's machine data sheet repeats them on unit 8.
void write_liquid_masses(const RunState& m, runtime::Unit& u);

// The machine of the run in brief: unit 9 at detail level 2, unit 6 at level 3. Written with
// the run's listing, after the machine is derived.
void write_machine_summary(const RunState& r, runtime::Units& u);

// The standard message of an input error of deck line IZEILE, to units 6 and 9.
void write_line_error(runtime::Units& u, int IZEILE);

}  // namespace korvex::run
