#include "framework/list_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>

#include "framework/data_exchange.h"
#include "framework/dialog.h"

namespace {

// Draws an item's text with its TABs expanded to the list's tab stops.
class CTabStopDelegate : public QStyledItemDelegate {
public:
    CTabStopDelegate(QObject* parent, int tabStop)
        : QStyledItemDelegate(parent), m_nTabStop(tabStop) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        QTextOption to(Qt::AlignLeft | Qt::AlignVCenter);
        to.setTabStopDistance(m_nTabStop);
        to.setWrapMode(QTextOption::NoWrap);
        const QRect r =
            style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(1, 0, 0, 0);
        painter->save();
        painter->setPen(opt.palette.color(
            (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        painter->drawText(QRectF(r), text, to);
        painter->restore();
    }

private:
    int m_nTabStop;
};

} // namespace

CListBoxWidget::CListBoxWidget(QWidget* parent, int tabStopPixels)
    : QListWidget(parent), m_nTabStop(tabStopPixels) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    if (m_nTabStop > 0)
        setItemDelegate(new CTabStopDelegate(this, m_nTabStop));
}

std::optional<QAbstractItemView::CursorAction> CListBoxWidget::ListMove(int key) {
    switch (key) {
    case Qt::Key_Home:
        return MoveHome;
    case Qt::Key_End:
        return MoveEnd;
    case Qt::Key_PageUp:
        return MovePageUp;
    case Qt::Key_PageDown:
        return MovePageDown;
    case Qt::Key_Up:
    case Qt::Key_Left:
        return MoveUp;
    case Qt::Key_Down:
    case Qt::Key_Right:
        return MoveDown;
    default:
        return std::nullopt;
    }
}

void CListBoxWidget::keyPressEvent(QKeyEvent* event) {
    const std::optional<CursorAction> move = ListMove(event->key());
    const bool held = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                            Qt::AltModifier | Qt::MetaModifier);
    if ((!move && event->key() != Qt::Key_Space) || held || count() == 0) {
        QListWidget::keyPressEvent(event);
        return;
    }
    // Without a caret yet, the caret is on the first item.
    const QModelIndex caret = currentIndex().isValid() ? currentIndex() : model()->index(0, 0);
    QModelIndex target = caret;
    if (move) {
        selectionModel()->setCurrentIndex(caret, QItemSelectionModel::NoUpdate);
        target = moveCursor(*move, event->modifiers());
        if (!target.isValid())
            target = caret;
    }
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
    event->accept();
}

int CListBox::InsertString(int index, const QString& text) {
    if (!m_pList)
        return -1;
    const int count = m_pList->count();
    if (index < 0 || index > count)
        index = count;
    m_pList->insertItem(index, text);
    return index;
}

int CListBox::GetCurSel() const {
    if (!m_pList)
        return -1;
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    return selected.isEmpty() ? -1 : m_pList->row(selected.first());
}

void DDX_Control(CDataExchange* pDX, int id, CListBox& control) {
    if (pDX->Failed())
        return;
    pDX->m_idLastControl = id;
    // Every showing has a fresh list box; bind to the current one.
    control.Attach(qobject_cast<CListBoxWidget*>(pDX->m_pDlgWnd->GetDlgItem(id)));
}
