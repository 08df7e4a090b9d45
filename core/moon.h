// core: the Moon of a day at one place, as almanacs give it: its age at
// noon, the quarter that falls on the day, moonrise, moonset and its
// transit; and where it stands at any moment. The Moon's place comes from
// core/ephemeris.h (the truncated ELP-2000/82 series with ΔT), seen from the
// place (its parallax). Standard library only.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/place.h"

namespace tolmeri {

// The quarters by the Moon's elongation from the Sun: 0°, 90°, 180°, 270°.
inline constexpr int kMoonPhaseCount = 4;
// 新月, 上弦, 満月, 下弦 (UTF-8).
extern const std::array<std::string_view, kMoonPhaseCount> kMoonPhaseNames;

// One local day (the place's standard time) of the Moon. Moments are
// unrounded day minutes, 0 to below 1440; an event the day does not have
// (about once a month each, the Moon coming some 50 minutes later every
// day) is empty.
struct MoonDay {
    // Days since the last new moon at 12:00 local standard time.
    double age = 0.0;
    // The quarter whose moment falls on the day, if any.
    std::optional<int> phase;
    // The upper limb on the horizon, with 34′ of refraction; the upper
    // transit.
    std::optional<double> rise, set, transit;

    // The age as almanacs give it, in tenths of a day (12.6 is 126),
    // rounded half up.
    int AgeTenths() const;
};

// A clock minute of a moment of MoonDay: rounded, and never the 1440 that
// would be the next day's midnight.
int MoonMinute(double dayMinute);

// Days of one place; the new moons and quarters of the lunation are kept, so
// consecutive days find them once a month.
class CMoonCalculator {
public:
    explicit CMoonCalculator(const Place& place);
    MoonDay Day(int jdn);

private:
    // Where the Moon stands, as an hour angle and a declination seen from the
    // place (degrees), and the altitude its centre has when the upper limb
    // is on the horizon.
    struct Seen {
        double hourAngle, dec, horizon;
    };
    Seen SeenAt(double jdUT) const;
    // The moment near jdUT at which the hour angle reaches its target: 0 for
    // the transit, the rising or setting one of the horizon. nullopt where
    // the Moon never gets there.
    std::optional<double> Event(double jdUT, int kind) const;
    // The event of the day that begins at start (UT), iterated from guess.
    std::optional<double> EventOnDay(double start, int kind, double guess) const;
    void FindLunation(double jdUT);

    double m_dLatitude;  // radians
    double m_dLongitude; // degrees, east positive
    double m_dTimeDiffDays;
    double m_dRhoSin, m_dRhoCos; // the place's geocentric position, Earth radii
    bool m_bLunation = false;
    std::array<double, 5> m_lunation{}; // new moon, the quarters, the next new moon (UT)
    // The last day's rise, transit and set (UT), which start the next day's.
    bool m_bLastDay = false;
    int m_nLastJdn = 0;
    std::array<std::optional<double>, 3> m_last;
};

// The Moon's centre seen from the place at a moment of universal time:
// altitude (degrees, without refraction) and azimuth (degrees from north
// through east).
struct MoonDirection {
    double altitude = 0.0;
    double azimuth = 0.0;
};
MoonDirection MoonDirectionAt(const Place& place, double jdUT);

// The moment (UT) nearest jdNear at which the Moon's apparent elongation
// from the Sun is phase × 90°.
double MoonPhaseMoment(int phase, double jdNear);

} // namespace tolmeri
