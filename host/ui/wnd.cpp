#include "host/ui/wnd.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QTextEdit>
#include <QTimerEvent>
#include <QVariant>
#include <QWidget>
#include <mutex>
#include <vector>

#include "host/ui/qt_text.h"

namespace host::ui::detail {

namespace {

constexpr char kIdProperty[] = "lumDlgCtrlId";
const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::User + 0x1F0);

struct PostedMessage : QEvent {
    PostedMessage(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(kPostedMessage), message(message), wParam(wParam), lParam(lParam) {}
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

}  // namespace

// Where other threads post to: the bridge while the window lives.
struct PostTarget {
    std::mutex lock;
    QObject* receiver = nullptr;
};

// Lives as a child of the window's widget: watches the widget's events,
// receives the posted messages and the timers.
class WndBridge : public QObject {
  public:
    WndBridge(CWnd* wnd, QWidget* widget) : QObject(widget), m_wnd(wnd) {
        widget->installEventFilter(this);
    }
    // The widget went without DestroyWindow (its parent deleted it).
    ~WndBridge() override {
        if (!m_wnd) return;
        CWnd* wnd = m_wnd;
        m_wnd = nullptr;
        wnd->m_bridge = nullptr;
        wnd->ForgetWidget();
    }
    CWnd* Wnd() const { return m_wnd; }
    void Forget() { m_wnd = nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_wnd || watched != parent()) return false;
        return m_wnd->DispatchEvent(event);
    }
    bool event(QEvent* event) override {
        if (m_wnd && event->type() == kPostedMessage) {
            const auto* posted = static_cast<PostedMessage*>(event);
            m_wnd->WindowProc(posted->message, posted->wParam, posted->lParam);
            return true;
        }
        if (m_wnd && event->type() == QEvent::Timer) {
            const int qtId = static_cast<QTimerEvent*>(event)->timerId();
            for (const auto& [id, running] : m_wnd->m_timers) {
                if (running == qtId) {
                    m_wnd->OnTimer(id);
                    break;
                }
            }
            return true;
        }
        return QObject::event(event);
    }

  private:
    CWnd* m_wnd;
};

}  // namespace host::ui::detail

using host::ui::detail::kIdProperty;
using host::ui::detail::PostedMessage;
using host::ui::detail::WndBridge;

CWnd::CWnd() : m_postTarget(std::make_shared<host::ui::detail::PostTarget>()) {}

CWnd::~CWnd() {
    // A derived window has run its own OnDestroy from its destructor; what
    // is left is to let go of the widget.
    QWidget* widget = m_widget;
    const bool owned = m_owned;
    ForgetWidget();
    if (owned) delete widget;
}

void CWnd::AttachWidget(QWidget* widget, bool owned) {
    ForgetWidget();
    m_widget = widget;
    m_owned = owned;
    m_bridge = new WndBridge(this, widget);
    std::lock_guard<std::mutex> hold(m_postTarget->lock);
    m_postTarget->receiver = m_bridge;
}

void CWnd::ForgetWidget() {
    {
        std::lock_guard<std::mutex> hold(m_postTarget->lock);
        m_postTarget->receiver = nullptr;
    }
    if (m_bridge) {
        m_bridge->Forget();
        for (const auto& [id, qtId] : m_timers) m_bridge->killTimer(qtId);
        if (m_widget) m_widget->removeEventFilter(m_bridge);
        // Not deleted at once: this may run inside one of its own events.
        m_bridge->deleteLater();
    }
    m_bridge = nullptr;
    m_widget = nullptr;
    m_owned = false;
    m_timers.clear();
}

int CWnd::SubclassDlgItem(int id, CWnd* parent) {
    QWidget* item = parent ? parent->GetDlgItem(id) : nullptr;
    if (!item) return 0;
    AttachWidget(item, false);
    return 1;
}

int CWnd::DestroyWindow() {
    if (!m_widget) return 0;
    OnDestroy();
    // Windows taken over inside this one are destroyed with it, after it.
    // Collected first: destroying one may delete the widgets of others.
    std::vector<CWnd*> inside;
    for (QObject* child : m_widget->findChildren<QObject*>()) {
        auto* bridge = dynamic_cast<WndBridge*>(child);
        if (bridge && bridge->Wnd() && bridge->Wnd() != this) inside.push_back(bridge->Wnd());
    }
    for (CWnd* wnd : inside) wnd->DestroyWindow();
    QWidget* widget = m_widget;
    const bool owned = m_owned;
    ForgetWidget();
    if (owned) delete widget;
    return 1;
}

QWidget* CWnd::GetDlgItem(int id) const {
    if (!m_widget) return nullptr;
    for (QWidget* child : m_widget->findChildren<QWidget*>()) {
        if (child->property(kIdProperty).toInt() == id) return child;
    }
    return nullptr;
}

int CWnd::GetDlgCtrlID() const {
    return m_widget ? m_widget->property(kIdProperty).toInt() : 0;
}

void CWnd::SetDlgCtrlID(QWidget* widget, int id) {
    if (widget) widget->setProperty(kIdProperty, id);
}

void CWnd::ShowWindow(int command) {
    if (!m_widget) return;
    if (command == SW_HIDE) {
        m_widget->hide();
        return;
    }
    const bool activate = command == SW_SHOW;
    m_widget->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    m_widget->show();
    if (activate && m_widget->isWindow()) m_widget->activateWindow();
}

int CWnd::IsWindowVisible() const {
    return m_widget && m_widget->isVisible();
}

void CWnd::EnableWindow(int enable) {
    if (m_widget) m_widget->setEnabled(enable != 0);
}

int CWnd::IsWindowEnabled() const {
    return m_widget && m_widget->isEnabled();
}

void CWnd::SetWindowText(const CString& text) {
    if (m_widget) m_widget->setWindowTitle(host::ui::ToQString(text));
}

CString CWnd::GetWindowText() const {
    return m_widget ? host::ui::FromQString(m_widget->windowTitle()) : CString();
}

void CWnd::SetDlgItemText(int id, const CString& text) {
    QWidget* item = GetDlgItem(id);
    const QString value = host::ui::ToQString(text);
    if (auto* label = qobject_cast<QLabel*>(item)) label->setText(value);
    if (auto* button = qobject_cast<QAbstractButton*>(item)) button->setText(value);
    if (auto* edit = qobject_cast<QTextEdit*>(item)) edit->setPlainText(value);
}

CString CWnd::GetDlgItemText(int id) const {
    QWidget* item = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(item)) return host::ui::FromQString(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(item))
        return host::ui::FromQString(button->text());
    if (auto* edit = qobject_cast<QTextEdit*>(item))
        return host::ui::FromQString(edit->toPlainText());
    return CString();
}

CRect CWnd::GetWindowRect() const {
    if (!m_widget) return CRect();
    const QPoint origin = m_widget->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), origin.x() + m_widget->width(),
            origin.y() + m_widget->height()};
}

CRect CWnd::GetClientRect() const {
    return m_widget ? CRect{0, 0, m_widget->width(), m_widget->height()} : CRect();
}

void CWnd::MoveWindow(const CRect& rect, int repaint) {
    if (!m_widget) return;
    m_widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (repaint) m_widget->update();
}

void CWnd::ClientToScreen(CPoint& point) const {
    if (!m_widget) return;
    const QPoint p = m_widget->mapToGlobal(QPoint(point.x, point.y));
    point = {p.x(), p.y()};
}

void CWnd::ScreenToClient(CPoint& point) const {
    if (!m_widget) return;
    const QPoint p = m_widget->mapFromGlobal(QPoint(point.x, point.y));
    point = {p.x(), p.y()};
}

void CWnd::ScreenToClient(CRect& rect) const {
    CPoint topLeft{rect.left, rect.top}, bottomRight{rect.right, rect.bottom};
    ScreenToClient(topLeft);
    ScreenToClient(bottomRight);
    rect = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CWnd::Invalidate() {
    if (m_widget) m_widget->update();
}

void CWnd::InvalidateRect(const CRect& rect) {
    if (m_widget) m_widget->update(rect.left, rect.top, rect.Width(), rect.Height());
}

void CWnd::UpdateWindow() {
    if (m_widget && m_widget->isVisible()) m_widget->repaint();
}

void CWnd::SetBackgroundColor(COLORREF colour) {
    if (!m_widget) return;
    QPalette palette = m_widget->palette();
    palette.setColor(QPalette::Window, host::ui::ToQColor(colour));
    m_widget->setPalette(palette);
    m_widget->setAutoFillBackground(true);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

int CWnd::PostMessage(unsigned message, std::intptr_t wParam) {
    return PostMessage(message, wParam, 0);
}

int CWnd::PostMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    std::lock_guard<std::mutex> hold(m_postTarget->lock);
    if (!m_postTarget->receiver) return 0;
    QCoreApplication::postEvent(m_postTarget->receiver, new PostedMessage(message, wParam, lParam));
    return 1;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) {
    if (!m_bridge) return 0;
    KillTimer(id);
    const int qtId = m_bridge->startTimer(static_cast<int>(elapseMs));
    if (qtId == 0) return 0;
    m_timers[id] = qtId;
    return id;
}

int CWnd::KillTimer(UINT_PTR id) {
    const auto it = m_timers.find(id);
    if (it == m_timers.end()) return 0;
    if (m_bridge) m_bridge->killTimer(it->second);
    m_timers.erase(it);
    return 1;
}

void CWnd::ModifyStyleEx(unsigned remove, unsigned add) {
    const bool wasLayered = m_exStyle & WS_EX_LAYERED;
    m_exStyle = (m_exStyle & ~remove) | add;
    const bool layered = m_exStyle & WS_EX_LAYERED;
    if (m_widget && wasLayered != layered)
        m_widget->setWindowOpacity(layered ? m_alpha / 255.0 : 1.0);
}

void CWnd::SetLayeredWindowAttributes(COLORREF key, int alpha, unsigned flags) {
    (void)key;
    if (!(flags & LWA_ALPHA)) return;
    m_alpha = alpha < 0 ? 0 : alpha > 255 ? 255 : alpha;
    if (m_widget && (m_exStyle & WS_EX_LAYERED)) m_widget->setWindowOpacity(m_alpha / 255.0);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) OnCommand(static_cast<UINT>(wParam & 0xFFFF));
    if (message == WM_NOTIFY) return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    return 0;
}

bool CWnd::DispatchEvent(QEvent* event) {
    const auto point = [](QEvent* e) {
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        return CPoint{p.x(), p.y()};
    };
    switch (event->type()) {
        case QEvent::Resize: {
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            OnSize(0, size.width(), size.height());
            return false;
        }
        case QEvent::Paint: {
            if (!PaintsItself()) return false;
            QPainter painter(m_widget);
            OnEraseBkgnd(painter);
            OnPaint(painter);
            return true;
        }
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                OnLButtonDown(0, point(event));
            }
            return false;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                OnLButtonUp(0, point(event));
            }
            return false;
        case QEvent::MouseMove:
            OnMouseMove(0, point(event));
            return false;
        case QEvent::Leave:
            OnMouseLeave();
            return false;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate: {
            const bool active = event->type() == QEvent::WindowActivate;
            OnNcActivate(active);
            OnActivate(active ? WA_ACTIVE : WA_INACTIVE);
            return false;
        }
        case QEvent::Close:
            event->ignore();
            OnClose();
            return true;
        default:
            return OnOtherEvent(event);
    }
}
