// The window-placement pair of CRegistry (host/registry.h).
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <cstdio>

#include "host/registry.h"
#include "host/ui/qt_text.h"
#include "host/ui/wnd.h"

namespace {

// Whether any screen shows part of the place.
bool OnSomeScreen(const QRect& place) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(place)) return true;
    }
    return false;
}

}  // namespace

int CRegistry::Read(const CString& key, const CString& name, CWnd* window, int* shown, int flag) {
    CString text;
    if (!window || !window->GetSafeHwnd() || !Read(key, name, CString(), text)) return 0;
    CRect place;
    int visible = 0;
    char tail = 0;
    const int fields = std::sscanf(text.ToUtf8().c_str(), "%d,%d,%d,%d,%d%c", &place.left,
                                   &place.top, &place.right, &place.bottom, &visible, &tail);
    if (fields != 5 || place.IsRectEmpty()) return 0;
    if (flag && !OnSomeScreen(host::ui::ToQRect(place))) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        const QPoint origin = primary ? primary->availableGeometry().topLeft() : QPoint();
        place = {origin.x(), origin.y(), origin.x() + place.Width(), origin.y() + place.Height()};
    }
    window->MoveWindow(place);
    if (shown) *shown = visible ? 1 : 0;
    return 1;
}

int CRegistry::Write(const CString& key, const CString& name, CWnd* window) {
    if (!window || !window->GetSafeHwnd()) return 0;
    const CRect place = window->GetWindowRect();
    CString text;
    text.Format(u"%d,%d,%d,%d,%d", place.left, place.top, place.right, place.bottom,
                window->IsWindowVisible());
    return Write(key, name, text);
}
