#include "gui/place.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "host/registry.h"

namespace gui {
namespace {

constexpr const char16_t* kKey = u"Location";

bool Within(double v, double low, double high) {
    return std::isfinite(v) && v >= low && v <= high;
}

// A number stored as text; false when the text is not one number.
bool ReadNumber(const char16_t* name, double* value) {
    CString text;
    CRegistry::Read(kKey, name, CString(), text);
    const std::string utf8 = text.ToUtf8();
    if (utf8.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(utf8.c_str(), &end);
    if (end != utf8.c_str() + utf8.size()) return false;
    *value = v;
    return true;
}

CString NumberText(double v) {
    CString text;
    text.Format(u"%.6f", v);
    return text;
}

}  // namespace

bool IsValidPlace(const ObserverPlace& place) {
    return Within(place.latitude_deg, -90.0, 90.0) && Within(place.longitude_deg, -180.0, 360.0) &&
           Within(place.height_m, -12000.0, 100000.0) && Within(place.timezone_h, -14.0, 14.0);
}

const std::vector<ObserverPlace>& JapaneseCities() {
    static const std::vector<ObserverPlace> cities = {
        {u"東京", 35.6895, 139.6917, 40.0, 9.0},   {u"大阪", 34.6937, 135.5023, 10.0, 9.0},
        {u"名古屋", 35.1815, 136.9066, 15.0, 9.0}, {u"札幌", 43.0621, 141.3544, 20.0, 9.0},
        {u"仙台", 38.2682, 140.8694, 40.0, 9.0},   {u"福岡", 33.5902, 130.4017, 5.0, 9.0},
        {u"那覇", 26.2124, 127.6809, 10.0, 9.0},
    };
    return cities;
}

ObserverPlace ReadStoredPlace() {
    ObserverPlace place;
    CRegistry::Snapshot snapshot;
    if (!ReadNumber(u"Latitude", &place.latitude_deg) ||
        !ReadNumber(u"Longitude", &place.longitude_deg) ||
        !ReadNumber(u"Altitude", &place.height_m) || !ReadNumber(u"Timezone", &place.timezone_h) ||
        !IsValidPlace(place)) {
        return ObserverPlace();
    }
    CRegistry::Read(kKey, u"Name", CString(), place.name);
    return place;
}

int WriteStoredPlace(const ObserverPlace& place) {
    if (!IsValidPlace(place)) return 0;
    // One replacement of the store: a reader never sees half a place.
    return CRegistry::Transaction([&] {
        CRegistry::Write(kKey, u"Name", place.name);
        CRegistry::Write(kKey, u"Latitude", NumberText(place.latitude_deg));
        CRegistry::Write(kKey, u"Longitude", NumberText(place.longitude_deg));
        CRegistry::Write(kKey, u"Altitude", NumberText(place.height_m));
        CRegistry::Write(kKey, u"Timezone", NumberText(place.timezone_h));
    });
}

}  // namespace gui
