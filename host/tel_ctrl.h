// The host's telescope control (library vexdev), as far as the palette
// uses it.  Without a telescope driver nothing is ever connected; a host
// (or a test) that has one derives from this class.
#pragma once

class CTelCtrl {
  public:
    virtual ~CTelCtrl() = default;
    // Non-zero while a telescope is connected.
    virtual int IsConnected() { return 0; }
};
