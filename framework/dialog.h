// framework: a modal dialog realised from a template held as data. Controls
// are placed in dialog units of the dialog font actually obtained, keep the
// template's order as tab order, and report their clicks to the handlers the
// dialog maps to their ids.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "framework/data_exchange.h"
#include "framework/dialog_template.h"
#include "framework/window_menu.h"

class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(const afx::DlgTemplate& dlgTemplate, QWidget* parent = nullptr);
    ~CDialog() override;

    // Builds the window from the template and initialises it, then runs it
    // modally; returns IDOK or IDCANCEL (whatever EndDialog was given).
    int DoModal();
    // DoModal over owner: a dialog object made without a parent window
    // becomes owner's dialog, centred on it. Like every modal run it blocks
    // its owner chain only, so windows of no dialog (help) stay usable.
    int DoModal(QWidget* owner);
    // The first half of DoModal: a fresh set of controls and OnInitDialog,
    // without showing anything (tests show the dialog themselves).
    void Create();
    void EndDialog(int result);
    // A template with WS_THICKFRAME: the user may size the window, down to
    // the template's size.
    bool IsSizable() const { return m_template.style & afx::WS_THICKFRAME; }

    // Runs the data exchange; with saveAndValidate, boxes to fields. False
    // when a box was refused (its message has been shown).
    bool UpdateData(bool saveAndValidate = true);

    QWidget* GetDlgItem(int id) const;
    QString GetDlgItemText(int id) const;
    // Sets a control's text as the program does: an edit box's whole (beyond
    // its typing limit), an editable combo box's edit text, a static's or a
    // button's text.
    void SetDlgItemText(int id, const QString& text);
    int GetTemplateId() const { return m_template.id; }
    afx::DluBase GetBaseUnits() const { return m_base; }

    // The dialog font: the template's size, first face of the preferred
    // Japanese faces that the machine has.
    static QFont DialogFont(int pointSize);
    // Dialog base units of a font, and the client size of a template's
    // window in its dialog font.
    static afx::DluBase BaseUnits(const QFont& font);
    static QSize ClientSize(const afx::DlgTemplate& dlgTemplate);

    // The window menu (WS_SYSMENU only, else null), made anew for every
    // showing; bRevert puts back the standard items.
    CMenu* GetSystemMenu(bool bRevert);
    // Opens the window menu at a screen position (Alt+Space, the
    // context-menu key or Shift+F10 outside an edit box: the dialog's
    // top-left corner; a right click on the free area: the cursor).
    void ShowSystemMenu(const QPoint& globalPos);
    // Runs a command of the window menu as choosing its item does.
    void SysCommand(unsigned nID) { OnSysCommand(nID, 0); }

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // A command of the window menu; lParam packs the cursor position. The
    // default moves, minimises, restores or closes (close as a cancel does).
    virtual void OnSysCommand(unsigned nID, qint64 lParam);

    // The message map: a click of the button id runs handler.
    void MapCommand(int id, std::function<void()> handler);

    // Runs the command of a control id, as a click of it does.
    void OnCommand(int id);

    void accept() override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    QWidget* CreateControl(const afx::DlgItem& item);

    const afx::DlgTemplate& m_template;
    afx::DluBase m_base{};
    std::vector<QPointer<QWidget>> m_items; // one per template item, in its order
    std::map<int, QWidget*> m_controls;     // by id (statics have none)
    std::map<int, std::function<void()>> m_commands;
    std::unique_ptr<CMenu> m_pSysMenu;
};
