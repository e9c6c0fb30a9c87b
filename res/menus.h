// Menu resources: a pop-up with its items.  Plain data, as the dialog
// templates are; the window library shows them.
#pragma once

#include <span>

struct ResMenuItem {
    int id;                // the command sent when the item is chosen
    const char16_t* text;  // "&" marks the access key, "\t" precedes the shortcut
};

struct ResMenu {
    int id;
    const char16_t* popup;  // the pop-up's caption
    std::span<const ResMenuItem> items;
};

// The menu `id`, or null when the module has none.
const ResMenu* FindResMenu(int id);
