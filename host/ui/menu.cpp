#include "host/ui/menu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <algorithm>

#include "host/ui/qt_text.h"
#include "res/menus.h"

namespace host::ui {

namespace {

std::function<int(const std::vector<MenuItemState>&)>& MenuHandler() {
    static std::function<int(const std::vector<MenuItemState>&)> handler;
    return handler;
}

}  // namespace

int TrackPopupMenu(const ResMenu& menu, CWnd* owner, CPoint screen,
                   const std::vector<int>& greyed) {
    std::vector<MenuItemState> items;
    for (const ResMenuItem& item : menu.items) {
        const bool grey = std::find(greyed.begin(), greyed.end(), item.id) != greyed.end();
        items.push_back({item.id, CString(item.text), !grey});
    }
    if (MenuHandler()) return MenuHandler()(items);
    QMenu popup(owner ? owner->GetSafeHwnd() : nullptr);
    popup.setTitle(ToQString(menu.popup));
    for (const MenuItemState& item : items) {
        QAction* action = popup.addAction(ToQString(item.text));
        action->setData(item.id);
        action->setEnabled(item.enabled);
    }
    const QAction* chosen = popup.exec(QPoint(screen.x, screen.y));
    return chosen ? chosen->data().toInt() : 0;
}

void SetPopupMenuHandler(std::function<int(const std::vector<MenuItemState>&)> handler) {
    MenuHandler() = std::move(handler);
}

}  // namespace host::ui
