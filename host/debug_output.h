// The debugger-output channel of the host (OutputDebugStringW on Windows).
//
// The module writes one trace line per star text there.  On this platform
// the channel is stderr, and it is silent unless the user asks for it by
// setting the environment variable VEXCLK_DEBUG to 1, so that the command
// line's output stays clean.
#pragma once

#include "host/cstring.h"

namespace host {

// Whether debug output is on: VEXCLK_DEBUG is exactly "1".  Read at every
// call, so that a change of the environment takes effect at once.
bool DebugOutputEnabled();

// Writes `text` as UTF-8 to stderr, as it is (no line end added), when
// debug output is on; does nothing otherwise.
void OutputDebugStringW(const CString& text);

}  // namespace host
