// tolmeri-hours --png against the window itself: the picture must hold the
// pixels the main dialog paints for the same place and date, at its size;
// and --year-chart against the year-chart painter, as PNG and SVG.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

#include "tests/gui_support.h"
#include "tests/image_ink.h"
#include "tests/run_process.h"
#include "ui/chart_painter.h"
#include "ui/tolmeri_dlg.h"
#include "ui/year_chart_dlg.h"
#include "ui/year_chart_painter.h"

namespace {

struct Place {
    std::vector<std::string> args; // how tolmeri-hours is told the place
    tolmeri::Place place;
};

class HoursPicture : public ::testing::Test {
protected:
    // The main dialog as the program starts it, then with place and date
    // entered and recomputed as 計算実行 does.
    std::unique_ptr<CTolmeriDlg> Window(const Place& p, const tolmeri::CivilDate& date) {
        auto dlg = std::make_unique<CTolmeriDlg>();
        app.m_pMainWnd = dlg.get();
        dlg->Create();
        dlg->SetPlaceFields(p.place);
        dlg->SetDateFields(date);
        dlg->Recompute();
        return dlg;
    }
    QImage Picture(std::vector<std::string> args, const char* option = "--png",
                   const QString& name = QStringLiteral("chart.png")) {
        const QString path = app.dir.filePath(name);
        args.insert(args.end(), {option, path.toStdString()});
        const ProcessResult r = RunProcess(TOLMERI_HOURS_EXE, args, {.folder = app.dir.String()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    TestApp app;
};

const Place kPlaces[] = {
    {{"--place", "横浜"}, {"横浜", 35, 27, 139, 39, 9}},
    {{"--place", "Sydney"}, {"Sydney", -33, 52, 151, 12, 10}},
    {{"--lat", "43:04", "--lon", "141:21", "--tz", "9", "--name", "札幌駅"},
     {"札幌駅", 43, 4, 141, 21, 9}},
};

// The window's chart without the room it keeps for its boxes and for
// longer names: the window's paint, pixel for pixel, cut to the chart with
// a margin of 8 pixels.
TEST_F(HoursPicture, IsTheWindowsOwnChartWithoutItsBoxes) {
    for (const Place& p : kPlaces) {
        auto args = p.args;
        args.insert(args.end(), {"--date", "2001-06-21"});
        const QImage png = Picture(args);
        auto dlg = Window(p, {2001, 6, 21});
        // The dialog's own paint over its background, child boxes left out.
        QImage window(dlg->size(), QImage::Format_RGB32);
        dlg->render(&window, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        ASSERT_EQ(png.height(), window.height()) << p.place.name;
        EXPECT_LT(png.width(), window.width() * 6 / 10) << p.place.name;
        const QRgb background = dlg->palette().color(QPalette::Window).rgb();
        const auto [first, last] = InkColumns(png, background);
        EXPECT_EQ(first, 8) << p.place.name;
        EXPECT_EQ(last, png.width() - 9) << p.place.name;
        const int chartLeft = InkColumns(window, background).first;
        EXPECT_TRUE(png == window.copy(chartLeft - 8, 0, png.width(), png.height()))
            << p.place.name;
    }
}

// Another size: the chart laid out for its height, centred across its
// width; narrower than the chart, cut evenly at both sides.
TEST_F(HoursPicture, AnOtherSizeHoldsTheChartCentred) {
    const Place& p = kPlaces[0];
    auto dlg = Window(p, {2026, 12, 22});
    const QRgb background = dlg->palette().color(QPalette::Window).rgb();
    for (const QSize size : {QSize(900, 1200), QSize(504, 700), QSize(300, 400)}) {
        SCOPED_TRACE(size.width());
        auto args = p.args;
        args.insert(args.end(),
                    {"--date", "2026-12-22", "--size",
                     std::to_string(size.width()) + "x" + std::to_string(size.height())});
        const QImage png = Picture(args);
        ASSERT_EQ(png.size(), size);
        const auto [first, last] = InkColumns(png, background);
        EXPECT_LE(std::abs(first - (size.width() - 1 - last)), 12) << first << " " << last;
        // The bands fill the height as the window's do.
        int bandRows = 0;
        for (int y = 0; y < size.height(); ++y) {
            bool band = false;
            for (int x = 0; x < size.width() && !band; ++x)
                for (const QColor& c : tolmeri::kChartBrushes)
                    band = band || png.pixel(x, y) == c.rgb();
            bandRows += band ? 1 : 0;
        }
        EXPECT_GT(bandRows, size.height() * 3 / 4);
    }
}

// Whether row y of day lies on or beside its sunrise, sunset or transit line.
bool NearASunLine(const tolmeri::YearChartLayout& layout, int day, int y) {
    for (const std::vector<int>* line : {&layout.sunriseY, &layout.sunsetY, &layout.transitY})
        if (std::abs((*line)[day] - y) <= 3)
            return true;
    return false;
}

// Each hour's band of day in its colour, a quarter into the band (clear of
// the half-hour curve in its middle and of the Sun's lines).
void ExpectBandColours(const QImage& image, const tolmeri::YearChartLayout& layout, int day) {
    using namespace tolmeri;
    const int x = (layout.dayX[day] + layout.dayX[day + 1]) / 2;
    for (int hour = 0; hour < 12; ++hour) {
        for (const YearChartSpan& span : YearChartBandSpans(layout, day, hour)) {
            const int y = span.top + (span.bottom - span.top) / 4;
            if (span.bottom - span.top < 8 || NearASunLine(layout, day, y))
                continue;
            EXPECT_EQ(image.pixelColor(x, y), kChartBrushes[YearChartHourBrush(hour)])
                << "day " << day << ", hour " << hour << " at " << x << "," << y;
        }
    }
}

// The year chart painted in the process, as the year-chart window paints it.
QImage PaintedYearChart(const tolmeri::YearChartInput& input, const QSize& size,
                        tolmeri::YearChartLayout& layout) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    layout = tolmeri::PaintYearChart(painter, image.rect(), input, CYearChartView::ChartFont());
    painter.end();
    return image;
}

// The year chart of the place and the year of --date (or the days of --to),
// with --dawn, --steps, --sun and --moon, is the window's painter on an
// image of --size.
TEST_F(HoursPicture, AYearChartIsThePainterForThePlaceDaysAndOptions) {
    using namespace tolmeri;
    const struct {
        std::vector<std::string> args;
        tolmeri::Place place;
        CivilDate first;
        int dayCount;
        PeriodOptions options;
        QSize size;
        bool moon = false;
    } cases[] = {
        {{"--place", "京都", "--date", "2026-06-21"},
         {"京都", 35, 1, 135, 45, 9},
         {2026, 1, 1},
         365,
         {},
         {1200, 800}},
        {{"--place", "東京", "--date", "寛政9年12月1日", "--to", "1798-03-31", "--dawn", "auto",
          "--steps", "sekki", "--size", "900x600"},
         {"東京", 35, 39, 139, 45, 9},
         {1798, 1, 17},
         74,
         {DawnDefinition::kAuto, ClockSteps::kSekki},
         {900, 600}},
        {{"--place", "東京", "--date", "2026-01-01", "--sun", "precise", "--moon"},
         {"東京", 35, 39, 139, 45, 9},
         {2026, 1, 1},
         365,
         {.sun = SunModel::kPrecise},
         {1200, 800},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.place.name + " " + FormatDate(c.first));
        const QImage png = Picture(c.args, "--year-chart", QStringLiteral("year.png"));
        ASSERT_EQ(png.size(), c.size);
        YearChartLayout layout;
        const YearChartInput input =
            MakeYearChartInput(c.place, c.first, c.dayCount, c.options, c.moon);
        EXPECT_TRUE(png == PaintedYearChart(input, c.size, layout));
        if (c.options.sun == SunModel::kPrecise) {
            // The precise Sun's dawns and dusks, not the window's, on some days.
            PeriodOptions window = c.options;
            window.sun = SunModel::kWindow;
            const YearChartInput windows =
                MakeYearChartInput(c.place, c.first, c.dayCount, window, c.moon);
            int differ = 0;
            for (std::size_t d = 0; d < input.days.size(); ++d)
                differ += input.days[d].boundary != windows.days[d].boundary;
            EXPECT_GT(differ, 0);
            EXPECT_FALSE(png == PaintedYearChart(windows, c.size, layout));
            PaintedYearChart(input, c.size, layout);
        }
        EXPECT_EQ(layout.moonriseY.size(), c.moon ? input.days.size() : 0u);
        if (!c.moon) // the Moon's curves cross the bands anywhere
            ExpectBandColours(png, layout, c.dayCount / 2);
    }
}

TEST_F(HoursPicture, AYearChartAsSvgIsTheSameChart) {
    using namespace tolmeri;
    const std::vector<std::string> args = {"--place", "京都", "--date", "2026-01-01"};
    const QImage png = Picture(args, "--year-chart", QStringLiteral("year.png"));
    Picture(args, "--year-chart", QStringLiteral("year.svg"));
    QSvgRenderer svg(app.dir.filePath(QStringLiteral("year.svg")));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 1200, 800));
    QImage drawn(1200, 800, QImage::Format_RGB32);
    drawn.fill(Qt::black);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    // At 12:20 in late June, the noon hour (昼九つ) of 京都, in both pictures.
    EXPECT_EQ(png.pixelColor(600, 430), kChartBrushes[YearChartHourBrush(6)]);
    EXPECT_EQ(drawn.pixelColor(600, 430), kChartBrushes[YearChartHourBrush(6)]);
    // Every hour's band in its colour, on the first day of each month.
    YearChartLayout layout;
    PaintedYearChart(MakeYearChartInput({"京都", 35, 1, 135, 45, 9}, 2026, {}), drawn.size(),
                     layout);
    for (int day = 0; day < 365; day += 31)
        ExpectBandColours(drawn, layout, day);
}

} // namespace
