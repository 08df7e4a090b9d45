// framework: the application object. It owns the program's whole run: it
// makes the Qt application, names the program after its executable, finds the
// help file beside it, and calls StartUp and then ShutDown.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QString>
#include <functional>
#include <string>

class QWidget;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's life; returns the process exit code. executablePath is
    // the running executable's full path byte for byte (the toolkit's own
    // path is used when it is empty).
    int Run(int argc, char** argv, const std::string& executablePath);

    // The display name and help path of an executable (Run does this with
    // the running one; tests with a path of their choice). Paths are bytes
    // as the file system has them, whether or not they are UTF-8.
    void InitPaths(const QByteArray& executablePath);

    // True would ask for a message loop of the application's own; this
    // framework's programs live in their modal dialogs and return false.
    virtual bool StartUp() { return false; }
    virtual int ShutDown() { return 0; }

    // Opens help for a context: cancels any open menu and mouse capture,
    // starts the viewer for the help file, and reports a failure in a box.
    void WinHelp(unsigned data, unsigned command);
    void WinHelp(unsigned data);

    QWidget* m_pMainWnd = nullptr;
    QByteArray m_strModulePath;   // the executable's full path
    QString m_strDisplayName;     // the caption of every message box
    QByteArray m_strHelpFilePath; // the executable's path with ".HLP"
};

// The one application object, or null before it exists.
CWinApp* AfxGetApp();

namespace afx {

// The executable's file name without its extension (from the last "."), as
// text (bytes that are not UTF-8 show as replacement marks).
QString DisplayNameForExecutable(const QByteArray& executablePath);
// The executable's path with its extension replaced by ".HLP" (appended when
// the file name has none).
QByteArray HelpPathForExecutable(const QByteArray& executablePath);

// The running executable's full path, as the application object knows it.
QByteArray ModuleFileName();

// Caption of the program's message boxes: the display name, or the Qt
// application name before an application object ran.
QString AppDisplayName();

// Icon resource id: its 32- and 16-pixel pictures from the Qt resources
// ":/icons/<id>-32.xpm" and ":/icons/<id>-16.xpm".
QIcon LoadIcon(int id);

// The help viewer behind WinHelp: true when it showed the file at the
// context. Tests replace it to record the calls.
using HelpLauncher = std::function<bool(QWidget* window, const QByteArray& helpFile,
                                        unsigned command, unsigned data)>;
HelpLauncher SetHelpLauncher(HelpLauncher launcher);

} // namespace afx
