#include "sky/satellite_catalog.h"

#include "host/registry.h"
#include "sky/tsv.h"

namespace satellite {

bool Catalog::LoadFile(const std::string& path, std::string* error) {
    std::vector<tle::ElementSet> sets;
    if (!tle::LoadFile(path, &sets, error)) return false;
    std::vector<Entry> entries;
    entries.reserve(sets.size());
    for (tle::ElementSet& set : sets) {
        const sgp4::Propagator propagator(set.elements);
        entries.push_back({std::move(set), propagator});
    }
    m_entries = std::move(entries);
    m_path = path;
    return true;
}

std::shared_ptr<const Catalog> Catalog::Load(const std::string& dataDir) {
    auto catalog = std::make_shared<Catalog>();
    CString stored;
    CRegistry::Read(kRegistryKey, kRegistryValue, CString(), stored);
    std::string error;
    if (!stored.IsEmpty() && catalog->LoadFile(stored.ToUtf8(), &error)) return catalog;
    catalog->LoadFile(sky::JoinPath(dataDir, "satellites.tle"), &error);
    return catalog;
}

const Entry* Catalog::Find(int number) const {
    for (const Entry& e : m_entries) {
        if (e.set.number == number) return &e;
    }
    return nullptr;
}

}  // namespace satellite
