#include "tolmeri_app.h"

#include "tolmeri_dlg.h"

bool CTolmeriApp::StartUp() {
    // Another copy running: end silently, without a window or a word. With no
    // place for a lock at all, run unguarded rather than not at all.
    if (m_hMutex.Acquire("tolmeri") == CInstanceLock::Result::HeldElsewhere)
        return false;

    CTolmeriDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

int CTolmeriApp::ShutDown() {
    // The lock stays until the process ends; the kernel drops it then.
    return CWinApp::ShutDown();
}
