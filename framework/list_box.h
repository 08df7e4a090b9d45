// framework: the list box of the dialogs. Items keep their insertion order,
// one can be selected, and TABs in an item's text jump to tab stops a fixed
// number of pixels apart, so TAB-separated fields line up in columns; a
// column moves right where a field of the one before would reach it, so no
// two fields ever touch.
#pragma once

#include <QListWidget>
#include <optional>
#include <vector>

class CDataExchange;

class CListBoxWidget : public QListWidget {
    Q_OBJECT
public:
    // tabStopPixels 0: TABs are drawn as they come.
    CListBoxWidget(QWidget* parent, int tabStopPixels);
    int TabStopPixels() const { return m_nTabStop; }

    // Where the fields of the items begin, in pixels from the text's left:
    // field k at the k-th tab stop, or further right by the widest field
    // before it and a gap of an average character.
    std::vector<int> ColumnStarts() const;

    // The list made as high as a whole number of rows, as near its height
    // as bottomLimit (the lowest y its frame may reach) allows: a row cut in
    // half at the bottom at one scale is whole at every scale.
    void FitWholeRows(int bottomLimit);

protected:
    // The keys of a list box: Home, End, Page Up, Page Down and the arrows
    // select the item they move to, also from a list where nothing is
    // selected yet (the caret then stands on the first item, and Home or Up
    // select it); Space selects the item under the caret.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The move of a navigation key of a one-column list (left and right step
    // like up and down); none for any other key.
    static std::optional<CursorAction> ListMove(int key);

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
