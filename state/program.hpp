#pragma once
// One running program: every state area, owned together. Two programs in one process never
// see each other. The state headers are plain data, so every layer that takes the Program
// (the run control, SIMUL, DIA) may include this header.
#include "device/device.hpp"
#include "state/dia_state.hpp"
#include "properties/steam_state.hpp"
#include "state/results_observer.hpp"
#include "state/run_state.hpp"
#include "runtime/clock.hpp"
#include "runtime/units.hpp"
#include "state/sim_state.hpp"

namespace korvex {

struct Program {
    runtime::Units units;
    device::Device device;
    run::RunState run;
    simulation::SimState sim;
    diagrams::DiagramState dia;
    properties::SteamState steam;
    runtime::Clock clock = runtime::system_now;
    // Called at every revolution end of a run, so that a shell can show how far a long job
    // has come; none by default. It may read the program but not change it.
    using Progress = void (*)(void* ctx, const Program& p);
    Progress progress = nullptr;
    void* progress_ctx = nullptr;
    // Receives every results-table row and every drawn diagram's series as numbers (the batch
    // shell writes them as CSV); none by default, and then nothing is gathered for it.
    ResultsObserver* results = nullptr;

    device::Plotter plotter() { return device::Plotter{device, units, run.NFAIL, run.NEWDIA}; }
};

}  // namespace korvex
