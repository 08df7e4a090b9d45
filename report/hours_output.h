// report: the output of tolmeri-hours and the web edition. One writer per format (an aligned table,
// CSV, JSON) writes a run of days from the column list (report/hours_columns.h), the hour of a
// moment and the preset places; the days come from the core's calculator one at a time and leave in
// pieces, so memory stays flat however long the range.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/period_hours.h"
#include "core/places.h"
#include "report/hours_request.h"

namespace tolmeri {

// Takes the output collected so far (writes it somewhere and empties the
// string); false when it could not, which ends the writing.
using OutputDrain = std::function<bool(std::string& text)>;

// What --bom puts before CSV: U+FEFF in UTF-8, by which spreadsheets
// recognise the encoding.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// What every output of request begins with: --bom's mark, or nothing.
std::string_view OutputStart(const HoursRequest& request);

// About this much output is collected before drain takes it.
inline constexpr std::size_t kOutputChunk = 64 * 1024;

// The days of request, in request.format, appended to out. With a drain,
// whenever out holds kOutputChunk bytes or more after a row, drain takes
// them; without one everything stays in out. False when drain failed.
bool WriteHours(const HoursRequest& request, std::string& out, const OutputDrain& drain = {});

// Which moment a moment hour is about: now (--now) or a moment asked for
// (--at); the writers name it so.
enum class MomentKind { kNow, kAt };

// The half-hour a moment falls in, at request.place with request.options, in
// request.format.
void WriteMomentHour(const HoursRequest& request, const MomentHour& hour, MomentKind kind,
                     std::string& out);

// The half-hour of request.atMinute on request.days.first (--at), that
// clock time taken as request.dayStart reckons the date's day, in
// request.format.
void WriteAtHour(const HoursRequest& request, std::string& out);

// The readings of request.timeReadings (--time) on request.days.first as
// its day is reckoned, each with its start and end, in the order of their
// starts, in request.format.
void WriteTimeReadings(const HoursRequest& request, std::string& out);

// request.days.first named as the one-day table heads it: "1860-03-24  和暦
// 安政7年3月3日  旧暦 1860年3月3日  節気 …  干支 …  六曜 …", then a line for
// each note of the date's reading ("注  …").
void WriteDayNames(const HoursRequest& request, std::string& out);

// The places, one a line: the presets, then the historical places and the
// user's own of book (or only those request.placeFilter lets through, in its
// order): name, Latin name, latitude, longitude, time difference (and in CSV
// and JSON the decimal degrees too); a historical place also its kind and
// stations, and in CSV and JSON its reading, romaji and source.
void WritePlaceList(const HoursRequest& request, const CPlaceBook& book, std::string& out);

} // namespace tolmeri
