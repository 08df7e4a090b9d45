// The chart: its layout arithmetic on the worked example, and the pixels a
// paint leaves on an image.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <random>

#include "sun_events.h"

#include "chart_painter.h"
#include "temporal_hours.h"

namespace {

CTemporalHours Hours(int latDeg, int latMin, int lonDeg, int lonMin, int tz, int y, int m, int d) {
    CTemporalHours h;
    h.Reset();
    h.SetPlace(latDeg, latMin, lonDeg, lonMin, tz);
    h.SetDate(y, m, d);
    h.CalcNoonJD();
    h.CalcBoundaries();
    h.SetLabels();
    return h;
}

ChartInput Yokohama2000() {
    return ChartInput::From(Hours(35, 27, 139, 39, 9, 2000, 1, 1), QStringLiteral("横浜"), 2000, 1,
                            1);
}

const ChartText* FindText(const ChartLayout& layout, const QString& text) {
    for (const ChartText& t : layout.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

TEST(ChartLayout, WorkedExample) {
    const ChartLayout L = LayoutChart(Yokohama2000(), ClientRect{0, 0, 540, 480}, 12, 6);
    EXPECT_EQ(L.xL, 306);
    EXPECT_EQ(L.xR, 498);
    EXPECT_EQ(L.yT, 42);
    EXPECT_EQ(L.yB, 456);
    EXPECT_EQ(L.h, 6);
    EXPECT_DOUBLE_EQ(L.s, 0.2875);
    const std::pair<int, int> ys[] = {{0, 42}, {1, 61}, {6, 154}, {12, 249}, {18, 344}, {24, 456}};
    for (const auto& [i, y] : ys)
        EXPECT_EQ(L.boundaryY[i], y) << i;
    EXPECT_EQ(L.sunriseY, 164);
    EXPECT_EQ(L.sunsetY, 334);

    const struct {
        const char* text;
        int x, y;
        ChartTextKind kind;
    } texts[] = {
        {"暁九つ (子)  23:45", 348, 36, ChartTextKind::Row},
        {"-暁九つ半  00:50", 498, 55, ChartTextKind::Row},
        {"昼九つ (午)  11:45", 348, 243, ChartTextKind::Row},
        {"日出", 264, 158, ChartTextKind::Mark},
        {"06:50", 312, 158, ChartTextKind::Mark},
        {"日没", 264, 328, ChartTextKind::Mark},
        {"16:39", 312, 328, ChartTextKind::Mark},
        {"南中", 264, 243, ChartTextKind::Mark},
        {"横浜 － 西暦 2000年 1月 1日", 264, 6, ChartTextKind::Title},
    };
    for (const auto& t : texts) {
        const ChartText* found = FindText(L, QString::fromUtf8(t.text));
        ASSERT_NE(found, nullptr) << t.text;
        EXPECT_EQ(found->x, t.x) << t.text;
        EXPECT_EQ(found->y, t.y) << t.text;
        EXPECT_EQ(found->kind, t.kind) << t.text;
    }
    // Row 24 repeats row 0's text, one cycle further down.
    ASSERT_EQ(L.texts.size(), 31u);
    EXPECT_EQ(L.texts[24],
              (ChartText{348, 450, QStringLiteral("暁九つ (子)  23:45"), ChartTextKind::Row}));
}

TEST(ChartLayout, BandsNestAndTheSeventhIsTheTransitLine) {
    const ChartLayout L = LayoutChart(Yokohama2000(), ClientRect{0, 0, 540, 480}, 12, 6);
    ASSERT_EQ(L.bands.size(), 7u);
    for (int j = 0; j < 7; ++j) {
        EXPECT_EQ(L.bands[j].left, 306);
        EXPECT_EQ(L.bands[j].right, 498);
        EXPECT_EQ(L.bands[j].top, L.boundaryY[2 * j]) << j;
        EXPECT_EQ(L.bands[j].bottom, L.boundaryY[24 - 2 * j] + 1) << j;
        EXPECT_EQ(L.bands[j].brush, j < 6 ? j : 5) << j;
    }
    EXPECT_EQ(L.bands[6].bottom - L.bands[6].top, 1);
}

TEST(ChartLayout, MidnightsLandOnTheChartsEdgesForAnyTable) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX), lat(-90, 90);
    for (int n = 0; n < 2000; ++n) {
        const bool wild = n % 2;
        const CTemporalHours h =
            Hours(wild ? any(rng) : lat(rng), 0, any(rng), 0, wild ? any(rng) : 9,
                  wild ? any(rng) : 1990 + n % 50, 1 + n % 12, 1 + n % 28);
        const ChartInput in = ChartInput::From(h, QString(), 0, 0, 0);
        for (const ClientRect& client : {ClientRect{0, 0, 540, 480}, ClientRect{0, 0, 620, 502}}) {
            const ChartLayout L = LayoutChart(in, client, 13, 6);
            ASSERT_EQ(L.boundaryY[0], L.yT);
            ASSERT_EQ(L.boundaryY[24], L.yB);
            for (int i = 1; i < 25; ++i)
                ASSERT_LE(L.boundaryY[i - 1], L.boundaryY[i]);
        }
    }
}

class PaintedChart : public ::testing::Test {
protected:
    void SetUp() override {
        image = QImage(620, 502, QImage::Format_RGB32);
        image.fill(QColor(240, 240, 240));
        QPainter p(&image);
        layout = PaintChart(p, ClientRect{0, 0, image.width(), image.height()}, Yokohama2000());
    }
    QColor At(int x, int y) const { return image.pixelColor(x, y); }

    QImage image;
    ChartLayout layout;
};

TEST_F(PaintedChart, EachBandShowsItsColourBetweenItsBoundaries) {
    // Sample right of the row texts and the sunrise and sunset times,
    // halfway between consecutive even boundaries: the visible band of hour k.
    const int brushOfHour[12] = {0, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 0};
    for (int k = 0; k < 12; ++k) {
        const int y = (layout.boundaryY[2 * k] + layout.boundaryY[2 * k + 2]) / 2;
        EXPECT_EQ(At(layout.xR - 3, y), kChartBrushes[brushOfHour[k]]) << "hour " << k;
    }
}

TEST_F(PaintedChart, EvenBoundariesGetALineAndOddOnesDoNot) {
    const int x = layout.xL + 2;
    for (int i = 0; i < 25; ++i) {
        const int y = layout.boundaryY[i];
        if (i % 2 == 0)
            EXPECT_EQ(At(x, y), QColor(Qt::black)) << i;
        else
            EXPECT_NE(At(x, y), QColor(Qt::black)) << i;
    }
    // The transit's line runs the full width of the bands, one pixel high.
    const int y12 = layout.boundaryY[12];
    EXPECT_EQ(At(layout.xR - 2, y12), QColor(Qt::black));
    EXPECT_EQ(At(layout.xR - 2, y12 + 1), kChartBrushes[5]);
    EXPECT_EQ(At(layout.xR - 2, y12 - 1), kChartBrushes[5]);
    // Left and right outlines: xL and xR - 1 are black, xR is not.
    EXPECT_EQ(At(layout.xL, y12 + 5), QColor(Qt::black));
    EXPECT_EQ(At(layout.xR - 1, y12 + 5), QColor(Qt::black));
    EXPECT_NE(At(layout.xR, y12 + 5), QColor(Qt::black));
}

TEST_F(PaintedChart, RowsStandOnGreyBoxesWithDarkText) {
    for (int i : {0, 12, 24}) {
        const ChartText& row = layout.texts[i];
        // The box's first column is grey; somewhere in it the text is dark.
        EXPECT_EQ(At(row.x, row.y + 1), kChartTextBackground) << i;
        bool dark = false;
        for (int x = row.x; x < row.x + 60 && !dark; ++x)
            for (int y = row.y; y < row.y + 2 * layout.h && !dark; ++y)
                dark = qGray(image.pixel(x, y)) < 60;
        EXPECT_TRUE(dark) << "row " << i;
    }
}

TEST_F(PaintedChart, TheTitleStandsAboveTheChartInDarkRed) {
    const ChartText& title = layout.texts.back();
    ASSERT_EQ(title.kind, ChartTextKind::Title);
    EXPECT_LT(title.y, layout.yT);
    int red = 0;
    for (int x = title.x; x < title.x + 200; ++x)
        for (int y = title.y; y < layout.yT - layout.h; ++y)
            if (image.pixelColor(x, y) == kChartMarkColor)
                ++red;
    EXPECT_GT(red, 20);
    EXPECT_EQ(At(title.x, title.y + 1), kChartTextBackground);
}

// The window's width with the real fonts. Height as the template gives it.
class WholeTexts : public ::testing::Test {
protected:
    static constexpr int kHeight = 502;
    void SetUp() override {
        width = ChartClientWidth(nullptr, kHeight, 0);
        A = rows.averageCharWidth();
    }
    ChartLayout Layout(const ChartInput& in, int w) const {
        return LayoutChart(in, ClientRect{0, 0, w, kHeight}, rows.height(), A);
    }
    // Background pixels left right of the text that reaches furthest, for
    // every clock time of every row and for every title of names.
    int Margin(int w, const QStringList& names) const {
        ChartInput in = Yokohama2000();
        int right = 0;
        const ChartLayout L = Layout(in, w);
        for (int i = 0; i < 25; ++i) {
            const QString label = (i % 2 ? QStringLiteral("-") : QString()) + in.labels[i];
            for (int minute = 0; minute < 1440; ++minute) {
                const QString text = label + QStringLiteral("  ") +
                                     QString::fromStdString(tolmeri::FormatClock(minute));
                right = std::max(right, L.texts[i].x + rows.horizontalAdvance(text));
            }
        }
        for (const QString& name : names) {
            in.locationName = name;
            const ChartText title = Layout(in, w).texts.back();
            for (const auto& [y, m, d] : {std::tuple{2001, 12, 31}, {2200, 12, 28}, {1999, 11, 30}})
                right =
                    std::max(right, title.x + titles.horizontalAdvance(ChartTitle(name, y, m, d)));
        }
        return w - right;
    }
    // Twelve of every one-byte character of CP932, and six-character names.
    static QStringList Names() {
        QStringList names = {QStringLiteral("和歌山和歌山"), QStringLiteral("Johannesburg"),
                             QStringLiteral("ＷＷＷＷＷＷ"), QStringLiteral("鹿児島鹿児島")};
        for (char16_t c = 0x20; c <= 0x7E; ++c)
            names << QString(12, QChar(c));
        for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
            names << QString(12, QChar(c));
        return names;
    }

    const QFontMetrics rows{ChartFont(nullptr, 90)};
    const QFontMetrics titles{ChartFont(nullptr, 160)};
    int width = 0;
    int A = 0;
};

TEST_F(WholeTexts, EveryTextEndsAtLeastACharacterBeforeTheRightEdgeAndNoWidthLessWould) {
    const QStringList names = Names();
    EXPECT_GE(Margin(width, names), A) << "client width " << width;
    EXPECT_LT(Margin(width - 1, names), A) << "client width " << width - 1;
    // Half-hour rows alone, the cut that showed first: they fit as well.
    EXPECT_GE(Margin(width, {}), A);
    // Never narrower than asked for.
    EXPECT_EQ(ChartClientWidth(nullptr, kHeight, width + 40), width + 40);
}

TEST_F(WholeTexts, TheLastColumnsStayBackground) {
    // Painted, the grey cells and the glyphs of the longest texts stop
    // short of the last A columns; the widest title comes close to them.
    const QColor background(240, 240, 240);
    for (const QString& name :
         {WidestPlaceName(ChartFont(nullptr, 160), nullptr), QStringLiteral("和歌山和歌山")}) {
        QImage image(width, kHeight, QImage::Format_RGB32);
        image.fill(background);
        ChartInput in = Yokohama2000();
        in.locationName = name;
        in.year = 2001;
        in.month = 12;
        in.day = 31;
        QPainter p(&image);
        PaintChart(p, ClientRect{0, 0, width, kHeight}, in);
        p.end();
        for (int x = width - A; x < width; ++x)
            for (int y = 0; y < kHeight; ++y)
                ASSERT_EQ(image.pixelColor(x, y), background) << x << "," << y;
        if (name != QStringLiteral("和歌山和歌山")) {
            bool reached = false;
            for (int y = 0; y < kHeight && !reached; ++y)
                reached = image.pixelColor(width - A - 1, y) != background;
            EXPECT_TRUE(reached) << "the widest title ends right before the margin";
        }
    }
}

TEST(ChartTitle, FormatsNameAndDate) {
    EXPECT_EQ(ChartTitle(QStringLiteral("横浜"), 2000, 1, 1),
              QStringLiteral("横浜 － 西暦 2000年 1月 1日"));
    EXPECT_EQ(ChartTitle(QStringLiteral("Lima"), 0, 13, 31),
              QStringLiteral("Lima － 西暦 0年 13月 31日"));
}

TEST(ChartFontPixels, IntegerDivisionOfTenthPoints) {
    EXPECT_EQ(ChartFontPixels(96, 90), 12);
    EXPECT_EQ(ChartFontPixels(96, 160), 21);
    EXPECT_EQ(ChartFontPixels(120, 90), 15);
    EXPECT_EQ(ChartFontPixels(72, 160), 16);
}

} // namespace
