// The module's dialog templates.
#include "res/dialogs.h"

#include "res/resource.h"

namespace {

// The palette: the toolbar takes the top 16 units; the text, the thumbnail
// strip and the altitude graph are stacked below it, edge to edge.
constexpr ResDialogItem kClickDataItems[] = {
    {IDC_CLICKDATA_TEXT, u"RICHEDIT", 0, 16, 205, 118, u""},
    {IDC_IMAGE_THUMB, u"STATIC", 0, 134, 205, 70, u""},
    {IDC_ALT_GRAPH, u"STATIC", 0, 204, 205, 32, u""},
};

constexpr ResDialog kDialogs[] = {
    {IDD_CLICKDATA, u"天体情報", u"MS UI Gothic", 9, 205, 236, kClickDataItems},
};

}  // namespace

const ResDialog* FindResDialog(int id) {
    for (const ResDialog& dialog : kDialogs) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}
