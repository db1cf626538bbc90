#pragma once
// The run state: every deck value under its keyword name, the derived machine data and the
// run control's bookkeeping. Plain data; every layer that takes the Program may read it.
#include <array>
#include <string>

namespace korvex::run {

struct RunState {
    // Run control (job and process).
    int NFAIL = 0;
    int NEWDIA = 0;
    int NLAUF = 0;
    int IERR_READERS = 0;  // the keyword readers' shared error flag

    // Deck values and derived machine data are added by the deck and machine routines.
};

}  // namespace korvex::run
