// The charts' pictures apart from their windows: the face and the client
// size they assume are the windows' own, the face draws the windows' texts
// without a shaper as a shaper would, and a day's picture is the chart cut
// to its drawing.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include "core/period_hours.h"
#include "core/temporal_hours.h"
#include "framework/dialog.h"
#include "framework/dialog_face.h"
#include "res/dialogs.h"
#include "tests/image_ink.h"
#include "ui/chart_painter.h"
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
    EXPECT_EQ(face.styleStrategy(), dialog.styleStrategy());
    EXPECT_EQ(face, CTolmeriDlg::ChartFace());
}

// The face asks for one family, the one the toolkit picks from the whole
// list; the texts come out in the same face as from the list.
TEST(ChartPicture, FaceIsTheOneTheWholeListWouldGive) {
    QFont whole = ChartFace();
    whole.setFamilies(afx::PreferredDialogFamilies());
    ASSERT_EQ(ChartFace().families().size(), 1);
    EXPECT_EQ(QFontInfo(ChartFace()).family(), QFontInfo(whole).family());
    EXPECT_EQ(ChartFace().families().front(), QFontInfo(whole).family());
    for (const QString& text : {QStringLiteral("暁九つ (子) 23:45"), QStringLiteral("ABCxyz")})
        EXPECT_EQ(QFontMetrics(ChartFace()).horizontalAdvance(text),
                  QFontMetrics(whole).horizontalAdvance(text));
}

// text in black on white, one line.
QImage Drawn(const QFont& font, const QString& text) {
    const QFontMetrics fm(font);
    QImage image(fm.horizontalAdvance(text) + 2 * fm.height(), 2 * fm.height(),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(fm.height(), fm.height() + fm.ascent() / 2, text);
    return image;
}

// The faces lay text out without the shaper. Every text the main window
// shows, and names a user may type, must come out as the shaper would have
// drawn it: the same width and the same pixels, in the rows' and the title's
// sizes.
TEST(ChartPicture, TheWindowsTextsDrawWithoutTheShaperAsWithIt) {
    CTemporalHours hours;
    hours.Recompute({"", 35, 27, 139, 39, 9}, {2000, 1, 1});
    const DayChartLayout layout = LayoutChart({hours.Day(), QStringLiteral("横浜"), {2000, 1, 1}},
                                              ClientRect{0, 0, 979, 502}, 13, 6);
    QStringList texts;
    for (const DayChartText& t : layout.texts)
        texts << QString::fromStdString(t.text);
    for (const afx::DlgItem& item : res::kMainDialog.items)
        if (item.text && *item.text)
            texts << QString::fromUtf8(item.text);
    QString oneByte; // CP932's one-byte characters
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        oneByte += QChar(c);
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
        oneByte += QChar(c);
    texts << oneByte << QStringLiteral("AVATAR To Wa. fi ffl") << QStringLiteral("鹿児島・ｶｺﾞｼﾏ")
          << QStringLiteral("①㍻髙﨑");
    ASSERT_GT(texts.size(), 40);
    for (int tenthPoints : {90, 160}) {
        const QFont unshaped = ChartFont(ChartFace(), nullptr, tenthPoints);
        ASSERT_EQ(unshaped.styleStrategy() & QFont::PreferNoShaping, QFont::PreferNoShaping);
        QFont shaped = unshaped;
        shaped.setStyleStrategy(QFont::PreferDefault);
        for (const QString& text : texts) {
            SCOPED_TRACE(text.toStdString() + " at " + std::to_string(tenthPoints));
            EXPECT_EQ(QFontMetrics(unshaped).horizontalAdvance(text),
                      QFontMetrics(shaped).horizontalAdvance(text));
            EXPECT_TRUE(Drawn(unshaped, text) == Drawn(shaped, text));
        }
    }
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
