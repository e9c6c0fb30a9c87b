#include "thumbs/gallery_reply.h"

#include <charconv>
#include <initializer_list>
#include <optional>

namespace {

// The string at `path` below `object` (each step a member of an object);
// empty when a step is missing or the end is not a string.
CString Text(const picojson::value& object, std::initializer_list<const char*> path) {
    const picojson::value* v = &object;
    for (const char* name : path) {
        if (!v->is<picojson::object>()) return CString();
        const auto& members = v->get<picojson::object>();
        const auto it = members.find(name);
        if (it == members.end()) return CString();
        v = &it->second;
    }
    return v->is<std::string>() ? CString::FromUtf8(v->get<std::string>()) : CString();
}

// A member that is a string holding a whole decimal integer (optional
// minus sign, digits, nothing else, within int).
std::optional<int> DecimalMember(const picojson::object& reply, const char* name) {
    const auto it = reply.find(name);
    if (it == reply.end() || !it->second.is<std::string>()) return std::nullopt;
    const std::string& s = it->second.get<std::string>();
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

// "status": a number must be 0 and a string "0"; other kinds pass.
bool StatusFine(const picojson::object& reply) {
    const auto it = reply.find("status");
    if (it == reply.end()) return true;
    if (it->second.is<double>()) return it->second.get<double>() == 0.0;
    if (it->second.is<std::string>()) return it->second.get<std::string>() == "0";
    return true;
}

CImageItem ToItem(const picojson::value& v) {
    CImageItem item;
    item.url = Text(v, {"url"});
    item.title = Text(v, {"title"});
    item.date = Text(v, {"date"});
    item.author = Text(v, {"author"});
    item.location = Text(v, {"location"});
    item.telescopeMaker = Text(v, {"telescope", "maker"});
    item.telescopeName = Text(v, {"telescope", "name"});
    item.focalLength = Text(v, {"focal_length"});
    item.exposure = Text(v, {"exposure"});
    item.comment = Text(v, {"comment"});
    item.largeUrl = Text(v, {"image", "large", "url"});
    item.smallUrl = Text(v, {"image", "small", "url"});
    return item;
}

}  // namespace

std::string ConvertGalleryReply(const picojson::value& reply, CGalleryPage& page) {
    if (!reply.is<picojson::object>()) return "the reply is not a JSON object";
    const picojson::object& members = reply.get<picojson::object>();
    if (!StatusFine(members)) return "the gallery reports a failure (its status is not 0)";
    const int limit = DecimalMember(members, "limit").value_or(page.limit);
    const int total = DecimalMember(members, "total").value_or(page.total);
    const auto list = members.find("item_list");
    if (list == members.end() || !list->second.is<picojson::array>()) {
        return "the reply has no item_list array";
    }
    const picojson::array& elements = list->second.get<picojson::array>();
    if (limit < 1 || limit > kMaxPageItems) {
        return "the reply's page size " + std::to_string(limit) + " is outside 1.." +
               std::to_string(kMaxPageItems);
    }
    if (total < 0 || total > kMaxTotal) {
        return "the reply's total " + std::to_string(total) + " is outside 0.." +
               std::to_string(kMaxTotal);
    }
    if (elements.size() > static_cast<size_t>(kMaxPageItems)) {
        return "the reply holds more than " + std::to_string(kMaxPageItems) + " items";
    }
    page.limit = limit;
    page.total = total;
    page.items.clear();
    for (const picojson::value& element : elements) page.items.push_back(ToItem(element));
    return "";
}
