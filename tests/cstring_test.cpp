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
const std::vector<std::string> kPrecisions = {"", ".", ".0", ".1", ".3", ".12"};

}  // namespace

// ---------------------------------------------------------------------------
// Format against snprintf

TEST(CStringFormat, IntegerConversionsMatchPrintf) {
    const std::vector<int> values = {0, 1, -1, 7, -42, 123456, INT_MAX, INT_MIN};
    // '#' with d is undefined in C, so it is left out of the oracle.
    for (const auto& flags : FlagSets("-+ 0")) {
        for (const auto& width : kWidths) {
            for (const auto& precision : kPrecisions) {
                for (const char conv : {'d', 'i'}) {
                    const std::string directive = "%" + flags + width + precision + conv;
                    for (const int v : values) {
                        EXPECT_EQ(Fmt("<" + directive + ">", v), CFormat("<" + directive + ">", v))
                            << directive << " of " << v;
                    }
                }
            }
        }
    }
}

TEST(CStringFormat, FloatingConversionsMatchPrintf) {
    const std::vector<double> values = {
        0.0,    -0.0, 0.5,     1.5,        2.5,       -2.5,         0.125,   9.995,
        0.05,   1e-7, -1e-300, 123456.789, 1e300,     -1e300,       DBL_MAX, DBL_MIN,
        5e-324, NAN,  -NAN,    INFINITY,   -INFINITY, 359.99999999, 1e21,    0.0049};
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

TEST(CStringFormat, RoundingOfHalvesIsPrintfs) {
    // Halves that are exact in binary round to even in glibc; values that
    // only look like halves round by their binary value.  Either way the
    // text must be printf's, not a hand-made rounding.
    const std::vector<double> halves = {0.5,  1.5,   2.5,   3.5,   -0.5,  -1.5, 1e15 + 0.5,
                                        0.25, 0.125, 0.375, 2.675, 1.005, 0.45, 59.5};
    for (const double v : halves) {
        for (const std::string directive : {"%.0f", "%.1f", "%.2f", "%5.0f", "%+.0f", "%.0e"}) {
            EXPECT_EQ(Fmt(directive, v), CFormat(directive, v)) << directive << " of " << v;
        }
    }
}

TEST(CStringFormat, StarWidthAndPrecisionMatchPrintf) {
    // A negative '*' width left-justifies; a negative '*' precision is as if
    // none had been given.
    for (const int width : {-12, -1, 0, 1, 9, 30}) {
        for (const int precision : {-3, 0, 1, 4, 15}) {
            for (const double v : {0.0, -3.14159, 2.5, 1e10, double(NAN)}) {
                EXPECT_EQ(Fmt("[%*.*f]", width, precision, v),
                          CFormat("[%*.*f]", width, precision, v))
                    << width << " " << precision << " " << v;
                EXPECT_EQ(Fmt("[%-*.*e]", width, precision, v),
                          CFormat("[%-*.*e]", width, precision, v));
            }
            EXPECT_EQ(Fmt("[%*.*d]", width, precision, -77),
                      CFormat("[%*.*d]", width, precision, -77));
        }
        EXPECT_EQ(Fmt("[%*d|%0*d]", width, 5, width, -5),
                  CFormat("[%*d|%0*d]", width, 5, width, -5));
    }
}

TEST(CStringFormat, CharacterAndPercentMatchPrintf) {
    for (const std::string directive : {"%c", "%3c", "%-3c", "%1c", "%%", "%c%%", "100%%%c"}) {
        const std::string c_fmt = "[" + directive + "]";
        EXPECT_EQ(Fmt(c_fmt, u'Q'), CFormat(c_fmt, 'Q')) << directive;
    }
}

TEST(CStringFormat, WideFieldsAreNotCut) {
    // Widths and precisions of some hundreds of characters are printed whole.
    for (const std::string directive :
         {"%600d", "%-700d", "%.600d", "%0650i", "%600.3f", "%.500f", "%.400e", "%550c"}) {
        if (directive.back() == 'c') {
            EXPECT_EQ(Fmt(directive, u'z'), CFormat(directive, 'z'));
        } else if (directive.back() == 'd' || directive.back() == 'i') {
            EXPECT_EQ(Fmt(directive, -123), CFormat(directive, -123)) << directive;
        } else {
            EXPECT_EQ(Fmt(directive, 1.0 / 3.0), CFormat(directive, 1.0 / 3.0)) << directive;
        }
    }
    // An absurd width is capped instead of exhausting memory, and the value
    // still ends the text.
    const std::string huge = Fmt("%2000000000d", 7);
    EXPECT_LE(huge.size(), 10000u);
    EXPECT_EQ(huge.back(), '7');
    const std::string star = Fmt("%*d", INT_MAX, 7);
    EXPECT_LE(star.size(), 10000u);
    EXPECT_EQ(star.back(), '7');
}

TEST(CStringFormat, BuildsAFormatFromAFormat) {
    // "%%%d.%df" makes a directive from a width and a number of decimals.
    for (const int width : {1, 5, 12}) {
        for (const int decimals : {0, 1, 3, 9}) {
            CString directive;
            directive.Format(u"%%%d.%df", width, decimals);
            EXPECT_EQ(U8(directive), CFormat("%%%d.%df", width, decimals));
            for (const double v : {0.0, -12.3456789, 2.5, 86399.9999}) {
                CString value;
                value.Format(directive.GetString(), v);
                EXPECT_EQ(U8(value), CFormat(U8(directive), v));
            }
        }
    }
}

// Width and precision of %s count UTF-16 code units: a surrogate pair is two.
// The oracle formats a stand-in ASCII string of the same length with
// snprintf and maps each stand-in letter back to its code unit.
TEST(CStringFormat, TextWidthAndPrecisionCountUtf16Units) {
    const std::vector<std::u16string> texts = {
        u"", u"ﾟ", u"×", u"シリウス", u"α Ori", u"😀", u"a😀b", u"𠮷野家", u"12ﾟ34'×5",
    };
    for (const auto& text : texts) {
        std::string standin;
        for (size_t k = 0; k < text.size(); ++k) standin += static_cast<char>('A' + k);
        for (const std::string directive :
             {"%s", "%5s", "%-5s", "%.0s", "%.1s", "%.2s", "%.3s", "%8.2s", "%-8.3s", "%1s"}) {
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

TEST(CStringFormat, NonAsciiCharacterArgument) {
    for (const char16_t c : {u'ﾟ', u'×', u'星'}) {
        CString right, left;
        right.Format(u"%3c|", c);
        left.Format(u"%-3c|", c);
        EXPECT_TRUE(right.str() == std::u16string(u"  ") + c + u"|");
        EXPECT_TRUE(left.str() == c + std::u16string(u"  |"));
    }
}

TEST(CStringFormat, MissingArgumentsFormatAsZeroOrNothing) {
    // The stand-in for a missing argument is zero for numbers and no text at
    // all for %s and %c (not a "0", not an embedded NUL).
    EXPECT_EQ(Fmt("[%d]"), CFormat("[%d]", 0));
    EXPECT_EQ(Fmt("[%5d|%-4d]"), CFormat("[%5d|%-4d]", 0, 0));
    EXPECT_EQ(Fmt("[%.2f]"), CFormat("[%.2f]", 0.0));
    EXPECT_EQ(Fmt("[%d %d]", 4), CFormat("[%d %d]", 4, 0));
    EXPECT_EQ(Fmt("[%s]"), "[]");
    EXPECT_EQ(Fmt("[%3s]"), "[   ]");
    CString c;
    c.Format(u"[%c]");
    EXPECT_EQ(c.GetLength(), 2);
    EXPECT_EQ(U8(c), "[]");
    EXPECT_EQ(Fmt("[%s|%s]", u"a"), "[a|]");
}

TEST(CStringFormat, UnusualDirectivesAreKeptAsWritten) {
    struct Row {
        const char16_t* format;
        const char* expected;
    };
    // A lone or incomplete directive at the end stands for itself; an unknown
    // conversion is copied and consumes no argument.
    const Row rows[] = {
        {u"%", "%"},           {u"50%", "50%"},    {u"abc%-5", "abc%-5"},
        {u"abc%5.", "abc%5."}, {u"x%l", "x%l"},    {u"%y|%d", "%y|7"},
        {u"%5k|%d", "%5k|7"},  {u"%n|%d", "%n|7"}, {u"%ld|%lld|%hd", "7|0|0"},
    };
    for (const auto& row : rows) {
        CString s;
        s.Format(row.format, 7);
        EXPECT_EQ(U8(s), row.expected) << U8(CString(row.format));
    }
    CString null_format;
    null_format.Format(nullptr, 1);
    EXPECT_TRUE(null_format.IsEmpty());
}

TEST(CStringFormat, ArgumentOfAnotherKindIsConvertedNotReinterpreted) {
    EXPECT_EQ(Fmt("%d", 2.9), "2");
    EXPECT_EQ(Fmt("%d", -2.9), "-2");
    EXPECT_EQ(Fmt("%.2f", 3), CFormat("%.2f", 3.0));
    EXPECT_EQ(Fmt("%e", -1234567LL), CFormat("%e", -1234567.0));
    EXPECT_EQ(Fmt("%s", 42), "42");
    EXPECT_EQ(Fmt("%d", 4000000000u), "4000000000");
    EXPECT_EQ(Fmt("%d", u'A'), "65");
    // Doubles outside long long saturate; NaN counts as zero.
    EXPECT_EQ(Fmt("%d", 1e300), CFormat("%lld", LLONG_MAX));
    EXPECT_EQ(Fmt("%d", INFINITY), CFormat("%lld", LLONG_MAX));
    EXPECT_EQ(Fmt("%d", -1e300), CFormat("%lld", LLONG_MIN));
    EXPECT_EQ(Fmt("%d", NAN), "0");
    EXPECT_EQ(Fmt("[%*d]", NAN, 5), "[5]");
    EXPECT_EQ(Fmt("[%*d]", 3.0, 5), "[  5]");
}

TEST(CStringFormat, AppendFormatAppends) {
    CString s(u"赤経 ");
    s.AppendFormat(u"%02dh%04.1fm", 5, 55.2);
    s.AppendFormat(u"%s", u"ﾟ");
    EXPECT_EQ(U8(s), "赤経 05h55.2mﾟ");
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
        {INT_MIN, 2, 1, 0}, {-5, 2, 1, 0},  {0, 2, 1, 0},    {2, 2, 4, 2},          {3, 5, 4, 3},
        {5, 5, -1, 5},      {6, -1, -1, 6}, {7, -1, -1, -1}, {INT_MAX, -1, -1, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(s.Find(u'c', row.start), row.ch_c) << row.start;
        EXPECT_EQ(s.Find(CString(u"bc"), row.start), row.sub_bc) << row.start;
        EXPECT_EQ(s.Find(CString(u""), row.start), row.sub_empty) << row.start;
    }
    EXPECT_EQ(s.ReverseFind(u'a'), 3);
    EXPECT_EQ(s.ReverseFind(u'x'), -1);
    EXPECT_EQ(CString().ReverseFind(u'a'), -1);
    EXPECT_EQ(CString().Find(u'a'), -1);
    EXPECT_EQ(CString(u"シリウス").Find(CString(u"ウス")), 2);
    EXPECT_EQ(CString(u"a😀b").Find(u'b'), 3);
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
        {0, 0, u"", u"", u"ｼﾘｳｽ", u""},
        {1, -1, u"ｼ", u"ｽ", u"ﾘｳｽ", u""},
        {2, 1, u"ｼﾘ", u"ｳｽ", u"ｳｽ", u"ｳ"},
        {3, INT_MAX, u"ｼﾘｳ", u"ﾘｳｽ", u"ｽ", u"ｽ"},
        {4, 5, u"ｼﾘｳｽ", u"ｼﾘｳｽ", u"", u""},
        {5, 1, u"ｼﾘｳｽ", u"ｼﾘｳｽ", u"", u""},
        {INT_MAX, INT_MAX, u"ｼﾘｳｽ", u"ｼﾘｳｽ", u"", u""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(s.Left(row.a), row.left) << row.a;
        EXPECT_EQ(s.Right(row.a), row.right) << row.a;
        EXPECT_EQ(s.Mid(row.a), row.mid1) << row.a;
        EXPECT_EQ(s.Mid(row.a, row.b), row.mid2) << row.a << "," << row.b;
    }
    EXPECT_EQ(s.GetAt(-1), u'\0');
    EXPECT_EQ(s.GetAt(4), u'\0');
    EXPECT_EQ(s[3], u'ｽ');
}

TEST(CStringOps, ReplaceScansLeftToRightWithoutOverlap) {
    struct Row {
        const char16_t* text;
        const char16_t* from;
        const char16_t* to;
        const char16_t* result;
        int count;
    };
    const Row rows[] = {
        {u"aaa", u"aa", u"b", u"ba", 1},
        {u"aaaa", u"aa", u"b", u"bb", 2},
        {u"aaaaa", u"aa", u"aa", u"aaaaa", 2},
        {u"a.b.c", u".", u"..", u"a..b..c", 2},  // the new text holds the old one
        {u"a.b.c", u".", u"", u"abc", 2},
        {u"abc", u"", u"x", u"abc", 0},
        {u"abc", u"abcd", u"x", u"abc", 0},
        {u"", u"a", u"x", u"", 0},
        {u"\r\n\r\n", u"\r\n", u"\n", u"\n\n", 2},
        {u"12ﾟ34ﾟ", u"ﾟ", u"°", u"12°34°", 2},
        {u"a😀😀", u"😀", u"×", u"a××", 2},
    };
    for (const auto& row : rows) {
        CString s(row.text);
        EXPECT_EQ(s.Replace(CString(row.from), CString(row.to)), row.count)
            << U8(CString(row.text));
        EXPECT_EQ(s, row.result) << U8(CString(row.text));
    }
    CString chars(u"a-b-c");
    EXPECT_EQ(chars.Replace(u'-', u'×'), 2);
    EXPECT_EQ(chars, u"a×b×c");
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
    EXPECT_EQ(s.Delete(0, 0), 1);
    EXPECT_EQ(s.Delete(5), 1);
}

TEST(CStringOps, TrimVariants) {
    struct Row {
        const char16_t* text;
        const char16_t* set;  // nullptr: white space
        const char16_t* both;
        const char16_t* left;
        const char16_t* right;
    };
    const Row rows[] = {
        {u" \t\r\n\v\fa b\f\v\n\r\t ", nullptr, u"a b", u"a b\f\v\n\r\t ", u" \t\r\n\v\fa b"},
        {u"\u3000全角\u3000", nullptr, u"\u3000全角\u3000", u"\u3000全角\u3000",
         u"\u3000全角\u3000"},
        {u"   ", nullptr, u"", u"", u""},
        {u"", nullptr, u"", u"", u""},
        {u"xyhixy", u"xy", u"hi", u"hixy", u"xyhi"},
        {u"yxyx", u"xy", u"", u"", u""},
        {u"xhi", u"", u"xhi", u"xhi", u"xhi"},
        {u"ﾟ×12×ﾟ", u"×ﾟ", u"12", u"12×ﾟ", u"ﾟ×12"},
    };
    for (const auto& row : rows) {
        CString both(row.text), left(row.text), right(row.text);
        if (row.set) {
            both.Trim(CString(row.set));
            left.TrimLeft(CString(row.set));
            right.TrimRight(CString(row.set));
        } else {
            both.Trim();
            left.TrimLeft();
            right.TrimRight();
        }
        EXPECT_EQ(both, row.both) << U8(CString(row.text));
        EXPECT_EQ(left, row.left) << U8(CString(row.text));
        EXPECT_EQ(right, row.right) << U8(CString(row.text));
    }
    CString ch(u"--a-b--");
    EXPECT_EQ(ch.Trim(u'-'), u"a-b");
    CString l(u"..a."), r(u".a..");
    EXPECT_EQ(l.TrimLeft(u'.'), u"a.");
    EXPECT_EQ(r.TrimRight(u'.'), u".a");
}

TEST(CStringOps, CaseFoldingIsAsciiOnly) {
    CString up(u"abz ABZ éシリウスｱ ａｂ ß [`]@{");
    CString low = up;
    up.MakeUpper();
    low.MakeLower();
    EXPECT_EQ(up, u"ABZ ABZ éシリウスｱ ａｂ ß [`]@{");
    EXPECT_EQ(low, u"abz abz éシリウスｱ ａｂ ß [`]@{");
}

TEST(CStringOps, CompareNoCaseOrdering) {
    struct Row {
        const char16_t* a;
        const char16_t* b;
        int sign;
    };
    // Letters fold to lower case, as the C runtime's case-blind comparison
    // does, so "_" (0x5F) sorts before every letter.
    const Row rows[] = {
        {u"abc", u"ABC", 0},
        {u"Solar", u"sOLAR", 0},
        {u"a", u"B", -1},
        {u"B", u"a", 1},
        {u"abc", u"abcd", -1},
        {u"abcd", u"ABC", 1},
        {u"", u"", 0},
        {u"", u"a", -1},
        {u"_", u"A", -1},
        {u"_", u"a", -1},
        {u"[", u"a", -1},
        {u"Ａ", u"ａ", -1},
        {u"シリウス", u"しりうす", 1},
        {u"é", u"É", 1},
        {u"Z", u"ｚ", -1},
    };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const auto& row : rows) {
        EXPECT_EQ(sign(CString(row.a).CompareNoCase(CString(row.b))), row.sign)
            << U8(CString(row.a)) << " vs " << U8(CString(row.b));
        EXPECT_EQ(sign(CString(row.b).CompareNoCase(CString(row.a))), -row.sign);
    }
    EXPECT_LT(CString(u"B").Compare(CString(u"a")), 0);
}

// ---------------------------------------------------------------------------
// UTF-8

TEST(CStringUtf8, RoundTripsEveryPlane) {
    const std::vector<std::u16string> texts = {
        u"",
        u"ASCII only",
        u"12ﾟ34'56\" ×2",
        u"ベテルギウス α Ori",
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
    EXPECT_EQ(CString(u"A").ToUtf8(), "A");
    EXPECT_EQ(CString(u"×").ToUtf8(), "\xC3\x97");
    EXPECT_EQ(CString(u"ﾟ").ToUtf8(), "\xEF\xBE\x9F");
    EXPECT_EQ(CString(u"😀").ToUtf8(), "\xF0\x9F\x98\x80");
    EXPECT_TRUE(CString::FromUtf8("\xF4\x8F\xBF\xBF").str() ==
                (std::u16string{char16_t(0xDBFF), char16_t(0xDFFF)}));
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
        {"overlong 2-byte NUL",
         "A\xC0\x80"
         "B",
         u"A\uFFFDB"},
        {"overlong 2-byte",
         "A\xC1\xBF"
         "B",
         u"A\uFFFDB"},
        {"overlong 3-byte",
         "A\xE0\x80\xAF"
         "B",
         u"A\uFFFDB"},
        {"overlong 4-byte",
         "A\xF0\x80\x80\xAF"
         "B",
         u"A\uFFFDB"},
        {"truncated at end", "A\xE3\x81", u"A\uFFFD"},
        {"truncated before ASCII",
         "A\xE3\x81"
         "B",
         u"A\uFFFDB"},
        {"truncated 4-byte", "\xF0\x9F\x98", u"\uFFFD"},
        {"lone lead byte", "\xC2", u"\uFFFD"},
        {"high surrogate in UTF-8",
         "A\xED\xA0\x80"
         "B",
         u"A\uFFFDB"},
        {"low surrogate in UTF-8",
         "A\xED\xBF\xBF"
         "B",
         u"A\uFFFDB"},
        {"surrogate pair in UTF-8", "\xED\xA0\xBD\xED\xB8\x80", u"\uFFFD"},
        {"stray continuation",
         "A\x80"
         "B",
         u"A\uFFFDB"},
        {"two stray continuations", "\xBF\xBF", u"\uFFFD"},
        {"beyond U+10FFFF",
         "A\xF4\x90\x80\x80"
         "B",
         u"A\uFFFDB"},
        {"5-byte form",
         "A\xF8\x88\x80\x80\x80"
         "B",
         u"A\uFFFDB"},
        {"FE and FF",
         "\xFE"
         "A\xFF",
         u"\uFFFDA\uFFFD"},
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

TEST(CStringUtf8, LoneSurrogatesBecomeReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Row {
        std::u16string text;
        std::string utf8;
    };
    const Row rows[] = {
        {{char16_t(0xD800)}, fffd},
        {{char16_t(0xDC00)}, fffd},
        {{u'a', char16_t(0xD83D), u'b'}, "a" + fffd + "b"},
        {{char16_t(0xDE00), char16_t(0xD83D)}, fffd + fffd},  // reversed pair
        {{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}, fffd + "\xF0\x9F\x98\x80"},
        {{u'x', char16_t(0xD83D)}, "x" + fffd},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CString(row.text).ToUtf8(), row.utf8);
    }
}

// ---------------------------------------------------------------------------
// CArray, CStringArray, CMapStringTo

TEST(Collections, ArrayForgivesBadIndices) {
    CStringArray a;
    EXPECT_EQ(a.Add(CString(u"a")), 0);
    EXPECT_EQ(a.Add(CString(u"b")), 1);
    a.InsertAt(-3, CString(u"first"));
    a.InsertAt(INT_MAX, CString(u"last"));
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetAt(0), u"first");
    EXPECT_EQ(a.GetAt(3), u"last");
    EXPECT_TRUE(a.GetAt(-1).IsEmpty());
    EXPECT_TRUE(a.GetAt(4).IsEmpty());
    a.SetAt(9, CString(u"ignored"));
    a.SetAt(-1, CString(u"ignored"));
    EXPECT_EQ(a.GetSize(), 4);

    a.RemoveAt(-1);
    a.RemoveAt(4);
    a.RemoveAt(0, 0);
    EXPECT_EQ(a.GetSize(), 4);
    a.RemoveAt(1, INT_MAX);  // "to the end", without an overflow on the way
    ASSERT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], u"first");

    a.SetSize(-5);
    EXPECT_TRUE(a.IsEmpty());
    a.SetSize(3);
    EXPECT_EQ(a.GetCount(), 3);
    EXPECT_TRUE(a.GetAt(2).IsEmpty());

    CArray<int> numbers;
    EXPECT_EQ(numbers.GetAt(0), 0);
}

TEST(Collections, MapIsExactAndOrderedByCodeUnits) {
    CMapStringToString map;
    map.SetAt(CString(u"b"), CString(u"2"));
    map.SetAt(CString(u"B"), CString(u"upper"));
    map.SetAt(CString(u"シ"), CString(u"kana"));
    map.SetAt(CString(u"a"), CString(u"1"));
    map[CString(u"a")] = CString(u"one");
    EXPECT_EQ(map.GetCount(), 4);

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
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
}
