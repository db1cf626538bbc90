#pragma once
// Evaluation of a completed revolution: per-revolution works and powers, efficiencies, the
// comparison with the ideal Stirling process and the ideal reference machine, the revolution
// listings on units 6 and 9, the row block of the results table on units 8 and 9, the
// per-revolution diagram curves, and the reset of the revolution extremes.
#include <string>
#include <string_view>

#include "state/program.hpp"

namespace korvex::simulation {

// Called by SIMUL inside the step in which crank 1 passes the end of revolution NREVC, after
// all pair states of the step are known. Sets NREV = NREVC, asks for a plot point in this
// step, sets XTR, advances NREVC and PHIREV, evaluates and lists the revolution.
void evaluate_revolution(Program& p);

// Characters 1 to 58 of the run's results row (columns 1 to 9: run number NLAUF, DKST,
// EPSILON_E, TAA1, VE1, VH00E1, VR, VH00C1, P0), blank-padded to 133. The evaluation builds
// them in the first revolution when ROW does not hold them yet.
std::string results_row_start(const run::RunState& r);

// The results-table head of 12 lines (unit 9 gets it before every row block; the run control
// writes it once on unit 8).
void write_table_head(runtime::Unit& u);

// Per-revolution recorder: writes VALUE, in single precision, into the plot points NANF..NEND
// of ordinate slot J (1..8) of diagram K (1..10), and sets the first point of the next
// revolution, NANF, to NEND + 1. KIND: 1 work power, 2 liquid volume flow, 3 pump power
// (the listing's unit text). Points outside 1..2001 are not written.
void ORDREV(Program& p, double VALUE, int K, int J, int& NANF, int NEND, int NREV, int KIND,
            std::string_view NAME);

}  // namespace korvex::simulation
