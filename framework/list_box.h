// framework: the list box of the dialogs. Items keep their insertion order,
// one can be selected, and TABs in an item's text jump to tab stops a fixed
// number of pixels apart, so TAB-separated fields line up in columns.
#pragma once

#include <QListWidget>

class CDataExchange;

class CListBoxWidget : public QListWidget {
    Q_OBJECT
public:
    // tabStopPixels 0: TABs are drawn as they come.
    CListBoxWidget(QWidget* parent, int tabStopPixels);
    int TabStopPixels() const { return m_nTabStop; }

private:
    int m_nTabStop;
};

// The control object a dialog binds to its list box by the data exchange.
class CListBox {
public:
    void Attach(CListBoxWidget* list) { m_pList = list; }

    // Inserts text at index (-1: at the end); returns the index, or -1.
    int InsertString(int index, const QString& text);
    // The selected index, or -1 when nothing is selected.
    int GetCurSel() const;

private:
    CListBoxWidget* m_pList = nullptr;
};

// Binds the list box of id to the control object.
void DDX_Control(CDataExchange* pDX, int id, CListBox& control);
