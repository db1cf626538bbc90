// Cost of the simulation: the whole batch job of each sample deck (listings into a temporary
// directory, pages as SVG), and SIMUL alone per pair and step in each temperature mode.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "run/deck.hpp"
#include "run/machine.hpp"
#include "state/program.hpp"
#include "shell/core/cli.hpp"
#include "simulation/simul.hpp"

using namespace korvex;
namespace fs = std::filesystem;

namespace {

// The deck files of examples/.
std::vector<fs::path> example_decks() {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(fs::path(KORVEX_SOURCE_DIR) / "examples", ec))
        if (e.path().extension() == ".dat") out.push_back(e.path());
    return out;
}

// A four-pair machine in the given temperature mode: the mode line and the lines that follow
// it, TIME chosen for `steps` steps of 0.0001 s.
std::vector<std::string> machine(const std::vector<std::string>& mode, int steps) {
    std::vector<std::string> l = {"AUS: TIME=" + std::to_string(steps * 1.0e-4) +
                                  " SCHRITT=0.0001 NZYL=4 IPRNT=0"};
    l.insert(l.end(), mode.begin(), mode.end());
    const std::vector<std::string> rest = {
        "NACH: 100 DAEMPFUNG=1.0 FSEAL=10.0 PHASE=-90.0",
        "DH=6.0 DK=6.0 R=1.8 DKST=1.0 P0=20.0 TH=900.0 TK=300.0",
        "T0=300.0 VOLUMEN=0.02 SGRAD=95.0",
        "ZW=0 ZH0E=10 ZH0C=10 N0=1000 THETA=5000000 DICKE=2 %",
        "L/R=4.0 REGELN AB 0.5 IN 0.1 RVE=0 RVC=0 GAS=HE",
        "DIAGRAMME: XL=12 YL=8 HOE=0.3 HSYM=0.2 IBACK=0 SCALE=0",
        "ABSZISSE| VG1 GITTER=0 NBILD=0",
        "ORDINATEN| P1 P2 P3 P4",
        "STOP",
    };
    l.insert(l.end(), rest.begin(), rest.end());
    return l;
}

std::vector<std::string> mode_lines(int mode) {
    if (mode == 1) return {"ISOTHERM"};
    if (mode == 2) {
        std::string n;
        for (int k = 0; k < 18; ++k) n += "  " + std::to_string(k % 7);
        return {"TEMPD FTE=1.0 FTK=0.5", "E1", n, "E2", n, "C1", n, "C2", n};
    }
    if (mode == 4) {
        return {"ISOTHERM BEREGNUNG STROM=0.5 DELTAT=0 DELTAP=0.5", "DUESEN NDUE=24 DDUE=0.1 NDUC=24 DDUC=0.1",
                "DUESEN OFRE=800.0 OFRC=800.0 LUST=50.0"};
    }
    return {"POLYTROP", "EPSILON_E=1.3", "START_TE=850", "EPSILON_C=1.25", "START_TC=320"};
}

// The program state of a run read and derived up to the call of SIMUL.
bool prepare(Program& p, const std::vector<std::string>& lines) {
    std::string deck;
    for (const auto& s : lines) deck += s + "\n";
    p.units.u55.set_text(deck);
    if (!run::read_first_line(p.units, p.run)) return false;
    run::DeckStatus st = run::read_run_head(p);
    if (st == run::DeckStatus::run_diagrams) st = run::read_run_diagrams(p.units, p.run, p.dia);
    if (st == run::DeckStatus::error) return false;
    return run::derive_geometry(p.run, p.units) && run::derive_options(p.run, p.units);
}

}  // namespace

// SIMUL of one run in mode 1 (ISO), 2 (TEMPD), 3 (POLY) or 4 (ISO with liquid sprayed through
// nozzles), 4 pairs and 4000 steps. The
// counter is the time per pair and step.
static void BM_SIMUL_pair_step(benchmark::State& state) {
    const int steps = 4000;
    const auto lines = machine(mode_lines(static_cast<int>(state.range(0))), steps);
    auto base = std::make_unique<Program>();
    if (!prepare(*base, lines)) {
        state.SkipWithError("deck not read");
        return;
    }
    auto p = std::make_unique<Program>();
    for (auto _ : state) {
        state.PauseTiming();
        p = std::make_unique<Program>();
        prepare(*p, lines);
        p->units.u6.clear_text();
        p->units.u8.clear_text();
        p->units.u9.clear_text();
        state.ResumeTiming();
        simulation::SIMUL(*p);
        benchmark::DoNotOptimize(p->sim.ARBEIT);
    }
    const double pair_steps = 4.0 * steps;
    state.counters["per_pair_step"] =
        benchmark::Counter(pair_steps, benchmark::Counter::kIsIterationInvariantRate |
                                           benchmark::Counter::kInvert);
    state.counters["NFAIL"] = p->run.NFAIL;
}
BENCHMARK(BM_SIMUL_pair_step)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

// The whole batch job of one sample deck, with listings and SVG pages in a temporary
// directory.
static void example_job(benchmark::State& state, const fs::path& deck) {
    const fs::path dir = fs::temp_directory_path() / ("korvex_bench_" + deck.stem().string());
    fs::create_directories(dir);
    fs::copy_file(deck, dir / "KORVEX.DAT", fs::copy_options::overwrite_existing);
    std::string a0 = "korvex", a1 = "--batch", a2 = dir.string(), a3 = "--pages", a4 = "svg";
    char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), a4.data(), nullptr};
    shell::ShellHooks hooks;
    int status = 0;
    for (auto _ : state) benchmark::DoNotOptimize(status = shell::cli_main(5, argv, hooks));
    state.counters["exit"] = status;
    std::error_code ec;
    fs::remove_all(dir, ec);
}

// One benchmark per deck of examples/.
static const int registered = [] {
    for (const fs::path& d : example_decks())
        benchmark::RegisterBenchmark(("BM_example_job/" + d.stem().string()).c_str(), example_job, d)
            ->Unit(benchmark::kMillisecond);
    return 0;
}();
