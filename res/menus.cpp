// The module's menus.
#include "res/menus.h"

#include "res/resource.h"

namespace {

// The context menu of the palette's text.
constexpr ResMenuItem kClickDataMenuItems[] = {
    {ID_RBTN_COPY, u"コピー(&C)\tCtrl+C"},
    {ID_RBTN_SELALL, u"すべて選択(&A)\tCtrl+A"},
};

constexpr ResMenu kMenus[] = {
    {IDR_CLICKDATA_MENU, u"天体情報", kClickDataMenuItems},
};

}  // namespace

const ResMenu* FindResMenu(int id) {
    for (const ResMenu& menu : kMenus) {
        if (menu.id == id) return &menu;
    }
    return nullptr;
}
