// core: the lunisolar calendar (旧暦) after 1872, computed as almanac makers
// have done since the calendar reform: the 天保暦 rule applied to the
// astronomical new moons and 中気 in Japan Standard Time (UT+9, whatever the
// place). core/calendar.h joins it to the historical table at 明治5年12月2日
// (1872-12-31); callers use the calendar's functions, not these.
//
// The rule: a month begins on the civil day of its new moon; the month that
// holds the day of 冬至 is 11月; when thirteen months lie from one 11月 to
// the next, the first of them without the day of a 中気 is the leap month
// (閏) of the month before; the other months are numbered on from 11月. A
// 中気 and a new moon on the same day are compared as days, not instants.
// Where the rule's four fixed points (冬至 in 11月, 春分 in 2月, 夏至 in
// 5月, 秋分 in 8月) leave the leap month undecided or cannot all be kept
// (2033-2034, 2147-2148), this numbering is the one the calendar-culture
// association (日本カレンダー暦文化振興協会) recommended in 2015, and each
// month concerned carries a note naming the other readings.
//
// Standard library only. Each thread keeps the last few years it computed
// (a year costs some 15 new moons and 13 solar terms); the results do not
// depend on the order of calls.
#pragma once

#include <optional>
#include <string>

namespace tolmeri {

// The days computed: from 1873-01-01 (the 1872 month that holds it began
// 1872-12-30, as the table has it) to 2200-12-31.
inline constexpr int kComputedLunisolarFirstJdn = 2405160; // 1873-01-01
inline constexpr int kComputedLunisolarEndJdn = 2524959;   // 2201-01-01
// Lunisolar years whose months are computed (1872 for its last two months).
inline constexpr int kComputedLunisolarFirstYear = 1872;
inline constexpr int kComputedLunisolarLastYear = 2200;

struct ComputedMonth {
    int year = 0;
    int month = 1;
    bool leap = false;
    int firstJdn = 0; // the day of its new moon
    int days = 0;     // 29 or 30
};

// The month a day lies in: from the 1872 month that began on 1872-12-30 to
// the one that holds 2200-12-31; nullopt outside.
std::optional<ComputedMonth> ComputedMonthOf(int jdn);
// The month of that name, nullopt when the year has none (or the year is
// outside 1872-2200; of 1872 only 11月 and 12月).
std::optional<ComputedMonth> ComputedMonthNamed(int year, int month, bool leap);
// The ordinary month the year's leap month follows, 0 for none.
int ComputedLeapMonth(int year);

// Where the month holding jdn is named by a choice between readings of the
// rule, one line saying which and naming the others; else empty.
std::string ComputedMonthNote(int jdn);

} // namespace tolmeri
