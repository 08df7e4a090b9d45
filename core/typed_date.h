// core: a date as people type it, read once for every box and option that
// takes one (tolmeri-hours' --date, --to and the date of --at). The text is
// first made plain (core/typed_text.h), then read in the first form it has:
//
//   2026-06-21, 0026-06-21        ISO 8601, the year in all four digits
//   1860/3/24, 1860/03/24         the year first, with slashes
//   2026年6月21日, 西暦2026年6月21日  the Western year with its units (kanji
//                                 numerals too: 二〇二六年六月二十一日)
//   旧暦1860年閏3月1日             a lunisolar date (445 to 2200)
//   安政7年3月3日, 慶長五年九月十五日 an era date (core/calendar.h)
//   ユリウス暦1582年6月21日, ユリウス暦1582-06-21
//                                 a date of the Julian calendar
//
// Western dates are of the proleptic Gregorian calendar, as the window's
// boxes are, unless written after ユリウス暦. A day may be 晦日, the month's
// last, in the forms with units. Standard library only.
#pragma once

#include <string>
#include <string_view>

#include "core/civil_date.h"
#include "core/day_start.h"
#include "core/result.h"

namespace tolmeri {

struct TypedDate {
    CivilDate date; // a real date in an accepted year (core/accepted_ranges.h)
    // One line when an era date was read by one of the sources' conventions
    // ("安政7年3月20日 は 万延元年3月20日（3月18日に改元）") or a Julian date
    // was read ("ユリウス暦1582年6月21日 は 1582-07-01"), else empty.
    std::string note;
    // How it was written, which says the day it means (core/day_start.h).
    DateWriting writing = DateWriting::kWestern;
};

// The date the text names. A Failure (kRefused) says what is wrong in words
// that follow the quoted text in a message: " は読めません（…）",
// " は正しくありません（…）", " は範囲外です（…）", or ": " and the era date's
// own message (": 慶長25年はありません（…）").
Result<TypedDate> ReadTypedDate(std::string_view text);

} // namespace tolmeri
