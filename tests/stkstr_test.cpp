// Reply value classes: splitting replies and identifiers into parameters,
// the number readers and the parse-once CStkString.
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
