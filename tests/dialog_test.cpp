// A dialog realised from its template: every control where the template puts
// it in dialog units of the font obtained, the window's frame, and the keys
// every dialog understands.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "dialogs.h"
#include "gui_support.h"
#include "resource.h"

namespace {

using namespace afx;

class TemplateDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dlg.Create();
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }
    // The widgets in template order (statics included).
    std::vector<QWidget*> Controls() {
        std::vector<QWidget*> out;
        for (QObject* o : dlg.children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
                out.push_back(w);
        return out;
    }

    MessageRecorder messages;
    CDialog dlg{res::kMainDialog};
};

TEST_F(TemplateDialog, ControlsSitWhereTheTemplatePutsThem) {
    const QFontMetrics fm(dlg.font());
    const DluBase base =
        BaseUnitsFromMetrics(fm.horizontalAdvance(QStringLiteral(
                                 "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
                             fm.height());
    EXPECT_EQ(dlg.GetBaseUnits().cx, base.cx);
    EXPECT_EQ(dlg.GetBaseUnits().cy, base.cy);
    EXPECT_EQ(dlg.size(), QSize(DluToPixelsX(354, base), DluToPixelsY(309, base)));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()) << "fixed size";

    const std::span<const DlgItem> items = res::kMainDialog.items;
    ASSERT_EQ(items.size(), 29u);
    int checked = 0;
    for (const DlgItem& item : items) {
        const PixelRect r = DluToPixels(item.x, item.y, item.cx, item.cy, base);
        // Find the control by its place (statics share the id -1).
        QWidget* found = nullptr;
        for (QWidget* w : Controls())
            if (w->geometry() == QRect(r.x, r.y, r.width, r.height))
                found = w;
        ASSERT_NE(found, nullptr) << item.text;
        const QString text = QString::fromUtf8(item.text);
        if (auto* b = qobject_cast<QPushButton*>(found)) {
            EXPECT_EQ(b->text(), text);
        } else if (auto* g = qobject_cast<QGroupBox*>(found)) {
            EXPECT_EQ(g->title(), text);
        } else if (auto* l = qobject_cast<QLabel*>(found)) {
            EXPECT_EQ(l->text(), text);
        }
        ++checked;
    }
    EXPECT_EQ(checked, 29);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("刻しらべ (tolmeri) Ver.1.4"));
}

TEST_F(TemplateDialog, FrameHasMinimiseButNoMaximise) {
    const Qt::WindowFlags f = dlg.windowFlags();
    EXPECT_TRUE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
}

TEST_F(TemplateDialog, OnlyTheSaveButtonIsTheDefault) {
    // With the focus in a box; a focused button is the default while it has
    // the focus, as on the platform the templates come from.
    dlg.GetDlgItem(IDC_DATE_YEAR)->setFocus();
    for (int id :
         {IDC_SET_TODAY, IDC_CHOOSE_LOCATION, IDC_CALCULATE, IDOK, IDCANCEL, IDC_HELP_BUTTON})
        EXPECT_EQ(qobject_cast<QPushButton*>(dlg.GetDlgItem(id))->isDefault(), id == IDOK) << id;
}

TEST_F(TemplateDialog, AClickInsideAGroupBoxReachesTheBoxUnderIt) {
    QWidget* name = dlg.GetDlgItem(IDC_LOCATION_NAME);
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), name);
    QWidget* year = dlg.GetDlgItem(IDC_DATE_YEAR);
    const QPoint centre = year->geometry().center();
    EXPECT_EQ(dlg.childAt(centre), year);
}

TEST_F(TemplateDialog, EveryShowingGetsFreshControls) {
    Type(dlg, IDC_DATE_YEAR, QStringLiteral("1234"));
    dlg.Create();
    EXPECT_EQ(BoxText(dlg, IDC_DATE_YEAR), QString());
    EXPECT_EQ(Controls().size(), 29u);
}

TEST_F(TemplateDialog, F1AsksForTheDialogsHelpContextOnlyWithoutModifiers) {
    TestApp app;
    HelpRecorder help;
    QWidget* box = dlg.GetDlgItem(IDC_DATE_DAY);
    QTest::keyClick(box, Qt::Key_F1);
    QTest::keyClick(box, Qt::Key_F1, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_F1, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_F1, Qt::AltModifier);
    ASSERT_EQ(help.calls.size(), 1u);
    EXPECT_EQ(help.calls[0].data, 0x20066u);
    EXPECT_EQ(help.calls[0].command, HELP_CONTEXT);
    EXPECT_EQ(help.calls[0].file, app.dir.filePath(QStringLiteral("tolmeri.HLP")));
}

TEST_F(TemplateDialog, AHelpFileThatCannotBeShownIsReported) {
    TestApp app;
    HelpRecorder help(/*succeed=*/false);
    QTest::keyClick(dlg.GetDlgItem(IDC_DATE_DAY), Qt::Key_F1);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.calls[0].text, QStringLiteral("ﾍﾙﾌﾟの起動に失敗しました。"));
    EXPECT_EQ(messages.calls[0].icon, MbIcon::Exclamation);
}

} // namespace
