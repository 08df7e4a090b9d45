// Speed of the calendar: an era date to its day (from fields and from text),
// a day to its era date, lunisolar date (historical, and computed after
// 1872: goal at most 20 µs after the first day of its year) and solar term,
// and an hour name read (its goal: at most 2 µs).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/civil_date.h"
#include "core/day_names.h"
#include "core/hour_names.h"
#include "core/solar_terms.h"

using namespace tolmeri;

namespace {

// Days spread from 645 to the last accepted day, one every 997 days; or to
// the end of the historical lunisolar table only (the computed years after
// it have benchmarks of their own below).
std::vector<int> SampleDays(int end = JdnFromCivil(kLastAcceptedDate) + 1) {
    std::vector<int> days;
    for (int jdn = JdnFromJulianCalendar({645, 8, 1}); jdn < end; jdn += 997)
        days.push_back(jdn);
    return days;
}

std::vector<EraDate> SampleEraDates() {
    std::vector<EraDate> dates;
    for (int jdn : SampleDays())
        if (const auto d = EraDateFromJdn(jdn))
            dates.push_back(*d);
    return dates;
}

void BM_EraDateToDay(benchmark::State& state) {
    const auto dates = SampleEraDates();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(JdnFromEraDate(dates[i]));
        i = (i + 1) % dates.size();
    }
}
BENCHMARK(BM_EraDateToDay);

void BM_ParseEraDate(benchmark::State& state) {
    std::vector<std::string> texts;
    for (const EraDate& d : SampleEraDates())
        texts.push_back(FormatEraDate(d));
    texts.push_back("慶長五年九月十五日");
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseEraDate(texts[i]));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_ParseEraDate);

// Every kind of hour name, one after another; a refused one among them.
void BM_ParseHourExpression(benchmark::State& state) {
    const std::vector<std::string> texts = {"朝五つ半", "丑三つ",   "辰の上刻", "五つ時",
                                            "子の刻",   "六つ半時", "卯の初刻", "暮六時六分"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseHourExpression(texts[i]));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_ParseHourExpression);

// What a row of output needs: both courts' era dates, the lunisolar date,
// the term in effect and its first day (days of the historical table).
void BM_DayToEraLunisolarTerm(benchmark::State& state) {
    const auto days = SampleDays(kLunisolarEndJdn);
    std::size_t i = 0;
    for (auto _ : state) {
        const int jdn = days[i];
        benchmark::DoNotOptimize(EraDatesFromJdn(jdn));
        benchmark::DoNotOptimize(LunisolarFromJdn(jdn));
        benchmark::DoNotOptimize(SolarTermOnDay(jdn, 9.0));
        i = (i + 1) % days.size();
    }
}
BENCHMARK(BM_DayToEraLunisolarTerm);

// The same for consecutive days, as a table of a year asks for them.
void BM_ConsecutiveDaysToEraLunisolarTerm(benchmark::State& state) {
    const int first = JdnFromCivil({1600, 1, 1});
    int jdn = first;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EraDatesFromJdn(jdn));
        benchmark::DoNotOptimize(LunisolarFromJdn(jdn));
        benchmark::DoNotOptimize(SolarTermOnDay(jdn, 9.0));
        jdn = jdn == first + 100000 ? first : jdn + 1;
    }
}
BENCHMARK(BM_ConsecutiveDaysToEraLunisolarTerm);

void BM_DayToEraDate(benchmark::State& state) {
    const auto days = SampleDays();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EraDatesFromJdn(days[i]));
        i = (i + 1) % days.size();
    }
}
BENCHMARK(BM_DayToEraDate);

void BM_DayToLunisolar(benchmark::State& state) {
    const auto days = SampleDays(kLunisolarEndJdn);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LunisolarFromJdn(days[i]));
        i = (i + 1) % days.size();
    }
}
BENCHMARK(BM_DayToLunisolar);

// A computed lunisolar date (1873-2200) after the first day of its year: the
// year's months kept, any day of it (goal: at most 20 µs).
void BM_ModernDayToLunisolar(benchmark::State& state) {
    const int first = JdnFromCivil({2033, 1, 1});
    benchmark::DoNotOptimize(LunisolarFromJdn(first));
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LunisolarFromJdn(first + i));
        i = (i + 97) % 365;
    }
}
BENCHMARK(BM_ModernDayToLunisolar);

// The first day of a year: its months computed (some 15 new moons and 13
// terms), each time another year of 1873-2200.
void BM_ModernYearsFirstDay(benchmark::State& state) {
    int year = 1873;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LunisolarFromJdn(JdnFromCivil({year, 6, 1})));
        year = year >= 2200 ? 1873 : year + 37; // never a year kept
    }
}
BENCHMARK(BM_ModernYearsFirstDay)->Unit(benchmark::kMicrosecond);

// Everything the columns name for a day of a year already begun: era dates,
// the lunisolar date with its note, the term, 干支, 六曜 and 雑節.
void BM_ModernNameDay(benchmark::State& state) {
    const int first = JdnFromCivil({2033, 1, 1});
    benchmark::DoNotOptimize(NameDay(first, 9));
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NameDay(first + i, 9));
        i = (i + 1) % 365;
    }
}
BENCHMARK(BM_ModernNameDay);

void BM_SolarTermOnDay(benchmark::State& state) {
    const auto days = SampleDays();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SolarTermOnDay(days[i], 9.0));
        i = (i + 1) % days.size();
    }
}
BENCHMARK(BM_SolarTermOnDay);

void BM_SolarTermIndexOnDay(benchmark::State& state) {
    const auto days = SampleDays();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SolarTermIndexOnDay(days[i], 9.0));
        i = (i + 1) % days.size();
    }
}
BENCHMARK(BM_SolarTermIndexOnDay);

void BM_SolarTermsOfYear(benchmark::State& state) {
    int year = 1600;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SolarTermsOfYear(year, 9.0));
        year = year == kYearRange.last ? 1600 : year + 1;
    }
}
BENCHMARK(BM_SolarTermsOfYear);

} // namespace
