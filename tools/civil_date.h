// tools: dates of the proleptic Gregorian calendar as tolmeri-hours reads,
// steps through and prints them. Standard library only.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolmeri {

struct CivilDate {
    int year = 0;
    int month = 1;
    int day = 1;
    auto operator<=>(const CivilDate&) const = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month); // month 1 to 12

// Days from 1970-01-01; valid for every year an int holds a few thousand of.
std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t days);

// "2026-06-21"; years below 1000 get leading zeros ("0800-01-01").
std::string FormatDate(const CivilDate& date);

// Reads "YYYY-MM-DD" (one to four digits of year, one or two of month and
// day) into out without any range check; false when the text has another
// shape.
bool ReadDateText(std::string_view text, CivilDate& out);

// A moment as seconds of universal time since 1970-01-01 00:00, read from
// "YYYY-MM-DDTHH:MM[:SS]Z". False for another shape or impossible fields.
bool ReadUtcInstant(std::string_view text, std::int64_t& secondsOut);

} // namespace tolmeri
