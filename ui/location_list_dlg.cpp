#include "ui/location_list_dlg.h"

#include "res/dialogs.h"
#include "res/resource.h"

CLocationListDlg::CLocationListDlg(QWidget* parent) : CDialog(res::kLocationDialog, parent) {}

void CLocationListDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LOCATION_LIST, m_listPlaces);
}

bool CLocationListDlg::OnInitDialog() {
    CDialog::OnInitDialog(); // binds m_listPlaces to this showing's list box
    for (std::size_t i = 0; i < m_strPlaces.size(); ++i) {
        const std::string_view entry = tolmeri::kPresetPlaces[i];
        m_strPlaces[i] = QByteArray(entry.data(), static_cast<qsizetype>(entry.size()));
    }
    for (std::size_t i = 0; i < m_strPlaces.size(); ++i)
        m_listPlaces.InsertString(static_cast<int>(i), QString::fromUtf8(m_strPlaces[i]));
    // Whole rows at every scale, the frame at least 2 dialog units above
    // the buttons.
    if (auto* list = qobject_cast<CListBoxWidget*>(GetDlgItem(IDC_LOCATION_LIST))) {
        const QWidget* ok = GetDlgItem(afx::IDOK);
        const int limit = (ok ? ok->y() : height()) - afx::DluToPixelsY(2, GetBaseUnits());
        list->FitWholeRows(limit);
    }
    return true; // focus to OK; nothing selected, the list at its top
}

void CLocationListDlg::OnOK() {
    // OK without a choice is ignored: the list stays open.
    const int selected = m_listPlaces.GetCurSel();
    if (selected < 0)
        return;
    m_strSelected = m_strPlaces[static_cast<std::size_t>(selected)];
    CDialog::OnOK();
}

void CLocationListDlg::OnCancel() {
    // Every cancel means "apply nothing", a highlighted item included.
    m_strSelected = CancelMarker();
    CDialog::OnCancel();
}
