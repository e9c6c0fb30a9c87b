// The palette's display settings: 29 integer fields, each persisted under
// its own name as a registry value below the key "ClickData".
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "host/cstring.h"

class CCdStatus {
public:
    CCdStatus() { Init(); }
    CCdStatus(const CCdStatus&) = default;
    CCdStatus& operator=(const CCdStatus&) = default;
    virtual ~CCdStatus() = default;

    // Resets every field to its default.
    void Init();

    // Fields in declaration order; each is named by its registry value name.
    int AltSpan;
    int AltCenter;
    int AltMag;
    int Precision;
    int IgnoreErase;
    int DispPopup;
    int CnsInfo;
    int StarDetails;
    int DispMag;
    int DispEqt2000;
    int DispEqtDateApp;
    int DispEqt1950;
    int DispEclDateMean;
    int DispEclDateApp;
    int DispEcl2000;
    int DispGal;
    int DispHrz;
    int DispRiseSet;
    int DispAzmth;
    int DispHourAngle;
    int DispDeltaEqt;
    int DispDistR;
    int SolarOrbitDetails;
    int PlanetPhysicalTable;
    int PgcDetails;
    int DispNameOnBar;
    int DispComment;
    int TransparentOnInactive;
    int DispMinSec;

    // Name, kind and default of one field, for code that handles the
    // settings by name (the command line, the settings listing).
    enum class Kind { Flag = 0, Integer = 1 };
    struct Field {
        const char16_t* name;
        int CCdStatus::*member;
        Kind kind;
        int default_value;
    };
    static constexpr int kFieldCount = 29;
    static const std::array<Field, kFieldCount>& Fields();
    // The field of that registry value name (exact spelling), if any.
    static const Field* FindField(const CString& name);
};
