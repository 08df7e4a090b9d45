#include "core/year_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "core/calendar.h"
#include "core/moon.h"
#include "core/sun_events.h"

namespace tolmeri {

namespace {

// floor(a / b) for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

std::optional<int> MoonClock(const std::optional<double>& moment) {
    if (!moment)
        return std::nullopt;
    return MoonMinute(*moment);
}

} // namespace

YearChartInput MakeYearChartInput(const Place& place, const CivilDate& first, int dayCount,
                                  const PeriodOptions& options, bool moon) {
    YearChartInput in;
    in.days = CalcPeriodDays(place, first, dayCount, options);
    in.title = YearChartTitle(place.name, first, dayCount);
    in.subtitle = YearChartSubtitle(in.days, options);
    if (in.days.empty())
        return in;
    if (moon) {
        CMoonCalculator calc(place);
        in.moonrise.reserve(in.days.size());
        in.moonset.reserve(in.days.size());
        for (const DayHours& day : in.days) {
            const MoonDay m = calc.Day(JdnFromCivil(day.date));
            in.moonrise.push_back(MoonClock(m.rise));
            in.moonset.push_back(MoonClock(m.set));
        }
    }
    const int firstJdn = JdnFromCivil(first);
    const int endJdn = firstJdn + dayCount;
    for (int year = first.year; year <= in.days.back().date.year; ++year)
        for (const SolarTermStart& start : SolarTermsOfYear(year, place.timeDiff))
            if (start.jdn >= firstJdn && start.jdn < endJdn)
                in.terms.push_back(start);
    return in;
}

YearChartInput MakeYearChartInput(const Place& place, int year, const PeriodOptions& options,
                                  bool moon) {
    return MakeYearChartInput(place, {year, 1, 1}, DaysInYear(year), options, moon);
}

std::string YearChartTitle(std::string_view placeName, const CivilDate& first, int dayCount) {
    std::string when;
    if (first.month == 1 && first.day == 1 && dayCount == DaysInYear(first.year)) {
        when = FormatYearWithEras(first.year);
    } else {
        const CivilDate last = CivilFromDays(DaysFromCivil(first) + std::max(dayCount, 1) - 1);
        when = FormatDate(first) + "～" + FormatDate(last);
        const std::string eras = FormatEraYearsOfDays(JdnFromCivil(first), JdnFromCivil(last) + 1);
        if (!eras.empty())
            when += "（" + eras + "）";
    }
    return placeName.empty() ? when : std::string(placeName) + "　" + when;
}

std::string YearChartSubtitle(const std::vector<DayHours>& days, const PeriodOptions& options) {
    const std::string label =
        days.empty() ? std::string(DawnDefinitionLabel(options.dawn))
                     : DawnDefinitionLabelOver(options.dawn, JdnFromCivil(days.front().date),
                                               JdnFromCivil(days.back().date) + 1);
    std::string text = "明六つ・暮六つ：" + label;
    if (options.steps == ClockSteps::kSekki)
        text += "　時計：" + std::string(ClockStepsLabel(options.steps));
    if (options.sun != SunModel::kWindow)
        text += "　太陽：" + std::string(SunModelLabel(options.sun));
    return text;
}

int YearChartHourBrush(int hour) {
    // The window nests its bands from the midnights inwards, so the hour k
    // shows the fill of the k-th band from either end.
    return std::clamp(std::min(hour, 11 - hour), 0, 5);
}

YearChartAnchor YearChartAnchorOf(YearChartTextKind kind) {
    switch (kind) {
    case YearChartTextKind::kHour:
    case YearChartTextKind::kMark:
        return YearChartAnchor::kEnd;
    case YearChartTextKind::kMonth:
    case YearChartTextKind::kTerm:
        return YearChartAnchor::kMiddle;
    case YearChartTextKind::kTitle:
    case YearChartTextKind::kSubtitle:
    case YearChartTextKind::kClock:
    case YearChartTextKind::kKey:
        break;
    }
    return YearChartAnchor::kStart;
}

Rgb YearChartTextColor(YearChartTextKind kind) {
    if (kind == YearChartTextKind::kMark)
        return kChartMarkTextColor;
    return kind == YearChartTextKind::kClock ? kYearChartClockTextColor : Rgb{0, 0, 0};
}

int YearChartY(const YearChartLayout& L, int minute) {
    // minute * height / 1440, rounded half up, in integers: exactly one
    // height further for one day later.
    const std::int64_t h = L.bottom - L.top;
    return L.top +
           static_cast<int>(FloorDiv(2 * static_cast<std::int64_t>(minute) * h + 1440, 2880));
}

int YearChartY(const YearChartLayout& L, double minute) {
    const double h = L.bottom - L.top;
    double row = std::floor(minute * h / 1440.0 + 0.5);
    if (!std::isfinite(row))
        row = 0.0;
    // Far outside any day (a broken table) stays far outside, never overflows.
    return L.top + static_cast<int>(std::clamp(row, -4.0 * h - 1.0, 5.0 * h + 1.0));
}

std::vector<YearChartSpan> YearChartBandSpans(const YearChartLayout& L, int day, int hour) {
    const int h = L.bottom - L.top;
    const int y0 = L.boundaryY[day][2 * hour];
    const int y1 = L.boundaryY[day][2 * hour + 2];
    if (y1 <= y0 || h <= 0)
        return {};
    // Onto the plot: the run starts inside it and ends at most one height on.
    const int shift = static_cast<int>(FloorDiv(y0 - L.top, h)) * h;
    const int a = y0 - shift;
    const int b = y1 - shift;
    if (b <= L.bottom)
        return {{a, b}};
    return {{a, L.bottom}, {L.top, b - h}};
}

std::string YearChartReadout(const YearChartInput& in, const YearChartLayout& L, int x, int y) {
    const int n = static_cast<int>(in.days.size());
    if (n == 0 || L.dayX.size() != in.days.size() + 1 || y < L.top || y >= L.bottom ||
        x < L.dayX.front() || x >= L.dayX.back())
        return {};
    const auto column = std::upper_bound(L.dayX.begin(), L.dayX.end(), x);
    const int d = static_cast<int>(column - L.dayX.begin()) - 1;
    if (d < 0 || d >= n)
        return {};
    const DayHours& day = in.days[static_cast<std::size_t>(d)];
    const int minute = static_cast<int>(static_cast<std::int64_t>(y - L.top) * 1440 /
                                        std::max(L.bottom - L.top, 1));
    // The band drawn there: the day's table, or the same a day on or back.
    std::string_view hour;
    for (const int shifted : {minute, minute + 1440, minute - 1440})
        for (int i = 0; i + 1 < kBoundaryCount && hour.empty(); ++i)
            if (day.boundary[i] <= shifted && shifted < day.boundary[i + 1])
                hour = kBoundaryLabels[i];
    std::string text = FormatDate(day.date);
    const std::string era = FormatEraDates(EraDatesFromJdn(JdnFromCivil(day.date)));
    if (!era.empty())
        text += "（" + era + "）";
    text += "　" + FormatClock(minute);
    if (!hour.empty())
        text += "　" + std::string(hour);
    return text;
}

int YearChartFontPixels(int width, int height) {
    return std::clamp(std::min(height / 57, width / 85), 9, 48);
}

namespace {

std::string HourLabel(int hour) {
    return std::string(kBoundaryLabels[2 * hour]);
}

void PlaceTitle(const YearChartInput& in, const ClientRect& area, const YearChartMetrics& m,
                int pad, YearChartLayout& L) {
    const int x = area.left + pad;
    L.texts.push_back({x, area.top + pad, in.title, YearChartTextKind::kTitle});
    L.texts.push_back(
        {x, area.top + pad + m.titleHeight, in.subtitle, YearChartTextKind::kSubtitle});
}

// The hours' names at the left edge, each beside its band on the first day,
// moved apart where bands are thinner than a line.
void PlaceHourLabels(const YearChartInput& in, const YearChartMetrics& m, YearChartLayout& L) {
    const int lh = m.lineHeight;
    struct Label {
        int y, hour;
    };
    std::vector<Label> labels;
    const auto& b = in.days.front().boundary;
    for (int hour = 0; hour < 12; ++hour) {
        const int mid = (b[2 * hour] + b[2 * hour + 2]) / 2;
        labels.push_back({YearChartY(L, ((mid % 1440) + 1440) % 1440) - lh / 2, hour});
    }
    std::sort(labels.begin(), labels.end(),
              [](const Label& a, const Label& c) { return a.y < c.y; });
    for (std::size_t i = 1; i < labels.size(); ++i)
        labels[i].y = std::max(labels[i].y, labels[i - 1].y + lh);
    labels.back().y = std::min(labels.back().y, L.bottom - lh / 2);
    for (std::size_t i = labels.size() - 1; i-- > 0;)
        labels[i].y = std::min(labels[i].y, labels[i + 1].y - lh);
    for (const Label& label : labels) {
        std::string text = HourLabel(label.hour);
        const int x = L.left - lh / 2 - m.textWidth(text);
        L.texts.push_back({x, label.y, std::move(text), YearChartTextKind::kHour});
    }
}

// Clock hours on the right edge, every 2 hours where they fit, else sparser.
void PlaceClockLabels(const YearChartMetrics& m, YearChartLayout& L) {
    const int lh = m.lineHeight;
    int step = 2;
    for (int s : {2, 3, 4, 6, 12}) {
        step = s;
        if ((L.bottom - L.top) * s >= 24 * (lh + lh / 2))
            break;
    }
    for (int hour = 0; hour <= 24; hour += step)
        L.texts.push_back({L.right + L.tick + lh / 4, YearChartY(L, hour * 60) - lh / 2,
                           std::to_string(hour) + "時", YearChartTextKind::kClock});
}

// Month ticks on the first of each month, the names centred under each
// month's stretch where they fit.
void PlaceMonths(const YearChartInput& in, const YearChartMetrics& m, YearChartLayout& L) {
    const int n = static_cast<int>(in.days.size());
    int start = 0;
    for (int d = 0; d <= n; ++d) {
        if (d < n && (d == 0 || in.days[d].date.day != 1))
            continue;
        if (d < n)
            L.monthX.push_back(L.dayX[d]);
        if (d > start) {
            const CivilDate& date = in.days[start].date;
            std::string text = std::to_string(date.month) + "月";
            if (date.month == 1 && start > 0)
                text = std::to_string(date.year) + "年" + text;
            const int w = m.textWidth(text);
            if (L.dayX[d] - L.dayX[start] >= w)
                L.texts.push_back({(L.dayX[start] + L.dayX[d] - w) / 2, L.bottom + L.tick,
                                   std::move(text), YearChartTextKind::kMonth});
        }
        start = d;
    }
}

struct TermTick {
    int x;
    std::string_view name;
};

// The terms that begin on the days, left to right, at their first day's
// left edge.
std::vector<TermTick> TermTicks(const YearChartInput& in, const YearChartLayout& L) {
    const int n = static_cast<int>(in.days.size());
    std::vector<TermTick> ticks;
    if (n == 0)
        return ticks;
    const int firstJdn = JdnFromCivil(in.days.front().date);
    for (const SolarTermStart& s : in.terms) {
        const int d = s.jdn - firstJdn;
        if (d >= 0 && d < n && s.term >= 0 && s.term < kSolarTermCount)
            ticks.push_back({L.dayX[d], kSolarTermNames[static_cast<std::size_t>(s.term)]});
    }
    std::sort(ticks.begin(), ticks.end(),
              [](const TermTick& a, const TermTick& b) { return a.x < b.x; });
    return ticks;
}

// Whether one row of names over the ticks would crowd them.
bool TermsCrowded(const std::vector<TermTick>& ticks, const YearChartMetrics& m) {
    for (std::size_t i = 1; i < ticks.size(); ++i)
        if (ticks[i].x - ticks[i - 1].x < m.textWidth(ticks[i].name) + m.lineHeight / 2)
            return true;
    return false;
}

// A tick above the plot on each term's first day and its name centred over
// it; where crowded, every other name one row higher.
void PlaceTerms(const std::vector<TermTick>& ticks, const YearChartMetrics& m, bool crowded,
                YearChartLayout& L) {
    const int nearest = L.top - L.tick - m.lineHeight;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        L.termX.push_back(ticks[i].x);
        const int y = nearest - (crowded && i % 2 == 1 ? m.lineHeight : 0);
        L.texts.push_back({ticks[i].x - m.textWidth(ticks[i].name) / 2, y,
                           std::string(ticks[i].name), YearChartTextKind::kTerm});
    }
}

// Each day's rows of its boundaries, sunrise, sunset and transit.
void PlaceDayRows(const YearChartInput& in, YearChartLayout& L) {
    const std::size_t n = in.days.size();
    L.boundaryY.resize(n);
    L.sunriseY.resize(n);
    L.sunsetY.resize(n);
    L.transitY.resize(n);
    for (std::size_t d = 0; d < n; ++d) {
        const DayHours& day = in.days[d];
        for (int i = 0; i < kBoundaryCount; ++i)
            L.boundaryY[d][i] = YearChartY(L, day.exactBoundary[i]);
        L.sunriseY[d] = YearChartY(L, day.exactSunrise);
        L.sunsetY[d] = YearChartY(L, day.exactSunset);
        L.transitY[d] = YearChartY(L, day.exactTransit);
    }
}

// The names of the three lines inside the plot's right end, just above each
// line on the last day.
void PlaceMarkNames(const YearChartMetrics& m, YearChartLayout& L) {
    const int lh = std::max(m.lineHeight, 1);
    const struct {
        const std::vector<int>& ys;
        std::string_view text;
    } marks[] = {{L.sunriseY, "日出"}, {L.sunsetY, "日没"}, {L.transitY, "南中"}};
    const int h = L.bottom - L.top;
    for (const auto& mark : marks) {
        const int y = L.top + static_cast<int>(((mark.ys.back() - L.top) % h + h) % h);
        L.texts.push_back({L.right - m.textWidth(mark.text) - lh / 4, std::max(y - lh - 1, L.top),
                           std::string(mark.text), YearChartTextKind::kMark});
    }
}

// The Moon's rows, where the input has one event or none for every day: in
// the plot, a minute before midnight on its last row.
void PlaceMoonRows(const YearChartInput& in, YearChartLayout& L) {
    const std::size_t n = in.days.size();
    if (in.moonrise.size() != n || in.moonset.size() != n)
        return;
    const auto rows = [&L](const std::vector<std::optional<int>>& minutes) {
        std::vector<std::optional<int>> ys;
        ys.reserve(minutes.size());
        for (const std::optional<int>& minute : minutes)
            ys.push_back(minute ? std::optional<int>(std::min(
                                      YearChartY(L, std::clamp(*minute, 0, 1439)), L.bottom - 1))
                                : std::nullopt);
        return ys;
    };
    L.moonriseY = rows(in.moonrise);
    L.moonsetY = rows(in.moonset);
}

// The keys of the Moon's curves, right-aligned with the plot on the
// title's line, its middle on the title's.
void PlaceMoonKeys(const YearChartMetrics& m, int titleTop, YearChartLayout& L) {
    if (L.moonriseY.empty())
        return;
    const int lh = std::max(m.lineHeight, 1);
    const int y = titleTop + (m.titleHeight - lh) / 2;
    const struct {
        std::string_view text;
        Rgb color;
    } keys[] = {{"月の出", kYearChartMoonriseColor}, {"月の入", kYearChartMoonsetColor}};
    const int stroke = lh * 3 / 2, gap = lh / 3;
    int x = L.right;
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        x -= m.textWidth(key->text);
        L.texts.push_back({x, y, std::string(key->text), YearChartTextKind::kKey});
        x -= gap;
        L.keys.insert(L.keys.begin(), {x - stroke, x, y + lh / 2, key->color});
        x -= stroke + lh;
    }
}

} // namespace

YearChartLayout LayoutYearChart(const YearChartInput& in, const ClientRect& area,
                                const YearChartMetrics& m) {
    YearChartLayout L;
    const int lh = std::max(m.lineHeight, 1);
    const int pad = std::max(lh * 2 / 3, 4);
    L.tick = std::max(lh / 3, 3);
    PlaceTitle(in, area, m, pad, L);

    int labelWidth = 0;
    for (int hour = 0; hour < 12; ++hour)
        labelWidth = std::max(labelWidth, m.textWidth(HourLabel(hour)));
    const int clockWidth = m.textWidth("24時");

    // Term names over the plot: rows for them below the title lines.
    const int rowsTop = area.top + pad + m.titleHeight + lh + lh / 2;
    L.left = area.left + pad + labelWidth + lh / 2;
    L.right = std::max(area.right - pad - clockWidth - L.tick - lh / 4, L.left + 1);
    const int n = static_cast<int>(in.days.size());
    L.dayX.resize(static_cast<std::size_t>(n) + 1);
    for (int d = 0; d <= n; ++d)
        L.dayX[d] = L.left + static_cast<int>(static_cast<std::int64_t>(d) * (L.right - L.left) /
                                              std::max(n, 1));

    // The ticks' positions depend on the width only, so they decide the
    // rows of names, and so the plot's top.
    const std::vector<TermTick> ticks = TermTicks(in, L);
    const bool crowded = TermsCrowded(ticks, m);
    L.top = rowsTop + (crowded ? 2 : 1) * lh + L.tick;
    L.bottom = std::max(area.bottom - pad - lh - L.tick, L.top + 1);
    if (n == 0)
        return L;

    PlaceDayRows(in, L);
    if (in.markedDay >= 0 && in.markedDay < n)
        L.markedX = (L.dayX[in.markedDay] + L.dayX[in.markedDay + 1]) / 2;
    PlaceHourLabels(in, m, L);
    PlaceClockLabels(m, L);
    PlaceMonths(in, m, L);
    PlaceTerms(ticks, m, crowded, L);
    PlaceMarkNames(m, L);
    PlaceMoonRows(in, L);
    PlaceMoonKeys(m, area.top + pad, L);
    return L;
}

YearChartPenStyle YearChartPenOf(YearChartPen pen) {
    switch (pen) {
    case YearChartPen::kHour:
    case YearChartPen::kFrame:
        break;
    case YearChartPen::kHalf:
        return {{0, 0, 0}, 96, 0.5, false};
    case YearChartPen::kTransit:
        return {kChartMarkTextColor, 255, 1.0, false};
    case YearChartPen::kSunEvent:
        return {kChartMarkTextColor, 255, 2.0, false};
    case YearChartPen::kMoonrise:
        return {kYearChartMoonriseColor, 255, 1.0, false};
    case YearChartPen::kMoonset:
        return {kYearChartMoonsetColor, 255, 1.0, false};
    case YearChartPen::kMarkedDay:
        return {{0, 0, 0}, 255, 1.0, true};
    case YearChartPen::kMoonriseKey:
        return {kYearChartMoonriseColor, 255, 2.0, false};
    case YearChartPen::kMoonsetKey:
        return {kYearChartMoonsetColor, 255, 2.0, false};
    }
    return {{0, 0, 0}, 255, 1.0, false};
}

namespace {

// Rows of a series over the days as a staircase: day d's row from dayX[d]
// to dayX[d + 1], a vertical step where the row changes.
template <typename RowOf>
void AppendStairs(std::vector<ChartPoint>& poly, const std::vector<int>& x, int n, int shift,
                  RowOf rowOf) {
    int last = rowOf(0) + shift;
    poly.push_back({x[0], last});
    for (int d = 1; d < n; ++d) {
        const int y = rowOf(d) + shift;
        if (y != last) {
            poly.push_back({x[d], last});
            poly.push_back({x[d], y});
        }
        last = y;
    }
    poly.push_back({x[n], last});
}

// The shifts by whole days that bring some of rows [lo, hi] into the plot.
std::vector<int> Shifts(const YearChartLayout& L, int lo, int hi) {
    const int h = L.bottom - L.top;
    std::vector<int> shifts;
    for (int k = -2; k <= 2; ++k)
        if (hi + k * h >= L.top && lo + k * h < L.bottom)
            shifts.push_back(k * h);
    return shifts;
}

template <typename RowOf> std::pair<int, int> Range(int n, RowOf rowOf) {
    int lo = rowOf(0), hi = lo;
    for (int d = 1; d < n; ++d) {
        lo = std::min(lo, rowOf(d));
        hi = std::max(hi, rowOf(d));
    }
    return {lo, hi};
}

// The part of segment a-b inside the closed rectangle [x0, x1] x [y0, y1]
// (Liang-Barsky); false when none of it is.
bool ClipSegment(ChartPointF& a, ChartPointF& b, double x0, double y0, double x1, double y1) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0.0, t1 = 1.0;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const ChartPointF start = a;
    a = {start.x + dx * t0, start.y + dy * t0};
    b = {start.x + dx * t1, start.y + dy * t1};
    return true;
}

// A line through the plot, cut where it leaves the plot's pixels: the runs
// of it inside, each one polyline.
void AppendPolylineInPlot(YearChartDrawing& drawing, const YearChartLayout& L, YearChartPen pen,
                          const std::vector<ChartPoint>& line) {
    const double x0 = L.left, y0 = L.top, x1 = L.right - 1, y1 = L.bottom - 1;
    std::vector<ChartPointF> run;
    const auto flush = [&] {
        if (run.size() >= 2)
            drawing.lines.push_back({pen, std::move(run)});
        run.clear();
    };
    for (std::size_t i = 1; i < line.size(); ++i) {
        ChartPointF a{static_cast<double>(line[i - 1].x), static_cast<double>(line[i - 1].y)};
        ChartPointF b{static_cast<double>(line[i].x), static_cast<double>(line[i].y)};
        if (!ClipSegment(a, b, x0, y0, x1, y1)) {
            flush();
            continue;
        }
        if (run.empty() || !(run.back() == a)) {
            flush();
            run.push_back(a);
        }
        run.push_back(b);
    }
    flush();
}

void AppendBands(YearChartDrawing& drawing, const YearChartLayout& L, int n) {
    for (int hour = 0; hour < 12; ++hour) {
        const auto top = [&](int d) { return L.boundaryY[d][2 * hour]; };
        const auto bottom = [&](int d) { return L.boundaryY[d][2 * hour + 2]; };
        for (int shift : Shifts(L, Range(n, top).first, Range(n, bottom).second)) {
            YearChartBand band{YearChartHourBrush(hour), {}};
            AppendStairs(band.points, L.dayX, n, shift, top);
            std::vector<ChartPoint> lower;
            AppendStairs(lower, L.dayX, n, shift, bottom);
            band.points.insert(band.points.end(), lower.rbegin(), lower.rend());
            // A band is a run of day columns between its two staircases, so
            // holding both within the plot's rows cuts it exactly to the plot.
            for (ChartPoint& point : band.points)
                point.y = std::clamp(point.y, L.top, L.bottom);
            drawing.bands.push_back(std::move(band));
        }
    }
}

void AppendBoundaries(YearChartDrawing& drawing, const YearChartLayout& L, int n) {
    // Boundary 24 is boundary 0 one day on: drawn by the shifts.
    for (int i = 0; i < 24; ++i) {
        const auto row = [&](int d) { return L.boundaryY[d][i]; };
        const auto [lo, hi] = Range(n, row);
        for (int shift : Shifts(L, lo, hi)) {
            std::vector<ChartPoint> line;
            AppendStairs(line, L.dayX, n, shift, row);
            AppendPolylineInPlot(drawing, L, i % 2 == 0 ? YearChartPen::kHour : YearChartPen::kHalf,
                                 line);
        }
    }
}

// A smooth line through the middle of each day's column.
void AppendMarkLine(YearChartDrawing& drawing, const YearChartLayout& L, int n,
                    const std::vector<int>& ys, YearChartPen pen) {
    const auto row = [&](int d) { return ys[d]; };
    const auto [lo, hi] = Range(n, row);
    for (int shift : Shifts(L, lo, hi)) {
        std::vector<ChartPoint> line;
        line.reserve(static_cast<std::size_t>(n));
        for (int d = 0; d < n; ++d)
            line.push_back({(L.dayX[d] + L.dayX[d + 1]) / 2, ys[d] + shift});
        AppendPolylineInPlot(drawing, L, pen, line);
    }
}

// A thin curve through the middle of each day's column at its row: a day
// without one ends a run, and so does a step of more than half a day (the
// event going round the clock past midnight), so that no line crosses the
// plot. A day alone between two such breaks is a dot.
void AppendMoonCurve(YearChartDrawing& drawing, const YearChartLayout& L, int n,
                     const std::vector<std::optional<int>>& ys, YearChartPen pen) {
    const int halfDay = (L.bottom - L.top) / 2;
    std::vector<ChartPoint> run;
    const auto flush = [&] {
        if (run.size() == 1)
            drawing.lines.push_back(
                {pen, {{static_cast<double>(run.front().x), static_cast<double>(run.front().y)}}});
        else if (run.size() > 1)
            AppendPolylineInPlot(drawing, L, pen, run);
        run.clear();
    };
    for (int d = 0; d < n && d < static_cast<int>(ys.size()); ++d) {
        if (!ys[d]) {
            flush();
            continue;
        }
        const ChartPoint point{(L.dayX[d] + L.dayX[d + 1]) / 2, *ys[d]};
        if (!run.empty() && std::abs(point.y - run.back().y) > halfDay)
            flush();
        run.push_back(point);
    }
    flush();
}

// The frame, the ticks of the terms, months and hours, the marked day and
// the keys' strokes.
void AppendFrameAndTicks(YearChartDrawing& drawing, const YearChartLayout& L) {
    const auto line = [&drawing](YearChartPen pen, int x1, int y1, int x2, int y2) {
        drawing.segments.push_back({pen, x1, y1, x2, y2});
    };
    const YearChartPen frame = YearChartPen::kFrame;
    line(frame, L.left - 1, L.top - 1, L.right, L.top - 1);
    line(frame, L.left - 1, L.bottom, L.right, L.bottom);
    line(frame, L.left - 1, L.top - 1, L.left - 1, L.bottom);
    line(frame, L.right, L.top - 1, L.right, L.bottom);
    for (int x : L.termX)
        line(frame, x, L.top - 1 - L.tick, x, L.top - 1);
    for (int x : L.monthX)
        line(frame, x, L.bottom, x, L.bottom + L.tick);
    for (int hour = 0; hour <= 24; hour += 1) {
        const int y = YearChartY(L, hour * 60);
        const int len = hour % 6 == 0 ? L.tick : L.tick / 2;
        line(frame, L.right, y, L.right + len, y);
    }
    if (L.markedX >= 0)
        line(YearChartPen::kMarkedDay, L.markedX, L.top, L.markedX, L.bottom - 1);
    for (const YearChartLayout::Key& key : L.keys)
        line(key.color == kYearChartMoonriseColor ? YearChartPen::kMoonriseKey
                                                  : YearChartPen::kMoonsetKey,
             key.x0, key.y, key.x1 - 1, key.y);
}

} // namespace

YearChartDrawing DrawYearChart(const YearChartLayout& L, int n) {
    YearChartDrawing drawing;
    if (n > 0 && static_cast<int>(L.dayX.size()) == n + 1 &&
        static_cast<int>(L.boundaryY.size()) == n) {
        AppendBands(drawing, L, n);
        AppendBoundaries(drawing, L, n);
        AppendMarkLine(drawing, L, n, L.transitY, YearChartPen::kTransit);
        AppendMarkLine(drawing, L, n, L.sunriseY, YearChartPen::kSunEvent);
        AppendMarkLine(drawing, L, n, L.sunsetY, YearChartPen::kSunEvent);
        AppendMoonCurve(drawing, L, n, L.moonriseY, YearChartPen::kMoonrise);
        AppendMoonCurve(drawing, L, n, L.moonsetY, YearChartPen::kMoonset);
    }
    AppendFrameAndTicks(drawing, L);
    return drawing;
}

} // namespace tolmeri
