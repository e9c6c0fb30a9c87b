#include "palette/bar_click_data.h"

#include "res/resource.h"

int CBarClickData::Create(CWnd* palette) {
    if (!CreateBar(palette, IDR_CLICKDATA_BAR, 0)) return 0;
    SetBarStyle(GetBarStyle() & ~CBRS_GRIPPER);
    if (m_look) return SetBitmap(IDB_CLICKDATA_BAR_LOOK, IDB_CLICKDATA_BAR_LOOK_DISABLED);
    return SetBitmap(IDB_CLICKDATA_BAR, IDB_CLICKDATA_BAR_DISABLED);
}
