// framework: the help viewer. It shows the program's help file (HTML) in a
// window of its own, at the section of a help context, and reuses that window
// while it is open.
#pragma once

#include <QString>

class QWidget;

namespace afx {

// Shows helpFile at the section of data (for HELP_CONTEXT); false when the
// file cannot be read or the command is not understood.
bool ShowHelpFile(QWidget* window, const QString& helpFile, unsigned command, unsigned data);

} // namespace afx
