#include "win_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

#include "help_viewer.h"
#include "message_box.h"
#include "translation.h"
#include "win_types.h"

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

int CWinApp::Run(int argc, char** argv) {
    QApplication app(argc, argv);
    afx::InstallQtTranslation();
    InitPaths(QCoreApplication::applicationFilePath());
    if (StartUp())
        app.exec();
    return ShutDown();
}

void CWinApp::InitPaths(const QString& executablePath) {
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
        afx::MessageBox(m_pMainWnd, QStringLiteral("ﾍﾙﾌﾟの起動に失敗しました。"),
                        afx::MbIcon::Exclamation);
}

namespace afx {

namespace {
// Position of the extension's "." in the last path component, or -1.
qsizetype ExtensionDot(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? dot : -1;
}
} // namespace

QString DisplayNameForExecutable(const QString& executablePath) {
    const QString name = executablePath.mid(executablePath.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.left(dot) : name;
}

QString HelpPathForExecutable(const QString& executablePath) {
    const qsizetype dot = ExtensionDot(executablePath);
    return (dot >= 0 ? executablePath.left(dot) : executablePath) + QStringLiteral(".HLP");
}

QString ModuleFileName() {
    const CWinApp* app = AfxGetApp();
    return app && !app->m_strModulePath.isEmpty() ? app->m_strModulePath
                                                  : QCoreApplication::applicationFilePath();
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
