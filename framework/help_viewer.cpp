#include "help_viewer.h"

namespace afx {

bool ShowHelpFile(QWidget*, const QString&, unsigned, unsigned) {
    return false;
}

} // namespace afx
