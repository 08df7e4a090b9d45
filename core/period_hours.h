// core: the temporal hours as each period kept them. A day's table by one of
// the definitions of dawn and dusk (core/period_rules.h), with the clocks
// set every day or at each of the 24 solar terms; a range of such days; and
// the temporal hour any moment falls in. Standard library only.
//
// With the depression and daily setting every table is exactly the window's
// (CTemporalHours' recompute); the other definitions change where dawn and
// dusk fall and nothing else: the transit, the midnights and the division of
// the quarters are the same code.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "core/day_hours.h"
#include "core/period_rules.h"
#include "core/place.h"
#include "core/precise_sun.h"
#include "core/sun_events.h"
#include "core/temporal_hours.h"

namespace tolmeri {

struct PeriodOptions {
    DawnDefinition dawn = DawnDefinition::kDepression;
    ClockSteps steps = ClockSteps::kDaily;
    SunModel sun = SunModel::kWindow;
};

// The day whose table the clocks show on date: the date itself, or with
// kSekki the first day of the solar term in effect on it, in local standard
// time of timeDiffHours.
CivilDate ClockSetDate(const CivilDate& date, int timeDiffHours, ClockSteps steps);

// Days of one place, one after another: the window's recompute for each day
// (and for its term's first day), with the options; with the precise Sun
// its events instead, through the same division of the quarters.
class CPeriodCalculator {
public:
    CPeriodCalculator(const Place& place, const PeriodOptions& options = {});
    DayHours Compute(const CivilDate& date);

private:
    DayHours Recompute(const CivilDate& date, DawnDefinition definition);

    Place m_place;
    PeriodOptions m_options;
    CTemporalHours m_hours;
    CPreciseSun m_precise;
    // The last term's first day, which the following days of the term reuse.
    bool m_bSetValid = false;
    CivilDate m_setDate;
    DawnDefinition m_setDefinition = DawnDefinition::kDepression;
    BoundaryTable m_setBoundary{};
    ExactBoundaryTable m_setExact{};
};

// One day, as the window computes it with the default options.
DayHours CalcDayHours(const Place& place, const CivilDate& date, const PeriodOptions& options = {});

// dayCount consecutive days from first (none for a count below 1).
std::vector<DayHours> CalcPeriodDays(const Place& place, const CivilDate& first, int dayCount,
                                     const PeriodOptions& options);

// The boundaries of the day before, the day and the day after as one line of
// day minutes of the day itself, never going back: At(b) for b from -24 to
// 48 is the day's boundary b, a negative b the day before's b + 24 and one
// past 24 the day after's b - 24 (its 0 is the day's 24).
struct HourMarks {
    std::array<int, 73> mark{};
    DawnDefinition definition = DawnDefinition::kDepression; // date's own, never kAuto
    CivilDate setDate; // whose table the clocks showed on date
    int At(int boundary) const { return mark[static_cast<std::size_t>(boundary + 24)]; }
};
HourMarks MarksAround(const Place& place, const CivilDate& date, const PeriodOptions& options = {});

// The temporal half-hour a moment falls in.
struct MomentHour {
    CivilDate date;    // the local date of the moment
    int minute = 0;    // its local standard time, 0 to 1439
    int index = 0;     // the boundary that began its half-hour, 0 to 23: the hour
                       // is index / 2, an odd index its second half (半)
    int start = 0;     // that boundary, as a day minute of date
    int nextIndex = 1; // the boundary that ends it, index + 1
    int end = 0;       // the same as a day minute of date
    HourMarks marks;   // around date, from which start and end are taken
    int mark = 24;     // start is marks.mark[mark], 0 to 71 (24 + index on date itself)
    DawnDefinition definition = DawnDefinition::kDepression; // in force on date, never kAuto
    CivilDate setDate; // whose table the clocks showed on date (DayHours::setDate)
    std::string_view Label() const { return kBoundaryLabels[index]; }
    std::string_view NextLabel() const { return kBoundaryLabels[nextIndex]; }
    int MinutesInto() const { return minute - start; }
    int MinutesLeft() const { return end - minute; }
};

// The half-hour of the moment minute (local standard time) on date at place.
// The boundaries come from the tables of date and of the days either side,
// so a moment before boundary 0 or after boundary 24 of its date finds its
// hour among the night hours of the day before or after. A minute outside 0
// to 1439 counts from date's midnight into the days around it.
MomentHour FindMomentHour(const Place& place, const CivilDate& date, int minute,
                          const PeriodOptions& options = {});

// The local date and minute at place of a moment of universal time.
struct LocalMoment {
    CivilDate date;
    int minute = 0; // 0 to 1439
};
LocalMoment LocalMomentOf(std::int64_t utcSeconds, int timeDiffHours);

} // namespace tolmeri
