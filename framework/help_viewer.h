// framework: the help viewer. It shows the program's help file in a window
// of its own, at the section of a help context, and reuses that window while
// it is open.
//
// The help file is HTML in UTF-8 (declared by <meta charset="utf-8">), whatever
// its file name. The viewer reads it, and the pictures, style sheets and
// pages it refers to, only from regular files of at most 16 MiB in its own
// folder, opened without waiting (a pipe or a device is refused, never
// read); it never follows a link elsewhere. Each help context is a section
// that begins at the anchor named "context-" followed by the context in
// decimal, for example <h2 id="context-131174"> or <a name="context-1"></a>.
// A context without such an anchor shows the file from its top. A link to
// "syscommand:N" runs command N of the program's window menu
// (<a href="syscommand:16"> opens the About box), while no other dialog is
// open over the main window.
#pragma once

#include <QByteArray>
#include <QString>

class QTextBrowser;
class QWidget;

namespace afx {

// Shows helpFile (a path as bytes) at the section of data (for
// HELP_CONTEXT); false, leaving any open help window as it was, when the
// file cannot be read or the command is not HELP_CONTEXT. window is the program's window that asks;
// the help window opens beside it but belongs to no dialog, so it stays usable while dialogs are
// modal.
bool ShowHelpFile(QWidget* window, const QByteArray& helpFile, unsigned command, unsigned data);

// The largest file the viewer reads.
inline constexpr qint64 kMaxHelpFileSize = 16 * 1024 * 1024;

// What the framework says when help cannot be shown.
QString HelpFailureText();

// The anchor name of a help context ("context-131174").
QString HelpAnchor(unsigned context);

// The browser of the open help window, or null when none is open.
QTextBrowser* HelpBrowser();

} // namespace afx
