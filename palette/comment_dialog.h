// CDlgCdfEdit: the modal dialog "コメント編集" in which the user edits the
// comment on the object shown in the palette: the object's name above a
// multi-line comment (Enter breaks the line).  The dialog does not check
// the text; the comment store escapes what it must.
#pragma once

#include "host/ui/dialog.h"
#include "host/ui/rich_edit.h"

class CDlgCdfEdit : public CLumDialog {
  public:
    CDlgCdfEdit(CCorLum* engine, CCorLum* engine2, CWnd* parent);

    // Before the dialog runs: the comment (line breaks "\r\n") and the
    // object's name.
    void SetCommentText(const CString& comment, const CString& name);
    // After it ran with OK: the comment as edited, line breaks "\r\n".
    CString GetCommentText() const { return m_comment; }

  protected:
    int OnInitDialog() override;
    void OnOK() override;

    CLumRichEditCtrl m_edit;
    CString m_name;
    CString m_comment;
};
