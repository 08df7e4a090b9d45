// The Moon's day with the temporal hours: each moonrise and moonset named by
// the half-hour of the day's own boundary table that holds its clock minute,
// over the places and years of tests/data/moon_ephemeris.csv, and the lines
// the table of tolmeri-hours and the era-date dialog show.
#include <gtest/gtest.h>

#include <string>

#include "core/civil_date.h"
#include "core/hour_names.h"
#include "core/moon_hours.h"
#include "core/period_hours.h"
#include "tests/csv_rows.h"
#include "tests/ephemeris_rows.h"

using namespace tolmeri;

namespace {

// The half-hour holding minute by the date's boundaries alone: before
// boundary 0 the night's last (夜四つ半 of the day before), from boundary 24
// the next day's first (暁九つ).
std::string HalfHourOnTable(const DayHours& day, int minute) {
    if (minute < day.boundary[0])
        return "夜四つ半";
    for (int i = 0; i < 24; ++i)
        if (minute < day.boundary[static_cast<std::size_t>(i) + 1])
            return std::string(NumberedHourName(i));
    return "暁九つ";
}

TEST(MoonDayHours, EachEventIsNamedByTheHalfHourThatHoldsItsClockMinute) {
    const auto rows = ReadCsvRows(TestDataPath("moon_ephemeris.csv"));
    ASSERT_GE(rows.size(), 30u);
    int named = 0;
    for (const CsvRow& r : rows) {
        ASSERT_EQ(r.size(), 12u);
        SCOPED_TRACE(r[0] + " " + r[4]);
        CivilDate date;
        ASSERT_TRUE(ReadDateText(r[4], date));
        const Place place = PlaceOfRow(r);
        const MoonDayHours day = CalcMoonDayHours(place, date);
        const DayHours hours = CalcDayHours(place, date);
        const struct {
            const std::optional<double>& moment;
            const std::optional<MoonEventHour>& event;
        } events[] = {{day.moon.rise, day.rise}, {day.moon.set, day.set}};
        for (const auto& e : events) {
            ASSERT_EQ(e.event.has_value(), e.moment.has_value());
            if (!e.event)
                continue;
            EXPECT_EQ(e.event->minute, MoonMinute(*e.moment)) << "the minute the clock shows";
            EXPECT_EQ(std::string(e.event->HourName()), HalfHourOnTable(hours, e.event->minute))
                << FormatClock(e.event->minute);
            ++named;
        }
    }
    EXPECT_GE(named, 60);
}

TEST(MoonDayHours, LinesOfTheDay) {
    MoonDay full;
    full.age = 15.149;
    full.phase = 2;
    full.rise = 1181.6; // 19:42 after rounding
    full.set = 369.4;   // 06:09
    full.transit = 5.0;
    MoonDay none;
    none.age = 0.04;
    none.phase = 0;
    MoonDay late;
    late.age = 23.05;
    late.set = 1439.7; // never the next day's 00:00
    const CivilDate date{2026, 6, 21};
    const auto event = [&date](int minute, int index) {
        return std::optional<MoonEventHour>(MoonEventHour{minute, index, date});
    };
    const auto day = [](const MoonDay& moon, std::optional<MoonEventHour> rise,
                        std::optional<MoonEventHour> set) {
        MoonDayHours d;
        d.moon = moon;
        d.rise = rise;
        d.set = set;
        return d;
    };
    const struct {
        MoonDayHours day;
        const char* table;
        const char* hours;
    } cases[] = {
        {day(full, event(1182, 19), event(369, 6)),
         "月齢 15.1（満月）  月の出 19:42  月の入 06:09  月の南中 00:05",
         "月齢 15.1（満月）  月の出 19:42（暮六つ半）  月の入 06:09（明六つ）"},
        {day(none, std::nullopt, std::nullopt),
         "月齢 0.0（新月）  月の出 なし  月の入 なし  月の南中 なし",
         "月齢 0.0（新月）  月の出 なし  月の入 なし"},
        {day(late, std::nullopt, event(1439, 23)),
         "月齢 23.1  月の出 なし  月の入 23:59  月の南中 なし",
         "月齢 23.1  月の出 なし  月の入 23:59（夜四つ半）"},
    };
    for (const auto& c : cases) {
        std::string table;
        AppendMoonLine(table, c.day.moon);
        EXPECT_EQ(table, c.table);
        EXPECT_EQ(FormatMoonHoursLine(c.day), c.hours);
    }
}

// 元禄15年12月14日 at 江戸, the night of the raid: reckoned from 明六つ, as
// its sources count the day, its Moon set at 05:18 in the small hours of the
// civil 31st, after the raid; the civil day of the 30th has the morning's
// moonset of 04:26 instead.
TEST(MoonDayHours, ADayFromDawnHasTheMoonOfTheNightAfterIt) {
    const Place edo = {"江戸", 35, 41, 139, 46, 9};
    const CivilDate day{1703, 1, 30};
    const MoonDayHours civil = CalcMoonDayHours(edo, day);
    ASSERT_TRUE(civil.set && civil.rise);
    EXPECT_EQ(FormatDayMinute(civil.set->date, civil.set->minute), "1703-01-30 04:26");
    const MoonDayHours night = CalcMoonDayHours(edo, day, {}, DayStart::kDawn);
    ASSERT_TRUE(night.set && night.rise && night.transit);
    EXPECT_EQ(FormatDayMinute(night.set->date, night.set->minute), "1703-01-31 05:18");
    EXPECT_EQ(night.rise->date, day) << "the afternoon's rise is the same day's";
    EXPECT_EQ(night.rise->minute, civil.rise->minute);
    EXPECT_EQ(night.moon.AgeTenths(), civil.moon.AgeTenths());
    // The night's set falls in the half-hour that holds it on the 31st.
    EXPECT_EQ(night.set->index, FindMomentHour(edo, night.set->date, night.set->minute).index);
    EXPECT_EQ(FormatMoonHoursLine(night).find("月の入 1703-01-31 05:18（暁七つ半）"),
              FormatMoonHoursLine(night).find("月の入"));
    std::string table;
    AppendMoonLine(table, night);
    EXPECT_NE(table.find("月の入 1703-01-31 05:18  月の南中 "), std::string::npos) << table;
}

TEST(MoonDayHours, NumberedHourNames) {
    const struct {
        int index;
        const char* name;
    } cases[] = {{0, "暁九つ"},  {5, "暁七つ半"},  {6, "明六つ"}, {12, "昼九つ"}, {19, "暮六つ半"},
                 {24, "夜九つ"}, {25, "夜九つ半"}, {-1, ""},      {26, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(NumberedHourName(c.index), c.name) << c.index;
}

} // namespace
