// tools: what tolmeri-hours is asked to do, read from its command line. The
// options are collected as written, then the place and the days are resolved
// (tools/hours_place_date.h) and the output chosen; the first bad value ends
// the reading with one line naming it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/accepted_ranges.h"
#include "core/civil_date.h"
#include "core/day_start.h"
#include "core/hour_names.h"
#include "core/period_hours.h"
#include "core/place.h"
#include "core/result.h"
#include "tools/hours_place_date.h"

namespace tolmeri {

// The longest run of days one year chart shows: a year, whose 24 terms and
// 12 months the chart names without crowding.
inline constexpr int kYearChartMostDays = 366;

// Reads the arguments after the program name; when no date is given, the
// date at the place's time difference at the moment now (seconds of
// universal time since 1970) stands in. places gives the historical places
// and the user's own when --place names no preset (the table alone without
// it). A Failure (kRefused) carries the one line in Japanese that names the
// bad value.
Result<HoursRequest> ParseHoursArguments(std::span<const std::string_view> args, std::int64_t now,
                                         const PlaceBookSource& places = {});

} // namespace tolmeri
