// core: where a day begins. The civil day runs from midnight to midnight; in
// Edo reckoning the day began at 明六つ, so the small hours after a date's
// night still belonged to that date: the raid of 元禄15年12月14日 was that
// night's small hours, on the civil date 12月15日. The almanacs themselves
// changed the date at midnight, counting up to 子の四刻 as 今夜 and from 子の
// 五刻 as 今暁; the midnight reckoning is theirs (and the clock's). Standard
// library only.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/civil_date.h"
#include "core/day_hours.h"

namespace tolmeri {

enum class DayStart {
    kMidnight, // the civil date: 0:00 to 24:00
    kDawn,     // from the date's 明六つ (boundary 6) to the next date's
};
inline constexpr std::array<DayStart, 2> kDayStarts = {DayStart::kMidnight, DayStart::kDawn};
// "midnight", "dawn": the option's values.
std::string_view DayStartName(DayStart start);
std::optional<DayStart> DayStartFromName(std::string_view name);
// The Japanese label of a choice, for lists: 「0時から翌日の0時まで」,
// 「明六つから翌日の明六つまで」.
std::string_view DayStartLabel(DayStart start);

// A clock time on day.date as that day is reckoned, as a minute from the
// date's own 0:00: under kDawn a clock time before the date's 明六つ is the
// small hours after its night, the next civil date's (minute + 1440);
// otherwise the minute itself.
int ReckonedMinute(const DayHours& day, int minute, DayStart start);

// The date a moment belongs to: day is the table of the moment's civil date
// and minute its clock time (0 to 1439). Under kDawn a moment before that
// date's 明六つ belongs to the day before.
CivilDate ReckonedDate(const DayHours& day, int minute, DayStart start);

// One mark of a day as reckoned: its label (kBoundaryLabels) and its time as
// a minute from the date's own 0:00 (1440 or more on the next civil date).
struct ReckonedMark {
    int label = 0;
    int minute = 0;
};
// The 25 marks of a day in order. kMidnight: boundaries 0 to 24 of day.
// kDawn: boundaries 6 to 24 of day (明六つ to the night's 暁九つ), then 1 to 6
// of next, the table of the next date (暁九つ半 to the next 明六つ).
std::array<ReckonedMark, kBoundaryCount> ReckonedMarks(const DayHours& day, const DayHours& next,
                                                       DayStart start);

} // namespace tolmeri
