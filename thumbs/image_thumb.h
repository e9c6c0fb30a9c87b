// CImageThumb: the palette's strip of posted-image thumbnails (dialog item
// 13024), with a count label and a scroll bar beneath.
//
// The strip owns the gallery client (CGalleryClient) and runs its pipeline:
// the client's workers post their messages to this window, and each page's
// thumbnails appear as they arrive.  Hovering a thumbnail shows its title;
// a click downloads the full image and shows it in the image viewer, whose
// previous/next buttons step through the posts.  Scrolling fetches the
// pages that come into view, first stopping (and waiting at most 5 seconds
// for) a request still running.
#pragma once

#include <QPixmap>
#include <memory>

#include "host/ui/image_viewer.h"
#include "host/ui/wnd.h"
#include "thumbs/gallery_client.h"

class QLabel;
class QScrollBar;

class CImageThumb : public CWnd {
  public:
    // The longest waits for the pipeline to stop: before a scroll fetches,
    // and before the strip goes.
    static constexpr int kScrollWaitMs = 5000;
    static constexpr int kDestroyWaitMs = 10000;

    CImageThumb();
    ~CImageThumb() override;

    // Takes over dialog item `id` of `parent`, lays itself out for the
    // screen's scale and makes its label and scroll bar, hidden.
    int Attach(int id, CWnd* parent);
    // Starts the search for `searchKey` from its first post.
    int StartSearch(const CString& searchKey);
    // Forgets every post and deletes the downloaded thumbnails; hides the
    // label and the scroll bar.
    void Clear();
    // Fills the strip with the background colour.
    void EraseStrip();
    // Paints the thumbnails anew.
    void Redraw();
    int IsBusy() const { return m_client.IsBusy(); }
    // Asks a running request to stop.
    void Cancel() { m_client.Cancel(); }
    // Closes the image viewer when it shows a post.
    void CloseViewer();

    CGalleryClient& Client() { return m_client; }
    int GetFirst() const { return m_first; }
    int GetMaxFirst() const { return m_maxFirst; }
    int GetVisible() const { return m_visible; }
    int GetSelected() const { return m_selected; }
    CString GetLabelText() const;
    // The tool tip's text: the title of the thumbnail last hovered.
    CString GetToolTipText() const { return m_toolTip; }
    CDlgImageViewer& Viewer() { return m_viewer; }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PaintsItself() const override { return true; }
    int OnEraseBkgnd(QPainter& dc) override;
    void OnPaint(QPainter& dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnDestroy() override;
    bool OnOtherEvent(QEvent* event) override;
    // A scroll-bar action: line or page steps, or a thumb position.
    void OnHScroll(int action, int position);

  private:
    void OnGalleryEvent(CGalleryClient::Event event);
    void SetScrollRange(int first);
    void FetchWithWait();
    void FetchMissingPages();
    void UpdateCountLabel();
    // Frames every shown thumbnail: the selected one cyan, the one under
    // `point` (when given) yellow, the others grey.
    void FrameItems(const CPoint* point);
    void PaintThumbnails();
    void ShowControls(bool show);
    // Downloads the full image of post `index` and makes it the viewer's.
    void LoadLarge(int index);
    void SetViewerInfo(const CImageItem& item);
    void DeleteLarge();
    // Waits, handling the window's messages, until the pipeline has
    // stopped or `limitMs` has passed; true when it stopped.
    bool WaitWhileBusy(int limitMs);

    CGalleryClient m_client;
    int m_first = 1;
    int m_maxFirst = 1;
    int m_visible = 0;
    int m_selected = -1;
    int m_hovered = -1;
    // Layout, in pixels for the screen's scale.
    int m_cellWidth = 100;
    int m_leftMargin = 10;
    int m_gap = 10;
    int m_stripHeight = 103;
    int m_controlTop = 105;
    int m_labelWidth = 95;
    int m_controlHeight = 20;
    double m_ratio = 1.0;
    int m_colorScheme = 0;
    QLabel* m_label = nullptr;
    QScrollBar* m_scroll = nullptr;
    CString m_toolTip;
    QPixmap m_surface;
    CDlgImageViewer m_viewer;
    CString m_largePath;
};
