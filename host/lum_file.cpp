#include "host/lum_file.h"

#include "host/file_system.h"

// A new version of a file being written, under the file's writer lock.
struct host::detail::LumFileWriter {
    host::StoreWriteLock lock;
    host::StoreReplacement replacement;
    std::string buffer;  // written out in blocks, and at Close
};

namespace {

// Far beyond any text file of the module's; a bigger file is not read.
constexpr size_t kMaxFileBytes = size_t{64} << 20;
constexpr size_t kWriteBlock = size_t{64} << 10;

// UTF-16 code units of `bytes` from `first`, in either byte order; false
// for an odd byte count or a surrogate without its partner, which no UTF-8
// file could carry on.
bool DecodeUtf16(const std::string& bytes, size_t first, bool big_endian, CString* text) {
    if ((bytes.size() - first) % 2 != 0) return false;
    std::u16string out;
    out.reserve((bytes.size() - first) / 2);
    for (size_t i = first; i < bytes.size(); i += 2) {
        const auto hi = static_cast<unsigned char>(bytes[big_endian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(bytes[big_endian ? i + 1 : i]);
        out += static_cast<char16_t>(hi << 8 | lo);
    }
    for (size_t i = 0; i < out.size(); ++i) {
        const bool high = out[i] >= 0xD800 && out[i] <= 0xDBFF;
        const bool low = out[i] >= 0xDC00 && out[i] <= 0xDFFF;
        if (low) return false;
        if (high) {
            if (i + 1 >= out.size() || out[i + 1] < 0xDC00 || out[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    *text = CString(std::move(out));
    return true;
}

bool StartsWith(const std::string& bytes, const char* mark) {
    return bytes.compare(0, std::char_traits<char>::length(mark), mark) == 0;
}

}  // namespace

CLumFile::CLumFile() = default;
CLumFile::~CLumFile() = default;

bool CLumFile::Decode(const std::string& bytes, CString* text) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bool valid = false;
        *text = CString::FromUtf8(std::string_view(bytes).substr(3), &valid);
        return valid;
    }
    if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16(bytes, 2, false, text);
    if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16(bytes, 2, true, text);
    bool valid = false;
    *text = CString::FromUtf8(bytes, &valid);
    return valid;
}

int CLumFile::Open(const CString& path, unsigned flags, Error* error) {
    Error ignored;
    Error& why = error ? *error : ignored;
    why = Error::kNone;
    Close();
    const std::string name = path.ToUtf8();
    std::string bytes;
    if ((flags & (modeCreate | modeWrite)) == 0) {
        switch (host::ReadWholeFile(name, kMaxFileBytes, &bytes)) {
            case host::FileState::kRead:
                break;
            case host::FileState::kMissing:
                why = Error::kMissing;
                return 0;
            default:
                why = Error::kUnreadable;
                return 0;
        }
        if (!Decode(bytes, &m_text)) {
            m_text.Empty();
            why = Error::kUndecodable;
            return 0;
        }
        m_next = 0;
        m_reading = true;
        return 1;
    }
    if ((flags & (modeCreate | modeWrite)) != (modeCreate | modeWrite)) {
        why = Error::kBadFlags;
        return 0;
    }

    auto writer = std::make_unique<host::detail::LumFileWriter>();
    const std::string target = host::ResolveLink(name);
    if (name.empty() || !writer->lock.Acquire(target)) {
        why = Error::kUnwritable;
        return 0;
    }
    mode_t mode = 0600;
    CString text;
    switch (host::ReadWholeFile(target, kMaxFileBytes, &bytes, &mode)) {
        case host::FileState::kMissing:
            break;
        case host::FileState::kRead:
            if (Decode(bytes, &text)) break;
            why = Error::kUndecodable;
            return 0;
        default:
            why = Error::kUnreadable;
            return 0;
    }
    if (!writer->replacement.Open(target, mode)) {
        why = Error::kUnwritable;
        return 0;
    }
    m_writer = std::move(writer);
    return 1;
}

int CLumFile::ReadString(CString& line) {
    line.Empty();
    if (!m_reading || m_next >= m_text.GetLength()) return 0;
    const int end = m_text.Find(u'\n', m_next);
    const int stop = end < 0 ? m_text.GetLength() : end;
    const int cut = end > m_next && m_text[end - 1] == u'\r' ? end - 1 : stop;
    line = m_text.Mid(m_next, cut - m_next);
    m_next = stop + 1;
    return 1;
}

void CLumFile::WriteString(const CString& text) {
    if (!m_writer) return;
    m_writer->buffer += text.ToUtf8();
    if (m_writer->buffer.size() >= kWriteBlock) {
        m_writer->replacement.Write(m_writer->buffer);
        m_writer->buffer.clear();
    }
}

void CLumFile::WriteLine(const CString& line) {
    WriteString(line + (line.Right(1) == u"\r" ? u"\r\n" : u"\n"));
}

int CLumFile::Close() {
    m_reading = false;
    m_text.Empty();
    if (!m_writer) return 1;
    std::unique_ptr<host::detail::LumFileWriter> writer = std::move(m_writer);
    const bool ok = writer->replacement.Write(writer->buffer) && writer->replacement.Commit();
    return ok ? 1 : 0;
}
