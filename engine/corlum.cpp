#include "engine/corlum.h"

#include <climits>
#include <cmath>

#include "engine/stkstr.h"
#include "host/vexacl.h"

const CLSID_ENGINE CCorLum::clsid3 = {0x7e1c0a03, 0x5a1f, 0x4c3e, {0x9b, 0x21, 0, 0, 0, 0, 0, 3}};
const CLSID_ENGINE CCorLum::clsid4 = {0x7e1c0a04, 0x5a1f, 0x4c3e, {0x9b, 0x21, 0, 0, 0, 0, 0, 4}};
const CLSID_ENGINE CCorLum::clsid5 = {0x7e1c0a05, 0x5a1f, 0x4c3e, {0x9b, 0x21, 0, 0, 0, 0, 0, 5}};
const CLSID_ENGINE CCorLum::clsid6 = {0x7e1c0a06, 0x5a1f, 0x4c3e, {0x9b, 0x21, 0, 0, 0, 0, 0, 6}};
const CLSID_ENGINE CCorLum::clsid7 = {0x7e1c0a07, 0x5a1f, 0x4c3e, {0x9b, 0x21, 0, 0, 0, 0, 0, 7}};

namespace {

// A number of a reply as an int, saturated at the ends of the range (NaN
// gives 0): a reply may hold any number, and a conversion beyond the range
// is undefined.
int SaturatedInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

const CLSID_ENGINE& CCorLum::GetClsid() const {
    switch (m_kind) {
        case 3:
            return clsid3;
        case 4:
            return clsid4;
        case 5:
            return clsid5;
        case 6:
            return clsid6;
        default:
            return clsid7;
    }
}

double CCorLum::AskNumber(const char16_t* query, double fallback) {
    return CStkStr(Ask(query)).atof(fallback);
}

void CCorLum::UpdateDate(tagADATE* date) {
    if (!date) return;
    CString command;
    command.Format(u"Time.jd = %.8f", vexacl::GetJd(*date));
    Doit(command);
}

void CCorLum::GetLT(int* year, int* month, int* day, int* hour, int* minute, int* second) {
    const tagADATE d = GetDate();
    if (year) *year = d.year;
    if (month) *month = d.month;
    if (day) *day = d.day;
    if (hour) *hour = d.hour;
    if (minute) *minute = d.minute;
    if (second) *second = SaturatedInt(std::floor(d.second));
}

double CCorLum::GetJd() {
    return AskNumber(u"? Time.jd", kDefaultJd);
}
double CCorLum::GetTz() {
    return AskNumber(u"? Time.Timezone", kDefaultTz);
}
double CCorLum::GetLatitude() {
    return AskNumber(u"? Location.Latitude", kDefaultLatitude);
}
double CCorLum::GetLongitude() {
    return AskNumber(u"? Location.Longitude", kDefaultLongitude);
}
double CCorLum::GetHeight() {
    return AskNumber(u"? Location.Altitude", kDefaultHeight);
}
double CCorLum::GetMoonAge() {
    return AskNumber(u"? Solar.Moon.Age", 0.0);
}

int CCorLum::GetLocationObject() {
    return SaturatedInt(AskNumber(u"? Location.Object", kEarth));
}

tagADATE CCorLum::GetDate() {
    // The local date is the engine's JD moved into its zone.
    const double zone = GetTz();
    tagADATE d = vexacl::JdToDate2(GetJd() + zone / 24.0);
    d.zone = zone;
    return d;
}
