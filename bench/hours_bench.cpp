// Speed of tolmeri-hours' work per day: the window's recompute for one day
// at one place, and the same with the day written as a CSV row. Dates run
// through 2026 so that every iteration is a different day.
#include <benchmark/benchmark.h>

#include "hours_output.h"

namespace {

tolmeri::PresetFields Tokyo() {
    tolmeri::PresetFields p;
    p.name = "Tokyo";
    p.latDeg = 35;
    p.latMin = 41;
    p.lonDeg = 139;
    p.lonMin = 42;
    p.timeDiff = 9;
    return p;
}

void BM_OneDay(benchmark::State& state) {
    tolmeri::CDayCalculator calc(Tokyo());
    const std::int64_t first = tolmeri::DaysFromCivil({2026, 1, 1});
    std::int64_t i = 0;
    for (auto _ : state) {
        const tolmeri::DayHours d = calc.Compute(tolmeri::CivilFromDays(first + i));
        benchmark::DoNotOptimize(d.boundary[24]);
        i = (i + 1) % 365;
    }
}
BENCHMARK(BM_OneDay);

void BM_YearCsv(benchmark::State& state) {
    tolmeri::HoursRequest request;
    request.place = Tokyo();
    request.first = {2026, 1, 1};
    request.dayCount = 365;
    request.ranged = true;
    request.format = tolmeri::HoursFormat::Csv;
    for (auto _ : state) {
        std::string out;
        tolmeri::WriteHours(request, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * request.dayCount);
}
BENCHMARK(BM_YearCsv)->Unit(benchmark::kMicrosecond);

} // namespace
