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

// The display settings: the check list of the on/off settings, the
// altitude graph's and the precision's groups, the defaults button and the
// dialog's buttons.  Group boxes come before the items inside them, which
// are drawn over them.
constexpr ResDialogItem kCdEditItems[] = {
    {IDC_STATIC, u"STATIC", 7, 7, 120, 8, u"表示オプション(&O)："},
    {IDC_CD_LIST, u"CHECKLIST", 7, 17, 181, 168, u""},
    {IDC_CD_ALT_GROUP, u"GROUPBOX", 7, 190, 181, 54, u"出没グラフ(&G)："},
    {IDC_CD_SPAN_LABEL, u"STATIC", 14, 203, 24, 8, u"範囲："},
    {IDC_CD_SPAN_24, u"RADIOGROUP", 40, 202, 44, 10, u"24時間"},
    {IDC_CD_SPAN_18, u"RADIO", 86, 202, 44, 10, u"18時間"},
    {IDC_CD_SPAN_12, u"RADIO", 132, 202, 44, 10, u"12時間"},
    {IDC_CD_CENTER_LABEL, u"STATIC", 14, 216, 24, 8, u"中心："},
    {IDC_CD_CENTER_0, u"RADIOGROUP", 40, 215, 44, 10, u"0時"},
    {IDC_CD_CENTER_12, u"RADIO", 86, 215, 44, 10, u"12時"},
    {IDC_CD_ALT_MAG, u"CHECKBOX", 14, 228, 160, 10, u"高度を10倍にして表示"},
    {IDC_CD_PREC_GROUP, u"GROUPBOX", 7, 248, 181, 28, u"座標精度(&P)："},
    {IDC_CD_PREC_SECOND, u"RADIOGROUP", 14, 260, 66, 10, u"角度の1秒"},
    {IDC_CD_PREC_MINUTE, u"RADIO", 86, 260, 66, 10, u"角度の1分"},
    {IDC_CD_DEFAULT, u"BUTTON", 7, 284, 66, 14, u"初期値に戻す(&I)"},
    {IDC_OK, u"BUTTON", 76, 284, 30, 14, u"OK"},
    {IDC_CANCEL, u"BUTTON", 109, 284, 42, 14, u"キャンセル"},
    {ID_HELP, u"BUTTON", 154, 284, 34, 14, u"ヘルプ(&H)"},
};

// The comment: the object's name over the multi-line comment.
constexpr ResDialogItem kCdfEditItems[] = {
    {IDC_STATIC, u"STATIC", 7, 7, 30, 8, u"天体名："},
    {IDC_CDF_NAME, u"STATIC", 40, 7, 172, 8, u"スタティック"},
    {IDC_CDF_COMMENT, u"RICHEDIT", 7, 19, 205, 82, u""},
    {IDC_OK, u"BUTTON", 60, 107, 48, 14, u"OK"},
    {IDC_CANCEL, u"BUTTON", 112, 107, 48, 14, u"キャンセル"},
    {ID_HELP, u"BUTTON", 164, 107, 48, 14, u"ヘルプ(&H)"},
};

constexpr ResDialog kDialogs[] = {
    {IDD_CLICKDATA, u"天体情報", u"MS UI Gothic", 9, 205, 236, kClickDataItems},
    {IDD_CDEDIT, u"天体情報パレット設定", u"MS UI Gothic", 9, 195, 306, kCdEditItems},
    {IDD_CDFEDIT, u"コメント編集", u"MS UI Gothic", 9, 219, 127, kCdfEditItems},
};

}  // namespace

const ResDialog* FindResDialog(int id) {
    for (const ResDialog& dialog : kDialogs) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}
