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

// kNow and kAt: the hour of a moment; kChart and kYearChart: a picture.
// kTime: the readings of an hour name on the date.
enum class HoursAction {
    kHours,
    kNow,
    kAt,
    kTime,
    kChart,
    kYearChart,
    kListPlaces,
    kHelp,
    kVersion
};
enum class HoursFormat { kTable, kCsv, kJson };
enum class PictureFormat { kPng, kSvg };

struct HoursRequest {
    HoursAction action = HoursAction::kHours;
    Place place; // the name is what the tables and the chart title show
    DateRange days;
    PeriodOptions options;                   // how dawn and dusk are placed and the clocks set
    DayStart dayStart = DayStart::kMidnight; // where the date's day begins
    HoursFormat format = HoursFormat::kTable;
    bool byteOrderMark = false;            // --bom: CSV begins with U+FEFF in UTF-8
    int atMinute = 0;                      // kAt: the moment, a minute of days.first
    std::string timeExpression;            // kTime: the hour name as written
    std::vector<HourReading> timeReadings; // kTime: its readings, at least one
    std::string picturePath;               // "-": standard output
    PictureFormat pictureFormat = PictureFormat::kPng;
    int pictureWidth = 0; // 0: the default size of the picture
    int pictureHeight = 0;
    bool pictureMoon = false; // --moon: the year chart draws moonrise and moonset
};

// Bounds of --size, in pixels, for each side.
inline constexpr IntRange kPictureSideRange{200, 4000};
// The year chart's size without --size.
inline constexpr int kYearChartWidth = 1200;
inline constexpr int kYearChartHeight = 800;
// The longest run of days one year chart shows: a year, whose 24 terms and
// 12 months the chart names without crowding.
inline constexpr int kYearChartMostDays = 366;

// Reads the arguments after the program name; when no date is given, the
// date at the place's time difference at the moment now (seconds of
// universal time since 1970) stands in. A Failure (kRefused) carries the one
// line in Japanese that names the bad value.
Result<HoursRequest> ParseHoursArguments(std::span<const std::string_view> args, std::int64_t now);

} // namespace tolmeri
