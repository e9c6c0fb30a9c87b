// Small files of the user's (ADF catalogues, image placements), read with a
// ceiling and listed from a folder.
#pragma once

#include <string>
#include <vector>

namespace sky {

// Reads a regular file of at most `limit` bytes whole; false with a one-line
// reason ("PATH: ...") otherwise.
bool ReadUserFile(const std::string& path, size_t limit, std::string* text, std::string* error);

// The names of the regular files of `dir` that end in `suffix` (case
// ignored), in byte order of their names; nothing for a missing folder.
std::vector<std::string> FilesEndingIn(const std::string& dir, const std::string& suffix);

}  // namespace sky
