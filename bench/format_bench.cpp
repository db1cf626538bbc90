// Cost of the listing pieces: the results table writes a row of edited numbers per revolution
// on every paint, so these sit on the path of every repaint.
#include <benchmark/benchmark.h>

#include "runtime/format.hpp"
#include "runtime/units.hpp"

using namespace korvex::runtime;

static void BM_FixedPoint(benchmark::State& state) {
    double v = 1234.56789;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(v, 10, 3));
        v += 0.001;
    }
}
BENCHMARK(BM_FixedPoint);

static void BM_Exponent(benchmark::State& state) {
    double v = 1.2345678e-5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(E(v, 14, 7));
        v *= 1.0001;
    }
}
BENCHMARK(BM_Exponent);

// A results-table row of 133 columns: ten fixed fields and four exponent fields.
static void BM_ResultsRow(benchmark::State& state) {
    Unit u(8, 133);
    double v = 1.5;
    for (auto _ : state) {
        u.record(" ", I(12, 4), F(v, 8, 3), F(v * 2, 8, 3), F(v * 3, 8, 3), F(v * 4, 8, 3),
                 F(v * 5, 8, 3), F(v * 6, 9, 4), F(v * 7, 9, 4), F(v * 8, 9, 4), F(v * 9, 9, 4),
                 F(v * 10, 9, 4), E(v, 14, 7), E(-v, 14, 7), E(v / 3, 14, 7), E(v * 1e6, 14, 7));
        u.clear_text();
        v += 0.01;
    }
}
BENCHMARK(BM_ResultsRow);

static void BM_FreeRecord(benchmark::State& state) {
    Unit u(9, 133);
    double v = 0.1;
    for (auto _ : state) {
        u.free(" TIME=", v, " DME=", v * 3, " DMC=", -v, " N=", 42, " MEV=", 2.0f);
        u.clear_text();
        v += 0.001;
    }
}
BENCHMARK(BM_FreeRecord);
