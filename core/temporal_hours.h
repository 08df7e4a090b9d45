// core: the temporal-hour calculator (不定時法). A date and a place become the
// 25-entry boundary table of the temporal half-hours, sunrise, sunset and the
// labels. Standard library only: no Qt, no I/O, nothing that can fail.
#pragma once

#include <array>
#include <string_view>

#include "core/civil_date.h"
#include "core/day_hours.h"
#include "core/period_rules.h"
#include "core/place.h"
#include "core/sun_events.h"

// One date at one place, as the main dialog holds it. Recompute runs the
// whole computation, in this order: Reset, SetPlace, SetDate, CalcNoonJD,
// CalcBoundaries, SetLabels; the steps stay public for callers that need
// one of them alone. Readers then only read (Day gives the whole result).
//
// Every result is a day minute (see core/sun_events.h).
class CTemporalHours {
public:
    // What Reset leaves in every entry until CalcBoundaries overwrites it.
    static constexpr int kUnsetBoundary = 9999;

    CTemporalHours() = default;
    virtual ~CTemporalHours() = default;

    // The six steps below for place and date. Dawn and dusk by definition
    // (kAuto is not resolved here: it takes the depression).
    void Recompute(const tolmeri::Place& place, const tolmeri::CivilDate& date,
                   tolmeri::DawnDefinition definition = tolmeri::DawnDefinition::kDepression);

    void Reset();
    void SetPlace(int latDeg, int latMin, int lonDeg, int lonMin, int timeDiff);
    void SetDate(int year, int month, int day);
    void CalcNoonJD();
    void CalcBoundaries();
    void SetLabels();

    // index must be 0 to 24.
    int GetBoundary(int index) const { return m_nBoundary[index]; }
    const tolmeri::BoundaryTable& GetBoundaries() const { return m_nBoundary; }
    int GetSunrise() const { return m_nSunrise; }
    int GetSunset() const { return m_nSunset; }
    // The label of boundary index (UTF-8), empty until the first SetLabels.
    std::string_view GetLabel(int index) const { return m_strLabel[index]; }
    // The last computation's result for the date and place set.
    tolmeri::DayHours Day() const;

    double GetNoonJD() const { return m_dNoonJD; }
    double GetLatitude() const { return m_dLatitude; }
    double GetLongitude() const { return m_dLongitude; }

    static double DegToRad(double degrees);
    // Julian day at 0 h of a proleptic Gregorian date; the day is not
    // compared with the month's length, so 2001-02-31 is 2001-03-03.
    static double JulianDay(double year, double month, double day);

private:
    tolmeri::CivilDate m_date;
    tolmeri::DawnDefinition m_definition = tolmeri::DawnDefinition::kDepression;
    double m_dLatitude = 0.0;  // radians, north positive
    double m_dLongitude = 0.0; // radians, east positive
    double m_dTimeDiffDays = 0.0;
    double m_dNoonJD = 0.0; // Julian day of 12:00 local standard time
    tolmeri::BoundaryTable m_nBoundary{};
    int m_nSunrise = 0;
    int m_nSunset = 0;
    tolmeri::ExactBoundaryTable m_dExactBoundary{};
    double m_dExactSunrise = 0.0;
    double m_dExactSunset = 0.0;
    std::array<std::string_view, tolmeri::kBoundaryCount> m_strLabel{};
};
