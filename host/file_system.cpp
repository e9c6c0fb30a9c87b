#include "host/file_system.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "host/file_read.h"

namespace host {
namespace {

namespace fs = std::filesystem;

const char kLockSuffix[] = ".lock";
const char kTempInfix[] = ".tmp-";
const char kTempPattern[] = "XXXXXX";

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.ok()) fsync(fd.get());
}

// Temporary files that a writer killed half-way left behind.  Only called
// under the lock, when no other writer can be using one.
void RemoveStaleTemporaries(const std::string& store) {
    const std::string prefix = fs::path(store).filename().string() + kTempInfix;
    const size_t length = prefix.size() + sizeof kTempPattern - 1;
    std::error_code ec;
    for (fs::directory_iterator it(FolderOf(store), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == length && name.compare(0, prefix.size(), prefix) == 0) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) close(m_fd);
}

void FileDescriptor::Reset(int fd) {
    if (m_fd >= 0) close(m_fd);
    m_fd = fd;
}

bool FileDescriptor::Close() {
    const int fd = m_fd;
    m_fd = -1;
    return close(fd) == 0;
}

FileState ReadWholeFile(const std::string& path, size_t max_bytes, std::string* bytes, mode_t* mode,
                        std::string* problem) {
    const FileRead read = ReadFileAtMost(path, max_bytes, bytes, true);
    if (mode && read.mode != 0) *mode = read.mode & 07777;
    if (problem) *problem = FileReadProblem(read, max_bytes);
    switch (read.result) {
        case FileRead::Result::kRead:
            return FileState::kRead;
        case FileRead::Result::kMissing:
            return FileState::kMissing;
        case FileRead::Result::kTooLarge:
            return FileState::kOversized;
        default:
            return FileState::kUnreadable;
    }
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string ResolveLink(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {  // a loop of links ends somewhere
        std::error_code ec;
        if (!fs::is_symlink(path, ec)) break;
        fs::path target = fs::read_symlink(path, ec);
        if (ec) break;
        if (target.is_relative()) target = fs::path(path).parent_path() / target;
        path = target.string();
    }
    return path;
}

std::string FolderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

bool StoreWriteLock::Acquire(const std::string& store) {
    std::error_code ec;
    fs::create_directories(FolderOf(store), ec);
    if (ec) return false;
    m_lock.Reset(open((store + kLockSuffix).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!m_lock.ok()) return false;
    while (flock(m_lock.get(), LOCK_EX) != 0) {
        if (errno != EINTR) return false;
    }
    RemoveStaleTemporaries(store);
    return true;
}

StoreReplacement::~StoreReplacement() {
    Abandon();
}

void StoreReplacement::Abandon() {
    if (m_temporary.empty()) return;
    m_fd.Reset(-1);
    unlink(m_temporary.c_str());
    m_temporary.clear();
}

bool StoreReplacement::Open(const std::string& store, mode_t mode) {
    Abandon();
    m_store = store;
    std::string temporary = store + kTempInfix + kTempPattern;
    m_fd.Reset(mkostemp(temporary.data(), O_CLOEXEC));
    m_failed = !m_fd.ok();
    if (m_failed) return false;
    m_temporary = std::move(temporary);
    fchmod(m_fd.get(), mode);  // keep the old file's permissions; best effort
    return true;
}

bool StoreReplacement::Write(std::string_view bytes) {
    if (!m_failed && (!m_fd.ok() || !WriteAll(m_fd.get(), bytes.data(), bytes.size()))) {
        m_failed = true;
    }
    return !m_failed;
}

bool StoreReplacement::Commit() {
    bool ok = !m_failed && m_fd.ok() && fsync(m_fd.get()) == 0;
    if (m_fd.ok()) ok = m_fd.Close() && ok;
    if (ok && rename(m_temporary.c_str(), m_store.c_str()) == 0) {
        m_temporary.clear();
        SyncFolder(FolderOf(m_store));
        return true;
    }
    m_failed = true;
    Abandon();
    return false;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
        found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}

std::string XdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/" + fallback;
}

}  // namespace host
