// The year chart as data: its layout as arithmetic on a known day, its
// titles, the Moon's rows and keys, the read-out under a point, and the
// drawing's shapes (every one inside the plot, no curve joined past
// midnight). The pixels the windows' painter makes of them are
// year_chart_painter_test's.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "core/year_chart.h"

using namespace tolmeri;

namespace {

const Place kTokyo{"東京", 35, 39, 139, 45, 9};
constexpr int kSolstice = 171; // 2026-06-21, day 171 of 2026

// The characters of UTF-8 text.
int Characters(std::string_view text) {
    int n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// Every character as wide as a line is high: enough for the layout.
YearChartMetrics FakeMetrics() {
    YearChartMetrics m;
    m.lineHeight = 14;
    m.titleHeight = 20;
    m.textWidth = [](std::string_view text) { return 14 * Characters(text); };
    return m;
}

// A layout whose plot is 1440 rows high (a row a minute) and 730 columns
// wide (two a day): the area grown by what the margins take.
YearChartLayout MinuteLayout(const YearChartInput& in) {
    const YearChartMetrics m = FakeMetrics();
    const YearChartLayout probe = LayoutYearChart(in, {0, 0, 1000, 1000}, m);
    const ClientRect area{0, 0, 1000 + 730 - (probe.right - probe.left),
                          1000 + 1440 - (probe.bottom - probe.top)};
    return LayoutYearChart(in, area, m);
}

const YearChartText* FindText(const YearChartLayout& L, std::string_view text) {
    for (const YearChartText& t : L.texts)
        if (t.text == text)
            return &t;
    return nullptr;
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
    for (const ClientRect& area : {ClientRect{0, 0, 1200, 800}, ClientRect{0, 0, 779, 454}}) {
        const YearChartLayout L = LayoutYearChart(in, area, FakeMetrics());
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
                << i << " in " << area.right;
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
    const YearChartText* geshi = FindText(L, "夏至");
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
        EXPECT_EQ(hours[i]->x + 14 * Characters(hours[i]->text), L.left - 7);
        if (i > 0) {
            EXPECT_GE(hours[i]->y, hours[i - 1]->y + 14);
        }
    }
    EXPECT_EQ(hours.front()->text, "暁九つ (子)");
    EXPECT_EQ(hours.back()->text, "夜四つ (亥)");
    EXPECT_EQ(FindText(L, "東京　2026年（令和8年）")->kind, YearChartTextKind::kTitle);
    const YearChartText* subtitle =
        FindText(L, "明六つ・暮六つ：太陽俯角7度21分40秒（太陽暦の定め）");
    ASSERT_NE(subtitle, nullptr);
    EXPECT_EQ(subtitle->kind, YearChartTextKind::kSubtitle);
}

TEST(YearChartLayout, NarrowChartsSetTheTermNamesInTwoRowsThatDoNotCollide) {
    const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    const YearChartLayout L = LayoutYearChart(in, ClientRect{0, 0, 520, 400}, FakeMetrics());
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
    EXPECT_EQ(YearChartTitle("京都", {1798, 1, 1}, 365), "京都　1798年（寛政9～10年）");
    EXPECT_EQ(YearChartTitle("京都", {2026, 3, 1}, 10), "京都　2026-03-01～2026-03-10（令和8年）");
    EXPECT_EQ(YearChartTitle("江戸", {1700, 3, 1}, 10), "江戸　1700-03-01～1700-03-10（元禄13年）");
    const Place kyoto{"京都", 35, 1, 135, 45, 9};
    const PeriodOptions aut{DawnDefinition::kAuto, ClockSteps::kSekki};
    EXPECT_EQ(MakeYearChartInput(kyoto, 1798, aut).subtitle,
              "明六つ・暮六つ：日出前・日入後2刻半＝36分（宝暦暦の定め）、1798-02-16 "
              "から太陽俯角7度21分40秒（寛政暦の定め）　時計：二十四節気ごと");
    EXPECT_EQ(MakeYearChartInput(kyoto, 1750, aut).subtitle,
              "明六つ・暮六つ：日出前・日入後2刻半＝36分（貞享暦の定め）"
              "　時計：二十四節気ごと");
    // The main window's definition in a year whose calendar kept another:
    // said plainly whose it was.
    EXPECT_EQ(MakeYearChartInput(kyoto, 1600, {}).subtitle,
              "明六つ・暮六つ：太陽俯角7度21分40秒（寛政暦からの定め。宣明暦の定め"
              "は日出前・日入後36分）");
}

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
        const YearChartLayout L = LayoutYearChart(in, ClientRect{0, 0, 1200, 800}, FakeMetrics());
        const YearChartText* rise = FindText(L, "月の出");
        const YearChartText* set = FindText(L, "月の入");
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
        EXPECT_EQ(YearChartReadout(in, L, L.dayX[c.day] + 1, L.top + c.minute), c.text);
    const std::pair<int, int> outside[] = {
        {L.left - 1, L.top}, {L.left, L.bottom}, {L.left, L.top - 1}, {L.right, L.top}};
    for (const auto& [x, y] : outside)
        EXPECT_EQ(YearChartReadout(in, L, x, y), "");
}

// The drawing: the bands' polygons held within the plot's rows, every line
// of the plot inside its pixels, one band run per hour a day above or below
// where it crosses midnight, the frame's four sides first among the
// segments, and a dashed line only for a marked day.
TEST(YearChartDrawing, EveryShapeOfThePlotStaysInsideIt) {
    for (const bool moon : {false, true}) {
        YearChartInput in = MakeYearChartInput(kTokyo, 2026, {}, moon);
        in.markedDay = moon ? kSolstice : -1;
        const YearChartLayout L = LayoutYearChart(in, {0, 0, 1200, 800}, FakeMetrics());
        const YearChartDrawing drawing = DrawYearChart(L, static_cast<int>(in.days.size()));
        std::map<int, int> bandsOfBrush;
        for (const YearChartBand& band : drawing.bands) {
            ++bandsOfBrush[band.brush];
            for (const ChartPoint& p : band.points)
                ASSERT_TRUE(p.y >= L.top && p.y <= L.bottom && p.x >= L.left && p.x <= L.right);
        }
        // Twelve hours, the night's in two runs where they cross midnight.
        EXPECT_EQ(bandsOfBrush.size(), 6u);
        EXPECT_GE(drawing.bands.size(), 13u);
        int moonLines = 0;
        for (const YearChartLine& line : drawing.lines) {
            moonLines += line.pen == YearChartPen::kMoonrise || line.pen == YearChartPen::kMoonset;
            for (const ChartPointF& p : line.points)
                ASSERT_TRUE(p.x >= L.left && p.x <= L.right - 1 && p.y >= L.top &&
                            p.y <= L.bottom - 1);
        }
        EXPECT_EQ(moonLines > 0, moon);
        ASSERT_GE(drawing.segments.size(), 4u);
        EXPECT_EQ(drawing.segments[0].y1, L.top - 1);
        int dashed = 0;
        for (const YearChartSegment& s : drawing.segments)
            dashed += YearChartPenOf(s.pen).dashed;
        EXPECT_EQ(dashed, moon ? 1 : 0);
    }
    // No days: the frame alone.
    const YearChartDrawing empty = DrawYearChart(YearChartLayout{}, 0);
    EXPECT_TRUE(empty.bands.empty() && empty.lines.empty());
}

// A Moon curve going round the clock is cut there: 23:50 and the next day's
// 00:05 are two lines (the first a dot), 00:05 and 01:00 one.
TEST(YearChartDrawing, AMoonCurveIsNotJoinedPastMidnight) {
    YearChartInput in = MakeYearChartInput(kTokyo, {2026, 3, 1}, 4, {}, false);
    in.moonrise = {23 * 60 + 50, 5, 60, std::nullopt};
    in.moonset = {std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    const YearChartLayout L = LayoutYearChart(in, {0, 0, 1200, 800}, FakeMetrics());
    std::vector<std::size_t> runs;
    for (const YearChartLine& line : DrawYearChart(L, 4).lines)
        if (line.pen == YearChartPen::kMoonrise)
            runs.push_back(line.points.size());
    EXPECT_EQ(runs, (std::vector<std::size_t>{1, 2}));
}
