// Reply value classes: splitting replies and identifiers into parameters,
// the typed readers, keyword tables, and the parse-once CStkString.
#include "engine/stkstr.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

// The ten parameters of a text as UTF-8, trailing empty ones dropped.
std::vector<std::string> Params(const CLumProperty& p) {
    std::vector<std::string> out;
    for (int i = 0; i < CLumProperty::kMaxParam; ++i) out.push_back(U8(p.GetParam(i).GetText()));
    while (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

std::vector<std::string> Split(const CString& text) {
    return Params(CLumProperty(text));
}

std::vector<std::string> SplitP(const CString& text) {
    CStkString s(text);
    std::vector<std::string> out;
    for (int i = 0; i < s.GetMaxParamP(); ++i) out.push_back(U8(s.GetParamP(i).GetText()));
    while (!out.empty() && out.back().empty()) out.pop_back();
    return out;
}

// "p0.p1. ... .p<n-1>" and "F(0,1,...,n-1)".
CString Dotted(int n) {
    std::u16string s;
    for (int k = 0; k < n; ++k) {
        if (k) s += u'.';
        s += u'p';
        for (const char c : std::to_string(k)) s += static_cast<char16_t>(c);
    }
    return CString(s);
}

CString CallForm(int n) {
    std::u16string s = u"F(";
    for (int k = 0; k < n; ++k) {
        if (k) s += u", ";
        for (const char c : std::to_string(k)) s += static_cast<char16_t>(c);
    }
    return CString(s + u")");
}

using V = std::vector<std::string>;

}  // namespace

// ---------------------------------------------------------------------------
// Splitting

TEST(CLumPropertySet, SplitsDottedAndCallForms) {
    struct Row {
        const char16_t* text;
        V params;
    };
    const Row rows[] = {
        // Dotted form.
        {u"Solar.Planet.Earth", {"Solar", "Planet", "Earth"}},
        {u"a.b.c.d.e.f.g.h.i.j.k.l", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
        {u".", {}},
        {u"a..b", {"a", "", "b"}},
        {u" a .\tb\t. c ", {"a", "b", "c"}},
        {u"a.\"b.c\".d", {"a", "\"b", "c\"", "d"}},                 // quotes mean nothing here
        {u"Solar.Planet.Earth\r", {"Solar", "Planet", "Earth\r"}},  // only blanks and tabs go
        {u"𠮷.😀.野家", {"𠮷", "😀", "野家"}},
        // Call form.
        {u"Func( word , \"x, y\", (1, 2))", {"Func", "word", "x, y", "(1, 2)"}},
        {u"Func()", {"Func"}},
        {u"(a)", {"", "a"}},
        {u"a.b(c.d)", {"a.b", "c.d"}},
        {u"Head(x) trailing, text", {"Head", "x"}},
        {u"F(a, b", {"F", "a", "b"}},  // no closing parenthesis: the list runs to the end
        {u"F)(a)", {"F)", "a"}},
        {u"F(a(b, c)", {"F", "a(b, c)"}},
        {u"F((a, b), (c, (d, e)), f)", {"F", "(a, b)", "(c, (d, e))", "f"}},
        {u"F(\"a, b", {"F", "a, b"}},  // unterminated quote
        {u"F(\"ab\"xy, c)", {"F", "ab", "c"}},
        {u"F(\" padded \", \"\", b)", {"F", "padded", "", "b"}},
        {u"F(a\"b\", c)", {"F", "a\"b\"", "c"}},
        {u"F(a, , ,b)", {"F", "a", "", "", "b"}},
        {u"F(\t a \t,\r\n b \r\n)", {"F", "a", "b"}},
        {u"F(1,2,3,4,5,6,7,8,9,10,11)", {"F", "1", "2", "3", "4", "5", "6", "7", "8", "9"}},
        {u"関数(「あ」, ×, \"ﾟ, ′\")", {"関数", "「あ」", "×", "ﾟ, ′"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Split(CString(row.text)), row.params) << U8(CString(row.text));
        EXPECT_EQ(SplitP(CString(row.text)), row.params) << U8(CString(row.text));
    }
}

TEST(CLumPropertySet, NewTextEmptiesEveryParameter) {
    CLumProperty p(CString(u"a.b.c.d.e.f.g.h.i.j"));
    p.Set(CString(u"x"));
    EXPECT_EQ(Params(p), V{"x"});
    p.Set(CString());
    EXPECT_EQ(Params(p), V{});
}

TEST(CLumPropertySet, HugeTextsKeepTheFirstTenParameters) {
    const int n = 100000;
    EXPECT_EQ(Split(Dotted(n)), (V{"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"}));
    EXPECT_EQ(Split(CallForm(n)), (V{"F", "0", "1", "2", "3", "4", "5", "6", "7", "8"}));

    // Deep nesting, open and closed or never closed.
    const std::u16string open(static_cast<size_t>(n), u'(');
    const std::u16string close(static_cast<size_t>(n), u')');
    EXPECT_EQ(Split(CString(u"N(" + open + u"a, b" + close + u")")),
              (V{"N", U8(CString(open + u"a, b" + close))}));
    EXPECT_EQ(Split(CString(u"N" + open)), (V{"N", U8(CString(open.substr(1)))}));
    EXPECT_EQ(Split(CString(u"C(" + std::u16string(static_cast<size_t>(n), u',') + u")")), V{"C"});
}

// ---------------------------------------------------------------------------
// Readers of one value

TEST(CStkStrReaders, NumbersFollowTheCLibrary) {
    // Leading-number semantics are those of strtol and strtod: leading white
    // space skipped, reading stops at the first character that does not fit.
    for (const char* t : {"-17", "+5", "\t-3.75 deg", "1e", "2.5e-3", "-.5", "5.", "12:34", "1,5",
                          "-3.9", "123456789012", "-123456789012", "99999999999999999999999"}) {
        const CStkStr v(CString::FromUtf8(t));
        const long long whole = std::strtoll(t, nullptr, 10);
        const int expected_int = whole > INT_MAX   ? INT_MAX
                                 : whole < INT_MIN ? INT_MIN
                                                   : static_cast<int>(whole);
        EXPECT_EQ(v.atoi(77), expected_int) << t;
        EXPECT_DOUBLE_EQ(v.atof(7.5), std::strtod(t, nullptr)) << t;
    }
}

TEST(CStkStrReaders, NumbersWithoutValue) {
    struct Row {
        const char16_t* text;
        int atoi;
        double atof;
    };
    // "*" and empty give the caller's default (5 and 2.5 here); anything else
    // that does not begin with a number gives 0.  Words strtod would accept
    // ("inf", "nan", hexadecimal) are not numbers in a reply.
    const Row rows[] = {
        {u"*", 5, 2.5},    {u"", 5, 2.5},     {u" *", 0, 0.0},  {u"abc", 0, 0.0},
        {u"-", 0, 0.0},    {u"inf", 0, 0.0},  {u"nan", 0, 0.0}, {u"0x1A", 0, 0.0},
        {u"-.e1", 0, 0.0}, {u"１２", 0, 0.0}, {u"−5", 0, 0.0},
    };
    for (const auto& row : rows) {
        const CStkStr v(row.text);
        EXPECT_EQ(v.atoi(5), row.atoi) << U8(CString(row.text));
        EXPECT_EQ(v.atof(2.5), row.atof) << U8(CString(row.text));
    }
}

TEST(CStkStrReaders, IsNumAndTruth) {
    struct Row {
        const char16_t* text;
        bool num, is_true, is_false;
    };
    const Row rows[] = {
        {u"1", true, true, false},   {u"0", true, false, true},       {u"tRuE", false, true, false},
        {u"On", false, true, false}, {u"FALSE", false, false, true},  {u"off", false, false, true},
        {u"", false, false, false},  {u" TRUE", false, false, false}, {u"01", true, false, false},
        {u"+", true, false, false},  {u".5", false, false, false},    {u"１", false, false, false},
    };
    for (const auto& row : rows) {
        const CStkStr v(row.text);
        const std::string t = U8(CString(row.text));
        EXPECT_EQ(v.IsNum() != 0, row.num) << t;
        EXPECT_EQ(v.IsTrue() != 0, row.is_true) << t;
        EXPECT_EQ(v.IsFalse() != 0, row.is_false) << t;
    }
}

TEST(CStkStrReaders, SameAndIsIncludeIgnoreAsciiCase) {
    const CStkStr v(u"Solar.Planet.Earth");
    EXPECT_TRUE(v.Same(u"SOLAR.planet.EARTH"));
    EXPECT_FALSE(v.Same(u"Solar.Planet"));
    EXPECT_FALSE(v.Same(nullptr));
    EXPECT_TRUE(CStkStr().Same(nullptr));
    EXPECT_TRUE(v.IsInclude(CString(u"pLaNeT")));
    EXPECT_FALSE(v.IsInclude(CString(u"Mars")));
    EXPECT_FALSE(CStkStr(u"ＡＢ").Same(u"ａｂ"));
}

TEST(CStkStrReaders, ChannelLineStyleAndRate) {
    const std::pair<const char16_t*, int> channels[] = {{u"#12", 12}, {u"#3abc", 3}, {u"#", -1},
                                                        {u"12", -1},  {u"#-2", -1},  {u" #1", -1}};
    for (const auto& [text, channel] : channels) {
        EXPECT_EQ(CStkStr(text).Channel(), channel) << U8(CString(text));
    }
    EXPECT_EQ(CStkStr(u"#99999999999").Channel(), INT_MAX);  // saturates
    const std::pair<const char16_t*, int> styles[] = {
        {u"solid", 0},  {u"Dash", 1},           {u"DOT", 2}, {u"dashdot", 3}, {u"DashDotDot", 4},
        {u"DASH ", -1}, {u"DASHDOTDOTDOT", -1}, {u"0", -1},
    };
    for (const auto& [text, style] : styles) {
        EXPECT_EQ(CStkStr(text).LineStyle(), style) << U8(CString(text));
    }
    // Degrees per second from RPM, DPM or DPS; no value is -1.
    const std::pair<const char16_t*, double> rates[] = {
        {u"2 RPM", 12.0},  {u"1.5 rpm", 9.0}, {u"30 DPM", 0.5}, {u"3 dps", 3.0},     {u"5", 5.0},
        {u"-2 RPM", -2.0}, {u"*", -1.0},      {u"RPM", 0.0},    {u"60 DPMRPM", 1.0},
    };
    for (const auto& [text, dps] : rates) {
        EXPECT_DOUBLE_EQ(CStkStr(text).DPS(), dps) << U8(CString(text));
    }
}

TEST(CStkStrReaders, YearCountsBeforeChristAstronomically) {
    const std::pair<const char16_t*, int> rows[] = {{u"500 b.c.", -499},
                                                    {u"1 B.C.", 0},
                                                    {u"-44", -44},
                                                    {u"*", 9},
                                                    {u"1582.10", 1582},
                                                    {u"-2147483648 BC", INT_MAX},
                                                    {u"2147483647 BC", -2147483646}};
    for (const auto& [text, year] : rows) {
        EXPECT_EQ(CStkStr(text).Year(9), year) << U8(CString(text));
    }
}

// ---------------------------------------------------------------------------
// Keyword tables

namespace {

const std::u16string kLongName = std::u16string(4095, u'k') + u"-row-tail";

const tagNAMETABLE kTable[] = {
    {u"Star", 1},   {u"Solar", 2}, {u"DeepSky", 3},        {u"star", 4},
    {u"Planet", 3}, {u"", 6},      {kLongName.c_str(), 7}, {nullptr, 0},
};

}  // namespace

TEST(TagNameTable, SearchUsesTheHeadAndIgnoresCase) {
    struct Row {
        std::u16string text;
        bool found;
        int value;
    };
    const Row rows[] = {
        {u"STAR", true, 1},  // the first matching row wins over "star"
        {u"DEEPSKY(\"M 31\")", true, 3},
        {u"Solar.Planet", false, 0},  // the head of a call form only, not of a dotted form
        {u"Sta", false, 0},
        {u"Star ", false, 0},
        {u"(x)", true, 6},  // an empty head finds the empty row
        // Texts are compared in their first 4095 characters.
        {std::u16string(4095, u'k') + u"-key-tail", true, 7},
        {std::u16string(4094, u'k'), false, 0},
    };
    for (const auto& row : rows) {
        int value = -99;
        const CStkStr v{CString(row.text)};
        EXPECT_EQ(v.TableSearch(kTable, &value) != 0, row.found) << U8(v.GetText()).substr(0, 40);
        EXPECT_EQ(value, row.found ? row.value : -99) << U8(v.GetText()).substr(0, 40);
    }
    int value = -99;
    EXPECT_FALSE(CStkStr(u"").TableSearch(kTable, &value));  // empty text: no search at all
    EXPECT_FALSE(CStkStr(u"Star").TableSearch(nullptr, &value));
    EXPECT_EQ(value, -99);
    EXPECT_TRUE(CStkStr(u"Star").TableSearch(kTable, nullptr));
}

TEST(TagNameTable, ValueSearchReplacesTheText) {
    CStkStr v(u"old");
    EXPECT_TRUE(v.TableValueSearch(kTable, 3));
    EXPECT_EQ(v.GetText(), u"DeepSky");  // first row holding the value
    EXPECT_FALSE(v.TableValueSearch(kTable, 99));
    EXPECT_EQ(v.GetText(), u"DeepSky");
    EXPECT_FALSE(v.TableValueSearch(nullptr, 1));
}

// ---------------------------------------------------------------------------
// Parameter accessors

TEST(CLumPropertyAccessors, ReadParameters) {
    const CLumProperty p(CString(u"Obj( 12.5 , #3, \"500 B.C.\", on, Star(1), , 2 RPM)"));
    EXPECT_DOUBLE_EQ(p.atof(1, 9.0), 12.5);
    EXPECT_EQ(p.atoi(6, 9), 9);  // empty parameter: the default
    EXPECT_EQ(p.Channel(2), 3);
    EXPECT_EQ(p.Year(3, 0), -499);
    int value = 0;
    EXPECT_TRUE(p.TableSearch(5, kTable, &value));
    EXPECT_EQ(value, 1);
    EXPECT_DOUBLE_EQ(p.GetParam(7).DPS(), 12.0);

    EXPECT_EQ(p.GetAt(3, 7), u'.');
    EXPECT_EQ(p.GetAt(3, 8), u'\0');  // the position at the length
    EXPECT_EQ(p.GetAt(3, -1), u'\0');
    EXPECT_EQ(p.Mid(3, 4), u"B.C.");
    EXPECT_EQ(p.Mid(3, -4), u"500 B.C.");
    EXPECT_EQ(p.Mid(3, 100), u"");

    CLumProperty q(CString(u"a.b"));
    EXPECT_TRUE(q.TableValueSearch(1, kTable, 2));
    EXPECT_EQ(q.GetParam(1).GetText(), u"Solar");
}

// Indices outside 0-9 give the neutral answer of every accessor and touch
// nothing inside.
TEST(CLumPropertyAccessors, IndexOutsideTheTenGivesNeutralResults) {
    const CString text(u"0.1.2.3.4.5.6.7.8.9");  // no parameter is empty
    for (const int i : {10, INT_MAX, -1, INT_MIN}) {
        CLumProperty p(text);
        int value = -5;
        EXPECT_TRUE(p.GetParam(i).GetText().IsEmpty()) << i;
        EXPECT_FALSE(p.IsEmpty(i)) << i;
        EXPECT_EQ(p.GetAt(i, 0), u'\0') << i;
        EXPECT_TRUE(p.Mid(i, 0).IsEmpty()) << i;
        EXPECT_EQ(p.atoi(i, 7), 7) << i;
        EXPECT_EQ(p.atof(i, 2.5), 2.5) << i;
        EXPECT_FALSE(p.IsNum(i) || p.IsTrue(i) || p.IsFalse(i)) << i;
        EXPECT_FALSE(p.Same(i, u"")) << i;
        EXPECT_FALSE(p.IsInclude(i, CString())) << i;
        EXPECT_EQ(p.Channel(i), -1) << i;
        EXPECT_EQ(p.Year(i, 1234), 1234) << i;
        EXPECT_FALSE(p.TableSearch(i, kTable, &value)) << i;
        EXPECT_FALSE(p.TableValueSearch(i, kTable, 1)) << i;
        EXPECT_EQ(value, -5);
        EXPECT_EQ(Params(p), (V{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));

        CStkString s(text);
        EXPECT_TRUE(s.GetParamP(i).GetText().IsEmpty()) << i;
        EXPECT_FALSE(s.TableValueSearchP(i, kTable, 1)) << i;
        EXPECT_EQ(s.GetText(), text);
    }
}

TEST(CLumPropertyAccessors, ShiftMovesParameters) {
    struct Row {
        int n;
        V params;  // of "p0.p1. ... .p9" after Shift(n), trailing empties dropped
    };
    const Row rows[] = {
        {1, {"", "p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8"}},
        {9, {"", "", "", "", "", "", "", "", "", "p0"}},
        {-1, {"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"}},
        {-9, {"p9"}},
        {10, {}},
        {-10, {}},
        {INT_MAX, {}},
        {INT_MIN, {}},
    };
    for (const auto& row : rows) {
        CLumProperty p(Dotted(10));
        p.Shift(row.n);
        EXPECT_EQ(Params(p), row.params) << row.n;  // shifted-in ones empty, no stale copies
    }
}

// ---------------------------------------------------------------------------
// Parse once

TEST(CStkStringParse, ParsesOnFirstPAccessAndAgainAfterNewText) {
    CStkString s(u"Solar.Planet.Earth");
    EXPECT_EQ(s.atoi(3), 0);  // plain readers see the whole text and do not parse
    EXPECT_FALSE(s.IsParsed());
    EXPECT_TRUE(s.SameP(2, u"earth"));
    EXPECT_TRUE(s.IsParsed());

    s = u"Star(1, 2)";
    EXPECT_FALSE(s.IsParsed());
    EXPECT_EQ(s.atoiP(2), 2);

    // Replacing the text through a table lookup is new text as well.
    const tagNAMETABLE table[] = {{u"m.n", 1}, {nullptr, 0}};
    EXPECT_TRUE(s.TableValueSearch(table, 1));
    EXPECT_FALSE(s.IsParsed());
    EXPECT_TRUE(s.SameP(1, u"n"));
}

TEST(CStkStringParse, AssignmentAsTheBaseClassStillResetsTheParse) {
    // Code that only knows a CStkStr (an out-parameter, say) must not leave a
    // CStkString answering with the parameters of its old text.
    CStkString s(u"Solar.Planet.Earth");
    ASSERT_TRUE(s.SameP(2, u"Earth"));
    CStkStr& base = s;
    base = CStkStr(u"Deep.Sky");
    EXPECT_EQ(s.GetText(), u"Deep.Sky");
    EXPECT_TRUE(s.SameP(1, u"Sky"));
    EXPECT_TRUE(s.IsEmptyP(2));

    base.SetText(CString(u"a.b.c"));
    EXPECT_TRUE(s.SameP(2, u"c"));
}

TEST(CStkStringParse, CopiesKeepFlagAndParameters) {
    CStkString s(u"a.b.c");
    s.ShiftP(1);                       // parses, then moves the parameters
    EXPECT_EQ(s.GetText(), u"a.b.c");  // the text stays
    EXPECT_TRUE(s.IsEmptyP(0));

    // A copy carries the shifted parameters; it does not parse the text anew.
    CStkString copy(s);
    EXPECT_TRUE(copy.IsEmptyP(0));
    EXPECT_TRUE(copy.SameP(3, u"c"));
    CStkString assigned(u"x");
    assigned = s;
    EXPECT_TRUE(assigned.SameP(2, u"b"));

    // An unparsed copy stays unparsed.
    assigned = CStkString(u"m.n");
    EXPECT_FALSE(assigned.IsParsed());
    EXPECT_TRUE(assigned.SameP(1, u"n"));

    // The copies are independent.
    copy.ShiftP(-1);
    EXPECT_TRUE(copy.SameP(0, u"a"));
    EXPECT_TRUE(s.IsEmptyP(0));
}
