// The window menu as a user meets it: its button, Alt+Space or a right click
// on the free area opens it; the main dialog's menu has no sizing items and
// ends with its own items: the era-date dialog, the year chart, the hour
// names, the historical places and the About box, each reached by its access
// key.
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <algorithm>
#include <memory>

#include "framework/translation.h"
#include "framework/win_types.h"
#include "res/resource.h"
#include "tests/main_dialog_fixture.h"
#include "ui/about_dlg.h"
#include "ui/era_date_dlg.h"
#include "ui/year_chart_dlg.h"

namespace {

// The menu as the user reads it: its lines ("-" for a separator) and the
// command ids they send.
QStringList Lines(const QMenu* menu) {
    QStringList lines;
    for (const QAction* a : menu->actions())
        lines << (a->isSeparator() ? QStringLiteral("-")
                                   : a->text() + QStringLiteral(" #%1").arg(a->data().toUInt()));
    return lines;
}
QMenu* OpenMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}
void RightClick(QWidget* w, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &event);
}

using WindowMenu = OpenMainDialogTest;

TEST_F(WindowMenu, AltSpaceOrARightClickOnTheFreeAreaOpensItAndCloseDiscards) {
    const QStringList expected = {"移動(&M) #61456",
                                  "最小化(&N) #61472",
                                  "-",
                                  "閉じる(&C)\tAlt+F4 #61536",
                                  "-",
                                  "和暦・旧暦で日付を指定(&W)... #32",
                                  "一年の刻の図(&Y)... #48",
                                  "刻の名から時刻を求める(&T)... #64",
                                  "歴史地名から選ぶ(&H)... #80",
                                  "ﾊﾞｰｼﾞｮﾝ情報 (tolmeri) (&A)... #16"};
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Space, Qt::AltModifier);
    ASSERT_NE(OpenMenu(), nullptr);
    EXPECT_EQ(Lines(OpenMenu()), expected);
    EXPECT_EQ(OpenMenu()->pos(), dlg->mapToGlobal(QPoint(0, 0)));
    QTest::keyClick(OpenMenu(), Qt::Key_Escape);

    const QPoint chart(dlg->width() / 2 + 40, dlg->height() / 3);
    ASSERT_EQ(dlg->childAt(chart), nullptr);
    RightClick(dlg.get(), chart);
    ASSERT_NE(OpenMenu(), nullptr);
    EXPECT_EQ(OpenMenu()->pos(), dlg->mapToGlobal(chart));
    OpenMenu()->close();
    RightClick(dlg->findChild<QLabel*>(), QPoint(2, 2)); // a static text is free area too
    ASSERT_NE(OpenMenu(), nullptr);
    OpenMenu()->close();
    RightClick(dlg->GetDlgItem(IDC_CALCULATE), QPoint(5, 5)); // a control is not
    EXPECT_EQ(OpenMenu(), nullptr);

    // 閉じる ends the dialog as 破棄終了 does: nothing written.
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Space, Qt::AltModifier);
    ASSERT_NE(OpenMenu(), nullptr);
    QTest::keyClick(OpenMenu(), Qt::Key_C);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), afx::IDCANCEL);
    EXPECT_FALSE(QFile::exists(app.IniPath()));
}

// The メニュー button opens the same menu below itself, where a user sees
// it: it stands in the free strip between the buttons and the chart, takes
// no focus (the keys walk the template's order as before) and covers no
// control.
TEST_F(WindowMenu, TheMenuButtonOpensItWhereTheUserSeesIt) {
    QPushButton* button = dlg->MenuButton();
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("メニュー ▾"));
    EXPECT_FALSE(button->toolTip().isEmpty());
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(dlg->rect().contains(button->geometry()));
    for (const QWidget* control :
         dlg->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control != button && control->isVisible() && !control->isWindow()) {
            EXPECT_FALSE(control->geometry().intersects(button->geometry()))
                << control->metaObject()->className();
        }
    }
    // Left of the chart, whose title and marks (日出, 南中, 日没) start one
    // average character left of the middle: two of them to spare.
    EXPECT_LT(button->geometry().right(), dlg->width() / 2 - 12);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_NE(OpenMenu(), nullptr);
    // Below the button, or raised as far as the screen's bottom asks.
    const QPoint below = button->mapToGlobal(QPoint(0, button->height()));
    const QRect screen = button->screen()->availableGeometry();
    EXPECT_EQ(OpenMenu()->x(), below.x());
    EXPECT_EQ(OpenMenu()->y(),
              std::min(below.y(), screen.bottom() + 1 - OpenMenu()->sizeHint().height()));
    EXPECT_TRUE(Lines(OpenMenu()).contains(QStringLiteral("一年の刻の図(&Y)... #48")));
    QTest::keyClick(OpenMenu(), Qt::Key_Escape);
    EXPECT_EQ(OpenMenu(), nullptr);
}

TEST_F(WindowMenu, TheContextMenuKeyAndShiftF10OpenItOutsideTheBoxes) {
    const std::pair<Qt::Key, Qt::KeyboardModifiers> opening[] = {{Qt::Key_Menu, Qt::NoModifier},
                                                                 {Qt::Key_F10, Qt::ShiftModifier}};
    for (const auto& [key, held] : opening) {
        for (int id : {IDC_SET_TODAY, IDC_CALCULATE, afx::IDOK}) {
            dlg->GetDlgItem(id)->setFocus();
            QTest::keyClick(dlg->GetDlgItem(id), key, held);
            ASSERT_NE(OpenMenu(), nullptr) << key << " on " << id;
            EXPECT_TRUE(Lines(OpenMenu()).contains("ﾊﾞｰｼﾞｮﾝ情報 (tolmeri) (&A)... #16"));
            EXPECT_EQ(OpenMenu()->pos(), dlg->mapToGlobal(QPoint(0, 0)));
            OpenMenu()->close();
        }
    }
    // F10 alone or with Ctrl opens nothing.
    QTest::keyClick(dlg->focusWidget(), Qt::Key_F10);
    QTest::keyClick(dlg->focusWidget(), Qt::Key_F10, Qt::ControlModifier);
    EXPECT_EQ(OpenMenu(), nullptr);

    // Shift+F10, then A: the About box, all from the keyboard.
    InModal(
        [this] {
            QTest::keyClick(dlg->focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
            QTest::keyClick(OpenMenu(), Qt::Key_A);
        },
        [](CDialog& about) { EXPECT_NE(qobject_cast<CAboutDlg*>(&about), nullptr); });
}

TEST_F(WindowMenu, EachOwnItemHasItsAccessKey) {
    QStringList keys;
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Space, Qt::AltModifier);
    ASSERT_NE(OpenMenu(), nullptr);
    for (const QAction* a : OpenMenu()->actions()) {
        const qsizetype amp = a->text().indexOf(u'&');
        if (amp >= 0)
            keys << a->text().mid(amp + 1, 1);
    }
    OpenMenu()->close();
    EXPECT_EQ(keys, (QStringList{"M", "N", "C", "W", "Y", "T", "H", "A"})) << "each key once";

    InModal(
        [this] {
            QTest::keyClick(dlg->focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
            QTest::keyClick(OpenMenu(), Qt::Key_W);
        },
        [this](CDialog& era) {
            EXPECT_NE(qobject_cast<CEraDateDlg*>(&era), nullptr);
            EXPECT_EQ(era.parentWidget(), dlg.get());
        });
    QTest::keyClick(dlg->focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(OpenMenu(), Qt::Key_Y);
    auto* chart = dlg->findChild<CYearChartDlg*>();
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the chart window is not modal";
}

TEST_F(WindowMenu, InAnEditBoxTheKeysOpenTheBoxsOwnMenuInJapanese) {
    const std::unique_ptr<QTranslator> japanese(afx::InstallQtTranslation());
    ASSERT_NE(japanese, nullptr) << "Qt's qtbase_ja translation (qt6-translations-l10n)";
    for (const auto& [key, held] :
         {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
          std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        Box(*dlg, IDC_LOCATION_NAME)->setFocus();
        QTest::keyClick(Box(*dlg, IDC_LOCATION_NAME), key, held);
        ASSERT_NE(OpenMenu(), nullptr);
        const QStringList lines = Lines(OpenMenu());
        EXPECT_TRUE(lines.contains("元に戻す(&U)\tCtrl+Z #0")) << lines.join(" | ").toStdString();
        EXPECT_TRUE(lines.contains("貼り付け(&P)\tCtrl+V #0"));
        EXPECT_FALSE(lines.contains("移動(&M) #61456"));
        OpenMenu()->close();
    }
}

TEST_F(WindowMenu, TheAboutItemOpensTheAboutBoxOverTheBlockedDialog) {
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Space, Qt::AltModifier);
    ASSERT_NE(OpenMenu(), nullptr);
    InModal([] { QTest::keyClick(OpenMenu(), Qt::Key_A); },
            [this](CDialog& about) {
                EXPECT_NE(qobject_cast<CAboutDlg*>(&about), nullptr);
                EXPECT_EQ(about.parentWidget(), dlg.get());
                EXPECT_EQ(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 tolmeri"));
                QStringList texts;
                for (const QLabel* label : about.findChildren<QLabel*>())
                    texts << label->text();
                EXPECT_TRUE(texts.contains(QStringLiteral("刻しらべ ( tolmeri ) Version 1.4")));
                EXPECT_EQ(about.focusWidget(), about.GetDlgItem(afx::IDOK));
                SystemClick(dlg->GetDlgItem(IDC_SET_TODAY)); // the main dialog is blocked
                EXPECT_EQ(BoxText(*dlg, IDC_DATE_YEAR), QStringLiteral("2000"));
                Click(about, afx::IDOK);
                EXPECT_FALSE(about.isVisible());
            });
    SystemClick(dlg->GetDlgItem(IDC_SET_TODAY)); // and free again
    EXPECT_EQ(BoxText(*dlg, IDC_DATE_YEAR), QStringLiteral("2026"));
}

TEST_F(WindowMenu, CommandSixteenWithAnyLowBitsOpensTheAboutBoxWhichEndsEveryWay) {
    const std::pair<unsigned, std::function<void(CDialog&)>> cases[] = {
        {0x10, [](CDialog& about) { Click(about, afx::IDOK); }},
        {0x13, [](CDialog& about) { QTest::keyClick(about.focusWidget(), Qt::Key_Return); }},
        {0x1F, [](CDialog& about) { QTest::keyClick(about.focusWidget(), Qt::Key_Escape); }},
        {0x10, [](CDialog& about) { about.close(); }},
    };
    for (const auto& [nID, close] : cases) {
        InModal([&, nID = nID] { dlg->OnSystemCommand(nID, 0); },
                [&, close = close](CDialog& about) {
                    EXPECT_NE(qobject_cast<CAboutDlg*>(&about), nullptr);
                    close(about);
                    EXPECT_FALSE(about.isVisible()) << nID;
                });
        EXPECT_TRUE(dlg->isVisible());
    }
}

} // namespace
