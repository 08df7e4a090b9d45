// core: the year chart as data. The temporal hours of every day of a year
// (or any run of days) at one place: days from left to right, the local clock
// from 0 h at the top to 24 h at the bottom, the twelve hours as bands
// between their boundary curves in the window chart's colours, the halves as
// thinner curves, sunrise, sunset and the transit as lines, the Moon's rise
// and set as thin curves, month and solar-term ticks, the hours' names and a
// title. The layout is plain arithmetic on a few text measures and the area;
// the drawing is the shapes it makes, each band a polygon and each curve a
// polyline already cut to the plot, with the pen or fill each takes. The
// windows' painter (ui/year_chart_painter.h) and the web edition's SVG both
// draw these shapes, so the two charts cannot differ. Standard library only.
//
// The night hours cross midnight: a boundary's day minute may lie before 0 h
// or after 24 h of its date. The layout keeps every curve unwrapped (its y
// follows the minute beyond the plot's edges, so a curve never jumps from
// one day to the next) and the drawing repeats each band and curve a day
// above and a day below, cut to the plot: whatever leaves the plot at one
// edge comes back at the other. The cutting is done on the shapes
// themselves, so no shape of the plot reaches outside its frame in any
// picture, an SVG's included.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "core/day_chart.h"
#include "core/day_hours.h"
#include "core/period_hours.h"
#include "core/place.h"
#include "core/solar_terms.h"

namespace tolmeri {

// What one chart shows: plain data, so a window, a command line and a page
// can fill it alike, usually with MakeYearChartInput.
struct YearChartInput {
    std::vector<DayHours> days; // consecutive days, left to right
    std::vector<SolarTermStart>
        terms;            // beginnings of the solar terms; those outside the days are ignored
    std::string title;    // "東京　2026年（令和8年）"
    std::string subtitle; // the definition of dawn and dusk, and the clock steps
    int markedDay = -1;   // index into days of a day marked by a vertical line; -1 none
    // Moonrise and moonset of each day as clock minutes (MoonMinute), nullopt
    // on a day without one; either one per day or, when the chart shows no
    // Moon, empty.
    std::vector<std::optional<int>> moonrise, moonset;
};

// The days from first on, dayCount of them, at place with the options, with
// the solar terms of those days (in the place's time difference) and the
// title texts; with moon, each day's moonrise and moonset too.
YearChartInput MakeYearChartInput(const Place& place, const CivilDate& first, int dayCount,
                                  const PeriodOptions& options, bool moon = false);
// The whole Gregorian year.
YearChartInput MakeYearChartInput(const Place& place, int year, const PeriodOptions& options,
                                  bool moon = false);

// "東京　2026年（令和8年）" for a whole year, "東京　2026-03-01～2026-08-31（令和8年）"
// for any other run of days: the era years the days were counted in
// ("1700年（元禄12～13年）", core/calendar.h).
std::string YearChartTitle(std::string_view placeName, const CivilDate& first, int dayCount);
// "明六つ・暮六つ：太陽暦（太陽俯角7度21分40秒）", with
// "　時計：二十四節気ごと" for clocks set at the terms: the definition as the
// days' calendars in force name it, each change of calendar in the run with
// its first day.
std::string YearChartSubtitle(const std::vector<DayHours>& days, const PeriodOptions& options);

// The fill of hour 0 to 11 (boundary 2 * hour to 2 * hour + 2): an index into
// kChartBandColors, as the window's chart fills the same hour.
int YearChartHourBrush(int hour);

// The colours of the moonrise and moonset curves, and of their keys; of the
// clock hours' texts.
inline constexpr Rgb kYearChartMoonriseColor{230, 0, 80};
inline constexpr Rgb kYearChartMoonsetColor{0, 150, 0};
inline constexpr Rgb kYearChartClockTextColor{64, 64, 64};

// The text measures the layout needs, in pixels.
struct YearChartMetrics {
    int lineHeight = 0;                             // the chart font's height
    int titleHeight = 0;                            // the title font's height
    std::function<int(std::string_view)> textWidth; // advance of a text (UTF-8) in the chart font
};

enum class YearChartTextKind { kTitle, kSubtitle, kHour, kClock, kMonth, kTerm, kMark, kKey };

struct YearChartText {
    int x, y; // top-left of the text
    std::string text;
    YearChartTextKind kind;
};

// Where a text stands on its line: x is its start, its middle or its end, so
// that the hours' names stay flush with the plot and the terms' centred over
// their ticks in whatever face a picture is shown.
enum class YearChartAnchor { kStart, kMiddle, kEnd };
YearChartAnchor YearChartAnchorOf(YearChartTextKind kind);
// The colour a kind of text is drawn in; a mark's text stands on the day
// chart's grey box.
Rgb YearChartTextColor(YearChartTextKind kind);

struct YearChartLayout {
    // The plot: x from left to right - 1, y from top to bottom - 1; 0 h on
    // row top, 24 h on row bottom (the next day's 0 h).
    int left = 0, top = 0, right = 0, bottom = 0;
    int tick = 0;          // length of the ticks outside the plot
    std::vector<int> dayX; // day d covers x from dayX[d] to dayX[d + 1] - 1; one more than days
    // Per day, unwrapped: the row of each boundary, sunrise, sunset and
    // transit for its unrounded day minute, above top before 0 h and from
    // bottom on after 24 h.
    std::vector<BoundaryTable> boundaryY;
    std::vector<int> sunriseY, sunsetY, transitY;
    std::vector<int> monthX; // ticks below the plot on the first of each month
    std::vector<int> termX;  // ticks above the plot on each term's first day
    int markedX = -1;        // the marked day's line, -1 for none
    // Per day, the row of its moonrise and moonset (inside the plot), nullopt
    // on a day without; empty when the input has no Moon.
    std::vector<std::optional<int>> moonriseY, moonsetY;
    // The keys of the moonrise and moonset curves on the title's line, right
    // of it: a short stroke in the curve's colour from x0 to x1 on row y,
    // then its name (a text of kind kKey). Empty when the input has no Moon.
    struct Key {
        int x0, x1, y;
        Rgb color;
    };
    std::vector<Key> keys;
    std::vector<YearChartText> texts;
};

// Unwrapped row of a day minute: YearChartY(L, m + 1440) is exactly
// YearChartY(L, m) + the plot's height.
int YearChartY(const YearChartLayout& layout, int minute);
// The row of an unrounded day minute, to the nearest row: the curves are
// drawn from the days' unrounded tables (DayHours::exactBoundary), so a
// minute's rounding never steps a line back and forth.
int YearChartY(const YearChartLayout& layout, double minute);

// Rows [top, bottom) of the plot that hour 0 to 11 covers on day: one run, or
// two where the hour crosses midnight on the clock.
struct YearChartSpan {
    int top, bottom;
};
std::vector<YearChartSpan> YearChartBandSpans(const YearChartLayout& layout, int day, int hour);

// What the chart shows under a point (x, y) of the plot: the day of its
// column, the clock time of its row and the half-hour whose band is drawn
// there: "2026-06-21（令和8年6月21日）　14:32　昼八つ (未)". Empty outside the
// plot.
std::string YearChartReadout(const YearChartInput& input, const YearChartLayout& layout, int x,
                             int y);

// Places everything in area.
YearChartLayout LayoutYearChart(const YearChartInput& input, const ClientRect& area,
                                const YearChartMetrics& metrics);

// Pixel size of the chart font for an area of width by height: about 14 in
// 1200 x 800; the title's is 7/5 of it.
int YearChartFontPixels(int width, int height);

// The pens of the drawing.
enum class YearChartPen {
    kHour,     // a boundary between hours: black, 1 pixel
    kHalf,     // a half-hour's boundary: black at 96/255, half a pixel
    kTransit,  // the transit: the marks' colour, 1 pixel
    kSunEvent, // sunrise and sunset: the marks' colour, 2 pixels
    kMoonrise, // the Moon's curves, 1 pixel
    kMoonset,
    kFrame,       // the frame and its ticks: black, 1 pixel
    kMarkedDay,   // the marked day: black, 1 pixel, dashed
    kMoonriseKey, // the keys' strokes, 2 pixels
    kMoonsetKey,
};
struct YearChartPenStyle {
    Rgb color;
    int alpha = 255;
    double width = 1.0;
    bool dashed = false;
};
YearChartPenStyle YearChartPenOf(YearChartPen pen);

struct ChartPointF {
    double x = 0.0, y = 0.0;
    bool operator==(const ChartPointF&) const = default;
};
struct ChartPoint {
    int x = 0, y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// A band of one hour: a polygon between its two staircases, inside the
// plot's rows, filled with kChartBandColors[brush].
struct YearChartBand {
    int brush = 0;
    std::vector<ChartPoint> points;
};
// A polyline drawn with pen, already cut to the plot's pixels; a single
// point is a dot.
struct YearChartLine {
    YearChartPen pen = YearChartPen::kHour;
    std::vector<ChartPointF> points;
};
// A straight line from (x1, y1) to (x2, y2) outside the plot's cut: the
// frame, the ticks, the marked day, the keys.
struct YearChartSegment {
    YearChartPen pen = YearChartPen::kFrame;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
// Everything drawn, in the order drawn: the bands, the lines of the plot
// (boundaries, transit, sunrise and sunset, the Moon), then the frame and
// its segments; the texts are the layout's.
struct YearChartDrawing {
    std::vector<YearChartBand> bands;
    std::vector<YearChartLine> lines;
    std::vector<YearChartSegment> segments;
};
YearChartDrawing DrawYearChart(const YearChartLayout& layout, int dayCount);

} // namespace tolmeri
