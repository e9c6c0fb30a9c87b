#include "host/cstring.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "host/c_locale.h"

namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

int Clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

template <typename Pred>
void TrimLeftIf(std::u16string& s, Pred in_set) {
    size_t i = 0;
    while (i < s.size() && in_set(s[i])) ++i;
    s.erase(0, i);
}

template <typename Pred>
void TrimRightIf(std::u16string& s, Pred in_set) {
    size_t n = s.size();
    while (n > 0 && in_set(s[n - 1])) --n;
    s.erase(n);
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

}  // namespace

CString::CString(const char16_t* text, int length) {
    if (text && length > 0) m_text.assign(text, static_cast<size_t>(length));
}

CString::CString(char16_t ch, int repeat) {
    if (repeat > 0) m_text.assign(static_cast<size_t>(repeat), ch);
}

CString CString::FromUtf8(std::string_view in, bool* valid) {
    if (valid) *valid = true;
    std::u16string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        const auto b0 = static_cast<unsigned char>(in[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            extra = 1, cp = b0 & 0x1F, min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, cp = b0 & 0x0F, min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, cp = b0 & 0x07, min = 0x10000;
        } else {
            out += u'\uFFFD';
            if (valid) *valid = false;
            ++i;
            continue;
        }
        bool ok = i + static_cast<size_t>(extra) < in.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(in[i + k]);
            if ((b & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (b & 0x3F);
        }
        if (!ok || (extra > 0 && cp < min) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += u'\uFFFD';
            if (valid) *valid = false;
            ++i;  // resynchronise on the next byte
            continue;
        }
        AppendUtf16(out, cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return CString(std::move(out));
}

std::string CString::ToUtf8() const {
    std::string out;
    out.reserve(m_text.size());
    for (size_t i = 0; i < m_text.size(); ++i) {
        char32_t c = m_text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < m_text.size() && m_text[i + 1] >= 0xDC00 &&
            m_text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (m_text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

char16_t CString::GetAt(int index) const {
    return (index >= 0 && index < GetLength()) ? m_text[static_cast<size_t>(index)] : u'\0';
}

void CString::SetAt(int index, char16_t ch) {
    if (index >= 0 && index < GetLength()) m_text[static_cast<size_t>(index)] = ch;
}

int CString::Find(char16_t ch, int start) const {
    if (start < 0) start = 0;
    if (start >= GetLength()) return -1;
    const size_t pos = m_text.find(ch, static_cast<size_t>(start));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const CString& sub, int start) const {
    if (start < 0) start = 0;
    if (start > GetLength()) return -1;
    const size_t pos = m_text.find(sub.m_text, static_cast<size_t>(start));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char16_t ch) const {
    const size_t pos = m_text.rfind(ch);
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const CString& set) const {
    const size_t pos = m_text.find_first_of(set.m_text);
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, static_cast<size_t>(Clamp(count, 0, GetLength()))));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
    count = Clamp(count, 0, GetLength());
    return CString(m_text.substr(static_cast<size_t>(GetLength() - count)));
}

CString CString::SpanExcluding(const CString& set) const {
    const int pos = FindOneOf(set);
    return pos < 0 ? *this : Left(pos);
}

int CString::Replace(char16_t old_ch, char16_t new_ch) {
    int n = 0;
    for (auto& c : m_text) {
        if (c == old_ch) c = new_ch, ++n;
    }
    return n;
}

int CString::Replace(const CString& old_text, const CString& new_text) {
    if (old_text.IsEmpty()) return 0;
    int n = 0;
    std::u16string out;
    size_t from = 0;
    for (size_t pos; (pos = m_text.find(old_text.m_text, from)) != std::u16string::npos;) {
        out.append(m_text, from, pos - from);
        out += new_text.m_text;
        from = pos + old_text.m_text.size();
        ++n;
    }
    if (n == 0) return 0;
    out.append(m_text, from, std::u16string::npos);
    m_text = std::move(out);
    return n;
}

int CString::Remove(char16_t ch) {
    const auto before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, const CString& text) {
    index = Clamp(index, 0, GetLength());
    m_text.insert(static_cast<size_t>(index), text.m_text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0) {
        m_text.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}
CString& CString::Trim(char16_t ch) {
    return TrimRight(ch).TrimLeft(ch);
}
CString& CString::Trim(const CString& set) {
    return TrimRight(set).TrimLeft(set);
}

CString& CString::TrimLeft() {
    TrimLeftIf(m_text, IsSpace);
    return *this;
}
CString& CString::TrimLeft(char16_t ch) {
    TrimLeftIf(m_text, [ch](char16_t c) { return c == ch; });
    return *this;
}
CString& CString::TrimLeft(const CString& set) {
    TrimLeftIf(m_text, [&set](char16_t c) { return set.Find(c) >= 0; });
    return *this;
}
CString& CString::TrimRight() {
    TrimRightIf(m_text, IsSpace);
    return *this;
}
CString& CString::TrimRight(char16_t ch) {
    TrimRightIf(m_text, [ch](char16_t c) { return c == ch; });
    return *this;
}
CString& CString::TrimRight(const CString& set) {
    TrimRightIf(m_text, [&set](char16_t c) { return set.Find(c) >= 0; });
    return *this;
}

CString& CString::MakeUpper() {
    for (auto& c : m_text) c = AsciiUpper(c);
    return *this;
}

CString& CString::MakeLower() {
    for (auto& c : m_text) c = AsciiLower(c);
    return *this;
}

int CString::Compare(const CString& other) const {
    return m_text.compare(other.m_text);
}

int CString::CompareNoCase(const CString& other) const {
    const size_t n = std::min(m_text.size(), other.m_text.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t a = AsciiLower(m_text[i]);
        const char16_t b = AsciiLower(other.m_text[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (m_text.size() == other.m_text.size()) return 0;
    return m_text.size() < other.m_text.size() ? -1 : 1;
}

// ---------------------------------------------------------------------------
// Format

namespace host::detail {
namespace {

struct Spec {
    std::string flags;
    int width = -1;  // -1: none
    int precision = -1;
    char conv = 0;
};

// A printf directive for one conversion: "%", the flags, width, precision,
// the length modifier and the conversion.  The flags are at most five and
// the fields are capped at kMaxField, so it always fits.
struct Directive {
    char text[32];
};

Directive Narrow(const Spec& spec, const char* length, char conv) {
    Directive d{};
    char* at = d.text;
    *at++ = '%';
    for (const char f : spec.flags) *at++ = f;
    char* const end = d.text + sizeof d.text - 1;
    if (spec.width >= 0) at = std::to_chars(at, end, spec.width).ptr;
    if (spec.precision >= 0) {
        *at++ = '.';
        at = std::to_chars(at, end, spec.precision).ptr;
    }
    while (*length) *at++ = *length++;
    *at++ = conv;
    *at = '\0';
    return d;
}

// A double where an integer is wanted: truncated toward zero like a C cast,
// but NaN gives 0 and values beyond long long saturate (a plain cast of
// those is undefined and on x86 turns +1e300 into a negative number).
long long DoubleToInteger(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 9223372036854775807.0) return LLONG_MAX;
    if (d <= -9223372036854775808.0) return LLONG_MIN;
    return static_cast<long long>(d);
}

// snprintf of one value, appended to `out` (ASCII, so widened one to one);
// widths and precisions up to kMaxField make texts longer than the buffer
// on the stack, and those are printed again at their size.
template <typename T>
void PrintC(const Directive& fmt, T v, std::u16string* out) {
    const host::ScopedCLocale c_locale;
    char buf[512];
    const int n = std::snprintf(buf, sizeof buf, fmt.text, v);
    if (n < 0) return;
    if (n < static_cast<int>(sizeof buf)) {
        out->append(buf, buf + n);
        return;
    }
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), fmt.text, v);
    out->append(big.begin(), big.begin() + n);
}

// The common plain forms ("%d", "%02d", "%.3f", "%7.3f", "%05.1f"): the
// digits of std::to_chars, which writes what printf writes in the C locale
// (fixed notation correctly rounded, as printf's), padded to the width
// with blanks, or with zeros after the sign.  False, writing nothing, for
// any other form or a value that is not finite: printf takes those.
bool PrintPlain(const Spec& spec, long long integer, double real, char conv, std::u16string* out) {
    if (!spec.flags.empty() && spec.flags != "0") return false;
    char digits[400];  // the longest double in fixed notation, with decimals to spare
    std::to_chars_result written{};
    if (conv == 'd' || conv == 'i') {
        if (spec.precision >= 0) return false;
        written = std::to_chars(digits, digits + sizeof digits, integer);
    } else if (conv == 'f' || conv == 'F') {
        if (!std::isfinite(real)) return false;
        const int precision = spec.precision >= 0 ? spec.precision : 6;
        if (precision > 100) return false;
        written = std::to_chars(digits, digits + sizeof digits, real, std::chars_format::fixed,
                                precision);
    } else {
        return false;
    }
    if (written.ec != std::errc()) return false;
    const std::string_view text(digits, static_cast<size_t>(written.ptr - digits));
    const size_t fill =
        spec.width > static_cast<int>(text.size()) ? spec.width - text.size() : size_t{0};
    const size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    if (spec.flags == "0") {
        out->append(text.begin(), text.begin() + sign);
        out->append(fill, u'0');
        out->append(text.begin() + sign, text.end());
    } else {
        out->append(fill, u' ');
        out->append(text.begin(), text.end());
    }
    return true;
}

void PrintNumber(const Spec& spec, const FormatArg& arg, char conv, std::u16string* out) {
    const bool integral = std::string_view("diuxXoc").find(conv) != std::string_view::npos;
    if (integral) {
        long long v = 0;
        switch (arg.kind) {
            case FormatArg::Kind::Int:
                v = arg.i;
                break;
            case FormatArg::Kind::UInt:
                v = static_cast<long long>(arg.u);
                break;
            case FormatArg::Kind::Double:
                v = DoubleToInteger(arg.d);
                break;
            case FormatArg::Kind::Char:
                v = arg.ch;
                break;
            case FormatArg::Kind::Text:
                v = 0;
                break;
        }
        if (PrintPlain(spec, v, 0.0, conv, out)) return;
        const Directive f = Narrow(spec, "ll", conv);
        if (conv == 'd' || conv == 'i') return PrintC(f, v, out);
        return PrintC(f, static_cast<unsigned long long>(v), out);
    }
    double v = 0;
    switch (arg.kind) {
        case FormatArg::Kind::Int:
            v = static_cast<double>(arg.i);
            break;
        case FormatArg::Kind::UInt:
            v = static_cast<double>(arg.u);
            break;
        case FormatArg::Kind::Double:
            v = arg.d;
            break;
        case FormatArg::Kind::Char:
            v = arg.ch;
            break;
        case FormatArg::Kind::Text:
            v = 0;
            break;
    }
    if (PrintPlain(spec, 0, v, conv, out)) return;
    PrintC(Narrow(spec, "", conv), v, out);
}

std::u16string Pad(std::u16string body, const Spec& spec) {
    if (spec.width > 0 && static_cast<int>(body.size()) < spec.width) {
        const std::u16string fill(static_cast<size_t>(spec.width) - body.size(), u' ');
        body = spec.flags.find('-') != std::string::npos ? body + fill : fill + body;
    }
    return body;
}

// printf limits widths and precisions to int; beyond a sane size the result
// would only exhaust memory, so both are capped.
constexpr int kMaxField = 4096;

}  // namespace

std::u16string FormatText(std::u16string_view fmt, const std::vector<FormatArg>& args) {
    std::u16string out;
    // Room for the format and a few numbers, so that the text rarely moves.
    out.reserve(fmt.size() + 16 * args.size());
    size_t next_arg = 0;
    const FormatArg none(0);
    auto take = [&]() -> const FormatArg& {
        return next_arg < args.size() ? args[next_arg++] : none;
    };
    auto take_int = [&]() -> int {
        const FormatArg& a = take();
        long long v = a.kind == FormatArg::Kind::Int ? a.i
                      : a.kind == FormatArg::Kind::UInt
                          ? static_cast<long long>(std::min<unsigned long long>(a.u, kMaxField))
                      : a.kind == FormatArg::Kind::Double ? DoubleToInteger(a.d)
                                                          : 0;
        return static_cast<int>(std::max<long long>(-kMaxField, std::min<long long>(v, kMaxField)));
    };

    size_t i = 0;
    while (i < fmt.size()) {
        const char16_t c = fmt[i++];
        if (c != u'%') {
            out += c;
            continue;
        }
        const size_t start = i - 1;
        Spec spec;
        while (i < fmt.size() &&
               std::u16string_view(u"-+ #0").find(fmt[i]) != std::u16string_view::npos) {
            const char f = static_cast<char>(fmt[i++]);
            if (spec.flags.find(f) == std::string::npos) spec.flags += f;
        }
        if (i < fmt.size() && fmt[i] == u'*') {
            ++i;
            spec.width = take_int();
            if (spec.width < 0) {
                if (spec.flags.find('-') == std::string::npos) spec.flags += '-';
                spec.width = -spec.width;
            }
        } else {
            while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                spec.width = std::min(kMaxField, std::max(spec.width, 0) * 10 + (fmt[i++] - u'0'));
            }
        }
        if (i < fmt.size() && fmt[i] == u'.') {
            ++i;
            spec.precision = 0;
            if (i < fmt.size() && fmt[i] == u'*') {
                ++i;
                spec.precision = take_int();
                if (spec.precision < 0) spec.precision = -1;
            } else {
                while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                    spec.precision = std::min(kMaxField, spec.precision * 10 + (fmt[i++] - u'0'));
                }
            }
        }
        while (i < fmt.size() &&
               std::u16string_view(u"hlLqjzt").find(fmt[i]) != std::u16string_view::npos) {
            ++i;
        }
        if (i >= fmt.size()) {  // a lone '%' at the end stands for itself
            out.append(fmt.substr(start));
            break;
        }
        const char16_t conv = fmt[i++];
        switch (conv) {
            case u'%':
                out += u'%';
                break;
            case u'd':
            case u'i':
            case u'u':
            case u'x':
            case u'X':
            case u'o':
            case u'f':
            case u'F':
            case u'e':
            case u'E':
            case u'g':
            case u'G': {
                const char cv = static_cast<char>(conv);
                PrintNumber(spec, take(), cv, &out);
                break;
            }
            case u'c': {
                const FormatArg& a = take();
                if (&a == &none) {  // missing argument: no character, not a NUL
                    out += Pad(std::u16string(), spec);
                    break;
                }
                char16_t ch = a.kind == FormatArg::Kind::Char   ? a.ch
                              : a.kind == FormatArg::Kind::Int  ? static_cast<char16_t>(a.i)
                              : a.kind == FormatArg::Kind::UInt ? static_cast<char16_t>(a.u)
                              : a.kind == FormatArg::Kind::Text && !a.text.empty() ? a.text[0]
                                                                                   : u'\0';
                out += Pad(std::u16string(1, ch), spec);
                break;
            }
            case u's':
            case u'S': {
                const FormatArg& a = take();
                std::u16string body;
                if (&a == &none) {
                    // Missing argument: empty text, not the "0" of the stand-in.
                } else if (a.kind == FormatArg::Kind::Text) {
                    body = std::u16string(a.text);
                } else if (a.kind == FormatArg::Kind::Char) {
                    body = std::u16string(1, a.ch);
                } else {
                    // A number where text was asked for: print the number.
                    Spec plain;
                    const char cv = a.kind == FormatArg::Kind::Double ? 'g' : 'd';
                    PrintNumber(plain, a, cv, &body);
                }
                if (spec.precision >= 0 && static_cast<int>(body.size()) > spec.precision) {
                    body.resize(static_cast<size_t>(spec.precision));
                }
                out += Pad(std::move(body), spec);
                break;
            }
            default:
                // Unknown conversion: keep the directive as it was written.
                out.append(fmt.substr(start, i - start));
                break;
        }
    }
    return out;
}

}  // namespace host::detail
