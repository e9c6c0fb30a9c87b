#include "sky/command.h"

#include <string>
#include <string_view>
#include <utility>

namespace sky {
namespace {

// Position of the first `ch` from `from` on outside double quotes and
// parentheses, or -1.
int FindTopLevel(const CString& text, char16_t ch, int from = 0) {
    bool quoted = false;
    int depth = 0;
    for (int i = from; i < text.GetLength(); ++i) {
        const char16_t c = text[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u'(') {
            ++depth;
        } else if (!quoted && c == u')') {
            if (depth > 0) --depth;
        } else if (!quoted && depth == 0 && c == ch) {
            return i;
        }
    }
    return -1;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

// The text without the white space around it, as CString::Trim drops it.
std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool StartsWithWord(const CString& text, const char16_t* word) {
    const CString w(word);
    if (text.Left(w.GetLength()).CompareNoCase(w) != 0) return false;
    const char16_t next = text.GetAt(w.GetLength());
    return next == u' ' || next == u'\t';
}

}  // namespace

std::vector<CString> SplitStatements(const CString& command) {
    std::vector<CString> out;
    // A top-level ";" leaves no quote or parenthesis open, so the search for
    // the next one starts afresh right after it.
    for (int from = 0;;) {
        const int semicolon = FindTopLevel(command, u';', from);
        if (semicolon < 0) {
            out.push_back(command.Mid(from));
            return out;
        }
        out.push_back(command.Mid(from, semicolon - from));
        from = semicolon + 1;
    }
}

Statement ParseStatement(const CString& text) {
    Statement s;
    const std::u16string_view trimmed = Trimmed(text.view());
    if (trimmed.empty()) return s;

    if (trimmed[0] == u'?') {
        s.kind = Statement::Kind::Query;
        // A text asks dozens of these: the target is copied once.
        s.target = CString(Trimmed(trimmed.substr(1)));
        if (s.target.IsEmpty()) s.kind = Statement::Kind::Invalid;
        return s;
    }
    CString body(trimmed);
    bool is_default = false;
    if (StartsWithWord(body, u"default")) {
        is_default = true;
        body = body.Mid(7).Trim();
    }
    const int equals = FindTopLevel(body, u'=');
    if (equals < 0) {
        if (is_default) {
            s.kind = Statement::Kind::Invalid;
        } else {
            s.kind = Statement::Kind::Verb;
            s.target = body;
        }
        return s;
    }
    s.kind = is_default ? Statement::Kind::Default : Statement::Kind::Assignment;
    s.target = body.Left(equals).Trim();
    CString value = body.Mid(equals + 1).Trim();
    if (value.GetLength() >= 2 && value[0] == u'"' && value[value.GetLength() - 1] == u'"') {
        value = value.Mid(1, value.GetLength() - 2);
        s.quoted = true;
    } else if (value.GetLength() >= 1 && value[0] == u'"') {
        s.kind = Statement::Kind::Invalid;  // unterminated text
        return s;
    }
    s.value = value;
    if (s.target.IsEmpty()) s.kind = Statement::Kind::Invalid;
    return s;
}

}  // namespace sky
