// The charts' pictures apart from their windows: the face and the client
// size they assume are the windows' own, and a day's picture is the chart
// cut to its drawing.
#include <gtest/gtest.h>

#include <QImage>

#include "core/period_hours.h"
#include "framework/dialog.h"
#include "tests/image_ink.h"
#include "ui/chart_picture.h"
#include "ui/tolmeri_dlg.h"

using namespace tolmeri;

namespace {

// The picture unit knows the main window's template and font without the
// dialogs: they must stay what the dialogs use, or the pictures drift from
// the windows.
TEST(ChartPicture, FaceIsTheDialogFontAtNinePoints) {
    const QFont face = ChartFace();
    const QFont dialog = CDialog::DialogFont(9);
    EXPECT_EQ(face.families(), dialog.families());
    EXPECT_EQ(face.pixelSize(), dialog.pixelSize());
    EXPECT_EQ(face.styleHint(), dialog.styleHint());
    EXPECT_EQ(face, CTolmeriDlg::ChartFace());
}

TEST(ChartPicture, ClientSizeIsTheMainWindowsAtAnyResolution) {
    for (const int dpi : {96, 120, 192}) {
        QImage device(10, 10, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(dpi / 0.0254));
        device.setDotsPerMeterY(qRound(dpi / 0.0254));
        EXPECT_EQ(DayChartClientSize(&device), CTolmeriDlg::ClientSizeFor(&device)) << dpi;
    }
    EXPECT_EQ(DayChartClientSize(nullptr), CTolmeriDlg::ClientSizeFor(nullptr));
}

TEST(ChartPicture, DayChartIsCutToItsDrawingOrCentredInTheSizeAsked) {
    const CivilDate date{2026, 6, 21};
    const ChartInput input{CalcDayHours({"東京", 35, 41, 139, 46, 9}, date, {}),
                           QStringLiteral("東京"), date};
    const QColor background(212, 208, 200);
    const QSize client = DayChartClientSize(nullptr);
    const struct {
        QSize asked;
        int height;        // of the picture
        bool eightAtSides; // the chart's margin, else centred
    } cases[] = {
        {{0, 0}, client.height(), true},
        {{-5, 700}, client.height(), true}, // not a size: the window's
        {{900, 1200}, 1200, false},
        {{300, 400}, 400, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.width());
        QString error;
        const QImage image =
            QImage::fromData(DayChartPicture(input, c.asked, background, &error), "PNG")
                .convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull()) << error.toStdString();
        EXPECT_EQ(image.height(), c.height);
        const auto [first, last] = InkColumns(image, background.rgb());
        if (c.eightAtSides) {
            EXPECT_LT(image.width(), client.width() * 6 / 10);
            EXPECT_EQ(first, 8);
            EXPECT_EQ(last, image.width() - 9);
        } else {
            EXPECT_EQ(image.width(), c.asked.width());
            EXPECT_LE(std::abs(first - (image.width() - 1 - last)), 12);
        }
    }
}

} // namespace
