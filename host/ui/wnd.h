// CWnd: our stand-in for the host framework's window class, as a thin layer
// over one Qt widget.
//
// A CWnd object exists before and after its window: Create-style calls (or
// AttachWidget) give it a widget, DestroyWindow takes it away.  While it has
// one, the widget's events come to the framework-named handlers below
// (OnSize, OnPaint, OnLButtonDown, OnTimer, ...), and numbered window
// messages reach WindowProc, either at once (SendMessage) or through the
// widget's event loop (PostMessage, callable from any thread).  Timers are
// kept by the caller's ids.
//
// Coordinates are pixels: window rectangles in screen coordinates, client
// rectangles from (0, 0), child positions in the parent's client area.  A
// top-level window's frame belongs to the platform (it may not even be known
// before the window is first shown), so its window rectangle is its client
// area on the screen: what is saved and restored is then always the same.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "host/cstring.h"
#include "host/message_queue.h"
#include "host/rect.h"

class QEvent;
class QPainter;
class QWidget;

using UINT = unsigned;
using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return c & 0xFF;
}
constexpr int GetGValue(COLORREF c) {
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(COLORREF c) {
    return (c >> 16) & 0xFF;
}

struct CPoint {
    int x = 0;
    int y = 0;
};
struct CSize {
    int cx = 0;
    int cy = 0;
};

// Message numbers of the framework that the stand-ins deliver.
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_RBUTTONUP = 0x0205;

// Header of a WM_NOTIFY message; lParam points to it (or to a record that
// starts with it).
struct NMHDR {
    QWidget* hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;

// Extended styles and the layered-window flag.
constexpr unsigned WS_EX_LAYERED = 0x00080000;
constexpr unsigned LWA_ALPHA = 0x00000002;

// OnActivate states.
constexpr UINT WA_INACTIVE = 0;
constexpr UINT WA_ACTIVE = 1;

namespace host::ui::detail {
class WndBridge;
struct PostTarget;
}  // namespace host::ui::detail

class CWnd : public CMessageSink {
  public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window; null before it is made and after it is destroyed.
    QWidget* GetSafeHwnd() const { return m_widget; }
    // Makes `widget` this object's window.  With `owned` the window goes
    // with DestroyWindow; otherwise (a dialog item taken over) its parent
    // keeps it.
    void AttachWidget(QWidget* widget, bool owned);
    // Takes over dialog item `id` of `parent` (the framework's subclassing).
    // 0 when the parent has no such item.
    int SubclassDlgItem(int id, CWnd* parent);
    // Runs OnDestroy (here, then in every window taken over inside it) and
    // deletes an owned window.  0 when there was none.
    int DestroyWindow();

    // Dialog items: the child widget made for item `id`, or null.
    QWidget* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    // The text of dialog item `id`: a label's or a button's text, a text
    // area's contents.
    void SetDlgItemText(int id, const CString& text);
    CString GetDlgItemText(int id) const;
    static void SetDlgCtrlID(QWidget* widget, int id);

    void ShowWindow(int command);
    int IsWindowVisible() const;
    void EnableWindow(int enable);
    int IsWindowEnabled() const;
    // The title of a top-level window, the text of a control.
    virtual void SetWindowText(const CString& text);
    virtual CString GetWindowText() const;

    CRect GetWindowRect() const;  // screen coordinates
    CRect GetClientRect() const;
    // Places the window: a top-level one in screen coordinates, a child in
    // its parent's client area.
    void MoveWindow(const CRect& rect, int repaint = 1);
    void ClientToScreen(CPoint& point) const;
    void ScreenToClient(CPoint& point) const;
    void ScreenToClient(CRect& rect) const;
    void Invalidate();
    void InvalidateRect(const CRect& rect);
    void UpdateWindow();
    // The window's background, filled before it paints.
    void SetBackgroundColor(COLORREF colour);

    // Numbered messages.  SendMessage runs WindowProc now and returns its
    // result; PostMessage queues the message for the window's thread and
    // returns at once (0 when there is no window to take it).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int PostMessage(unsigned message, std::intptr_t wParam = 0) override;
    int PostMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam);

    // Timers by the caller's id; a timer set again restarts with the new
    // period.  SetTimer returns the id, 0 without a window.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    int KillTimer(UINT_PTR id);

    // Extended styles: only WS_EX_LAYERED has an effect (the opacity set by
    // SetLayeredWindowAttributes shows only while it is on).
    void ModifyStyleEx(unsigned remove, unsigned add);
    unsigned GetExStyle() const { return m_exStyle; }
    // Opacity 0-255 of a layered window (LWA_ALPHA); the colour key is
    // accepted for the framework's interface and has no effect.
    virtual void SetLayeredWindowAttributes(COLORREF key, int alpha, unsigned flags);

  protected:
    // Handlers, called on the window's thread.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND from a control or a toolbar button.
    virtual void OnCommand(UINT id) { (void)id; }
    // WM_NOTIFY; non-zero when handled (for link notices: consumed).
    virtual LRESULT OnNotify(const NMHDR* header) {
        (void)header;
        return 0;
    }
    virtual void OnSize(UINT type, int cx, int cy) { (void)type, (void)cx, (void)cy; }
    // Windows that draw themselves say so; they get OnEraseBkgnd and OnPaint
    // with a painter on the window.
    virtual bool PaintsItself() const { return false; }
    virtual int OnEraseBkgnd(QPainter& dc) {
        (void)dc;
        return 0;
    }
    virtual void OnPaint(QPainter& dc) { (void)dc; }
    virtual void OnLButtonDown(UINT flags, CPoint point) { (void)flags, (void)point; }
    virtual void OnLButtonUp(UINT flags, CPoint point) { (void)flags, (void)point; }
    virtual void OnMouseMove(UINT flags, CPoint point) { (void)flags, (void)point; }
    virtual void OnMouseLeave() {}
    virtual int OnNcActivate(int active) {
        (void)active;
        return 1;
    }
    virtual void OnActivate(UINT state) { (void)state; }
    // The user asked to close the window: destroys it.
    virtual void OnClose() { DestroyWindow(); }
    virtual void OnDestroy() {}
    virtual void OnTimer(UINT_PTR id) { (void)id; }
    // Any other event of the window; true when it is consumed.
    virtual bool OnOtherEvent(QEvent* event) {
        (void)event;
        return false;
    }

  private:
    friend class host::ui::detail::WndBridge;
    // One event of the window; true when it is consumed.
    bool DispatchEvent(QEvent* event);
    void ForgetWidget();

    QWidget* m_widget = nullptr;
    bool m_owned = false;
    host::ui::detail::WndBridge* m_bridge = nullptr;
    std::shared_ptr<host::ui::detail::PostTarget> m_postTarget;
    std::map<UINT_PTR, int> m_timers;  // caller's id -> Qt timer id
    unsigned m_exStyle = 0;
    int m_alpha = 255;
};
