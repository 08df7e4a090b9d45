// The place at the start of every row of the ephemeris reference tables
// (sun_events_ephemeris.csv, moon_ephemeris.csv): name, latitude and
// longitude in arc minutes, and the time difference in hours.
#pragma once

#include "core/place.h"
#include "tests/csv_rows.h"

#include <string>

inline tolmeri::Place PlaceOfRow(const CsvRow& r) {
    tolmeri::Place p;
    p.name = r[0];
    tolmeri::SplitArcMinutes(std::stoi(r[1]), p.latDeg, p.latMin);
    tolmeri::SplitArcMinutes(std::stoi(r[2]), p.lonDeg, p.lonMin);
    p.timeDiff = std::stoi(r[3]);
    return p;
}
