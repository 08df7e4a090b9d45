// report: the days of a run as an iCalendar file (RFC 5545) that calendar
// programs import or subscribe to: one all-day event for each solar term,
// 雑節, moon-viewing night, quarter of the Moon and first day of a lunisolar
// month on its day, and optionally each day's 六曜. Every event's UID names
// what it is (the term and its year, the lunisolar month, …) and the place's
// time difference, so a file made again replaces the events it made before
// instead of doubling them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "report/hours_columns.h"

namespace tolmeri {

// The identifier the file gives as PRODID.
inline constexpr std::string_view kIcsProductId = "-//tolmeri//tolmeri-hours//JA";

// TEXT as RFC 5545 writes it: backslash, semicolon, comma and line breaks
// escaped.
std::string IcsText(std::string_view text);

// A content line folded at 75 octets (never inside a UTF-8 character), with
// CRLF after each piece.
void AppendIcsLine(std::string& out, std::string_view line);

// BEGIN:VCALENDAR and the calendar's properties, named after the place.
void AppendIcsHead(std::string& out, std::string_view placeName);
void AppendIcsEnd(std::string& out);

// The events of one day; stamp is the moment the file is made (UTC seconds
// since 1970), its DTSTAMP.
void AppendIcsDay(std::string& out, const HoursRow& row, bool rokuyo, std::int64_t stamp);

} // namespace tolmeri
