// framework: the edit box of the dialogs. It holds only text that code page
// 932 can store, and with a limit set it takes no more bytes of it by typing,
// pasting or dropping, as the platform's text limit does. Text set by the
// program itself is not cut.
#pragma once

#include <QLineEdit>
#include <QString>

namespace afx {

// What is left of an edit that turned before into after: of the inserted
// characters (the part that differs between the two), control characters and
// those CP932 cannot hold are dropped, and with limitBytes > 0 only as many as
// fit the limit are kept (the core's rule, core/box_rules.h, which the web
// edition's boxes follow too). cursor is the cursor position in after; the
// result carries the new one.
struct LimitedEdit {
    QString text;
    int cursor;
};
LimitedEdit LimitInsertion(const QString& before, const QString& after, int cursor, int limitBytes);

} // namespace afx

class CEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CEdit(QWidget* parent = nullptr);

    // The limit in CP932 bytes; 0 for none.
    void SetLimitText(int bytes) { m_nLimitBytes = bytes; }

    // Sets the text as the program does: kept whole, even beyond the limit.
    void SetWindowText(const QString& text);

private:
    friend class CEditValidator;
    int m_nLimitBytes = 0;
    bool m_bProgrammatic = false;
    QString m_strLast; // the text before the edit being validated
};
