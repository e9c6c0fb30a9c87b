// The sky engine's command interpreter: each line of the input is one
// command to a fresh engine at a fixed time, so that a run can be replayed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "sky/sky_engine.h"

namespace {

std::shared_ptr<const CSkyCatalog> Catalog() {
    static const std::shared_ptr<const CSkyCatalog> catalog = [] {
        auto c = std::make_shared<CSkyCatalog>();
        std::string error;
        if (!c->Load(CSkyCatalog::DefaultDataDir(), &error)) {
            std::fprintf(stderr, "cannot load the catalogues: %s\n", error.c_str());
            std::abort();
        }
        return c;
    }();
    return catalog;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Catalog();  // once, before the first input
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CSkyEngine sky(Catalog());
    sky.SetJd(2461381.0);  // 2026-12-06 12:00 UT
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        sky.Doit(CString::FromUtf8(rest.substr(0, end)));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return 0;
}
