#pragma once
// The fixed pieces of a run's listing: the caption line drawn on the diagrams, the run's own
// columns of the results row, the unit-8 heading of a run, the machine data sheet with its
// legend and the head of the results table, and the echo of the run's gas and filling data.
#include <string>
#include <string_view>

#include "state/run_state.hpp"
#include "runtime/units.hpp"

namespace korvex::run {

// The caption line of a run: 131 characters, the date stamp in columns 1 to 23, the run's
// pressure, crank, bores, temperatures, control or dead volumes, rod ratio or phase and
// regenerator volume from column 24, and with the vapour component the gas option in columns
// 127 to 131.
std::string caption_line(const RunState& r, std::string_view stamp);

// Characters 1 to 58 of the results row: run number, rod, exponent, start temperature, volumes
// and the filling pressure, each column closed by "|". ROW is made 133 characters long.
void write_row_start(const RunState& r, std::string& ROW);

// Unit 8 heading of run NLAUF + 1 (the run heading, the mode line or the polytropic block, the
// nozzle lines, and from the second run on the first three lines of the table head), written
// in the first run and whenever the operating mode changes; the raw lines also go to unit 9 at
// level 1 and unit 6 at level 2 when level 5 is off.
void write_run_heading(const RunState& r, runtime::Units& u);

// The first three lines of the results-table head, which open every later run on unit 8.
void write_table_head_start(runtime::Unit& u);

// The legend of the results table (unit 8 at level 4 in the first run).
void write_legend(runtime::Unit& u);

// The machine data sheet of the first run on unit 8, with the legend at level 4 and the head
// of the results table.
void write_data_sheet(const RunState& r, runtime::Units& u);

// The run's gas properties, filling data and regenerator energy, at their detail levels.
void write_gas_echo(const RunState& r, runtime::Units& u);

}  // namespace korvex::run
