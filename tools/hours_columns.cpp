#include "tools/hours_columns.h"

#include <array>

#include "core/sun_events.h"
#include "tools/hours_text.h"

namespace tolmeri {

namespace {

constexpr TableCell kDateCell{"", 10, false};
constexpr TableCell kClockCell{"  ", 5, false};
constexpr TableCell kLengthCell{"", 10, true};

// The clock time of boundary I, as the chart reads its day minute.
template <int I> void WriteBoundaryClock(std::string& out, const HoursRow& row, int) {
    AppendClock(out, row.day.boundary[I]);
}

const std::array<HoursColumn, 13> kHoursColumns = {{
    {"date", "日付", ColumnType::kText, 1, "", kDateCell,
     [](std::string& out, const HoursRow& row, int) { AppendDate(out, row.day.date); }},
    {"place",
     "",
     ColumnType::kFreeText,
     1,
     "",
     {},
     [](std::string& out, const HoursRow& row, int) { out += row.place.name; }},
    {"dawn", "夜明", ColumnType::kText, 1, "", kClockCell, WriteBoundaryClock<6>},
    {"sunrise", "日出", ColumnType::kText, 1, "", kClockCell,
     [](std::string& out, const HoursRow& row, int) { AppendClock(out, row.day.sunrise); }},
    {"transit", "南中", ColumnType::kText, 1, "", kClockCell, WriteBoundaryClock<12>},
    {"sunset", "日没", ColumnType::kText, 1, "", kClockCell,
     [](std::string& out, const HoursRow& row, int) { AppendClock(out, row.day.sunset); }},
    {"dusk", "日暮", ColumnType::kText, 1, "", kClockCell, WriteBoundaryClock<18>},
    {"day_hour", "昼の一刻", ColumnType::kNumber, 1, "", kLengthCell,
     [](std::string& out, const HoursRow& row, int) {
         AppendSixths(out, row.day.DaylightMinutes());
     }},
    {"night_hour", "夜の一刻", ColumnType::kNumber, 1, "", kLengthCell,
     [](std::string& out, const HoursRow& row, int) { AppendSixths(out, row.day.NightMinutes()); }},
    {"sunrise_min",
     "",
     ColumnType::kNumber,
     1,
     "",
     {},
     [](std::string& out, const HoursRow& row, int) { AppendInt(out, row.day.sunrise); }},
    {"sunset_min",
     "",
     ColumnType::kNumber,
     1,
     "",
     {},
     [](std::string& out, const HoursRow& row, int) { AppendInt(out, row.day.sunset); }},
    {"times",
     "",
     ColumnType::kText,
     kBoundaryCount,
     "",
     {},
     [](std::string& out, const HoursRow& row, int i) { AppendClock(out, row.day.boundary[i]); }},
    {"minutes",
     "",
     ColumnType::kNumber,
     kBoundaryCount,
     "_min",
     {},
     [](std::string& out, const HoursRow& row, int i) { AppendInt(out, row.day.boundary[i]); }},
}};

constexpr ColumnId kTable[] = {ColumnId::kDate,    ColumnId::kDawn,     ColumnId::kSunrise,
                               ColumnId::kTransit, ColumnId::kSunset,   ColumnId::kDusk,
                               ColumnId::kDayHour, ColumnId::kNightHour};
constexpr ColumnId kCsv[] = {
    ColumnId::kDate,    ColumnId::kPlace,     ColumnId::kSunrise,       ColumnId::kSunset,
    ColumnId::kDayHour, ColumnId::kNightHour, ColumnId::kSunriseMinute, ColumnId::kSunsetMinute,
    ColumnId::kTimes,   ColumnId::kMinutes};
constexpr ColumnId kJson[] = {
    ColumnId::kDate,          ColumnId::kSunrise,      ColumnId::kSunset,
    ColumnId::kSunriseMinute, ColumnId::kSunsetMinute, ColumnId::kDayHour,
    ColumnId::kNightHour,     ColumnId::kTimes,        ColumnId::kMinutes};

} // namespace

const HoursColumn& Column(ColumnId id) {
    return kHoursColumns[static_cast<std::size_t>(id)];
}

std::span<const ColumnId> TableColumns() {
    return kTable;
}
std::span<const ColumnId> CsvColumns() {
    return kCsv;
}
std::span<const ColumnId> JsonColumns() {
    return kJson;
}

} // namespace tolmeri
