// The settings store: any bytes on disk as the store, read as every kind of
// value, then one value written and read back.  A write reported done must
// be what the store reads; a store that was not JSON is kept aside.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_folder.h"
#include "host/registry.h"

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        std::string name = FuzzFolder("registry");
        setenv("VEXCLK_REGISTRY", (name + "/registry.json").c_str(), 1);
        return name;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
        std::filesystem::remove(entry.path());
    const std::string store = Folder() + "/registry.json";
    FILE* f = std::fopen(store.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

    std::string problem;
    CRegistry::CheckStore(&problem);
    int number = 0;
    CString text;
    for (const char16_t* key : {u"ClickData", u"Default", u"Files", u""}) {
        CRegistry::Read(key, u"AltSpan", 7, &number, 1);
        CRegistry::Read(key, u"ClickData", CString(u"d"), text);
        CRegistry::Snapshot snapshot;
        CRegistry::Read(key, u"FontSize", 7, &number, 0);
    }
    const int value = static_cast<int>(size * 7919 % 100000) - 50000;
    if (CRegistry::Write(u"ClickData", u"AltSpan", value, 1)) {
        if (!CRegistry::Read(u"ClickData", u"AltSpan", value + 1, &number, 1) || number != value)
            std::abort();
        if (!CRegistry::CheckStore(&problem)) std::abort();
    }
    return 0;
}
