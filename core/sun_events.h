// core: the Sun's events of one day and their division into temporal
// half-hours, as pure functions on plain values (the calculator record and the
// command-line tool share them).
#pragma once

#include <array>
#include <string_view>

namespace tolmeri {

inline constexpr double kPi = 3.14159265; // the program's pi, everywhere
inline constexpr double kTwoPi = 6.2831853;

// Degrees to radians with the program's pi, multiplication first.
double DegToRad(double degrees);

// Adds 0.5 and truncates toward zero: rounding with halves up for x >= -0.5,
// one more than that below it (R(-20.3) = -19). The argument must be finite
// and well inside the int range; the callers guarantee it.
int RoundMinute(double x);

// The boundary table of a day: 25 day minutes (minutes of local standard
// time from 00:00 of the date, negative before it, 1440 or more after its
// end). Boundary 0 and 24 are the midnights (transit -/+ 720), 6 dawn (明六つ),
// 12 the transit and 18 dusk (暮六つ); even entries start the twelve hours,
// odd ones their halves.
inline constexpr int kBoundaryCount = 25;
using BoundaryTable = std::array<int, kBoundaryCount>;

// The same table before rounding, in fractional day minutes: the same
// moments divided in sixths without rounding. For drawing a run of days
// (whose rounded minutes would step back and forth); every time shown is the
// rounded table's.
using ExactBoundaryTable = std::array<double, kBoundaryCount>;

// What the astronomy of one day gives: the table, sunrise and sunset, and
// the same unrounded.
struct SunEvents {
    BoundaryTable boundary{};
    int sunrise = 0;
    int sunset = 0;
    ExactBoundaryTable exact{};
    double exactSunrise = 0.0;
    double exactSunset = 0.0;
};

// Where dawn (明六つ) and dusk (暮六つ) fall: the moments the Sun's centre
// stands at altitude (as the program writes it: the sine's place, see
// docs/ACCURACY.md; 0 is the geometric horizon), moved offsetMinutes outward
// after rounding (dawn earlier, dusk later), but never beyond the midnights.
struct DawnDuskRule {
    double altitude = -0.1284753; // about 7°21′40″ below the horizon
    int offsetMinutes = 0;
};

// The window's rule: the depression of 7°21′40″.
inline constexpr DawnDuskRule kDepressionRule{};

// The unrounded moments of a day's events in day minutes: the transit, dawn
// and dusk of the rule's altitude (before its offset), sunrise and sunset.
struct SunMoments {
    double transit = 0.0;
    double dawn = 0.0;
    double dusk = 0.0;
    double sunrise = 0.0;
    double sunset = 0.0;
};

// The table from the moments: each rounded, dawn and dusk moved by the
// rule's offset, the midnights at the transit -/+ 720 and the quarters
// divided into their hours; and the same without rounding. Every
// computation of the Sun ends here, so the division is one rule whatever
// placed the events.
SunEvents TableFromMoments(const SunMoments& moments, const DawnDuskRule& rule);
// Keeps every entry of a table between its neighbours (the ordering repair
// of CalcSunEvents).
void RepairOrder(SunEvents& events);

// The whole table for the Julian day of local noon, the place (radians) and
// the time difference in days. Defined for every finite input: where the Sun
// never reaches a depression (polar day or night), the event falls on the
// transit or on the midnight. The result spans exactly 1440 minutes and never
// decreases. Sunrise and sunset are always the window's (0°54′ below the
// horizon), whatever the rule.
SunEvents CalcSunEvents(double noonJD, double latitude, double longitude, double timeDiffDays);
SunEvents CalcSunEvents(double noonJD, double latitude, double longitude, double timeDiffDays,
                        const DawnDuskRule& rule);

// The computation without the ordering repair: for tests that check the
// repair never touches results inside the accepted ranges.
SunEvents CalcSunEventsUnrepaired(double noonJD, double latitude, double longitude,
                                  double timeDiffDays);

// The 25 labels, index for index with the boundary table (UTF-8).
extern const std::array<std::string_view, kBoundaryCount> kBoundaryLabels;

} // namespace tolmeri
