#include "temporal_hours.h"

#include <cmath>

#include "sun_events.h"

void CTemporalHours::Reset() {
    // Sunrise and sunset keep their values on purpose: only the table is
    // marked as not yet computed.
    m_nBoundary.fill(kUnsetBoundary);
}

void CTemporalHours::SetPlace(int latDeg, int latMin, int lonDeg, int lonMin, int timeDiff) {
    m_nLatDeg = latDeg;
    m_nLatMin = latMin;
    m_nLonDeg = lonDeg;
    m_nLonMin = lonMin;
    m_nTimeDiff = timeDiff;
    // The minutes take the sign of the degrees: Sydney, "-33:52", is
    // 33°52′ S (-33.8667°), as stored settings files and the presets mean it.
    m_dLatitude = DegToRad(tolmeri::DegreesAndMinutes(latDeg, latMin));
    m_dLongitude = DegToRad(tolmeri::DegreesAndMinutes(lonDeg, lonMin));
    m_dTimeDiffDays = timeDiff / 24.0;
}

void CTemporalHours::SetDate(int year, int month, int day) {
    m_nYear = year;
    m_nMonth = month;
    m_nDay = day;
}

void CTemporalHours::CalcNoonJD() {
    m_dNoonJD = (JulianDay(m_nYear, m_nMonth, m_nDay) - m_dTimeDiffDays) + 0.5;
}

void CTemporalHours::CalcBoundaries() {
    const tolmeri::SunEvents ev =
        tolmeri::CalcSunEvents(m_dNoonJD, m_dLatitude, m_dLongitude, m_dTimeDiffDays);
    m_nBoundary = ev.boundary;
    m_nSunrise = ev.sunrise;
    m_nSunset = ev.sunset;
}

void CTemporalHours::SetLabels() {
    for (int i = 0; i < kBoundaryCount; ++i)
        m_strLabel[i] = tolmeri::kBoundaryLabels[i];
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
