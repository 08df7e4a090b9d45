// ui: the list of preset places (場所をリストから選ぶ). It shows the presets
// in columns and hands the chosen entry back in m_strSelected: the entry
// itself after OK, the cancel marker after any cancel.
#pragma once

#include <QByteArray>
#include <array>

#include "core/presets.h"
#include "framework/dialog.h"
#include "framework/list_box.h"

class CLocationListDlg : public CDialog {
    Q_OBJECT
public:
    explicit CLocationListDlg(QWidget* parent = nullptr);

    // What m_strSelected holds after a cancel: the one byte 0xFF, which no
    // entry can equal (the entries are UTF-8, where that byte never occurs).
    static QByteArray CancelMarker() { return QByteArray(1, '\xFF'); }

    // The entries of this showing, as UTF-8 bytes, index for index as listed.
    std::array<QByteArray, tolmeri::kPresetPlaceCount> m_strPlaces;
    // The result: empty until the first OK or cancel, then an entry of
    // m_strPlaces or the cancel marker. It survives from one showing to the
    // next.
    QByteArray m_strSelected;
    CListBox m_listPlaces;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};
