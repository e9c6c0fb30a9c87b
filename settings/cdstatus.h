// The palette's display settings: 29 integer fields, each persisted under
// its own name as a registry value below the key "ClickData".
#pragma once

#include <array>
#include <functional>
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

    // Reads all 29 values from the registry key "ClickData", from one reading
    // of the store (never half of another process's save).  Each field's
    // current value is the default of its read, so a value the registry lacks
    // (or holds in a form that cannot be read) leaves the field as it is.
    void Load();
    // Writes all 29 values, then the two engine start-up defaults under the
    // key "Default" ("ClickData.Constellation", "ClickData.Cyclic"), all in
    // one replacement of the store.  A save that cannot be written is lost
    // silently, as registry failures are never reported to the user.  Every
    // value is written as this record holds it, even one that another
    // process saved since this record was loaded: to save what a user
    // changed, use SaveChanges.
    void Save();

    // One read-modify-write of the saved record under the store's lock
    // (CRegistry::Transaction): loads the record as the store holds it now,
    // lets `edit` change it and saves it, so that no other process's save
    // in between is written over.  This record becomes the saved one.
    // Returns non-zero when the store holds it; 0 leaves this record as it
    // was.
    int Update(const std::function<void(CCdStatus&)>& edit);
    // Saves the settings in which this record differs from `loaded` (this
    // record as it was loaded) on top of the record the store holds now:
    // what the user changed wins, what another process saved meanwhile
    // stays.  This record becomes the saved one.  How the settings dialog
    // and the palette save.  Returns non-zero when the store holds it.
    int SaveChanges(const CCdStatus& loaded);

    // The two engine commands that carry this record's engine defaults:
    // [0] "default ClickData.Constellation = TRUE|FALSE" (TRUE when CnsInfo
    // is set), [1] "default ClickData.Cyclic = TRUE|FALSE" (FALSE when
    // DispPopup is set: a menu to choose among several objects means the
    // engine does not cycle through them).  The settings dialog sends them
    // after saving.
    std::array<CString, 2> EngineDefaultCommands() const;
    // The same commands from the values saved in the registry: CnsInfo and
    // DispPopup read with default 1, without loading the other 27.  What the
    // palette sends when it is lent its engines.
    static std::array<CString, 2> StoredEngineDefaultCommands();

    // Registry names.
    static constexpr const char16_t* kRegistryKey = u"ClickData";
    static constexpr const char16_t* kEngineDefaultsKey = u"Default";
    static constexpr const char16_t* kConstellationDefault = u"ClickData.Constellation";
    static constexpr const char16_t* kCyclicDefault = u"ClickData.Cyclic";

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

  protected:
    // Reads (load non-zero) or writes (load zero) all 29 values, in the
    // order the host has always used.
    void RegistryIO(int load);
    // One value under "ClickData": a flag (kind 0) or an integer (kind 1).
    void CDRegBool(int load, int* field, const char16_t* name);
    void CDRegInt(int load, int* field, const char16_t* name);
};
