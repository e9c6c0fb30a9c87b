// The private folder of a file-based fuzz target, made once per process and
// removed when it ends.
//
// It lies in /dev/shm (a tmpfs) when that can be written, else in /tmp.  The
// stores under test save as always (lock, temporary file, fsync of the file
// and of its folder, rename); on a tmpfs those fsyncs return at once instead
// of waiting for a disk, which made them nearly all of the fuzzer's time.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string FuzzFolder(const char* name) {
    static std::string made;  // one folder per process
    if (!made.empty()) std::abort();
    for (const char* base : {"/dev/shm", "/tmp"}) {
        if (access(base, W_OK) != 0) continue;
        std::string folder = std::string(base) + "/vexclk-fuzz-" + name + "-XXXXXX";
        if (!mkdtemp(folder.data())) continue;
        made = folder;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return folder;
    }
    std::abort();
}
