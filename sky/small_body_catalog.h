// The comets and minor planets of data/small_bodies.tsv (made by
// tools/make_small_bodies.py from the JPL small-body database as KStars
// ships it; data/README.md describes the columns).
#pragma once

#include <string>
#include <vector>

#include "sky/small_bodies.h"

namespace solar {

// Reads the table at `path`.  On failure returns false with a one-line
// reason ("PATH:LINE: ...") in *error and leaves *bodies unchanged.  Rows
// keep the file's order.  A row whose elements are not a valid orbit
// (IsValid), or whose number fields are not numbers, is an error: the file
// is the project's own and must be sound.
bool LoadSmallBodies(const std::string& path, std::vector<SmallBody>* bodies, std::string* error);

}  // namespace solar
