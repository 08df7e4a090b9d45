#include "framework/window_menu.h"

#include <QAction>
#include <QMenu>

#include "framework/win_types.h"

namespace {
// Where an item keeps its command id; separators have none.
unsigned CommandOf(const QAction* action) {
    return action->isSeparator() ? 0 : action->data().toUInt();
}
} // namespace

CMenu::CMenu(QWidget* owner, std::function<void(unsigned)> command)
    : m_pMenu(new QMenu(owner)), m_command(std::move(command)) {}

CMenu::~CMenu() {
    delete m_pMenu.data();
}

std::unique_ptr<CMenu> CMenu::WindowMenu(QWidget* owner, bool minimizeBox,
                                         std::function<void(unsigned)> command) {
    auto menu = std::make_unique<CMenu>(owner, std::move(command));
    menu->AppendMenu(afx::MF_STRING, afx::SC_MOVE, QStringLiteral("移動(&M)"));
    if (minimizeBox)
        menu->AppendMenu(afx::MF_STRING, afx::SC_MINIMIZE, QStringLiteral("最小化(&N)"));
    menu->AppendMenu(afx::MF_SEPARATOR);
    // The text after the TAB is shown right-aligned as the item's key.
    menu->AppendMenu(afx::MF_STRING, afx::SC_CLOSE, QStringLiteral("閉じる(&C)\tAlt+F4"));
    return menu;
}

bool CMenu::AppendMenu(unsigned nFlags, unsigned nIDNewItem, const QString& text) {
    if (!m_pMenu)
        return false;
    if (nFlags & afx::MF_SEPARATOR) {
        m_pMenu->addSeparator();
        return true;
    }
    QAction* action = m_pMenu->addAction(text);
    action->setData(nIDNewItem);
    QObject::connect(action, &QAction::triggered, m_pMenu,
                     [this, nIDNewItem] { m_command(nIDNewItem); });
    return true;
}

bool CMenu::RemoveMenu(unsigned nPosition, unsigned nFlags) {
    if (!m_pMenu)
        return false;
    const QList<QAction*> actions = m_pMenu->actions();
    QAction* found = nullptr;
    if (nFlags & afx::MF_BYPOSITION) {
        if (nPosition < static_cast<unsigned>(actions.size()))
            found = actions[nPosition];
    } else {
        for (QAction* action : actions) {
            if (!action->isSeparator() && CommandOf(action) == nPosition) {
                found = action;
                break;
            }
        }
    }
    if (!found)
        return false;
    m_pMenu->removeAction(found);
    delete found;
    return true;
}

void CMenu::TrackPopupMenu(const QPoint& globalPos) {
    if (m_pMenu)
        m_pMenu->popup(globalPos);
}
