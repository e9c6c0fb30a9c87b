// The string table.  Some entries are printf formats: their conversions are
// part of the text and must stay in step with the callers' arguments.
#include "res/string_table.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry {
    int id;
    const char16_t* text;
};

// Kept in id order: the lookup is a binary search.
constexpr StringEntry kStringTable[] = {
    // f (mm), sensor width w and height h (mm).
    {IDS_CAMERA_IMAGING_AREA, u"焦点距離 %.1f mm 撮像エリア %.1f × %.1f mm"},
    // Guide-sensor width and height, gap between the chips (mm).
    {IDS_CAMERA_GUIDER_AREA, u"ガイドエリア %.1f × %.1f mm チップ間隔 %.1f mm"},
};

constexpr bool ById(const StringEntry& a, const StringEntry& b) {
    return a.id < b.id;
}
constexpr bool NotAscending(const StringEntry& a, const StringEntry& b) {
    return a.id >= b.id;
}
static_assert(std::adjacent_find(std::begin(kStringTable), std::end(kStringTable), NotAscending) ==
                  std::end(kStringTable),
              "string-table ids must be unique and ascending");

}  // namespace

CString LoadResString(int id) {
    const StringEntry key{id, nullptr};
    const auto* it = std::lower_bound(std::begin(kStringTable), std::end(kStringTable), key, ById);
    if (it == std::end(kStringTable) || it->id != id) return CString();
    return CString(it->text);
}
