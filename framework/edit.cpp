#include "framework/edit.h"

#include <QValidator>

#include "framework/cp932.h"

namespace afx {

namespace {

// Code points of s as separate strings (surrogate pairs kept together).
QStringList Characters(const QString& s) {
    QStringList out;
    for (qsizetype i = 0; i < s.size();) {
        const qsizetype n = (s[i].isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
        out << s.mid(i, n);
        i += n;
    }
    return out;
}

int ByteLength(const QString& s) {
    const int n = Cp932Length(s);
    return n < 0 ? static_cast<int>(ToCp932(s).size()) : n;
}

} // namespace

LimitedEdit LimitInsertion(const QString& before, const QString& after, int cursor,
                           int limitBytes) {
    // The edit replaced before[p, before.size() - s) by after[p, after.size() - s).
    qsizetype p = 0;
    const qsizetype shortest = std::min(before.size(), after.size());
    while (p < shortest && before[p] == after[p])
        ++p;
    qsizetype s = 0;
    while (s < shortest - p && before[before.size() - 1 - s] == after[after.size() - 1 - s])
        ++s;
    // Never split a surrogate pair at either end of the inserted part.
    if (p > 0 && p < after.size() && after[p].isLowSurrogate())
        --p;
    if (s > 0 && s < after.size() - p && after[after.size() - s].isLowSurrogate())
        --s;

    const QString inserted = after.mid(p, after.size() - p - s);
    int budget = limitBytes > 0
                     ? limitBytes - ByteLength(before.left(p)) - ByteLength(before.right(s))
                     : INT_MAX;
    QString kept;
    for (const QString& ch : Characters(inserted)) {
        const int n = Cp932Length(ch);
        if (n < 0)
            continue; // CP932 cannot hold it: it could never be saved
        if (ch.size() == 1 && (ch[0].unicode() < 0x20 || ch[0].unicode() == 0x7F))
            continue; // a pasted line break or tab has no place in a one-line box
        if (n > budget)
            break;
        budget -= n;
        kept += ch;
    }
    if (kept == inserted)
        return {after, cursor};
    return {after.left(p) + kept + after.right(s), static_cast<int>(p + kept.size())};
}

} // namespace afx

class CEditValidator : public QValidator {
public:
    explicit CEditValidator(CEdit* edit) : QValidator(edit), m_pEdit(edit) {}

    State validate(QString& input, int& pos) const override {
        if (m_pEdit->m_bProgrammatic)
            return Acceptable;
        const afx::LimitedEdit r =
            afx::LimitInsertion(m_pEdit->m_strLast, input, pos, m_pEdit->m_nLimitBytes);
        input = r.text;
        pos = std::min(r.cursor, static_cast<int>(input.size()));
        return Acceptable;
    }

private:
    CEdit* m_pEdit;
};

CEdit::CEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new CEditValidator(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { m_strLast = t; });
}

void CEdit::SetWindowText(const QString& text) {
    m_bProgrammatic = true;
    setText(text);
    m_bProgrammatic = false;
    m_strLast = text;
}
