// framework: every message box of the program goes through here, so tests can
// record what would be shown instead of blocking on a modal window.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace afx {

enum class MbIcon { kNone, kExclamation, kQuestion };

// Shows text in a modal box with one OK button, owned by owner, captioned with
// the application's display name.
void MessageBox(QWidget* owner, const QString& text, MbIcon icon);

// Asks text in a modal box with the buttons はい and いいえ (いいえ the
// default), owned by owner; true when the answer is はい.
bool AskYesNo(QWidget* owner, const QString& text);

// What a test sees of one message box; a question's icon is kQuestion.
struct MessageBoxCall {
    QWidget* owner;
    QString caption;
    QString text;
    MbIcon icon;
};
// The hook's answer is a question's (true for はい); other boxes ignore it.
using MessageBoxHook = std::function<bool(const MessageBoxCall&)>;

// Replaces the real boxes (an empty hook restores them). Returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

} // namespace afx
