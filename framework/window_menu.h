// framework: the window menu of a dialog. On the platform the templates were
// drawn for, the title bar carries a menu of window commands; here the window
// manager owns the title bar, so each dialog with WS_SYSMENU carries a menu of
// its own, opened by Alt+Space or a right click on its free area. Choosing an
// item hands its command id to the dialog's OnSysCommand.
#pragma once

#include <QMenu>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QPoint;
class QWidget;

namespace afx {

// How RemoveMenu finds an item, and what AppendMenu adds.
inline constexpr unsigned MF_BYCOMMAND = 0x0000;
inline constexpr unsigned MF_BYPOSITION = 0x0400;
inline constexpr unsigned MF_STRING = 0x0000;
inline constexpr unsigned MF_SEPARATOR = 0x0800;

} // namespace afx

class CMenu {
public:
    // command runs with the id of the item the user chose.
    CMenu(QWidget* owner, std::function<void(unsigned)> command);
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // The window commands this platform can carry out for a dialog of fixed
    // size: 移動, 最小化 (with a minimize box only) and 閉じる. There is no
    // Restore, Size or Maximize item.
    static std::unique_ptr<CMenu> WindowMenu(QWidget* owner, bool minimizeBox,
                                             std::function<void(unsigned)> command);

    // A separator (MF_SEPARATOR) or a text item with a command id (MF_STRING);
    // "&" in text marks the access key. Returns true.
    bool AppendMenu(unsigned nFlags, unsigned nIDNewItem = 0, const QString& text = QString());
    // Removes the item with command id nPosition (MF_BYCOMMAND) or at index
    // nPosition (MF_BYPOSITION); false when there is none.
    bool RemoveMenu(unsigned nPosition, unsigned nFlags);

    // Shows the menu at a screen position and returns at once; the choice
    // arrives later through the command.
    void TrackPopupMenu(const QPoint& globalPos);

private:
    QPointer<QMenu> m_pMenu;
    std::function<void(unsigned)> m_command;
};
