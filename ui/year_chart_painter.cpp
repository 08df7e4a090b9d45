#include "ui/year_chart_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "core/calendar.h"
#include "core/moon.h"
#include "core/sun_events.h"
#include "ui/chart_painter.h"

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

// Qt's raster fills return with the upper halves of the vector registers in
// use, and on Intel processors every SSE instruction of the calculator then
// pays for them: a year's input after the chart's paint took 1.8 ms of
// processor time instead of 0.25 ms. vzeroupper frees them.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void ZeroUpperWithAvx() {
    _mm256_zeroupper();
}
#endif

void ClearUpperVectorHalves() {
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("avx"))
        ZeroUpperWithAvx();
#endif
}

} // namespace

const QColor kYearChartMoonriseColor(230, 0, 80);
const QColor kYearChartMoonsetColor(0, 150, 0);

YearChartInput MakeYearChartInput(const Place& place, const CivilDate& first, int dayCount,
                                  const PeriodOptions& options, bool moon) {
    ClearUpperVectorHalves();
    YearChartInput in;
    in.days = CalcPeriodDays(place, first, dayCount, options);
    in.title = YearChartTitle(QString::fromStdString(place.name), first, dayCount);
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

QString YearChartTitle(const QString& placeName, const CivilDate& first, int dayCount) {
    QString when;
    if (first.month == 1 && first.day == 1 && dayCount == DaysInYear(first.year)) {
        when = QString::fromStdString(FormatYearWithEras(first.year));
    } else {
        const CivilDate last = CivilFromDays(DaysFromCivil(first) + std::max(dayCount, 1) - 1);
        when = QString::fromStdString(FormatDate(first)) + QStringLiteral("～") +
               QString::fromStdString(FormatDate(last));
        const std::string eras = FormatEraYearsOfDays(JdnFromCivil(first), JdnFromCivil(last) + 1);
        if (!eras.empty())
            when += QStringLiteral("（") + QString::fromStdString(eras) + QStringLiteral("）");
    }
    return placeName.isEmpty() ? when : placeName + QStringLiteral("　") + when;
}

QString YearChartSubtitle(const std::vector<DayHours>& days, const PeriodOptions& options) {
    const std::string label =
        days.empty() ? std::string(DawnDefinitionLabel(options.dawn))
                     : DawnDefinitionLabelOver(options.dawn, JdnFromCivil(days.front().date),
                                               JdnFromCivil(days.back().date) + 1);
    QString text = QStringLiteral("明六つ・暮六つ：") + QString::fromStdString(label);
    if (options.steps == ClockSteps::kSekki)
        text += QStringLiteral("　時計：") + QString::fromUtf8(ClockStepsLabel(options.steps));
    if (options.sun != SunModel::kWindow)
        text += QStringLiteral("　太陽：") + QString::fromUtf8(SunModelLabel(options.sun));
    return text;
}

int YearChartHourBrush(int hour) {
    // The window nests its bands from the midnights inwards, so the hour k
    // shows the fill of the k-th band from either end.
    return std::clamp(std::min(hour, 11 - hour), 0, 5);
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

QString YearChartReadout(const YearChartInput& in, const YearChartLayout& L, const QPoint& point) {
    const int n = static_cast<int>(in.days.size());
    if (n == 0 || L.dayX.size() != in.days.size() + 1 || point.y() < L.top ||
        point.y() >= L.bottom || point.x() < L.dayX.front() || point.x() >= L.dayX.back())
        return {};
    const auto column = std::upper_bound(L.dayX.begin(), L.dayX.end(), point.x());
    const int d = static_cast<int>(column - L.dayX.begin()) - 1;
    if (d < 0 || d >= n)
        return {};
    const DayHours& day = in.days[static_cast<std::size_t>(d)];
    const int minute = static_cast<int>(static_cast<std::int64_t>(point.y() - L.top) * 1440 /
                                        std::max(L.bottom - L.top, 1));
    // The band drawn there: the day's table, or the same a day on or back.
    QString hour;
    for (const int shifted : {minute, minute + 1440, minute - 1440})
        for (int i = 0; i + 1 < kBoundaryCount && hour.isEmpty(); ++i)
            if (day.boundary[i] <= shifted && shifted < day.boundary[i + 1])
                hour = QString::fromUtf8(kBoundaryLabels[i]);
    QString text = QString::fromStdString(FormatDate(day.date));
    const std::string era = FormatEraDates(EraDatesFromJdn(JdnFromCivil(day.date)));
    if (!era.empty())
        text += QStringLiteral("（") + QString::fromStdString(era) + QStringLiteral("）");
    text += QStringLiteral("　") + QString::fromStdString(FormatClock(minute));
    if (!hour.isEmpty())
        text += QStringLiteral("　") + hour;
    return text;
}

int YearChartFontPixels(const QRect& area) {
    return std::clamp(std::min(area.height() / 57, area.width() / 85), 9, 48);
}

namespace {

QString HourLabel(int hour) {
    return QString::fromUtf8(kBoundaryLabels[2 * hour]);
}

void PlaceTitle(const YearChartInput& in, const QRect& area, const YearChartMetrics& m, int pad,
                YearChartLayout& L) {
    const int x = area.x() + pad;
    L.texts.push_back({x, area.y() + pad, in.title, YearChartTextKind::kTitle});
    L.texts.push_back(
        {x, area.y() + pad + m.titleHeight, in.subtitle, YearChartTextKind::kSubtitle});
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
        const QString text = HourLabel(label.hour);
        L.texts.push_back(
            {L.left - lh / 2 - m.textWidth(text), label.y, text, YearChartTextKind::kHour});
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
                           QStringLiteral("%1時").arg(hour), YearChartTextKind::kClock});
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
            QString text = QStringLiteral("%1月").arg(date.month);
            if (date.month == 1 && start > 0)
                text = QStringLiteral("%1年").arg(date.year) + text;
            const int w = m.textWidth(text);
            if (L.dayX[d] - L.dayX[start] >= w)
                L.texts.push_back({(L.dayX[start] + L.dayX[d] - w) / 2, L.bottom + L.tick, text,
                                   YearChartTextKind::kMonth});
        }
        start = d;
    }
}

struct TermTick {
    int x;
    QString name;
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
            ticks.push_back({L.dayX[d], QString::fromUtf8(kSolarTermNames[s.term])});
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
        L.texts.push_back({ticks[i].x - m.textWidth(ticks[i].name) / 2, y, ticks[i].name,
                           YearChartTextKind::kTerm});
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
        QString text;
    } marks[] = {{L.sunriseY, QStringLiteral("日出")},
                 {L.sunsetY, QStringLiteral("日没")},
                 {L.transitY, QStringLiteral("南中")}};
    const int h = L.bottom - L.top;
    for (const auto& mark : marks) {
        const int y = L.top + static_cast<int>(((mark.ys.back() - L.top) % h + h) % h);
        L.texts.push_back({L.right - m.textWidth(mark.text) - lh / 4, std::max(y - lh - 1, L.top),
                           mark.text, YearChartTextKind::kMark});
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
        QString text;
        QColor color;
    } keys[] = {{QStringLiteral("月の出"), kYearChartMoonriseColor},
                {QStringLiteral("月の入"), kYearChartMoonsetColor}};
    const int stroke = lh * 3 / 2, gap = lh / 3;
    int x = L.right;
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        x -= m.textWidth(key->text);
        L.texts.push_back({x, y, key->text, YearChartTextKind::kKey});
        x -= gap;
        L.keys.insert(L.keys.begin(), {x - stroke, x, y + lh / 2, key->color});
        x -= stroke + lh;
    }
}

} // namespace

YearChartLayout LayoutYearChart(const YearChartInput& in, const QRect& area,
                                const YearChartMetrics& m) {
    YearChartLayout L;
    const int lh = std::max(m.lineHeight, 1);
    const int pad = std::max(lh * 2 / 3, 4);
    L.tick = std::max(lh / 3, 3);
    PlaceTitle(in, area, m, pad, L);

    int labelWidth = 0;
    for (int hour = 0; hour < 12; ++hour)
        labelWidth = std::max(labelWidth, m.textWidth(HourLabel(hour)));
    const int clockWidth = m.textWidth(QStringLiteral("24時"));

    // Term names over the plot: rows for them below the title lines.
    const int rowsTop = area.y() + pad + m.titleHeight + lh + lh / 2;
    L.left = area.x() + pad + labelWidth + lh / 2;
    L.right = std::max(area.x() + area.width() - pad - clockWidth - L.tick - lh / 4, L.left + 1);
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
    L.bottom = std::max(area.y() + area.height() - pad - lh - L.tick, L.top + 1);
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
    PlaceMoonKeys(m, area.y() + pad, L);
    return L;
}

namespace {

// Rows of a series over the days as a staircase: day d's row from dayX[d]
// to dayX[d + 1], a vertical step where the row changes.
template <typename RowOf>
void AppendStairs(QPolygon& poly, const std::vector<int>& x, int n, int shift, RowOf rowOf) {
    int last = rowOf(0) + shift;
    poly << QPoint(x[0], last);
    for (int d = 1; d < n; ++d) {
        const int y = rowOf(d) + shift;
        if (y != last)
            poly << QPoint(x[d], last) << QPoint(x[d], y);
        last = y;
    }
    poly << QPoint(x[n], last);
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
bool ClipSegment(QPointF& a, QPointF& b, double x0, double y0, double x1, double y1) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0.0, t1 = 1.0;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - x0, x1 - a.x(), a.y() - y0, y1 - a.y()};
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
    const QPointF start = a;
    a = start + QPointF(dx, dy) * t0;
    b = start + QPointF(dx, dy) * t1;
    return true;
}

// A line through the plot, cut where it leaves the plot's pixels: the runs
// of it inside, each one polyline.
void DrawPolylineInPlot(QPainter& p, const YearChartLayout& L, const QPolygon& line) {
    const double x0 = L.left, y0 = L.top, x1 = L.right - 1, y1 = L.bottom - 1;
    QPolygonF run;
    const auto flush = [&] {
        if (run.size() >= 2)
            p.drawPolyline(run);
        run.clear();
    };
    for (qsizetype i = 1; i < line.size(); ++i) {
        QPointF a = line[i - 1], b = line[i];
        if (!ClipSegment(a, b, x0, y0, x1, y1)) {
            flush();
            continue;
        }
        if (run.isEmpty() || run.back() != a) {
            flush();
            run << a;
        }
        run << b;
    }
    flush();
}

void DrawBands(QPainter& p, const YearChartLayout& L, int n) {
    p.setPen(Qt::NoPen);
    for (int hour = 0; hour < 12; ++hour) {
        const auto top = [&](int d) { return L.boundaryY[d][2 * hour]; };
        const auto bottom = [&](int d) { return L.boundaryY[d][2 * hour + 2]; };
        p.setBrush(kChartBrushes[YearChartHourBrush(hour)]);
        for (int shift : Shifts(L, Range(n, top).first, Range(n, bottom).second)) {
            QPolygon poly;
            AppendStairs(poly, L.dayX, n, shift, top);
            QPolygon lower;
            AppendStairs(lower, L.dayX, n, shift, bottom);
            std::reverse(lower.begin(), lower.end());
            poly << lower;
            // A band is a run of day columns between its two staircases, so
            // holding both within the plot's rows cuts it exactly to the plot.
            for (QPoint& point : poly)
                point.setY(std::clamp(point.y(), L.top, L.bottom));
            p.drawPolygon(poly);
        }
    }
}

void DrawBoundaries(QPainter& p, const YearChartLayout& L, int n) {
    const QPen hourPen(Qt::black, 1.0);
    const QPen halfPen(QColor(0, 0, 0, 96), 0.5);
    p.setBrush(Qt::NoBrush);
    // Boundary 24 is boundary 0 one day on: drawn by the shifts.
    for (int i = 0; i < 24; ++i) {
        p.setPen(i % 2 == 0 ? hourPen : halfPen);
        const auto row = [&](int d) { return L.boundaryY[d][i]; };
        const auto [lo, hi] = Range(n, row);
        for (int shift : Shifts(L, lo, hi)) {
            QPolygon line;
            AppendStairs(line, L.dayX, n, shift, row);
            DrawPolylineInPlot(p, L, line);
        }
    }
}

// A smooth line through the middle of each day's column.
void DrawMarkLine(QPainter& p, const YearChartLayout& L, int n, const std::vector<int>& ys,
                  const QPen& pen) {
    p.setPen(pen);
    const auto row = [&](int d) { return ys[d]; };
    const auto [lo, hi] = Range(n, row);
    for (int shift : Shifts(L, lo, hi)) {
        QPolygon line;
        line.reserve(n);
        for (int d = 0; d < n; ++d)
            line << QPoint((L.dayX[d] + L.dayX[d + 1]) / 2, ys[d] + shift);
        DrawPolylineInPlot(p, L, line);
    }
}

// A thin curve through the middle of each day's column at its row: a day
// without one ends a run, and so does a step of more than half a day (the
// event going round the clock past midnight), so that no line crosses the
// plot. A day alone between two such breaks is a dot.
void DrawMoonCurve(QPainter& p, const YearChartLayout& L, int n,
                   const std::vector<std::optional<int>>& ys, const QColor& color) {
    p.setPen(QPen(color, 1.0));
    p.setBrush(Qt::NoBrush);
    const int halfDay = (L.bottom - L.top) / 2;
    QPolygon run;
    const auto flush = [&] {
        if (run.size() == 1)
            p.drawPoint(run.front());
        else if (run.size() > 1)
            DrawPolylineInPlot(p, L, run);
        run.clear();
    };
    for (int d = 0; d < n && d < static_cast<int>(ys.size()); ++d) {
        if (!ys[d]) {
            flush();
            continue;
        }
        const QPoint point((L.dayX[d] + L.dayX[d + 1]) / 2, *ys[d]);
        if (!run.isEmpty() && std::abs(point.y() - run.back().y()) > halfDay)
            flush();
        run << point;
    }
    flush();
}

} // namespace

namespace {

// The frame, the ticks of the terms, months and hours, and the marked day.
void DrawFrameAndTicks(QPainter& p, const YearChartLayout& L) {
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLine(L.left - 1, L.top - 1, L.right, L.top - 1);
    p.drawLine(L.left - 1, L.bottom, L.right, L.bottom);
    p.drawLine(L.left - 1, L.top - 1, L.left - 1, L.bottom);
    p.drawLine(L.right, L.top - 1, L.right, L.bottom);
    for (int x : L.termX)
        p.drawLine(x, L.top - 1 - L.tick, x, L.top - 1);
    for (int x : L.monthX)
        p.drawLine(x, L.bottom, x, L.bottom + L.tick);
    for (int hour = 0; hour <= 24; hour += 1) {
        const int y = YearChartY(L, hour * 60);
        const int len = hour % 6 == 0 ? L.tick : L.tick / 2;
        p.drawLine(L.right, y, L.right + len, y);
    }
    if (L.markedX >= 0) {
        p.setPen(QPen(Qt::black, 1.0, Qt::DashLine));
        p.drawLine(L.markedX, L.top, L.markedX, L.bottom - 1);
    }
    for (const YearChartLayout::Key& key : L.keys) {
        p.setPen(QPen(key.color, 2.0));
        p.drawLine(key.x0, key.y, key.x1 - 1, key.y);
    }
}

// The chart's two fonts in a face's family, sized for an area.
struct YearChartFonts {
    QFont chart, title;
};

// Where a kind of text is held: the hours' names flush with the plot and
// the marks' with its right end, the months and terms centred.
YearChartAnchor AnchorOf(YearChartTextKind kind) {
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

void DrawTexts(QPainter& p, const YearChartLayout& L, const YearChartFonts& fonts,
               const YearChartTextSink& sink) {
    const QFontMetrics fm(fonts.chart, p.device());
    const QFontMetrics titleFm(fonts.title, p.device());
    for (const YearChartText& t : L.texts) {
        const bool title = t.kind == YearChartTextKind::kTitle;
        const QFontMetrics& metrics = title ? titleFm : fm;
        YearChartTextRun run;
        run.origin = QPoint(t.x, t.y + metrics.ascent());
        run.anchor = AnchorOf(t.kind);
        const int width = metrics.horizontalAdvance(t.text);
        run.anchorX = t.x + (run.anchor == YearChartAnchor::kEnd      ? width
                             : run.anchor == YearChartAnchor::kMiddle ? width / 2
                                                                      : 0);
        run.text = t.text;
        run.font = title ? fonts.title : fonts.chart;
        if (t.kind == YearChartTextKind::kMark) {
            p.fillRect(t.x, t.y, width, fm.height(), kChartTextBackground);
            run.color = kChartMarkColor;
        } else {
            run.color =
                t.kind == YearChartTextKind::kClock ? QColor(64, 64, 64) : QColor(Qt::black);
        }
        if (sink) {
            sink(run);
            continue;
        }
        p.setFont(run.font);
        p.setPen(run.color);
        p.drawText(run.origin, run.text);
    }
}

} // namespace

YearChartLayout PaintYearChart(QPainter& painter, const QRect& area, const YearChartInput& input,
                               const QFont& font, const YearChartTextSink& texts) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);

    YearChartFonts fonts{font, font};
    fonts.chart.setPixelSize(YearChartFontPixels(area));
    fonts.title.setPixelSize(YearChartFontPixels(area) * 7 / 5);
    const QFontMetrics fm(fonts.chart, painter.device());
    YearChartMetrics metrics;
    metrics.lineHeight = fm.height();
    metrics.titleHeight = QFontMetrics(fonts.title, painter.device()).height();
    metrics.textWidth = [&fm](const QString& text) { return fm.horizontalAdvance(text); };
    const YearChartLayout L = LayoutYearChart(input, area, metrics);

    painter.fillRect(area, Qt::white);
    const int n = static_cast<int>(input.days.size());
    if (n > 0) {
        // The shapes are cut to the plot already; the clip holds the wide
        // pens' edges too where a painter keeps one.
        painter.setClipRect(QRect(L.left, L.top, L.right - L.left, L.bottom - L.top));
        DrawBands(painter, L, n);
        DrawBoundaries(painter, L, n);
        DrawMarkLine(painter, L, n, L.transitY, QPen(kChartMarkColor, 1.0));
        DrawMarkLine(painter, L, n, L.sunriseY, QPen(kChartMarkColor, 2.0));
        DrawMarkLine(painter, L, n, L.sunsetY, QPen(kChartMarkColor, 2.0));
        DrawMoonCurve(painter, L, n, L.moonriseY, kYearChartMoonriseColor);
        DrawMoonCurve(painter, L, n, L.moonsetY, kYearChartMoonsetColor);
        painter.setClipping(false);
    }
    DrawFrameAndTicks(painter, L);
    DrawTexts(painter, L, fonts, texts);
    painter.restore();
    return L;
}

} // namespace tolmeri
