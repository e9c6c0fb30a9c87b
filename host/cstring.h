// UTF-16 string with the MFC-style operations the module is written against.
//
// The module's texts are UTF-16 (char16_t): the Japanese information texts,
// engine replies and identifiers all pass through this class.  wchar_t is 32
// bits on this platform, so it is never used for model text.
//
// Index arguments are clamped the forgiving way MFC clamps them: a negative
// count gives an empty result, a count beyond the end takes what is there.
// Case operations (MakeUpper, MakeLower, CompareNoCase) fold ASCII letters
// only, which is all the engine's keywords and paths use.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class CString;

namespace host::detail {

// One argument of CString::Format, captured by value so that the formatter
// never reads past what the caller passed.
struct FormatArg {
    enum class Kind { Int, UInt, Double, Text, Char };
    Kind kind;
    long long i = 0;
    unsigned long long u = 0;
    double d = 0.0;
    std::u16string_view text;
    char16_t ch = 0;

    FormatArg(int v) : kind(Kind::Int), i(v) {}
    FormatArg(long v) : kind(Kind::Int), i(v) {}
    FormatArg(long long v) : kind(Kind::Int), i(v) {}
    FormatArg(unsigned v) : kind(Kind::UInt), u(v) {}
    FormatArg(unsigned long v) : kind(Kind::UInt), u(v) {}
    FormatArg(unsigned long long v) : kind(Kind::UInt), u(v) {}
    FormatArg(double v) : kind(Kind::Double), d(v) {}
    FormatArg(float v) : kind(Kind::Double), d(v) {}
    FormatArg(char16_t c) : kind(Kind::Char), ch(c) {}
    FormatArg(const char16_t* s)
        : kind(Kind::Text), text(s ? std::u16string_view(s) : std::u16string_view(u"(null)")) {}
    FormatArg(std::u16string_view s) : kind(Kind::Text), text(s) {}
    FormatArg(const std::u16string& s) : kind(Kind::Text), text(s) {}
    FormatArg(const CString& s);
};

// printf-style formatting of UTF-16 text: %d %i %u %x %X %o %c %s %f %F %e %E
// %g %G %% with flags (-+ #0), width and precision (both may be *).  Length
// modifiers (h l ll L z j t) are accepted and ignored: the argument's own
// type decides.  A missing argument formats as 0 or empty text; a conversion
// of the wrong kind is converted sensibly rather than reinterpreted.
std::u16string FormatText(std::u16string_view format, const std::vector<FormatArg>& args);

}  // namespace host::detail

class CString {
  public:
    CString() = default;
    CString(const char16_t* text) : m_text(text ? text : u"") {}
    CString(const char16_t* text, int length);
    CString(std::u16string text) : m_text(std::move(text)) {}
    CString(std::u16string_view text) : m_text(text) {}
    explicit CString(char16_t ch, int repeat = 1);

    // UTF-8 conversion for I/O.  Malformed UTF-8 becomes U+FFFD; lone
    // surrogates in UTF-16 become U+FFFD in UTF-8.  `valid`, when given,
    // tells whether the input was well-formed.
    static CString FromUtf8(std::string_view utf8, bool* valid = nullptr);
    std::string ToUtf8() const;

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char16_t GetAt(int index) const;
    char16_t operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char16_t ch);
    const char16_t* GetString() const { return m_text.c_str(); }
    const std::u16string& str() const { return m_text; }
    std::u16string_view view() const { return m_text; }

    // Searches return the zero-based position, or -1.
    int Find(char16_t ch, int start = 0) const;
    int Find(const CString& sub, int start = 0) const;
    int ReverseFind(char16_t ch) const;
    int FindOneOf(const CString& set) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanExcluding(const CString& set) const;

    // Replace every occurrence; returns how many were replaced.
    int Replace(char16_t old_ch, char16_t new_ch);
    int Replace(const CString& old_text, const CString& new_text);
    int Remove(char16_t ch);
    int Insert(int index, const CString& text);
    int Delete(int index, int count = 1);

    // White space is blank, tab, CR, LF, VT and FF, as isspace in the C locale.
    CString& Trim();
    CString& Trim(char16_t ch);
    CString& Trim(const CString& set);
    CString& TrimLeft();
    CString& TrimLeft(char16_t ch);
    CString& TrimLeft(const CString& set);
    CString& TrimRight();
    CString& TrimRight(char16_t ch);
    CString& TrimRight(const CString& set);

    CString& MakeUpper();
    CString& MakeLower();

    // <0, 0, >0 ordering by UTF-16 code units (after ASCII folding for NoCase).
    int Compare(const CString& other) const;
    int CompareNoCase(const CString& other) const;

    template <typename... Args>
    void Format(const char16_t* format, const Args&... args) {
        m_text =
            host::detail::FormatText(format ? format : u"", {host::detail::FormatArg(args)...});
    }
    template <typename... Args>
    void AppendFormat(const char16_t* format, const Args&... args) {
        m_text +=
            host::detail::FormatText(format ? format : u"", {host::detail::FormatArg(args)...});
    }

    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(const char16_t* other) {
        if (other) m_text += other;
        return *this;
    }
    CString& operator+=(char16_t ch) {
        m_text += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_text + b.m_text);
    }
    friend CString operator+(const CString& a, const char16_t* b) { return a + CString(b); }
    friend CString operator+(const char16_t* a, const CString& b) { return CString(a) + b; }
    friend CString operator+(const CString& a, char16_t b) { return CString(a.m_text + b); }

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char16_t* b) {
        return a.m_text == (b ? b : u"");
    }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend bool operator>(const CString& a, const CString& b) { return b.m_text < a.m_text; }
    friend bool operator<=(const CString& a, const CString& b) { return !(b.m_text < a.m_text); }
    friend bool operator>=(const CString& a, const CString& b) { return !(a.m_text < b.m_text); }

  private:
    std::u16string m_text;
};

inline host::detail::FormatArg::FormatArg(const CString& s) : kind(Kind::Text), text(s.view()) {}

// ASCII-only case folding of one UTF-16 code unit.
constexpr char16_t AsciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}
constexpr char16_t AsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c + 32 : c;
}
