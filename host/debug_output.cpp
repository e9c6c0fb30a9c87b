#include "host/debug_output.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace host {

bool DebugOutputEnabled() {
    const char* value = std::getenv("VEXCLK_DEBUG");
    return value && std::strcmp(value, "1") == 0;
}

void OutputDebugStringW(const CString& text) {
    if (!DebugOutputEnabled()) return;
    const std::string utf8 = text.ToUtf8();
    // One write per call keeps lines of concurrent writers whole.
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

}  // namespace host
