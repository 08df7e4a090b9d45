// report: the values tolmeri-hours and the web edition write for each day, defined once. A column
// has a name (the CSV header and the JSON key), a title where the table shows
// it, a type, a way to write its value and its places in table, CSV and JSON
// rows. A new column is one more entry in kHoursColumns
// (report/hours_columns.cpp), placed at the end of the CSV and JSON rows so
// that readers of older output keep working.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/day_hours.h"
#include "core/day_names.h"
#include "core/moon.h"
#include "core/period_hours.h"
#include "core/place.h"

namespace tolmeri {

// What a column's value is: plain text that never needs quoting (a date, a
// clock time), free text (a name: quoted in CSV and escaped in JSON where it
// must be), or a number (bare in JSON).
enum class ColumnType { kText, kFreeText, kNumber };

// One day of a run, with what the run is about.
struct HoursRow {
    const DayHours& day;
    const Place& place;
    const DayNames& names;
    std::string_view note; // what reading the day's date said, if anything
    const MoonDay& moon;
};

// The cell of a table column: a separator before it, its width in terminal
// columns, and its alignment; the title is placed like the value.
struct TableCell {
    std::string_view separator;
    int width = 0;
    bool rightAligned = false;
};

struct HoursColumn {
    std::string_view name;  // CSV header and JSON key ("times" for a table of 25)
    std::string_view title; // the table's head
    ColumnType type = ColumnType::kText;
    // 1, or kBoundaryCount for a value per boundary: a JSON array, and CSV
    // columns "b00" to "b24" each followed by csvSuffix.
    int count = 1;
    std::string_view csvSuffix;
    TableCell cell;
    // Appends value index (0 for a single value) of row.
    void (*write)(std::string& out, const HoursRow& row, int index) = nullptr;
    // Whether the row has a value; null: always. A value a row lacks is an
    // empty CSV field and table cell, and null in JSON.
    bool (*has)(const HoursRow& row) = nullptr;
};

// The columns of each format, in order.
// A run of days as a table, a row a day: the lunisolar and the Julian
// column only for runs that reach their years, the definition (with the
// calendar in force) and the clock setting only when they are not the
// window's, the era date last.
std::vector<const HoursColumn*> TableColumns(const CivilDate& first, int dayCount,
                                             const PeriodOptions& options);
std::span<const HoursColumn* const> CsvColumns();
// Each day's object; the place is the document's.
std::span<const HoursColumn* const> JsonColumns();

} // namespace tolmeri
