// Where an installed copy of a program finds the files it ships (the sky
// engine's catalogues, the fonts configuration).
//
// The libraries are static, so a program built against an installed vexclk
// carries the engine in its own file and cannot learn the prefix from where
// a library lies.  Every binary therefore holds one fixed-size slot that
// starts with a marker; the install step (cmake/relocate.cpp) writes the
// share folder of the prefix being installed into the slot of each binary
// and library it installs, so `cmake --install build --prefix ANYWHERE`
// gives programs that find their files there.  A binary of the build tree
// keeps the marker.
#pragma once

#include <cstddef>
#include <string>

// The slot's first bytes until the install step fills it; a macro, so that
// the marker's bytes lie in the slot and nowhere else in a binary.
#define VEXCLK_INSTALL_SLOT_MARKER "@@VEXCLK_INSTALLED_SHARE_DIR@@"

namespace host {

// The slot's size in bytes, its terminating NUL included.
inline constexpr size_t kInstallSlotSize = 1024;

// The share folder (`<prefix>/share/vexclk`, an absolute path) this binary
// was installed with; "" for a binary of the build tree.
std::string InstalledShareDir();

}  // namespace host
