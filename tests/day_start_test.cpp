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

} // namespace
} // namespace tolmeri
