// The CSV cell rule every writer of tolmeri-hours and the web edition
// shares: a text cell a spreadsheet would run or compute keeps its leading
// "'", a cell that would break its line or field is quoted.
#include <gtest/gtest.h>

#include "report/hours_text.h"

namespace tolmeri {
namespace {

TEST(CsvField, TextCellsNeverRunOrBreakTheirLine) {
    const struct {
        const char* text;
        const char* cell;
    } cases[] = {
        {"横浜", "横浜"},
        {"2026-06-21", "2026-06-21"},
        {"=1+1", "'=1+1"},
        {"+43:20", "'+43:20"},
        {"-0001-12-21", "'-0001-12-21"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"a,b", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"=a,b", "\"'=a,b\""},
        {"a\nb", "\"a\nb\""},
        {"a\rb", "\"a\rb\""},
        {"a\u2028b", "\"a\u2028b\""},
        {"a\u2029b", "\"a\u2029b\""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvField(c.text), c.cell) << c.text;
}

} // namespace
} // namespace tolmeri
