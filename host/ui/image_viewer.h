// CDlgImageViewer: the host's image viewer (library zeviro), a simple
// window that shows one posted image with its title, two lines about it,
// buttons to step to the previous and next post, and a button that opens
// the post's page in the browser.
//
// Stepping posts WM_IMAGE_VIEWER_STEP (2074) to the parent window, wParam
// 1 for the previous post and 2 for the next; the parent answers by giving
// the viewer the new image.
#pragma once

#include "host/cstring.h"
#include "host/ui/wnd.h"

class QLabel;
class QPushButton;

class CDlgImageViewer : public CWnd {
  public:
    static constexpr UINT WM_IMAGE_VIEWER_STEP = 2074;
    static constexpr int kStepPrevious = 1;
    static constexpr int kStepNext = 2;

    explicit CDlgImageViewer(CWnd* parent = nullptr) : m_parent(parent) {}
    // Its buttons call back into this object: they go with it.
    ~CDlgImageViewer() override { DestroyWindow(); }

    void SetDlgTitle(const CString& title) { m_title = title; }
    void SetUseBtnBrowse(int use) { m_useBrowse = use; }
    void SetParentWnd(CWnd* parent) { m_parent = parent; }
    void SetImagePath(const CString& path);
    void SetImageNum(int count);
    void SetSelImageNo(int index);
    void SetURL(const CString& url) { m_url = url; }
    // Line 0 or 1 under the image.
    void SetImageInfo(int line, const CString& text);
    // Makes the window, hidden.  0 when it exists already.
    int Create();
    void ShowDialog();
    // Closes the window (the framework's EndDialog with cancel).
    void EndDialog();

    CString GetImagePath() const { return m_path; }
    int GetSelImageNo() const { return m_selected; }
    CString GetURL() const { return m_url; }
    CString GetImageInfo(int line) const {
        return line == 0 || line == 1 ? m_info[line] : CString();
    }

  protected:
    void OnClose() override { EndDialog(); }

  private:
    void Refresh();
    void Step(int direction);
    void Browse();

    CWnd* m_parent;
    CString m_title;
    int m_useBrowse = 0;
    CString m_path;
    int m_count = 0;
    int m_selected = -1;
    CString m_url;
    CString m_info[2];
    QLabel* m_image = nullptr;
    QLabel* m_lines[2] = {nullptr, nullptr};
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_browse = nullptr;
};
