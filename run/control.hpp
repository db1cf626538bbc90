#pragma once
#include "run/program.hpp"

namespace korvex::run {

// The model's main routine: runs the job in the deck from where it stands, draws one page,
// and leaves NEWDIA (0: that was the last page; above 0: another page follows).
void run_control(Program& p);

}  // namespace korvex::run
