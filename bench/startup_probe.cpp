// Start-up probe: does what the program does up to its window being on the
// screen (the main dialog, or an empty QDialog for comparison), then prints
// the wall clock at that moment and the peak memory so far, and ends.
// bench/startup.sh starts it many times and takes the medians.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

#ifdef TOLMERI_PROBE_MAIN_DIALOG
#include "framework/font_warm_up.h"
#include "framework/win_app.h"
#include "ui/tolmeri_dlg.h"
#endif

int main(int argc, char** argv) {
#ifdef TOLMERI_PROBE_MAIN_DIALOG
    afx::CFontWarmUp fonts; // as CWinApp::Run does
    QApplication app(argc, argv);
    fonts.Wait();
#else
    QApplication app(argc, argv);
#endif
#ifdef TOLMERI_PROBE_MAIN_DIALOG
    CWinApp winApp;
    winApp.InitPaths(QFile::encodeName(QCoreApplication::applicationFilePath()));
    CTolmeriDlg dlg;
    dlg.Create();
#else
    QDialog dlg;
    dlg.resize(620, 502);
#endif
    dlg.show();
    if (!QTest::qWaitForWindowExposed(&dlg, 30000))
        return 1;
    QApplication::processEvents(); // the first paint
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%lld %ld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                usage.ru_maxrss);
    return 0;
}
