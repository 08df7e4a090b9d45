#include "core/precise_sun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/ephemeris.h"

namespace tolmeri {

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
// The Sun's hour angle grows by 360° a solar day.
constexpr double kHourAngleRate = 360.0;
// The Sun's radius seen from 1 au, and its horizontal parallax there.
constexpr double kSunRadius = 959.63 / 3600.0;
constexpr double kSunParallax = 8.794 / 3600.0;

} // namespace

CPreciseSun::CPreciseSun(const Place& place)
    : m_dLatitude(DegreesAndMinutes(place.latDeg, place.latMin) * kDeg),
      m_dLongitude(DegreesAndMinutes(place.lonDeg, place.lonMin)),
      m_dTimeDiffDays(place.timeDiff / 24.0), m_dSinLatitude(std::sin(m_dLatitude)),
      m_dCosLatitude(std::cos(m_dLatitude)) {}

const CPreciseSun::Noon& CPreciseSun::NoonOf(int jdn) {
    for (const Noon& n : m_noon)
        if (n.valid && n.jdn == jdn)
            return n;
    for (const Noon& n : m_spare)
        if (n.valid && n.jdn == jdn)
            return n;
    // Not kept: computed into the spare slot of its offset.
    Noon& slot = m_spare[static_cast<unsigned>(jdn) % 3u];
    const double ut = jdn - m_dTimeDiffDays;
    const double tt = TerrestrialTime(ut);
    const SunPlace sun = SunShort(tt);
    const double eps = sun.trueObliquity * kDeg;
    const Equatorial eq = EquatorialOf(std::fmod(sun.longitude, 360.0) * kDeg, 0.0, eps);
    slot.jdn = jdn;
    slot.valid = true;
    slot.ra = eq.ra;
    slot.dec = eq.dec;
    slot.distance = sun.distance;
    slot.nutationRa = sun.nutation * std::cos(eps);
    return slot;
}

void CPreciseSun::Interpolate(double n, double& ra, double& dec) const {
    // Three noons, second differences (the third are far below a second).
    const double twoPi = 2.0 * std::numbers::pi;
    double r1 = m_noon[0].ra, r2 = m_noon[1].ra, r3 = m_noon[2].ra;
    if (r1 - r2 > std::numbers::pi)
        r1 -= twoPi;
    else if (r2 - r1 > std::numbers::pi)
        r1 += twoPi;
    if (r3 - r2 > std::numbers::pi)
        r3 -= twoPi;
    else if (r2 - r3 > std::numbers::pi)
        r3 += twoPi;
    auto interpolate = [n](double y1, double y2, double y3) {
        const double a = y2 - y1, b = y3 - y2;
        return y2 + n / 2.0 * (a + b + n * (b - a));
    };
    ra = interpolate(r1, r2, r3);
    dec = interpolate(m_noon[0].dec, m_noon[1].dec, m_noon[2].dec);
}

double CPreciseSun::HourAngle(double jdUT, double ra) const {
    const double gast = MeanSiderealTime(jdUT) + m_noon[1].nutationRa;
    return Wrap180(gast + m_dLongitude - ra / kDeg);
}

double CPreciseSun::Transit(double noonUT, double& dec) {
    // The hour angle's rate differs from its mean by under 0.3 %, so a step
    // leaves at most that much of itself: a step under 1.4 minutes leaves
    // under a quarter of a second.
    double t = noonUT;
    for (int i = 0; i < 4; ++i) {
        double ra;
        Interpolate(t - noonUT, ra, dec);
        const double step = -HourAngle(t, ra) / kHourAngleRate;
        t += step;
        if (std::fabs(step) < 1e-3)
            break;
    }
    return t;
}

namespace {

// The hour angle (degrees) at which the Sun's centre stands at the altitude
// whose sine is sinH. Where it never gets there the event falls on the
// transit (always below) or the midnight (always above), as the window
// clamps; NaN takes the midnight.
double SemiArc(double sinH, double sinLat, double cosLat, double dec, bool& never) {
    double c = (sinH - sinLat * std::sin(dec)) / (cosLat * std::cos(dec));
    never = !(c > -1.0 && c < 1.0);
    if (!(c >= -1.0))
        c = -1.0;
    else if (c > 1.0)
        c = 1.0;
    return std::acos(c) / kDeg;
}

} // namespace

double CPreciseSun::Crossing(double noonUT, double transit, double transitDec, double altitude,
                             bool rising) {
    const double sinH = std::sin(altitude);
    const double sign = rising ? -1.0 : 1.0;
    bool never = false;
    const double first = SemiArc(sinH, m_dSinLatitude, m_dCosLatitude, transitDec, never);
    double t = transit + sign * first / kHourAngleRate;
    if (never)
        return t;
    // From the transit's declination the first guess is off by what the
    // declination does in the hours between, a minute or two; the target
    // moves under 0.5 % as fast as the hour angle, so a step under three
    // minutes leaves under a second.
    for (int i = 0; i < 4; ++i) {
        double ra, dec;
        Interpolate(t - noonUT, ra, dec);
        const double semiArc = SemiArc(sinH, m_dSinLatitude, m_dCosLatitude, dec, never);
        if (never)
            return transit + sign * semiArc / kHourAngleRate;
        const double step = Wrap180(sign * semiArc - HourAngle(t, ra)) / kHourAngleRate;
        t += step;
        if (std::fabs(step) < 2e-3)
            break;
    }
    return t;
}

SunMoments CPreciseSun::Moments(int jdn, const DawnDuskRule& rule) {
    // Keep the three noons around jdn, computing only those not kept.
    Noon next[3];
    for (int k = 0; k < 3; ++k)
        next[k] = NoonOf(jdn - 1 + k);
    for (int k = 0; k < 3; ++k) {
        m_spare[k] = m_noon[k];
        m_noon[k] = next[k];
    }
    const double noonUT = jdn - m_dTimeDiffDays;
    const double midnightUT = noonUT - 0.5;
    const double distance = m_noon[1].distance;
    const double parallax = kSunParallax / distance;
    const double limb = -(kStandardRefraction + kSunRadius / distance) + parallax;
    const double twilight = rule.altitude / kDeg + parallax;

    double transitDec = 0.0;
    const double transit = Transit(noonUT, transitDec);
    auto minutes = [midnightUT](double t) { return (t - midnightUT) * 1440.0; };
    SunMoments m;
    m.transit = minutes(transit);
    m.dawn = minutes(Crossing(noonUT, transit, transitDec, twilight * kDeg, true));
    m.dusk = minutes(Crossing(noonUT, transit, transitDec, twilight * kDeg, false));
    m.sunrise = minutes(Crossing(noonUT, transit, transitDec, limb * kDeg, true));
    m.sunset = minutes(Crossing(noonUT, transit, transitDec, limb * kDeg, false));
    return m;
}

SunEvents CPreciseSun::Events(int jdn, const DawnDuskRule& rule) {
    SunEvents ev = TableFromMoments(Moments(jdn, rule), rule);
    RepairOrder(ev);
    return ev;
}

} // namespace tolmeri
