// ADF systems: the user's own catalogues of objects, read from CSV files
// and served by the engine in up to 40 slots (AdfSystem.#1 .. #40).
//
// File format (UTF-8, an optional byte-order mark; data/README.md, "ADF
// systems"):
//   # any comment
//   #ObjectName: Caldwell          the system's name (letters, digits, _ -,
//                                  not beginning with "No"); without it,
//                                  the file name's stem
//   #Title: コールドウェル天体       the system's title (optional)
//   Label,Name,Title,RA,Dec        column names, any order, case ignored;
//                                  Title optional
//   C1,Caldwell 1,NGC 188,00:48:26,+85:14.8
// RA is the ICRS (J2000) right ascension in hours, Dec the declination in
// degrees, each decimal or sexagesimal ("05:35:17.3", "-05:23:28").
// Fields follow RFC 4180 (commas inside double quotes, "" for a quote),
// except that a quoted field ends on its own line.
// A Label is the object's key in the system: letters, digits and "_+-"
// only, so that it can stand in an identifier (Caldwell.C1).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/cstring.h"

namespace sky {

struct AdfObject {
    CString label;         // key within the system
    CString name;          // the name shown
    CString title;         // a description, empty when none
    double ra_deg = 0.0;   // ICRS right ascension [0, 360)
    double dec_deg = 0.0;  // ICRS declination
};

struct AdfSystem {
    std::string file;    // the path it was read from
    CString objectName;  // first component of its objects' identifiers
    CString title;
    std::vector<AdfObject> objects;

    // The object named by an identifier's part: "No<k>" (1-based) or a label
    // (case ignored); null when there is none.
    const AdfObject* Find(const CString& part) const;
};

// The bounds of what is read: a larger file is refused as a whole.
constexpr size_t kMaxAdfFileBytes = 8u << 20;
constexpr size_t kMaxAdfObjects = 100000;

// Reads one file.  False with a one-line reason ("PATH:LINE: ...") for an
// unreadable or malformed file; *out is then untouched.
bool ReadAdfFile(const std::string& path, AdfSystem* out, std::string* error);

class AdfSystems {
  public:
    static constexpr int kSlots = 40;

    // Loads `path` into slot n (1..40), replacing what it held.  A system
    // whose object name another slot already uses, or that `reserved`
    // refuses (a class of the engine's own), is refused.
    bool Load(int slot, const std::string& path, bool (*reserved)(const CString& name),
              std::string* error);
    void Unload(int slot);
    // Loads every "*.csv" of `dir` in name order into the free slots.
    // Returns the reasons of the files refused.
    std::vector<std::string> LoadFolder(const std::string& dir,
                                        bool (*reserved)(const CString& name));

    const AdfSystem* Slot(int n) const;
    const AdfSystem* ByName(const CString& objectName) const;  // case ignored

  private:
    std::array<std::unique_ptr<AdfSystem>, kSlots> m_slots;
};

// Parses a right ascension (hours) or declination (degrees), decimal or
// "d:m:s" / "d:m" with an optional sign; false for anything else.
bool ParseSexagesimal(const std::string& text, double* value);

}  // namespace sky
