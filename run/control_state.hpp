#pragma once
// The run control's own bookkeeping (job and process life).
#include <array>
#include <string>

namespace korvex::run {

struct ControlState {
    int NFAIL = 0;         // the job's error number ("FEHLER Nr.")
    int NEWDIA = 0;        // page counter handed back to the shell
    int NLAUF = 0;         // completed runs of the job
    int IERR_READERS = 0;  // the keyword readers' shared error flag
    std::string pending_line = std::string(80, ' ');  // raw line 1 of the next run
};

}  // namespace korvex::run
