// CString: Format checked against the C library's snprintf, the MFC-style
// string operations, UTF-8 conversion; and the forgiving array and map.
#include "host/cstring.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/collections.h"
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

TEST(CStringFormat, StarWidthAndPrecisionMatchPrintf) {
    // A negative '*' width left-justifies; a negative '*' precision is as if
    // none had been given.
    for (const int width : {-12, 0, 9}) {
        for (const int precision : {-3, 0, 4}) {
            for (const double v : {-3.14159, 2.5, double(NAN)}) {
                EXPECT_EQ(Fmt("[%*.*f]", width, precision, v),
                          CFormat("[%*.*f]", width, precision, v))
                    << width << " " << precision << " " << v;
            }
            EXPECT_EQ(Fmt("[%*.*d]", width, precision, -77),
                      CFormat("[%*.*d]", width, precision, -77));
        }
        EXPECT_EQ(Fmt("[%*d|%0*d]", width, 5, width, -5),
                  CFormat("[%*d|%0*d]", width, 5, width, -5));
    }
}

TEST(CStringFormat, CharacterPercentAndAppend) {
    for (const std::string directive : {"%c", "%3c", "%-3c", "%%", "100%%%c"}) {
        const std::string c_fmt = "[" + directive + "]";
        EXPECT_EQ(Fmt(c_fmt, u'Q'), CFormat(c_fmt, 'Q')) << directive;
    }
    // A non-ASCII character pads like any other.
    EXPECT_EQ(Fmt("%3c|%-3c|", u'ﾟ', u'星'), "  ﾟ|星  |");
    CString s(u"赤経 ");
    s.AppendFormat(u"%02dh%04.1fm%c", 5, 55.2, u'ﾟ');
    EXPECT_EQ(U8(s), "赤経 05h55.2mﾟ");
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

TEST(CStringFormat, MissingArgumentsFormatAsZeroOrNothing) {
    // The stand-in for a missing argument is zero for numbers and no text at
    // all for %s and %c (not a "0", not an embedded NUL).
    EXPECT_EQ(Fmt("[%5d|%.2f]"), CFormat("[%5d|%.2f]", 0, 0.0));
    EXPECT_EQ(Fmt("[%d %d]", 4), "[4 0]");
    EXPECT_EQ(Fmt("[%s|%3s]", u"a"), "[a|   ]");
    CString c;
    c.Format(u"[%c]");
    EXPECT_EQ(c.GetLength(), 2);
}

TEST(CStringFormat, UnusualDirectivesAreKeptAsWritten) {
    // A lone or incomplete directive at the end stands for itself; an unknown
    // conversion is copied and consumes no argument; length modifiers are
    // ignored.
    const std::pair<const char16_t*, const char*> rows[] = {
        {u"50%", "50%"},      {u"abc%-5", "abc%-5"}, {u"abc%5.", "abc%5."},
        {u"%5k|%d", "%5k|7"}, {u"%n|%d", "%n|7"},    {u"%ld|%lld|%hd", "7|0|0"}};
    for (const auto& [format, expected] : rows) {
        CString s;
        s.Format(format, 7);
        EXPECT_EQ(U8(s), expected) << U8(CString(format));
    }
    CString null_format;
    null_format.Format(nullptr, 1);
    EXPECT_TRUE(null_format.IsEmpty());
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
// Searching and cutting

TEST(CStringOps, FindWithStartPositions) {
    const CString s(u"abcabc");
    struct Row {
        int start;
        int ch_c;       // Find(u'c', start)
        int sub_bc;     // Find(u"bc", start)
        int sub_empty;  // Find(u"", start)
    };
    const Row rows[] = {
        {INT_MIN, 2, 1, 0}, {2, 2, 4, 2}, {5, 5, -1, 5}, {6, -1, -1, 6}, {INT_MAX, -1, -1, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(s.Find(u'c', row.start), row.ch_c) << row.start;
        EXPECT_EQ(s.Find(CString(u"bc"), row.start), row.sub_bc) << row.start;
        EXPECT_EQ(s.Find(CString(u""), row.start), row.sub_empty) << row.start;
    }
    EXPECT_EQ(s.ReverseFind(u'a'), 3);
    EXPECT_EQ(CString().ReverseFind(u'a'), -1);
    EXPECT_EQ(CString(u"a😀b").Find(u'b'), 3);  // code units, not characters
    EXPECT_EQ(s.FindOneOf(CString(u"xc")), 2);
    EXPECT_EQ(s.FindOneOf(CString()), -1);
}

TEST(CStringOps, LeftMidRightClampOutOfRangeIndices) {
    const CString s(u"ｼﾘｳｽ");  // four code units
    struct Row {
        int a, b;
        const char16_t* left;   // Left(a)
        const char16_t* right;  // Right(a)
        const char16_t* mid1;   // Mid(a)
        const char16_t* mid2;   // Mid(a, b)
    };
    const Row rows[] = {
        {INT_MIN, INT_MAX, u"", u"", u"ｼﾘｳｽ", u"ｼﾘｳｽ"},
        {-1, 2, u"", u"", u"ｼﾘｳｽ", u"ｼﾘ"},
        {1, -1, u"ｼ", u"ｽ", u"ﾘｳｽ", u""},
        {3, INT_MAX, u"ｼﾘｳ", u"ﾘｳｽ", u"ｽ", u"ｽ"},
        {5, 1, u"ｼﾘｳｽ", u"ｼﾘｳｽ", u"", u""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(s.Left(row.a), row.left) << row.a;
        EXPECT_EQ(s.Right(row.a), row.right) << row.a;
        EXPECT_EQ(s.Mid(row.a), row.mid1) << row.a;
        EXPECT_EQ(s.Mid(row.a, row.b), row.mid2) << row.a << "," << row.b;
    }
    EXPECT_EQ(s.GetAt(-1), u'\0');
    EXPECT_EQ(s.GetAt(4), u'\0');
}

TEST(CStringOps, ReplaceScansLeftToRightWithoutOverlap) {
    // The text after the replacement, then the count.
    auto replace = [](const char16_t* text, const char16_t* from, const char16_t* to) {
        CString s(text);
        const int n = s.Replace(CString(from), CString(to));
        return U8(s) + " " + std::to_string(n);
    };
    EXPECT_EQ(replace(u"aaa", u"aa", u"b"), "ba 1");
    EXPECT_EQ(replace(u"a.b.c", u".", u".."), "a..b..c 2");  // the new text holds the old one
    EXPECT_EQ(replace(u"a.b.c", u".", u""), "abc 2");
    EXPECT_EQ(replace(u"abc", u"", u"x"), "abc 0");
    EXPECT_EQ(replace(u"abc", u"abcd", u"x"), "abc 0");
    EXPECT_EQ(replace(u"a😀😀", u"😀", u"×"), "a×× 2");
    CString chars(u"a-b-c");
    EXPECT_EQ(chars.Replace(u'-', u'×'), 2);
    EXPECT_EQ(chars.Remove(u'×'), 2);
    EXPECT_EQ(chars, u"abc");
}

TEST(CStringOps, InsertAndDeleteClamp) {
    CString s(u"abc");
    EXPECT_EQ(s.Insert(-5, CString(u"<")), 4);
    EXPECT_EQ(s.Insert(INT_MAX, CString(u">")), 5);
    EXPECT_EQ(s, u"<abc>");
    EXPECT_EQ(s.Delete(1, INT_MAX), 1);
    EXPECT_EQ(s, u"<");
    EXPECT_EQ(s.Delete(-1, 1), 1);
    EXPECT_EQ(s.Delete(5), 1);
}

TEST(CStringOps, TrimVariants) {
    const CString blanks(u" \t\r\n\v\fa b\f\v\n\r\t ");
    EXPECT_EQ(CString(blanks).Trim(), u"a b");
    EXPECT_EQ(CString(blanks).TrimLeft(), u"a b\f\v\n\r\t ");
    EXPECT_EQ(CString(blanks).TrimRight(), u" \t\r\n\v\fa b");
    EXPECT_EQ(CString(u"   ").Trim(), u"");
    // The ideographic space is no white space here.
    EXPECT_EQ(CString(u"\u3000全角\u3000").Trim(), u"\u3000全角\u3000");
    // A set trims any of its characters, however mixed; an empty set nothing.
    const CString marks(u"ﾟ×12×ﾟ");
    EXPECT_EQ(CString(marks).Trim(CString(u"×ﾟ")), u"12");
    EXPECT_EQ(CString(marks).TrimLeft(CString(u"×ﾟ")), u"12×ﾟ");
    EXPECT_EQ(CString(marks).TrimRight(CString(u"×ﾟ")), u"ﾟ×12");
    EXPECT_EQ(CString(u"yxyx").Trim(CString(u"xy")), u"");
    EXPECT_EQ(CString(u"xhi").Trim(CString()), u"xhi");
    EXPECT_EQ(CString(u"--a-b--").Trim(u'-'), u"a-b");
}

TEST(CStringOps, CaseIsAsciiOnly) {
    struct Row {
        const char16_t* a;
        const char16_t* b;
        int sign;
    };
    // Letters fold to lower case, as the C runtime's case-blind comparison
    // does, so "_" (0x5F) sorts before every letter.
    const Row rows[] = {
        {u"Solar", u"sOLAR", 0}, {u"a", u"B", -1},   {u"abcd", u"ABC", 1}, {u"", u"a", -1},
        {u"_", u"A", -1},        {u"Ａ", u"ａ", -1}, {u"é", u"É", 1},
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const auto& row : rows) {
        EXPECT_EQ(sign(CString(row.a).CompareNoCase(CString(row.b))), row.sign)
            << U8(CString(row.a)) << " vs " << U8(CString(row.b));
        EXPECT_EQ(sign(CString(row.b).CompareNoCase(CString(row.a))), -row.sign);
    }
    EXPECT_LT(CString(u"B").Compare(CString(u"a")), 0);

    CString up(u"abz ABZ éｱ ａｂ ß [`]@{");
    CString low = up;
    EXPECT_EQ(up.MakeUpper(), u"ABZ ABZ éｱ ａｂ ß [`]@{");
    EXPECT_EQ(low.MakeLower(), u"abz abz éｱ ａｂ ß [`]@{");
}

// ---------------------------------------------------------------------------
// UTF-8

TEST(CStringUtf8, RoundTripsEveryPlane) {
    const std::vector<std::u16string> texts = {
        u"12ﾟ34'56\" ×2 ベテルギウス",
        u"😀𠮷野家",
        std::u16string(u"a\0b", 3),
        {char16_t(0xD7FF), char16_t(0xE000), char16_t(0xFFFF), char16_t(0xDBFF), char16_t(0xDFFF)},
    };
    for (const auto& text : texts) {
        const std::string utf8 = CString(text).ToUtf8();
        bool valid = false;
        const CString back = CString::FromUtf8(utf8, &valid);
        EXPECT_TRUE(valid);
        EXPECT_TRUE(back.str() == text) << utf8;
    }
    // Encoded lengths: 1, 2, 3 and 4 bytes.
    EXPECT_EQ(CString(u"A×ﾟ😀").ToUtf8(), "A\xC3\x97\xEF\xBE\x9F\xF0\x9F\x98\x80");
    // A lone surrogate, at the end or in a reversed pair, becomes U+FFFD.
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(CString(std::u16string{u'x', char16_t(0xD83D)}).ToUtf8(), "x" + fffd);
    EXPECT_EQ(CString(std::u16string{char16_t(0xDE00), char16_t(0xD83D)}).ToUtf8(), fffd + fffd);
    EXPECT_EQ(
        CString(std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}).ToUtf8(),
        fffd + "\xF0\x9F\x98\x80");
}

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

// ---------------------------------------------------------------------------
// CArray, CStringArray, CMapStringTo

TEST(Collections, ArrayForgivesBadIndices) {
    CStringArray a;
    a.Add(CString(u"a"));
    EXPECT_EQ(a.Add(CString(u"b")), 1);
    a.InsertAt(-3, CString(u"first"));
    a.InsertAt(INT_MAX, CString(u"last"));
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetAt(0), u"first");
    EXPECT_EQ(a.GetAt(3), u"last");
    EXPECT_TRUE(a.GetAt(-1).IsEmpty());
    EXPECT_TRUE(a.GetAt(4).IsEmpty());
    a.SetAt(9, CString(u"ignored"));
    a.RemoveAt(-1);
    a.RemoveAt(4);
    EXPECT_EQ(a.GetSize(), 4);
    a.RemoveAt(1, INT_MAX);  // "to the end", without an overflow on the way
    ASSERT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], u"first");

    a.SetSize(-5);
    EXPECT_TRUE(a.IsEmpty());
    a.SetSize(3);
    EXPECT_TRUE(a.GetAt(2).IsEmpty());
}

TEST(Collections, MapIsExactAndOrderedByCodeUnits) {
    CMapStringToString map;
    map.SetAt(CString(u"b"), CString(u"2"));
    map.SetAt(CString(u"B"), CString(u"upper"));
    map.SetAt(CString(u"シ"), CString(u"kana"));
    map[CString(u"a")] = CString(u"one");

    CString value(u"untouched");
    EXPECT_FALSE(map.Lookup(CString(u"A"), value));  // keys are case-sensitive
    EXPECT_EQ(value, u"untouched");
    EXPECT_TRUE(map.Lookup(CString(u"a"), value));
    EXPECT_EQ(value, u"one");

    std::vector<std::string> keys;
    for (const auto& [key, v] : map) keys.push_back(U8(key));
    EXPECT_EQ(keys, (std::vector<std::string>{"B", "a", "b", "シ"}));

    EXPECT_TRUE(map.RemoveKey(CString(u"B")));
    EXPECT_FALSE(map.RemoveKey(CString(u"B")));
}
