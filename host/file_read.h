// Whole files read with a ceiling, so that a huge or endless file (a
// device, a pipe that never ends) is refused instead of filling the memory.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace host {

struct FileRead {
    enum class Result { kRead, kMissing, kFailed, kTooLarge };
    Result result = Result::kFailed;
    int error = 0;    // errno of the failed open or read; 0 for a refused file type
    mode_t mode = 0;  // type and permission bits of the file opened
};

// Reads the file at `path` whole into *bytes when it holds at most `limit`
// bytes.  A regular file larger than that is refused from its size; any
// other file is read until it ends or goes beyond the limit.  kMissing when
// there is no such file (nor the folder it would be in).  With
// `regular_only`, a device, pipe or socket is refused unread (kFailed,
// error 0).  A folder fails with EISDIR.
FileRead ReadFileAtMost(const std::string& path, size_t limit, std::string* bytes,
                        bool regular_only = false);

// Why a read did not give the file: "No such file or directory", "Is a
// directory", "not a regular file", "larger than 64 MiB", ...
std::string FileReadProblem(const FileRead& read, size_t limit);

}  // namespace host
