// The year chart: its layout as arithmetic on a known day, and the pixels a
// paint leaves on an image and in an SVG file, across midnight included.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <map>
#include <optional>
#include <random>

#include "ui/chart_painter.h"
#include "ui/xml_text.h"
#include "ui/year_chart_painter.h"

using namespace tolmeri;

namespace {

const Place kTokyo{"東京", 35, 39, 139, 45, 9};
// The transit two hours late on the clock: boundary 0 near 02:00.
const Place kLate{"", 30, 0, 120, 0, 10};
constexpr int kSolstice = 171; // 2026-06-21, day 171 of 2026

// Every character as wide as a line is high: enough for the layout.
YearChartMetrics FakeMetrics() {
    YearChartMetrics m;
    m.lineHeight = 14;
    m.titleHeight = 20;
    m.textWidth = [](const QString& text) { return 14 * static_cast<int>(text.size()); };
    return m;
}

// A layout whose plot is 1440 rows high (a row a minute) and 730 columns
// wide (two a day): the area grown by what the margins take.
YearChartLayout MinuteLayout(const YearChartInput& in) {
    const YearChartMetrics m = FakeMetrics();
    const YearChartLayout probe = LayoutYearChart(in, QRect(0, 0, 1000, 1000), m);
    const QRect area(0, 0, 1000 + 730 - (probe.right - probe.left),
                     1000 + 1440 - (probe.bottom - probe.top));
    return LayoutYearChart(in, area, m);
}

const YearChartText* FindText(const YearChartLayout& L, const QString& text) {
    for (const YearChartText& t : L.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

QFont TestFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("sans-serif")});
    return font;
}

} // namespace

// Tokyo, 2026-06-21: boundary 0 at -17 (23:43 the evening before), 2 at 64,
// 6 (dawn) at 227, 8 at 386, 12 (transit) at 703, 22 at 1342, 24 at 1423;
// sunrise 265, sunset 1140.
TEST(YearChartLayout, AKnownDayLandsOnItsRowsAndColumns) {
    const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    ASSERT_EQ(in.days.size(), 365u);
    ASSERT_EQ(in.days[kSolstice].date, (CivilDate{2026, 6, 21}));
    const YearChartLayout L = MinuteLayout(in);
    ASSERT_EQ(L.bottom - L.top, 1440);
    ASSERT_EQ(L.right - L.left, 730);

    EXPECT_EQ(L.dayX[kSolstice], L.left + 342);
    EXPECT_EQ(L.dayX[kSolstice + 1], L.left + 344);
    // The rows follow the unrounded minutes, each within a minute of the
    // table's: boundary 22, shown as 22:22, is a little under 1341.5.
    const auto& y = L.boundaryY[kSolstice];
    const DayHours& solstice = in.days[kSolstice];
    const std::pair<int, int> rows[] = {{0, -17},  {2, 64},    {6, 227},  {8, 386},
                                        {12, 703}, {22, 1341}, {24, 1423}};
    for (const auto& [i, minute] : rows) {
        EXPECT_EQ(y[i], L.top + minute) << i;
        EXPECT_NEAR(solstice.exactBoundary[i], solstice.boundary[i], 1.0) << i;
    }
    EXPECT_EQ(L.sunriseY[kSolstice], L.top + 265);
    EXPECT_EQ(L.sunsetY[kSolstice], L.top + 1140);
    EXPECT_EQ(L.transitY[kSolstice], L.top + 703);

    // Band edges on the plot: 暁九つ crosses midnight and comes in two runs.
    const auto spans = [&](int hour) {
        std::vector<std::pair<int, int>> v;
        for (const YearChartSpan& s : YearChartBandSpans(L, kSolstice, hour))
            v.push_back({s.top - L.top, s.bottom - L.top});
        return v;
    };
    EXPECT_EQ(spans(0), (std::vector<std::pair<int, int>>{{1423, 1440}, {0, 64}}));
    EXPECT_EQ(spans(3), (std::vector<std::pair<int, int>>{{227, 386}}));
    EXPECT_EQ(spans(11), (std::vector<std::pair<int, int>>{{1341, 1423}}));
}

// Drawn from the unrounded minutes, every line of a year turns only where
// the Sun's curve does (the transit with the equation of time four times,
// dawn, dusk and the hours between twice): a minute's rounding never steps
// a line back and forth.
TEST(YearChartLayout, LinesTurnOnlyWhereTheSunDoes) {
    const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    for (const QRect& area : {QRect(0, 0, 1200, 800), QRect(0, 0, 779, 454)}) {
        const QFont font = TestFont();
        QImage image(area.size(), QImage::Format_RGB32);
        QPainter p(&image);
        const YearChartLayout L = PaintYearChart(p, area, in, font);
        const auto turns = [&L](auto rowOf) {
            int turns = 0, direction = 0;
            for (std::size_t d = 1; d < L.boundaryY.size(); ++d) {
                const int step = rowOf(d) - rowOf(d - 1);
                if (step == 0)
                    continue;
                const int now = step > 0 ? 1 : -1;
                turns += direction != 0 && now != direction;
                direction = now;
            }
            return turns;
        };
        for (int i = 0; i < kBoundaryCount; ++i)
            EXPECT_LE(turns([&](std::size_t d) { return L.boundaryY[d][i]; }), 4)
                << i << " in " << area.width();
        EXPECT_LE(turns([&](std::size_t d) { return L.sunriseY[d]; }), 2);
        EXPECT_LE(turns([&](std::size_t d) { return L.sunsetY[d]; }), 2);
        EXPECT_LE(turns([&](std::size_t d) { return L.transitY[d]; }), 4);
    }
}

TEST(YearChartLayout, TicksAndNamesOfMonthsTermsAndHours) {
    YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    in.markedDay = kSolstice;
    const YearChartLayout L = MinuteLayout(in);
    // The first of February to December; July 1 is day 181.
    ASSERT_EQ(L.monthX.size(), 11u);
    EXPECT_EQ(L.monthX[5], L.left + 362);
    // All 24 terms, 夏至 on its day, its name centred over the tick.
    ASSERT_EQ(L.termX.size(), 24u);
    const YearChartText* geshi = FindText(L, QStringLiteral("夏至"));
    ASSERT_NE(geshi, nullptr);
    EXPECT_EQ(geshi->x, L.dayX[kSolstice] - 14);
    EXPECT_LT(geshi->y, L.top - L.tick - 13);
    EXPECT_EQ(L.markedX, L.left + 343);
    // Each hour's name once, left of the plot, in the order of the bands
    // on January 1 and never on top of each other.
    std::vector<const YearChartText*> hours;
    for (const YearChartText& t : L.texts)
        if (t.kind == YearChartTextKind::kHour)
            hours.push_back(&t);
    ASSERT_EQ(hours.size(), 12u);
    for (std::size_t i = 0; i < hours.size(); ++i) {
        EXPECT_EQ(hours[i]->x + 14 * hours[i]->text.size(), L.left - 7);
        if (i > 0) {
            EXPECT_GE(hours[i]->y, hours[i - 1]->y + 14);
        }
    }
    EXPECT_EQ(hours.front()->text, QStringLiteral("暁九つ (子)"));
    EXPECT_EQ(hours.back()->text, QStringLiteral("夜四つ (亥)"));
    EXPECT_EQ(FindText(L, QStringLiteral("東京　2026年（令和8年）"))->kind,
              YearChartTextKind::kTitle);
    const YearChartText* subtitle =
        FindText(L, QStringLiteral("明六つ・暮六つ：太陽俯角7度21分40秒（太陽暦の定め）"));
    ASSERT_NE(subtitle, nullptr);
    EXPECT_EQ(subtitle->kind, YearChartTextKind::kSubtitle);
}

TEST(YearChartLayout, NarrowChartsSetTheTermNamesInTwoRowsThatDoNotCollide) {
    const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    const YearChartLayout L = LayoutYearChart(in, QRect(0, 0, 520, 400), FakeMetrics());
    std::map<int, std::vector<const YearChartText*>> rows;
    for (const YearChartText& t : L.texts)
        if (t.kind == YearChartTextKind::kTerm)
            rows[t.y].push_back(&t);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& [y, names] : rows) {
        EXPECT_LT(y + 14, L.top);
        for (std::size_t i = 1; i < names.size(); ++i)
            EXPECT_LE(names[i - 1]->x + 28, names[i]->x);
    }
}

TEST(YearChartLayout, OneDayLaterIsExactlyOnePlotHeightLower) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> minute(-3000, 4000), height(1, 2000);
    for (int n = 0; n < 5000; ++n) {
        YearChartLayout L;
        L.top = 37;
        L.bottom = L.top + height(rng);
        const int m = minute(rng);
        ASSERT_EQ(YearChartY(L, m + 1440), YearChartY(L, m) + (L.bottom - L.top));
        ASSERT_LE(YearChartY(L, m), YearChartY(L, m + 1));
    }
}

TEST(YearChartTitles, YearRangeDefinitionAndSteps) {
    // The era years of the days shown: January of 1798 was still 寛政9年.
    EXPECT_EQ(YearChartTitle(QStringLiteral("京都"), {1798, 1, 1}, 365),
              QStringLiteral("京都　1798年（寛政9～10年）"));
    EXPECT_EQ(YearChartTitle(QStringLiteral("京都"), {2026, 3, 1}, 10),
              QStringLiteral("京都　2026-03-01～2026-03-10（令和8年）"));
    EXPECT_EQ(YearChartTitle(QStringLiteral("江戸"), {1700, 3, 1}, 10),
              QStringLiteral("江戸　1700-03-01～1700-03-10（元禄13年）"));
    const Place kyoto{"京都", 35, 1, 135, 45, 9};
    const PeriodOptions aut{DawnDefinition::kAuto, ClockSteps::kSekki};
    EXPECT_EQ(
        MakeYearChartInput(kyoto, 1798, aut).subtitle,
        QStringLiteral("明六つ・暮六つ：日出前・日入後2刻半＝36分（宝暦暦の定め）、1798-02-16 "
                       "から太陽俯角7度21分40秒（寛政暦の定め）　時計：二十四節気ごと"));
    EXPECT_EQ(MakeYearChartInput(kyoto, 1750, aut).subtitle,
              QStringLiteral("明六つ・暮六つ：日出前・日入後2刻半＝36分（貞享暦の定め）"
                             "　時計：二十四節気ごと"));
    // The main window's definition in a year whose calendar kept another:
    // said plainly whose it was.
    EXPECT_EQ(MakeYearChartInput(kyoto, 1600, {}).subtitle,
              QStringLiteral("明六つ・暮六つ：太陽俯角7度21分40秒（寛政暦からの定め。宣明暦の定め"
                             "は日出前・日入後36分）"));
}

class PaintedYearChart : public ::testing::Test {
protected:
    YearChartLayout Paint(const Place& place, int markedDay = -1, bool moon = false) {
        YearChartInput in = MakeYearChartInput(place, 2026, {}, moon);
        in.markedDay = markedDay;
        return Paint(in);
    }
    YearChartLayout Paint(const YearChartInput& in) {
        image = QImage(1200, 800, QImage::Format_RGB32);
        image.fill(Qt::red); // anything the chart leaves unpainted shows
        QPainter p(&image);
        return PaintYearChart(p, image.rect(), in, TestFont());
    }
    QColor At(int x, int y) const { return image.pixelColor(x, y); }
    // Whether x, y lies under the grey cell of a line's name (日出, 日没, 南中),
    // which is drawn over the curves.
    bool UnderAMarksName(const YearChartLayout& L, int x, int y) const {
        for (const YearChartText& t : L.texts)
            if (t.kind == YearChartTextKind::kMark && x >= t.x && y >= t.y &&
                y < t.y + 2 * YearChartFontPixels(image.rect()))
                return At(x, y) == kChartTextBackground;
        return false;
    }
    // The rows of column x in colour.
    int RowsIn(int x, const QColor& colour, int top, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            n += At(x, y) == colour;
        return n;
    }
    // A row inside the span, away from its edges and from the day's lines.
    static std::optional<int> QuietRow(const YearChartLayout& L, int day, const YearChartSpan& s) {
        const int h = L.bottom - L.top;
        const auto away = [h](int line, int y, int distance) {
            for (int k = -1; k <= 1; ++k)
                if (std::abs(line + k * h - y) <= distance)
                    return false;
            return true;
        };
        for (int y = s.top + 2; y < s.bottom - 2; ++y) {
            bool quiet = away(L.sunriseY[day], y, 3) && away(L.sunsetY[day], y, 3) &&
                         away(L.transitY[day], y, 3);
            for (int i = 1; i < 24; i += 2)
                quiet = quiet && away(L.boundaryY[day][i], y, 1);
            if (quiet)
                return y;
        }
        return std::nullopt;
    }

    QImage image;
};

// Every run of every hour's band, on both sides of midnight, has the hour's
// colour: at Tokyo (boundary 0 just before midnight) and where boundary 0
// comes near 02:00 and the evening's hours reach past midnight.
TEST_F(PaintedYearChart, EveryBandRunHasItsColourAcrossMidnight) {
    for (const Place& place : {kTokyo, kLate}) {
        const YearChartLayout L = Paint(place);
        int runs = 0;
        for (int day : {0, 100, kSolstice, 300}) {
            const int x = L.dayX[day] + (L.dayX[day + 1] - L.dayX[day]) / 2;
            for (int hour = 0; hour < 12; ++hour)
                for (const YearChartSpan& s : YearChartBandSpans(L, day, hour)) {
                    const std::optional<int> y = QuietRow(L, day, s);
                    if (!y)
                        continue;
                    ++runs;
                    EXPECT_EQ(At(x, *y), kChartBrushes[YearChartHourBrush(hour)])
                        << place.lonDeg << " day " << day << " hour " << hour << " row " << *y;
                }
        }
        EXPECT_GE(runs, 4 * 12);
    }
}

TEST_F(PaintedYearChart, HourCurvesLinesTicksAndTheMarkedDay) {
    const YearChartLayout L = Paint(kTokyo, 300);
    const int x = L.dayX[kSolstice];
    const auto& y = L.boundaryY[kSolstice];
    for (int i : {2, 4, 8, 10, 14, 16, 20, 22})
        EXPECT_EQ(At(x, y[i]), QColor(Qt::black)) << i;
    // Boundary 24 wrapped onto the clock's 23:43 is drawn as boundary 0 of
    // the next cycle; the darkest blue runs from it to the bottom edge.
    const int h = L.bottom - L.top;
    EXPECT_EQ(At(x, y[0] + h), QColor(Qt::black));
    EXPECT_EQ(At(x, L.bottom - 1), kChartBrushes[0]);
    EXPECT_EQ(At(x, L.top), kChartBrushes[0]);
    // The transit over boundary 12, sunrise and sunset in the mark colour.
    const int cx = (L.dayX[kSolstice] + L.dayX[kSolstice + 1]) / 2;
    EXPECT_EQ(At(cx, L.transitY[kSolstice]), kChartMarkColor);
    const auto nearMark = [&](int row) {
        return At(cx, row) == kChartMarkColor || At(cx, row + 1) == kChartMarkColor;
    };
    EXPECT_TRUE(nearMark(L.sunriseY[kSolstice]));
    EXPECT_TRUE(nearMark(L.sunsetY[kSolstice]));
    // A tick above the plot on each term's first day, white beside it.
    ASSERT_EQ(L.termX.size(), 24u);
    for (int tx : L.termX) {
        EXPECT_EQ(At(tx, L.top - 3), QColor(Qt::black)) << tx;
        EXPECT_EQ(At(tx + 1, L.top - 3), QColor(Qt::white)) << tx;
    }
    // The marked day: a dashed line down the plot.
    int dark = 0, beside = 0;
    for (int row = L.top; row < L.bottom; ++row) {
        dark += At(L.markedX, row) == QColor(Qt::black);
        beside += At(L.markedX + 3, row) == QColor(Qt::black);
    }
    EXPECT_GT(dark, h / 3);
    EXPECT_LT(beside, h / 10);
    // Nothing left unpainted.
    for (int row = 0; row < image.height(); row += 7)
        for (int col = 0; col < image.width(); col += 5)
            ASSERT_NE(At(col, row), QColor(Qt::red)) << col << "," << row;
}

TEST_F(PaintedYearChart, NoDaysStillGivesTheTitleAndAFrame) {
    YearChartInput in;
    in.title = QStringLiteral("空");
    image = QImage(400, 300, QImage::Format_RGB32);
    QPainter p(&image);
    const YearChartLayout L = PaintYearChart(p, image.rect(), in, TestFont());
    EXPECT_TRUE(L.dayX.size() == 1 && L.boundaryY.empty());
    EXPECT_EQ(At(L.left - 1, (L.top + L.bottom) / 2), QColor(Qt::black));
}

// The same painter writes SVG through Qt SVG: the bands arrive as filled
// shapes in the window's colours, and the file read back shows them where
// the picture has them.
// Moonrise and moonset of 江戸 (35°41′, 139°46′) against a reference table,
// on a layout a row a minute: each day's event on the row of its clock time,
// a day without one without a row.
TEST(YearChartMoon, EventsLandOnTheRowsOfTheirClockTimes) {
    const Place edo{"", 35, 41, 139, 46, 9};
    const struct {
        CivilDate first;
        int dayCount, day;
        double rise;
        std::optional<double> set;
    } cases[] = {
        {{2026, 1, 1}, 10, 2, 973.898, 403.493},     // 2026-01-03
        {{2026, 9, 20}, 10, 6, 1027.047, 284.590},   // 2026-09-26
        {{2026, 10, 20}, 10, 5, 961.460, 276.685},   // 2026-10-25
        {{2000, 1, 1}, 3, 0, 97.786, 786.426},       // 2000-01-01
        {{1868, 1, 1}, 5, 2, 694.603, std::nullopt}, // 1868-01-03: no moonset
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(FormatDate(c.first));
        const YearChartInput in = MakeYearChartInput(edo, c.first, c.dayCount, {}, true);
        ASSERT_EQ(in.moonrise.size(), in.days.size());
        const YearChartLayout L = MinuteLayout(in);
        ASSERT_EQ(L.bottom - L.top, 1440);
        ASSERT_EQ(L.moonriseY.size(), in.days.size());
        ASSERT_TRUE(L.moonriseY[c.day]);
        EXPECT_NEAR(*L.moonriseY[c.day] - L.top, c.rise, 1.0);
        ASSERT_EQ(L.moonsetY[c.day].has_value(), c.set.has_value());
        if (c.set) {
            EXPECT_NEAR(*L.moonsetY[c.day] - L.top, *c.set, 1.0);
        }
    }
}

// The keys name the curves on the title's line, flush with the plot's
// right end and clear of the title; without the Moon, neither keys nor rows.
TEST(YearChartMoon, KeysOnlyWithTheMoon) {
    for (const bool moon : {false, true}) {
        SCOPED_TRACE(moon);
        const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {}, moon);
        const YearChartLayout L = LayoutYearChart(in, QRect(0, 0, 1200, 800), FakeMetrics());
        const YearChartText* rise = FindText(L, QStringLiteral("月の出"));
        const YearChartText* set = FindText(L, QStringLiteral("月の入"));
        if (!moon) {
            EXPECT_TRUE(L.moonriseY.empty() && L.moonsetY.empty() && L.keys.empty());
            EXPECT_EQ(rise, nullptr);
            EXPECT_EQ(set, nullptr);
            continue;
        }
        ASSERT_NE(rise, nullptr);
        ASSERT_NE(set, nullptr);
        ASSERT_EQ(L.keys.size(), 2u);
        const YearChartText* title = FindText(L, in.title);
        ASSERT_NE(title, nullptr);
        const int titleEnd = title->x + FakeMetrics().textWidth(in.title);
        EXPECT_EQ(set->x + FakeMetrics().textWidth(set->text), L.right);
        EXPECT_EQ(rise->kind, YearChartTextKind::kKey);
        EXPECT_EQ(L.keys[0].color, kYearChartMoonriseColor);
        EXPECT_EQ(L.keys[1].color, kYearChartMoonsetColor);
        EXPECT_LT(L.keys[0].x1, rise->x);
        EXPECT_LT(rise->x + FakeMetrics().textWidth(rise->text), L.keys[1].x0);
        EXPECT_LT(L.keys[1].x1, set->x);
        EXPECT_GT(L.keys[0].x0, titleEnd);
        for (const YearChartText* t : {rise, set})
            EXPECT_TRUE(t->y >= title->y && t->y + 14 <= title->y + 20) << t->y;
    }
}

// Drawn only when asked: each day's event a pixel of its curve in its
// column, a day without one leaving its column clear, and the colours
// nowhere without the Moon.
TEST_F(PaintedYearChart, MoonCurvesOnlyWhenAskedAndBrokenWhereADayHasNone) {
    YearChartLayout L = Paint(kTokyo);
    for (int x = L.left; x < L.right; ++x)
        for (const QColor& colour : {kYearChartMoonriseColor, kYearChartMoonsetColor})
            ASSERT_EQ(RowsIn(x, colour, L.top, L.bottom), 0) << x;

    L = Paint(kTokyo, -1, true);
    const struct {
        const std::vector<std::optional<int>>& ys;
        QColor colour;
    } curves[] = {{L.moonriseY, kYearChartMoonriseColor}, {L.moonsetY, kYearChartMoonsetColor}};
    for (const auto& curve : curves) {
        int events = 0, gaps = 0;
        for (int d = 0; d < 365; ++d) {
            const int x = (L.dayX[d] + L.dayX[d + 1]) / 2;
            if (!curve.ys[d]) {
                ++gaps;
                EXPECT_EQ(RowsIn(x, curve.colour, L.top, L.bottom), 0) << "day " << d;
                continue;
            }
            ++events;
            // Where the curves cross, the later one (moonset) is on top.
            const QColor at = At(x, *curve.ys[d]);
            EXPECT_TRUE(at == curve.colour || at == kYearChartMoonsetColor ||
                        UnderAMarksName(L, x, *curve.ys[d]))
                << "day " << d;
        }
        // About one day a lunation without the event.
        EXPECT_GE(gaps, 11);
        EXPECT_LE(gaps, 14);
        EXPECT_EQ(events + gaps, 365);
    }
}

// A curve going round the clock is not joined over the plot: 23:50 and
// 00:05 on the next day stay apart, 00:05 and 01:00 are one line.
TEST_F(PaintedYearChart, AMoonCurveIsNotJoinedPastMidnight) {
    YearChartInput in = MakeYearChartInput(kTokyo, {2026, 3, 1}, 4, {}, false);
    in.moonrise = {23 * 60 + 50, 5, 60, std::nullopt};
    in.moonset = {std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    const YearChartLayout L = Paint(in);
    const auto centre = [&L](int d) { return (L.dayX[d] + L.dayX[d + 1]) / 2; };
    int wrapped = 0, joined = 0;
    for (int x = centre(0) + 1; x < centre(1); ++x)
        wrapped += RowsIn(x, kYearChartMoonriseColor, L.top, L.bottom);
    for (int x = centre(1) + 1; x < centre(2); ++x)
        joined += RowsIn(x, kYearChartMoonriseColor, L.top, L.bottom);
    EXPECT_EQ(wrapped, 0);
    EXPECT_GT(joined, centre(2) - centre(1) - 2);
    EXPECT_EQ(At(centre(0), *L.moonriseY[0]), kYearChartMoonriseColor); // a dot alone
    for (int x = centre(2) + 1; x < L.right; ++x)
        EXPECT_EQ(RowsIn(x, kYearChartMoonriseColor, L.top, L.bottom), 0) << x;
}

TEST(YearChartSvg, TheSamePainterWritesAnSvgThatReadsBack) {
    const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(1200, 800));
    svg.setViewBox(QRect(0, 0, 1200, 800));
    svg.setTitle(in.title);
    YearChartLayout L;
    {
        QPainter p(&svg);
        L = PaintYearChart(p, QRect(0, 0, 1200, 800), in, TestFont());
    }
    const QByteArray xml = buffer.data();
    ASSERT_TRUE(xml.contains("<svg"));
    for (const QColor& c : kChartBrushes)
        EXPECT_TRUE(xml.contains(c.name().toLatin1())) << c.name().toStdString();
    EXPECT_TRUE(xml.contains("東京　2026年（令和8年）"));

    QSvgRenderer renderer(xml);
    ASSERT_TRUE(renderer.isValid());
    QImage back(1200, 800, QImage::Format_RGB32);
    back.fill(Qt::red);
    {
        QPainter p(&back);
        renderer.render(&p);
    }
    const int x = L.dayX[kSolstice] + 1;
    // A row of the band away from every line drawn across the day (the
    // half-hours' thin ones are smoothed over two rows in the SVG).
    const auto clear = [&L](int y) {
        const int h = L.bottom - L.top;
        for (int b : L.boundaryY[kSolstice])
            for (int shift : {-h, 0, h})
                if (std::abs(y - (b + shift)) < 2)
                    return false;
        return true;
    };
    for (int hour : {0, 3, 6, 9}) {
        const YearChartSpan s = YearChartBandSpans(L, kSolstice, hour).back();
        int y = s.top + 2;
        while (y < s.bottom - 2 && !clear(y))
            ++y;
        ASSERT_LT(y, s.bottom - 2) << hour;
        EXPECT_EQ(back.pixelColor(x, y), kChartBrushes[YearChartHourBrush(hour)]) << hour;
    }
}

// Text an XML document cannot hold is dropped; markup is escaped, once.
TEST(XmlText, DropsForbiddenCharactersAndEscapesMarkup) {
    const QChar high(0xD83D), low(0xDE00);
    const struct {
        QString text;
        QString characters;
        QString escaped;
    } cases[] = {
        {QStringLiteral("A&B<>\"'"), QStringLiteral("A&B<>\"'"),
         QStringLiteral("A&amp;B&lt;&gt;&quot;&apos;")},
        {QStringLiteral("]]>"), QStringLiteral("]]>"), QStringLiteral("]]&gt;")},
        {QStringLiteral("&amp;"), QStringLiteral("&amp;"), QStringLiteral("&amp;amp;")},
        {QStringLiteral("a\tb\nc\rd"), QStringLiteral("a\tb\nc\rd"), QStringLiteral("a\tb\nc\rd")},
        {QStringLiteral("a") + QChar(0x01) + QChar(0x1F) + QChar(0) + QStringLiteral("b"),
         QStringLiteral("ab"), QStringLiteral("ab")},
        {QString(QChar(0xFFFE)) + QChar(0xFFFF) + QChar(0xFFFD), QString(QChar(0xFFFD)),
         QString(QChar(0xFFFD))},
        {QString(high) + low, QString(high) + low, QString(high) + low}, // a pair stays
        {QStringLiteral("x") + high + QStringLiteral("y") + low, QStringLiteral("xy"),
         QStringLiteral("xy")}, // lone halves go
        {QString(low) + high, QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(tolmeri::XmlCharacters(c.text), c.characters);
        EXPECT_EQ(tolmeri::XmlEscaped(c.text), c.escaped);
    }
}

// Under the mouse: the column's day, the row's clock time and the band drawn
// there, also where a night band comes back from the day before or after.
TEST(YearChartReadouts, NameTheDayTheClockAndTheBandUnderAPoint) {
    const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    const YearChartLayout L = MinuteLayout(in); // a row a minute
    const struct {
        int day, minute;
        const char* text;
    } cases[] = {
        {171, 870, "2026-06-21（令和8年6月21日）　14:30　昼八つ (未)"},
        {0, 60, "2026-01-01（令和8年1月1日）　01:00　暁九つ半"},
        // After the day's last midnight: the next night's first band.
        {0, 1435, "2026-01-01（令和8年1月1日）　23:55　暁九つ (子)"},
        {364, 0, "2026-12-31（令和8年12月31日）　00:00　暁九つ (子)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(YearChartReadout(in, L, QPoint(L.dayX[c.day] + 1, L.top + c.minute)),
                  QString::fromUtf8(c.text));
    for (const QPoint outside : {QPoint(L.left - 1, L.top), QPoint(L.left, L.bottom),
                                 QPoint(L.left, L.top - 1), QPoint(L.right, L.top)})
        EXPECT_EQ(YearChartReadout(in, L, outside), QString());
}
