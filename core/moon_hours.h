// core: the Moon's day with the temporal hours: moonrise and moonset at a
// place, each with the half-hour it falls in, named as the texts name the
// hours (暮六つ半, 明六つ), and the day's Moon as one line of text for the
// table of tolmeri-hours and for the era-date dialog. Standard library only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/civil_date.h"
#include "core/moon.h"
#include "core/period_hours.h"
#include "core/place.h"

namespace tolmeri {

// A moonrise or moonset as a clock shows it (MoonMinute) and the half-hour
// of the temporal hours that minute falls in (FindMomentHour's index: the
// boundary that began it, 0 to 23).
struct MoonEventHour {
    int minute = 0;
    int index = 0;
    // "暮六つ半", "明六つ" (NumberedHourName).
    std::string_view HourName() const;
};

// One local day of the Moon at a place, with the half-hours of its events;
// an event the day does not have is empty in both.
struct MoonDayHours {
    MoonDay moon;
    std::optional<MoonEventHour> rise, set;
};
MoonDayHours CalcMoonDayHours(const Place& place, const CivilDate& date,
                              const PeriodOptions& options = {});

// "月齢 12.6（満月）  月の出 14:32  月の入 04:26  月の南中 21:55", with "なし" for
// an event the day does not have; the phase only on its day.
void AppendMoonLine(std::string& out, const MoonDay& moon);

// The same with each clock time's half-hour, without the transit:
// "月齢 15.2（満月）  月の出 19:42（暮六つ半）  月の入 06:10（明六つ）".
std::string FormatMoonHoursLine(const MoonDayHours& day);

} // namespace tolmeri
