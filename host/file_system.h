// File helpers shared by the stores of user data (the registry, the comment
// file): whole-file reads, the writers' lock, crash-safe replacement of a
// file, and the user's folders.
//
// A store is replaced, never rewritten in place: the new contents go to a
// temporary file "<store>.tmp-XXXXXX" in the same folder, are flushed to
// disk, and the temporary file is renamed over the store.  A crash or a full
// disk therefore leaves either the old file or the new one, never a torn or
// empty one.  Writers of one store serialise on an advisory lock
// (flock on "<store>.lock" beside it); readers take no lock.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace host {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }
    void Reset(int fd);
    // Closes now, reporting the error a delayed write may surface here.
    bool Close();

  private:
    int m_fd;
};

enum class FileState { kRead, kMissing, kUnreadable, kOversized };

// Reads a whole regular file into *bytes.  A file beyond `max_bytes` is not
// pulled into memory (kOversized); `mode`, when given, receives its
// permission bits, and `problem` why the file could not be read.
FileState ReadWholeFile(const std::string& path, size_t max_bytes, std::string* bytes,
                        mode_t* mode = nullptr, std::string* problem = nullptr);

// Writes everything, retrying after signals.  False on an error.
bool WriteAll(int fd, const char* data, size_t size);

// A store that is a symbolic link (say into a dotfiles checkout) stays a
// link: this is the file it points to, even one not made yet, which is the
// one to replace.
std::string ResolveLink(std::string path);

// The folder of a path ("." for a bare name).
std::string FolderOf(const std::string& path);

// The exclusive right to replace one store, across processes.
class StoreWriteLock {
  public:
    StoreWriteLock() = default;
    StoreWriteLock(const StoreWriteLock&) = delete;
    StoreWriteLock& operator=(const StoreWriteLock&) = delete;
    // Creates the store's folder when needed, waits for the lock on
    // "<store>.lock", then removes the temporary files that writers killed
    // half-way left behind (no other writer can be using one now).  False
    // when the folder or the lock file cannot be made.
    bool Acquire(const std::string& store);

  private:
    FileDescriptor m_lock;
};

// A complete new version of a store, written beside it and renamed over it
// by Commit.  Dropped without Commit, the temporary file goes and the store
// stays as it was.
class StoreReplacement {
  public:
    StoreReplacement() = default;
    ~StoreReplacement();
    StoreReplacement(const StoreReplacement&) = delete;
    StoreReplacement& operator=(const StoreReplacement&) = delete;
    // Creates the temporary file for `store` (a resolved path) with the
    // permission bits `mode`.
    bool Open(const std::string& store, mode_t mode);
    bool Write(std::string_view bytes);
    // Flushes the file to disk and renames it over the store.  False, with
    // the store untouched, when any step (or an earlier Write) failed.
    bool Commit();

  private:
    void Abandon();
    FileDescriptor m_fd;
    std::string m_store, m_temporary;
    bool m_failed = false;
};

// The user's home folder: $HOME, else the password database; empty when
// neither knows one.
std::string HomeFolder();

// An XDG base folder: $<variable> when it holds an absolute path (the XDG
// rules ignore a relative one), else <home>/<fallback>; empty without a home.
std::string XdgFolder(const char* variable, const char* fallback);

}  // namespace host
