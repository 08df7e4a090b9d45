// core: the day's chart as the main window draws it and the web edition
// draws it again: one cycle from midnight (boundary 0) down to the next
// midnight (boundary 24) mapped onto the chart's height, seven nested bands
// in their colours, the 25 rows of label and clock time, the 日出, 日没 and
// 南中 marks and the title line. The layout is plain arithmetic on the row
// font's height and average character width and the client rectangle; the
// painters (ui/chart_painter.h with Qt, the page's SVG) only draw what it
// placed, so the two charts cannot drift apart. Standard library only.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "core/day_hours.h"
#include "core/sun_events.h"

namespace tolmeri {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Fill colours of the bands: blues of the night, yellows of the day.
inline constexpr std::array<Rgb, 6> kChartBandColors = {{
    {0, 0, 200},
    {40, 40, 255},
    {90, 90, 255},
    {255, 195, 60},
    {255, 225, 60},
    {255, 255, 60},
}};
inline constexpr Rgb kChartOutlineColor{0, 0, 0};
// Every text stands on a box of this grey as tall as its font.
inline constexpr Rgb kChartTextBoxColor{200, 200, 200};
inline constexpr Rgb kChartRowTextColor{0, 0, 0};
inline constexpr Rgb kChartMarkTextColor{128, 0, 0}; // the marks and the title

// The rows' and marks' font and the title's, in tenths of a point.
inline constexpr int kChartRowPoints = 90;
inline constexpr int kChartTitlePoints = 160;

// Pixel height of a font of tenthPoints at dpi, as the chart asks for it.
constexpr int ChartFontPixels(int dpi, int tenthPoints) {
    return dpi * tenthPoints / 720;
}

// Client rectangle as the platform gives it: right and bottom exclusive.
struct ClientRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

enum class ChartTextKind { kRow, kMark, kTitle };

// The colour of a text of kind.
constexpr Rgb ChartTextColor(ChartTextKind kind) {
    return kind == ChartTextKind::kRow ? kChartRowTextColor : kChartMarkTextColor;
}

// A band: covers x from left to right - 1 and y from top to bottom - 1, with a
// one-pixel black outline on its edge.
struct ChartBand {
    int left, top, right, bottom;
    int brush; // index into kChartBandColors
    bool operator==(const ChartBand&) const = default;
};

// A text at the top-left of its cell, UTF-8.
struct DayChartText {
    int x, y;
    std::string text;
    ChartTextKind kind;
    bool operator==(const DayChartText&) const = default;
};

struct DayChartLayout {
    int xL = 0, xR = 0, yT = 0, yB = 0, h = 0;
    double s = 0.0; // pixels per minute
    std::array<int, kBoundaryCount> boundaryY{};
    int sunriseY = 0;
    int sunsetY = 0;
    std::vector<ChartBand> bands;    // in drawing order, each over the previous
    std::vector<DayChartText> texts; // rows, then marks, then the title
};

// The title line: "横浜 － 西暦 2000年 1月 1日".
std::string DayChartTitle(std::string_view name, const CivilDate& date);

// Places everything for hours (the last computation) under the title of
// name and date (the fields as they are now, which may be newer than the
// hours, or not a real date at all). H and A are the row font's height and
// average character width.
DayChartLayout LayoutDayChart(const DayHours& hours, std::string_view name, const CivilDate& date,
                              const ClientRect& client, int H, int A);

} // namespace tolmeri
