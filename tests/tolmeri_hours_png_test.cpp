// tolmeri-hours --png against the window itself: the picture must hold the
// pixels the main dialog paints for the same place and date, at its size.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <memory>

#include "tests/gui_support.h"
#include "tests/run_process.h"
#include "ui/chart_painter.h"
#include "ui/tolmeri_dlg.h"

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
    QImage Picture(std::vector<std::string> args) {
        const QString path = app.dir.filePath(QStringLiteral("chart.png"));
        args.insert(args.end(), {"--png", path.toStdString()});
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

TEST_F(HoursPicture, IsTheWindowsOwnChartWithoutItsBoxes) {
    for (const Place& p : kPlaces) {
        auto args = p.args;
        args.insert(args.end(), {"--date", "2001-06-21"});
        const QImage png = Picture(args);
        auto dlg = Window(p, {2001, 6, 21});
        // The dialog's own paint over its background, child boxes left out.
        QImage window(dlg->size(), QImage::Format_RGB32);
        dlg->render(&window, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        ASSERT_EQ(png.size(), window.size()) << p.place.name;
        EXPECT_TRUE(png == window) << p.place.name;
    }
}

TEST_F(HoursPicture, AnOtherSizeIsTheSamePainterOnALargerClientArea) {
    const Place& p = kPlaces[0];
    auto args = p.args;
    args.insert(args.end(), {"--date", "2026-12-22", "--size", "900x1200"});
    const QImage png = Picture(args);
    auto dlg = Window(p, {2026, 12, 22});
    QImage expected(900, 1200, QImage::Format_RGB32);
    expected.fill(dlg->palette().color(QPalette::Window));
    QPainter painter(&expected);
    tolmeri::PaintChart(painter, tolmeri::ClientRect{0, 0, 900, 1200},
                        {dlg->Hours().Day(), dlg->m_strLocationName, dlg->DateFields()},
                        CTolmeriDlg::ChartFace());
    painter.end();
    EXPECT_TRUE(png == expected);
}

} // namespace
