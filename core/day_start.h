// core: where a day begins. The civil day runs from midnight to midnight; in
// Edo reckoning the day began at 明六つ, so the small hours after a date's
// night still belonged to that date: the raid of 元禄15年12月14日 was that
// night's small hours, on the civil date 12月15日. The almanacs themselves
// changed the date at midnight, counting up to 子の四刻 as 今夜 and from 子の
// 五刻 as 今暁; the midnight reckoning is theirs (and the clock's). Which one
// a date means follows how it was written (DayStartOfWriting), and every
// answer names it (ReckoningText). Standard library only.
#pragma once

#include <array>
#include <optional>
#include <string>
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

// How a date was written, which says which day it means.
enum class DateWriting {
    kWestern,   // 2026-06-21, 1860/3/24, 2026年6月21日, ユリウス暦1582年6月21日
    kEra,       // 元禄15年12月14日
    kLunisolar, // 旧暦1702年12月14日
};

// Why a day is reckoned as it is.
enum class ReckoningReason {
    kWritten, // the date's writing decided (DayStartOfWriting)
    kChosen,  // the user chose (--day-start, a dialog's choice)
};

struct Reckoning {
    DayStart start = DayStart::kMidnight;
    ReckoningReason reason = ReckoningReason::kWritten;
};

// 明治6年1月1日 (1873-01-01), the first day of the solar calendar: the day
// era and lunisolar dates stop counting from 明六つ.
inline constexpr CivilDate kSolarCalendarFirstDay{1873, 1, 1};

// The day a date means by how it was written: an era or lunisolar date
// before 明治6年 is the day from its 明六つ to the next date's, as its
// sources counted; a Western date, and any date from 明治6年 on, the civil
// day from midnight.
DayStart DayStartOfWriting(DateWriting writing, const CivilDate& date);
Reckoning ReckoningOfWriting(DateWriting writing, const CivilDate& date);

// The choice a window offers, in its list's order: by the date's writing
// (0), from 明六つ (1), from midnight (2); and the reckoning it makes of a
// date written so.
inline constexpr std::array<std::string_view, 3> kDayStartChoiceLabels = {
    "日付の書き方による（明治6年より前の和暦・旧暦は明六つから）", "明六つから翌日の明六つまで",
    "0時から24時まで"};
Reckoning ReckoningOfChoice(int choice, DateWriting writing, const CivilDate& date);

// The reckoning in words, for every answer that depends on it:
// "明六つから翌日の明六つまで（明治6年より前の和暦・旧暦の日付）",
// "0時から24時まで（西暦、明治6年からの日付）", "…（指定）".
std::string ReckoningText(const Reckoning& reckoning);

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
