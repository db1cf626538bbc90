#pragma once
// What the revolution evaluation carries from one revolution end to the next, and the values
// of the revolution last evaluated (read by the diagrams: AUSN_I, ETA_N, the per-revolution
// powers). The time of the last revolution end and XTR are the driver's (SimState).
#include <array>
#include <string>

#include "state/dia_state.hpp"

namespace korvex::simulation {

struct RevolutionState {
    // References at the last revolution end, 0 at the start of the time loop, so that the
    // first revolution's values are the totals since the start.
    double A1_R = 0.0, A2_R = 0.0;
    double AKOL_R = 0.0, AKOLN_R = 0.0;
    double ARBEIT_R = 0.0, ARBETN_R = 0.0, VWORK_R = 0.0;

    // The revolution last evaluated: works W*s, powers W, volume flows litre/s.
    double UDELT = 0.0;
    double ARBETU = 0.0, ARBTUN = 0.0, VWORKU = 0.0, AKOLU = 0.0, AKOLUN = 0.0;
    double A1U = 0.0, A2U = 0.0;
    double QZUU = 0.0, QZU_R = 0.0;           // heat into the expansion spaces, and its reference
    double P1MEAN = 0.0;
    double POWERU = 0.0, POWERN = 0.0;
    std::array<double, 4> DVLHM{}, DVLCM{};   // mean injected liquid flows of pair i
    double VLH1 = 0.0, VLC1 = 0.0;            // liquid volumes of pair 1 in the revolution
    double PPUMPH = 0.0, PPUMPC = 0.0;        // powers of the hot and cold pumps

    // Efficiencies in %, totals since the start of the run.
    double ETA_CARNOT = 0.0;
    std::array<double, 4> ETA{};              // ETA1 .. ETA4
    double ETA12 = 0.0, ETA34 = 0.0;
    double ETA_DQ = 0.0, ETA_N = 0.0, ETA_A = 0.0, ETA_W = 0.0, ETA_Q = 0.0;
    double ETA_AK = 0.0, ETA_TH = 0.0, ETA_I = 0.0;

    // Ratios of the revolution extremes of pair 1, the ideal mean power and the factor K.
    double PMAX_PMIN = 0.0, VMAX_VMIN = 0.0;
    double POWER_ID = 0.0;
    double FAKTOR_K = 0.0;

    // Ideal Stirling process of each pair (WORKIi) and the ideal reference machine (ANZRFi).
    std::array<double, 4> WORKI{}, ANZRF{};
    double WORKI_SUM = 0.0, ANUZRF = 0.0;
    double AUSN_I = 0.0, AREF_I = 0.0;

    // Notes written in this run: an efficiency above the machine's Carnot efficiency, and a
    // machine that absorbs work.
    bool above_carnot_noted = false, absorbs_work_noted = false;

    // Per-revolution curves: the first plot point of the next revolution for each diagram and
    // ordinate slot.
    std::array<std::array<int, diagrams::MAXORD>, diagrams::MAXDIA> NANF = [] {
        std::array<std::array<int, diagrams::MAXORD>, diagrams::MAXDIA> a{};
        for (auto& d : a) d.fill(1);
        return a;
    }();

    // The results row of the run (133 characters): characters 1 to 58 are the run's own
    // columns, written once per run before the simulation; the evaluation writes from
    // character 59 on at every revolution.
    std::string ROW = std::string(133, ' ');
};

}  // namespace korvex::simulation
