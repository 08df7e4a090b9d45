#include "framework/dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QWindow>
#include <algorithm>

#include "framework/dialog_face.h"
#include "framework/edit.h"
#include "framework/list_box.h"
#include "framework/style_pixmaps.h"
#include "framework/win_app.h"

using namespace afx;

CDialog::CDialog(const DlgTemplate& dlgTemplate, QWidget* parent)
    : QDialog(parent), m_template(dlgTemplate) {
    setWindowTitle(QString::fromUtf8(m_template.caption));
    Qt::WindowFlags flags =
        (parent ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (m_template.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (m_template.style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (IsSizable() && (m_template.style & WS_MAXIMIZEBOX))
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    setFont(DialogFont(m_template.pointSize));
    setSizeGripEnabled(IsSizable());
    if (m_template.style & WS_SYSMENU) {
        // The keys of the window menu: Alt+Space opens it, Alt+F4 is its
        // 閉じる (where the window manager leaves that key to the program).
        connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this), &QShortcut::activated,
                this, [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
        connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this), &QShortcut::activated,
                this, [this] { OnSysCommand(SC_CLOSE, 0); });
    }
}

CDialog::~CDialog() = default;

QFont CDialog::DialogFont(int pointSize) {
    return DialogFace(pointSize);
}

DluBase CDialog::BaseUnits(const QFont& font) {
    return DialogBaseUnits(font);
}

QSize CDialog::ClientSize(const DlgTemplate& dlgTemplate) {
    const DluBase base = BaseUnits(DialogFont(dlgTemplate.pointSize));
    return {DluToPixelsX(dlgTemplate.cx, base), DluToPixelsY(dlgTemplate.cy, base)};
}

void CDialog::BuildControls() {
    // Every showing gets fresh controls, as a window made anew from the
    // template would have.
    for (const QPointer<QWidget>& w : m_items)
        delete w.data();
    m_items.clear();
    m_controls.clear();

    m_base = BaseUnits(font());
    const QSize size(DluToPixelsX(m_template.cx, m_base), DluToPixelsY(m_template.cy, m_base));
    if (IsSizable()) {
        // The template's size is the smallest; the user may make it larger.
        setMinimumSize(size);
        resize(size);
    } else {
        setFixedSize(size);
    }

    QWidget* previousTabStop = nullptr;
    for (const DlgItem& item : m_template.items) {
        QWidget* w = CreateControl(item);
        m_items.emplace_back(w);
        const PixelRect r = DluToPixels(item.x, item.y, item.cx, item.cy, m_base);
        const int height =
            item.cls == ControlClass::kComboBox ? DluToPixelsY(kComboRowDlu, m_base) : r.height;
        w->setGeometry(r.x, r.y, r.width, height);
        w->setVisible(item.style & WS_VISIBLE);
        if (item.id != IDC_STATIC)
            m_controls[item.id] = w;
        if (item.style & WS_TABSTOP) {
            w->setFocusPolicy(Qt::StrongFocus);
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, w);
            previousTabStop = w;
        } else if (w->focusPolicy() != Qt::NoFocus) {
            w->setFocusPolicy(Qt::ClickFocus);
        }
    }
}

QWidget* CDialog::CreateControl(const DlgItem& item) {
    const QString text = QString::fromUtf8(item.text ? item.text : "");
    switch (item.cls) {
    case ControlClass::kButton: {
        if ((item.style & BS_TYPEMASK) == BS_GROUPBOX) {
            // A frame with a title; the controls inside it stay its siblings,
            // so it must not take their clicks or cover them.
            PrimeGroupBoxFrame();
            auto* box = new QGroupBox(text, this);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setFocusPolicy(Qt::NoFocus);
            box->lower();
            return box;
        }
        if ((item.style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
            auto* check = new QCheckBox(text, this);
            const int id = item.id;
            connect(check, &QCheckBox::clicked, this, [this, id] { OnCommand(id); });
            return check;
        }
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(true);
        button->setDefault((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        const int id = item.id;
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        return button;
    }
    case ControlClass::kEdit: {
        auto* edit = new CEdit(this);
        edit->setAlignment((item.style & ES_RIGHT) ? Qt::AlignRight : Qt::AlignLeft);
        edit->setFrame(item.style & WS_BORDER);
        return edit;
    }
    case ControlClass::kListBox: {
        auto* list =
            new CListBoxWidget(this, (item.style & LBS_USETABSTOPS) ? DluToPixelsX(32, m_base) : 0);
        if (item.style & LBS_DISABLENOSCROLL)
            list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // The templates' list boxes have no horizontal bar (no WS_HSCROLL);
        // an item's raw text with its TABs must not ask for one.
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setFrameShape((item.style & WS_BORDER) ? QFrame::Box : QFrame::NoFrame);
        return list;
    }
    case ControlClass::kComboBox: {
        auto* combo = new QComboBox(this);
        if ((item.style & CBS_TYPEMASK) == CBS_DROPDOWN) {
            // An edit box over the list: typing picks nothing by itself.
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
        }
        // As many rows as the dropped list's height holds.
        const int rows = (DluToPixelsY(item.cy - kComboRowDlu, m_base)) /
                         std::max(1, QFontMetrics(font()).height() + 2);
        combo->setMaxVisibleItems(std::max(rows, 1));
        return combo;
    }
    case ControlClass::kStatic:
        break;
    }
    auto* label = new QLabel(this);
    if ((item.style & SS_TYPEMASK) == SS_ICON) {
        const QIcon icon = afx::LoadIcon(text.toInt());
        label->setPixmap(icon.pixmap(32, 32));
    } else {
        label->setText(text);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return label;
}

void CDialog::Create() {
    m_pSysMenu.reset(); // a new window starts with the standard window menu
    BuildControls();
    if (OnInitDialog()) {
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_template.items[i].style & WS_TABSTOP) {
                m_items[i]->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
}

int CDialog::DoModal() {
    Create();
    setWindowModality(Qt::WindowModal);
    return exec();
}

int CDialog::DoModal(QWidget* owner) {
    if (owner && owner != this && parentWidget() != owner)
        setParent(owner, (windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    return DoModal();
}

void CDialog::EndDialog(int result) {
    done(result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QString CDialog::GetDlgItemText(int id) const {
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id)))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id)))
        return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        return button->text();
    return QString();
}

void CDialog::SetDlgItemText(int id, const QString& text) {
    if (auto* edit = qobject_cast<CEdit*>(GetDlgItem(id)))
        edit->SetWindowText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(GetDlgItem(id)); combo && combo->isEditable())
        combo->setEditText(text);
    else if (auto* label = qobject_cast<QLabel*>(GetDlgItem(id)))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)))
        button->setText(text);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

CMenu* CDialog::GetSystemMenu(bool bRevert) {
    if (!(m_template.style & WS_SYSMENU))
        return nullptr;
    if (bRevert || !m_pSysMenu) {
        m_pSysMenu =
            CMenu::WindowMenu(this, m_template.style & WS_MINIMIZEBOX, [this](unsigned id) {
                const QPoint at = QCursor::pos();
                OnSysCommand(id, (static_cast<qint64>(at.y() & 0xFFFF) << 16) | (at.x() & 0xFFFF));
            });
    }
    return m_pSysMenu.get();
}

void CDialog::ShowSystemMenu(const QPoint& globalPos) {
    if (CMenu* menu = GetSystemMenu(false))
        menu->TrackPopupMenu(globalPos);
}

void CDialog::OnSysCommand(unsigned nID, qint64) {
    switch (nID & 0xFFF0) {
    case SC_MOVE:
        // The window manager moves the window; where it cannot, nothing happens.
        if (QWindow* window = windowHandle())
            window->startSystemMove();
        break;
    case SC_MINIMIZE:
        showMinimized();
        break;
    case SC_RESTORE:
        showNormal();
        break;
    case SC_MAXIMIZE:
        if (IsSizable() && (m_template.style & WS_MAXIMIZEBOX))
            showMaximized();
        break;
    case SC_CLOSE:
        close(); // the close box: a cancel
        break;
    default:
        break; // sizing: the window manager's frame does it, where there is one
    }
}

void CDialog::MapCommand(int id, std::function<void()> handler) {
    m_commands[id] = std::move(handler);
}

void CDialog::OnCommand(int id) {
    const auto it = m_commands.find(id);
    if (it != m_commands.end())
        it->second();
    else if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

void CDialog::accept() {
    OnCommand(IDOK);
}

void CDialog::reject() {
    OnCommand(IDCANCEL);
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        // F1 alone asks for this dialog's help; with Shift, Ctrl or Alt it
        // does nothing.
        const Qt::KeyboardModifiers held =
            event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (!held && AfxGetApp())
            AfxGetApp()->WinHelp(HID_BASE_RESOURCE + static_cast<unsigned>(GetTemplateId()));
        event->accept();
        return;
    }
    // The context-menu key and Shift+F10 ask the focused control for its
    // menu, as a right click on it does: an edit box shows its own, anything
    // else passes the request on to the dialog (contextMenuEvent). Where the
    // window system turns the key into that request itself, the key arrives
    // here only after the menu has taken the keyboard, so nothing opens twice.
    const Qt::KeyboardModifiers held =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if ((event->key() == Qt::Key_Menu && !held) ||
        (event->key() == Qt::Key_F10 && held == Qt::ShiftModifier)) {
        QWidget* target = focusWidget() ? focusWidget() : this;
        const QPoint at = target->rect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at),
                                  event->modifiers());
        QApplication::sendEvent(target, &request);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard, a request no control took: the window menu where
    // Alt+Space opens it.
    if (event->reason() == QContextMenuEvent::Keyboard && GetSystemMenu(false)) {
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
        event->accept();
        return;
    }
    // A right click on the free area (background, static texts, group
    // frames: nothing that takes the focus) opens the window menu; controls
    // keep their own menus.
    const QWidget* child = childAt(event->pos());
    if (event->reason() == QContextMenuEvent::Mouse &&
        (!child || child->focusPolicy() == Qt::NoFocus) && GetSystemMenu(false)) {
        ShowSystemMenu(event->globalPos());
        event->accept();
        return;
    }
    QDialog::contextMenuEvent(event);
}
