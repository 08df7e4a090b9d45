#include "framework/data_exchange.h"

#include <QCheckBox>
#include <QComboBox>

#include "framework/cp932.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/message_box.h"

namespace afx {

QString FormatDialogInteger(int value) {
    return QString::fromStdString(tolmeri::FormatDialogInteger(value));
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
        pDX->Refuse(
            QString::fromUtf8(tolmeri::kNotAnIntegerMessage.data(),
                              static_cast<qsizetype>(tolmeri::kNotAnIntegerMessage.size())));
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
    if (tolmeri::TextExceeds(value.toStdString(), maxBytes))
        pDX->Refuse(QString::fromStdString(tolmeri::TooLongTextMessage(maxBytes)));
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
