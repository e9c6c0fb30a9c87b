#include "palette/comment_dialog.h"

#include "res/resource.h"
#include "res/string_table.h"

CDlgCdfEdit::CDlgCdfEdit(CCorLum* engine, CCorLum* engine2, CWnd* parent)
    : CLumDialog(engine, engine2, IDD_CDFEDIT, parent) {
    m_regKey = LoadResString(IDS_CDFEDIT_REGKEY);
}

void CDlgCdfEdit::SetCommentText(const CString& comment, const CString& name) {
    m_comment = comment;
    m_name = name;
}

int CDlgCdfEdit::OnInitDialog() {
    CLumDialog::OnInitDialog();
    m_edit.Attach(IDC_CDF_COMMENT, this);
    m_edit.SetReadOnly(0);
    SetDlgItemText(IDC_CDF_NAME, m_name);
    // The control keeps line breaks as "\n".
    CString shown = m_comment;
    shown.Replace(u"\r\n", u"\n");
    m_edit.SetWindowText(shown);
    return 1;
}

void CDlgCdfEdit::OnOK() {
    m_comment = m_edit.GetWindowText();
    m_comment.Replace(u"\r\n", u"\n");  // a pasted "\r\n" is one break too
    m_comment.Replace(u"\n", u"\r\n");
    CLumDialog::OnOK();
}
