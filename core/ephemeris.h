// core: where the Sun and the Moon stand and how the Earth turns, for the
// precise Sun, the solar terms and the Moon (the window's own Sun is in
// core/sun_events.cpp and does not use this). Standard library only.
//
// Moments are Julian dates: jdUT of universal time, jdTT of terrestrial time
// (jdUT plus ΔT). Angles are degrees unless a name says otherwise.
#pragma once

#include <cmath>

namespace tolmeri {

inline constexpr double kJ2000 = 2451545.0;

// Degrees to [0, 360) and to (-180, 180].
inline double Mod360(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0.0 ? d + 360.0 : d;
}
inline double Wrap180(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d > 180.0)
        d -= 360.0;
    else if (d <= -180.0)
        d += 360.0;
    return d;
}

// jdUT + ΔT (DeltaTSeconds of core/solar_terms.h).
double TerrestrialTime(double jdUT);

// Nutation in longitude and in obliquity (the five largest terms of the
// IAU 2000B series, better than 0.05″ for the Sun's longitude) and the true
// obliquity of the ecliptic.
struct Nutation {
    double longitude = 0.0;
    double obliquity = 0.0;
    double trueObliquity = 0.0;
};
Nutation NutationAt(double jdTT);

// Greenwich mean sidereal time, not reduced, and the apparent one, [0, 360).
double MeanSiderealTime(double jdUT);
double ApparentSiderealTime(double jdUT, const Nutation& nutation);

// The Sun's apparent ecliptic longitude of date (nutation and aberration
// included), not reduced to [0, 360), and its distance in astronomical units.
struct SunPlace {
    double longitude = 0.0;
    double distance = 1.0;
    double nutation = 0.0;       // in longitude, included above
    double trueObliquity = 23.4; // for the equator of date
};
// From the Earth's heliocentric longitude of the VSOP87 theory (D series,
// the truncation printed by Meeus, Astronomical Algorithms, appendix III):
// a few tenths of an arcsecond, what the solar terms need.
SunPlace SunFull(double jdTT);
// A short series (mean elements, the equation of the centre, the largest
// perturbations): within about 2″ of SunFull over 0-2200 and ten times
// cheaper, for the Sun's daily events.
SunPlace SunShort(double jdTT);
// The Sun's speed in longitude, degrees per day, from its leading terms.
double SunLongitudeRate(double jdTT);

// The Moon's apparent geocentric place of date: the truncated ELP-2000/82
// series of Meeus, Astronomical Algorithms, chapter 47 (about 10″ in
// longitude, 4″ in latitude), with nutation in longitude.
struct MoonPlace {
    double longitude = 0.0; // apparent, not reduced
    double latitude = 0.0;
    double distanceKm = 385000.0;
    Nutation nutation; // of the moment, for the equator of date
};
MoonPlace MoonAt(double jdTT);

// Ecliptic (of date) to equatorial, all in radians; ra in [0, 2π).
struct Equatorial {
    double ra = 0.0;
    double dec = 0.0;
};
Equatorial EquatorialOf(double longitudeRad, double latitudeRad, double obliquityRad);

} // namespace tolmeri
