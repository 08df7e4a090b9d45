// framework: the dialogs' face, in Qt's GUI module alone, so that the
// pictures of the charts draw in it without the dialogs.
#pragma once

#include <QFont>
#include <QStringList>

#include "framework/dialog_template.h"

namespace afx {

// The face's families in order of preference: the platform's dialog face
// under its English and its Japanese name, then the faces that stand in for
// it, then the configuration's sans serif.
const QStringList& PreferredDialogFamilies();

// Of preferred, the first family installed holds (compared as the font
// database compares names, without regard to case) alone; with none of them
// installed, preferred as it stands. One family alone is the face the toolkit
// would pick from the whole list, and spares it a search of the font
// configuration for fallbacks in every script the texts use.
QStringList FamiliesToRequest(const QStringList& preferred, const QStringList& installed);

// The dialogs' face at pointSize points, at the primary screen's vertical
// resolution (96 dpi without a screen), in whole pixels as the platform makes
// a dialog font: rounded MulDiv.
QFont DialogFace(int pointSize);

// Dialog base units of font as measured: the 52 letters' advance and the
// font's height (BaseUnitsFromMetrics).
DluBase DialogBaseUnits(const QFont& font);

} // namespace afx
