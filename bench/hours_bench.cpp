// Speed of tolmeri-hours' work per day: the window's recompute for one day
// at one place, the day's events by the window's Sun and by the precise Sun,
// the day's Moon (age, quarter, rise, set, transit), and the day written as
// a CSV row (with its era date, lunisolar date and solar term), by each
// definition of dawn and clock steps. Dates run through 2026 so that every
// iteration is a different day.
#include <benchmark/benchmark.h>

#include "core/day_names.h"
#include "core/kanshi.h"
#include "core/moon.h"
#include "core/period_hours.h"
#include "report/hours_output.h"

namespace {

tolmeri::Place Tokyo() {
    return {"Tokyo", 35, 41, 139, 42, 9};
}

void BM_OneDay(benchmark::State& state) {
    tolmeri::CPeriodCalculator calc(Tokyo());
    const std::int64_t first = tolmeri::DaysFromCivil({2026, 1, 1});
    std::int64_t i = 0;
    for (auto _ : state) {
        const tolmeri::DayHours d = calc.Compute(tolmeri::CivilFromDays(first + i));
        benchmark::DoNotOptimize(d.boundary[24]);
        i = (i + 1) % 365;
    }
}
BENCHMARK(BM_OneDay);

// A day's table with each Sun (--sun window / precise), one day after
// another as a run of days computes them: the precise Sun keeps the
// neighbouring noons, so each day costs one new evaluation of the Sun and
// the iterations of its five events.
void BM_SunDay(benchmark::State& state, tolmeri::SunModel sun) {
    tolmeri::PeriodOptions options;
    options.sun = sun;
    tolmeri::CPeriodCalculator calc(Tokyo(), options);
    const std::int64_t first = tolmeri::DaysFromCivil({2026, 1, 1});
    std::int64_t i = 0;
    for (auto _ : state) {
        const tolmeri::DayHours d = calc.Compute(tolmeri::CivilFromDays(first + i));
        benchmark::DoNotOptimize(d.boundary[18]);
        i = (i + 1) % 365;
    }
    state.SetLabel(std::string(tolmeri::SunModelName(sun)));
}
BENCHMARK_CAPTURE(BM_SunDay, window, tolmeri::SunModel::kWindow);
BENCHMARK_CAPTURE(BM_SunDay, precise, tolmeri::SunModel::kPrecise);

// A day's Moon (its age at noon, the quarter falling on the day, moonrise,
// moonset, the transit), one day after another as the Moon's columns take
// them: the lunation's new moons and quarters found once a month, each
// event started from the day before's.
void BM_MoonDay(benchmark::State& state) {
    tolmeri::CMoonCalculator moon(Tokyo());
    const int first = tolmeri::JdnFromCivil({2026, 1, 1});
    int i = 0;
    int events = 0;
    for (auto _ : state) {
        const tolmeri::MoonDay day = moon.Day(first + i);
        benchmark::DoNotOptimize(day.age);
        events += day.rise.has_value() + day.set.has_value() + day.transit.has_value();
        i = (i + 1) % 365;
    }
    // About 2.9 a day: each of the three is missing about once a month.
    state.counters["events"] = benchmark::Counter(events, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MoonDay)->Unit(benchmark::kMicrosecond);

// A year as CSV, with the definition of dawn and the clock steps of the
// arguments (indexes into kDawnDefinitions and kClockSteps): what --dawn and
// --steps add.
void BM_YearCsv(benchmark::State& state) {
    tolmeri::HoursRequest request;
    request.place = Tokyo();
    request.days = {{2026, 1, 1}, 365, true, {}};
    request.format = tolmeri::HoursFormat::kCsv;
    request.options.dawn = tolmeri::kDawnDefinitions[static_cast<std::size_t>(state.range(0))];
    request.options.steps = tolmeri::kClockSteps[static_cast<std::size_t>(state.range(1))];
    for (auto _ : state) {
        std::string out;
        tolmeri::WriteHours(request, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * request.days.dayCount);
    state.SetLabel(std::string(tolmeri::DawnDefinitionName(request.options.dawn)) + " " +
                   std::string(tolmeri::ClockStepsName(request.options.steps)));
}
BENCHMARK(BM_YearCsv)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({3, 0})
    ->Args({0, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMicrosecond);

// What the 干支 and 六曜 columns add to a 366-day CSV: for each day, the
// day's and the year's 干支 and the 六曜 of a lunisolar date worked out and
// written as the three fields are (1860, so that every day has all three).
// bench/cli_bench.sh sets this against the whole process.
void BM_KanshiColumns366(benchmark::State& state) {
    const int first = tolmeri::JdnFromCivil({1860, 1, 1});
    const tolmeri::LunisolarDate lunar{1860, 3, false, 3};
    std::string out;
    for (auto _ : state) {
        out.clear();
        for (int i = 0; i < 366; ++i) {
            const int jdn = first + i;
            out += tolmeri::KanshiName(tolmeri::DayKanshi(jdn));
            out += ',';
            out += tolmeri::KanshiName(tolmeri::YearKanshi(*tolmeri::KanshiYearOfDay(jdn)));
            out += ',';
            out += tolmeri::RokuyoName(tolmeri::RokuyoOf(lunar.month, lunar.day + i % 27));
            out += '\n';
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_KanshiColumns366)->Unit(benchmark::kMicrosecond);

// What the lunisolar, 六曜 and 雑節 columns of a 366-day CSV of today's
// years cost: each day named (NameDay, the year's months and 雑節 computed
// on its first day) and the five fields written. bench/cli_bench.sh sets
// this against the whole process.
void BM_LunisolarColumns366(benchmark::State& state) {
    const int first = tolmeri::JdnFromCivil({2026, 1, 1});
    std::string out;
    int year = 0;
    for (auto _ : state) {
        // Another pair of years each time, as a new process would find them.
        const int shift = tolmeri::JdnFromCivil({2030 + year * 4, 1, 1}) - first;
        year = (year + 1) % 40;
        out.clear();
        for (int i = 0; i < 366; ++i) {
            const tolmeri::DayNames names = tolmeri::NameDay(first + shift + i, 9);
            if (names.lunisolar) {
                out += std::to_string(names.lunisolar->year) + ',' +
                       std::to_string(names.lunisolar->month) +
                       (names.lunisolar->leap ? ",1," : ",0,") +
                       std::to_string(names.lunisolar->day) + ',';
                out += tolmeri::RokuyoName(*names.rokuyo);
            }
            out += ',';
            out += tolmeri::FormatNamedDays(names.namedDays);
            out += '\n';
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_LunisolarColumns366)->Unit(benchmark::kMicrosecond);

} // namespace
