// Dialog templates: title, font and items of each dialog, in dialog units.
// Plain data: the window library converts the units with the font's
// metrics and builds the windows.
#pragma once

#include <span>

struct ResDialogItem {
    int id;
    // The control made for the item: "RICHEDIT" (a rich edit), "STATIC" (a
    // placeholder, or a label when it has text), "CHECKLIST" (a list whose
    // lines carry check marks), "GROUPBOX", "CHECKBOX", "BUTTON" (a push
    // button), "RADIOGROUP" (the first radio button of a group) and "RADIO"
    // (a further button of the group above).
    const char16_t* kind;
    int x, y, cx, cy;  // dialog units, relative to the client area
    const char16_t* text;
};

struct ResDialog {
    int id;
    const char16_t* title;
    const char16_t* fontFace;
    int fontPoints;
    int cx, cy;  // client size in dialog units
    std::span<const ResDialogItem> items;
};

// The template `id`, or null when the module has none.
const ResDialog* FindResDialog(int id);
