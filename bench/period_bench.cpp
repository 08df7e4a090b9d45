// Speed of the temporal hours as each period kept them: a leap year of days
// with each definition and clock steps, and the hour of one moment (three
// days' tables).
#include <benchmark/benchmark.h>

#include <string>

#include "core/period_hours.h"
#include "core/presets.h"

namespace {

using namespace tolmeri;

Place Tokyo() {
    return ParseLocationEntry(*FindPreset("東京"));
}

void BM_YearOfDays(benchmark::State& state) {
    const PeriodOptions options{static_cast<DawnDefinition>(state.range(0)),
                                static_cast<ClockSteps>(state.range(1))};
    state.SetLabel(std::string(DawnDefinitionName(options.dawn)) + "/" +
                   std::string(ClockStepsName(options.steps)));
    const Place place = Tokyo();
    for (auto _ : state) {
        const auto days = CalcPeriodDays(place, {2024, 1, 1}, 366, options);
        benchmark::DoNotOptimize(days.back().boundary[6]);
    }
}
BENCHMARK(BM_YearOfDays)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({0, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_FindMomentHour(benchmark::State& state) {
    const Place place = Tokyo();
    int minute = 0;
    for (auto _ : state) {
        const MomentHour m = FindMomentHour(place, {2026, 6, 21}, minute);
        benchmark::DoNotOptimize(m.index);
        minute = (minute + 97) % 1440;
    }
}
BENCHMARK(BM_FindMomentHour);

} // namespace
