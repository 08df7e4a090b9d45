// report: the small text rules that reading tolmeri-hours' arguments and
// writing its formats share: numbers as typed, CSV and JSON quoting, and
// appending numbers, dates and padded cells to the output without a
// temporary string per value (messages quote values with core/utf8.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/accepted_ranges.h"
#include "core/civil_date.h"

namespace tolmeri {

// 1 to maxDigits decimal digits, nothing else.
bool ReadUnsignedInt(std::string_view text, std::size_t maxDigits, int& out);
// Decimal digits, at least one, nothing else; a value beyond the int range
// reads as INT_MAX, so that a huge count is out of range like any other
// too large one rather than unreadable.
bool ReadCount(std::string_view text, int& out);
// An optional sign, then 1 to maxDigits decimal digits.
bool ReadSignedInt(std::string_view text, std::size_t maxDigits, int& out);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// "0～2200", "-54～54": a range as messages and the help write it.
std::string RangeText(const IntRange& range);

// "+35:27", "-33:52", "-0:30": the angle's sign, its whole degrees, then
// the minutes (core/place.h: with 0 degrees the minutes carry the sign).
std::string FormatDegreesMinutes(int degrees, int minutes);
// The same angle in signed decimal degrees, as a JSON number: six decimals
// at most, trailing zeros dropped but one ("35.45", "-33.866667", "139.0").
void AppendDecimalDegrees(std::string& out, int degrees, int minutes);

// A moment of local standard time in ISO 8601 with its offset from
// universal time: "2026-06-21T15:00:00+09:00", "...-05:00", "...+00:00".
// minute counts from the date's 0:00 (0 to 1439); the seconds are 00, as
// the tool works in whole minutes.
std::string IsoLocalTime(const CivilDate& date, int minute, int timeDiffHours);

// Whether a spreadsheet would run a text cell that starts so as a formula,
// or read it as a sum: '=', '+', '-' or '@' first ("-0001-12-21" is -34).
bool CsvTakesAsFormula(std::string_view text);
// A CSV text cell (a name, a note, a date, an angle; never a number): one
// that CsvTakesAsFormula gets a leading "'"; then quoted, with its quotes
// doubled, when it holds a comma, a quote, a line break or a line or
// paragraph separator (U+2028, U+2029, which some readers take for a line's
// end); else as it is.
std::string CsvField(std::string_view text);
// A JSON string with its quotes; quotes, backslashes and control characters
// escaped.
std::string JsonString(std::string_view text);

void AppendInt(std::string& out, long long value);
// n / 6 to one decimal, as "%.1f" prints it; n is never negative.
void AppendSixths(std::string& out, int n);
// Tenths as a decimal with one place: 126 is "12.6"; never negative.
void AppendTenths(std::string& out, int tenths);

// Columns of the terminal a UTF-8 text takes: the labels and Japanese place
// names are full-width, everything else here is ASCII; a byte that is not
// UTF-8 (a name given as other bytes) takes one, as its replacement mark.
int DisplayWidth(std::string_view text);
// text padded with spaces to width columns, on its right or (rightAligned)
// its left.
void AppendPadded(std::string& out, std::string_view text, int width, bool rightAligned = false);

} // namespace tolmeri
