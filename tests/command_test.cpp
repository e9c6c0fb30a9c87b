// Statement splitting and parsing of the sky engine's command language.
#include "sky/command.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

TEST(SkyCommandText, SplitsAtSemicolonsOutsideQuotesAndParentheses) {
    const struct {
        const char16_t* command;
        std::vector<std::string> statements;
    } cases[] = {
        {u"", {""}},
        {u"? a; b = 1", {"? a", " b = 1"}},
        {u"a = \"x;y\"; ? b", {"a = \"x;y\"", " ? b"}},
        {u"? f(1;2).x;", {"? f(1;2).x", ""}},
        {u"? f((1);2)", {"? f((1);2)"}},
        {u"a = \"unclosed; ? b", {"a = \"unclosed; ? b"}},
        {u"?x) ; y", {"?x) ", " y"}},  // a stray ")" opens nothing
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (const CString& s : sky::SplitStatements(c.command)) got.push_back(U8(s));
        EXPECT_EQ(got, c.statements) << U8(c.command);
    }
}

TEST(SkyCommandText, ParsesEachKindOfStatement) {
    using K = sky::Statement::Kind;
    const struct {
        const char16_t* text;
        K kind;
        const char* target;
        const char* value;
        bool quoted;
    } cases[] = {
        {u"  ", K::Empty, "", "", false},
        {u"? Star.HIP1.Name ", K::Query, "Star.HIP1.Name", "", false},
        {u"?", K::Invalid, "", "", false},
        {u"Time.jd = 2451545", K::Assignment, "Time.jd", "2451545", false},
        {u"ClickData.Object = \"Star.HIP1\"", K::Assignment, "ClickData.Object", "Star.HIP1", true},
        {u"a = \"x = y\"", K::Assignment, "a", "x = y", true},
        {u"Time = LST(2027,1,1,0)", K::Assignment, "Time", "LST(2027,1,1,0)", false},
        {u"Default\tClickData.Cyclic = TRUE", K::Default, "ClickData.Cyclic", "TRUE", false},
        {u"defaultx = 1", K::Assignment, "defaultx", "1", false},
        {u"default", K::Verb, "default", "", false},
        {u"default x", K::Invalid, "", "", false},
        {u"= 5", K::Invalid, "", "5", false},
        {u"a = \"open", K::Invalid, "a", "", false},
        {u"Play Blink(a=b)", K::Verb, "Play Blink(a=b)", "", false},
    };
    for (const auto& c : cases) {
        const sky::Statement s = sky::ParseStatement(c.text);
        EXPECT_EQ(s.kind, c.kind) << U8(c.text);
        if (s.kind == K::Invalid) continue;
        EXPECT_EQ(U8(s.target), c.target) << U8(c.text);
        EXPECT_EQ(U8(s.value), c.value) << U8(c.text);
        EXPECT_EQ(s.quoted, c.quoted) << U8(c.text);
    }
}
