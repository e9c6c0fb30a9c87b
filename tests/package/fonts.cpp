// A window program's start, built against the installed vexclk::palette:
// prints the fontconfig file the installed windows select.
#include <cstdio>
#include <cstdlib>

#include "host/ui/ui_misc.h"

int main() {
    host::ui::PrepareEnvironment();
    const char* file = std::getenv("FONTCONFIG_FILE");
    std::printf("fonts: %s\n", file ? file : "");
    return file ? 0 : 1;
}
