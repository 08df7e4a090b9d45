// The main dialog as the program starts it, shown and active, over a
// settings file of the test's choice in the test application's folder; the
// fixture of every test that starts from the main window, with a way to act
// inside the modal dialogs it opens.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <memory>

#include "tests/gui_support.h"
#include "ui/tolmeri_dlg.h"

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
    // Starts the dialog as the program does, with settingsFile (CP932 bytes)
    // as its settings file, or none; a dialog still open is replaced.
    void Open(const QByteArray* settingsFile = nullptr) {
        if (settingsFile) {
            QFile f(app.IniPath());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(*settingsFile);
        }
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

// The fixture with the dialog opened before each test, without a settings
// file.
class OpenMainDialogTest : public MainDialogTest {
protected:
    void SetUp() override { Open(); }
};
