// The temporal hours as each period kept them: the definitions of dawn and
// dusk against independently computed sunrises, auto on both sides of the
// 寛政暦, clocks set at the solar terms, and the hour of any moment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/civil_date.h"
#include "core/period_hours.h"
#include "core/period_rules.h"
#include "core/solar_terms.h"
#include "core/temporal_hours.h"

using namespace tolmeri;

namespace {

Place PlaceAt(int latDeg, int latMin, int lonDeg, int lonMin, int tz) {
    return {"", latDeg, latMin, lonDeg, lonMin, tz};
}
const Place kKyoto = PlaceAt(35, 1, 135, 45, 9);
const Place kTokyo = PlaceAt(35, 39, 139, 45, 9);

DayHours Day(const Place& place, const CivilDate& date, DawnDefinition dawn,
             ClockSteps steps = ClockSteps::kDaily) {
    CPeriodCalculator calc(place, {dawn, steps});
    return calc.Compute(date);
}

// The window's recompute.
CTemporalHours Window(const Place& p, const CivilDate& date) {
    CTemporalHours h;
    h.Recompute(p, date);
    return h;
}

CivilDate AddDays(const CivilDate& date, int days) {
    return CivilFromDays(DaysFromCivil(date) + days);
}

// A place inside the window's accepted ranges: latitude -54 to 54, the time
// difference within two hours of the longitude's.
Place RandomPlace(std::mt19937& rng) {
    const auto in = [](const IntRange& r) {
        return std::uniform_int_distribution<int>(r.first, r.last);
    };
    auto lat = in(kLatitudeRange), lon = in(kLongitudeRange), min = in(kArcMinuteRange);
    std::uniform_int_distribution<int> near(-kTimeDifferenceTolerance, kTimeDifferenceTolerance);
    Place p = PlaceAt(lat(rng), min(rng), lon(rng), min(rng), 0);
    p.timeDiff = std::clamp(SuggestedTimeDifference(p.lonDeg) + near(rng),
                            kTimeDifferenceRange.first, kTimeDifferenceRange.last);
    return p;
}

CivilDate RandomDate(std::mt19937& rng) {
    std::uniform_int_distribution<int> year(kYearRange.first, kYearRange.last),
        month(kMonthRange.first, kMonthRange.last), day(1, 28);
    return {year(rng), month(rng), day(rng)};
}

// The half-hour of a moment read the plain way, for the window's own
// tables: the local date and minute by floor division, then the boundaries
// 0 to 23 of the day before, the day and the day after and the last one's
// 24, all as minutes of the day, taken as they stand.
struct PlainHour {
    CivilDate date;
    int minute, index, start, end;
};
PlainHour PlainHourOf(const Place& place, std::int64_t utcSeconds) {
    const std::int64_t local = utcSeconds + static_cast<std::int64_t>(place.timeDiff) * 3600;
    const std::int64_t days = (local >= 0 ? local : local - 86399) / 86400;
    PlainHour h{CivilFromDays(days), static_cast<int>((local - days * 86400) / 60), 0, 0, 0};
    std::vector<int> marks;
    for (int k = -1; k <= 1; ++k) {
        const CTemporalHours d = Window(place, CivilFromDays(days + k));
        for (int i = 0; i < (k == 1 ? kBoundaryCount : 24); ++i)
            marks.push_back(d.GetBoundary(i) + 1440 * k);
    }
    int i = 0;
    while (i < 71 && marks[i + 1] <= h.minute)
        ++i;
    h.index = i % 24;
    h.start = marks[i];
    h.end = marks[i + 1];
    return h;
}

} // namespace

TEST(DawnDefinitions, NamesAndLabelsReadBack) {
    std::set<std::string_view> labels;
    for (DawnDefinition d : kDawnDefinitions) {
        EXPECT_EQ(DawnDefinitionFromName(DawnDefinitionName(d)), d);
        labels.insert(DawnDefinitionLabel(d));
    }
    EXPECT_EQ(labels.size(), kDawnDefinitions.size());
    EXPECT_EQ(DawnDefinitionName(DawnDefinition::kMinutes36), "36min");
    EXPECT_EQ(DawnDefinitionLabel(DawnDefinition::kDepression),
              "太陽俯角7度21分40秒（寛政暦から。画面の図と同じ）");
    for (ClockSteps s : kClockSteps)
        EXPECT_EQ(ClockStepsFromName(ClockStepsName(s)), s);
    for (const char* bad : {"", "Depression", "36", "sekki ", "auto2"}) {
        EXPECT_FALSE(DawnDefinitionFromName(bad)) << bad;
        EXPECT_FALSE(ClockStepsFromName(bad)) << bad;
    }
}

// Each calendar began on a lunisolar new year (the solar one on the day
// after the lunisolar table's last), and the day before is its
// predecessor's.
TEST(AlmanacCalendars, EachBeginsOnItsNewYear) {
    const struct {
        int year;
        const char* name;
        const char* newYear;
    } cases[] = {
        {862, "宣明暦", "貞観4年1月1日"},   {1685, "貞享暦", "貞享2年1月1日"},
        {1755, "宝暦暦", "宝暦5年1月1日"},  {1798, "寛政暦", "寛政10年1月1日"},
        {1844, "天保暦", "天保15年1月1日"},
    };
    const AlmanacCalendar* before = nullptr;
    for (const auto& c : cases) {
        const int jdn = LunisolarNewYearJdn(c.year);
        EXPECT_EQ(FormatEraDate(*EraDateFromJdn(jdn)), c.newYear);
        ASSERT_NE(AlmanacCalendarOn(jdn), nullptr) << c.name;
        EXPECT_EQ(AlmanacCalendarOn(jdn)->name, c.name);
        EXPECT_EQ(AlmanacCalendarOn(jdn)->firstJdn, jdn);
        EXPECT_EQ(AlmanacCalendarOn(jdn - 1), before) << c.name;
        before = AlmanacCalendarOn(jdn);
    }
    EXPECT_EQ(AlmanacCalendarOn(kLunisolarEndJdn)->name, "太陽暦");
    EXPECT_EQ(AlmanacCalendarOn(kLunisolarEndJdn - 1)->name, "天保暦");
    EXPECT_EQ(CivilFromJdn(kLunisolarEndJdn), (CivilDate{1873, 1, 1}));
}

// The rule first, then whose it was: the day's calendar's own, or another
// period's beside what the day's calendar kept.
TEST(AlmanacCalendars, LabelsNameTheCalendarInForce) {
    using enum DawnDefinition;
    const struct {
        DawnDefinition definition;
        CivilDate date;
        const char* label;
    } cases[] = {
        {kAuto, {1600, 10, 21}, "日出前・日入後2刻半＝36分（宣明暦の定め）"},
        {kAuto, {1700, 1, 1}, "日出前・日入後2刻半＝36分（貞享暦の定め）"},
        {kAuto, {1760, 1, 1}, "日出前・日入後2刻半＝36分（宝暦暦の定め）"},
        {kAuto, {1800, 1, 1}, "太陽俯角7度21分40秒（寛政暦の定め）"},
        {kAuto, {1850, 1, 1}, "太陽俯角7度21分40秒（天保暦の定め）"},
        {kAuto, {2026, 6, 21}, "太陽俯角7度21分40秒（太陽暦の定め）"},
        {kAuto, {800, 1, 1}, "日出前・日入後2刻半＝36分"},
        {kDepression,
         {1700, 1, 1},
         "太陽俯角7度21分40秒（寛政暦からの定め。貞享暦の定めは日出前・日入後36分）"},
        {kMinutes36,
         {1850, 1, 1},
         "日出前・日入後2刻半＝36分（宝暦暦までの定め。天保暦の定めは太陽俯角7度21分40秒）"},
        {kMinutes36, {1700, 1, 1}, "日出前・日入後2刻半＝36分（貞享暦の定め）"},
        {kSunrise, {1700, 1, 1}, "日出・日入"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DawnDefinitionLabelOn(c.definition, JdnFromCivil(c.date)), c.label)
            << FormatDate(c.date);

    // A run names each change of label, and only those.
    const int y1798 = JdnFromCivil({1798, 1, 1});
    EXPECT_EQ(DawnDefinitionLabelOver(kAuto, y1798, y1798 + 365),
              "日出前・日入後2刻半＝36分（宝暦暦の定め）、1798-02-16 から太陽俯角7度21分40秒（寛政"
              "暦の定め）");
    EXPECT_EQ(DawnDefinitionLabelOver(kSunrise, y1798, y1798 + 365), "日出・日入");
    const int y1685 = JdnFromCivil({1685, 1, 1});
    EXPECT_EQ(DawnDefinitionLabelOver(kAuto, y1685, y1685 + 30),
              "日出前・日入後2刻半＝36分（宣明暦の定め）");
    EXPECT_EQ(DawnDefinitionLabelOver(kAuto, y1685, y1685 + 365),
              "日出前・日入後2刻半＝36分（宣明暦の定め）、1685-02-04 から日出前・日入後2刻半＝36分"
              "（貞享暦の定め）");
}

// The default definition is the window's computation, bit for bit, over
// places and dates across the accepted ranges.
TEST(PeriodHours, DepressionDailyIsTheWindowsTable) {
    std::mt19937 rng(14);
    for (int n = 0; n < 3000; ++n) {
        const Place place = RandomPlace(rng);
        const CivilDate date = RandomDate(rng);
        const DayHours day = Day(place, date, DawnDefinition::kDepression);
        const CTemporalHours h = Window(place, date);
        for (int i = 0; i < kBoundaryCount; ++i)
            ASSERT_EQ(day.boundary[i], h.GetBoundary(i)) << n << " " << i;
        ASSERT_EQ(day.sunrise, h.GetSunrise());
        ASSERT_EQ(day.sunset, h.GetSunset());
        ASSERT_EQ(day.transit, h.GetBoundary(12));
        ASSERT_EQ(day.setDate, date);
    }
}

// Geometric sunrise and sunset (the Sun's centre on the horizon, no
// refraction) computed independently by tests/data/geometric_sunrise.py
// (Meeus' Sun, the altitude found at the moment itself), rounded to whole
// minutes; 36min puts dawn 36 minutes before and dusk 36 after them. Within
// a minute: the program takes the Sun's position once at noon.
TEST(PeriodHours, GeometricDefinitionsAgainstIndependentSunrises) {
    const struct {
        Place place;
        CivilDate date;
        int sunrise, sunset; // day minutes, by hand
    } cases[] = {
        {kKyoto, {2026, 3, 20}, 365, 1084}, // 06:05, 18:04
        {kKyoto, {1750, 3, 21}, 364, 1085}, // 06:04, 18:05
        {kKyoto, {1790, 6, 21}, 287, 1149}, // 04:47, 19:09
        {kTokyo, {2026, 12, 22}, 412, 987}, // 06:52, 16:27
        {kTokyo, {1798, 2, 15}, 393, 1039}, // 06:33, 17:19
    };
    for (const auto& c : cases) {
        const DayHours sunrise = Day(c.place, c.date, DawnDefinition::kSunrise);
        EXPECT_NEAR(sunrise.boundary[6], c.sunrise, 1) << FormatDate(c.date);
        EXPECT_NEAR(sunrise.boundary[18], c.sunset, 1) << FormatDate(c.date);
        const DayHours m36 = Day(c.place, c.date, DawnDefinition::kMinutes36);
        EXPECT_NEAR(m36.boundary[6], c.sunrise - 36, 1) << FormatDate(c.date);
        EXPECT_NEAR(m36.boundary[18], c.sunset + 36, 1) << FormatDate(c.date);
        // Only dawn and dusk move: the transit and the midnights stay.
        const CTemporalHours window = Window(c.place, c.date);
        for (int i : {0, 12, 24})
            EXPECT_EQ(m36.boundary[i], window.GetBoundary(i));
        EXPECT_EQ(m36.sunrise, window.GetSunrise());
    }
}

// 36min is the geometric sunrise less 36 minutes exactly, every day of a
// year, in the north and the south.
TEST(PeriodHours, ThirtySixMinutesAreExactlyThat) {
    for (const Place& place : {kTokyo, PlaceAt(-33, 52, 151, 12, 10), PlaceAt(54, 0, 0, 0, 0)}) {
        const auto geometric = CalcPeriodDays(place, {1750, 1, 1}, 365, {DawnDefinition::kSunrise});
        const auto m36 = CalcPeriodDays(place, {1750, 1, 1}, 365, {DawnDefinition::kMinutes36});
        for (std::size_t d = 0; d < m36.size(); ++d) {
            ASSERT_EQ(m36[d].boundary[6], geometric[d].boundary[6] - 36) << d;
            ASSERT_EQ(m36[d].boundary[18], geometric[d].boundary[18] + 36) << d;
            // The quarters are divided as ever: the halves lie between.
            for (int i = 1; i < kBoundaryCount; ++i)
                ASSERT_LE(m36[d].boundary[i - 1], m36[d].boundary[i]) << d << " " << i;
        }
    }
}

// 7°21′40″ was chosen as the Sun's depression 36 minutes before the
// geometric sunrise at Kyoto on the equinoxes: there the two definitions
// agree to the minute.
TEST(PeriodHours, TheDepressionIsThirtySixMinutesAtKyotoOnTheEquinoxes) {
    for (const CivilDate date : {CivilDate{2026, 3, 20}, CivilDate{2026, 9, 23},
                                 CivilDate{1798, 3, 21}, CivilDate{1798, 9, 23}}) {
        const DayHours depression = Day(kKyoto, date, DawnDefinition::kDepression);
        const DayHours m36 = Day(kKyoto, date, DawnDefinition::kMinutes36);
        EXPECT_NEAR(depression.boundary[6], m36.boundary[6], 1) << FormatDate(date);
        EXPECT_NEAR(depression.boundary[18], m36.boundary[18], 1) << FormatDate(date);
    }
}

TEST(PeriodHours, AutoChangesOnTheFirstDayOfTheKanseiCalendar) {
    // The constant is the calendar's: 寛政10年1月1日.
    ASSERT_EQ(JdnFromCivil({1798, 2, 16}), kKanseiCalendarFirstJdn);
    EXPECT_EQ(LunisolarNewYearJdn(1798), kKanseiCalendarFirstJdn);
    EXPECT_EQ(FormatEraDate(*EraDateFromJdn(kKanseiCalendarFirstJdn)), "寛政10年1月1日");

    const struct {
        CivilDate date;
        DawnDefinition in;
    } cases[] = {
        {{1685, 2, 4}, DawnDefinition::kMinutes36},   {{1798, 2, 15}, DawnDefinition::kMinutes36},
        {{1798, 2, 16}, DawnDefinition::kDepression}, {{1798, 2, 17}, DawnDefinition::kDepression},
        {{2026, 6, 21}, DawnDefinition::kDepression},
    };
    for (const auto& c : cases) {
        for (ClockSteps steps : kClockSteps) {
            const DayHours aut = Day(kTokyo, c.date, DawnDefinition::kAuto, steps);
            const DayHours direct = Day(kTokyo, c.date, c.in, steps);
            EXPECT_EQ(aut.definition, c.in) << FormatDate(c.date);
            EXPECT_EQ(aut.boundary, direct.boundary) << FormatDate(c.date);
        }
    }
    // The two definitions differ on both days, so the switch is seen: at
    // Tokyo in February the depression comes a minute before 36 minutes.
    EXPECT_NE(Day(kTokyo, {1798, 2, 15}, DawnDefinition::kDepression).boundary[6],
              Day(kTokyo, {1798, 2, 15}, DawnDefinition::kAuto).boundary[6]);
    EXPECT_NE(Day(kTokyo, {1798, 2, 16}, DawnDefinition::kMinutes36).boundary[6],
              Day(kTokyo, {1798, 2, 16}, DawnDefinition::kAuto).boundary[6]);
}

// With the clocks set at the terms a day shows the table of its term's first
// day: the same through the term, new on the first day of the next.
TEST(PeriodHours, SekkiStepsHoldThroughATermAndChangeOnItsFirstDay) {
    const auto starts = SolarTermsOfYear(2026, 9);
    std::set<int> firstDays;
    for (const SolarTermStart& s : starts)
        firstDays.insert(s.jdn);
    const auto daily = CalcPeriodDays(kKyoto, {2026, 1, 1}, 365, {});
    const auto sekki = CalcPeriodDays(kKyoto, {2026, 1, 1}, 365, {{}, ClockSteps::kSekki});
    int changes = 0;
    for (std::size_t d = 0; d < sekki.size(); ++d) {
        const DayHours& day = sekki[d];
        const int jdn = JdnFromCivil(day.date);
        // The set day is the latest term start on or before the day.
        const SolarTermStart term = SolarTermOnDay(jdn, 9);
        ASSERT_EQ(JdnFromCivil(day.setDate), term.jdn) << FormatDate(day.date);
        ASSERT_EQ(day.boundary, Day(kKyoto, day.setDate, DawnDefinition::kDepression).boundary);
        // Sunrise, sunset and the transit stay the day's own.
        ASSERT_EQ(day.sunrise, daily[d].sunrise);
        ASSERT_EQ(day.sunset, daily[d].sunset);
        ASSERT_EQ(day.transit, daily[d].boundary[12]);
        if (d == 0)
            continue;
        const bool first = firstDays.count(jdn) > 0;
        if (first) {
            EXPECT_EQ(day.boundary, daily[d].boundary) << FormatDate(day.date);
            EXPECT_NE(day.boundary, sekki[d - 1].boundary) << FormatDate(day.date);
            ++changes;
        } else {
            EXPECT_EQ(day.boundary, sekki[d - 1].boundary) << FormatDate(day.date);
        }
    }
    EXPECT_EQ(changes, 24);
}

// The hour of a moment on Tokyo, 2026-06-21: midnight mark (boundary 0) at
// 23:43 the evening before (-17), transit at 11:43 (703), boundary 24 at
// 23:43 (1423).
TEST(MomentHour, BoundariesAndTheNightAroundMidnight) {
    const CTemporalHours day = Window(kTokyo, {2026, 6, 21});
    const CTemporalHours next = Window(kTokyo, {2026, 6, 22});
    ASSERT_EQ(day.GetBoundary(0), -17);
    ASSERT_EQ(day.GetBoundary(12), 703);
    const int b6 = day.GetBoundary(6);
    const struct {
        int minute;
        int index, start, end;
    } cases[] = {
        {703, 12, 703, day.GetBoundary(13)},         // on the transit: 昼九つ begins
        {702, 11, day.GetBoundary(11), 703},         // a minute before: 朝四つ半
        {b6, 6, b6, day.GetBoundary(7)},             // 明六つ
        {b6 - 1, 5, day.GetBoundary(5), b6},         // 暁七つ半
        {0, 0, -17, day.GetBoundary(1)},             // midnight is in 暁九つ
        {1439, 0, 1423, next.GetBoundary(1) + 1440}, // after boundary 24: the next day's
        {1422, 23, day.GetBoundary(23), 1423},       // 夜四つ半 up to boundary 24
    };
    for (const auto& c : cases) {
        const MomentHour m = FindMomentHour(kTokyo, {2026, 6, 21}, c.minute);
        EXPECT_EQ(m.date, (CivilDate{2026, 6, 21}));
        EXPECT_EQ(m.minute, c.minute);
        EXPECT_EQ(m.index, c.index) << c.minute;
        EXPECT_EQ(m.start, c.start) << c.minute;
        EXPECT_EQ(m.end, c.end) << c.minute;
        EXPECT_EQ(m.nextIndex, c.index + 1);
        EXPECT_EQ(m.MinutesInto(), c.minute - c.start);
        EXPECT_EQ(m.Label(), kBoundaryLabels[c.index]);
    }
}

// Where the transit comes late on the clock (120°E on time difference 9),
// boundary 0 falls after midnight: the small hours before it are the night
// hours of the day before.
TEST(MomentHour, SmallHoursBeforeBoundaryZeroBelongToThePreviousNight) {
    const Place place = PlaceAt(30, 0, 120, 0, 9);
    const CivilDate date{2026, 1, 10};
    const CTemporalHours today = Window(place, date);
    const CTemporalHours yesterday = Window(place, AddDays(date, -1));
    ASSERT_GT(today.GetBoundary(0), 30);
    const MomentHour m = FindMomentHour(place, date, 20);
    EXPECT_EQ(m.index, 23);
    EXPECT_EQ(m.Label(), "夜四つ半");
    EXPECT_EQ(m.start, yesterday.GetBoundary(23) - 1440);
    EXPECT_EQ(m.end, today.GetBoundary(0));
    EXPECT_EQ(m.NextLabel(), "暁九つ (子)");
    EXPECT_EQ(m.MinutesLeft(), today.GetBoundary(0) - 20);
}

// A minute outside the day counts into the days around it.
TEST(MomentHour, MinutesOutsideTheDayMoveTheDate) {
    const CivilDate date{2026, 3, 1};
    const struct {
        int minute;
        CivilDate date;
        int local;
    } cases[] = {{-30, {2026, 2, 28}, 1410},
                 {1440, {2026, 3, 2}, 0},
                 {-1440, {2026, 2, 28}, 0},
                 {3000, {2026, 3, 3}, 120}};
    for (const auto& c : cases) {
        const MomentHour m = FindMomentHour(kTokyo, date, c.minute);
        const MomentHour same = FindMomentHour(kTokyo, c.date, c.local);
        EXPECT_EQ(m.date, c.date) << c.minute;
        EXPECT_EQ(m.minute, c.local) << c.minute;
        EXPECT_EQ(m.index, same.index);
        EXPECT_EQ(m.start, same.start);
    }
}

// The definition and clock setting a moment reports are those of the day it
// falls on, also when its minute moves it across midnight: around the first
// day of the Kansei calendar (1798-02-16) auto changes definition.
TEST(MomentHour, DefinitionAndClockSetDayAreTheMomentsDays) {
    const PeriodOptions autoSekki{DawnDefinition::kAuto, ClockSteps::kSekki};
    const struct {
        CivilDate date;
        int minute;
        PeriodOptions options;
        DawnDefinition definition;
    } cases[] = {
        {{1798, 2, 16}, 600, autoSekki, DawnDefinition::kDepression},
        {{1798, 2, 16}, -30, autoSekki, DawnDefinition::kMinutes36},
        {{1798, 2, 15}, 1440 + 30, autoSekki, DawnDefinition::kDepression},
        {{1798, 2, 16},
         600,
         {DawnDefinition::kSunrise, ClockSteps::kDaily},
         DawnDefinition::kSunrise},
    };
    for (const auto& c : cases) {
        const MomentHour m = FindMomentHour(kTokyo, c.date, c.minute, c.options);
        const DayHours day = CalcDayHours(kTokyo, m.date, c.options);
        EXPECT_EQ(m.definition, c.definition) << FormatDate(c.date) << " " << c.minute;
        EXPECT_EQ(m.setDate, day.setDate) << FormatDate(c.date) << " " << c.minute;
        EXPECT_EQ(m.setDate, ClockSetDate(m.date, kTokyo.timeDiff, c.options.steps));
    }
}

// The moment's hour, which tolmeri-hours --now shows, is the plain reading
// of the window's tables for the default definition, moment for moment, and
// always holds its moment for every definition and steps.
TEST(MomentHour, AgreesWithThePlainReadingAndHoldsTheMomentForEveryOption) {
    std::mt19937 rng(1798);
    std::uniform_int_distribution<std::int64_t> seconds(-5'000'000'000LL, 7'000'000'000LL);
    for (int n = 0; n < 600; ++n) {
        const Place place = RandomPlace(rng);
        const std::int64_t utc = seconds(rng);
        const PlainHour plain = PlainHourOf(place, utc);
        const LocalMoment local = LocalMomentOf(utc, place.timeDiff);
        ASSERT_EQ(local.date, plain.date);
        ASSERT_EQ(local.minute, plain.minute);
        const MomentHour m = FindMomentHour(place, local.date, local.minute);
        ASSERT_EQ(m.index, plain.index) << n;
        ASSERT_EQ(m.start, plain.start) << n;
        ASSERT_EQ(m.end, plain.end) << n;
        for (DawnDefinition dawn : kDawnDefinitions)
            for (ClockSteps steps : kClockSteps) {
                const MomentHour o = FindMomentHour(place, local.date, local.minute, {dawn, steps});
                ASSERT_LE(o.start, o.minute) << n;
                ASSERT_LT(o.minute, o.end) << n;
                ASSERT_GE(o.index, 0);
                ASSERT_LT(o.index, 24);
            }
    }
}

// Polar days and nights, and places no dialog accepts: every definition
// still gives a table that spans a day and never decreases.
TEST(PeriodHours, EveryDefinitionStaysDefinedAtThePoles) {
    const Place places[] = {PlaceAt(89, 59, 10, 0, 1), PlaceAt(-89, 0, -170, 0, -11),
                            PlaceAt(90, 0, 0, 0, 0),   PlaceAt(70, 0, 25, 0, 2),
                            PlaceAt(-70, 0, 0, 0, 0),  PlaceAt(1000, 0, 5000, 0, 0)};
    for (const Place& place : places)
        for (DawnDefinition dawn : kDawnDefinitions)
            for (const CivilDate date :
                 {CivilDate{2026, 6, 21}, CivilDate{2026, 12, 22}, CivilDate{1750, 3, 20}}) {
                const DayHours d = Day(place, date, dawn, ClockSteps::kSekki);
                ASSERT_EQ(d.boundary[24] - d.boundary[0], 1440);
                for (int i = 1; i < kBoundaryCount; ++i)
                    ASSERT_LE(d.boundary[i - 1], d.boundary[i]) << place.latDeg << " " << i;
                ASSERT_LE(std::abs(d.boundary[12] - 720), 2000);
            }
}
