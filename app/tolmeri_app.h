// app: the application object. It lets one copy of the program run per user
// (a second start brings that copy's window to the front), runs the main
// dialog as the program's only window, and ends with it.
#pragma once

#include "framework/instance_lock.h"
#include "framework/win_app.h"

class CTolmeriApp : public CWinApp {
public:
    bool StartUp() override;
    int ShutDown() override;

private:
    CInstanceLock m_hMutex; // held from StartUp to the end of the process
};
