#include "thumbs/image_thumb.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <filesystem>

#include "host/network.h"
#include "host/registry.h"
#include "host/ui/qt_text.h"
#include "host/ui/ui_misc.h"
#include "res/resource.h"

namespace {

const QColor kBack(40, 40, 40);
const QColor kFrame(84, 84, 84);
constexpr COLORREF kSelectedFrame = RGB(0, 255, 255);
constexpr COLORREF kHoverFrame = RGB(255, 255, 52);
constexpr COLORREF kPlainFrame = RGB(64, 64, 64);
constexpr int kPageStep = 5;
constexpr int kWaitPassMs = 100;

// Scroll-bar actions, as the framework numbers them.
enum {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5
};

// Shows the wait cursor while it lives.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void RemoveFile(const CString& path) {
    std::error_code ignored;
    if (!path.IsEmpty()) std::filesystem::remove(path.ToUtf8(), ignored);
}

}  // namespace

CImageThumb::CImageThumb() : m_client(*this), m_viewer(this) {}

CImageThumb::~CImageThumb() {
    DestroyWindow();
}

int CImageThumb::Attach(int id, CWnd* parent) {
    if (!SubclassDlgItem(id, parent)) return 0;
    QWidget* strip = GetSafeHwnd();
    strip->setMouseTracking(true);
    // It paints every pixel: its repaints never need the palette's.
    strip->setAttribute(Qt::WA_OpaquePaintEvent);
    m_ratio = CResScale::GetRatio(strip);
    const auto scaled = [this](double pixels) { return static_cast<int>(pixels * m_ratio); };
    m_cellWidth = scaled(100);
    m_leftMargin = scaled(10);
    m_gap = scaled(10);
    m_stripHeight = scaled(103);
    m_controlTop = scaled(105);
    m_labelWidth = scaled(95);
    m_controlHeight = scaled(20);
    CRegistry::Read(u"General", u"ColorScheme", 0, &m_colorScheme, 1);

    m_label = new QLabel(strip);
    SetDlgCtrlID(m_label, IDC_IMAGE_THUMB_LABEL);
    m_label->setAlignment(Qt::AlignCenter);
    const int labelDrop = m_colorScheme == 0 ? 0 : 5;
    m_label->setGeometry(0, m_controlTop + labelDrop, m_labelWidth, m_controlHeight);
    m_scroll = new QScrollBar(Qt::Horizontal, strip);
    SetDlgCtrlID(m_scroll, IDC_IMAGE_THUMB_SCROLL);
    m_scroll->setGeometry(m_labelWidth, m_controlTop, strip->width() - m_labelWidth,
                          m_controlHeight);
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(kPageStep);
    if (m_colorScheme == 0) {
        // The skinned look of the dark palette.
        m_label->setStyleSheet(
            QStringLiteral("color: rgb(196,196,196); background: rgb(40,40,40);"));
        m_scroll->setStyleSheet(QString::fromLatin1(host::ui::DarkScrollBarStyle()));
    }
    QObject::connect(m_scroll, &QScrollBar::actionTriggered, [this](int action) {
        switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                return OnHScroll(SB_LINELEFT, 0);
            case QAbstractSlider::SliderSingleStepAdd:
                return OnHScroll(SB_LINERIGHT, 0);
            case QAbstractSlider::SliderPageStepSub:
                return OnHScroll(SB_PAGELEFT, 0);
            case QAbstractSlider::SliderPageStepAdd:
                return OnHScroll(SB_PAGERIGHT, 0);
            case QAbstractSlider::SliderMove:
                return OnHScroll(SB_THUMBTRACK, m_scroll->sliderPosition());
            default:
                return;
        }
    });
    ShowControls(false);
    return 1;
}

int CImageThumb::StartSearch(const CString& searchKey) {
    ShowControls(true);
    Clear();
    CloseViewer();
    // A new search starts at its first post.
    m_first = 1;
    m_client.SetOffset(0);
    m_client.SetSearchKey(searchKey);
    m_client.RequestPage(1);
    return 1;
}

void CImageThumb::Clear() {
    m_client.Clear();
    ShowControls(false);
}

void CImageThumb::CloseViewer() {
    if (m_selected < 0) return;
    m_viewer.EndDialog();
    m_selected = -1;
}

void CImageThumb::ShowControls(bool show) {
    if (m_label) m_label->setVisible(show);
    if (m_scroll) m_scroll->setVisible(show);
}

void CImageThumb::EraseStrip() {
    if (!GetSafeHwnd()) return;
    m_surface.fill(kBack);
    Invalidate();
}

void CImageThumb::Redraw() {
    if (!GetSafeHwnd()) return;
    const QSize size(std::max(1, GetClientRect().Width()), std::max(1, m_stripHeight));
    if (m_surface.size() != size) m_surface = QPixmap(size);
    m_surface.fill(kBack);
    PaintThumbnails();
    Invalidate();
}

void CImageThumb::PaintThumbnails() {
    CArray<CImageItem>& items = m_client.Items();
    if (items.IsEmpty()) {
        CloseViewer();
        return;
    }
    QPainter painter(&m_surface);
    const int last = std::min(m_first + m_visible + 1, items.GetSize());
    for (int i = 0; i < items.GetSize(); ++i) {
        CImageItem& item = items[i];
        if (i < m_first - 1 || i > last) {
            item.rect = CRect();
            continue;
        }
        const QImage image(host::ui::ToQString(item.thumbPath));
        if (image.isNull()) break;  // not downloaded yet, or unreadable
        const int x = (m_cellWidth + m_gap) * (i - m_first + 1) + m_leftMargin;
        const QRect place(x, 2, static_cast<int>(image.width() * m_ratio),
                          static_cast<int>(image.height() * m_ratio));
        painter.drawImage(place, image);
        item.rect = host::ui::FromQRect(place);
        painter.setPen(host::ui::ToQColor(i == m_selected ? kSelectedFrame : kPlainFrame));
        painter.drawRect(place.adjusted(-1, -1, 0, 0));
    }
}

void CImageThumb::FrameItems(const CPoint* point) {
    if (m_surface.isNull()) return;
    QPainter painter(&m_surface);
    CArray<CImageItem>& items = m_client.Items();
    for (int i = 0; i < items.GetSize(); ++i) {
        const CRect& rect = items[i].rect;
        if (rect.IsRectEmpty()) continue;
        const bool over = point && rect.PtInRect(point->x, point->y);
        COLORREF colour = i == m_selected ? kSelectedFrame : over ? kHoverFrame : kPlainFrame;
        painter.setPen(host::ui::ToQColor(colour));
        painter.drawRect(host::ui::ToQRect(rect).adjusted(-1, -1, 0, 0));
        if (over && i != m_hovered) {
            m_toolTip = items[i].title;
            GetSafeHwnd()->setToolTip(host::ui::ToQString(m_toolTip));
            m_hovered = i;
        }
    }
    Invalidate();
}

void CImageThumb::OnMouseMove(UINT flags, CPoint point) {
    (void)flags;
    FrameItems(&point);
}

void CImageThumb::OnMouseLeave() {
    FrameItems(nullptr);
}

int CImageThumb::OnEraseBkgnd(QPainter& dc) {
    dc.fillRect(GetSafeHwnd()->rect(), kBack);
    return 1;
}

void CImageThumb::OnPaint(QPainter& dc) {
    if (!m_surface.isNull()) dc.drawPixmap(0, 0, m_surface);
    // The frame the framework draws around the strip.
    dc.setPen(kFrame);
    dc.drawRect(GetSafeHwnd()->rect().adjusted(0, 0, -1, -1));
    if (m_label) m_label->update();
}

void CImageThumb::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    SetScrollRange(m_first);
    if (m_scroll)
        m_scroll->setGeometry(m_labelWidth, m_controlTop, std::max(0, cx - m_labelWidth),
                              m_controlHeight);
    Redraw();
}

void CImageThumb::SetScrollRange(int first) {
    const int total = m_client.GetTotal();
    m_visible = std::max(0, (GetClientRect().Width() - m_leftMargin) / (m_cellWidth + m_gap));
    if (total <= m_visible) {
        // Everything fits: back to the first post, which nothing could
        // scroll to any more.
        if (m_scroll) m_scroll->hide();
        m_first = m_maxFirst = 1;
        return;
    }
    m_maxFirst = total - m_visible + 1;
    m_first = std::clamp(first, 1, m_maxFirst);
    if (!m_scroll) return;
    m_scroll->show();
    m_scroll->setRange(1, m_maxFirst);
    m_scroll->setValue(m_first);
    m_scroll->setEnabled(m_maxFirst >= 2);
}

void CImageThumb::OnHScroll(int action, int position) {
    int first = m_first;
    switch (action) {
        case SB_LINELEFT:
            first -= 1;
            break;
        case SB_LINERIGHT:
            first += 1;
            break;
        case SB_PAGELEFT:
            first -= kPageStep;
            break;
        case SB_PAGERIGHT:
            first += kPageStep;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            first = position;
            break;
        default:
            return;
    }
    m_first = std::clamp(first, 1, m_maxFirst);
    FetchWithWait();
    if (m_scroll) m_scroll->setSliderPosition(m_first);
    Redraw();
}

bool CImageThumb::WaitWhileBusy(int limitMs) {
    if (!IsBusy()) return true;
    m_client.Cancel();
    for (int waited = 0; IsBusy() && waited < limitMs; waited += kWaitPassMs) {
        QCoreApplication::processEvents();
        if (IsBusy()) QThread::msleep(kWaitPassMs);
    }
    QCoreApplication::processEvents();
    return !IsBusy();
}

void CImageThumb::FetchWithWait() {
    if (!WaitWhileBusy(kScrollWaitMs)) return;
    WaitCursor wait;
    FetchMissingPages();
    UpdateCountLabel();
}

void CImageThumb::FetchMissingPages() {
    const int limit = m_client.GetLimit();
    if (limit <= 0 || IsBusy()) return;
    // The items in view: first - 1 .. first + visible - 2.  One page per
    // pass; a second missing page comes with the next scroll or step.
    const int firstIndex = m_first - 1, lastIndex = m_first + m_visible - 2;
    const CArray<int>& pages = m_client.Pages();
    for (int page = 0; page < pages.GetSize(); ++page) {
        const int start = page * limit, end = start + limit - 1;
        const bool inView =
            (firstIndex >= start && firstIndex <= end) || (lastIndex >= start && lastIndex <= end);
        if (pages[page] || !inView) continue;
        m_client.SetOffset(start);
        m_client.RequestPage(0);
        return;
    }
}

void CImageThumb::UpdateCountLabel() {
    const int total = m_client.GetTotal();
    if (total <= 0 || !m_label) return;
    CString text;
    if (m_selected < 0) {
        text.Format(u"%d枚", total);
    } else {
        text.Format(u"%d/%d枚", m_selected + 1, total);
    }
    m_label->setText(host::ui::ToQString(text));
}

CString CImageThumb::GetLabelText() const {
    return m_label ? host::ui::FromQString(m_label->text()) : CString();
}

LRESULT CImageThumb::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= CGalleryClient::kMsgReplyReceived &&
        message <= CGalleryClient::kMsgDownloadCancelled) {
        OnGalleryEvent(m_client.OnMessage(message));
        return 0;
    }
    if (message == CDlgImageViewer::WM_IMAGE_VIEWER_STEP) {
        const int step = wParam == CDlgImageViewer::kStepPrevious ? -1
                         : wParam == CDlgImageViewer::kStepNext   ? 1
                                                                  : 0;
        const int target = m_selected + step;
        if (step == 0 || m_selected < 0 || target < 0 || target >= m_client.GetTotal()) return 0;
        m_selected = target;
        // Bring the post into view, one step at a time.
        while (m_selected + 1 < m_first && m_first > 1) --m_first;
        while (m_selected + 1 > m_first + m_visible - 1 && m_first < m_maxFirst) ++m_first;
        if (m_scroll) m_scroll->setSliderPosition(m_first);
        FetchWithWait();
        Redraw();
        if (m_selected >= m_client.Items().GetSize()) return 0;
        LoadLarge(m_selected);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CImageThumb::OnGalleryEvent(CGalleryClient::Event event) {
    switch (event) {
        case CGalleryClient::Event::FirstPageComplete:
            FetchMissingPages();
            UpdateCountLabel();
            ShowControls(true);
            SetScrollRange(1);
            Redraw();
            break;
        case CGalleryClient::Event::Repaint:
        case CGalleryClient::Event::PageComplete:
            Redraw();
            break;
        default:
            break;
    }
}

void CImageThumb::DeleteLarge() {
    RemoveFile(m_largePath);
    m_largePath.Empty();
}

void CImageThumb::LoadLarge(int index) {
    const CImageItem item = m_client.Items().GetAt(index);
    // In the client's private folder, under a safe name: the address comes
    // from the gallery and must not choose where the file goes.
    DeleteLarge();
    m_largePath = CString::FromUtf8(m_client.NewLocalPath(item.largeUrl));
    if (!m_largePath.IsEmpty()) {
        CUrlDownloader downloader;
        downloader.SetTimeouts(m_client.GetTimeouts());
        downloader.Get(item.largeUrl, m_largePath);
    }
    m_viewer.SetImagePath(m_largePath);
    m_viewer.SetSelImageNo(index);
    m_viewer.SetURL(item.url);
    SetViewerInfo(item);
}

void CImageThumb::SetViewerInfo(const CImageItem& item) {
    CString line;
    line.Format(u"「%s」 %s %s  露出 %s", item.title, item.author, item.date, item.exposure);
    m_viewer.SetImageInfo(0, line);
    CString comment = item.comment;
    comment.Remove(u'\n');
    m_viewer.SetImageInfo(1, comment);
}

void CImageThumb::OnLButtonDown(UINT flags, CPoint point) {
    (void)flags;
    WaitCursor wait;
    DeleteLarge();
    int hit = -1;
    CArray<CImageItem>& items = m_client.Items();
    for (int i = 0; i < items.GetSize(); ++i) {
        if (items[i].rect.PtInRect(point.x, point.y)) {
            hit = i;
            break;
        }
    }
    if (hit < 0) return;
    m_selected = hit;
    UpdateCountLabel();
    if (!m_viewer.GetSafeHwnd()) {
        m_viewer.SetDlgTitle(u"投稿画像");
        m_viewer.SetUseBtnBrowse(1);
        m_viewer.SetParentWnd(this);
        m_viewer.Create();
    }
    m_viewer.SetImageNum(m_client.GetTotal());
    LoadLarge(hit);
    m_viewer.ShowDialog();
    FrameItems(nullptr);
}

bool CImageThumb::OnOtherEvent(QEvent* event) {
    // The tool tip names the thumbnail under the mouse; empty space has none.
    if (event->type() == QEvent::ToolTip && m_toolTip.IsEmpty()) return true;
    return false;
}

void CImageThumb::OnDestroy() {
    // The scroll bar stays with the dialog item; its actions must not reach
    // this object any more.
    if (m_scroll) QObject::disconnect(m_scroll, nullptr, nullptr, nullptr);
    {
        WaitCursor wait;
        WaitWhileBusy(kDestroyWaitMs);
    }
    DeleteLarge();
    m_viewer.DestroyWindow();
    m_client.Clear();
}
