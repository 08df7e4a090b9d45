#include "core/civil_date.h"

namespace tolmeri {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInYear(int year) {
    return IsLeapYear(year) ? 366 : 365;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const CivilDate& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

// Both conversions count in 400-year eras starting on March 1, so that the
// leap day is the last day of its year and negative years need no special
// case.
std::int64_t DaysFromCivil(const CivilDate& date) {
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (date.month + 9) % 12; // March is 0
    const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

int JdnFromCivil(const CivilDate& gregorian) {
    return static_cast<int>(DaysFromCivil(gregorian) + kJdnOf1970);
}

CivilDate CivilFromJdn(int jdn) {
    return CivilFromDays(static_cast<std::int64_t>(jdn) - kJdnOf1970);
}

bool IsJulianLeapYear(int year) {
    return year % 4 == 0;
}

int JulianDaysInMonth(int year, int month) {
    return month == 2 && IsJulianLeapYear(year) ? 29 : DaysInMonth(1, month);
}

// The same March-based count as above, in 4-year cycles of 1461 days; the
// cycle index is floored so that years before 1 need no special case.
int JdnFromJulianCalendar(const CivilDate& julian) {
    const std::int64_t y = julian.year - (julian.month <= 2 ? 1 : 0);
    const std::int64_t cycle = (y >= 0 ? y : y - 3) / 4;
    const std::int64_t yoc = y - cycle * 4;
    const std::int64_t mp = (julian.month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + julian.day - 1;
    // 1721118 is the Julian day of 0000-03-01 in the Julian calendar.
    return static_cast<int>(cycle * 1461 + yoc * 365 + doy + 1721118);
}

CivilDate JulianCalendarFromJdn(int jdn) {
    const std::int64_t days = static_cast<std::int64_t>(jdn) - 1721118;
    const std::int64_t cycle = (days >= 0 ? days : days - 1460) / 1461;
    const std::int64_t doc = days - cycle * 1461;
    const std::int64_t yoc = (doc - doc / 1460) / 365;
    const std::int64_t doy = doc - 365 * yoc;
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(cycle * 4 + yoc + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

std::string FormatDate(const CivilDate& date) {
    std::string text;
    AppendDate(text, date);
    return text;
}

void AppendDate(std::string& out, const CivilDate& date) {
    // ISO 8601: four digits at least; before year 0 with a minus sign, and
    // past 9999 with a plus (the expanded form).
    if (date.year < 0)
        out += '-';
    else if (date.year > 9999)
        out += '+';
    long long year = date.year < 0 ? -static_cast<long long>(date.year) : date.year;
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + year % 10);
        year /= 10;
    } while (year > 0);
    out.append(count < 4 ? 4 - count : 0, '0');
    while (count > 0)
        out += digits[--count];
    const auto two = [&out](int n) {
        out += '-';
        out += static_cast<char>('0' + n / 10 % 10);
        out += static_cast<char>('0' + n % 10);
    };
    two(date.month);
    two(date.day);
}

std::string FormatClock(int dayMinute) {
    std::string text;
    AppendClock(text, dayMinute);
    return text;
}

void AppendClock(std::string& out, int dayMinute) {
    // The wall clock of the span: whole hours less whole days, then minutes.
    // For every value from -1440 on this is the same as adding a day to a
    // negative value once; the modulo keeps anything below that sane too.
    const int v = ((dayMinute % 1440) + 1440) % 1440;
    const char text[5] = {static_cast<char>('0' + v / 600), static_cast<char>('0' + v / 60 % 10),
                          ':', static_cast<char>('0' + v % 60 / 10),
                          static_cast<char>('0' + v % 10)};
    out.append(text, sizeof text);
}

namespace {

// The civil date a day minute of date falls on, and its days from date.
std::int64_t DayOffset(int dayMinute) {
    return dayMinute >= 0 ? dayMinute / 1440
                          : -((-static_cast<std::int64_t>(dayMinute) + 1439) / 1440);
}

} // namespace

std::string FormatDayMinute(const CivilDate& date, int dayMinute) {
    std::string text = FormatDate(CivilFromDays(DaysFromCivil(date) + DayOffset(dayMinute)));
    text += ' ';
    AppendClock(text, dayMinute);
    return text;
}

std::string FormatDaySpan(const CivilDate& date, int start, int end) {
    std::string text = FormatDayMinute(date, start);
    text += "–";
    if (DayOffset(start) == DayOffset(end))
        AppendClock(text, end);
    else
        text += FormatDayMinute(date, end);
    return text;
}

namespace {

// Reads between minDigits and maxDigits decimal digits at pos.
bool ReadDigits(std::string_view text, std::size_t& pos, std::size_t minDigits,
                std::size_t maxDigits, int& out) {
    std::size_t n = 0;
    int value = 0;
    while (pos + n < text.size() && n < maxDigits && text[pos + n] >= '0' && text[pos + n] <= '9') {
        value = value * 10 + (text[pos + n] - '0');
        ++n;
    }
    if (n < minDigits)
        return false;
    pos += n;
    out = value;
    return true;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

} // namespace

bool ReadDateText(std::string_view text, CivilDate& out) {
    std::size_t pos = 0;
    CivilDate d;
    if (!ReadDigits(text, pos, 1, 4, d.year) || !Expect(text, pos, '-') ||
        !ReadDigits(text, pos, 1, 2, d.month) || !Expect(text, pos, '-') ||
        !ReadDigits(text, pos, 1, 2, d.day) || pos != text.size())
        return false;
    out = d;
    return true;
}

bool ReadUtcInstant(std::string_view text, std::int64_t& secondsOut) {
    std::size_t pos = 0;
    CivilDate d;
    int hour = 0, minute = 0, second = 0;
    if (!ReadDigits(text, pos, 4, 4, d.year) || !Expect(text, pos, '-') ||
        !ReadDigits(text, pos, 2, 2, d.month) || !Expect(text, pos, '-') ||
        !ReadDigits(text, pos, 2, 2, d.day) || !Expect(text, pos, 'T') ||
        !ReadDigits(text, pos, 2, 2, hour) || !Expect(text, pos, ':') ||
        !ReadDigits(text, pos, 2, 2, minute))
        return false;
    if (pos < text.size() && text[pos] == ':' && !(++pos, ReadDigits(text, pos, 2, 2, second)))
        return false;
    if (!Expect(text, pos, 'Z') || pos != text.size())
        return false;
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysInMonth(d.year, d.month) ||
        hour > 23 || minute > 59 || second > 59)
        return false;
    secondsOut = DaysFromCivil(d) * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

} // namespace tolmeri
