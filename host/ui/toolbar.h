// CLumToolBar: the host's skinned toolbar, over a row of Qt tool buttons.
//
// CreateBar builds the buttons of a toolbar description (res/toolbar.h);
// SetBitmap gives them their pictures from two image strips, one for
// enabled and one for disabled buttons.  A click sends WM_COMMAND with the
// button's id to the parent.  The program sets each button's enabled and
// checked state; a click does not check a button by itself.  When a button
// wants its tool tip, the parent is asked with WM_NOTIFY code TTN_NEEDTEXT
// (lParam a TOOLTIPTEXT) and the text it fills in is shown.
#pragma once

#include <map>

#include "host/ui/wnd.h"

class QToolButton;

constexpr UINT TTN_NEEDTEXT = static_cast<UINT>(-530);
// lParam of WM_NOTIFY for TTN_NEEDTEXT; idFrom is the button's command id.
struct TOOLTIPTEXT : NMHDR {
    CString text;
};

// Bar styles.
constexpr unsigned CBRS_GRIPPER = 0x00400000;
constexpr unsigned CBRS_TOOLTIPS = 0x00000010;

class CLumToolBar : public CWnd {
  public:
    // Its buttons call back into this object: they go with it.
    ~CLumToolBar() override { DestroyWindow(); }

    // Non-zero selects the light look's colours and picture strips.
    int m_look = 0;

    // Makes the toolbar of description `resourceId` inside `parent`; `flag`
    // is accepted for the framework's interface.  0 when the description
    // is missing.
    int CreateBar(CWnd* parent, int resourceId, int flag);
    // Pictures of the buttons from the strip bitmaps; 0 when either is
    // missing.
    int SetBitmap(int normalId, int disabledId);
    unsigned GetBarStyle() const { return m_barStyle; }
    void SetBarStyle(unsigned style) { m_barStyle = style; }
    // The size the bar needs: one row of buttons.
    CSize CalcFixedLayout(int stretch, int horizontal) const;

    void EnableButton(int id, int enable);
    void CheckButton(int id, int check);
    int IsButtonEnabled(int id) const;
    int IsButtonChecked(int id) const;
    // The button of command `id`, or null.
    QToolButton* GetButton(int id) const;

  private:
    void Style();
    bool OnButtonEvent(int id, QEvent* event);

    CWnd* m_parent = nullptr;
    int m_imageWidth = 16;
    int m_imageHeight = 15;
    unsigned m_barStyle = CBRS_GRIPPER | CBRS_TOOLTIPS;
    std::map<int, QToolButton*> m_buttons;
    std::map<int, bool> m_checked;
};
