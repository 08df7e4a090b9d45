// Shared pieces of the GUI tests: recorded message boxes and help calls, a
// fixed "today", an application object whose executable lives in a temporary
// directory (so its settings file does too), and ways to drive real widgets.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "framework/clock.h"
#include "framework/dialog.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "tests/temp_folder.h"

// Records every message box instead of showing it.
class MessageRecorder {
public:
    MessageRecorder() {
        m_previous = afx::SetMessageBoxHook([this](const afx::MessageBoxCall& c) {
            calls.push_back(c);
            if (onMessage)
                onMessage(c);
            return answer;
        });
    }
    ~MessageRecorder() { afx::SetMessageBoxHook(std::move(m_previous)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QStringList Texts() const {
        QStringList texts;
        for (const afx::MessageBoxCall& c : calls)
            texts << c.text;
        return texts;
    }
    void Clear() { calls.clear(); }

    std::vector<afx::MessageBoxCall> calls;
    std::function<void(const afx::MessageBoxCall&)> onMessage; // runs while the box "shows"
    bool answer = true;                                        // to a question

private:
    afx::MessageBoxHook m_previous;
};

// Records help requests instead of opening the viewer.
struct HelpCall {
    QByteArray file;
    unsigned command;
    unsigned data;
};
class HelpRecorder {
public:
    explicit HelpRecorder(bool succeed = true) {
        m_previous = afx::SetHelpLauncher(
            [this, succeed](QWidget*, const QByteArray& file, unsigned command, unsigned data) {
                calls.push_back({file, command, data});
                return succeed;
            });
    }
    ~HelpRecorder() { afx::SetHelpLauncher(std::move(m_previous)); }
    std::vector<HelpCall> calls;

private:
    afx::HelpLauncher m_previous;
};

// "Today" fixed for the life of the object.
class FixedToday {
public:
    explicit FixedToday(QDate date) {
        m_previous = afx::SetDateSource([date] { return date; });
    }
    ~FixedToday() { afx::SetDateSource(std::move(m_previous)); }

private:
    afx::DateSource m_previous;
};

// The temporary folder with the names Qt code uses for one (QTemporaryDir's).
class CQtTempFolder : public CTempFolder {
public:
    QString path() const { return QFile::decodeName(QByteArray::fromStdString(String())); }
    QString filePath(const QString& name) const { return path() + u'/' + name; }
};

// The application object of a test: its executable "lives" in a fresh
// temporary directory, so the settings and help files are looked for there,
// and the user's configuration folder is "config" in it (never the real one).
class TestApp : public CWinApp {
public:
    TestApp() : m_previousConfig(qgetenv("XDG_CONFIG_HOME")) {
        InitPaths(QFile::encodeName(dir.filePath(QStringLiteral("tolmeri"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    }
    ~TestApp() override {
        if (m_previousConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_previousConfig);
    }
    QString IniPath() const { return dir.filePath(QStringLiteral("tolmeri.ini")); }
    QString ConfigIniPath() const {
        return dir.filePath(QStringLiteral("config/tolmeri/tolmeri.ini"));
    }
    CQtTempFolder dir;

private:
    QByteArray m_previousConfig;
};

// Types text into the focused widget w as a user does: ASCII by key
// presses, everything else as an input method commits it.
inline void TypeText(QWidget* w, const QString& text) {
    QString pending;
    auto commit = [&] {
        if (pending.isEmpty())
            return;
        QInputMethodEvent event;
        event.setCommitString(pending);
        QApplication::sendEvent(w, &event);
        pending.clear();
    };
    for (QChar ch : text) {
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7F) {
            commit();
            QTest::keyClick(w, ch.toLatin1());
        } else {
            pending += ch;
        }
    }
    commit();
}

// The text of a box, and typing into it as a user does: select everything,
// then type (an empty text just deletes the selection).
inline QLineEdit* Box(CDialog& dlg, int id) {
    return qobject_cast<QLineEdit*>(dlg.GetDlgItem(id));
}
inline QString BoxText(CDialog& dlg, int id) {
    return Box(dlg, id)->text();
}
inline void Type(CDialog& dlg, int id, const QString& text) {
    QLineEdit* box = Box(dlg, id);
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        TypeText(box, text);
}
inline void Click(CDialog& dlg, int id) {
    auto* button = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs action once the next modal dialog is up (for dialogs that exec()).
inline void WhenModalShown(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        action(modal);
    });
}
