#include "framework/edit.h"

#include <QValidator>

#include "core/box_rules.h"

namespace afx {

LimitedEdit LimitInsertion(const QString& before, const QString& after, int cursor,
                           int limitBytes) {
    const tolmeri::LimitedEdit r = tolmeri::LimitInsertion(
        before.toStdU16String(), after.toStdU16String(), cursor, limitBytes);
    return {QString::fromStdU16String(r.text), r.cursor};
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
