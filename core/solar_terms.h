// core: the 24 solar terms (二十四節気) by the true Sun (定気): a term begins
// at the moment the Sun's apparent ecliptic longitude reaches its multiple of
// 15°. The Sun comes from VSOP87 (core/ephemeris.h: nutation, aberration)
// and ΔT; a term's moment is within a minute of a modern ephemeris for
// 1600-2200, and its day in Japan the same except for moments within 10 s
// of midnight (docs/CALENDAR.md). Standard library only.
//
// Days are Julian day numbers of local civil days; moments are Julian dates
// of universal time. timeDiffHours is the place's standard time minus
// universal time (9 for Japan).
#pragma once

#include <array>
#include <string_view>

namespace tolmeri {

inline constexpr int kSolarTermCount = 24;

// The names from 立春 (index 0, 315°) on: 立春 雨水 啓蟄 春分 ... 小寒 大寒.
extern const std::array<std::string_view, kSolarTermCount> kSolarTermNames;

// The Sun's apparent longitude at which term begins, in whole degrees.
constexpr int SolarTermLongitude(int term) {
    return (315 + 15 * term) % 360;
}

// ΔT = TT − UT in seconds for a (fractional) Gregorian year: the polynomial
// fits of Espenak and Meeus, their parabola outside them.
double DeltaTSeconds(double year);

// The moment (Julian date, UT) term begins nearest to jdNear; jdNear must be
// within about 150 days of it.
double SolarTermMoment(int term, double jdNear);
// The same for any apparent longitude (degrees): 入梅 at 80°, the 土用 at
// 27°, 117°, 207° and 297°.
double SunLongitudeMoment(double longitude, double jdNear);

// A term's beginning in local standard time.
struct SolarTermStart {
    int term = 0;
    double jd = 0.0; // the moment, UT
    int jdn = 0;     // the local day it falls on (the term's first day)
    int minute = 0;  // local minute of that day, 0-1439 (seconds cut off)
};

// The term in effect on a local day: the last one whose moment falls on or
// before that day; the day it began is its first day. One evaluation of the
// Sun for the term and a few for its start.
SolarTermStart SolarTermOnDay(int jdn, double timeDiffHours);
// Only the term, with one evaluation of the Sun.
int SolarTermIndexOnDay(int jdn, double timeDiffHours);

// The 24 beginnings within a Gregorian year, in date order (小寒 first).
std::array<SolarTermStart, kSolarTermCount> SolarTermsOfYear(int year, double timeDiffHours);

// Local day and minute of a moment (day 0 for a moment or time difference
// that is not finite).
SolarTermStart LocalStart(int term, double jd, double timeDiffHours);

} // namespace tolmeri
