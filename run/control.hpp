#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "state/program.hpp"

namespace korvex::run {

// The model's main routine: runs the job in the deck from where it stands, draws one page,
// and leaves NEWDIA (0: that was the last page; above 0: another page follows, and the next
// call continues the job on it).
void run_control(Program& p);

// A text the end of a job letters onto the page: position and height in cm (a position of
// diagrams::CONTINUE goes on behind the previous text).
struct PageText {
    float X = 0.0f, Y = 0.0f, H = 0.0f;
    std::string text;
};

// Where the listings of a job are, as the page tells the user after an error.
inline constexpr std::string_view UNIT_HINT = "See Output on Units 6, 8 and 9 (KORVEX.F06 .F08 .F09)";

// The texts the end of a job puts on the page, in drawing order, for the error number NFAIL
// (0: none), the deck line LINE it names (0: none) and whether the job drew no diagram. The
// number itself follows them behind "ERROR Number: ".
std::vector<PageText> end_of_job_texts(int NFAIL, int line, bool no_diagrams);

}  // namespace korvex::run
