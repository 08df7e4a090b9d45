// tools: what tolmeri-hours is asked to do, read from its command line. The
// options are collected as written, then the place and the days are resolved
// (tools/hours_place_date.h) and the output chosen; the first bad value ends
// the reading with one line naming it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/accepted_ranges.h"
#include "core/civil_date.h"
#include "core/period_hours.h"
#include "core/place.h"
#include "core/result.h"
#include "tools/hours_place_date.h"

namespace tolmeri {

enum class HoursAction { kHours, kNow, kPng, kListPlaces, kHelp, kVersion };
enum class HoursFormat { kTable, kCsv, kJson };

struct HoursRequest {
    HoursAction action = HoursAction::kHours;
    Place place; // the name is what the tables and the chart title show
    DateRange days;
    PeriodOptions options; // how dawn and dusk are placed and the clocks set
    HoursFormat format = HoursFormat::kTable;
    bool byteOrderMark = false; // --bom: CSV begins with U+FEFF in UTF-8
    std::string pngPath;        // "-": standard output
    int pngWidth = 0;           // 0: the window's own size
    int pngHeight = 0;
};

// Bounds of --size, in pixels, for each side.
inline constexpr IntRange kPictureSideRange{200, 4000};

// Reads the arguments after the program name; today stands in when no date
// is given. A Failure (kRefused) carries the one line in Japanese that names
// the bad value.
Result<HoursRequest> ParseHoursArguments(std::span<const std::string_view> args,
                                         const CivilDate& today);

} // namespace tolmeri
