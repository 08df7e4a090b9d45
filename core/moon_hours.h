// core: the Moon's day with the temporal hours: moonrise and moonset at a
// place, each with the half-hour it falls in, named as the texts name the
// hours (暮六つ半, 明六つ), and the day's Moon as one line of text for the
// table of tolmeri-hours and for the era-date dialog. A day reckoned from
// 明六つ (core/day_start.h) has the Moon of the night after its daytime: its
// events from the date's 明六つ to the next date's, each on its civil date.
// Standard library only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/civil_date.h"
#include "core/day_start.h"
#include "core/moon.h"
#include "core/period_hours.h"
#include "core/place.h"

namespace tolmeri {

// A moonrise, moonset or transit as a clock shows it (MoonMinute) on its
// civil date, and the half-hour of the temporal hours that minute falls in
// (FindMomentHour's index: the boundary that began it, 0 to 23).
struct MoonEventHour {
    int minute = 0;
    int index = 0;
    CivilDate date; // the civil date of the event
    // "暮六つ半", "明六つ" (NumberedHourName).
    std::string_view HourName() const;
};

// One day of the Moon at a place, with the half-hours of its events; an
// event the day does not have is empty. moon is the date's own (its age at
// noon and its quarter); under kDawn the events are those from the date's
// 明六つ to the next date's.
struct MoonDayHours {
    MoonDay moon;
    std::optional<MoonEventHour> rise, set;
    DayStart start = DayStart::kMidnight;
    std::optional<MoonEventHour> transit;
};
MoonDayHours CalcMoonDayHours(const Place& place, const CivilDate& date,
                              const PeriodOptions& options = {},
                              DayStart start = DayStart::kMidnight);

// "月齢 12.6（満月）  月の出 14:32  月の入 04:26  月の南中 21:55", with "なし" for
// an event the day does not have; the phase only on its day.
void AppendMoonLine(std::string& out, const MoonDay& moon);
// The same of a day as reckoned, the events' dates written under kDawn:
// "月齢 14.6  月の出 1703-01-30 14:58  月の入 1703-01-31 05:18  月の南中 …".
void AppendMoonLine(std::string& out, const MoonDayHours& day);

// The same with each clock time's half-hour, without the transit:
// "月齢 15.2（満月）  月の出 19:42（暮六つ半）  月の入 06:10（明六つ）", under kDawn
// "月の入 1703-01-31 05:18（暁七つ半）".
std::string FormatMoonHoursLine(const MoonDayHours& day);

} // namespace tolmeri
