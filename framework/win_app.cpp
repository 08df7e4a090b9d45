#include "framework/win_app.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include "framework/help_viewer.h"
#include "framework/message_box.h"
#include "framework/translation.h"
#include "framework/win_types.h"

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
    QApplication app(argc, argv);
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
    QIcon icon;
    for (int size : {32, 16})
        icon.addFile(QStringLiteral(":/icons/%1-%2.xpm").arg(id).arg(size), QSize(size, size));
    return icon;
}

HelpLauncher SetHelpLauncher(HelpLauncher launcher) {
    HelpLauncher previous = std::move(Launcher());
    Launcher() = std::move(launcher);
    return previous;
}

} // namespace afx
