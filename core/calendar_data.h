// core: the historical calendar as tables, generated from data/calendar/ by
// data/gen_calendar.py into calendar_data.cpp. Only core/calendar.cpp reads
// them; everything else asks its functions.
#pragma once

#include <cstdint>
#include <string_view>

namespace tolmeri::calendar_data {

// One lunisolar year: its months in order, a leap month (閏) right after the
// ordinary month of the same number.
struct LunisolarYear {
    std::int32_t newYearJdn;  // Julian day number of 1月1日
    std::uint16_t longMonths; // bit i set: the year's i-th month (from 0) has 30 days, else 29
    std::uint8_t leapMonth;   // the ordinary month the leap month follows; 0: none
};

inline constexpr int kFirstLunisolarYear = 445;
inline constexpr int kLastLunisolarYear = 1872;
inline constexpr int kLunisolarFirstJdn = 1883618; // 445-01-24 (Julian calendar)
// The day after the last lunisolar day, 明治5年12月2日: 1873-01-01. The last
// month of 1872 ends here, after 2 days.
inline constexpr int kLunisolarEndJdn = 2405160;

extern const LunisolarYear kLunisolarYears[kLastLunisolarYear - kFirstLunisolarYear + 1];

// Which court of 1331-1392 used an era; kSole before and after the split.
enum class Court : std::uint8_t { kSole, kBoth, kSouthern, kNorthern };

struct Era {
    std::string_view name;
    std::int16_t firstYear; // the (lunisolar, from 1873 Gregorian) year of 元年
    Court court;
    std::int32_t startJdn; // the era's start as listed (proclamation, or as noted)
    // The days a date written in this era may name, [first, end): the union of
    // its periods in force in either court and of its own listed span (慶応 is
    // written until 明治 was proclaimed, though 明治 counts from 1868-01-25).
    std::int32_t firstJdn;
    std::int32_t endJdn; // kOpenEnd for the present era
};

inline constexpr std::int32_t kOpenEnd = 2147483647;
inline constexpr int kEraCount = 248;
extern const Era kEras[kEraCount];

// From startJdn on, era (an index into kEras, -1 for none) is in force, until
// the next period's start. Sorted by start.
struct EraPeriod {
    std::int32_t startJdn;
    std::int16_t era;
};

extern const EraPeriod kSouthernPeriods[];
extern const int kSouthernPeriodCount;
extern const EraPeriod kNorthernPeriods[];
extern const int kNorthernPeriodCount;

} // namespace tolmeri::calendar_data
