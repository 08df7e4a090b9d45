// The lunisolar calendar after 1872: against the national observatory's
// new moons of 2004-2027, against a modern ephemeris for 1873-2200, the
// 2033 months, the seam with the historical table, and the 雑節.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "core/calendar.h"
#include "core/civil_date.h"
#include "core/day_names.h"
#include "core/kanshi.h"
#include "core/lunisolar_computed.h"
#include "core/zassetsu.h"
#include "tests/csv_rows.h"

using namespace tolmeri;

namespace {

int Jdn(const std::string& iso) {
    CivilDate date;
    EXPECT_TRUE(ReadDateText(iso, date)) << iso;
    return JdnFromCivil(date);
}

LunisolarDate First(const CsvRow& r, std::size_t at) {
    return {std::stoi(r[at]), std::stoi(r[at + 1]), r[at + 2] == "1", 1};
}

} // namespace

// Every month of 2004-2027 begins on the day of the almanac's new moon, the
// close calls within minutes of midnight included, and has the leap months
// it lists.
TEST(ComputedLunisolar, AgainstTheAlmanacs2004To2027) {
    const auto rows = ReadCsvRows(TestDataPath("kyureki_almanac.csv"));
    ASSERT_EQ(rows.size(), 297u);
    for (const CsvRow& r : rows) {
        const int jdn = Jdn(r[0]);
        const LunisolarDate first = First(r, 2);
        EXPECT_EQ(LunisolarFromJdn(jdn), first) << r[0] << " " << r[1];
        EXPECT_EQ(JdnFromLunisolar(first), jdn) << r[0];
        EXPECT_NE(LunisolarFromJdn(jdn - 1)->day, 1) << r[0];
        if (first.leap) {
            EXPECT_EQ(LunisolarLeapMonth(first.year), first.month) << r[0];
        }
    }
}

// Every month of 1873-2200 as the ephemeris's new moons and terms place it.
// Where one of them lies within seconds of midnight the two ephemerides may
// fall on different days; those are counted and must stay few.
TEST(ComputedLunisolar, AgainstTheEphemeris1873To2200) {
    const auto rows = ReadCsvRows(TestDataPath("kyureki_ephemeris.csv"));
    ASSERT_GT(rows.size(), 4000u);
    int closeCalls = 0;
    for (const CsvRow& r : rows) {
        const int jdn = Jdn(r[0]);
        const LunisolarDate first = First(r, 1);
        const double newMoon = std::fabs(std::stod(r[4]));
        const double term = r[5].empty() ? 1e9 : std::fabs(std::stod(r[5]));
        if (std::min(newMoon, term) < 1.0) {
            ++closeCalls;
            if (JdnFromLunisolar(first) != jdn)
                std::printf("close call %s: %s\n", r[0].c_str(),
                            FormatLunisolarDate(*LunisolarFromJdn(jdn)).c_str());
            continue;
        }
        if (jdn >= kLunisolarEndJdn) {
            EXPECT_EQ(LunisolarFromJdn(jdn), first) << r[0];
        }
        EXPECT_EQ(JdnFromLunisolar(first), jdn) << r[0];
    }
    EXPECT_LT(closeCalls, 12);
    std::printf("%d months within a minute of midnight left out\n", closeCalls);
}

// 2033-2034: 秋分 cannot be in 8月 with 冬至 in 11月; the leap month is
// 閏11月 from 2033-12-22, and the months whose names the readings dispute
// carry the note.
TEST(ComputedLunisolar, The2033Months) {
    const struct {
        const char* day;
        LunisolarDate first;
    } months[] = {
        {"2033-07-26", {2033, 7, false, 1}},  {"2033-08-25", {2033, 8, false, 1}},
        {"2033-09-23", {2033, 9, false, 1}},  {"2033-10-23", {2033, 10, false, 1}},
        {"2033-11-22", {2033, 11, false, 1}}, {"2033-12-22", {2033, 11, true, 1}},
        {"2034-01-20", {2033, 12, false, 1}}, {"2034-02-19", {2034, 1, false, 1}},
        {"2034-03-20", {2034, 2, false, 1}},
    };
    for (const auto& m : months) {
        EXPECT_EQ(LunisolarFromJdn(Jdn(m.day)), m.first) << m.day;
        EXPECT_EQ(JdnFromLunisolar(m.first), Jdn(m.day)) << m.day;
    }
    EXPECT_EQ(LunisolarLeapMonth(2033), 11);
    EXPECT_EQ(LunisolarLeapMonth(2034), 0);
    EXPECT_EQ(JdnFromLunisolar({2034, 1, true, 1}), std::nullopt);
    const std::string note = ComputedMonthNote(Jdn("2033-12-22"));
    EXPECT_NE(note.find("2033年閏11月"), std::string::npos) << note;
    EXPECT_NE(note.find("日本カレンダー暦文化振興協会"), std::string::npos) << note;
    EXPECT_NE(note.find("2033年閏7月"), std::string::npos) << note;
    EXPECT_NE(note.find("2034年閏1月"), std::string::npos) << note;
    for (const char* day : {"2033-08-25", "2033-10-01", "2034-02-19", "2034-03-19"})
        EXPECT_EQ(ComputedMonthNote(Jdn(day)), note) << day;
    for (const char* day : {"2033-08-24", "2034-03-20", "2026-02-17"})
        EXPECT_EQ(ComputedMonthNote(Jdn(day)), "") << day;
}

// 2147-2148 keeps its fixed points but has two months without a 中気 where
// one leap month goes: the same principle puts it first, with the note.
TEST(ComputedLunisolar, TheOtherChoiceUpTo2200) {
    EXPECT_EQ(LunisolarFromJdn(Jdn("2147-12-23")), (LunisolarDate{2147, 11, true, 1}));
    EXPECT_EQ(LunisolarFromJdn(Jdn("2148-02-20")), (LunisolarDate{2148, 1, false, 1}));
    const std::string note = ComputedMonthNote(Jdn("2148-01-01"));
    EXPECT_NE(note.find("2147年閏11月"), std::string::npos) << note;
    EXPECT_NE(note.find("2148年閏1月"), std::string::npos) << note;
    // No other month of 1873-2200 carries a note.
    int noted = 0;
    for (int jdn = kLunisolarEndJdn; jdn < kComputedLunisolarEndJdn; jdn += 10)
        noted += ComputedMonthNote(jdn).empty() ? 0 : 1;
    EXPECT_GT(noted, 20);
    EXPECT_LT(noted, 40);
}

// 明治5年12月2日 (1872-12-31) is the table's last day; the month runs on
// computed, 1873-01-01 being 1872年12月3日, to the New Year of 1873-01-29.
TEST(ComputedLunisolar, TheSeamAt1872) {
    EXPECT_EQ(LunisolarFromJdn(kLunisolarEndJdn - 1), (LunisolarDate{1872, 12, false, 2}));
    EXPECT_EQ(LunisolarFromJdn(kLunisolarEndJdn), (LunisolarDate{1872, 12, false, 3}));
    EXPECT_EQ(JdnFromLunisolar({1872, 12, false, 3}), kLunisolarEndJdn);
    EXPECT_EQ(ComputedMonthOf(kLunisolarEndJdn)->firstJdn, Jdn("1872-12-30"));
    EXPECT_EQ(LunisolarMonthLength(1872, 12, false), Jdn("1873-01-29") - Jdn("1872-12-30"));
    EXPECT_EQ(LunisolarNewYearJdn(1873), Jdn("1873-01-29"));
    EXPECT_EQ(LunisolarFromJdn(Jdn("1873-01-28"))->day, 30);
    // Era dates keep the two days of 明治5年12月.
    EraDate meiji{FindEra("明治"), 5, false, 12, 3};
    EXPECT_EQ(JdnFromEraDate(meiji).error, EraDateError::kNoSuchDay);
    // The span's last day.
    EXPECT_TRUE(LunisolarFromJdn(kComputedLunisolarEndJdn - 1));
    EXPECT_FALSE(LunisolarFromJdn(kComputedLunisolarEndJdn));
}

// Every day of 1873-2200 has a date that leads back to it, the next day's
// one day on or the first of the next month.
TEST(ComputedLunisolar, EveryDayRoundTrips) {
    LunisolarDate previous = *LunisolarFromJdn(kLunisolarEndJdn - 1);
    for (int jdn = kLunisolarEndJdn; jdn < kComputedLunisolarEndJdn; ++jdn) {
        const std::optional<LunisolarDate> d = LunisolarFromJdn(jdn);
        ASSERT_TRUE(d) << jdn;
        ASSERT_EQ(JdnFromLunisolar(*d), jdn);
        if (d->day == 1)
            ASSERT_TRUE(previous.day == 29 || previous.day == 30) << jdn;
        else
            ASSERT_EQ(d->day, previous.day + 1) << jdn;
        previous = *d;
    }
}

// Kept years are the same whatever the order and the thread that asks.
TEST(ComputedLunisolar, ResultsDoNotDependOnTheOrderOfCalls) {
    std::vector<int> days;
    for (int jdn = Jdn("2030-06-01"); jdn < Jdn("2036-06-01"); jdn += 7)
        days.push_back(jdn);
    std::vector<std::optional<LunisolarDate>> forward, backward(days.size());
    for (int jdn : days)
        forward.push_back(LunisolarFromJdn(jdn));
    std::thread other([&] {
        for (std::size_t i = days.size(); i-- > 0;) {
            LunisolarFromJdn(Jdn("2190-01-01") - static_cast<int>(i)); // other years in between
            backward[i] = LunisolarFromJdn(days[i]);
        }
    });
    other.join();
    EXPECT_EQ(forward, backward);
}

// 旧正月 is 先勝 on its modern dates as on its old ones; 閏11月1日 is 大安.
TEST(ComputedLunisolar, RokuyoOfModernDays) {
    const struct {
        const char* day;
        const char* rokuyo;
    } days[] = {{"2026-02-17", "先勝"},
                {"2034-02-19", "先勝"},
                {"2033-12-22", "大安"},
                {"2026-09-25", "仏滅"},
                {"1873-01-01", "友引"}};
    for (const auto& d : days) {
        const DayNames names = NameDay(Jdn(d.day), 9);
        ASSERT_TRUE(names.rokuyo) << d.day;
        EXPECT_EQ(RokuyoName(*names.rokuyo), d.rokuyo) << d.day;
    }
}

// The 雑節 of 2024 and 2026 as published; no other day of those years has
// the kinds the lists give completely.
TEST(Zassetsu, AgainstPublishedLists) {
    const auto rows = ReadCsvRows(TestDataPath("zassetsu_almanac.csv"));
    ASSERT_EQ(rows.size(), 30u);
    int listed = 0;
    for (const CsvRow& r : rows) {
        const NamedDays days = NamedDaysOn(Jdn(r[0]), 9, LunisolarFromJdn(Jdn(r[0])));
        EXPECT_NE(FormatNamedDays(days).find(r[1]), std::string::npos)
            << r[0] << " " << r[1] << ": " << FormatNamedDays(days);
        listed += r[0].starts_with("2024") ? 1 : 0;
    }
    // 2024: every day but the 土用 of spring, autumn and winter.
    const NamedDays complete =
        ~(NamedDayBit(NamedDay::kDoyoStart) | NamedDayBit(NamedDay::kDoyoUshi) |
          NamedDayBit(NamedDay::kChushu) | NamedDayBit(NamedDay::kJusanya));
    int found = 0;
    for (int jdn = Jdn("2024-01-01"); jdn <= Jdn("2024-12-31"); ++jdn)
        found += std::popcount(NamedDaysOn(jdn, 9, std::nullopt) & complete);
    EXPECT_EQ(found, listed - 3);
}

// The moon-viewing nights come from the lunisolar date, a leap month's
// days excepted; a day can have two names.
TEST(Zassetsu, MoonViewingAndSharedDays) {
    EXPECT_EQ(FormatNamedDays(NameDay(Jdn("2026-09-25"), 9).namedDays), "中秋の名月");
    EXPECT_EQ(FormatNamedDays(NameDay(Jdn("2026-10-23"), 9).namedDays), "十三夜");
    EXPECT_EQ(NamedDaysOn(0, 9, LunisolarDate{2025, 8, true, 15}), 0u);
    EXPECT_EQ(FormatNamedDays(NamedDayBit(NamedDay::kDoyoStart) | NamedDayBit(NamedDay::kDoyoUshi)),
              "土用の入り・土用の丑の日");
    // 1860's 中秋 from the historical table.
    EXPECT_EQ(NameDay(*JdnFromLunisolar({1860, 8, false, 15}), 9).namedDays,
              NamedDayBit(NamedDay::kChushu));
}
