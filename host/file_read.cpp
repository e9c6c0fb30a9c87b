#include "host/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace host {
namespace {

FileRead Failed(int error, mode_t mode = 0) {
    FileRead r;
    r.result = error == ENOENT || error == ENOTDIR ? FileRead::Result::kMissing
                                                   : FileRead::Result::kFailed;
    r.error = error;
    r.mode = mode;
    return r;
}

}  // namespace

FileRead ReadFileAtMost(const std::string& path, size_t limit, std::string* bytes,
                        bool regular_only) {
    bytes->clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failed(errno);
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat st {};
    if (fstat(fd, &st) != 0) return Failed(errno);
    if (S_ISDIR(st.st_mode)) return Failed(EISDIR, st.st_mode);
    if (regular_only && !S_ISREG(st.st_mode)) return Failed(0, st.st_mode);
    FileRead r;
    r.mode = st.st_mode;
    r.result = FileRead::Result::kTooLarge;
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > limit) return r;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failed(errno, st.st_mode);
        if (n == 0) break;
        if (static_cast<size_t>(n) > limit - bytes->size()) {
            bytes->clear();
            return r;
        }
        bytes->append(buffer, static_cast<size_t>(n));
    }
    r.result = FileRead::Result::kRead;
    return r;
}

std::string FileReadProblem(const FileRead& read, size_t limit) {
    switch (read.result) {
        case FileRead::Result::kRead:
            return {};
        case FileRead::Result::kTooLarge:
            if (limit % (size_t{1} << 20) == 0) {
                return "larger than " + std::to_string(limit >> 20) + " MiB";
            }
            return "larger than " + std::to_string(limit) + " bytes";
        default:
            if (read.error == 0) return "not a regular file";
            return std::system_category().message(read.error);
    }
}

}  // namespace host
