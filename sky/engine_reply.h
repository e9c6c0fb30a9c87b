// How the sky engine writes its replies, shared by the engine and its
// property tables.
#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/cstring.h"

namespace sky::reply {

// Angles to 1e-10 (hours or degrees), Julian Days to 1e-8 day: finer than
// anything the texts print.
constexpr int kAngleDecimals = 10;
constexpr int kJdDecimals = 8;

inline CString Lower(CString text) {
    return text.MakeLower();
}

inline bool StartsWith(const CString& lowerText, const char16_t* prefix) {
    return lowerText.view().starts_with(prefix);
}

// A number as reply text with `decimals` decimals (as printf's "%.*f"
// writes it, correctly rounded); "*" when there is none.
inline CString Number(double value, int decimals) {
    if (!std::isfinite(value)) return u"*";
    char digits[400];  // the longest double in fixed notation, with decimals to spare
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    const char* first = digits;
    if (written.ec != std::errc()) return u"*";
    // No "-0.000": a value that rounds to zero loses its sign.
    if (*first == '-' &&
        std::string_view(first, written.ptr).find_first_of("123456789") == std::string_view::npos) {
        ++first;
    }
    return CString(std::u16string(first, const_cast<const char*>(written.ptr)));
}
inline CString Number(const std::optional<double>& value, int decimals) {
    return value ? Number(*value, decimals) : CString(u"*");
}
inline CString Integer(int value) {
    CString text;
    text.Format(u"%d", value);
    return text;
}

// The items with the separator between them.
inline CString Joined(const std::vector<CString>& items, const char16_t* separator) {
    CString list;
    for (const CString& item : items) {
        if (!list.IsEmpty()) list += separator;
        list += item;
    }
    return list;
}

}  // namespace sky::reply
