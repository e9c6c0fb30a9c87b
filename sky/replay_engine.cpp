#include "sky/replay_engine.h"

#include "engine/stkstr.h"
#include "host/file_read.h"
#include "host/printable.h"

namespace {

// Unescapes a reply; returns false with the offending sequence in *bad.
bool Unescape(std::string_view in, std::string* out, std::string* bad) {
    out->clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            *out += in[i];
            continue;
        }
        if (i + 1 >= in.size()) {
            *bad = "\\ at the end of the line";
            return false;
        }
        switch (in[++i]) {
            case 't':
                *out += '\t';
                break;
            case 'n':
                *out += '\n';
                break;
            case 'r':
                *out += '\r';
                break;
            case '\\':
                *out += '\\';
                break;
            default:
                // The line is valid UTF-8: quote the whole character.
                *bad = "unknown escape \\" +
                       host::Printable(in.substr(
                           i, host::Utf8SequenceLength(static_cast<unsigned char>(in[i]))));
                return false;
        }
    }
    return true;
}

bool ValidUtf8(std::string_view s) {
    bool valid = false;
    CString::FromUtf8(s, &valid);
    return valid;
}

}  // namespace

CString CReplayEngine::Key(const CString& command) {
    CString key = command;
    return key.MakeLower();
}

bool CReplayEngine::LoadFile(const std::string& path, std::string* error) {
    std::string text;
    const host::FileRead read = host::ReadFileAtMost(path, kMaxTranscriptBytes, &text);
    const std::string origin = host::Printable(path);
    if (read.result == host::FileRead::Result::kTooLarge) {
        *error = origin + ": " + host::FileReadProblem(read, kMaxTranscriptBytes) +
                 ", not a replies file";
        return false;
    }
    if (read.result != host::FileRead::Result::kRead) {
        *error = origin + ": cannot read the replies file: " +
                 host::FileReadProblem(read, kMaxTranscriptBytes);
        return false;
    }
    return LoadText(text, error, origin);
}

bool CReplayEngine::LoadText(std::string_view text, std::string* error, const std::string& origin) {
    std::map<CString, CString> table;
    size_t line_no = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        const auto where = [&] { return origin + ":" + std::to_string(line_no) + ": "; };
        if (!ValidUtf8(line)) {
            *error = where() + "not UTF-8 text";
            return false;
        }
        if (line.find('\0') != std::string_view::npos) {
            // Texts never hold NUL: `vexclk text --raw` separates them by it.
            *error = where() + "a NUL character, not text";
            return false;
        }
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            *error = where() + "no tab between command and reply";
            return false;
        }
        std::string reply, bad;
        if (!Unescape(line.substr(tab + 1), &reply, &bad)) {
            *error = where() + bad;
            return false;
        }
        table[Key(CString::FromUtf8(line.substr(0, tab)))] = CString::FromUtf8(reply);
    }
    for (auto& [key, reply] : table) m_replies[key] = reply;
    return true;
}

void CReplayEngine::SetReply(const CString& command, const CString& reply) {
    m_replies[Key(command)] = reply;
}

void CReplayEngine::RemoveReply(const CString& command) {
    m_replies.erase(Key(command));
}

CString CReplayEngine::Lookup(const CString& command) const {
    const auto it = m_replies.find(Key(command));
    return it == m_replies.end() ? CString() : it->second;
}

CString CReplayEngine::Doit(const CString& command) {
    if (m_recording) m_commands.push_back(command);
    return Lookup(command);
}

tagADATE CReplayEngine::GetDate() {
    // A transcript that carries the local date fields answers with them;
    // otherwise the date follows from the Julian Day and the zone.
    if (Lookup(u"? LST(Time.Year)").IsEmpty()) return CCorLum::GetDate();
    tagADATE d;
    d.year = CStkStr(Lookup(u"? LST(Time.Year)")).atoi(0);
    d.month = CStkStr(Lookup(u"? LST(Time.Month)")).atoi(0);
    d.day = CStkStr(Lookup(u"? LST(Time.Day)")).atoi(0);
    d.hour = CStkStr(Lookup(u"? LST(Time.Hour)")).atoi(0);
    d.minute = CStkStr(Lookup(u"? LST(Time.Minute)")).atoi(0);
    d.second = CStkStr(Lookup(u"? LST(Time.Second)")).atof(0.0);
    d.zone = GetTz();
    return d;
}
