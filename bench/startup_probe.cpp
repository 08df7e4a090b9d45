// Start-up probe: does what the program does up to its window being on the
// screen, then prints the wall clock at that moment, the peak memory so far,
// the window's size and the processor time of all threads so far, and ends.
// bench/startup.sh starts it many times and takes the medians. Built three
// ways: the main dialog itself; the main dialog's controls and texts made by
// the toolkit's widgets with its defaults alone (the dialogs' list of faces
// asked for as it stands, no font configuration read ahead, no picture put in
// the cache beforehand; no chart, no settings, no calculation): what showing
// them costs a plain Qt program, so that the main dialog's excess over it is
// what the program adds; and an empty QDialog. The last two take their
// window's size as an argument (WIDTHxHEIGHT; the script passes the main
// dialog's), so that all three fill and hand the display the same window.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

#if defined(TOLMERI_PROBE_MAIN_DIALOG)
#include "framework/font_warm_up.h"
#include "framework/win_app.h"
#include "ui/tolmeri_dlg.h"
#elif defined(TOLMERI_PROBE_CONTROLS)
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "framework/dialog_face.h"
#include "res/dialogs.h"

namespace {

// The main dialog's template made with plain widgets at its positions, in
// the dialogs' faces at the template's size as Qt takes a font by default.
void AddTemplateControls(QDialog& dlg, QSize size) {
    const afx::DlgTemplate& t = res::kMainDialog;
    QFont font;
    font.setFamilies(afx::PreferredDialogFamilies());
    font.setPointSize(t.pointSize);
    dlg.setFont(font);
    const afx::DluBase base = afx::DialogBaseUnits(dlg.font());
    for (const afx::DlgItem& item : t.items) {
        const QString text = QString::fromUtf8(item.text ? item.text : "");
        QWidget* w = nullptr;
        if (item.cls == afx::ControlClass::kButton &&
            (item.style & afx::BS_TYPEMASK) == afx::BS_GROUPBOX)
            w = new QGroupBox(text, &dlg);
        else if (item.cls == afx::ControlClass::kButton)
            w = new QPushButton(text, &dlg);
        else if (item.cls == afx::ControlClass::kEdit)
            w = new QLineEdit(QStringLiteral("12"), &dlg);
        else
            w = new QLabel(text, &dlg);
        const afx::PixelRect r = afx::DluToPixels(item.x, item.y, item.cx, item.cy, base);
        w->setGeometry(r.x, r.y, r.width, r.height);
    }
    dlg.setFixedSize(size.isValid()
                         ? size
                         : QSize(afx::DluToPixelsX(t.cx, base), afx::DluToPixelsY(t.cy, base)));
}

} // namespace
#endif

#if !defined(TOLMERI_PROBE_MAIN_DIALOG)
namespace {

// WIDTHxHEIGHT as the first argument; an invalid size where there is none.
QSize SizeArgument(int argc, char** argv) {
    int width = 0, height = 0;
    char end = 0;
    if (argc > 1 && std::sscanf(argv[1], "%dx%d%c", &width, &height, &end) == 2 && width > 0 &&
        height > 0)
        return {width, height};
    return {};
}

} // namespace
#endif

int main(int argc, char** argv) {
#if defined(TOLMERI_PROBE_MAIN_DIALOG)
    afx::CFontWarmUp fonts; // as CWinApp::Run does
    QApplication app(argc, argv);
    fonts.Wait();
    CWinApp winApp;
    winApp.InitPaths(QFile::encodeName(QCoreApplication::applicationFilePath()));
    CTolmeriDlg dlg;
    dlg.Create();
#elif defined(TOLMERI_PROBE_CONTROLS)
    const QSize size = SizeArgument(argc, argv);
    QApplication app(argc, argv);
    QDialog dlg;
    AddTemplateControls(dlg, size);
#else
    const QSize size = SizeArgument(argc, argv);
    QApplication app(argc, argv);
    QDialog dlg;
    dlg.resize(size.isValid() ? size : QSize(620, 502));
#endif
    dlg.show();
    if (!QTest::qWaitForWindowExposed(&dlg, 30000))
        return 1;
    QApplication::processEvents(); // the first paint
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long long cpuMicroseconds = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                                      usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    std::printf("%lld %ld %dx%d %lld\n",
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, usage.ru_maxrss,
                dlg.width(), dlg.height(), cpuMicroseconds);
    return 0;
}
