// The chart: its layout arithmetic on Yokohama, 2000-01-01, and what a user
// sees of a paint: the bands' colours and lines, texts on grey cells, and
// every text drawn whole at the window's width.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <iterator>
#include <random>

#include "core/sun_events.h"
#include "core/temporal_hours.h"
#include "ui/chart_painter.h"
#include "ui/tolmeri_dlg.h"

using namespace tolmeri;

namespace {

// The bands' colours as published, from the midnight band to the noon one;
// the chart mirrors them from noon to midnight. The texts stand on grey;
// the marks and the title are dark red.
const QColor kBandColours[6] = {{0, 0, 200},    {40, 40, 255},  {90, 90, 255},
                                {255, 195, 60}, {255, 225, 60}, {255, 255, 60}};
const QColor kTextGrey(200, 200, 200);
const QColor kMarkRed(128, 0, 0);

bool IsBandColour(const QColor& c) {
    return std::find(std::begin(kBandColours), std::end(kBandColours), c) != std::end(kBandColours);
}

const QFont& Face() {
    static const QFont face = CTolmeriDlg::ChartFace();
    return face;
}

ChartInput Input(const Place& place, const CivilDate& date, const QString& name) {
    CTemporalHours h;
    h.Recompute(place, date);
    return {h.Day(), name, date};
}

ChartInput Yokohama2000() {
    return Input({"", 35, 27, 139, 39, 9}, {2000, 1, 1}, QStringLiteral("横浜"));
}

const DayChartText* FindText(const DayChartLayout& layout, std::string_view text) {
    for (const DayChartText& t : layout.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

TEST(ChartLayout, YokohamaNewYear2000On12PixelRows) {
    const DayChartLayout L = LayoutChart(Yokohama2000(), ClientRect{0, 0, 540, 480}, 12, 6);
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
        {"暁九つ (子)  23:45", 348, 36, ChartTextKind::kRow},
        {"-暁九つ半  00:50", 498, 55, ChartTextKind::kRow},
        {"昼九つ (午)  11:45", 348, 243, ChartTextKind::kRow},
        {"日出", 264, 158, ChartTextKind::kMark},
        {"06:50", 312, 158, ChartTextKind::kMark},
        {"日没", 264, 328, ChartTextKind::kMark},
        {"16:39", 312, 328, ChartTextKind::kMark},
        {"南中", 264, 243, ChartTextKind::kMark},
        {"横浜 － 西暦 2000年 1月 1日", 264, 6, ChartTextKind::kTitle},
    };
    for (const auto& t : texts) {
        const DayChartText* found = FindText(L, t.text);
        ASSERT_NE(found, nullptr) << t.text;
        EXPECT_EQ(found->x, t.x) << t.text;
        EXPECT_EQ(found->y, t.y) << t.text;
        EXPECT_EQ(found->kind, t.kind) << t.text;
    }
    // Row 24 repeats row 0's text, one cycle further down.
    ASSERT_EQ(L.texts.size(), 31u);
    EXPECT_EQ(L.texts[24], (DayChartText{348, 450, "暁九つ (子)  23:45", ChartTextKind::kRow}));
}

TEST(ChartLayout, MidnightsLandOnTheChartsEdgesForAnyTable) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX), lat(-90, 90);
    for (int n = 0; n < 2000; ++n) {
        const bool wild = n % 2;
        const ChartInput in =
            Input({"", wild ? any(rng) : lat(rng), 0, any(rng), 0, wild ? any(rng) : 9},
                  {wild ? any(rng) : 1990 + n % 50, 1 + n % 12, 1 + n % 28}, QString());
        for (const ClientRect& client : {ClientRect{0, 0, 540, 480}, ClientRect{0, 0, 620, 502}}) {
            const DayChartLayout L = LayoutChart(in, client, 13, 6);
            ASSERT_EQ(L.boundaryY[0], L.yT);
            ASSERT_EQ(L.boundaryY[24], L.yB);
            for (int i = 1; i < kBoundaryCount; ++i)
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
        layout =
            PaintChart(p, ClientRect{0, 0, image.width(), image.height()}, Yokohama2000(), Face());
    }
    QColor At(int x, int y) const { return image.pixelColor(x, y); }

    QImage image;
    DayChartLayout layout;
};

TEST_F(PaintedChart, EachBandShowsItsColourBetweenItsBoundaries) {
    // Sample right of the row texts and the sunrise and sunset times,
    // halfway between consecutive even boundaries: the visible band of hour k.
    const int bandOfHour[12] = {0, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 0};
    for (int k = 0; k < 12; ++k) {
        const int y = (layout.boundaryY[2 * k] + layout.boundaryY[2 * k + 2]) / 2;
        const QColor c = At(layout.xR - 3, y);
        EXPECT_EQ(c, kBandColours[bandOfHour[k]]) << "hour " << k;
        // 明六つ and 暮六つ divide the night's blue from the day's yellow.
        const bool day = k >= 3 && k < 9;
        EXPECT_EQ(c.blue() < c.red(), day) << "hour " << k;
    }
}

TEST_F(PaintedChart, EvenBoundariesGetALineAndOddOnesDoNot) {
    const int x = layout.xL + 2;
    for (int i = 0; i < kBoundaryCount; ++i) {
        const int y = layout.boundaryY[i];
        if (i % 2 == 0)
            EXPECT_EQ(At(x, y), QColor(Qt::black)) << i;
        else
            EXPECT_NE(At(x, y), QColor(Qt::black)) << i;
    }
    // The transit's line runs the full width of the bands, one pixel high.
    const int y12 = layout.boundaryY[12];
    EXPECT_EQ(At(layout.xR - 2, y12), QColor(Qt::black));
    EXPECT_EQ(At(layout.xR - 2, y12 + 1), kBandColours[5]);
    EXPECT_EQ(At(layout.xR - 2, y12 - 1), kBandColours[5]);
    // Left and right outlines: xL and xR - 1 are black, xR is not.
    EXPECT_EQ(At(layout.xL, y12 + 5), QColor(Qt::black));
    EXPECT_EQ(At(layout.xR - 1, y12 + 5), QColor(Qt::black));
    EXPECT_NE(At(layout.xR, y12 + 5), QColor(Qt::black));
}

TEST_F(PaintedChart, RowsStandOnGreyBoxesWithDarkText) {
    for (int i : {0, 12, 24}) {
        const DayChartText& row = layout.texts[i];
        // The box's first column is grey; somewhere in it the text is dark.
        EXPECT_EQ(At(row.x, row.y + 1), kTextGrey) << i;
        bool dark = false;
        for (int x = row.x; x < row.x + 60 && !dark; ++x)
            for (int y = row.y; y < row.y + 2 * layout.h && !dark; ++y)
                dark = qGray(image.pixel(x, y)) < 60;
        EXPECT_TRUE(dark) << "row " << i;
    }
}

TEST_F(PaintedChart, TheTitleStandsAboveTheChartInDarkRed) {
    const DayChartText& title = layout.texts.back();
    ASSERT_EQ(title.kind, ChartTextKind::kTitle);
    EXPECT_LT(title.y, layout.yT);
    int red = 0;
    for (int x = title.x; x < title.x + 200; ++x)
        for (int y = title.y; y < layout.yT - layout.h; ++y)
            if (image.pixelColor(x, y) == kMarkRed)
                ++red;
    EXPECT_GT(red, 20);
    EXPECT_EQ(At(title.x, title.y + 1), kTextGrey);
}

// Between the midnights the bands' column holds nothing but the bands'
// colours and their black lines, and the day's bands mirror the night's.
TEST_F(PaintedChart, TheBandsFillTheColumnBetweenTheMidnightsAndMirror) {
    const int x = layout.xR - 3; // right of every row's text
    std::vector<QColor> seen;
    for (int y = layout.boundaryY[0]; y <= layout.boundaryY[24]; ++y) {
        const QColor c = At(x, y);
        const bool band = IsBandColour(c);
        ASSERT_TRUE(band || c == QColor(Qt::black)) << y;
        if (band && (seen.empty() || seen.back() != c))
            seen.push_back(c);
    }
    // Hour k and hour 11 - k share a colour; the two middle hours are one run.
    const std::vector<QColor> expected = {kBandColours[0], kBandColours[1], kBandColours[2],
                                          kBandColours[3], kBandColours[4], kBandColours[5],
                                          kBandColours[4], kBandColours[3], kBandColours[2],
                                          kBandColours[1], kBandColours[0]};
    EXPECT_EQ(seen, expected);
}

// The window's width with the real fonts: painted, every text ends at least
// one average character width before the right edge, for every clock time a
// row can show, with the marks and titles of the widest names; one pixel
// narrower, some text comes closer.
TEST(WholeTexts, EveryTextEndsACharacterBeforeTheEdgeAndNoNarrowerWidthWouldDo) {
    constexpr int kHeight = 502;
    const int width = ChartClientWidth(Face(), nullptr, kHeight, 0);
    const int A = QFontMetrics(ChartFont(Face(), nullptr, 90)).averageCharWidth();
    QStringList names = {WidestPlaceName(ChartFont(Face(), nullptr, 160), nullptr),
                         QStringLiteral("和歌山和歌山"), QStringLiteral("Johannesburg"),
                         QStringLiteral("ＷＷＷＷＷＷ"), QStringLiteral("鹿児島鹿児島")};
    for (char16_t c = 0x20; c <= 0x7E; ++c) // twelve of each one-byte character of CP932
        names << QString(12, QChar(c));
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
        names << QString(12, QChar(c));
    const CivilDate dates[] = {{2001, 12, 31}, {2200, 12, 28}, {1999, 11, 30}};
    const QColor background(240, 240, 240);

    // The rightmost column a paint at width w touches. Rows stand wherever
    // their boundaries put them; only how far right their texts reach counts.
    const auto reach = [&](const ChartInput& in, int w) {
        QImage image(w, 120, QImage::Format_RGB32);
        image.fill(background);
        QPainter p(&image);
        PaintChart(p, ClientRect{0, 0, w, kHeight}, in, Face());
        p.end();
        for (int x = w - 1; x >= 0; --x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y) != background)
                    return x;
        return -1;
    };
    bool narrowerReaches = false;
    for (int minute = 0; minute < 1440; ++minute) {
        // Every boundary, sunrise and sunset at this clock time, with a name
        // and date for the title, all names and dates in turn.
        ChartInput in{
            {}, names[minute % names.size()], dates[(minute / names.size()) % std::size(dates)]};
        in.hours.boundary.fill(minute);
        in.hours.sunrise = in.hours.sunset = minute;
        ASSERT_LT(reach(in, width), width - A) << minute << " " << in.locationName.toStdString();
        narrowerReaches = narrowerReaches || reach(in, width - 1) >= width - 1 - A;
    }
    EXPECT_TRUE(narrowerReaches) << "client width " << width << " is wider than it needs to be";
    // Never narrower than asked for.
    EXPECT_EQ(ChartClientWidth(Face(), nullptr, kHeight, width + 40), width + 40);
}

TEST(ChartTitle, FormatsNameAndDate) {
    EXPECT_EQ(ChartTitle(QStringLiteral("横浜"), {2000, 1, 1}),
              QStringLiteral("横浜 － 西暦 2000年 1月 1日"));
    EXPECT_EQ(ChartTitle(QStringLiteral("Lima"), {0, 13, 31}),
              QStringLiteral("Lima － 西暦 0年 13月 31日"));
}

TEST(ChartFontPixels, IntegerDivisionOfTenthPoints) {
    EXPECT_EQ(ChartFontPixels(96, 90), 12);
    EXPECT_EQ(ChartFontPixels(96, 160), 21);
    EXPECT_EQ(ChartFontPixels(120, 90), 15);
    EXPECT_EQ(ChartFontPixels(72, 160), 16);
}

} // namespace
