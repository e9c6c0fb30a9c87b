#include "engine/stkstr.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "host/c_locale.h"

namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The leading decimal number of a text, as strtod would read it (leading
// white space skipped), but never "inf", "nan" or hexadecimal.  Returns
// false when the text does not begin with a number.
bool LeadingNumber(const CString& text, std::string* number) {
    const auto& s = text.str();
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    std::string out;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) out += static_cast<char>(s[i++]);
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) out += static_cast<char>(s[i++]), ++digits;
    if (i < s.size() && s[i] == u'.') {
        out += '.';
        ++i;
        while (i < s.size() && IsDigit(s[i])) out += static_cast<char>(s[i++]), ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exponent += static_cast<char>(s[j++]);
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) exponent += static_cast<char>(s[j++]);
            out += exponent;
        }
    }
    *number = std::move(out);
    return true;
}

bool NoValue(const CString& text) {
    return text.IsEmpty() || text == u"*";
}

bool EqualNoCase(const CString& a, const char16_t* b) {
    return a.CompareNoCase(CString(b)) == 0;
}

bool ContainsNoCase(const CString& text, const CString& part) {
    CString t = text, p = part;
    return t.MakeUpper().Find(p.MakeUpper()) >= 0;
}

// Working copies of keyword-table texts are limited to 4095 characters.
constexpr int kTableTextLimit = 4095;

}  // namespace

int CStkStr::atoi(int def) const {
    if (NoValue(m_str)) return def;
    std::string number;
    if (!LeadingNumber(m_str, &number)) return 0;
    // Integer reading stops at the decimal point, as C's atoi does.
    const size_t cut = number.find_first_of(".e");
    if (cut != std::string::npos) number.resize(cut);
    if (number.empty() || number == "+" || number == "-") return 0;
    errno = 0;
    const long long v = std::strtoll(number.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

double CStkStr::atof(double def) const {
    if (NoValue(m_str)) return def;
    std::string number;
    if (!LeadingNumber(m_str, &number)) return 0.0;
    const host::ScopedCLocale c_locale;
    return std::strtod(number.c_str(), nullptr);
}

int CStkStr::IsNum() const {
    if (m_str.IsEmpty()) return 0;
    const char16_t c = m_str[0];
    return IsDigit(c) || c == u'+' || c == u'-';
}

int CStkStr::IsTrue() const {
    return EqualNoCase(m_str, u"TRUE") || EqualNoCase(m_str, u"ON") || m_str == u"1";
}

int CStkStr::IsFalse() const {
    return EqualNoCase(m_str, u"FALSE") || EqualNoCase(m_str, u"OFF") || m_str == u"0";
}

int CStkStr::Same(const char16_t* s) const {
    return EqualNoCase(m_str, s ? s : u"");
}

int CStkStr::IsInclude(const CString& s) const {
    return ContainsNoCase(m_str, s);
}

int CStkStr::Channel() const {
    if (m_str.GetLength() < 2 || m_str[0] != u'#' || !IsDigit(m_str[1])) return -1;
    return CStkStr(m_str.Mid(1)).atoi(-1);
}

int CStkStr::LineStyle() const {
    static const tagNAMETABLE styles[] = {{u"SOLID", 0},   {u"DASH", 1},       {u"DOT", 2},
                                          {u"DASHDOT", 3}, {u"DASHDOTDOT", 4}, {nullptr, 0}};
    for (const tagNAMETABLE* row = styles; row->name; ++row) {
        if (EqualNoCase(m_str, row->name)) return row->value;
    }
    return -1;
}

double CStkStr::DPS() const {
    const double v = atof(-1.0);
    if (v < 0.0) return v;
    if (IsInclude(u"DPS")) return v;
    if (IsInclude(u"DPM")) return v / 60.0;
    if (IsInclude(u"RPM")) return v * 360.0 / 60.0;
    return v;
}

int CStkStr::Year(int def) const {
    if (NoValue(m_str)) return def;
    const int n = atoi(def);
    if (IsInclude(u"A.D.") || IsInclude(u"AD")) return n;
    if (IsInclude(u"B.C.") || IsInclude(u"BC")) {
        // 1 - n overflows an int for n = INT_MIN: clamp as atoi does.
        const long long year = 1LL - n;
        return year > INT_MAX ? INT_MAX : static_cast<int>(year);
    }
    return n;
}

int CStkStr::TableSearch(const tagNAMETABLE table[], int* value) const {
    if (m_str.IsEmpty() || !table) return 0;
    CString key = m_str;
    const int paren = key.Find(u'(');
    if (paren >= 0) key = key.Left(paren);
    key = key.Left(kTableTextLimit);
    for (const tagNAMETABLE* row = table; row->name; ++row) {
        if (key.CompareNoCase(CString(row->name).Left(kTableTextLimit)) == 0) {
            if (value) *value = row->value;
            return 1;
        }
    }
    return 0;
}

int CStkStr::TableValueSearch(const tagNAMETABLE table[], int value) {
    if (!table) return 0;
    for (const tagNAMETABLE* row = table; row->name; ++row) {
        if (row->value == value) {
            SetText(CString(row->name));
            return 1;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------

void CLumProperty::Set(const CString& text) {
    for (auto& p : m_param) p.SetText(CString());

    const int open = text.Find(u'(');
    if (open < 0) {
        // Dotted form: one parameter per piece; what lies beyond the tenth
        // piece is dropped.
        int from = 0;
        for (int n = 0; n < kMaxParam; ++n) {
            const int dot = text.Find(u'.', from);
            if (dot < 0) {
                m_param[n].SetText(text.Mid(from));
                break;
            }
            m_param[n].SetText(text.Mid(from, dot - from));
            from = dot + 1;
        }
    } else {
        m_param[0].SetText(text.Left(open));

        // The argument list runs to the ")" that closes the first "(".
        int level = 0;
        int close = text.GetLength();
        for (int i = open + 1; i < text.GetLength(); ++i) {
            if (text[i] == u'(') {
                ++level;
            } else if (text[i] == u')') {
                if (level == 0) {
                    close = i;
                    break;
                }
                --level;
            }
        }
        const CString list = text.Mid(open + 1, close - open - 1);
        const int length = list.GetLength();

        int pos = 0;
        for (int n = 1; n < kMaxParam; ++n) {
            while (pos < length && IsSpace(list[pos])) ++pos;
            if (pos >= length) break;
            if (list[pos] == u'"') {
                const int quote = list.Find(u'"', pos + 1);
                if (quote < 0) {
                    m_param[n].SetText(list.Mid(pos + 1));
                    break;
                }
                m_param[n].SetText(list.Mid(pos + 1, quote - pos - 1));
                const int comma = list.Find(u',', quote + 1);
                if (comma < 0) break;
                pos = comma + 1;
            } else {
                int depth = 0;
                int comma = -1;
                for (int i = pos; i < length; ++i) {
                    if (list[i] == u'(') {
                        ++depth;
                    } else if (list[i] == u')') {
                        if (depth > 0) --depth;
                    } else if (list[i] == u',' && depth == 0) {
                        comma = i;
                        break;
                    }
                }
                CString arg = comma < 0 ? list.Mid(pos) : list.Mid(pos, comma - pos);
                m_param[n].SetText(arg.TrimRight());
                if (comma < 0) break;
                pos = comma + 1;
            }
        }
    }

    for (auto& p : m_param) {
        CString t = p.GetText();
        p.SetText(t.Trim(u" \t"));
    }
}

char16_t CLumProperty::GetAt(int i, int k) const {
    if (!Valid(i) || k < 0) return u'\0';
    return m_param[i].GetText().GetAt(k);  // the position at the length gives 0
}

CString CLumProperty::Mid(int i, int first) const {
    return Valid(i) ? m_param[i].GetText().Mid(first) : CString();
}

void CLumProperty::Shift(int n) {
    if (n >= kMaxParam || n <= -kMaxParam) {
        for (auto& p : m_param) p = CStkStr();
        return;
    }
    if (n > 0) {
        for (int k = kMaxParam - 1; k >= 0; --k) {
            m_param[k] = k - n >= 0 ? m_param[k - n] : CStkStr();
        }
    } else if (n < 0) {
        const int m = -n;
        for (int k = 0; k < kMaxParam; ++k) {
            m_param[k] = k + m < kMaxParam ? m_param[k + m] : CStkStr();
        }
    }
}

CLumProperty& CStkString::Property() {
    if (!m_parsed) {
        m_prop.Set(m_str);
        m_parsed = 1;
    }
    return m_prop;
}
