// CLumFile: the host's text file, read and written line by line.
//
// Reading takes UTF-8 (with or without a byte-order mark) and UTF-16 with a
// byte-order mark (either byte order); lines end in "\n" or "\r\n".  A file
// that is none of these cannot be decoded and does not open.
//
// Writing produces UTF-8 without a byte-order mark; "\n" is written as it
// is.  A file opened for writing is never changed in place: the lines go to
// a temporary file beside it, and Close renames that over the old file (see
// host/file_system.h), so a crash or a full disk leaves the old file whole.
// Writers of one file take turns on a lock.  A file that exists but could
// not be read back (cannot be decoded, cannot be read, is no regular file)
// is never replaced: Open for writing refuses it.
//
// Paths are UTF-16 and name the file by its UTF-8 spelling.  No operation
// throws.
#pragma once

#include <memory>
#include <string>

#include "host/cstring.h"

namespace host::detail {
struct LumFileWriter;
}

class CLumFile {
  public:
    // Open flags in the framework's spelling.  Reading needs modeRead;
    // writing needs modeCreate | modeWrite (a new version of the whole
    // file).  The share and type flags are accepted and change nothing.
    enum : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        modeCreate = 0x1000,
        typeText = 0x4000,
    };
    // Why Open failed.
    enum class Error { kNone, kMissing, kUnreadable, kUndecodable, kUnwritable, kBadFlags };

    CLumFile();
    // A file written and not closed is dropped; the old one stays.
    ~CLumFile();
    CLumFile(const CLumFile&) = delete;
    CLumFile& operator=(const CLumFile&) = delete;

    // Non-zero when the file is open; else 0 with the reason in *error.
    int Open(const CString& path, unsigned flags, Error* error = nullptr);
    // The next line without its line end; 0 after the last line.
    int ReadString(CString& line);
    // Appends text (UTF-16) to a file opened for writing.
    void WriteString(const CString& text);
    // Appends one line and its line end, such that ReadString gives the line
    // back as it was: a line that itself ends in a carriage return is ended
    // with "\r\n", since ReadString takes one "\r" before "\n" as the end.
    void WriteLine(const CString& line);
    // Ends the use of the file.  For a file opened for writing: puts the new
    // version in place and tells whether that worked (0: the old file is as
    // it was).  Non-zero for a file opened for reading.
    int Close();

    // The text of a file's bytes as Open reads them; false when the bytes
    // cannot be decoded.
    static bool Decode(const std::string& bytes, CString* text);

  private:
    CString m_text;  // the whole text read
    int m_next = 0;  // where the next line starts
    bool m_reading = false;
    std::unique_ptr<host::detail::LumFileWriter> m_writer;
};
