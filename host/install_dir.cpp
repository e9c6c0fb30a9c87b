#include "host/install_dir.h"

#include <cstring>

// Not const, and read through an opaque pointer: the install step rewrites
// the bytes in the file, so the compiler must not fold the initial value.
// External linkage keeps the symbol findable with `nm` when checking a copy.
extern "C" {
[[gnu::used]] char vexclk_installed_share_dir[host::kInstallSlotSize] = VEXCLK_INSTALL_SLOT_MARKER;
}

namespace host {

std::string InstalledShareDir() {
    const char* slot = vexclk_installed_share_dir;
    asm volatile("" : "+r"(slot));
    // An installed slot holds an absolute path; the marker starts with '@'.
    if (slot[0] != '/') return {};
    return std::string(slot, strnlen(slot, kInstallSlotSize - 1));
}

}  // namespace host
