#include "core/solar_terms.h"

#include <cmath>
#include <numbers>

#include "core/civil_date.h"
#include "core/ephemeris.h"

namespace tolmeri {

const std::array<std::string_view, kSolarTermCount> kSolarTermNames = {
    "立春", "雨水", "啓蟄", "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑",
    "立秋", "処暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒"};

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

struct Sun {
    double longitude; // apparent, degrees, not reduced
    double rate;      // degrees per day, from the leading terms
};

Sun SunAt(double jdTT) {
    return {SunFull(jdTT).longitude, SunLongitudeRate(jdTT)};
}

double Year(double jd) {
    return 2000.0 + (jd - kJ2000) / 365.25;
}

} // namespace

double DeltaTSeconds(double y) {
    auto parabola = [](double y) {
        const double u = (y - 1820.0) / 100.0;
        return -20.0 + 32.0 * u * u;
    };
    if (y < -500.0 || y >= 2150.0)
        return parabola(y);
    if (y < 500.0) {
        const double u = y / 100.0;
        return 10583.6 +
               u * (-1014.41 +
                    u * (33.78311 + u * (-5.952053 +
                                         u * (-0.1798452 + u * (0.022174192 + u * 0.0090316521)))));
    }
    if (y < 1600.0) {
        const double u = (y - 1000.0) / 100.0;
        return 1574.2 +
               u * (-556.01 +
                    u * (71.23472 + u * (0.319781 + u * (-0.8503463 +
                                                         u * (-0.005050998 + u * 0.0083572073)))));
    }
    if (y < 1700.0) {
        const double t = y - 1600.0;
        return 120.0 + t * (-0.9808 + t * (-0.01532 + t / 7129.0));
    }
    if (y < 1800.0) {
        const double t = y - 1700.0;
        return 8.83 + t * (0.1603 + t * (-0.0059285 + t * (0.00013336 - t / 1174000.0)));
    }
    if (y < 1860.0) {
        const double t = y - 1800.0;
        return 13.72 +
               t * (-0.332447 +
                    t * (0.0068612 +
                         t * (0.0041116 +
                              t * (-0.00037436 + t * (0.0000121272 +
                                                      t * (-0.0000001699 + t * 0.000000000875))))));
    }
    if (y < 1900.0) {
        const double t = y - 1860.0;
        return 7.62 + t * (0.5737 +
                           t * (-0.251754 + t * (0.01680668 + t * (-0.0004473624 + t / 233174.0))));
    }
    if (y < 1920.0) {
        const double t = y - 1900.0;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
    }
    if (y < 1941.0) {
        const double t = y - 1920.0;
        return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
    }
    if (y < 1961.0) {
        const double t = y - 1950.0;
        return 29.07 + t * (0.407 + t * (-1.0 / 233.0 + t / 2547.0));
    }
    if (y < 1986.0) {
        const double t = y - 1975.0;
        return 45.45 + t * (1.067 + t * (-1.0 / 260.0 - t / 718.0));
    }
    if (y < 2005.0) {
        const double t = y - 2000.0;
        return 63.86 + t * (0.3345 + t * (-0.060374 +
                                          t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
    }
    if (y < 2050.0) {
        const double t = y - 2000.0;
        return 62.92 + t * (0.32217 + t * 0.005589);
    }
    return parabola(y) - 0.5628 * (2150.0 - y);
}

namespace {

// The Sun without the perturbations and with nutation and aberration as
// constants: within 0.025° of SunAt, and cheap.
Sun SunRough(double jdTT) {
    const double T = (jdTT - kJ2000) / 36525.0;
    const double L0 = 280.46646 + 36000.76983 * T;
    const double M = (357.52911 + 35999.05029 * T) * kDeg;
    const double sM = std::sin(M), cM = std::cos(M);
    const double C = (1.914602 - 0.004817 * T) * sM + 0.019993 * 2.0 * sM * cM;
    const double c2M = 1.0 - 2.0 * sM * sM;
    const double rate =
        (36000.76983 + 35999.05029 * (1.914602 * cM + 0.039986 * c2M) * kDeg) / 36525.0;
    return {L0 + C - 0.00569, rate};
}

double DeltaTDays(double jd) {
    return DeltaTSeconds(Year(jd)) / 86400.0;
}

} // namespace

double SolarTermMoment(int term, double jdNear) {
    return SunLongitudeMoment(SolarTermLongitude(term), jdNear);
}

double SunLongitudeMoment(double target, double jdNear) {
    // Newton's method on the rough Sun converges in three or four cheap steps
    // to a moment that depends on the term alone, not on jdNear; one step
    // with the whole series from there leaves under two seconds of error.
    double jd = jdNear;
    const double deltaT = DeltaTDays(jdNear);
    for (int i = 0; i < 12; ++i) {
        const Sun sun = SunRough(jd + deltaT);
        const double step = Wrap180(sun.longitude - target) / sun.rate;
        jd -= step;
        if (std::fabs(step) < 1e-7)
            break;
    }
    // Two steps with the whole series: the first leaves a few seconds, the
    // second well under one.
    for (int i = 0; i < 2; ++i) {
        const Sun sun = SunAt(jd + DeltaTDays(jd));
        jd -= Wrap180(sun.longitude - target) / sun.rate;
    }
    return jd;
}

SolarTermStart LocalStart(int term, double jd, double timeDiffHours) {
    if (!std::isfinite(jd) || !std::isfinite(timeDiffHours))
        return {term, jd, 0, 0};
    const double local = jd + 0.5 + timeDiffHours / 24.0;
    const double day = std::floor(local);
    int minute = static_cast<int>(std::floor((local - day) * 1440.0));
    if (minute > 1439) // a moment a hair before midnight
        minute = 1439;
    return {term, jd, static_cast<int>(day), minute};
}

namespace {

struct DayEnd {
    double jd; // UT of the local midnight that ends the day
    Sun sun;   // roughly, unless near a term's longitude
    int term;  // the term in effect then
};

DayEnd AtEndOfDay(int jdn, double timeDiffHours) {
    // A time difference that is not a number would reach an int conversion.
    if (!std::isfinite(timeDiffHours))
        timeDiffHours = 0.0;
    DayEnd end;
    end.jd = jdn + 0.5 - timeDiffHours / 24.0;
    const double jdTT = end.jd + DeltaTSeconds(Year(end.jd)) / 86400.0;
    end.sun = SunRough(jdTT);
    // Within 0.05° of a term's longitude (about an hour of the Sun's motion)
    // only the whole series decides which side the day ends on.
    const double intoTerm = Mod360(end.sun.longitude - 315.0);
    const double fromEdge = std::fmod(intoTerm, 15.0);
    if (fromEdge < 0.05 || fromEdge > 14.95)
        end.sun = SunAt(jdTT);
    const int term = static_cast<int>(Mod360(end.sun.longitude - 315.0) / 15.0);
    end.term = term < kSolarTermCount ? term : kSolarTermCount - 1;
    return end;
}

// The last start found, per thread: consecutive days of one term (a table of
// a year, a clock set at each term) then need only the term's index.
struct LastStart {
    double timeDiffHours = 0.0;
    SolarTermStart start;
    bool valid = false;
};
thread_local LastStart t_lastStart;

} // namespace

int SolarTermIndexOnDay(int jdn, double timeDiffHours) {
    return AtEndOfDay(jdn, timeDiffHours).term;
}

SolarTermStart SolarTermOnDay(int jdn, double timeDiffHours) {
    if (!std::isfinite(timeDiffHours))
        timeDiffHours = 0.0;
    const DayEnd end = AtEndOfDay(jdn, timeDiffHours);
    LastStart& last = t_lastStart;
    // A term lasts 14 to 16 days: the same term within 20 days is the same start.
    if (last.valid && last.start.term == end.term && last.timeDiffHours == timeDiffHours &&
        jdn >= last.start.jdn && jdn < last.start.jdn + 20)
        return last.start;
    // The Sun passed the term's longitude less than about 16 days ago.
    const double behind = Mod360(end.sun.longitude - SolarTermLongitude(end.term));
    const double guess = end.jd - behind / end.sun.rate;
    last.start = LocalStart(end.term, SolarTermMoment(end.term, guess), timeDiffHours);
    last.timeDiffHours = timeDiffHours;
    last.valid = true;
    return last.start;
}

std::array<SolarTermStart, kSolarTermCount> SolarTermsOfYear(int year, double timeDiffHours) {
    std::array<SolarTermStart, kSolarTermCount> starts{};
    const double jan1 = JdnFromCivil({year, 1, 1}) - 0.5;
    for (int i = 0; i < kSolarTermCount; ++i) {
        const int term = (22 + i) % kSolarTermCount; // 小寒 comes first
        // 小寒 falls about 5 days into the year, the others every 15.2 days.
        const double guess = jan1 + 5.0 + 15.22 * i;
        starts[i] = LocalStart(term, SolarTermMoment(term, guess), timeDiffHours);
    }
    return starts;
}

} // namespace tolmeri
