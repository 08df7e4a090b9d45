#include "core/moon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/ephemeris.h"
#include "core/precise_sun.h"

namespace tolmeri {

const std::array<std::string_view, kMoonPhaseCount> kMoonPhaseNames = {"新月", "上弦", "満月",
                                                                       "下弦"};

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kEarthRadiusKm = 6378.14;
// The Moon's radius in Earth radii: its semidiameter is asin(k sin π).
constexpr double kMoonRadius = 0.272481;
// Mean rates in degrees a day: the hour angle, the elongation from the Sun.
constexpr double kHourAngleRate = 347.81;
constexpr double kElongationRate = 12.190749;
constexpr double kSynodicMonth = 29.530589;
// The Moon's hour angle comes back after a lunar day, 24 h 50 min on average.
constexpr double kLunarDay = 360.0 / kHourAngleRate;

// The Moon seen from the place: hour angle and declination corrected for
// the parallax (Meeus, Astronomical Algorithms, 40.2 and 40.3), in radians,
// and sin π of its distance.
struct Topocentric {
    double hourAngle, dec, sinParallax;
};

Topocentric MoonFrom(double jdUT, double longitude, double rhoSin, double rhoCos) {
    const MoonPlace m = MoonAt(TerrestrialTime(jdUT));
    const Equatorial eq = EquatorialOf(std::fmod(m.longitude, 360.0) * kDeg, m.latitude * kDeg,
                                       m.nutation.trueObliquity * kDeg);
    const double H = (ApparentSiderealTime(jdUT, m.nutation) + longitude) * kDeg - eq.ra;
    const double sinPi = kEarthRadiusKm / m.distanceKm;
    const double cosDec = std::cos(eq.dec);
    const double a = cosDec - rhoCos * sinPi * std::cos(H);
    const double dRa = std::atan2(-rhoCos * sinPi * std::sin(H), a);
    const double dec = std::atan2((std::sin(eq.dec) - rhoSin * sinPi) * std::cos(dRa), a);
    return {H - dRa, dec, sinPi};
}

void ObserverOnGeoid(double latitude, double& rhoSin, double& rhoCos) {
    // The Earth's flattening 1/298.257; a place at sea level.
    constexpr double b = 0.99664719;
    const double u = std::atan(b * std::tan(latitude));
    rhoSin = b * std::sin(u);
    rhoCos = std::cos(u);
}

} // namespace

int MoonDay::AgeTenths() const {
    return static_cast<int>(std::floor(age * 10.0 + 0.5));
}

int MoonMinute(double dayMinute) {
    const int m = static_cast<int>(std::floor(dayMinute + 0.5));
    return m > 1439 ? 1439 : m;
}

double MoonPhaseMoment(int phase, double jdNear) {
    auto offset = [phase](double jd) {
        const double tt = TerrestrialTime(jd);
        return Wrap180(MoonAt(tt).longitude - SunShort(tt).longitude - 90.0 * phase);
    };
    // The secant method from the mean rate's first step: the elongation's
    // rate varies by a fifth over the month, so four or five evaluations
    // reach a second.
    double t0 = jdNear, f0 = offset(t0);
    double t1 = t0 - f0 / kElongationRate;
    for (int i = 0; i < 8; ++i) {
        const double f1 = offset(t1);
        const double slope = f1 != f0 && t1 != t0 ? (f1 - f0) / (t1 - t0) : kElongationRate;
        // A step across the ±180° seam would make the slope meaningless.
        const double rate = slope > 5.0 && slope < 20.0 ? slope : kElongationRate;
        const double t2 = t1 - f1 / rate;
        t0 = t1;
        f0 = f1;
        t1 = t2;
        if (std::fabs(t1 - t0) < 1e-5)
            break;
    }
    return t1;
}

CMoonCalculator::CMoonCalculator(const Place& place)
    : m_dLatitude(DegreesAndMinutes(place.latDeg, place.latMin) * kDeg),
      m_dLongitude(DegreesAndMinutes(place.lonDeg, place.lonMin)),
      m_dTimeDiffDays(place.timeDiff / 24.0) {
    ObserverOnGeoid(m_dLatitude, m_dRhoSin, m_dRhoCos);
}

CMoonCalculator::Seen CMoonCalculator::SeenAt(double jdUT) const {
    const Topocentric t = MoonFrom(jdUT, m_dLongitude, m_dRhoSin, m_dRhoCos);
    const double semidiameter = std::asin(kMoonRadius * t.sinParallax) / kDeg;
    return {Wrap180(t.hourAngle / kDeg), t.dec, -kStandardRefraction - semidiameter};
}

std::optional<double> CMoonCalculator::Event(double jdUT, int kind) const {
    const double sinLat = std::sin(m_dLatitude), cosLat = std::cos(m_dLatitude);
    double t = jdUT;
    // The target moves with the Moon's declination, up to a few per cent of
    // the hour angle's rate: each step leaves a few per cent of itself, so
    // after one under half a minute the rest is about a second.
    for (int i = 0; i < 10; ++i) {
        const Seen s = SeenAt(t);
        double target = 0.0;
        if (kind != 0) {
            const double c = (std::sin(s.horizon * kDeg) - sinLat * std::sin(s.dec)) /
                             (cosLat * std::cos(s.dec));
            if (!(c > -1.0 && c < 1.0))
                return std::nullopt; // always up or always down
            target = kind * std::acos(c) / kDeg;
        }
        const double step = Wrap180(target - s.hourAngle) / kHourAngleRate;
        t += step;
        if (std::fabs(step) < 3e-4)
            break;
    }
    return t;
}

std::optional<double> CMoonCalculator::EventOnDay(double start, int kind, double guess) const {
    std::optional<double> t = Event(guess, kind);
    // The nearest event of the kind to noon; when it lies on a day either
    // side, the one a lunar day nearer is the day's, if any.
    if (t && *t < start)
        t = Event(*t + kLunarDay, kind);
    else if (t && *t >= start + 1.0)
        t = Event(*t - kLunarDay, kind);
    if (t && *t >= start && *t < start + 1.0)
        return t;
    return std::nullopt;
}

void CMoonCalculator::FindLunation(double noon) {
    if (m_bLunation && noon >= m_lunation[0] && noon < m_lunation[4])
        return;
    const double tt = TerrestrialTime(noon);
    const double elongation = std::fmod(MoonAt(tt).longitude - SunShort(tt).longitude, 360.0);
    const double since = elongation < 0.0 ? elongation + 360.0 : elongation;
    double newMoon = MoonPhaseMoment(0, noon - since / kElongationRate);
    if (newMoon > noon)
        newMoon = MoonPhaseMoment(0, newMoon - kSynodicMonth);
    double next = MoonPhaseMoment(0, newMoon + kSynodicMonth);
    if (next <= noon) {
        newMoon = next;
        next = MoonPhaseMoment(0, newMoon + kSynodicMonth);
    }
    m_lunation[0] = newMoon;
    for (int q = 1; q < kMoonPhaseCount; ++q)
        m_lunation[q] = MoonPhaseMoment(q, newMoon + q * kSynodicMonth / 4.0);
    m_lunation[4] = next;
    m_bLunation = true;
}

MoonDay CMoonCalculator::Day(int jdn) {
    MoonDay day;
    const double start = jdn - 0.5 - m_dTimeDiffDays; // local 00:00, UT
    FindLunation(start + 0.5);
    day.age = start + 0.5 - m_lunation[0];
    for (int i = 0; i < 5; ++i)
        if (m_lunation[i] >= start && m_lunation[i] < start + 1.0)
            day.phase = i % kMoonPhaseCount;
    auto minutes = [start](std::optional<double> t) -> std::optional<double> {
        if (!t)
            return std::nullopt;
        return (*t - start) * 1440.0;
    };
    // From the day before's event a lunar day on, or else from noon.
    const bool follows = m_bLastDay && jdn == m_nLastJdn + 1;
    for (int kind = -1; kind <= 1; ++kind) {
        const std::optional<double>& before = m_last[kind + 1];
        const double guess = follows && before ? *before + kLunarDay : start + 0.5;
        m_last[kind + 1] = EventOnDay(start, kind, guess);
    }
    m_nLastJdn = jdn;
    m_bLastDay = true;
    day.rise = minutes(m_last[0]);
    day.transit = minutes(m_last[1]);
    day.set = minutes(m_last[2]);
    return day;
}

MoonDirection MoonDirectionAt(const Place& place, double jdUT) {
    const double lat = DegreesAndMinutes(place.latDeg, place.latMin) * kDeg;
    double rhoSin, rhoCos;
    ObserverOnGeoid(lat, rhoSin, rhoCos);
    const Topocentric t =
        MoonFrom(jdUT, DegreesAndMinutes(place.lonDeg, place.lonMin), rhoSin, rhoCos);
    const double sinAlt =
        std::sin(lat) * std::sin(t.dec) + std::cos(lat) * std::cos(t.dec) * std::cos(t.hourAngle);
    // Meeus 13.5 counts the azimuth from the south.
    const double fromSouth =
        std::atan2(std::sin(t.hourAngle),
                   std::cos(t.hourAngle) * std::sin(lat) - std::tan(t.dec) * std::cos(lat));
    double azimuth = std::fmod(fromSouth / kDeg + 180.0, 360.0);
    if (azimuth < 0.0)
        azimuth += 360.0;
    return {std::asin(std::clamp(sinAlt, -1.0, 1.0)) / kDeg, azimuth};
}

} // namespace tolmeri
