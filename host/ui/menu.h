// Pop-up menus from the module's menu resources (res/menus.h), over QMenu.
#pragma once

#include <functional>
#include <vector>

#include "host/cstring.h"
#include "host/ui/wnd.h"

struct ResMenu;

namespace host::ui {

// One item as the menu shows it.
struct MenuItemState {
    int id;
    CString text;
    bool enabled;
};

// Shows `menu` at `screen` (screen coordinates) for `owner`, with the items
// whose ids are in `greyed` greyed, and returns the command chosen (0 when
// the menu was dismissed).  The owner is not sent the command: the caller
// dispatches it, as with the framework's TPM_RETURNCMD.
int TrackPopupMenu(const ResMenu& menu, CWnd* owner, CPoint screen, const std::vector<int>& greyed);
// Replaces the menu (tests choose an item); the handler gets the items and
// returns the command.  An empty function restores the menu.
void SetPopupMenuHandler(std::function<int(const std::vector<MenuItemState>&)> handler);

}  // namespace host::ui
