// core: the temporal-hour calculator (不定時法). A date and a place become the
// 25-entry boundary table of the temporal half-hours, sunrise, sunset and the
// labels. Standard library only: no Qt, no I/O, nothing that can fail.
#pragma once

#include <array>
#include <string>

// One date at one place. The main dialog owns one instance and recomputes it
// with, in this order: Reset, SetPlace, SetDate, CalcNoonJD, CalcBoundaries,
// SetLabels. The chart then only reads.
//
// Every result is a "day minute": minutes of local standard time from 00:00
// of the chosen date, negative before it and 1440 or more after its end.
// Boundary 0 and 24 are the midnights (transit -/+ 720), 6 dawn, 12 the solar
// transit and 18 dusk; even entries start the twelve hours, odd ones are
// their halves.
class CTemporalHours {
public:
    static constexpr int kBoundaryCount = 25;
    // What Reset leaves in every entry until CalcBoundaries overwrites it.
    static constexpr int kUnsetBoundary = 9999;

    CTemporalHours() = default;
    virtual ~CTemporalHours() = default;

    void Reset();
    void SetPlace(int latDeg, int latMin, int lonDeg, int lonMin, int timeDiff);
    void SetDate(int year, int month, int day);
    void CalcNoonJD();
    void CalcBoundaries();
    void SetLabels();

    // index must be 0 to 24.
    int GetBoundary(int index) const { return m_nBoundary[index]; }
    int GetSunrise() const { return m_nSunrise; }
    int GetSunset() const { return m_nSunset; }
    // The label of boundary index (UTF-8), empty until the first SetLabels.
    const std::string& GetLabel(int index) const { return m_strLabel[index]; }

    double GetNoonJD() const { return m_dNoonJD; }
    double GetLatitude() const { return m_dLatitude; }
    double GetLongitude() const { return m_dLongitude; }
    double GetTimeDiffDays() const { return m_dTimeDiffDays; }

    static double DegToRad(double degrees);
    // Julian day at 0 h of a proleptic Gregorian date; the day is not
    // compared with the month's length, so 2001-02-31 is 2001-03-03.
    static double JulianDay(double year, double month, double day);

private:
    int m_nYear = 0;
    int m_nMonth = 0;
    int m_nDay = 0;
    int m_nLatDeg = 0;
    int m_nLatMin = 0;
    int m_nLonDeg = 0;
    int m_nLonMin = 0;
    double m_dLatitude = 0.0;  // radians, north positive
    double m_dLongitude = 0.0; // radians, east positive
    int m_nTimeDiff = 0;       // hours ahead of universal time
    double m_dTimeDiffDays = 0.0;
    double m_dNoonJD = 0.0; // Julian day of 12:00 local standard time
    std::array<int, kBoundaryCount> m_nBoundary{};
    int m_nSunrise = 0;
    int m_nSunset = 0;
    std::array<std::string, kBoundaryCount> m_strLabel;
};
