// The host user-interface library's dialog controls, over Qt widgets: a
// list whose lines carry check marks, radio buttons, a check box, a group
// box and a push button.  Each takes over one item of a dialog built from a
// template (host/ui/dialog.h), which made the matching widget; the item's
// window stays the dialog's.  The message box and the dialog-data exchange
// of radio groups and check boxes are here too.
#pragma once

#include <functional>

#include "host/cstring.h"
#include "host/ui/wnd.h"

class QAbstractButton;
class QListWidget;

// A list box whose lines carry check marks (template kind "CHECKLIST").
class CLumListBoxCheck : public CWnd {
  public:
    // Takes over item `id` of `parent`; 0 when it has no check list there.
    int Attach(int id, CWnd* parent);
    // Adds a line, unchecked; its index, or -1 without a list.
    int AddString(const CString& text);
    int GetCount() const;
    CString GetText(int index) const;
    // 1 checked, 0 not; -1 for an index out of range.
    int GetCheck(int index) const;
    void SetCheck(int index, int check);

  private:
    QListWidget* List() const;
};

// A radio button, a check box or a push button: the buttons of a dialog.
class CLumButtonBase : public CWnd {
  public:
    int Attach(int id, CWnd* parent);
    int GetCheck() const;
    void SetCheck(int check);

  protected:
    QAbstractButton* Button() const;
};

class CLumRadioButton : public CLumButtonBase {};
class CLumCheckBox : public CLumButtonBase {};

// A push button in the library's colours.
class CLumButton : public CLumButtonBase {
  public:
    using CLumButtonBase::Attach;
    // Takes over item `id` with its colour scheme: `style` (0 plain), the
    // text colour, the face colour, the edge colour (also the face while
    // pressed), and `rounded` corners (non-zero).
    int Attach(int id, CWnd* parent, int style, COLORREF text, COLORREF face, COLORREF edge,
               int rounded);
};

// A group box: a frame with a caption around other items.
class CLumGroupBox : public CWnd {
  public:
    int Attach(int id, CWnd* parent);
};

// Dialog-data exchange.  A radio group is the group of buttons that starts
// at item `firstId` (template kind "RADIOGROUP", then "RADIO" items):
// `value` is the index of the checked button, -1 when none is; a value out
// of range checks none.  A check box is 1 or 0.  `save` non-zero reads the
// controls into `value`, zero sets them from it.
void DDX_Radio(CWnd* dialog, int save, int firstId, int& value);
void DDX_Check(CWnd* dialog, int save, int id, int& value);

// Message-box buttons, icons and results, as the framework numbers them.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

namespace host::ui {

// Asks `text` in a modal message box of `type` (buttons and icon) over
// `owner`, titled with the owner's title; IDOK or IDCANCEL.
int MessageBox(CWnd* owner, const CString& text, unsigned type);
// Replaces the message box (tests answer it); an empty function restores
// it.  The handler gets the text and the type.
void SetMessageBoxHandler(std::function<int(const CString&, unsigned)> handler);

}  // namespace host::ui
