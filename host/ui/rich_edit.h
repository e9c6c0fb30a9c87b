// CLumRichEditCtrl: the host's rich edit control, over a QTextEdit.
//
// The text is plain text with line breaks "\n"; positions count UTF-16
// units, a line break one.  Parts of the text can be coloured.  Addresses
// in the text (a scheme such as "http:" or "file:" followed by what is not
// blank, or "www." and the rest) are shown underlined, and a left-button
// press or release on one is reported to the parent as a WM_NOTIFY with
// code EN_LINK and the address's range; when the parent returns non-zero
// the click is consumed.  With the mouse events in the event mask, a
// right-button release is reported as EN_MSGFILTER.
#pragma once

#include <QPointer>
#include <utility>
#include <vector>

#include "host/ui/wnd.h"

class QTextEdit;

struct CHARRANGE {
    int cpMin = 0;
    int cpMax = 0;
};
constexpr UINT EN_MSGFILTER = 0x0700;
constexpr UINT EN_LINK = 0x070B;
// lParam of WM_NOTIFY for EN_LINK.
struct ENLINK : NMHDR {
    UINT msg = 0;  // WM_LBUTTONDOWN or WM_LBUTTONUP
    CHARRANGE chrg;
};
// lParam of WM_NOTIFY for EN_MSGFILTER.
struct MSGFILTER : NMHDR {
    UINT msg = 0;  // WM_RBUTTONUP
    CPoint point;  // client coordinates of the text area
};
constexpr unsigned ENM_MOUSEEVENTS = 0x00020000;
constexpr unsigned ENM_LINK = 0x04000000;

class CLumRichEditCtrl : public CWnd {
  public:
    CLumRichEditCtrl() = default;
    // The text area's events come to this object until it goes.
    ~CLumRichEditCtrl() override;

    // Takes over the rich-edit item `id` of `parent`; 0 when it has none.
    int Attach(int id, CWnd* parent);

    void SetWindowText(const CString& text) override;
    CString GetWindowText() const override;
    int GetTextLength() const;

    // The default character format: face, text colour and background.
    void SetDefaultCharFormat(const CString& face, COLORREF text, COLORREF back);
    void SetBackgroundColor(COLORREF colour);
    // Lines longer than the control wrap (1) or scroll sideways (0).
    void SetWordWrap(int wrap);
    // A taken-over control shows its text read-only (the palette's); an
    // editable one takes typing, Enter breaking the line.
    void SetReadOnly(int readOnly);
    // Copies the selection to the clipboard (nothing without one).
    void Copy();
    void SetEventMask(unsigned mask) { m_eventMask = mask; }
    unsigned GetEventMask() const { return m_eventMask; }

    // Selection from `start` to `end` (-1: the end of the text).
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
    CString GetSelText() const;
    // Gives the selected characters a text colour.
    void SetSelectionColor(COLORREF colour);
    void HideSelection(int hide);

    // Number of the first line in view, from 0; scrolls by whole lines.
    int GetFirstVisibleLine() const;
    void LineScroll(int lines);

    // The addresses found in the text, as ranges.
    const std::vector<CHARRANGE>& GetLinks() const { return m_links; }

  private:
    QTextEdit* Edit() const;
    void FindLinks();
    int LinkAt(int position) const;
    bool OnViewportEvent(QEvent* event);
    LRESULT Notify(NMHDR& header);

    unsigned m_eventMask = 0;
    std::vector<CHARRANGE> m_links;
    CWnd* m_parent = nullptr;
    bool m_swallowRelease = false;
    QPointer<QObject> m_hook;  // on the text area; a child of it
};
