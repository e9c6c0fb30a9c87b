#include "settings/cdstatus.h"

const std::array<CCdStatus::Field, CCdStatus::kFieldCount>& CCdStatus::Fields() {
    using K = Kind;
    static const std::array<Field, kFieldCount> fields = {{
        {u"AltSpan", &CCdStatus::AltSpan, K::Integer, 0},
        {u"AltCenter", &CCdStatus::AltCenter, K::Integer, 0},
        {u"AltMag", &CCdStatus::AltMag, K::Flag, 0},
        {u"Precision", &CCdStatus::Precision, K::Integer, 0},
        {u"IgnoreErase", &CCdStatus::IgnoreErase, K::Flag, 1},
        {u"DispPopup", &CCdStatus::DispPopup, K::Flag, 1},
        {u"CnsInfo", &CCdStatus::CnsInfo, K::Flag, 1},
        {u"StarDetails", &CCdStatus::StarDetails, K::Flag, 1},
        {u"DispMag", &CCdStatus::DispMag, K::Flag, 1},
        {u"DispEqt2000", &CCdStatus::DispEqt2000, K::Flag, 1},
        {u"DispEqtDateApp", &CCdStatus::DispEqtDateApp, K::Flag, 1},
        {u"DispEqt1950", &CCdStatus::DispEqt1950, K::Flag, 1},
        {u"DispEclDateMean", &CCdStatus::DispEclDateMean, K::Flag, 1},
        {u"DispEclDateApp", &CCdStatus::DispEclDateApp, K::Flag, 1},
        {u"DispEcl2000", &CCdStatus::DispEcl2000, K::Flag, 1},
        {u"DispGal", &CCdStatus::DispGal, K::Flag, 1},
        {u"DispHrz", &CCdStatus::DispHrz, K::Flag, 1},
        {u"DispRiseSet", &CCdStatus::DispRiseSet, K::Flag, 1},
        {u"DispAzmth", &CCdStatus::DispAzmth, K::Flag, 1},
        {u"DispHourAngle", &CCdStatus::DispHourAngle, K::Flag, 1},
        {u"DispDeltaEqt", &CCdStatus::DispDeltaEqt, K::Flag, 1},
        {u"DispDistR", &CCdStatus::DispDistR, K::Flag, 1},
        {u"SolarOrbitDetails", &CCdStatus::SolarOrbitDetails, K::Flag, 1},
        {u"PlanetPhysicalTable", &CCdStatus::PlanetPhysicalTable, K::Flag, 1},
        {u"PgcDetails", &CCdStatus::PgcDetails, K::Flag, 1},
        {u"DispNameOnBar", &CCdStatus::DispNameOnBar, K::Flag, 0},
        {u"DispComment", &CCdStatus::DispComment, K::Flag, 1},
        {u"TransparentOnInactive", &CCdStatus::TransparentOnInactive, K::Flag, 0},
        {u"DispMinSec", &CCdStatus::DispMinSec, K::Flag, 0},
    }};
    return fields;
}

void CCdStatus::Init() {
    for (const Field& f : Fields()) this->*f.member = f.default_value;
}

const CCdStatus::Field* CCdStatus::FindField(const CString& name) {
    for (const Field& f : Fields()) {
        if (name == f.name) return &f;
    }
    return nullptr;
}
