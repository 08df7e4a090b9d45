// The year chart as the windows' painter draws the core's shapes: the pixels
// a paint leaves on an image and in an SVG file, across midnight included,
// and the text an SVG holds. The layout and the shapes themselves are
// year_chart_test's.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
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

QFont TestFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("sans-serif")});
    return font;
}

} // namespace

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
                y < t.y + 2 * YearChartFontPixels(image.width(), image.height()))
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
    in.title = "空";
    image = QImage(400, 300, QImage::Format_RGB32);
    QPainter p(&image);
    const YearChartLayout L = PaintYearChart(p, image.rect(), in, TestFont());
    EXPECT_TRUE(L.dayX.size() == 1 && L.boundaryY.empty());
    EXPECT_EQ(At(L.left - 1, (L.top + L.bottom) / 2), QColor(Qt::black));
}

// The same painter writes SVG through Qt SVG: the bands arrive as filled
// shapes in the window's colours, and the file read back shows them where
// the picture has them.
// Drawn only when asked: each day's event a pixel of its curve in its
// column, a day without one leaving its column clear, and the colours
// nowhere without the Moon.
TEST_F(PaintedYearChart, MoonCurvesOnlyWhenAskedAndBrokenWhereADayHasNone) {
    YearChartLayout L = Paint(kTokyo);
    for (int x = L.left; x < L.right; ++x)
        for (const QColor& colour :
             {ChartColor(kYearChartMoonriseColor), ChartColor(kYearChartMoonsetColor)})
            ASSERT_EQ(RowsIn(x, colour, L.top, L.bottom), 0) << x;

    L = Paint(kTokyo, -1, true);
    const struct {
        const std::vector<std::optional<int>>& ys;
        QColor colour;
    } curves[] = {{L.moonriseY, ChartColor(kYearChartMoonriseColor)},
                  {L.moonsetY, ChartColor(kYearChartMoonsetColor)}};
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
            EXPECT_TRUE(at == curve.colour || at == ChartColor(kYearChartMoonsetColor) ||
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
        wrapped += RowsIn(x, ChartColor(kYearChartMoonriseColor), L.top, L.bottom);
    for (int x = centre(1) + 1; x < centre(2); ++x)
        joined += RowsIn(x, ChartColor(kYearChartMoonriseColor), L.top, L.bottom);
    EXPECT_EQ(wrapped, 0);
    EXPECT_GT(joined, centre(2) - centre(1) - 2);
    EXPECT_EQ(At(centre(0), *L.moonriseY[0]), ChartColor(kYearChartMoonriseColor)); // a dot alone
    for (int x = centre(2) + 1; x < L.right; ++x)
        EXPECT_EQ(RowsIn(x, ChartColor(kYearChartMoonriseColor), L.top, L.bottom), 0) << x;
}

TEST(YearChartSvg, TheSamePainterWritesAnSvgThatReadsBack) {
    const YearChartInput in = MakeYearChartInput(kTokyo, 2026, {});
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(1200, 800));
    svg.setViewBox(QRect(0, 0, 1200, 800));
    svg.setTitle(QString::fromStdString(in.title));
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
