#pragma once
// DIA: the diagrams of one run. For every drawable diagram it places the origin, checks the
// abscissa and the ordinates, scales the axes (writing automatic scales back into the class
// table), draws axes, titles, captions and the grid, one curve per ordinate with markers and a
// legend entry, the T-S and p-V extras, and writes its messages to units 6 and 9. A later run
// with IBACK > 0 adds its curves into the diagrams drawn before, on their scales.
#include <array>
#include <string>

#include "state/dia_state.hpp"
#include "state/program.hpp"

namespace korvex::diagrams {

void DIA(Program& p);

// What DIA takes from the simulation and the machine besides the plot series, gathered in one
// place (collect_dia_inputs) so the drawing code reads plain values. Index i is part-engine i+1.
struct DiaInputs {
    // State of each part-engine at the end of the run: the starting point of its T-S frame.
    std::array<double, 4> VG{}, S1{}, T1{}, S3{}, T3{};
    std::array<double, 4> M0{};       // gas amount, mol
    std::array<double, 4> XCVMOL{};   // heat capacity of the gas charge, W*s/K
    std::array<double, 4> XM0{};      // M0 * 8.315, W*s/K
    // Volume extremes of the part-engine's crank drive (drive 1 for 1 and 3, drive 2 for 2, 4).
    std::array<double, 4> VXMAX{}, VXMIN{};
    double TH = 0.0, TK = 0.0;           // starting temperatures of the machine
    double TE_MAX = 0.0, TC_MIN = 0.0;   // extreme cylinder temperatures for the frames
    bool FDAMPF = false;                 // vapour computed
    std::array<int, 7> IANGLE{};         // plot indices of the seven crank-angle marks
    std::array<double, 7> ANGLE{};       // their crank angles, degrees
    double ETA1 = 0.0, ETA2 = 0.0, ETA3 = 0.0;  // efficiencies shown in the legends, %
    std::string heading;                 // run heading drawn above the axes (131 characters)
};

DiaInputs collect_dia_inputs(const Program& p);

// Where the drawable diagrams of a run stand on the page: in columns of two, the k-th (from 0)
// at YY = (k mod 2) H, H = YL + 18 HOE, in column k div 2; a column is W = XL + 38 HOE wide,
// the room of one diagram with its axes, titles and legend, so that XX = (k div 2) W. A legend
// column reaching beyond that room (long legends, or a legend behind extra axes) widens its
// column, so that the legend stays clear of the next column and, in the last column, on the
// page. A diagram drawn before (AX = 1), which a later run adds its curves into, keeps its
// place.
struct Placement {
    int count = 0;         // diagrams placed
    float W = 0.0f;        // width of the last column, cm
    float H = 0.0f;        // height of a row, cm
    float xmax = 0.0f;     // x offset of the last column; 0 when all stand in the first
};
Placement place_diagrams(DiagramState& d, float XL, float YL, float HOE, float HSYM);

// x of the legend column of a diagram with NGROUPS ordinate axes, beside the right axis and
// any extra axes with their annotation.
float legend_x(int NGROUPS, float XL, float HOE);

// Curve counters of a diagram: colour 1..14, marker symbol 0..12 and the three marker
// positions in degrees of the curve's range. advance() is called once per ordinate slot.
struct CurveCounters {
    int colour = 0;
    int symbol = -1;
    std::array<int, 3> pos{80, 170, 280};
    int step = 25;
    void restart_colours() { colour = 0; symbol = -1; }
    // New diagram: positions restart; step 25 (15 when curves are added to earlier diagrams);
    // without markers (GITTER >= 5) positions and step are 0.
    void restart_positions(bool adding, int GITTER);
    void advance();
};

// Titles of the ordinate axes of a diagram: one per class in use, in order of appearance
// (first the left axis, then the right one, then the extra axes), each the names of its
// ordinates and the unit text. Returns their number.
int ordinate_titles(const DiagramDefinition& def, std::array<std::string, MAXORD>& titles);

// Smallest and largest finite value of the first N cells of a series, each with the index
// (0-based) of the first cell that holds it; the indices are -1 when no cell holds a number.
// The extremes listed for a curve and the automatic ordinate scales are taken from it.
struct SeriesRange {
    float lo = 0.0f, hi = 0.0f;
    int ilo = -1, ihi = -1;
};
SeriesRange series_range(const Series& s, int N);

// Index (1-based) of the marker at position POS on a curve of N points; 0 means no marker.
int marker_index(int POS, int N);

// Legend text of a curve: the name in 10 characters and, when an area was integrated, the work
// and efficiency pieces chosen by NBILD.
std::string legend_text(const std::string& name, bool integrated, int NBILD, double work,
                        double eta1, double eta2, double eta3);

}  // namespace korvex::diagrams
