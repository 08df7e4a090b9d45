#include "tools/hours_columns.h"

#include <array>
#include <iterator>

#include "core/calendar.h"
#include "core/kanshi.h"
#include "core/solar_terms.h"
#include "core/sun_events.h"
#include "tools/hours_text.h"

namespace tolmeri {

namespace {

constexpr TableCell kNoCell{};                       // not in the table
constexpr TableCell kDateCell{"", 10, false};        // the first column
constexpr TableCell kLaterDateCell{"  ", 10, false}; // a date after another column
constexpr TableCell kClockCell{"  ", 5, false};
constexpr TableCell kLengthCell{"", 10, true};
constexpr TableCell kWarekiCell{"  ", 18, false};  // 慶長5年9月15日, 文政13年閏3月1日
constexpr TableCell kKyurekiCell{"  ", 16, false}; // 1830年閏3月1日
constexpr TableCell kJulianCell{"  ", 10, false};
constexpr TableCell kSekkiCell{"  ", 4, false};
constexpr TableCell kNameCell{"  ", 10, false};
constexpr TableCell kCalendarCell{"  ", 6, false}; // 宣明暦

// The clock time of boundary I, as the chart reads its day minute.
template <int I> void WriteBoundaryClock(std::string& out, const HoursRow& row, int) {
    AppendClock(out, row.day.boundary[I]);
}

// The plain era date is the Southern court's for 1331-1392, as modern
// chronologies give it.
const std::optional<EraDate>& PlainEra(const HoursRow& row) {
    return row.names.eras.southern ? row.names.eras.southern : row.names.eras.northern;
}
bool HasEra(const HoursRow& row) {
    return PlainEra(row).has_value();
}
bool HasSouthernEra(const HoursRow& row) {
    return row.names.eras.southern.has_value();
}
bool HasNorthernEra(const HoursRow& row) {
    return row.names.eras.northern.has_value();
}
bool HasLunisolar(const HoursRow& row) {
    return row.names.lunisolar.has_value();
}
bool HasJulian(const HoursRow& row) {
    return row.names.julian.has_value();
}

bool HasCalendar(const HoursRow& row) {
    return AlmanacCalendarOn(JdnFromCivil(row.day.date)) != nullptr;
}

bool HasYearKanshi(const HoursRow& row) {
    return row.names.yearKanshi.has_value();
}
bool HasRokuyo(const HoursRow& row) {
    return row.names.rokuyo.has_value();
}

const std::array<HoursColumn, 32> kHoursColumns = {{
    {"date", "日付", ColumnType::kText, 1, "", kDateCell,
     [](std::string& out, const HoursRow& row, int) { AppendDate(out, row.day.date); }},
    {"place", "", ColumnType::kFreeText, 1, "", kNoCell,
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
    {"sunrise_min", "", ColumnType::kNumber, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) { AppendInt(out, row.day.sunrise); }},
    {"sunset_min", "", ColumnType::kNumber, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) { AppendInt(out, row.day.sunset); }},
    {"times", "", ColumnType::kText, kBoundaryCount, "", kNoCell,
     [](std::string& out, const HoursRow& row, int i) { AppendClock(out, row.day.boundary[i]); }},
    {"minutes", "", ColumnType::kNumber, kBoundaryCount, "_min", kNoCell,
     [](std::string& out, const HoursRow& row, int i) { AppendInt(out, row.day.boundary[i]); }},
    {"wareki", "和暦", ColumnType::kText, 1, "", kWarekiCell,
     [](std::string& out, const HoursRow& row, int) { out += FormatEraDate(*PlainEra(row)); },
     HasEra},
    {"kyureki_year", "", ColumnType::kNumber, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) { AppendInt(out, row.names.lunisolar->year); },
     HasLunisolar},
    {"kyureki_month", "", ColumnType::kNumber, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) { AppendInt(out, row.names.lunisolar->month); },
     HasLunisolar},
    {"kyureki_leap", "", ColumnType::kNumber, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) {
         out += row.names.lunisolar->leap ? '1' : '0';
     },
     HasLunisolar},
    {"kyureki_day", "", ColumnType::kNumber, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) { AppendInt(out, row.names.lunisolar->day); },
     HasLunisolar},
    {"julian_date", "ユリウス暦", ColumnType::kText, 1, "", kJulianCell,
     [](std::string& out, const HoursRow& row, int) { AppendDate(out, *row.names.julian); },
     HasJulian},
    {"sekki", "節気", ColumnType::kText, 1, "", kSekkiCell,
     [](std::string& out, const HoursRow& row, int) {
         out += kSolarTermNames[static_cast<std::size_t>(row.names.term.term)];
     }},
    {"sekki_start", "", ColumnType::kText, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) {
         AppendDate(out, CivilFromJdn(row.names.term.jdn));
     }},
    {"dawn_definition", "定義", ColumnType::kText, 1, "", kNameCell,
     [](std::string& out, const HoursRow& row, int) {
         out += DawnDefinitionName(row.day.definition);
     }},
    {"clock_set", "時計", ColumnType::kText, 1, "", kLaterDateCell,
     [](std::string& out, const HoursRow& row, int) { AppendDate(out, row.day.setDate); }},
    {"wareki_southern", "", ColumnType::kText, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) {
         out += FormatEraDate(*row.names.eras.southern);
     },
     HasSouthernEra},
    {"wareki_northern", "", ColumnType::kText, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) {
         out += FormatEraDate(*row.names.eras.northern);
     },
     HasNorthernEra},
    {"", "旧暦", ColumnType::kText, 1, "", kKyurekiCell,
     [](std::string& out, const HoursRow& row, int) {
         out += FormatLunisolarDate(*row.names.lunisolar);
     },
     HasLunisolar},
    {"calendar", "暦", ColumnType::kText, 1, "", kCalendarCell,
     [](std::string& out, const HoursRow& row, int) {
         out += AlmanacCalendarOn(JdnFromCivil(row.day.date))->name;
     },
     HasCalendar},
    {"note", "", ColumnType::kFreeText, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) { out += row.note; },
     [](const HoursRow& row) { return !row.note.empty(); }},
    {"day_kanshi", "干支", ColumnType::kText, 1, "", kSekkiCell,
     [](std::string& out, const HoursRow& row, int) { out += KanshiName(row.names.dayKanshi); }},
    {"year_kanshi", "", ColumnType::kText, 1, "", kNoCell,
     [](std::string& out, const HoursRow& row, int) { out += KanshiName(*row.names.yearKanshi); },
     HasYearKanshi},
    {"rokuyo", "六曜", ColumnType::kText, 1, "", kSekkiCell,
     [](std::string& out, const HoursRow& row, int) { out += RokuyoName(*row.names.rokuyo); },
     HasRokuyo},
    {"sun", "太陽", ColumnType::kText, 1, "", kNameCell,
     [](std::string& out, const HoursRow& row, int) { out += SunModelName(row.day.sun); }},
}};

constexpr ColumnId kTable[] = {ColumnId::kDate,    ColumnId::kDawn,     ColumnId::kSunrise,
                               ColumnId::kTransit, ColumnId::kSunset,   ColumnId::kDusk,
                               ColumnId::kDayHour, ColumnId::kNightHour};
constexpr ColumnId kCsv[] = {
    ColumnId::kDate,           ColumnId::kPlace,        ColumnId::kSunrise,
    ColumnId::kSunset,         ColumnId::kDayHour,      ColumnId::kNightHour,
    ColumnId::kSunriseMinute,  ColumnId::kSunsetMinute, ColumnId::kTimes,
    ColumnId::kMinutes,        ColumnId::kWareki,       ColumnId::kKyurekiYear,
    ColumnId::kKyurekiMonth,   ColumnId::kKyurekiLeap,  ColumnId::kKyurekiDay,
    ColumnId::kJulianDate,     ColumnId::kSekki,        ColumnId::kSekkiStart,
    ColumnId::kDawnDefinition, ColumnId::kClockSet,     ColumnId::kCalendar,
    ColumnId::kNote,           ColumnId::kDayKanshi,    ColumnId::kYearKanshi,
    ColumnId::kRokuyo,         ColumnId::kSun};
constexpr ColumnId kJson[] = {
    ColumnId::kDate,          ColumnId::kSunrise,        ColumnId::kSunset,
    ColumnId::kSunriseMinute, ColumnId::kSunsetMinute,   ColumnId::kDayHour,
    ColumnId::kNightHour,     ColumnId::kTimes,          ColumnId::kMinutes,
    ColumnId::kWareki,        ColumnId::kKyurekiYear,    ColumnId::kKyurekiMonth,
    ColumnId::kKyurekiLeap,   ColumnId::kKyurekiDay,     ColumnId::kJulianDate,
    ColumnId::kSekki,         ColumnId::kSekkiStart,     ColumnId::kDawnDefinition,
    ColumnId::kClockSet,      ColumnId::kWarekiSouthern, ColumnId::kWarekiNorthern,
    ColumnId::kCalendar,      ColumnId::kNote,           ColumnId::kDayKanshi,
    ColumnId::kYearKanshi,    ColumnId::kRokuyo,         ColumnId::kSun};

} // namespace

const HoursColumn& Column(ColumnId id) {
    return kHoursColumns[static_cast<std::size_t>(id)];
}

std::vector<ColumnId> TableColumns(const CivilDate& first, int dayCount,
                                   const PeriodOptions& options) {
    const int firstJdn = JdnFromCivil(first);
    const int endJdn = firstJdn + dayCount;
    std::vector<ColumnId> columns(std::begin(kTable), std::end(kTable));
    columns.push_back(ColumnId::kSekki);
    columns.push_back(ColumnId::kDayKanshi);
    if (options.dawn != DawnDefinition::kDepression) {
        columns.push_back(ColumnId::kDawnDefinition);
        columns.push_back(ColumnId::kCalendar);
    }
    if (options.steps != ClockSteps::kDaily)
        columns.push_back(ColumnId::kClockSet);
    if (options.sun != SunModel::kWindow)
        columns.push_back(ColumnId::kSun);
    if (firstJdn < kFirstGregorianJdn)
        columns.push_back(ColumnId::kJulianDate);
    if (firstJdn < kLunisolarEndJdn && endJdn > kLunisolarFirstJdn) {
        columns.push_back(ColumnId::kKyureki);
        columns.push_back(ColumnId::kRokuyo);
    }
    // Last, as era dates are 13 to 22 columns wide.
    columns.push_back(ColumnId::kWareki);
    return columns;
}
std::span<const ColumnId> CsvColumns() {
    return kCsv;
}
std::span<const ColumnId> JsonColumns() {
    return kJson;
}

} // namespace tolmeri
