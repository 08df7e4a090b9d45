// core: one day's temporal hours, the one result every reader takes: the
// main window's chart, tolmeri-hours and its picture, and the year chart.
// Standard library only.
#pragma once

#include "core/civil_date.h"
#include "core/period_rules.h"
#include "core/sun_events.h"

namespace tolmeri {

// Every minute is a day minute of date (minutes of local standard time
// from its 00:00, negative before it, 1440 or more after its end).
struct DayHours {
    CivilDate date;
    CivilDate setDate; // whose table boundary is: date, or the first day of its solar term
                       // when the clocks were set at the terms
    DawnDefinition definition = DawnDefinition::kDepression; // in force on date, never kAuto
    SunModel sun = SunModel::kWindow;                        // the Sun that placed the events
    BoundaryTable boundary{}; // setDate's table, read as the clock times of date
    int sunrise = 0;          // date's own sunrise, sunset and transit by the
    int sunset = 0;           // day's Sun, whatever the definition and the
    int transit = 0;          // clock steps
    // The table, sunrise, sunset and transit unrounded (core/sun_events.h),
    // for drawing a run of days; never for a time shown.
    ExactBoundaryTable exactBoundary{};
    double exactSunrise = 0.0;
    double exactSunset = 0.0;
    double exactTransit = 0.0;

    // From dawn to dusk and from dusk to the next dawn; a sixth of each is
    // one temporal hour of the day and of the night.
    int DaylightMinutes() const { return boundary[18] - boundary[6]; }
    int NightMinutes() const { return 1440 - DaylightMinutes(); }
};

} // namespace tolmeri
