#pragma once
// Reading the input deck, run by run: the common line handling, lines 1 to 11 of a run with
// their checks, corrections and messages, and the scaling lines and diagram definitions.
//
// The run control reads a run in two steps: read_run_head (defaults and lines 1 to 11) and,
// at its continuation point, read_run_diagrams (scaling lines and diagram definitions). The
// raw line that is line 1 of the next run is kept in the run state's pending_line.
#include <string>
#include <string_view>

#include "state/program.hpp"

namespace korvex::run {

// How reading a run ended.
enum class DeckStatus {
    run,              // the run's lines are complete; the run is computed
    run_diagrams,     // read_run_head only: a diagram line was read, scaling lines and
                      // diagram definitions follow (read_run_diagrams)
    run_no_diagrams,  // read_run_head only: no diagram line; the optional line that ended the
                      // run is the pending line
    run_then_end,     // the input ended after a complete run: compute it, then end the job
    stop,             // a "STOP" line: the job ends normally
    error,            // a stopping input error: p.run.NFAIL set, messages written. The input
                      // ending in the middle of a run is one: that run is not computed, and
                      // NFAIL is the number of the line that is missing
};

// One deck line: the raw text (80 characters, echoed as written) and its upper-case copy in
// which keywords are searched.
struct DeckLine {
    std::string raw;
    std::string norm;
    std::string cut;  // a number or keyword that column 80 cuts in two, as written; empty if none
};

// The common deck line read: reads lines until one is neither a comment ("***" anywhere) nor
// blank, echoing each at detail level 4, and upper-cases it. False at the end of the input.
// Text beyond column 80 that cuts nothing is noted with a warning; a word it cuts is left in
// `cut` for the reader of the line, whose input error it is.
bool read_deck_line(runtime::Units& u, DeckLine& line);

// Job start: reads the first line of the deck into the pending line. False at end of input.
bool read_first_line(runtime::Units& u, ControlState& c);

// Defaults of a run, then lines 1 to 11 from the pending line on, one step per line (its
// defaults also clear the run's diagram count, and line 11 sets the device's MONO). Returns
// run_diagrams, run_no_diagrams, run_then_end, stop or error.
DeckStatus read_run_head(Program& p);

// Scaling lines (SCALE > 0) into dia.scaling and up to ten diagram definitions into
// dia.def / dia.IIFREI; the line after them becomes the pending line. Returns run,
// run_then_end or error.
DeckStatus read_run_diagrams(runtime::Units& u, RunState& r, diagrams::DiagramState& dia);

// The 50-character description of a formula choice of the vapour calculation ("DQD",
// "DQDAMPF", "DSD", "DS3"); blanks for a value that selects no formula.
std::string vapour_definition_text(std::string_view name, int value);

// The four formula choices of the run, as the run echo lists them with the vapour component
// (unit 6 at level 4, unit 9 at level 2).
void write_vapour_definitions(const DeckValues& d, runtime::Units& u);

// The block of the polytropic mode (exponents and start temperatures) on one unit, as it
// stands in the listings and with the run heading of unit 8.
void write_poly_block(const DeckValues& d, runtime::Unit& u);

}  // namespace korvex::run
