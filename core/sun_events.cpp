#include "core/sun_events.h"

#include <algorithm>
#include <cmath>

namespace tolmeri {

namespace {

// Depressions of the Sun's centre, written in radians where the sine of the
// altitude belongs (the constant itself is used, not its sine); dawn and
// dusk's, about 7°21′40″, is kDepressionRule's in the header.
constexpr double kSunriseSunset = -0.01571; // about 0°54′

// An angle of the day in radians as minutes (one turn = 1440).
double Minutes(double angle) {
    return angle * 720.0 / kPi;
}

// Hour angle at which the Sun's centre stands at depression k. Where it never
// gets there (polar day or night) c leaves [-1, 1]; clamping puts the event on
// the transit (c = 1) or on the midnight (c = -1). A NaN (0 / 0 at the pole
// itself) takes the midnight. Inside the dialog's ranges |c| < 0.95, so the
// clamp never changes a result there.
double HourAngle(double k, double sinLat, double cosLat, double sinDecl, double cosDecl) {
    double c = (k - sinLat * sinDecl) / (cosLat * cosDecl);
    if (!(c >= -1.0))
        c = -1.0;
    else if (c > 1.0)
        c = 1.0;
    return std::atan2(std::sqrt(1.0 - c * c), c);
}

// Sixths of one quarter from start entry s to end entry s + 6, with h half the
// quarter's length; the order of the roundings is part of the result.
void DivideQuarter(BoundaryTable& b, int s, double h) {
    const int e = s + 6;
    const int m = s + 3;
    b[m] = RoundMinute(static_cast<double>(b[s]) + h);
    const double g = h / 3.0;
    b[s + 1] = RoundMinute(static_cast<double>(b[s]) + g);
    b[s + 2] = RoundMinute(static_cast<double>(b[m]) - g);
    b[s + 4] = RoundMinute(static_cast<double>(b[m]) + g);
    b[s + 5] = RoundMinute(static_cast<double>(b[e]) - g);
}

} // namespace

double DegToRad(double degrees) {
    return degrees * kPi / 180.0;
}

int RoundMinute(double x) {
    return static_cast<int>(x + 0.5);
}

SunEvents TableFromMoments(const SunMoments& m, const DawnDuskRule& rule) {
    SunEvents ev;
    auto& b = ev.boundary;
    double e1 = m.dawn;
    double e2 = m.dusk;
    if (e2 < e1)
        std::swap(e1, e2);
    b[12] = RoundMinute(m.transit);
    b[6] = RoundMinute(e1);
    b[18] = RoundMinute(e2);
    ev.sunrise = RoundMinute(m.sunrise);
    ev.sunset = RoundMinute(m.sunset);
    b[0] = b[12] - 720;
    b[24] = b[12] + 720;
    if (rule.offsetMinutes != 0) {
        b[6] = std::max(b[6] - rule.offsetMinutes, b[0]);
        b[18] = std::min(b[18] + rule.offsetMinutes, b[24]);
    }

    // Quarters in this order: morning, afternoon, before dawn, night. The
    // afternoon alone halves in integers, so an odd length loses its half
    // minute.
    DivideQuarter(b, 6, (b[12] - b[6]) / 2.0);
    DivideQuarter(b, 12, static_cast<double>((b[18] - b[12]) / 2));
    DivideQuarter(b, 0, (b[6] - b[0]) / 2.0);
    DivideQuarter(b, 18, (b[24] - b[18]) / 2.0);

    // The same unrounded: the offset and the midnights' clamp as above.
    auto& x = ev.exact;
    x[12] = m.transit;
    x[0] = m.transit - 720.0;
    x[24] = m.transit + 720.0;
    x[6] = std::max(std::min(m.dawn, m.dusk) - rule.offsetMinutes, x[0]);
    x[18] = std::min(std::max(m.dawn, m.dusk) + rule.offsetMinutes, x[24]);
    for (int s = 0; s < 24; s += 6)
        for (int i = 1; i < 6; ++i)
            x[s + i] = x[s] + (x[s + 6] - x[s]) * i / 6.0;
    ev.exactSunrise = m.sunrise;
    ev.exactSunset = m.sunset;
    return ev;
}

void RepairOrder(SunEvents& ev) {
    // A quarter squeezed to a minute or two (polar dates, or dawn pushed onto
    // the midnight by the clamp) can leave an entry a minute out of order
    // after R's truncation of negatives. The chart needs a table that never
    // decreases; inside the dialog's ranges this changes nothing.
    auto& b = ev.boundary;
    for (int i = 1; i < 24; ++i)
        b[i] = std::min(std::max(b[i], b[i - 1]), b[24]);
}

namespace {

SunEvents CalcUnrepaired(double noonJD, double latitude, double longitude, double timeDiffDays,
                         const DawnDuskRule& rule) {
    // Sun's position at local noon (low-precision solar formulas).
    const double d = noonJD - 2451545.0;
    const double T = d / 36525.0;
    const double M = DegToRad(0.98560028 * d + 357.5291);
    const double C = 1.92 * std::sin(M) + 0.02 * std::sin(2.0 * M);
    double L = std::fmod(((0.98564736 * d + 280.4664) + (0.0003 * T) * T) + C, 360.0);
    if (L < 0)
        L = L + 360.0;
    const double eps = 23.43929 - 0.13004 * T;
    const double decl = std::asin(std::sin(DegToRad(eps)) * std::sin(DegToRad(L)));
    const double cosDecl = std::cos(decl);
    double alpha = std::atan2((std::cos(DegToRad(eps)) * std::sin(DegToRad(L))) / cosDecl,
                              std::cos(DegToRad(L)) / cosDecl);
    if (alpha < 0)
        alpha = alpha + kTwoPi;

    const double sinLat = std::sin(latitude);
    const double cosLat = std::cos(latitude);
    const double sinDecl = std::sin(decl);
    const double h1 = HourAngle(rule.altitude, sinLat, cosLat, sinDecl, cosDecl);
    const double h2 = HourAngle(kSunriseSunset, sinLat, cosLat, sinDecl, cosDecl);

    // Transit as an angle of the local standard day.
    double theta = std::fmod(628.331961 * T + 1.753364748, kTwoPi);
    if (theta < 0)
        theta = theta + kTwoPi;
    double n = ((alpha - longitude) - theta) + (timeDiffDays + timeDiffDays) * kPi;
    n = std::fmod(n, kTwoPi);
    if (n < 0)
        n = n + kTwoPi;
    if (!std::isfinite(n)) // only reachable with non-finite inputs
        n = 0.0;

    return TableFromMoments(
        {Minutes(n), Minutes(n - h1), Minutes(n + h1), Minutes(n - h2), Minutes(n + h2)}, rule);
}

} // namespace

SunEvents CalcSunEventsUnrepaired(double noonJD, double latitude, double longitude,
                                  double timeDiffDays) {
    return CalcUnrepaired(noonJD, latitude, longitude, timeDiffDays, kDepressionRule);
}

SunEvents CalcSunEvents(double noonJD, double latitude, double longitude, double timeDiffDays) {
    return CalcSunEvents(noonJD, latitude, longitude, timeDiffDays, kDepressionRule);
}

SunEvents CalcSunEvents(double noonJD, double latitude, double longitude, double timeDiffDays,
                        const DawnDuskRule& rule) {
    SunEvents ev = CalcUnrepaired(noonJD, latitude, longitude, timeDiffDays, rule);
    RepairOrder(ev);
    return ev;
}

const std::array<std::string_view, kBoundaryCount> kBoundaryLabels = {
    "暁九つ (子)", "暁九つ半",    "暁八つ (丑)", "暁八つ半",    "暁七つ (寅)",
    "暁七つ半",    "明六つ (卯)", "明六つ半",    "朝五つ (辰)", "朝五つ半",
    "朝四つ (巳)", "朝四つ半",    "昼九つ (午)", "昼九つ半",    "昼八つ (未)",
    "昼八つ半",    "夕七つ (申)", "夕七つ半",    "暮六つ (酉)", "暮六つ半",
    "夜五つ (戌)", "夜五つ半",    "夜四つ (亥)", "夜四つ半",    "暁九つ (子)",
};

} // namespace tolmeri
