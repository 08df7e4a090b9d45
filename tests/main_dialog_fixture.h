// The main dialog shown and active, as the tests of the list, the window menu
// and help start from it, and a way to act inside the modal dialogs it opens.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "gui_support.h"
#include "tolmeri_dlg.h"

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// A click as the window system delivers it, so a blocked window misses it.
inline void SystemClick(QWidget* w) {
    QWidget* top = w->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, w->rect().center()));
}

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<CTolmeriDlg>();
        app.m_pMainWnd = dlg.get();
        dlg->Create();
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }

    // Runs trigger, which opens a modal dialog, and action inside it. A
    // dialog the action leaves open is cancelled, so a failure cannot hang.
    void InModal(const std::function<void()>& trigger, std::function<void(CDialog&)> action) {
        bool ran = false;
        WhenModalShown([&ran, action](QWidget* modal) {
            if (auto* dialog = qobject_cast<CDialog*>(modal)) {
                ran = true;
                action(*dialog);
            }
            if (modal && modal->isVisible())
                qobject_cast<QDialog*>(modal)->reject();
        });
        trigger();
        EXPECT_TRUE(ran) << "no modal dialog came up";
    }

    TestApp app;
    MessageRecorder messages;
    FixedToday today{QDate(2026, 3, 20)};
    std::unique_ptr<CTolmeriDlg> dlg;
};
