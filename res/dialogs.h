// res: the dialog templates, held as data in dialog units.
#pragma once

#include "framework/dialog_template.h"

namespace res {

extern const afx::DlgTemplate kAboutDialog;            // 100
extern const afx::DlgTemplate kMainDialog;             // 102
extern const afx::DlgTemplate kLocationDialog;         // 129
extern const afx::DlgTemplate kEraDateDialog;          // 130
extern const afx::DlgTemplate kYearChartDialog;        // 131
extern const afx::DlgTemplate kHourNameDialog;         // 132
extern const afx::DlgTemplate kHistoricalPlacesDialog; // 133

// The string table; an unknown id gives an empty string.
const char* LoadStringResource(int id);

} // namespace res
