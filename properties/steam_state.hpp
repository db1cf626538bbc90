#pragma once
// State of the steam-property routines for one job: the error counter that silences PDAMPF
// after its eleventh error, and the one-time trace flags of the four input modes.
#include <array>

namespace korvex::properties {

struct SteamState {
    int NERR = 0;  // errors reported by PDAMPF since the job started
    // Per input mode 1..4 (index mode - 1): the first call of that mode is still to come.
    std::array<bool, 4> first_call{true, true, true, true};
};

// Every job starts with a fresh counter and fresh trace flags. The whole job is computed again
// at every paint, so a counter that lived for the process would leave PDAMPF silent and inert
// on every later paint once eleven errors had been seen.
inline void reset_for_job(SteamState& st) {
    st.NERR = 0;
    st.first_call = {true, true, true, true};
}

}  // namespace korvex::properties
