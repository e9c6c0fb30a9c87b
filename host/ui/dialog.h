// CLumDialog: the host's skinned dialog base class, over a Qt window built
// from one of the module's dialog templates (res/dialogs.h).
//
// The template's dialog units become pixels through the dialog font's
// metrics, as the framework converts them: a horizontal unit is a quarter
// of the font's average character width, a vertical unit an eighth of its
// height.  Each item becomes a child widget that GetDlgItem finds by id: a
// rich edit (QTextEdit) or a static (a plain widget, or a label when the
// template gives it text), for the classes that take items over.
#pragma once

#include <functional>

#include "engine/corlum.h"
#include "host/cstring.h"
#include "host/ui/wnd.h"

class QButtonGroup;
class QFont;
struct ResDialogItem;

// What the host's dialogs add to the framework dialog: the look, the
// registry name under which a dialog keeps its values, and the engines.
class CLumDialogBase {
  public:
    // 0 is the dark look of the palettes; non-zero the light one.
    int m_look = 0;
    CString m_regKey;
    CCorLum* m_engine = nullptr;
    CCorLum* m_engine2 = nullptr;
};

class CLumDialog : public CWnd, public CLumDialogBase {
  public:
    // A dialog of template `templateId` owned by `parent` (may be null).
    CLumDialog(int templateId, CWnd* parent);
    // The same for the modal dialogs, which are lent both engines.
    CLumDialog(CCorLum* engine, CCorLum* engine2, int templateId, CWnd* parent);

    // Creates the modeless dialog, hidden.  0 when its template is missing.
    int Create(CCorLum* engine);
    // Runs the dialog modally; the value given to EndDialog (IDCANCEL when
    // it could not be created or was closed).
    int DoModal();
    void EndDialog(int result);
    int GetTemplateId() const { return m_templateId; }
    CWnd* GetParent() const { return m_parent; }

    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    // Called with every modal dialog once it shows, before its message
    // loop runs: a test drives the dialog and ends it (EndDialog, or a
    // WM_COMMAND of its OK or Cancel button) without blocking.  An empty
    // function removes the hook.
    static void SetModalHook(std::function<void(CLumDialog&)> hook);

    // Framework dialog-unit conversion for `font`.
    static CRect MapDialogRect(const QFont& font, const CRect& units);

  protected:
    // Runs once the window and its items exist; non-zero gives the default
    // focus.
    virtual int OnInitDialog() { return 1; }
    // Moves values between members and controls: save non-zero reads the
    // controls, zero fills them.
    virtual void DoDataExchange(int save) { (void)save; }
    int UpdateData(int save = 1) {
        DoDataExchange(save);
        return 1;
    }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Closing a modeless dialog hides it; a modal one ends with IDCANCEL.
    void OnClose() override { OnCancel(); }
    void OnCommand(UINT id) override;

  private:
    int CreateWindowFromTemplate(bool modal);
    // The widget of one template item; `radios` is the group of the radio
    // buttons being laid out.  A push button sends WM_COMMAND with its id.
    QWidget* MakeItem(QWidget* window, const ResDialogItem& item, QButtonGroup*& radios);
    static std::function<void(CLumDialog&)>& ModalHook();

    int m_templateId;
    CWnd* m_parent;
    bool m_modal = false;
    int m_result = IDCANCEL;
    bool m_ended = false;
    class QEventLoop* m_loop = nullptr;
};
