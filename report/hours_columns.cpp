#include "report/hours_columns.h"

#include <array>
#include <iterator>

#include "core/calendar.h"
#include "core/kanshi.h"
#include "core/solar_terms.h"
#include "core/sun_events.h"
#include "core/zassetsu.h"
#include "report/hours_text.h"

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
constexpr TableCell kAgeCell{"  ", 4, true};
constexpr TableCell kTransitCell{"  ", 6, false};  // 月南中
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

// What decides the table's optional columns.
struct TableRun {
    int firstJdn;
    int endJdn; // the day after the last
    PeriodOptions options;
};
bool NotTheWindowsDefinition(const TableRun& run) {
    return run.options.dawn != DawnDefinition::kDepression;
}
bool NotSetDaily(const TableRun& run) {
    return run.options.steps != ClockSteps::kDaily;
}
bool NotTheWindowsSun(const TableRun& run) {
    return run.options.sun != SunModel::kWindow;
}
bool ReachesJulianYears(const TableRun& run) {
    return run.firstJdn < kFirstGregorianJdn;
}
bool ReachesLunisolarYears(const TableRun& run) {
    return run.firstJdn <= kLunisolarLastJdn && run.endJdn > kLunisolarFirstJdn;
}

// Not in that format.
constexpr int kNotShown = -1;

// A column and its places (0 first) in the rows of each format: CSV fields,
// JSON members, table cells; a table cell with inTable only where inTable
// says so.
struct ColumnEntry {
    int csv = kNotShown;
    int json = kNotShown;
    int table = kNotShown;
    bool (*inTable)(const TableRun& run) = nullptr;
    HoursColumn column;
};

// Every column once. The table's era date comes last, as era dates are 13 to
// 22 columns wide.
constexpr ColumnEntry kHoursColumns[] = {
    {.csv = 0,
     .json = 0,
     .table = 0,
     .column = {"date", "日付", ColumnType::kText, 1, "", kDateCell,
                [](std::string& out, const HoursRow& row, int) { AppendDate(out, row.day.date); }}},
    {.csv = 1,
     .column = {"place", "", ColumnType::kFreeText, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) { out += row.place.name; }}},
    {.table = 1,
     .column = {"dawn", "夜明", ColumnType::kText, 1, "", kClockCell, WriteBoundaryClock<6>}},
    {.csv = 2,
     .json = 1,
     .table = 2,
     .column = {"sunrise", "日出", ColumnType::kText, 1, "", kClockCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendClock(out, row.day.sunrise);
                }}},
    {.table = 3,
     .column = {"transit", "南中", ColumnType::kText, 1, "", kClockCell, WriteBoundaryClock<12>}},
    {.csv = 3,
     .json = 2,
     .table = 4,
     .column = {"sunset", "日没", ColumnType::kText, 1, "", kClockCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendClock(out, row.day.sunset);
                }}},
    {.table = 5,
     .column = {"dusk", "日暮", ColumnType::kText, 1, "", kClockCell, WriteBoundaryClock<18>}},
    {.csv = 4,
     .json = 5,
     .table = 6,
     .column = {"day_hour", "昼の一刻", ColumnType::kNumber, 1, "", kLengthCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendSixths(out, row.day.DaylightMinutes());
                }}},
    {.csv = 5,
     .json = 6,
     .table = 7,
     .column = {"night_hour", "夜の一刻", ColumnType::kNumber, 1, "", kLengthCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendSixths(out, row.day.NightMinutes());
                }}},
    {.csv = 6,
     .json = 3,
     .column = {"sunrise_min", "", ColumnType::kNumber, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendInt(out, row.day.sunrise);
                }}},
    {.csv = 7,
     .json = 4,
     .column = {"sunset_min", "", ColumnType::kNumber, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendInt(out, row.day.sunset);
                }}},
    {.csv = 8,
     .json = 7,
     .column = {"times", "", ColumnType::kText, kBoundaryCount, "", kNoCell,
                [](std::string& out, const HoursRow& row, int i) {
                    AppendClock(out, row.day.boundary[i]);
                }}},
    {.csv = 9,
     .json = 8,
     .column = {"minutes", "", ColumnType::kNumber, kBoundaryCount, "_min", kNoCell,
                [](std::string& out, const HoursRow& row, int i) {
                    AppendInt(out, row.day.boundary[i]);
                }}},
    {.csv = 10,
     .json = 9,
     .table = 22,
     .column = {"wareki", "和暦", ColumnType::kText, 1, "", kWarekiCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += FormatEraDate(*PlainEra(row));
                },
                HasEra}},
    {.csv = 11,
     .json = 10,
     .column = {"kyureki_year", "", ColumnType::kNumber, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendInt(out, row.names.lunisolar->year);
                },
                HasLunisolar}},
    {.csv = 12,
     .json = 11,
     .column = {"kyureki_month", "", ColumnType::kNumber, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendInt(out, row.names.lunisolar->month);
                },
                HasLunisolar}},
    {.csv = 13,
     .json = 12,
     .column = {"kyureki_leap", "", ColumnType::kNumber, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += row.names.lunisolar->leap ? '1' : '0';
                },
                HasLunisolar}},
    {.csv = 14,
     .json = 13,
     .column = {"kyureki_day", "", ColumnType::kNumber, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendInt(out, row.names.lunisolar->day);
                },
                HasLunisolar}},
    {.csv = 15,
     .json = 14,
     .table = 19,
     .inTable = ReachesJulianYears,
     .column = {"julian_date", "ユリウス暦", ColumnType::kText, 1, "", kJulianCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendDate(out, *row.names.julian);
                },
                HasJulian}},
    {.csv = 16,
     .json = 15,
     .table = 8,
     .column = {"sekki", "節気", ColumnType::kText, 1, "", kSekkiCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += kSolarTermNames[static_cast<std::size_t>(row.names.term.term)];
                }}},
    {.csv = 17,
     .json = 16,
     .column = {"sekki_start", "", ColumnType::kText, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendDate(out, CivilFromJdn(row.names.term.jdn));
                }}},
    {.csv = 18,
     .json = 17,
     .table = 15,
     .inTable = NotTheWindowsDefinition,
     .column = {"dawn_definition", "定義", ColumnType::kText, 1, "", kNameCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += DawnDefinitionName(row.day.definition);
                }}},
    {.csv = 19,
     .json = 18,
     .table = 17,
     .inTable = NotSetDaily,
     .column = {"clock_set", "時計", ColumnType::kText, 1, "", kLaterDateCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendDate(out, row.day.setDate);
                }}},
    {.json = 19,
     .column = {"wareki_southern", "", ColumnType::kText, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += FormatEraDate(*row.names.eras.southern);
                },
                HasSouthernEra}},
    {.json = 20,
     .column = {"wareki_northern", "", ColumnType::kText, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += FormatEraDate(*row.names.eras.northern);
                },
                HasNorthernEra}},
    // The table's one cell for the four kyureki_ values.
    {.table = 20,
     .inTable = ReachesLunisolarYears,
     .column = {"", "旧暦", ColumnType::kText, 1, "", kKyurekiCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += FormatLunisolarDate(*row.names.lunisolar);
                },
                HasLunisolar}},
    // The calendar in force (宣明暦 ... 太陽暦); none before 862.
    {.csv = 20,
     .json = 21,
     .table = 16,
     .inTable = NotTheWindowsDefinition,
     .column = {"calendar", "暦", ColumnType::kText, 1, "", kCalendarCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += AlmanacCalendarOn(JdnFromCivil(row.day.date))->name;
                },
                HasCalendar}},
    // The note of the date as read (an era date outside its era's days) and
    // of a lunisolar month named by a choice between readings (2033).
    {.csv = 21,
     .json = 22,
     .column = {"note", "", ColumnType::kFreeText, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += row.note;
                    if (!row.note.empty() && !row.names.lunisolarNote.empty())
                        out += "；";
                    out += row.names.lunisolarNote;
                },
                [](const HoursRow& row) {
                    return !row.note.empty() || !row.names.lunisolarNote.empty();
                }}},
    {.csv = 22,
     .json = 23,
     .table = 9,
     .column = {"day_kanshi", "干支", ColumnType::kText, 1, "", kSekkiCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += KanshiName(row.names.dayKanshi);
                }}},
    {.csv = 23,
     .json = 24,
     .column = {"year_kanshi", "", ColumnType::kText, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += KanshiName(*row.names.yearKanshi);
                },
                HasYearKanshi}},
    {.csv = 24,
     .json = 25,
     .table = 21,
     .inTable = ReachesLunisolarYears,
     .column = {"rokuyo", "六曜", ColumnType::kText, 1, "", kSekkiCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += RokuyoName(*row.names.rokuyo);
                },
                HasRokuyo}},
    // The Sun that placed the events: window or precise.
    {.csv = 25,
     .json = 26,
     .table = 18,
     .inTable = NotTheWindowsSun,
     .column = {"sun", "太陽", ColumnType::kText, 1, "", kNameCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += SunModelName(row.day.sun);
                }}},
    // The Moon of the day: its age at noon, the quarter on its day, its rise,
    // set and transit.
    {.csv = 26,
     .json = 27,
     .table = 10,
     .column = {"moon_age", "月齢", ColumnType::kNumber, 1, "", kAgeCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendTenths(out, row.moon.AgeTenths());
                }}},
    {.csv = 27,
     .json = 28,
     .table = 11,
     .column = {"moon_phase", "月相", ColumnType::kText, 1, "", kSekkiCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += kMoonPhaseNames[static_cast<std::size_t>(*row.moon.phase)];
                },
                [](const HoursRow& row) { return row.moon.phase.has_value(); }}},
    {.csv = 28,
     .json = 29,
     .table = 12,
     .column = {"moonrise", "月出", ColumnType::kText, 1, "", kClockCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendClock(out, MoonMinute(*row.moon.rise));
                },
                [](const HoursRow& row) { return row.moon.rise.has_value(); }}},
    {.csv = 29,
     .json = 30,
     .table = 13,
     .column = {"moonset", "月没", ColumnType::kText, 1, "", kClockCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendClock(out, MoonMinute(*row.moon.set));
                },
                [](const HoursRow& row) { return row.moon.set.has_value(); }}},
    {.csv = 30,
     .json = 31,
     .table = 14,
     .column = {"moon_transit", "月南中", ColumnType::kText, 1, "", kTransitCell,
                [](std::string& out, const HoursRow& row, int) {
                    AppendClock(out, MoonMinute(*row.moon.transit));
                },
                [](const HoursRow& row) { return row.moon.transit.has_value(); }}},
    // The 雑節 and moon-viewing nights of the day ("土用の入り・土用の丑の日").
    {.csv = 31,
     .json = 32,
     .column = {"zassetsu", "", ColumnType::kText, 1, "", kNoCell,
                [](std::string& out, const HoursRow& row, int) {
                    out += FormatNamedDays(row.names.namedDays);
                },
                [](const HoursRow& row) { return row.names.namedDays != 0; }}},

};

template <int ColumnEntry::*Place> constexpr std::size_t PlaceCount() {
    std::size_t n = 0;
    for (const ColumnEntry& e : kHoursColumns)
        n += e.*Place != kNotShown ? 1 : 0;
    return n;
}

// Every place of a row from 0 on is taken by exactly one column.
template <int ColumnEntry::*Place> constexpr bool PlacesFormARow() {
    const int n = static_cast<int>(PlaceCount<Place>());
    for (int place = 0; place < n; ++place) {
        int holders = 0;
        for (const ColumnEntry& e : kHoursColumns)
            holders += e.*Place == place ? 1 : 0;
        if (holders != 1)
            return false;
    }
    return true;
}
static_assert(PlacesFormARow<&ColumnEntry::csv>(), "the CSV places are 0 to n-1, each once");
static_assert(PlacesFormARow<&ColumnEntry::json>(), "the JSON places are 0 to n-1, each once");
static_assert(PlacesFormARow<&ColumnEntry::table>(), "the table places are 0 to n-1, each once");

template <int ColumnEntry::*Place> constexpr auto RowOrder() {
    std::array<const ColumnEntry*, PlaceCount<Place>()> order{};
    for (const ColumnEntry& e : kHoursColumns)
        if (e.*Place != kNotShown)
            order[static_cast<std::size_t>(e.*Place)] = &e;
    return order;
}
template <int ColumnEntry::*Place> constexpr auto ColumnOrder() {
    std::array<const HoursColumn*, PlaceCount<Place>()> order{};
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = &RowOrder<Place>()[i]->column;
    return order;
}
constexpr auto kTable = RowOrder<&ColumnEntry::table>();
constexpr auto kCsv = ColumnOrder<&ColumnEntry::csv>();
constexpr auto kJson = ColumnOrder<&ColumnEntry::json>();

} // namespace

std::vector<const HoursColumn*> TableColumns(const CivilDate& first, int dayCount,
                                             const PeriodOptions& options) {
    const int firstJdn = JdnFromCivil(first);
    const TableRun run{firstJdn, firstJdn + dayCount, options};
    std::vector<const HoursColumn*> columns;
    for (const ColumnEntry* e : kTable)
        if (!e->inTable || e->inTable(run))
            columns.push_back(&e->column);
    return columns;
}
std::span<const HoursColumn* const> CsvColumns() {
    return kCsv;
}
std::span<const HoursColumn* const> JsonColumns() {
    return kJson;
}

} // namespace tolmeri
