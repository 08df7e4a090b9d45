// Speed of the calculator: one CalcBoundaries, and the whole recompute the
// main dialog runs for every calculate.
#include <benchmark/benchmark.h>

#include "core/temporal_hours.h"

namespace {

void BM_CalcBoundaries(benchmark::State& state) {
    CTemporalHours h;
    h.SetPlace(35, 27, 139, 39, 9);
    h.SetDate(2000, 1, 1);
    h.CalcNoonJD();
    for (auto _ : state) {
        h.CalcBoundaries();
        benchmark::DoNotOptimize(h.GetBoundary(24));
    }
}
BENCHMARK(BM_CalcBoundaries);

void BM_WholeRecompute(benchmark::State& state) {
    CTemporalHours h;
    const tolmeri::Place yokohama{"", 35, 27, 139, 39, 9};
    int day = 1;
    for (auto _ : state) {
        h.Recompute(yokohama, {2000, 1, day});
        benchmark::DoNotOptimize(h.GetBoundary(24));
        day = day % 365 + 1;
    }
}
BENCHMARK(BM_WholeRecompute);

} // namespace
