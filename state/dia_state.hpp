#pragma once
// Diagram definitions of a run, the scale table of the dimension classes and the plot series.
#include <array>
#include <string>

namespace korvex::diagrams {

constexpr int MAXDIA = 10;       // diagrams per run
constexpr int MAXORD = 8;        // ordinate slots per diagram
constexpr int NCLASS = 33;       // dimension classes
constexpr int NPLOTMAX = 2001;   // plot points per series
constexpr int NSERIES = 2003;    // cells of a series: values, FIRST_V, DELTA_V
constexpr int NGLOBAL = 149;     // global plottable quantities (catalogue positions 557..705)

// How a diagram was drawn: its axis lengths and lettering heights, its legend column (x, and
// the top of the room still free in it, cm) and whether its crank-angle key stands. Curves that
// later runs add into the diagram are drawn on these, whatever those runs give themselves.
struct DrawnFrame {
    float XL = 0.0f, YL = 0.0f, HOE = 0.0f, HSYM = 0.0f;
    float legx = 0.0f, legtop = 0.0f;
    bool key = false;
    std::array<std::array<float, 4>, 4> labels{};  // isotherm labels drawn in it (x0, y0, x1, y1)
    int nlabels = 0;
};

struct DiagramDefinition {
    int FREI = 0;                                  // 1: defined and drawable
    std::string abscissa = std::string(6, ' ');
    int GITTER = 0;
    int NBILD = 0;
    std::array<std::string, MAXORD> ordinate{};    // 6 characters each, blank when not given
    int NORD = 0;
    std::array<std::string, 3> caption{};          // text after the ":" of up to 3 caption lines
    int ncaption = 0;
    float XX = 0.0f, YY = 0.0f;                    // origin on the page, cm
    int AX = 0;                                    // 1 once the axes are drawn
    DrawnFrame drawn_as;                           // set when its axes are drawn
    int abscissa_pos = 0, abscissa_class = 0;      // name resolution; 0 = not resolved
    std::array<int, MAXORD> IO{};                  // ordinate positions
    std::array<int, MAXORD> ID{};                  // ordinate classes

    DiagramDefinition() { ordinate.fill(std::string(6, ' ')); }
};

// A series: cells 1..N (index 0..N-1 here) values, cell N+1 FIRST_V, cell N+2 DELTA_V.
using Series = std::array<float, NSERIES>;

// The curves of one diagram: the abscissa and one series per ordinate slot.
struct DiagramSeries {
    Series x{};
    std::array<Series, MAXORD> y{};
};

// Where one series takes its value at a plot instant, fixed when the names are resolved:
// field `field` of pair record `pair` (0..3), or global value `field` when pair is -1.
// slot 0 is the abscissa, 1..8 the ordinate slots.
struct SeriesSource {
    int dia = 0;
    int slot = 0;
    int pair = -1;
    int field = 0;
};

struct DiagramState {
    std::array<DiagramDefinition, MAXDIA> def{};
    int IIFREI = 0;                                // definitions read in this run
    // The 66 scaling values of the deck: class k has FIRST_V at 2k-2 and DELTA_V at 2k-1.
    std::array<float, 2 * NCLASS> scaling{};
    std::array<float, 2 * NCLASS> saved_scaling{}; // kept for the page (IBACK)
    // The run's definitions were read before its page break: 1, or 2 when their reading
    // stopped the job; 0 otherwise.
    int read_ahead = 0;
    // Scale table: FIRST_V(k), DELTA_V(k) for class k = 1..33 (index k-1).
    std::array<float, NCLASS> FIRST_V{};
    std::array<float, NCLASS> DELTA_V{};

    // Plot data of the run. The simulation keeps the global quantities in G (index
    // GlobalField::..., catalogue position 557 + index) and stores a point with
    // store_plot_point; NPLOT is the number of points stored.
    std::array<double, NGLOBAL> G{};
    std::array<DiagramSeries, MAXDIA> series{};
    int NPLOT = 0;
    // Curve colour and marker symbol counters of the diagram driver; a run that adds curves
    // into earlier diagrams carries them on, so its curves differ from the old ones.
    int ICOLOR = 0;
    int ISYMB = -1;
    std::array<SeriesSource, MAXDIA * (1 + MAXORD)> source{};
    int nsource = 0;
};

// The run's page as every diagram of it is drawn: the number of plot points, axis lengths and
// lettering heights, the decimals of the axis numbers, and whether the run adds its curves into
// the diagrams of the run before. The diagram driver fills it once per run.
struct DiagramPage {
    int N = 0;                                     // points of every series
    float XL = 0.0f, YL = 0.0f;                    // axis lengths, cm
    float HOE = 0.0f, HSYM = 0.0f;                 // lettering and symbol heights, cm
    int NDEC = -2;                                 // decimals of the axis numbers
    int NZYL = 1;                                  // pairs computed
    bool adding_run = false;                       // 0 < IBACK < 10 in a later run
};

// Ordinate groups of a diagram: the usable ordinate slots by class, in order of appearance.
// Group 0 is the left axis, group 1 the right one, the others the extra axes.
struct OrdinateGroups {
    int n = 0;
    std::array<int, MAXORD> cls{};
    std::array<std::array<int, MAXORD>, MAXORD> slot{};
    std::array<int, MAXORD> count{};
};

// What the steps of one diagram hand on to each other: its abscissa, its ordinate groups,
// which scales were made from its own values, the legend column, the T-S frame and the p-V
// isotherms (drawn once per diagram, with the first curve that asks for them), and the slots
// whose curves were drawn, for the results observer.
struct DiagramWork {
    int ND = 0;                                    // diagram number, 1..MAXDIA
    int IA = 0;                                    // catalogue position of the abscissa
    int ka = 0;                                    // its class
    int pe = 0;                                    // its part-engine, 1..4; 0 for none
    std::string xname;                             // its name, trimmed
    OrdinateGroups g;
    bool x_own = false;                            // abscissa scale made from its own values
    std::array<bool, MAXORD> y_own{};              // the same per ordinate slot
    float legx = 0.0f;                             // x of the legend column, cm
    float legh = 0.0f;                             // lettering height of the run's legend entries
    bool key_drawn = false;                        // the crank-angle key stands
    bool frame_done = false;                       // the T-S frame was tried
    bool frame_built = false;                      // ... and built, enclosing frame_integral
    double frame_integral = 0.0;
    bool iso_done = false;                         // the p-V isotherms were tried
    std::array<int, MAXORD> drawn{};               // ordinate slots drawn (0-based)
    int ndrawn = 0;
};

}  // namespace korvex::diagrams
