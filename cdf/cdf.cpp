#include "cdf/cdf.h"

#include <iterator>
#include <utility>

#include "host/file_system.h"
#include "host/registry.h"

namespace {

const CString kCommentPrefix = u"@msg\t";  // compared in lower case
const CString kEscapedMark = u"e";         // before the quote of the escaped form

bool IsCommentItem(const CString& line) {
    return line.Left(kCommentPrefix.GetLength()).MakeLower() == kCommentPrefix;
}

// Whether an item line carries something worth saving: the text after its
// first tab, without the white space at its ends and one pair of quotes,
// is not empty.
bool HasValue(const CString& line) {
    const int tab = line.Find(u'\t');
    if (tab < 0) return false;
    CString value = line.Mid(tab + 1);
    value.Trim();
    if (value.Left(1) == u"\"") value.Delete(0);
    if (value.Right(1) == u"\"") value.Delete(value.GetLength() - 1);
    return !value.IsEmpty();
}

// The escapes of the plain form, in the order they are made; reading undoes
// them in the reverse order.
const std::pair<const char16_t*, const char16_t*> kPlainEscapes[] = {
    {u"\n", u"\\n"}, {u"\r", u"\\r"}, {u"\"", u"\\\""}};

// The plain form's text inside the quotes.
CString EscapePlain(const CString& comment) {
    CString text = comment;
    for (const auto& [character, escape] : kPlainEscapes) text.Replace(character, escape);
    return text;
}

// The escaped form's text inside the quotes: every backslash doubled first,
// so that the backslashes of the escapes that follow stand alone.
CString EscapeAll(const CString& comment) {
    CString text = comment;
    text.Replace(u"\\", u"\\\\");
    return EscapePlain(text);
}

bool IsUnescapedQuote(const CString& text, int i) {
    return text[i] == u'"' && (i == 0 || text[i - 1] != u'\\');
}

// The comment of a plain-form value (after its opening quote).  The writer
// escapes every quote inside and closes the value at the line's end; a value
// of that shape ends there, even after a backslash.  Any other value ends at
// its first unescaped quote, or runs to the end of the line.
CString ReadPlain(const CString& rest) {
    const int last = rest.GetLength() - 1;
    int end = rest.GetLength();
    for (int i = 0; i < rest.GetLength(); ++i) {
        if (IsUnescapedQuote(rest, i)) {
            end = i;
            break;
        }
    }
    if (last >= 0 && rest[last] == u'"' && end >= last) end = last;
    CString text = rest.Left(end);
    for (auto it = std::rbegin(kPlainEscapes); it != std::rend(kPlainEscapes); ++it) {
        text.Replace(it->second, it->first);
    }
    return text;
}

// The comment of an escaped-form value (after its opening quote): up to the
// first unescaped quote; a backslash before any other character stands for
// itself.
CString ReadEscaped(const CString& rest) {
    CString text;
    for (int i = 0; i < rest.GetLength(); ++i) {
        const char16_t c = rest[i];
        if (c == u'"') break;
        const char16_t next = rest[i + 1];  // u'\0' past the end
        if (c == u'\\' && (next == u'\\' || next == u'"' || next == u'n' || next == u'r')) {
            text += next == u'n' ? u'\n' : next == u'r' ? u'\r' : next;
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

// The comment item of a comment: the plain form when it reads back as the
// comment, else the escaped form.
CString CommentItem(const CString& comment) {
    const CString plain = EscapePlain(comment) + u"\"";
    if (ReadPlain(plain) == comment) return kCommentPrefix + u"\"" + plain;
    return kCommentPrefix + kEscapedMark + u"\"" + EscapeAll(comment) + u"\"";
}

// A key that a key line cannot carry back: the line would break, or lose
// its leading ':'.
bool IsStorableKey(const CString& key) {
    return key.FindOneOf(u"\r\n") < 0 && key.Left(1) != u":";
}

}  // namespace

void CCdf::AddEntry(const CString& key, const CStringArray& lines) {
    CStringArray* entry = m_entries.PLookup(key);
    if (!entry) {
        m_entries.SetAt(key, lines);
        m_keys.Add(key);
        return;
    }
    for (const CString& line : lines) entry->Add(line);
}

int CCdf::LoadFile(const CString& path, CLumFile::Error* error) {
    CLumFile file;
    if (!file.Open(path, CLumFile::modeRead | CLumFile::shareDenyWrite | CLumFile::typeText,
                   error)) {
        return 0;
    }
    bool any = false;
    bool in_entry = false;
    CString key;
    CStringArray lines;
    for (CString line; file.ReadString(line);) {
        any = true;
        if (line.Left(1) == u":") {
            if (in_entry) AddEntry(key, lines);
            key = line.TrimLeft(u':');
            lines.RemoveAll();
            in_entry = true;
        } else if (!in_entry) {
            m_preamble.Add(line);
        } else {
            lines.Add(line.TrimLeft(u'\t'));
        }
    }
    if (in_entry) AddEntry(key, lines);
    file.Close();
    return any ? 1 : 0;
}

int CCdf::SaveFile(const CString& path) {
    CLumFile file;
    if (!file.Open(path, CLumFile::modeCreate | CLumFile::modeWrite | CLumFile::shareExclusive |
                             CLumFile::typeText)) {
        return 0;
    }
    for (const CString& line : m_preamble) file.WriteLine(line);
    for (const CString& key : m_keys) {
        const CStringArray* entry = m_entries.PLookup(key);
        if (!entry) continue;
        bool valued = false;
        for (const CString& line : *entry) valued = valued || HasValue(line);
        if (!valued) continue;
        file.WriteLine(u":" + key);
        for (const CString& line : *entry) file.WriteLine(u"\t" + line);
    }
    return file.Close();
}

int CCdf::GetComment(const CString& key, CString& comment) const {
    comment.Empty();
    const CStringArray* entry = m_entries.PLookup(key);
    if (!entry) return 0;
    for (const CString& line : *entry) {
        if (!IsCommentItem(line)) continue;
        CString value = line.Mid(kCommentPrefix.GetLength());
        value.TrimLeft();
        if (value.Left(1) == u"\"") {
            comment = ReadPlain(value.Mid(1));
        } else if (value.Left(2) == kEscapedMark + u"\"") {
            comment = ReadEscaped(value.Mid(2));
        } else {
            return 0;
        }
        return 1;
    }
    return 0;
}

int CCdf::SetComment(const CString& key, const CString& comment) {
    if (!IsStorableKey(key)) return 0;
    const CString item = CommentItem(comment);
    CStringArray* entry = m_entries.PLookup(key);
    if (!entry) {
        CStringArray lines;
        lines.Add(item);
        AddEntry(key, lines);
        return 1;
    }
    for (CString& line : *entry) {
        if (IsCommentItem(line)) {
            line = item;
            return 1;
        }
    }
    entry->Add(item);
    return 1;
}

CString CCdf::DefaultPath() {
    CString path;
    if (CRegistry::Read(u"Files", u"ClickData", CString(), path) && !path.IsEmpty()) return path;
    const std::string data = host::XdgFolder("XDG_DATA_HOME", ".local/share");
    if (data.empty()) return CString();
    return CString::FromUtf8(data + "/vexclk/lumvex.cdf");
}
