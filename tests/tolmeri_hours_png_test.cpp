// tolmeri-hours --png against the window itself: the picture must hold the
// pixels the main dialog paints for the same place and date, at its size.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "chart_painter.h"
#include "gui_support.h"
#include "run_process.h"
#include "tolmeri_dlg.h"

namespace {

struct Place {
    std::vector<std::string> args; // how tolmeri-hours is told the place
    QString name;
    int latDeg, latMin, lonDeg, lonMin, tz;
};

class HoursPicture : public ::testing::Test {
protected:
    // The main dialog as the program starts it, then with place and date
    // entered and recomputed as 計算実行 does.
    std::unique_ptr<CTolmeriDlg> Window(const Place& p, int y, int m, int d) {
        auto dlg = std::make_unique<CTolmeriDlg>();
        app.m_pMainWnd = dlg.get();
        dlg->Create();
        dlg->m_strLocationName = p.name;
        dlg->m_nLatitudeDegrees = p.latDeg;
        dlg->m_nLatitudeMinutes = p.latMin;
        dlg->m_nLongitudeDegrees = p.lonDeg;
        dlg->m_nLongitudeMinutes = p.lonMin;
        dlg->m_nTimeDifference = p.tz;
        dlg->m_nDateYear = y;
        dlg->m_nDateMonth = m;
        dlg->m_nDateDay = d;
        dlg->Recompute();
        return dlg;
    }
    QImage Picture(std::vector<std::string> args) {
        const QString path = dir.filePath(QStringLiteral("chart.png"));
        args.insert(args.end(), {"--png", path.toStdString()});
        // Run in a folder inside dir: the captured output lands beside it.
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        const ProcessResult r = RunProcess(TOLMERI_HOURS_EXE, args, work.toStdString());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        return QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    TestApp app;
    QTemporaryDir dir;
};

const Place kPlaces[] = {
    {{"--place", "横浜"}, QStringLiteral("横浜"), 35, 27, 139, 39, 9},
    {{"--place", "Sydney"}, QStringLiteral("Sydney"), -33, 52, 151, 12, 10},
    {{"--lat", "43:04", "--lon", "141:21", "--tz", "9", "--name", "札幌駅"},
     QStringLiteral("札幌駅"),
     43,
     4,
     141,
     21,
     9},
};

TEST_F(HoursPicture, IsTheWindowsOwnChartWithoutItsBoxes) {
    for (const Place& p : kPlaces) {
        auto args = p.args;
        args.insert(args.end(), {"--date", "2001-06-21"});
        const QImage png = Picture(args);
        auto dlg = Window(p, 2001, 6, 21);
        // The dialog's own paint over its background, child boxes left out.
        QImage window(dlg->size(), QImage::Format_RGB32);
        dlg->render(&window, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        ASSERT_EQ(png.size(), window.size()) << p.name.toStdString();
        EXPECT_TRUE(png == window) << p.name.toStdString();
    }
}

TEST_F(HoursPicture, AnOtherSizeIsTheSamePainterOnALargerClientArea) {
    const Place& p = kPlaces[0];
    auto args = p.args;
    args.insert(args.end(), {"--date", "2026-12-22", "--size", "900x1200"});
    const QImage png = Picture(args);
    auto dlg = Window(p, 2026, 12, 22);
    QImage expected(900, 1200, QImage::Format_RGB32);
    expected.fill(dlg->palette().color(QPalette::Window));
    QPainter painter(&expected);
    PaintChart(painter, ClientRect{0, 0, 900, 1200},
               ChartInput::From(dlg->Hours(), p.name, 2026, 12, 22));
    painter.end();
    EXPECT_TRUE(png == expected);
}

} // namespace
