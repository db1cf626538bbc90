// Cost of one repaint of the window page: every paint runs the whole job of the deck again,
// here the bundled sample deck held in memory, drawing onto a recording surface of the window's
// client area, with the listings kept in memory.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/recording_surface.hpp"
#include "run/control.hpp"
#include "state/program.hpp"

using namespace korvex;

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void BM_repaint_sample(benchmark::State& state) {
    const std::string deck = read_file(std::string(KORVEX_SOURCE_DIR) + "/examples/sample.dat");
    auto p = std::make_unique<Program>();
    p->units.u55.set_text(deck);
    for (auto _ : state) {
        platform::RecordingSurface surface(1008, 700);
        p->device.surface = &surface;
        p->device.ISIZEX = 1008;
        p->device.ISIZEY = 700;
        run::run_control(*p);
        benchmark::DoNotOptimize(surface.ops().size());
        p->device.surface = nullptr;
        state.PauseTiming();
        p->units.u6.clear_text();
        p->units.u8.clear_text();
        p->units.u9.clear_text();
        state.ResumeTiming();
    }
    state.counters["NFAIL"] = p->run.NFAIL;
}
BENCHMARK(BM_repaint_sample)->Unit(benchmark::kMillisecond);

}  // namespace
