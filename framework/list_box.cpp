#include "framework/list_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <algorithm>

#include "framework/data_exchange.h"
#include "framework/dialog.h"

namespace {

// Draws an item's text with its TABs expanded to the list's columns.
class CTabStopDelegate : public QStyledItemDelegate {
public:
    explicit CTabStopDelegate(CListBoxWidget* list) : QStyledItemDelegate(list), m_pList(list) {}

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
        to.setWrapMode(QTextOption::NoWrap);
        const QRect r =
            style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(1, 0, 0, 0);
        painter->save();
        painter->setPen(opt.palette.color(
            (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(opt.font);
        const std::vector<int> columns = m_pList->ColumnStarts();
        const QStringList fields = text.split(u'\t');
        for (qsizetype k = 0; k < fields.size(); ++k) {
            const int x = k < static_cast<qsizetype>(columns.size()) ? columns[k] : columns.back();
            painter->drawText(QRectF(r.adjusted(x, 0, 0, 0)), fields[k], to);
        }
        painter->restore();
    }

private:
    CListBoxWidget* m_pList;
};

} // namespace

CListBoxWidget::CListBoxWidget(QWidget* parent, int tabStopPixels)
    : QListWidget(parent), m_nTabStop(tabStopPixels) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    if (m_nTabStop > 0)
        setItemDelegate(new CTabStopDelegate(this));
}

std::vector<int> CListBoxWidget::ColumnStarts() const {
    const QFontMetrics fm(font());
    // The widest field in each column.
    std::vector<int> widest;
    for (int row = 0; row < count(); ++row) {
        const QStringList fields = item(row)->text().split(u'\t');
        if (widest.size() < static_cast<std::size_t>(fields.size()))
            widest.resize(static_cast<std::size_t>(fields.size()), 0);
        for (qsizetype k = 0; k < fields.size(); ++k)
            widest[static_cast<std::size_t>(k)] =
                std::max(widest[static_cast<std::size_t>(k)], fm.horizontalAdvance(fields[k]));
    }
    std::vector<int> starts{0};
    const int gap = std::max(fm.averageCharWidth(), 1);
    for (std::size_t k = 1; k < widest.size(); ++k)
        starts.push_back(
            std::max(static_cast<int>(k) * m_nTabStop, starts.back() + widest[k - 1] + gap));
    return starts;
}

void CListBoxWidget::FitWholeRows(int bottomLimit) {
    const int row = count() > 0 ? sizeHintForRow(0) : 0;
    if (row <= 0)
        return;
    const int frame = 2 * frameWidth();
    const int inside = std::max(height() - frame, row);
    int rows = (inside + row - 1) / row; // the cut row made whole
    if (y() + rows * row + frame > bottomLimit)
        rows = std::max(inside / row, 1);
    resize(width(), rows * row + frame);
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
