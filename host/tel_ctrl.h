// The host's telescope control (library vexdev), as far as the palette
// uses it.  Without a telescope driver nothing is ever connected; a
// telescope backend (telescope/, a mount driven through INDI) or a test
// derives from this class.
#pragma once

#include "host/cstring.h"

// A place in the sky for the telescope: right ascension `a` and
// declination `d`, both in degrees, J2000 (ICRS) as the engine's
// ".Position.RA" and ".Position.Dec" give them.  A backend converts them to
// the frame its mount takes.
struct tagAD {
    double a = 0.0;
    double d = 0.0;
};

// The telescope model in use.
struct STelInfo {
    CString name;
    // Set: the mount wants to know where a moving object (a solar-system
    // body, a satellite) will be one hour later as well.
    int hourLater = 0;
};

class CTelCtrl {
  public:
    virtual ~CTelCtrl() = default;
    // Non-zero while a telescope is connected.
    virtual int IsConnected() { return 0; }
    // The current model's record; never null.
    virtual const STelInfo* CurrentModel() { return &m_model; }
    // Slews the telescope to `position`; non-zero when the mount took it.
    virtual int TelescopeLook(const tagAD* position) {
        (void)position;
        return 0;
    }
    // Tells the telescope where the object will be one hour later; what it
    // does with that is its own business.  Non-zero when taken.
    virtual int TelescopeSetHourLater(const tagAD* position) {
        (void)position;
        return 0;
    }

  protected:
    STelInfo m_model;
};
