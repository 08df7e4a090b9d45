#include "framework/message_box.h"

#include "framework/win_app.h"
#include <QMessageBox>

namespace afx {

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
} // namespace

void MessageBox(QWidget* owner, const QString& text, MbIcon icon) {
    const MessageBoxCall call{owner, AppDisplayName(), text, icon};
    if (Hook()) {
        (void)Hook()(call);
        return;
    }
    QMessageBox box(icon == MbIcon::kExclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    call.caption, text, QMessageBox::Ok, owner);
    box.exec();
}

bool AskYesNo(QWidget* owner, const QString& text) {
    const MessageBoxCall call{owner, AppDisplayName(), text, MbIcon::kQuestion};
    if (Hook())
        return Hook()(call);
    QMessageBox box(QMessageBox::Question, call.caption, text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

} // namespace afx
