// Cost of one steam-property call and one temperature-table lookup, as the time loop makes them.
#include <benchmark/benchmark.h>

#include <cmath>

#include "properties/pdampf.hpp"
#include "simulation/tdifdf.hpp"

using namespace korvex;

static void BM_PDAMPF_temperature(benchmark::State& state) {
    properties::SteamState st;
    runtime::Units u;
    int NFAIL = 0;
    const int IP = static_cast<int>(state.range(0));
    double t = 300.0;
    for (auto _ : state) {
        double PS = 0, MASSE = 0, T = t, V = 250.0, R = 0, CPD = 0, CPW = 0, SD = 0, SW = 0, HD = 0;
        properties::PDAMPF(st, u, NFAIL, PS, MASSE, T, V, R, CPD, CPW, SD, SW, HD, IP);
        benchmark::DoNotOptimize(MASSE);
        benchmark::DoNotOptimize(HD);
        t += 0.37;
        if (t > 540.0) t = 280.0;
    }
}
BENCHMARK(BM_PDAMPF_temperature)->Arg(2)->Arg(3)->Arg(24);

static void BM_PDAMPF_pressure_volume(benchmark::State& state) {
    properties::SteamState st;
    runtime::Units u;
    int NFAIL = 0;
    double p = 0.01;
    for (auto _ : state) {
        double PS = p, MASSE = 0, T = 0, V = 250.0, R = 0, CPD = 0, CPW = 0, SD = 0, SW = 0, HD = 0;
        properties::PDAMPF(st, u, NFAIL, PS, MASSE, T, V, R, CPD, CPW, SD, SW, HD, 3);
        benchmark::DoNotOptimize(T);
        p *= 1.01;
        if (p > 50.0) p = 0.01;
    }
}
BENCHMARK(BM_PDAMPF_pressure_volume);

static void BM_TDIFDF(benchmark::State& state) {
    runtime::Units u;
    const simulation::AngleTable ang = simulation::table_angles();
    simulation::AngleTable tte{}, ttc{};
    for (int k = 0; k < simulation::TABLE_ANGLES; ++k) {
        tte[k] = 850.0 + 40.0 * std::sin(0.1745 * k);
        ttc[k] = 320.0 + 15.0 * std::cos(0.1745 * k);
    }
    const int ip = static_cast<int>(state.range(0));
    double a = 0.125;
    for (auto _ : state) {
        double TE = 0, TC = 0;
        simulation::TDIFDF(u, TE, TC, tte, ttc, ang, a, ip, 1);
        benchmark::DoNotOptimize(TE);
        benchmark::DoNotOptimize(TC);
        a += 0.77;
        if (a >= 360.0) a -= 360.0;
    }
}
BENCHMARK(BM_TDIFDF)->Arg(2)->Arg(3)->Arg(5);
