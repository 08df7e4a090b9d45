// The historical calendar: the generated table against its CSV, every day
// both ways, well-known dates, era boundaries and both courts, and reading
// era dates as written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/accepted_ranges.h"
#include "core/calendar.h"
#include "core/civil_date.h"
#include "tests/csv_rows.h"

using namespace tolmeri;

namespace {

CivilDate ReadIso(const std::string& text) {
    CivilDate d;
    EXPECT_TRUE(ReadDateText(text, d)) << text;
    return d;
}

int Greg(int y, int m, int d) {
    return JdnFromCivil({y, m, d});
}
int Jul(int y, int m, int d) {
    return JdnFromJulianCalendar({y, m, d});
}

std::string EraText(int jdn, Court court = Court::kSouthern) {
    const auto date = EraDateFromJdn(jdn, court);
    return date ? FormatEraDate(*date) : "(none)";
}

} // namespace

TEST(CivilDate, JulianDayNumbers) {
    struct Case {
        CivilDate gregorian;
        CivilDate julian;
        int jdn;
    };
    const Case cases[] = {
        {{2000, 1, 1}, {1999, 12, 19}, 2451545},  {{1582, 10, 15}, {1582, 10, 5}, 2299161},
        {{1582, 10, 14}, {1582, 10, 4}, 2299160}, {{1873, 1, 1}, {1872, 12, 20}, 2405160},
        {{-4713, 11, 24}, {-4712, 1, 1}, 0},      {{445, 1, 25}, {445, 1, 24}, 1883618},
        {{0, 3, 1}, {0, 3, 3}, 1721120},          {{1970, 1, 1}, {1969, 12, 19}, 2440588},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JdnFromCivil(c.gregorian), c.jdn) << FormatDate(c.gregorian);
        EXPECT_EQ(JdnFromJulianCalendar(c.julian), c.jdn) << FormatDate(c.julian);
        EXPECT_EQ(CivilFromJdn(c.jdn), c.gregorian) << c.jdn;
        EXPECT_EQ(JulianCalendarFromJdn(c.jdn), c.julian) << c.jdn;
    }
    EXPECT_TRUE(IsJulianLeapYear(1700));
    EXPECT_FALSE(IsLeapYear(1700));
    EXPECT_EQ(JulianDaysInMonth(1700, 2), 29);
    EXPECT_FALSE(IsValidDate({2001, 2, 29}));
    EXPECT_TRUE(IsValidDate({2000, 2, 29}));
    EXPECT_FALSE(IsValidDate({2000, 13, 1}));
}

// Every month of the CSV, as the compiled table gives it back.
TEST(LunisolarTable, MatchesTheCsvMonthByMonth) {
    const auto rows =
        ReadCsvRows(std::string(TOLMERI_CALENDAR_DIR) + "/kyureki_months_445_1872.csv");
    ASSERT_EQ(rows.size(), 17662u);
    int leapMonths = 0;
    for (const CsvRow& r : rows) {
        ASSERT_EQ(r.size(), 6u);
        const int year = std::stoi(r[0]), month = std::stoi(r[1]), days = std::stoi(r[5]);
        const bool leap = r[2] == "1";
        const int jdn = std::stoi(r[3]);
        const std::string where = r[0] + "/" + (leap ? "閏" : "") + r[1];
        EXPECT_EQ(JdnFromLunisolar({year, month, leap, 1}), jdn) << where;
        // The table's last month ran on computed after 1872-12-31 (30 days).
        EXPECT_EQ(LunisolarMonthLength(year, month, leap),
                  jdn + days == kLunisolarEndJdn ? 30 : days)
            << where;
        EXPECT_EQ(LunisolarFromJdn(jdn), (LunisolarDate{year, month, leap, 1})) << where;
        EXPECT_EQ(LunisolarFromJdn(jdn + days - 1), (LunisolarDate{year, month, leap, days}))
            << where;
        if (leap) {
            ++leapMonths;
            EXPECT_EQ(LunisolarLeapMonth(year), month) << where;
        }
        if (month == 1 && !leap) {
            EXPECT_EQ(LunisolarNewYearJdn(year), jdn) << where;
        }
        // The civil date column: Julian calendar before 1582-10-15.
        const CivilDate civil = ReadIso(r[4]);
        EXPECT_EQ(jdn < kFirstGregorianJdn ? JdnFromJulianCalendar(civil) : JdnFromCivil(civil),
                  jdn)
            << where;
    }
    EXPECT_EQ(leapMonths, 526);
    EXPECT_EQ(LunisolarFromJdn(kLunisolarFirstJdn - 1), std::nullopt);
    EXPECT_EQ(LunisolarFromJdn(kLunisolarEndJdn), (LunisolarDate{1872, 12, false, 3}));
    EXPECT_EQ(LunisolarMonthLength(444, 1, false), 0);
    EXPECT_EQ(LunisolarMonthLength(2201, 1, false), 0);
}

// Every day from 445 to the last accepted one (2200-12-31): the calendars and
// the era dates both ways, and each era date's text read back to the same day.
TEST(CalendarRoundTrip, EveryDayFrom445On) {
    const int last = JdnFromCivil(kLastAcceptedDate);
    std::optional<LunisolarDate> previous;
    int eraDays = 0;
    for (int jdn = kLunisolarFirstJdn; jdn <= last; ++jdn) {
        ASSERT_EQ(JdnFromCivil(CivilFromJdn(jdn)), jdn);
        ASSERT_EQ(JdnFromJulianCalendar(JulianCalendarFromJdn(jdn)), jdn);
        const auto ls = LunisolarFromJdn(jdn);
        ASSERT_TRUE(ls) << jdn; // the table, then the computed months to 2200
        if (ls) {
            ASSERT_EQ(JdnFromLunisolar(*ls), jdn);
            // Consecutive days: the next day of the month, or day 1 of the next.
            if (previous && ls->day != 1) {
                ASSERT_EQ(ls->day, previous->day + 1) << jdn;
            }
            previous = ls;
        }
        for (const Court court : {Court::kSouthern, Court::kNorthern}) {
            const auto era = EraDateFromJdn(jdn, court);
            if (!era)
                continue;
            ++eraDays;
            const EraDateResult back = JdnFromEraDate(*era);
            ASSERT_EQ(back.error, EraDateError::kNone) << FormatEraDate(*era);
            ASSERT_EQ(back.jdn, jdn) << FormatEraDate(*era);
            // Era dates are lunisolar up to 1872 only.
            if (ls && jdn < kLunisolarEndJdn) {
                ASSERT_EQ(era->month, ls->month);
            }
            const EraDateParse parsed = ParseEraDate(FormatEraDate(*era));
            ASSERT_EQ(parsed.error, EraDateError::kNone) << FormatEraDate(*era);
            ASSERT_EQ(parsed.jdn, jdn) << FormatEraDate(*era);
        }
    }
    EXPECT_GT(eraDays, 1000000);
}

// Well-known days from tests/data/historical_dates.csv.
TEST(HistoricalDates, AsTheSourcesGiveThem) {
    const auto rows = ReadCsvRows(TestDataPath("historical_dates.csv"));
    ASSERT_GE(rows.size(), 15u);
    for (const CsvRow& r : rows) {
        ASSERT_EQ(r.size(), 6u);
        const std::string& event = r[0];
        const int jdn = JdnFromCivil(ReadIso(r[3]));
        EXPECT_EQ(JdnFromJulianCalendar(ReadIso(r[4])), jdn) << event;
        if (!r[1].empty()) {
            const EraDateParse parsed = ParseEraDate(r[1]);
            EXPECT_EQ(parsed.error, EraDateError::kNone) << event << ": " << r[1];
            EXPECT_EQ(parsed.jdn, jdn) << event << ": " << r[1];
        } else {
            EXPECT_EQ(EraDateFromJdn(jdn), std::nullopt) << event;
        }
        if (!r[2].empty()) {
            const auto ls = LunisolarFromJdn(jdn);
            ASSERT_TRUE(ls) << event;
            const std::string text = std::to_string(ls->year) + "/" + (ls->leap ? "閏" : "") +
                                     std::to_string(ls->month) + "/" + std::to_string(ls->day);
            EXPECT_EQ(text, r[2]) << event;
        }
    }
}

// The day before and the day of a change, in both courts.
TEST(EraBoundaries, DayBeforeAndDayOf) {
    struct Case {
        int jdn;
        const char* southern;
        const char* northern;
    };
    const Case cases[] = {
        // The first era, and the gaps without one.
        {Jul(645, 7, 16), "(none)", "(none)"},
        {Jul(645, 7, 17), "大化元年6月19日", "大化元年6月19日"},
        {1960338, "白雉5年12月30日", "白雉5年12月30日"},
        {1960339, "(none)", "(none)"},
        {Jul(686, 8, 13), "(none)", "(none)"},
        {Jul(686, 8, 14), "朱鳥元年7月20日", "朱鳥元年7月20日"},
        {1972033, "(none)", "(none)"},
        {Jul(701, 5, 2), "(none)", "(none)"},
        {Jul(701, 5, 3), "大宝元年3月21日", "大宝元年3月21日"},
        // An ordinary change: the proclamation day is the new era's.
        {Greg(1596, 12, 15), "文禄5年10月26日", "文禄5年10月26日"},
        {Greg(1596, 12, 16), "慶長元年10月27日", "慶長元年10月27日"},
        // The two courts: split, Northern 正慶, 元弘 restored, 延元, reunion.
        {Jul(1331, 9, 10), "元徳3年8月8日", "元徳3年8月8日"},
        {Jul(1331, 9, 11), "元弘元年8月9日", "元徳3年8月9日"},
        {Jul(1332, 5, 23), "元弘2年4月28日", "正慶元年4月28日"},
        {2208123, "元弘3年5月24日", "正慶2年5月24日"},
        {2208124, "元弘3年5月25日", "元弘3年5月25日"},
        {Jul(1334, 3, 5), "建武元年1月29日", "建武元年1月29日"},
        {Jul(1336, 4, 11), "延元元年2月29日", "建武3年2月29日"},
        {Jul(1338, 10, 11), "延元3年8月28日", "暦応元年8月28日"},
        {Jul(1390, 4, 12), "元中7年3月26日", "明徳元年3月26日"},
        {Jul(1392, 11, 18), "元中9年閏10月4日", "明徳3年閏10月4日"},
        {Jul(1392, 11, 19), "明徳3年閏10月5日", "明徳3年閏10月5日"},
        // 明治 counts from 慶応4年1月1日; the calendar reform.
        {Greg(1868, 1, 24), "慶応3年12月30日", "慶応3年12月30日"},
        {Greg(1868, 1, 25), "明治元年1月1日", "明治元年1月1日"},
        {Greg(1868, 10, 23), "明治元年9月8日", "明治元年9月8日"},
        {Greg(1872, 12, 31), "明治5年12月2日", "明治5年12月2日"},
        {Greg(1873, 1, 1), "明治6年1月1日", "明治6年1月1日"},
        {Greg(1912, 7, 29), "明治45年7月29日", "明治45年7月29日"},
        {Greg(1912, 7, 30), "大正元年7月30日", "大正元年7月30日"},
        {Greg(1989, 1, 7), "昭和64年1月7日", "昭和64年1月7日"},
        {Greg(1989, 1, 8), "平成元年1月8日", "平成元年1月8日"},
        {Greg(2019, 4, 30), "平成31年4月30日", "平成31年4月30日"},
        {Greg(2019, 5, 1), "令和元年5月1日", "令和元年5月1日"},
        {Greg(2200, 12, 31), "令和182年12月31日", "令和182年12月31日"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EraText(c.jdn, Court::kSouthern), c.southern) << c.jdn;
        EXPECT_EQ(EraText(c.jdn, Court::kNorthern), c.northern) << c.jdn;
        const EraDates both = EraDatesFromJdn(c.jdn);
        EXPECT_EQ(both.CourtsDiffer(), std::string(c.southern) != c.northern) << c.jdn;
    }
}

TEST(Eras, ListAndSpans) {
    ASSERT_EQ(EraCount(), 248);
    EXPECT_EQ(GetEra(0).name, "大化");
    EXPECT_EQ(GetEra(EraCount() - 1).name, "令和");
    EXPECT_EQ(FindEra("天平勝宝"), FindEra("天平") + 2);
    EXPECT_EQ(FindEra("慶長"), FindEra("文禄") + 1);
    EXPECT_EQ(FindEra("昭和X"), -1);
    const EraInfo& keicho = GetEra(FindEra("慶長"));
    EXPECT_EQ(keicho.lastYear, 20);
    EXPECT_EQ(keicho.startJdn, Greg(1596, 12, 16));
    EXPECT_EQ(GetEra(FindEra("正慶")).court, EraCourt::kNorthern);
    EXPECT_EQ(GetEra(FindEra("元中")).court, EraCourt::kSouthern);
    EXPECT_EQ(GetEra(FindEra("建武")).court, EraCourt::kBoth);
    // 慶応 is written until 明治 was proclaimed, though 明治 counts from 1868-01-25.
    EXPECT_EQ(GetEra(FindEra("慶応")).lastJdn, Greg(1868, 10, 22));
    EXPECT_EQ(GetEra(FindEra("明治")).firstJdn, Greg(1868, 1, 25));
    EXPECT_EQ(GetEra(FindEra("明治")).lastYear, 45);
    // Each era has at least one day on which it is in force.
    for (int i = 0; i < EraCount(); ++i) {
        const EraInfo& e = GetEra(i);
        bool inForce = false;
        for (int jdn = e.firstJdn; jdn <= std::min(e.lastJdn, e.firstJdn + 400) && !inForce; ++jdn)
            inForce = EraOnDay(jdn, Court::kSouthern) == i || EraOnDay(jdn, Court::kNorthern) == i;
        EXPECT_TRUE(inForce) << e.name;
    }
}

TEST(EraDateText, Format) {
    const int keicho = FindEra("慶長"), bunsei = FindEra("文政");
    EXPECT_EQ(FormatEraDate({keicho, 5, false, 9, 15}), "慶長5年9月15日");
    EXPECT_EQ(FormatEraDate({keicho, 1, false, 10, 27}), "慶長元年10月27日");
    EXPECT_EQ(FormatEraDate({bunsei, 13, true, 3, 1}), "文政13年閏3月1日");
    EXPECT_EQ(FormatEraDate({-1, 1, false, 1, 1}), "");
    // A day's era dates as one text: both courts' only where they differ.
    EXPECT_EQ(FormatEraDates(EraDatesFromJdn(Jul(1338, 10, 11))),
              "延元3年8月28日（南朝）・暦応元年8月28日（北朝）");
    EXPECT_EQ(FormatEraDates(EraDatesFromJdn(Jul(1334, 3, 5))), "建武元年1月29日");
    EXPECT_EQ(FormatEraDates(EraDatesFromJdn(Jul(701, 5, 2))), "");
    EXPECT_EQ(FormatLunisolarDate({1830, 3, true, 1}), "1830年閏3月1日");
    EXPECT_EQ(FormatLunisolarDate({1600, 9, false, 15}), "1600年9月15日");
}

// Era dates as written: every way of writing numbers, and each error.
TEST(EraDateText, ParseWrittenForms) {
    struct Case {
        const char* text;
        int jdn;
    };
    const int sekigahara = Greg(1600, 10, 21);
    const Case cases[] = {
        {"慶長5年9月15日", sekigahara},
        {"慶長五年九月十五日", sekigahara},
        {"慶長５年９月１５日", sekigahara},
        {"慶長05年09月15日", sekigahara},
        {"慶長五年九月一五日", sekigahara},
        {"  慶長5年9月15日 ", sekigahara},
        {"\u3000慶長5年9月15日\u3000", sekigahara},
        {"慶長元年10月27日", Greg(1596, 12, 16)},
        {"慶長元年十月二十七日", Greg(1596, 12, 16)},
        {"慶長元年十月廿七日", Greg(1596, 12, 16)},
        {"文政13年閏3月1日", JdnFromLunisolar({1830, 3, true, 1}).value()},
        {"文政十三年閏三月朔日", JdnFromLunisolar({1830, 3, true, 1}).value()},
        {"寛永二〇年正月朔日", JdnFromLunisolar({1643, 1, false, 1}).value()},
        {"寛永廿年正月廿九日", JdnFromLunisolar({1643, 1, false, 29}).value()},
        {"寛永廿年二月卅日", JdnFromLunisolar({1643, 2, false, 30}).value_or(-2)},
        {"元和元年7月13日", Greg(1615, 9, 5)},
        {"天平勝宝4年4月9日", Jul(752, 5, 26)},
        {"安政7年3月3日", Greg(1860, 3, 24)},
        {"明治5年12月2日", Greg(1872, 12, 31)},
        {"明治6年1月1日", Greg(1873, 1, 1)},
        {"明治六年二月二十九日", -1}, // 1873 is a common Gregorian year
        {"令和8年2月28日", Greg(2026, 2, 28)},
    };
    for (const Case& c : cases) {
        const EraDateParse p = ParseEraDate(c.text);
        if (c.jdn < 0) {
            EXPECT_EQ(p.error, EraDateError::kNoSuchDay) << c.text;
            continue;
        }
        EXPECT_EQ(p.error, EraDateError::kNone) << c.text << ": " << EraDateErrorMessage(p);
        EXPECT_EQ(p.jdn, c.jdn) << c.text;
    }
}

TEST(EraDateText, ParseErrorsNameTheProblem) {
    struct Case {
        const char* text;
        EraDateError error;
        const char* message;
    };
    const Case cases[] = {
        {"慶長5年9月", EraDateError::kMalformed, nullptr},
        {"1600-10-21", EraDateError::kMalformed, nullptr},
        {"慶長5年9月15日です", EraDateError::kMalformed, nullptr},
        {"慶長5年九9月15日", EraDateError::kMalformed, nullptr},
        {"慶長十十年9月15日", EraDateError::kMalformed, nullptr},
        {"慶長〇十年9月15日", EraDateError::kMalformed, nullptr},
        {"", EraDateError::kMalformed, nullptr},
        {"大和5年9月15日", EraDateError::kUnknownEra, "「大和」という元号はありません"},
        {"慶長25年1月1日", EraDateError::kYearOutsideEra,
         "慶長25年はありません（慶長は元年から20年まで）"},
        {"慶長0年1月1日", EraDateError::kYearOutsideEra, nullptr},
        {"朱鳥2年1月1日", EraDateError::kYearOutsideEra, "朱鳥2年はありません（朱鳥は元年のみ）"},
        {"慶長5年13月1日", EraDateError::kNoSuchMonth, "慶長5年に13月はありません"},
        {"慶長5年0月1日", EraDateError::kNoSuchMonth, nullptr},
        {"文政12年閏3月1日", EraDateError::kNoSuchLeapMonth,
         "文政12年に閏3月はありません（この年に閏月はありません）"},
        {"文政13年閏4月1日", EraDateError::kNoSuchLeapMonth,
         "文政13年に閏4月はありません（この年の閏月は閏3月）"},
        {"明治6年閏1月1日", EraDateError::kNoSuchLeapMonth,
         "明治6年に閏月はありません（明治6年からは太陽暦です）"},
        {"明治5年12月3日", EraDateError::kNoSuchDay,
         "明治5年12月に3日はありません（12月は2日まで）"},
        {"慶長5年9月0日", EraDateError::kNoSuchDay, nullptr},
        {"令和7年2月29日", EraDateError::kNoSuchDay,
         "令和7年2月に29日はありません（2月は28日まで）"},
    };
    for (const Case& c : cases) {
        const EraDateParse p = ParseEraDate(c.text);
        EXPECT_EQ(p.error, c.error) << c.text;
        const std::string message = EraDateErrorMessage(p);
        EXPECT_FALSE(message.empty()) << c.text;
        EXPECT_EQ(message.find('\n'), std::string::npos) << c.text;
        if (c.message) {
            EXPECT_EQ(message, c.message) << c.text;
        }
    }
    // A date outside the era's days, which only the strict reading refuses
    // now that the first years of the eras after years without one read.
    EraDateParse outside;
    outside.error = EraDateError::kDateOutsideEra;
    outside.date = {FindEra("大宝"), 1, false, 1, 1};
    EXPECT_EQ(JdnFromEraDate(outside.date).error, EraDateError::kDateOutsideEra);
    EXPECT_EQ(EraDateErrorMessage(outside),
              "大宝元年1月1日は大宝の期間外です（大宝は大宝元年3月21日から大宝4年5月9日まで）");
    EXPECT_TRUE(LooksLikeEraDate("慶長5年9月15日"));
    EXPECT_FALSE(LooksLikeEraDate("1600-10-21"));
    EXPECT_FALSE(LooksLikeEraDate("  "));
}

// Era dates as sources write them outside the era's own days, each read
// with a note naming the date in force; the strict reading still refuses
// them.
TEST(EraDateText, SourcesConventionsAreReadWithANote) {
    const struct {
        const char* text;
        int jdn;
        const char* note;
    } cases[] = {
        // The old era kept after its change, to the end of that year.
        {"安政7年3月20日", Greg(1860, 4, 10), "安政7年3月20日 は 万延元年3月20日（3月18日に改元）"},
        {"安政7年3月18日", Greg(1860, 4, 8), "安政7年3月18日 は 万延元年3月18日（3月18日に改元）"},
        {"安政7年12月29日", JdnFromLunisolar({1860, 12, false, 29}).value(),
         "安政7年12月29日 は 万延元年12月29日（3月18日に改元）"},
        {"慶応4年9月8日", Greg(1868, 10, 23), "慶応4年9月8日 は 明治元年9月8日（9月8日に改元）"},
        {"文禄5年11月1日", JdnFromLunisolar({1596, 11, false, 1}).value(),
         "文禄5年11月1日 は 慶長元年11月1日（10月27日に改元）"},
        {"昭和64年1月8日", Greg(1989, 1, 8), "昭和64年1月8日 は 平成元年1月8日（1月8日に改元）"},
        {"平成31年5月1日", Greg(2019, 5, 1), "平成31年5月1日 は 令和元年5月1日（5月1日に改元）"},
        // Two changes in one year: the note names the one that began the era
        // in force (天平 to 天平感宝 on 4月14日, to 天平勝宝 on 7月2日).
        {"天平21年5月1日", JdnFromLunisolar({749, 5, false, 1}).value(),
         "天平21年5月1日 は 天平感宝元年5月1日（4月14日に改元）"},
        {"天平21年8月1日", JdnFromLunisolar({749, 8, false, 1}).value(),
         "天平21年8月1日 は 天平勝宝元年8月1日（7月2日に改元）"},
        {"天平感宝元年8月1日", JdnFromLunisolar({749, 8, false, 1}).value(),
         "天平感宝元年8月1日 は 天平勝宝元年8月1日（7月2日に改元）"},
        // The new era's name before its proclamation, in its first year.
        {"慶長元年閏7月13日", JdnFromLunisolar({1596, 7, true, 13}).value(),
         "慶長元年閏7月13日 は 文禄5年閏7月13日（慶長への改元は10月27日）"},
        {"万延元年1月1日", JdnFromLunisolar({1860, 1, false, 1}).value(),
         "万延元年1月1日 は 安政7年1月1日（万延への改元は3月18日）"},
        {"令和元年4月30日", Greg(2019, 4, 30),
         "令和元年4月30日 は 平成31年4月30日（令和への改元は5月1日）"},
        // Before the eras that follow years without one: the reign's year.
        {"大化元年6月12日", Jul(645, 7, 10),
         "大化元年6月12日 は 皇極天皇4年6月12日（大化への改元は6月19日）"},
        {"朱鳥元年7月1日", Jul(686, 7, 26),
         "朱鳥元年7月1日 は 天武天皇15年7月1日（朱鳥への改元は7月20日）"},
        {"大宝元年1月1日", Jul(701, 2, 13),
         "大宝元年1月1日 は 文武天皇5年1月1日（大宝への改元は3月21日）"},
        // 1331-1392: counted in the court that had the written era.
        {"正慶2年6月1日", JdnFromLunisolar({1333, 6, false, 1}).value(),
         "正慶2年6月1日 は 元弘3年6月1日（5月25日に改元）"},
        {"暦応元年1月1日", JdnFromLunisolar({1338, 1, false, 1}).value(),
         "暦応元年1月1日 は 建武5年1月1日（暦応への改元は8月28日）"},
        {"延元元年1月1日", JdnFromLunisolar({1336, 1, false, 1}).value(),
         "延元元年1月1日 は 建武3年1月1日（延元への改元は2月29日）"},
        {"元中9年閏10月20日", JdnFromLunisolar({1392, 10, true, 20}).value(),
         "元中9年閏10月20日 は 明徳3年閏10月20日（閏10月5日に改元）"},
        {"明徳元年1月1日", JdnFromLunisolar({1390, 1, false, 1}).value(),
         "明徳元年1月1日 は 康応2年1月1日（明徳への改元は3月26日）"},
    };
    for (const auto& c : cases) {
        const EraDateParse p = ParseEraDate(c.text);
        EXPECT_EQ(p.error, EraDateError::kNone) << c.text << ": " << EraDateErrorMessage(p);
        EXPECT_EQ(p.jdn, c.jdn) << c.text;
        EXPECT_EQ(p.note, c.note) << c.text;
        EXPECT_EQ(JdnFromEraDate(p.date).error, EraDateError::kDateOutsideEra) << c.text;
    }
    // Inside the era's days: no note.
    for (const char* text : {"安政7年3月3日", "万延元年3月18日", "慶応4年9月7日", "明治元年1月1日",
                             "慶長元年10月27日", "元中9年閏10月4日"}) {
        const EraDateParse p = ParseEraDate(text);
        EXPECT_EQ(p.error, EraDateError::kNone) << text;
        EXPECT_EQ(p.note, "") << text;
    }
}

// Which part of a written date is at fault, for a caller that shows it:
// the first part that does not read, or the part a check refused.
TEST(EraDateText, TheFaultyPartIsNamed) {
    using F = EraDateField;
    using E = EraDateError;
    const struct {
        const char* text;
        EraDateError error;
        EraDateField field;
    } cases[] = {
        {"慶長5年9月15日", E::kNone, F::kNone},
        {"1600-10-21", E::kMalformed, F::kEra},
        {"", E::kMalformed, F::kEra},
        {"\xC0\xB5年9月15日", E::kMalformed, F::kEra},
        {"大和5年9月15日", E::kUnknownEra, F::kEra},
        {"慶長5x年9月15日", E::kMalformed, F::kYear},
        {"慶長年9月15日", E::kMalformed, F::kYear},
        {"慶長十十年9月15日", E::kMalformed, F::kYear},
        {"慶長5年九a月15日", E::kMalformed, F::kMonth},
        {"慶長5年閏月15日", E::kMalformed, F::kMonth},
        {"慶長5年9月", E::kMalformed, F::kDay},
        {"慶長5年9月-1日", E::kMalformed, F::kDay},
        {"慶長5年9月15日です", E::kMalformed, F::kKanshi},
        {"安政7年3月3日甲丑", E::kMalformed, F::kKanshi},
        {"慶長25年1月1日", E::kYearOutsideEra, F::kYear},
        {"慶長5年13月1日", E::kNoSuchMonth, F::kMonth},
        {"文政12年閏3月1日", E::kNoSuchLeapMonth, F::kMonth},
        {"明治6年閏1月1日", E::kNoSuchLeapMonth, F::kMonth},
        {"令和7年2月29日", E::kNoSuchDay, F::kDay},
        {"安政7年3月31日丁卯", E::kNoSuchDay, F::kDay},
        // Before 大宝 (from 3月21日) and 朱鳥 (from 7月20日): the reigns' days.
        {"大宝元年1月1日", E::kNone, F::kNone},
        {"朱鳥元年7月1日", E::kNone, F::kNone},
        {"安政7年3月3日戊辰", E::kWrongKanshi, F::kKanshi},
    };
    for (const auto& c : cases) {
        const EraDateParse p = ParseEraDate(c.text);
        EXPECT_EQ(p.error, c.error) << c.text;
        EXPECT_EQ(p.field, c.field) << c.text;
    }
}

// A date given part by part, as separate boxes hold it: each part read by
// itself, so a fault is found in its own part however the others read.
TEST(EraDateText, PartsAreReadEachByItself) {
    using F = EraDateField;
    using E = EraDateError;
    const int sekigahara = Greg(1600, 10, 21);
    const struct {
        EraDateParts parts;
        EraDateError error;
        EraDateField field;
        int jdn; // for kNone
        const char* message;
    } cases[] = {
        {{"慶長", "5", false, "9", "15"}, E::kNone, F::kNone, sekigahara, ""},
        {{"慶長", "五年", false, "九月", "十五日"}, E::kNone, F::kNone, sekigahara, ""},
        {{" 慶長 ", "５", false, "９", "１５"}, E::kNone, F::kNone, sekigahara, ""},
        {{"慶長", "元", false, "10", "27"}, E::kNone, F::kNone, Greg(1596, 12, 16), ""},
        {{"寛永", "二〇", false, "正", "朔"},
         E::kNone,
         F::kNone,
         JdnFromLunisolar({1643, 1, false, 1}).value(),
         ""},
        // 閏 in the month's box or by the flag.
        {{"文政", "13", false, "閏3", "1"},
         E::kNone,
         F::kNone,
         JdnFromLunisolar({1830, 3, true, 1}).value(),
         ""},
        {{"文政", "13", true, "3月", "1"},
         E::kNone,
         F::kNone,
         JdnFromLunisolar({1830, 3, true, 1}).value(),
         ""},
        {{"", "5", false, "9", "15"}, E::kMalformed, F::kEra, 0, nullptr},
        {{"大和", "5x", false, "", ""},
         E::kUnknownEra,
         F::kEra,
         0,
         "「大和」という元号はありません"},
        {{"慶長", "5x", false, "9", "15"}, E::kMalformed, F::kYear, 0, nullptr},
        // Written out, these would read as another part's fault.
        {{"慶長", "5年年", false, "9", "15"}, E::kMalformed, F::kYear, 0, nullptr},
        {{"慶長", "5年9", false, "15", "1"}, E::kMalformed, F::kYear, 0, nullptr},
        {{"慶長", "5", false, "9月15", "日"}, E::kMalformed, F::kMonth, 0, nullptr},
        {{"慶長", "", false, "9", "15"}, E::kMalformed, F::kYear, 0, nullptr},
        {{"慶長", "5", false, "九a", "15"}, E::kMalformed, F::kMonth, 0, nullptr},
        {{"慶長", "5", false, "9", "-1"}, E::kMalformed, F::kDay, 0, nullptr},
        {{"慶長", "5", false, "9", ""}, E::kMalformed, F::kDay, 0, nullptr},
        {{"慶長", "25", false, "1", "1"},
         E::kYearOutsideEra,
         F::kYear,
         0,
         "慶長25年はありません（慶長は元年から20年まで）"},
        {{"文政", "12", true, "3", "1"},
         E::kNoSuchLeapMonth,
         F::kMonth,
         0,
         "文政12年に閏3月はありません（この年に閏月はありません）"},
        {{"文政", "12", false, "3", "30"},
         E::kNoSuchDay,
         F::kDay,
         0,
         "文政12年3月に30日はありません（3月は29日まで）"},
        {{"大宝", "元", false, "1", "1"}, E::kNone, F::kNone, Jul(701, 2, 13), nullptr},
        {{"\xC0\xB5", "5", false, "9", "15"}, E::kMalformed, F::kEra, 0, nullptr},
        {{"慶長", "\xC0\xB5", false, "9", "15"}, E::kMalformed, F::kYear, 0, nullptr},
    };
    for (const auto& c : cases) {
        const EraDateParts& in = c.parts;
        const std::string trace = std::string(in.era) + "|" + std::string(in.year) + "|" +
                                  std::string(in.month) + "|" + std::string(in.day);
        const EraDateParse p = ParseEraDateParts(in);
        EXPECT_EQ(p.error, c.error) << trace;
        EXPECT_EQ(p.field, c.field) << trace;
        if (c.error == E::kNone) {
            EXPECT_EQ(p.jdn, c.jdn) << trace;
        }
        if (c.message) {
            EXPECT_EQ(EraDateErrorMessage(p), c.message) << trace;
        }
    }
    // The sources' conventions come with their note, as for a written date.
    const EraDateParse kept = ParseEraDateParts({"安政", "7", false, "3", "20"});
    EXPECT_EQ(kept.note, ParseEraDate("安政7年3月20日").note);
    EXPECT_EQ(kept.jdn, Greg(1860, 4, 10));
}

// The structured date checks in the same order, for a dialog's fields.
TEST(EraDateText, FieldsToDay) {
    const int bunsei = FindEra("文政");
    EXPECT_EQ(JdnFromEraDate({bunsei, 13, true, 3, 1}).error, EraDateError::kNone);
    EXPECT_EQ(JdnFromEraDate({bunsei, 13, true, 3, 30}).error, EraDateError::kNoSuchDay);
    EXPECT_EQ(JdnFromEraDate({-1, 1, false, 1, 1}).error, EraDateError::kUnknownEra);
    EXPECT_EQ(JdnFromEraDate({EraCount(), 1, false, 1, 1}).error, EraDateError::kUnknownEra);
}

// Titles name a Western year with the era years its days were counted in:
// before 1873 its January and early February belong to the lunisolar year
// before.
TEST(EraDateText, WesternYearsWithTheirEras) {
    const struct {
        int year;
        const char* text;
    } cases[] = {
        {2026, "2026年（令和8年）"},
        {2019, "2019年（平成31年・令和元年）"},
        {1989, "1989年（昭和64年・平成元年）"},
        {1873, "1873年（明治6年）"},
        {1872, "1872年（明治4～5年）"},
        {1868, "1868年（慶応3年・明治元年）"},
        {1798, "1798年（寛政9～10年）"},
        {1704, "1704年（元禄16～17年・宝永元年）"},
        {1700, "1700年（元禄12～13年）"},
        {1336, "1336年（建武2～3年・延元元年）"}, // the Southern court's eras
        {1750, "1750年（寛延2～3年）"},
        {600, "600年"},
        {0, "0年"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatYearWithEras(c.year), c.text);
}
