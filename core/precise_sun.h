// core: the Sun's events of a day found each at its own moment: the
// apparent Sun of core/ephemeris.h (with nutation, aberration and ΔT), its
// hour angle from the apparent sidereal time, and each event (the transit,
// dawn and dusk, sunrise and sunset) iterated until the Sun stands where the
// event wants it. The window keeps its own Sun at local noon
// (core/sun_events.h); this one is for old dates and high latitudes, where
// that drifts by minutes. Standard library only.
#pragma once

#include "core/place.h"
#include "core/sun_events.h"

namespace tolmeri {

// The refraction at the horizon that sunrise and sunset (and moonrise and
// moonset) take: the upper limb on the horizon stands this much lower.
inline constexpr double kStandardRefraction = 34.0 / 60.0; // degrees

// Days of one place, one after another: the Sun's place at each local noon
// is kept for the day before and after, so consecutive days cost one
// evaluation of the Sun each.
class CPreciseSun {
public:
    explicit CPreciseSun(const Place& place);

    // The unrounded day minutes of the day with Julian day number jdn: dawn
    // and dusk where the Sun's centre stands at rule.altitude (an angle in
    // radians, 0 the geometric horizon; the offset is not applied), sunrise
    // and sunset where its upper limb touches the horizon with 34′ of
    // refraction. Where the Sun never gets there (only beyond the accepted
    // latitudes) the event falls on the transit or the midnight, as the
    // window's does.
    SunMoments Moments(int jdn, const DawnDuskRule& rule);
    // The day's table from those moments (TableFromMoments, then RepairOrder).
    SunEvents Events(int jdn, const DawnDuskRule& rule);

private:
    struct Noon {
        int jdn = 0;
        bool valid = false;
        double ra = 0.0;  // radians
        double dec = 0.0; // radians
        double distance = 1.0;
        double nutationRa = 0.0; // the equation of the equinoxes, degrees
    };
    const Noon& NoonOf(int jdn);
    // The Sun at n days from the middle noon (n from -1 to 1).
    void Interpolate(double n, double& ra, double& dec) const;
    double HourAngle(double jdUT, double ra) const; // degrees, (-180, 180]
    double Transit(double noonUT, double& dec);
    double Crossing(double noonUT, double transit, double transitDec, double altitude, bool rising);

    double m_dLatitude = 0.0;  // radians
    double m_dLongitude = 0.0; // degrees, east positive
    double m_dTimeDiffDays = 0.0;
    double m_dSinLatitude = 0.0;
    double m_dCosLatitude = 1.0;
    Noon m_noon[3]; // the days before, of and after the day asked for
    Noon m_spare[3];
};

} // namespace tolmeri
