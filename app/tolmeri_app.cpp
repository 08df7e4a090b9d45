#include "tolmeri_app.h"

#include "instance_channel.h"
#include "tolmeri_dlg.h"

bool CTolmeriApp::StartUp() {
    // Another copy running: ask it to come to the front, and end without a
    // window or a word of our own. With no place for a lock at all, run
    // unguarded rather than not at all.
    const CInstanceLock::Result lock = m_hMutex.Acquire("tolmeri");
    if (lock == CInstanceLock::Result::HeldElsewhere) {
        CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"));
        return false;
    }

    CTolmeriDlg dlg;
    m_pMainWnd = &dlg;
    CInstanceChannel channel;
    if (lock == CInstanceLock::Result::Acquired)
        channel.Listen(QStringLiteral("tolmeri"), [&dlg] { afx::BringToFront(&dlg); });
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

int CTolmeriApp::ShutDown() {
    // The lock stays until the process ends; the kernel drops it then.
    return CWinApp::ShutDown();
}
