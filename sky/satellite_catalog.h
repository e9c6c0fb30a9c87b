// The artificial satellites the sky engine knows: the element sets of one
// TLE file, each with its SGP4 propagator.
//
// Which file: the path in the settings store's value "Files"/"SatelliteTLE"
// (a file of two-line or three-line element sets, such as CelesTrak's),
// else the sample set shipped in data/satellites.tle.  A stored path whose
// file cannot be read or holds no valid element set falls back to the
// sample set.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sky/sgp4.h"
#include "sky/tle.h"

namespace satellite {

struct Entry {
    tle::ElementSet set;
    sgp4::Propagator propagator;
};

class Catalog {
  public:
    // Reads the file named above; never fails (an empty catalogue when the
    // sample set is missing too).
    static std::shared_ptr<const Catalog> Load(const std::string& dataDir);
    // Reads one file; false with "PATH: reason" in *error.
    bool LoadFile(const std::string& path, std::string* error);

    const std::vector<Entry>& Entries() const { return m_entries; }
    const Entry* Find(int number) const;
    const std::string& Path() const { return m_path; }

  private:
    std::vector<Entry> m_entries;
    std::string m_path;
};

// The settings store's value that names the user's TLE file.
constexpr const char16_t* kRegistryKey = u"Files";
constexpr const char16_t* kRegistryValue = u"SatelliteTLE";

}  // namespace satellite
