// core: what a place and a date may be. The one home of the ranges the main
// window's 計算実行 checks and tolmeri-hours accepts, and of the rule that
// ties the time difference to the longitude; both take their limits, and the
// numbers in their messages, from here. Standard library only.
#pragma once

#include <cstdint>

#include "core/civil_date.h"

namespace tolmeri {

// A closed range of whole numbers. Contains takes 64 bits, so any int a
// settings file restores, and any difference of two, compares correctly.
struct IntRange {
    int first = 0;
    int last = 0;
    constexpr bool Contains(long long value) const { return value >= first && value <= last; }
};

inline constexpr IntRange kYearRange{0, 2200};
inline constexpr IntRange kMonthRange{1, 12};
inline constexpr IntRange kDayRange{1, 31};              // of any month; DayRangeIn narrows it
inline constexpr IntRange kLatitudeRange{-54, 54};       // whole degrees
inline constexpr IntRange kLongitudeRange{-180, 180};    // whole degrees
inline constexpr IntRange kArcMinuteRange{0, 59};        // of latitude and longitude alike
inline constexpr IntRange kTimeDifferenceRange{-12, 12}; // hours

// The longest place name, in CP932 bytes: six full-width characters.
inline constexpr int kPlaceNameMaxBytes = 12;

// The time difference may lie this many hours from the one the longitude
// suggests.
inline constexpr int kTimeDifferenceTolerance = 2;

// A picture's sides in pixels (tolmeri-hours --size).
inline constexpr IntRange kPictureSideRange{200, 4000};
// The year chart's picture when no size is asked: tolmeri-hours
// --year-chart and the year-chart window's 画像として保存 alike.
inline constexpr int kYearChartWidth = 1200;
inline constexpr int kYearChartHeight = 800;

// The last day of the accepted years.
inline constexpr CivilDate kLastAcceptedDate{kYearRange.last, 12, 31};

// The whole-hour zone the longitude degrees suggest: degrees / 15, toward
// zero (139 gives 9, -73 gives -4).
constexpr int SuggestedTimeDifference(int lonDeg) {
    return lonDeg / 15;
}

// The whole hour nearest a longitude (degrees and minutes, the minutes
// taking the degrees' sign), 15° to the hour, a half hour away from zero:
// 139°45′ gives 9, -73°52′ gives -5, 7°30′ gives 1. The zone a place without
// a time difference of its own is given; it always fits the rule below.
constexpr int NearestWholeHour(int lonDeg, int lonMin) {
    const long long arc = lonDeg * 60LL + lonMin;
    return static_cast<int>(arc >= 0 ? (arc + 450) / 900 : -((-arc + 450) / 900));
}

// The time-difference rule: a real zone (kTimeDifferenceRange) within
// kTimeDifferenceTolerance hours of the suggested one. Defined for every
// int.
constexpr bool TimeDifferenceFits(int timeDiff, int lonDeg) {
    const long long offset = static_cast<long long>(SuggestedTimeDifference(lonDeg)) - timeDiff;
    return kTimeDifferenceRange.Contains(timeDiff) && offset >= -kTimeDifferenceTolerance &&
           offset <= kTimeDifferenceTolerance;
}

// The days of a month of the proleptic Gregorian calendar: 1 to its length
// (2001年2月: 1 to 28). A month outside kMonthRange gives kDayRange.
IntRange DayRangeIn(int year, int month);

// The minutes of arc a longitude of lonDeg whole degrees may add: none at
// ±180°, as no longitude lies beyond 180°00′ (180:59 is 179:01 the other
// way); 0 to 59 elsewhere.
constexpr IntRange LongitudeMinuteRange(int lonDeg) {
    return lonDeg == kLongitudeRange.first || lonDeg == kLongitudeRange.last ? IntRange{0, 0}
                                                                             : kArcMinuteRange;
}

// A real date of the proleptic Gregorian calendar in an accepted year.
bool IsAcceptedDate(const CivilDate& date);

// How many days from first (an accepted date) up to and including the last
// accepted date.
std::int64_t AcceptedDaysFrom(const CivilDate& first);

} // namespace tolmeri
