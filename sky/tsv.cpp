#include "sky/tsv.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>

#include "host/file_read.h"

namespace sky {
namespace {

// The largest catalogue file read (stars.tsv holds about 4 MB); a bigger
// one is not a catalogue of ours and is refused unread.
constexpr size_t kMaxFileBytes = size_t{256} << 20;

// Splits at tabs; the pieces point into `line`.
void SplitTabs(std::string_view line, std::vector<std::string_view>* out) {
    out->clear();
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        out->push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return;
        start = tab + 1;
    }
}

}  // namespace

std::string JoinPath(const std::string& dir, const char* name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

bool CTsvFile::Open(const std::string& path, std::string* error) {
    m_path = path;
    const host::FileRead read = host::ReadFileAtMost(path, kMaxFileBytes, &m_text, true);
    if (read.result == host::FileRead::Result::kFailed &&
        (read.error == 0 || read.error == EISDIR)) {
        *error = path + ": not a regular file";
        return false;
    }
    if (read.result == host::FileRead::Result::kTooLarge) {
        *error = path + ": " + host::FileReadProblem(read, kMaxFileBytes);
        return false;
    }
    if (read.result != host::FileRead::Result::kRead) {
        *error = path + ": cannot open the catalogue file";
        return false;
    }
    m_rowsAtMost = static_cast<size_t>(std::count(m_text.begin(), m_text.end(), '\n')) + 1;
    std::string_view line;
    while (NextLine(&line)) {
        if (!line.empty() && line[0] == '#') continue;
        SplitTabs(line, &m_fields);
        m_names.assign(m_fields.begin(), m_fields.end());
        m_fields.clear();
        return true;
    }
    *error = m_path + ": no column line (empty or not a catalogue file)";
    return false;
}

CTsvFile::Column CTsvFile::Bind(const char* name) {
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == name) return Column{i, name};
    }
    m_missing.emplace_back(name);
    return Column{0, name};
}

bool CTsvFile::ColumnsFound(std::string* error) const {
    if (m_missing.empty()) return true;
    *error = m_path + ":" + std::to_string(m_line) + ": no column \"" + m_missing.front() + "\"";
    return false;
}

bool CTsvFile::Next(std::string* error) {
    std::string_view line;
    while (NextLine(&line)) {
        if (line.empty() || line[0] == '#') continue;
        SplitTabs(line, &m_fields);
        if (m_fields.size() != m_names.size()) {
            *error = Where() + std::to_string(m_fields.size()) + " fields, expected " +
                     std::to_string(m_names.size());
            return false;
        }
        return true;
    }
    return false;
}

bool CTsvFile::NextLine(std::string_view* line) {
    if (m_pos >= m_text.size()) return false;
    const size_t end = m_text.find('\n', m_pos);
    const size_t stop = end == std::string::npos ? m_text.size() : end;
    *line = std::string_view(m_text).substr(m_pos, stop - m_pos);
    if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
    m_pos = stop + 1;
    ++m_line;
    return true;
}

std::string CTsvFile::Where() const {
    return m_path + ":" + std::to_string(m_line) + ": ";
}

bool CTsvFile::Fail(const Column& c, const std::string& what, std::string* error) const {
    *error = Where() + what + " in column " + c.name;
    return false;
}

bool CTsvFile::Text(const Column& c, CString* out, std::string* error) const {
    bool valid = true;
    *out = CString::FromUtf8(m_fields[c.index], &valid);
    return valid || Fail(c, "not UTF-8 text", error);
}

bool CTsvFile::List(const Column& c, std::vector<CString>* out, std::string* error) const {
    out->clear();
    std::string_view rest = m_fields[c.index];
    while (!rest.empty()) {
        const size_t bar = rest.find('|');
        const std::string_view item = rest.substr(0, bar);
        bool valid = true;
        if (!item.empty()) out->push_back(CString::FromUtf8(item, &valid));
        if (!valid) return Fail(c, "not UTF-8 text", error);
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return true;
}

bool CTsvFile::Double(const Column& c, double* out, std::string* error) const {
    const std::string_view s = m_fields[c.index];
    const auto r = std::from_chars(s.data(), s.data() + s.size(), *out);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(*out))
        return Fail(c, "bad number \"" + std::string(s) + "\"", error);
    return true;
}

bool CTsvFile::Optional(const Column& c, std::optional<double>* out, std::string* error) const {
    out->reset();
    if (m_fields[c.index].empty()) return true;
    double v = 0.0;
    if (!Double(c, &v, error)) return false;
    *out = v;
    return true;
}

bool CTsvFile::Number(const Column& c, int* out, std::string* error) const {
    *out = 0;
    const std::string_view s = m_fields[c.index];
    if (s.empty()) return true;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), *out);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || *out < 0)
        return Fail(c, "bad catalogue number \"" + std::string(s) + "\"", error);
    return true;
}

bool CTsvFile::Position(const Column& ra, const Column& dec, double* raDeg, double* decDeg,
                        std::string* error) const {
    if (!Double(ra, raDeg, error) || !Double(dec, decDeg, error)) return false;
    if (*raDeg < 0.0 || *raDeg >= 360.0) return Fail(ra, "right ascension outside [0, 360)", error);
    if (*decDeg < -90.0 || *decDeg > 90.0) return Fail(dec, "declination outside [-90, 90]", error);
    return true;
}

}  // namespace sky
