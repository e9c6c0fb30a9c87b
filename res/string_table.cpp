// The string table.  Some entries are printf formats: their conversions are
// part of the text and must stay in step with the callers' arguments.
#include "res/string_table.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry {
    int id;
    const char16_t* text;
};

// Kept in id order: the lookup is a binary search.
constexpr StringEntry kStringTable[] = {
    // Check-list lines of the settings dialog.
    {IDS_CD_CNS_INFO, u"天体のない場所では星座の情報を表示"},
    {IDS_CD_NAME_ON_BAR, u"天体名称をタイトルバーに表示"},
    {IDS_CD_STAR_DETAILS, u"恒星の詳細な情報を表示"},
    {IDS_CD_MAG, u"等級・視直径などを表示"},
    {IDS_CD_EQT2000, u"赤経・赤緯（J2000）を表示"},
    {IDS_CD_EQT_DATE_APP, u"赤経・赤緯（視位置）を表示"},
    {IDS_CD_EQT1950, u"赤経・赤緯（B1950）を表示"},
    {IDS_CD_ECL_DATE_MEAN, u"黄経・黄緯（平均位置）を表示"},
    {IDS_CD_ECL_DATE_APP, u"黄経・黄緯（視位置）を表示"},
    {IDS_CD_GAL, u"銀経・銀緯を表示"},
    {IDS_CD_HRZ, u"方位・高度を表示"},
    {IDS_CD_AZMTH, u"天体間の位置角・角距離を表示"},
    {IDS_CD_HOUR_ANGLE, u"天体の時角を表示"},
    {IDS_CD_DELTA_EQT, u"天体間の赤経・赤緯の差を表示"},
    {IDS_CD_DIST_R, u"地心・日心距離などを表示"},
    {IDS_CD_SOLAR_ORBIT, u"太陽系天体の軌道情報を表示"},
    {IDS_CD_IGNORE_ERASE, u"天体情報がないときはウィンドウを閉じる"},
    {IDS_CD_POPUP, u"複数天体を選択するメニューを表示"},
    {IDS_CLICKDATA_REGKEY, u"ClickData"},
    // f (mm), sensor width w and height h (mm).
    {IDS_CAMERA_IMAGING_AREA, u"焦点距離 %.1f mm 撮像エリア %.1f × %.1f mm"},
    // Guide-sensor width and height, gap between the chips (mm).
    {IDS_CAMERA_GUIDER_AREA, u"ガイドエリア %.1f × %.1f mm チップ間隔 %.1f mm"},
    {IDS_CLICKDATA_TITLE, u"天体情報"},
    {IDS_CDEDIT_REGKEY, u"Dialog\\CdEdit"},
    {IDS_CD_COMMENT, u"コメントを表示"},
    {IDS_CD_RISE_SET, u"天体の出没・南中時刻を表示"},
    {IDS_CD_PGC_DETAILS, u"PGCの詳細情報を表示"},
    {IDS_CD_TRANSPARENT, u"非アクティブ時にウィンドウを半透明にする"},
    {IDS_CD_PLANET_TABLE, u"太陽系天体の詳細情報を表示"},
    {IDS_CD_ECL2000, u"黄経・黄緯（J2000）を表示"},
    {IDS_CD_MIN_SEC, u"座標を度で表示"},
    // Toolbar buttons: the button's text, then its tool tip after "\n".
    {ID_BTN_BLINK, u"ブリンク\nブリンク"},
    {ID_BTN_MARK, u"マーク\nマーク"},
    {ID_BTN_DIC, u"天体事典\n天体事典"},
    {ID_BTN_LOOK, u"天体中央\n天体中央"},
    {ID_BTN_TRACK, u"中央固定\n中央固定"},
    {ID_BTN_TEL, u"望遠鏡導入\n望遠鏡導入"},
    {ID_BTN_ALTGRP, u"出没グラフ\n出没グラフ"},
    {ID_BTN_EDT, u"設定\n設定"},
    {ID_BTN_COPY, u"コピー\nコピー"},
    {IDS_CD_CONFIRM_DEFAULT, u"すべての設定を初期値に戻します。"},
    {IDS_CDFEDIT_REGKEY, u"Dialog\\CdfEdit"},
    {ID_BTN_COMMENT, u"コメント編集\nコメント編集"},
    {ID_BTN_IMAGE_THUMB, u"投稿画像サムネイル\n投稿画像サムネイル"},
    {ID_BTN_FLIGHT_TARGET, u"フライト目標\nフライト目標"},
};

constexpr bool ById(const StringEntry& a, const StringEntry& b) {
    return a.id < b.id;
}
constexpr bool NotAscending(const StringEntry& a, const StringEntry& b) {
    return a.id >= b.id;
}
static_assert(std::adjacent_find(std::begin(kStringTable), std::end(kStringTable), NotAscending) ==
                  std::end(kStringTable),
              "string-table ids must be unique and ascending");

}  // namespace

CString LoadResString(int id) {
    const StringEntry key{id, nullptr};
    const auto* it = std::lower_bound(std::begin(kStringTable), std::end(kStringTable), key, ById);
    if (it == std::end(kStringTable) || it->id != id) return CString();
    return CString(it->text);
}
