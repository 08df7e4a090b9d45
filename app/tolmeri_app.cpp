#include "app/tolmeri_app.h"

#include "framework/instance_channel.h"
#include "ui/tolmeri_dlg.h"

bool CTolmeriApp::StartUp() {
    // Another copy running: ask it to come to the front, and end without a
    // window or a word of our own. With no place for a lock at all, run
    // unguarded rather than not at all.
    const CInstanceLock::Acquisition lock = m_hMutex.Acquire("tolmeri");
    if (lock == CInstanceLock::Acquisition::kHeldElsewhere) {
        CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"));
        return false;
    }

    CTolmeriDlg dlg;
    m_pMainWnd = &dlg;
    CInstanceChannel channel;
    if (lock == CInstanceLock::Acquisition::kAcquired)
        channel.Listen(QStringLiteral("tolmeri"), [&dlg] { afx::BringToFront(&dlg); });
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

int CTolmeriApp::ShutDown() {
    // The lock stays until the process ends; the kernel drops it then.
    return CWinApp::ShutDown();
}
