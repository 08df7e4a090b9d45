#include "framework/win_app.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/font_warm_up.h"
#include "framework/help_viewer.h"
#include "framework/message_box.h"
#include "framework/translation.h"
#include "framework/win_types.h"
#include "framework/xpm_image.h"

namespace {

CWinApp* g_pApp = nullptr;

afx::HelpLauncher& Launcher() {
    static afx::HelpLauncher launcher;
    return launcher;
}

// Ends menus and mouse-tracking modes before help takes over the screen.
void CancelModes() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

// Qt's messages while the application object connects to the display: kept
// back, so that a start without a display says so in one line and ends with
// status 1 instead of Qt's lines and an abort; passed on once it is made.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};
std::vector<HeldMessage>* g_pHeldMessages = nullptr;
QByteArray g_programName;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QByteArray line = g_programName +
                                ": ウィンドウを開けません（画面につながりません。DISPLAY か "
                                "WAYLAND_DISPLAY を確かめてください）\n";
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (g_pHeldMessages)
        g_pHeldMessages->push_back(
            {type, context.file, context.function, context.category, context.line, text});
}

} // namespace

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

int CWinApp::Run(int argc, char** argv, const std::string& executablePath) {
    std::vector<HeldMessage> held;
    g_pHeldMessages = &held;
    g_programName = QByteArray(argc > 0 ? argv[0] : "tolmeri");
    g_programName = g_programName.mid(g_programName.lastIndexOf('/') + 1);
    const QtMessageHandler previous = qInstallMessageHandler(HoldMessage);
    afx::CFontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.Wait();
    qInstallMessageHandler(previous);
    g_pHeldMessages = nullptr;
    for (const HeldMessage& m : held)
        qt_message_output(m.type,
                          QMessageLogContext(m.file.constData(), m.line, m.function.constData(),
                                             m.category.constData()),
                          m.text);
    afx::InstallQtTranslation();
    InitPaths(executablePath.empty() ? QFile::encodeName(QCoreApplication::applicationFilePath())
                                     : QByteArray::fromStdString(executablePath));
    if (StartUp())
        app.exec();
    return ShutDown();
}

void CWinApp::InitPaths(const QByteArray& executablePath) {
    m_strModulePath = executablePath;
    m_strDisplayName = afx::DisplayNameForExecutable(executablePath);
    m_strHelpFilePath = afx::HelpPathForExecutable(executablePath);
}

void CWinApp::WinHelp(unsigned data) {
    WinHelp(data, afx::HELP_CONTEXT);
}

void CWinApp::WinHelp(unsigned data, unsigned command) {
    CancelModes();
    const afx::HelpLauncher& launch = Launcher();
    const bool shown = launch ? launch(m_pMainWnd, m_strHelpFilePath, command, data)
                              : afx::ShowHelpFile(m_pMainWnd, m_strHelpFilePath, command, data);
    if (!shown)
        afx::MessageBox(m_pMainWnd, afx::HelpFailureText(), afx::MbIcon::kExclamation);
}

namespace afx {

QString DisplayNameForExecutable(const QByteArray& executablePath) {
    const QByteArray name = executablePath.mid(executablePath.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return QFile::decodeName(dot >= 0 ? name.left(dot) : name);
}

QByteArray HelpPathForExecutable(const QByteArray& executablePath) {
    const qsizetype slash = executablePath.lastIndexOf('/');
    const qsizetype dot = executablePath.lastIndexOf('.');
    return (dot > slash ? executablePath.left(dot) : executablePath) + ".HLP";
}

QByteArray ModuleFileName() {
    const CWinApp* app = AfxGetApp();
    return app && !app->m_strModulePath.isEmpty()
               ? app->m_strModulePath
               : QFile::encodeName(QCoreApplication::applicationFilePath());
}

QString AppDisplayName() {
    const CWinApp* app = AfxGetApp();
    return app && !app->m_strDisplayName.isEmpty() ? app->m_strDisplayName
                                                   : QCoreApplication::applicationName();
}

QIcon LoadIcon(int id) {
    // Read here rather than by file name, which would have Qt look through
    // its icon-engine and image-format plugins first: a millisecond of every
    // start, for a format Qt reads itself.
    QIcon icon;
    for (int size : {32, 16}) {
        QFile file(QStringLiteral(":/icons/%1-%2.xpm").arg(id).arg(size));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QImage image = ReadXpmImage(file.readAll());
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

HelpLauncher SetHelpLauncher(HelpLauncher launcher) {
    HelpLauncher previous = std::move(Launcher());
    Launcher() = std::move(launcher);
    return previous;
}

} // namespace afx
