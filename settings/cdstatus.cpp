#include "settings/cdstatus.h"

#include "host/registry.h"

namespace {

// The engine's start-up defaults carried by two of the settings.  Showing a
// menu to choose among several objects means the engine does not cycle
// through them, hence the inversion of DispPopup.
const char16_t* ConstellationValue(int cns_info) {
    return cns_info ? u"TRUE" : u"FALSE";
}
const char16_t* CyclicValue(int disp_popup) {
    return disp_popup ? u"FALSE" : u"TRUE";
}

std::array<CString, 2> DefaultCommands(int cns_info, int disp_popup) {
    std::array<CString, 2> commands;
    commands[0].Format(u"default ClickData.Constellation = %s", ConstellationValue(cns_info));
    commands[1].Format(u"default ClickData.Cyclic = %s", CyclicValue(disp_popup));
    return commands;
}

}  // namespace

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

void CCdStatus::Load() {
    // One reading of the store for all 29 values: the record never mixes two
    // saves of another process, and the palette's refresh reads the file once.
    CRegistry::Snapshot snapshot;
    RegistryIO(1);
}

void CCdStatus::Save() {
    // All 31 values reach the store in one replacement: a palette of another
    // process that reloads meanwhile sees the old record or the new one,
    // never a mixture, and the disk is flushed once instead of 31 times.
    CRegistry::Batch batch;
    RegistryIO(0);
    CRegistry::Write(kEngineDefaultsKey, kConstellationDefault, ConstellationValue(CnsInfo));
    CRegistry::Write(kEngineDefaultsKey, kCyclicDefault, CyclicValue(DispPopup));
}

int CCdStatus::Update(const std::function<void(CCdStatus&)>& edit) {
    CCdStatus record = *this;
    const int saved = CRegistry::Transaction([&] {
        record.Load();  // under the lock: nobody can save in between
        edit(record);
        record.Save();
    });
    if (saved) *this = record;
    return saved;
}

int CCdStatus::SaveChanges(const CCdStatus& loaded) {
    const CCdStatus mine = *this;
    return Update([&](CCdStatus& stored) {
        for (const Field& f : Fields()) {
            if (mine.*f.member != loaded.*f.member) stored.*f.member = mine.*f.member;
        }
    });
}

std::array<CString, 2> CCdStatus::EngineDefaultCommands() const {
    return DefaultCommands(CnsInfo, DispPopup);
}

std::array<CString, 2> CCdStatus::StoredEngineDefaultCommands() {
    int cns_info = 1, disp_popup = 1;
    CRegistry::Snapshot snapshot;
    CRegistry::Read(kRegistryKey, u"CnsInfo", 1, &cns_info, 0);
    CRegistry::Read(kRegistryKey, u"DispPopup", 1, &disp_popup, 0);
    return DefaultCommands(cns_info, disp_popup);
}

void CCdStatus::RegistryIO(int load) {
    CDRegBool(load, &AltMag, u"AltMag");
    CDRegInt(load, &AltSpan, u"AltSpan");
    CDRegInt(load, &AltCenter, u"AltCenter");
    CDRegInt(load, &Precision, u"Precision");
    CDRegBool(load, &IgnoreErase, u"IgnoreErase");
    CDRegBool(load, &DispPopup, u"DispPopup");
    CDRegBool(load, &CnsInfo, u"CnsInfo");
    CDRegBool(load, &StarDetails, u"StarDetails");
    CDRegBool(load, &DispAzmth, u"DispAzmth");
    CDRegBool(load, &DispHourAngle, u"DispHourAngle");
    CDRegBool(load, &DispDistR, u"DispDistR");
    CDRegBool(load, &DispDeltaEqt, u"DispDeltaEqt");
    CDRegBool(load, &DispEclDateApp, u"DispEclDateApp");
    CDRegBool(load, &DispEcl2000, u"DispEcl2000");
    CDRegBool(load, &DispEclDateMean, u"DispEclDateMean");
    CDRegBool(load, &DispEqt1950, u"DispEqt1950");
    CDRegBool(load, &DispEqtDateApp, u"DispEqtDateApp");
    CDRegBool(load, &DispEqt2000, u"DispEqt2000");
    CDRegBool(load, &DispGal, u"DispGal");
    CDRegBool(load, &DispHrz, u"DispHrz");
    CDRegBool(load, &DispRiseSet, u"DispRiseSet");
    CDRegBool(load, &DispMag, u"DispMag");
    CDRegBool(load, &SolarOrbitDetails, u"SolarOrbitDetails");
    CDRegBool(load, &PlanetPhysicalTable, u"PlanetPhysicalTable");
    CDRegBool(load, &PgcDetails, u"PgcDetails");
    CDRegBool(load, &DispNameOnBar, u"DispNameOnBar");
    CDRegBool(load, &DispComment, u"DispComment");
    CDRegBool(load, &TransparentOnInactive, u"TransparentOnInactive");
    CDRegBool(load, &DispMinSec, u"DispMinSec");
}

// The field's current value is the default of the read: a value missing
// from the registry leaves the field as it was.
void CCdStatus::CDRegBool(int load, int* field, const char16_t* name) {
    if (load) {
        CRegistry::Read(kRegistryKey, name, *field, field, 0);
    } else {
        CRegistry::Write(kRegistryKey, name, *field, 0);
    }
}

void CCdStatus::CDRegInt(int load, int* field, const char16_t* name) {
    if (load) {
        CRegistry::Read(kRegistryKey, name, *field, field, 1);
    } else {
        CRegistry::Write(kRegistryKey, name, *field, 1);
    }
}
