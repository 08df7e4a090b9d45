// core: the one civil-date value type, its day arithmetic and Julian day
// numbers in the proleptic Gregorian and the Julian calendar. Standard
// library only.
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
int DaysInYear(int year);             // 365 or 366
int DaysInMonth(int year, int month); // month 1 to 12

// True when month is 1 to 12 and day within that month of the proleptic
// Gregorian calendar.
bool IsValidDate(const CivilDate& date);

// Days from 1970-01-01; valid for every year an int holds a few thousand of.
std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t days);

// Julian day numbers: the integer Julian day that begins at noon of the
// date (2000-01-01 is 2451545). Years are astronomical (year 0 is 1 BC);
// the month and day must be in range.
inline constexpr int kJdnOf1970 = 2440588;
// The first day of the Gregorian calendar, 1582-10-15 (the day after
// 1582-10-04 of the Julian calendar).
inline constexpr int kFirstGregorianJdn = 2299161;

int JdnFromCivil(const CivilDate& gregorian);
CivilDate CivilFromJdn(int jdn);

// The Julian calendar (a leap year every fourth year), proleptic.
bool IsJulianLeapYear(int year);
int JulianDaysInMonth(int year, int month);
int JdnFromJulianCalendar(const CivilDate& julian);
CivilDate JulianCalendarFromJdn(int jdn);

// The one ISO 8601 text of a date: "2026-06-21"; years below 1000 get
// leading zeros ("0800-01-01"), years before 0 a minus sign ("-0001-12-21",
// the year before year 0), years past 9999 a plus ("+10000-01-01").
// AppendDate appends the same text to out (a year of CSV holds thousands).
std::string FormatDate(const CivilDate& date);
void AppendDate(std::string& out, const CivilDate& date);

// "HH:MM" of a day minute (minutes of local standard time from 00:00 of a
// date, negative before it, 1440 or more after its end) as a clock on the
// wall shows it: -15 is "23:45", 1500 is "01:00". AppendClock appends the
// same five characters.
std::string FormatClock(int dayMinute);
void AppendClock(std::string& out, int dayMinute);

// A day minute of date as the civil date and the clock it falls on:
// 1704 minutes of 1703-01-30 is "1703-01-31 04:24".
std::string FormatDayMinute(const CivilDate& date, int dayMinute);
// A span of day minutes of date, "1703-01-31 04:06–04:47"; the end's date
// is written too when it is another day ("1703-01-30 23:40–1703-01-31 00:20").
std::string FormatDaySpan(const CivilDate& date, int start, int end);

// Reads "YYYY-MM-DD" (one to four digits of year, one or two of month and
// day) into out without any range check; false when the text has another
// shape.
bool ReadDateText(std::string_view text, CivilDate& out);

// A moment as seconds of universal time since 1970-01-01 00:00, read from
// "YYYY-MM-DDTHH:MM[:SS]Z". False for another shape or impossible fields.
bool ReadUtcInstant(std::string_view text, std::int64_t& secondsOut);

} // namespace tolmeri
