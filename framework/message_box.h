// framework: every message box of the program goes through here, so tests can
// record what would be shown instead of blocking on a modal window.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace afx {

enum class MbIcon { kNone, kExclamation };

// Shows text in a modal box with one OK button, owned by owner, captioned with
// the application's display name.
void MessageBox(QWidget* owner, const QString& text, MbIcon icon);

// What a test sees of one message box.
struct MessageBoxCall {
    QWidget* owner;
    QString caption;
    QString text;
    MbIcon icon;
};
using MessageBoxHook = std::function<void(const MessageBoxCall&)>;

// Replaces the real boxes (an empty hook restores them). Returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

} // namespace afx
