// CBarClickData: the palette's toolbar, made from toolbar description 21301.
#pragma once

#include "host/ui/toolbar.h"

class CBarClickData : public CLumToolBar {
  public:
    // Makes the bar in `palette` without a gripper and gives it the image
    // strips of its look: 21112 and 21113 for the light look, 21114 and
    // 21115 for the dark one.  0 when it cannot be made.
    int Create(CWnd* palette);
};
