// Conversions between the module's values and Qt's: UTF-16 texts, colours
// and rectangles.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include "host/cstring.h"
#include "host/rect.h"
#include "host/ui/wnd.h"

namespace host::ui {

inline QString ToQString(const CString& text) {
    return QString::fromUtf16(text.GetString(), text.GetLength());
}
inline CString FromQString(const QString& text) {
    return CString(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<size_t>(text.size())));
}
inline QColor ToQColor(COLORREF colour) {
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}
inline QRect ToQRect(const CRect& rect) {
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}
inline CRect FromQRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace host::ui
