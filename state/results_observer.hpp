#pragma once
// The results of a job as numbers, for whoever keeps them besides the listings: the results-table
// row of every evaluated revolution and the series of every diagram drawn. The model hands them
// to the observer the Program names (none by default) and never learns where they go.
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korvex {

// The quantities of a results-table row block, in the order of the table's columns (within a
// column from its first line down), each with its name and unit as the table's legend gives
// them. The run and revolution numbers stand before them in every row.
enum class ResultColumn : std::size_t {
    DKST, DH, DK, STROKE,                 // column 2
    KAPA_EXP, KAPA_COMP,                  // 3
    TH, TK, TE_MAX, TC_MIN,               // 4
    STROKE_VOL_EXP, STROKE_VOL_COMP,      // 5
    DEAD_VOL_EXP,                         // 6
    REGEN_VOL, ETA_R,                     // 7
    DEAD_VOL_COMP,                        // 8
    P0, P1MEAN,                           // 9
    VMAX_VMIN,                            // 10
    PMAX_PMIN,                            // 11
    A1,                                   // 12
    A2, ETA_N, AUSN_I, AREF_I,            // 13
    WORK_LOST,                            // 14
    POWER_USABL, POWER_PUMPS,             // 15
    DQZU1_MAX,                            // 16
    GASMAS_EXP, GASMAS_COMP, GASMAS_REG,  // 17 to 19
    GM01,                                 // the total gas mass under 17 to 19
    TIME, REVOL_TIME, RPM,                // 20
    PHASE,                                // the phase shift the block shows under a new phase
    count
};

inline constexpr std::size_t RESULT_COLUMNS = static_cast<std::size_t>(ResultColumn::count);

inline constexpr std::array<std::string_view, RESULT_COLUMNS> RESULT_HEADINGS{
    "DKST [cm]", "DH [cm]", "DK [cm]", "STROKE [cm]",
    "KAPA EXP [-]", "KAPA COMP [-]",
    "TH [Kelvin]", "TK [Kelvin]", "TE_MAX [Kelvin]", "TC_MIN [Kelvin]",
    "STROKE VOL. EXP. [cm**3]", "STROKE VOL. COMP. [cm**3]",
    "DEAD VOL. EXP. [cm**3]",
    "REGEN. VOL. [cm**3]", "ETA_R [%]",
    "DEAD VOL. COMP. [cm**3]",
    "P0 [Bar]", "P1MEAN [Bar]",
    "VMAX/VMIN [-]",
    "PMAX/PMIN [-]",
    "A1 [Watt*s]",
    "A2 [Watt*s]", "ETA_N [%]", "AUSN_I [%]", "AREF_I [%]",
    "WORK LOST [Watt*s]",
    "POWER USABL [Watt]", "Power for Pumps [Watt]",
    "DQZU1 MAX [Watt]",
    "DIFFERENCE IN GASMAS EXP. [Gramm]", "DIFFERENCE IN GASMAS COMP. [Gramm]",
    "DIFFERENCE IN GASMAS REG. [Gramm]",
    "TOTAL GASMASS [Gramm]",
    "TIME [sec]", "REVOL. TIME [msec]", "RPM [U/MIN]",
    "PHASENVERSCHIEBUNG [Grad]",
};

// One evaluated revolution: the row's values at full precision, in the order above and in the
// units of the headings whatever the table's own scaling ("*1000").
struct RevolutionResults {
    int run = 0;          // NLAUF
    int revolution = 0;   // NREV
    std::array<double, RESULT_COLUMNS> values{};

    double& operator[](ResultColumn c) { return values[static_cast<std::size_t>(c)]; }
    double operator[](ResultColumn c) const { return values[static_cast<std::size_t>(c)]; }
};

// One series of a drawn diagram: "name [unit]" and the values the curve is drawn from.
struct SeriesResults {
    std::string heading;
    std::span<const float> values;
};

// A diagram a run has drawn: the abscissa first, then every ordinate drawn as a curve, all of
// the same number of points.
struct DiagramResults {
    int run = 0;       // NLAUF
    int diagram = 0;   // 1..10, in the order of the definitions
    std::span<const SeriesResults> series;
};

// Called by the model; it may keep what it is given but must not reach back into the model.
class ResultsObserver {
public:
    virtual ~ResultsObserver() = default;
    // At the end of every evaluated revolution, after its row block is listed.
    virtual void revolution(const RevolutionResults& r) = 0;
    // After the curves of a diagram are drawn.
    virtual void diagram(const DiagramResults& d) = 0;
    // When a run has been computed (after its last revolution and its diagrams): the run
    // number and the job's error number as the run leaves it.
    virtual void run_end(int run, int NFAIL) {
        (void)run;
        (void)NFAIL;
    }
};

}  // namespace korvex
