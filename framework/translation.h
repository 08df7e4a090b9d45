// framework: Qt's own texts (the edit boxes' menus, standard buttons) in
// Japanese, the language every text of the program is written in.
#pragma once

class QTranslator;

namespace afx {

// Loads Qt's Japanese translation (qtbase_ja from Qt's translations folder)
// into the running application. Returns the installed translator, owned by
// the application object (deleting it uninstalls it), or null when the
// translation is not there: Qt's texts then stay English.
QTranslator* InstallQtTranslation();

} // namespace afx
