#pragma once
// The run state: every deck value under its keyword name, the derived machine data and the
// run control's bookkeeping, reached as one area (p.run.P0, p.run.VH, p.run.NFAIL). Each part
// has its own header and owner; a name defined twice is a compile error, which is the point.
#include "state/control_state.hpp"
#include "state/deck_values.hpp"
#include "state/machine_data.hpp"

namespace korvex::run {

struct RunState : ControlState, DeckValues, MachineData {};

}  // namespace korvex::run
