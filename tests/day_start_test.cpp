// Where a day begins: a clock time on a date, the date of a moment and the
// marks of a day, at midnight and at 明六つ.
#include <gtest/gtest.h>

#include "core/day_start.h"

namespace tolmeri {
namespace {

// A day whose 25 marks are 60 minutes apart from -10 (暁九つ at 23:50 of
// the day before): 明六つ at 350, 暮六つ at 1070.
DayHours Day(const CivilDate& date, int shift = 0) {
    DayHours d;
    d.date = date;
    for (int i = 0; i < kBoundaryCount; ++i)
        d.boundary[static_cast<std::size_t>(i)] = -10 + 60 * i + shift;
    return d;
}

TEST(DayStart, AClockTimeBeforeDawnIsTheSmallHoursAfterTheNight) {
    const DayHours day = Day({1703, 1, 30});
    const struct {
        int minute;
        DayStart start;
        int reckoned;
    } cases[] = {
        {240, DayStart::kMidnight, 240}, {240, DayStart::kDawn, 1680}, // 04:00
        {349, DayStart::kDawn, 1789},    {350, DayStart::kDawn, 350},  // 明六つ itself
        {720, DayStart::kDawn, 720},     {1439, DayStart::kDawn, 1439}, {0, DayStart::kDawn, 1440},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReckonedMinute(day, c.minute, c.start), c.reckoned)
            << c.minute << " " << DayStartName(c.start);
}

TEST(DayStart, AMomentBeforeDawnBelongsToTheDayBefore) {
    const DayHours day = Day({1703, 1, 1});
    EXPECT_EQ(ReckonedDate(day, 240, DayStart::kDawn), (CivilDate{1702, 12, 31}));
    EXPECT_EQ(ReckonedDate(day, 240, DayStart::kMidnight), (CivilDate{1703, 1, 1}));
    EXPECT_EQ(ReckonedDate(day, 350, DayStart::kDawn), (CivilDate{1703, 1, 1}));
    EXPECT_EQ(ReckonedDate(day, 1439, DayStart::kDawn), (CivilDate{1703, 1, 1}));
}

TEST(DayStart, TheMarksRunFromDawnToTheNextDawn) {
    const DayHours day = Day({2026, 6, 21});
    const DayHours next = Day({2026, 6, 22}, 1); // a minute later each
    const auto midnight = ReckonedMarks(day, next, DayStart::kMidnight);
    for (int i = 0; i < kBoundaryCount; ++i) {
        EXPECT_EQ(midnight[static_cast<std::size_t>(i)].label, i);
        EXPECT_EQ(midnight[static_cast<std::size_t>(i)].minute, day.boundary[i]);
    }
    const auto dawn = ReckonedMarks(day, next, DayStart::kDawn);
    EXPECT_EQ(dawn.front().label, 6);
    EXPECT_EQ(dawn.front().minute, 350);
    EXPECT_EQ(dawn[18].label, 24); // the night's 暁九つ, the date's own
    EXPECT_EQ(dawn[18].minute, 1430);
    EXPECT_EQ(dawn[19].label, 1); // then the next date's small hours
    EXPECT_EQ(dawn[19].minute, 1440 + 51);
    EXPECT_EQ(dawn.back().label, 6);
    EXPECT_EQ(dawn.back().minute, 1440 + 351);
    for (std::size_t i = 1; i < dawn.size(); ++i)
        EXPECT_GT(dawn[i].minute, dawn[i - 1].minute) << i;
}

// The day a date means follows how it was written: the sources of an era
// or lunisolar date before 明治6年 counted from 明六つ; a Western date, and
// every date from 1873-01-01 on, is the civil day. A choice overrides it.
TEST(DayStart, TheDayADateMeansFollowsItsWriting) {
    const struct {
        DateWriting writing;
        CivilDate date;
        DayStart start;
    } cases[] = {
        {DateWriting::kEra, {1703, 1, 30}, DayStart::kDawn},
        {DateWriting::kLunisolar, {1703, 1, 30}, DayStart::kDawn},
        {DateWriting::kWestern, {1703, 1, 30}, DayStart::kMidnight},
        {DateWriting::kEra, {1872, 12, 31}, DayStart::kDawn},   // 明治5年12月2日
        {DateWriting::kEra, {1873, 1, 1}, DayStart::kMidnight}, // 明治6年1月1日
        {DateWriting::kLunisolar, {2026, 9, 25}, DayStart::kMidnight},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DayStartOfWriting(c.writing, c.date), c.start) << FormatDate(c.date);
        EXPECT_EQ(ReckoningOfChoice(0, c.writing, c.date).start, c.start);
        EXPECT_EQ(ReckoningOfChoice(0, c.writing, c.date).reason, ReckoningReason::kWritten);
        EXPECT_EQ(ReckoningOfChoice(1, c.writing, c.date).start, DayStart::kDawn);
        EXPECT_EQ(ReckoningOfChoice(2, c.writing, c.date).start, DayStart::kMidnight);
        EXPECT_EQ(ReckoningOfChoice(2, c.writing, c.date).reason, ReckoningReason::kChosen);
    }
    EXPECT_EQ(ReckoningText({DayStart::kDawn, ReckoningReason::kWritten}),
              "明六つから翌日の明六つまで（明治6年より前の和暦・旧暦の日付）");
    EXPECT_EQ(ReckoningText({DayStart::kMidnight, ReckoningReason::kWritten}),
              "0時から24時まで（西暦、明治6年からの日付）");
    EXPECT_EQ(ReckoningText({DayStart::kDawn, ReckoningReason::kChosen}),
              "明六つから翌日の明六つまで（指定）");
}

// Every answer names the civil date a day minute falls on.
TEST(DayStart, AnAnswerNamesItsCivilDate) {
    const CivilDate date{1703, 1, 30};
    EXPECT_EQ(FormatDayMinute(date, 1686), "1703-01-31 04:06");
    EXPECT_EQ(FormatDayMinute(date, -5), "1703-01-29 23:55");
    EXPECT_EQ(FormatDaySpan(date, 1686, 1727), "1703-01-31 04:06–04:47");
    EXPECT_EQ(FormatDaySpan(date, 1420, 1500), "1703-01-30 23:40–1703-01-31 01:00");
    EXPECT_EQ(FormatDaySpan({1702, 12, 31}, 1439, 1441), "1702-12-31 23:59–1703-01-01 00:01");
}

} // namespace
} // namespace tolmeri
