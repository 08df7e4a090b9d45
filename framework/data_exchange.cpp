#include "framework/data_exchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <climits>

#include "framework/cp932.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/message_box.h"

namespace afx {

std::optional<int> ParseDialogInteger(std::string_view text) {
    text = text.substr(0, std::min<std::size_t>(text.size(), 31));
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    while (i < text.size() && blank(text[i]))
        ++i;
    const std::size_t first = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t digitsStart = i;
    long long magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt;
    while (i < text.size() && blank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    if (value == 0 && text[first] != '0')
        return std::nullopt;
    return static_cast<int>(value);
}

QString FormatDialogInteger(int value) {
    return QString::number(value);
}

} // namespace afx

void CDataExchange::Fail() {
    m_bFailed = true;
    if (m_bQuiet)
        return;
    if (QWidget* box = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
        box->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(box))
            edit->selectAll();
    }
}

void CDataExchange::Refuse(const QString& message) {
    if (!m_bQuiet)
        afx::MessageBox(m_pDlgWnd, message, afx::MbIcon::kExclamation);
    Fail();
}

namespace {

// Sets a box's text unless it already shows exactly that.
void ShowText(CDialog* dialog, int id, const QString& text) {
    if (auto* edit = qobject_cast<CEdit*>(dialog->GetDlgItem(id))) {
        if (edit->text() != text)
            edit->SetWindowText(text);
    }
}

} // namespace

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    pDX->m_idLastControl = id;
    if (!pDX->m_bSaveAndValidate) {
        ShowText(pDX->m_pDlgWnd, id, afx::FormatDialogInteger(value));
        return;
    }
    const QByteArray bytes = afx::ToCp932(pDX->m_pDlgWnd->GetDlgItemText(id));
    const std::optional<int> parsed =
        afx::ParseDialogInteger(std::string_view(bytes.constData(), bytes.size()));
    if (!parsed) {
        pDX->Refuse(QStringLiteral("整数を入力してください。"));
        return;
    }
    value = *parsed;
}

void DDX_Text(CDataExchange* pDX, int id, QString& value) {
    if (pDX->Failed())
        return;
    pDX->m_idLastControl = id;
    if (!pDX->m_bSaveAndValidate)
        ShowText(pDX->m_pDlgWnd, id, value);
    else
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
}

void DDV_MaxChars(CDataExchange* pDX, const QString& value, int maxBytes) {
    if (pDX->Failed())
        return;
    if (!pDX->m_bSaveAndValidate) {
        if (auto* edit = qobject_cast<CEdit*>(pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl)))
            edit->SetLimitText(maxBytes);
        return;
    }
    if (afx::ToCp932(value).size() > maxBytes)
        pDX->Refuse(QStringLiteral("%1 文字以内で入力してください。").arg(maxBytes));
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    if (pDX->Failed())
        return;
    pDX->m_idLastControl = id;
    auto* combo = qobject_cast<QComboBox*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
        index = combo->currentIndex();
    else if (combo->currentIndex() != index)
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    pDX->m_idLastControl = id;
    auto* check = qobject_cast<QCheckBox*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!check)
        return;
    if (pDX->m_bSaveAndValidate)
        value = check->isChecked() ? 1 : 0;
    else
        check->setChecked(value != 0);
}
