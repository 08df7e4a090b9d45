// framework: the data exchange between a dialog's fields and its boxes. Both
// directions walk the same bindings in the same order; taking values from the
// boxes stops at the first box that is refused.
#pragma once

#include <QString>

#include "core/box_rules.h"

class CDialog;

namespace afx {

// The integer rule of a number box, on its text as CP932 bytes (the core's,
// which the web edition's boxes follow too).
using tolmeri::ParseDialogInteger;

// Decimal text of a field, as the boxes show it ("%d").
QString FormatDialogInteger(int value);

} // namespace afx

class CDataExchange {
public:
    // quiet: a refused box shows no message and the focus stays where it is;
    // the exchange still stops there, and m_idLastControl names the box.
    CDataExchange(CDialog* dialog, bool saveAndValidate, bool quiet = false)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate), m_bQuiet(quiet) {}

    // Refuses the last box: focus to it with all its text selected (unless
    // quiet), and every later binding of this exchange does nothing.
    void Fail();
    bool Failed() const { return m_bFailed; }
    // Tells the user why the last box is refused (unless quiet), then Fail.
    void Refuse(const QString& message);

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate; // true: boxes to fields (with checks)
    bool m_bQuiet;
    int m_idLastControl = 0;

private:
    bool m_bFailed = false;
};

// A number box and an int field.
void DDX_Text(CDataExchange* pDX, int id, int& value);
// A text box and a string field.
void DDX_Text(CDataExchange* pDX, int id, QString& value);
// The length limit of the last text box, in CP932 bytes: the box's typing
// limit on the way out, a refusal with its message on the way in.
void DDV_MaxChars(CDataExchange* pDX, const QString& value, int maxBytes);
// The selected item of a combo box (-1 for none) and an int field.
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
// A check box and an int field: 1 checked, 0 not.
void DDX_Check(CDataExchange* pDX, int id, int& value);
