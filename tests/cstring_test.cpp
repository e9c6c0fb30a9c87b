// CString: Format checked against the C library's snprintf, and the UTF-8
// conversion.
#include "host/cstring.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// The C library's answer for the same directive: the oracle.
template <typename... Args>
std::string CFormat(const std::string& fmt, Args... args) {
    const int n = std::snprintf(nullptr, 0, fmt.c_str(), args...);
    if (n < 0) return "<error>";
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), fmt.c_str(), args...);
    out.resize(static_cast<size_t>(n));
    return out;
}

template <typename... Args>
std::string Fmt(const std::string& fmt, Args... args) {
    CString s;
    s.Format(Widen(fmt).c_str(), args...);
    return U8(s);
}

// Every combination of the flags -, +, blank, # and 0 (the empty one too).
std::vector<std::string> FlagSets(const std::string& flags) {
    std::vector<std::string> sets;
    for (unsigned mask = 0; mask < (1u << flags.size()); ++mask) {
        std::string set;
        for (size_t k = 0; k < flags.size(); ++k) {
            if (mask & (1u << k)) set += flags[k];
        }
        sets.push_back(set);
    }
    return sets;
}

const std::vector<std::string> kWidths = {"", "0", "1", "7", "25"};
const std::vector<std::string> kPrecisions = {"", ".", ".0", ".1", ".2", ".12"};

}  // namespace

// ---------------------------------------------------------------------------
// Format against snprintf

TEST(CStringFormat, IntegerConversionsMatchPrintf) {
    // '#' with d is undefined in C, so it is left out of the oracle.
    for (const auto& flags : FlagSets("-+ 0")) {
        for (const auto& width : kWidths) {
            for (const auto& precision : kPrecisions) {
                const std::string directive = "<%" + flags + width + precision + "d>";
                for (const int v : {0, 1, -42, INT_MAX, INT_MIN}) {
                    EXPECT_EQ(Fmt(directive, v), CFormat(directive, v)) << directive << " of " << v;
                }
            }
        }
    }
}

TEST(CStringFormat, FloatingConversionsMatchPrintf) {
    // Halves exact in binary round to even; 2.675 and 1.005 only look like
    // halves and round by their binary value.  Either way the text must be
    // printf's, not a hand-made rounding.
    const std::vector<double> values = {0.0,       -0.0,    0.5,     2.5,       -2.5,    0.125,
                                        9.995,     2.675,   1.005,   1e-7,      -1e-300, 1e300,
                                        59.5,      DBL_MAX, DBL_MIN, 5e-324,    NAN,     INFINITY,
                                        -INFINITY, 1e21,    0.0049,  1e15 + 0.5};
    for (const auto& flags : FlagSets("-+ #0")) {
        for (const auto& width : kWidths) {
            for (const auto& precision : kPrecisions) {
                for (const char conv : {'f', 'e', 'E', 'g'}) {
                    const std::string directive = "%" + flags + width + precision + conv;
                    for (const double v : values) {
                        ASSERT_EQ(Fmt(directive, v), CFormat(directive, v))
                            << directive << " of " << v;
                    }
                }
            }
        }
    }
}

// The forms the texts use most are written without snprintf: the same
// text over many values of every size, halves and near-halves included.
TEST(CStringFormat, PlainFormsMatchPrintfOverManyValues) {
    std::vector<double> values;
    unsigned long long state = 12345;
    for (int k = 0; k < 3000; ++k) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) / 9007199254740992.0;  // [0, 1)
        const double scaled = std::ldexp(unit, (k % 80) - 40) * (k % 2 ? -1.0 : 1.0);
        values.push_back(scaled);
        values.push_back(std::round(scaled * 2000.0) / 2000.0 + (k % 3 - 1) * 1e-12);
    }
    for (const char* directive : {"%.3f", "%7.3f", "%05.1f", "%.10f", "%f", "%12.0f", "%.1f"}) {
        for (const double v : values) {
            ASSERT_EQ(Fmt(directive, v), CFormat(directive, v)) << directive << " of " << v;
        }
    }
    for (const char* directive : {"%d", "%02d", "%5d", "%03d"}) {
        for (const double v : values) {
            const int i = static_cast<int>(v * 1000.0);
            ASSERT_EQ(Fmt(directive, i), CFormat(directive, i)) << directive << " of " << i;
        }
    }
}

TEST(CStringFormat, WideFieldsAreNotCut) {
    // Widths and precisions of some hundreds of characters are printed whole.
    for (const std::string directive : {"%600d", "%-700d", "%.600d", "%0650i"}) {
        EXPECT_EQ(Fmt(directive, -123), CFormat(directive, -123)) << directive;
    }
    for (const std::string directive : {"%600.3f", "%.500f", "%.400e"}) {
        EXPECT_EQ(Fmt(directive, 1.0 / 3.0), CFormat(directive, 1.0 / 3.0)) << directive;
    }
    // An absurd width is capped instead of exhausting memory, and the value
    // still ends the text.
    for (const std::string& huge : {Fmt("%2000000000d", 7), Fmt("%*d", INT_MAX, 7)}) {
        EXPECT_LE(huge.size(), 10000u);
        EXPECT_EQ(huge.back(), '7');
    }
}

// Width and precision of %s count UTF-16 code units: a surrogate pair is two.
// The oracle formats a stand-in ASCII string of the same length with
// snprintf and maps each stand-in letter back to its code unit.
TEST(CStringFormat, TextWidthAndPrecisionCountUtf16Units) {
    for (const std::u16string text : {u"", u"シリウス", u"a😀b", u"12ﾟ34'×5"}) {
        std::string standin;
        for (size_t k = 0; k < text.size(); ++k) standin += static_cast<char>('A' + k);
        for (const std::string directive : {"%s", "%5s", "%-5s", "%.0s", "%.2s", "%8.2s"}) {
            const std::string c = CFormat("[" + directive + "]", standin.c_str());
            std::u16string expected;
            for (const char ch : c) {
                expected += (ch >= 'A' && ch < 'A' + 26) ? text[static_cast<size_t>(ch - 'A')]
                                                         : static_cast<char16_t>(ch);
            }
            CString got;
            got.Format(Widen("[" + directive + "]").c_str(), text.c_str());
            EXPECT_TRUE(got.str() == expected) << directive << " of " << U8(CString(text));
            CString via_cstring;
            via_cstring.Format(Widen("[" + directive + "]").c_str(), CString(text));
            EXPECT_TRUE(via_cstring.str() == expected);
        }
    }
    CString star;
    star.Format(u"[%*.*s]", -6, 2, u"ｼﾘｳｽ");
    EXPECT_EQ(U8(star), "[ｼﾘ    ]");
}

TEST(CStringFormat, ArgumentOfAnotherKindIsConvertedNotReinterpreted) {
    EXPECT_EQ(Fmt("%d", -2.9), "-2");
    EXPECT_EQ(Fmt("%.2f", 3), "3.00");
    EXPECT_EQ(Fmt("%s", 42), "42");
    EXPECT_EQ(Fmt("%d", 4000000000u), "4000000000");
    // Doubles outside long long saturate; NaN counts as zero.
    EXPECT_EQ(Fmt("%d", INFINITY), CFormat("%lld", LLONG_MAX));
    EXPECT_EQ(Fmt("%d", -1e300), CFormat("%lld", LLONG_MIN));
    EXPECT_EQ(Fmt("%d", NAN), "0");
    EXPECT_EQ(Fmt("[%*d]", NAN, 5), "[5]");
}

// ---------------------------------------------------------------------------
// UTF-8

TEST(CStringUtf8, MalformedInputBecomesReplacementCharacters) {
    // Each malformed run turns into U+FFFD (one or more), the well-formed
    // neighbours survive, and the input is reported as not valid.
    struct Row {
        const char* what;
        std::string bytes;
        std::u16string expected;  // with every malformed run as one U+FFFD
    };
    const Row rows[] = {
        {"overlong 2-byte NUL", "A\xC0\x80", u"A\uFFFD"},
        {"overlong 3-byte", "A\xE0\x80\xAF", u"A\uFFFD"},
        {"truncated before ASCII", "A\xE3\x81!", u"A\uFFFD!"},
        {"truncated 4-byte at end", "\xF0\x9F\x98", u"\uFFFD"},
        {"surrogate in UTF-8", "A\xED\xA0\x80!", u"A\uFFFD!"},
        {"stray continuation", "A\x80!", u"A\uFFFD!"},
        {"beyond U+10FFFF", "A\xF4\x90\x80\x80!", u"A\uFFFD!"},
        {"FE and FF", "\xFE!\xFF", u"\uFFFD!\uFFFD"},
        {"bad byte before good 3-byte", "\x80\xE6\x98\x9F", u"\uFFFD星"},
    };
    for (const auto& row : rows) {
        bool valid = true;
        const std::u16string got = CString::FromUtf8(row.bytes, &valid).str();
        std::u16string collapsed;
        for (const char16_t c : got) {
            if (c == u'\uFFFD' && !collapsed.empty() && collapsed.back() == u'\uFFFD') continue;
            collapsed += c;
        }
        EXPECT_FALSE(valid) << row.what;
        EXPECT_TRUE(collapsed == row.expected) << row.what << ": " << CString(got).ToUtf8();
    }
}
