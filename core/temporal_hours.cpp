#include "core/temporal_hours.h"

#include <cmath>

void CTemporalHours::Recompute(const tolmeri::Place& place, const tolmeri::CivilDate& date,
                               tolmeri::DawnDefinition definition) {
    m_definition = definition;
    Reset();
    SetPlace(place.latDeg, place.latMin, place.lonDeg, place.lonMin, place.timeDiff);
    SetDate(date.year, date.month, date.day);
    CalcNoonJD();
    CalcBoundaries();
    SetLabels();
}

void CTemporalHours::Reset() {
    // Sunrise and sunset keep their values on purpose: only the table is
    // marked as not yet computed.
    m_nBoundary.fill(kUnsetBoundary);
}

void CTemporalHours::SetPlace(int latDeg, int latMin, int lonDeg, int lonMin, int timeDiff) {
    // The minutes take the sign of the degrees: Sydney, "-33:52", is
    // 33°52′ S (-33.8667°), as stored settings files and the presets mean it.
    m_dLatitude = DegToRad(tolmeri::DegreesAndMinutes(latDeg, latMin));
    m_dLongitude = DegToRad(tolmeri::DegreesAndMinutes(lonDeg, lonMin));
    m_dTimeDiffDays = timeDiff / 24.0;
}

void CTemporalHours::SetDate(int year, int month, int day) {
    m_date = {year, month, day};
}

void CTemporalHours::CalcNoonJD() {
    m_dNoonJD = (JulianDay(m_date.year, m_date.month, m_date.day) - m_dTimeDiffDays) + 0.5;
}

void CTemporalHours::CalcBoundaries() {
    const tolmeri::SunEvents ev =
        tolmeri::CalcSunEvents(m_dNoonJD, m_dLatitude, m_dLongitude, m_dTimeDiffDays,
                               tolmeri::DawnDuskRuleOf(m_definition));
    m_nBoundary = ev.boundary;
    m_nSunrise = ev.sunrise;
    m_nSunset = ev.sunset;
    m_dExactBoundary = ev.exact;
    m_dExactSunrise = ev.exactSunrise;
    m_dExactSunset = ev.exactSunset;
}

void CTemporalHours::SetLabels() {
    m_strLabel = tolmeri::kBoundaryLabels;
}

tolmeri::DayHours CTemporalHours::Day() const {
    tolmeri::DayHours day;
    day.date = m_date;
    day.setDate = m_date;
    day.definition = m_definition;
    day.boundary = m_nBoundary;
    day.sunrise = m_nSunrise;
    day.sunset = m_nSunset;
    day.transit = m_nBoundary[12];
    day.exactBoundary = m_dExactBoundary;
    day.exactSunrise = m_dExactSunrise;
    day.exactSunset = m_dExactSunset;
    day.exactTransit = m_dExactBoundary[12];
    return day;
}

double CTemporalHours::DegToRad(double degrees) {
    return tolmeri::DegToRad(degrees);
}

double CTemporalHours::JulianDay(double year, double month, double day) {
    double y = year;
    double m = month;
    if (m < 3) {
        m = m + 12;
        y = y - 1;
    }
    double a;
    std::modf(y / 100, &a);
    double a4;
    std::modf(a / 4.0, &a4);
    const double b = (2.0 - a) + a4;
    double c;
    std::modf(365.25 * y, &c);
    const double f = std::floor((m + 1.0) * 30.6001);
    return (((f + 1720994.5) + b) + c) + day;
}
