// The sexagenary cycle of days and years against dates whose 干支 the
// chronicles and the almanacs print, the six-day cycle against the rule of
// each month's first day, and the day's 干支 written after an era date.
#include <gtest/gtest.h>

#include <string>

#include "core/calendar.h"
#include "core/civil_date.h"
#include "core/day_names.h"
#include "core/kanshi.h"

using namespace tolmeri;

namespace {

int Greg(int y, int m, int d) {
    return JdnFromCivil({y, m, d});
}
int Jul(int y, int m, int d) {
    return JdnFromJulianCalendar({y, m, d});
}

// Day 干支 as the sources print them.
TEST(Kanshi, DaysAsPublished) {
    struct Case {
        const char* what;
        int jdn;
        const char* kanshi;
    };
    const Case cases[] = {
        // 国立天文台 暦要項 (the almanac's day table).
        {"2000-01-01", Greg(2000, 1, 1), "戊午"},
        {"2024-01-01", Greg(2024, 1, 1), "甲子"},
        // 日本書紀 皇極紀: 六月戊申, the day of 乙巳の変 (6月12日).
        {"645-07-10 (Julian)", Jul(645, 7, 10), "戊申"},
        // 日本書紀 孝徳紀: 乙卯 (6月19日), the first day of 大化.
        {"645-07-17 (Julian)", Jul(645, 7, 17), "乙卯"},
        // 日本紀略: 延暦十三年十月辛酉 (22日), the move to 平安京.
        {"794-11-18 (Julian)", Jul(794, 11, 18), "辛酉"},
        // 安政七年三月三日丁卯, as the diaries of 桜田門外の変 date it.
        {"1860-03-24", Greg(1860, 3, 24), "丁卯"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KanshiName(DayKanshi(c.jdn)), c.kanshi) << c.what;
    // The cycle runs on through the change of calendars: 1582-10-04
    // (Julian) and 1582-10-15, 1872-12-31 (明治5年12月2日) and 1873-01-01.
    EXPECT_EQ(DayKanshi(kFirstGregorianJdn), (DayKanshi(Jul(1582, 10, 4)) + 1) % 60);
    EXPECT_EQ(DayKanshi(kLunisolarEndJdn), (DayKanshi(kLunisolarEndJdn - 1) + 1) % 60);
    EXPECT_EQ(DayKanshi(0), 49); // 癸丑, far before anything else holds
}

TEST(Kanshi, YearsCountFromTheLunisolarNewYear) {
    struct Case {
        int jdn;
        const char* kanshi;
    };
    const Case cases[] = {
        {Jul(672, 7, 24), "壬申"},    // 壬申の乱
        {Greg(1868, 1, 24), "丁卯"},  // 慶応3年12月30日: still the old year
        {Greg(1868, 1, 25), "戊辰"},  // 慶応4年1月1日, 戊辰戦争's year
        {Greg(1872, 12, 31), "壬申"}, // 明治5年12月2日
        {Greg(1873, 1, 1), "癸酉"},   // from here the Gregorian year
        {Greg(1924, 8, 1), "甲子"},   // 甲子園's year
        {Greg(2026, 1, 1), "丙午"},
    };
    for (const Case& c : cases) {
        const DayNames names = NameDay(c.jdn, 9);
        ASSERT_TRUE(names.yearKanshi) << c.kanshi;
        EXPECT_EQ(KanshiName(*names.yearKanshi), c.kanshi) << c.kanshi;
    }
    EXPECT_FALSE(NameDay(kLunisolarFirstJdn - 1, 9).yearKanshi);
}

// 六曜 starts each month at a fixed day: 1月・7月 先勝, 2月・8月 友引,
// 3月・9月 先負, 4月・10月 仏滅, 5月・11月 大安, 6月・12月 赤口; a leap month
// as the month it follows.
TEST(Kanshi, RokuyoOfEachMonthsFirstDay) {
    const char* first[] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(RokuyoName(RokuyoOf(month, 1)), first[(month - 1) % 6]) << month;
    EXPECT_EQ(RokuyoName(RokuyoOf(7, 7)), "先勝");
    EXPECT_EQ(RokuyoName(RokuyoOf(1, 2)), "友引");
    EXPECT_EQ(RokuyoName(RokuyoOf(12, 30)), "大安");
    // 文政13年閏3月1日 is a 先負 day like 3月1日; 1873-01-01, 旧暦1872年12月3日,
    // is 友引.
    const DayNames leap = NameDay(ParseEraDate("文政13年閏3月1日").jdn, 9);
    ASSERT_TRUE(leap.rokuyo);
    EXPECT_EQ(RokuyoName(*leap.rokuyo), "先負");
    ASSERT_TRUE(NameDay(kLunisolarEndJdn, 9).rokuyo);
    EXPECT_EQ(RokuyoName(*NameDay(kLunisolarEndJdn, 9).rokuyo), "友引");
}

TEST(Kanshi, ReadsOnlyPairsOfTheCycle) {
    struct Case {
        const char* text;
        int index; // -1: not read
    };
    const Case cases[] = {
        {"甲子", 0},  {"癸亥", 59}, {"丁卯日", 3}, {"戊午", 54},
        {"甲丑", -1}, {"子甲", -1}, {"甲", -1},    {"", -1},
    };
    for (const Case& c : cases) {
        std::size_t length = 0;
        EXPECT_EQ(ReadKanshi(c.text, length), c.index) << c.text;
        if (c.index >= 0) {
            EXPECT_EQ(length, 6u) << c.text;
        }
    }
}

TEST(Kanshi, AfterAnEraDate) {
    const EraDateParse right = ParseEraDate("安政七年三月三日丁卯");
    EXPECT_EQ(right.error, EraDateError::kNone);
    EXPECT_EQ(right.jdn, Greg(1860, 3, 24));
    EXPECT_EQ(right.kanshi, 3);
    EXPECT_EQ(ParseEraDate(" 安政7年3月3日 ").kanshi, -1);

    const EraDateParse wrong = ParseEraDate("安政7年3月3日戊辰");
    EXPECT_EQ(wrong.error, EraDateError::kWrongKanshi);
    EXPECT_EQ(EraDateErrorMessage(wrong), "安政7年3月3日は戊辰の日ではありません（この日は丁卯）");

    // A pair the cycle lacks, or anything more, is no era date; a fault of
    // the date itself comes before the 干支.
    EXPECT_EQ(ParseEraDate("安政7年3月3日甲丑").error, EraDateError::kMalformed);
    EXPECT_EQ(ParseEraDate("安政7年3月3日丁卯丁卯").error, EraDateError::kMalformed);
    EXPECT_EQ(ParseEraDate("安政7年3月31日丁卯").error, EraDateError::kNoSuchDay);
}

} // namespace
