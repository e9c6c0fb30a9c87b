// The module's one channel to a planetarium engine.
//
// Everything the module learns about the sky is the text reply to a command
// in the engine's command language, sent through Doit.  The getters below are
// conveniences over the same language; an engine may answer them from its
// own state instead (the replay engine answers them without recording them,
// so that tests counting the module's queries are not disturbed).
#pragma once

#include <array>
#include <cstdint>

#include "host/adate.h"
#include "host/cstring.h"

// Class identifier of an engine control.
struct CLSID_ENGINE {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    std::array<uint8_t, 8> data4;
    friend bool operator==(const CLSID_ENGINE&, const CLSID_ENGINE&) = default;
};

class CCorLum {
  public:
    // Fallbacks of the getters when the engine has no answer: the J2000.0
    // epoch, Japan Standard Time, and the observer in Tokyo on the Earth.
    static constexpr double kDefaultJd = 2451545.0;
    static constexpr double kDefaultTz = 9.0;
    static constexpr double kDefaultLatitude = 35.6895;
    static constexpr double kDefaultLongitude = 139.6917;
    static constexpr double kDefaultHeight = 40.0;
    static constexpr int kEarth = 4;

    virtual ~CCorLum() = default;

    // Executes one command text (statements joined by ";") and returns the
    // reply: empty when the property is absent, "*" when it has no value.
    virtual CString Doit(const CString& command) = 0;

    // Sets the engine's time from a local date record (its own zone).
    virtual void UpdateDate(tagADATE* date);
    // Current local time as whole numbers (seconds truncated).
    virtual void GetLT(int* year, int* month, int* day, int* hour, int* minute, int* second);

    virtual double GetJd();  // Julian Day (UT) of the engine's time
    double GetMJd() { return GetJd() - 2400000.5; }
    virtual double GetTz();                              // hours east of UT of the engine's clock
    double GetLmtTz() { return GetLongitude() / 15.0; }  // local mean time zone, hours
    virtual double GetLatitude();                        // degrees, north positive
    virtual double GetLongitude();                       // degrees, east positive
    virtual double GetHeight();                          // metres above sea level
    virtual tagADATE GetDate();                          // local date and time in the zone GetTz
    int OnEarth() { return GetLocationObject() == kEarth; }
    virtual int GetLocationObject();  // body the observer stands on; 4 is the Earth
    int IsTimeLocked() const { return m_timeLocked; }
    void SetTimeLocked(int locked) { m_timeLocked = locked; }
    virtual double GetMoonAge();  // days since new moon

    // Records the control kind; the class identifier follows from it.
    void Create(int kind) { m_kind = kind; }
    const CLSID_ENGINE& GetClsid() const;

    static const CLSID_ENGINE clsid3, clsid4, clsid5, clsid6, clsid7;

  protected:
    // How the getters put their queries.  Defaults to Doit.
    virtual CString Ask(const CString& query) { return Doit(query); }
    // Leading number of a reply, or `fallback` for an empty or "*" reply.
    double AskNumber(const char16_t* query, double fallback);

  private:
    int m_timeLocked = 0;
    int m_kind = 0;
};
