// The vexclk command line, run in-process.
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

std::string Transcript(const TempDir& dir) {
    return dir.Write("t.replies",
                     "? time.jd\t2461380.5\n"
                     "? AdfSystem.#1.File\thyades.adf\n"
                     "? AdfSystem.#1.ObjectName\tHyades\n");
}

}  // namespace

TEST(Cli, TypePrintsOneCodePerObject) {
    TempDir dir;
    const auto r = RunVexclk({"type", "--replies", Transcript(dir), "Solar.Planet.Earth",
                              "deepsky.M31", "Hyades.7", "Nowhere.1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "3\n4\n9\n-1\n");
}

TEST(Cli, ParsePrintsTenParametersPerText) {
    const auto r = RunVexclk({"parse", "Solar.Planet.Earth", "Head( a , \"b, c\", (1,2))"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "0\tSolar\n1\tPlanet\n2\tEarth\n3\t\n4\t\n5\t\n6\t\n7\t\n8\t\n9\t\n"
              "\n"
              "0\tHead\n1\ta\n2\tb, c\n3\t(1,2)\n4\t\n5\t\n6\t\n7\t\n8\t\n9\t\n");
}

TEST(Cli, TraceShowsEveryCommandAndReply) {
    TempDir dir;
    const auto r =
        RunVexclk({"text", "--trace", "--replies", Transcript(dir), "Solar.Planet.Mars"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("> ? time.jd\n< 2461380.5\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("> ? location\n< \n"), std::string::npos) << r.err;
}

TEST(Cli, BadInputIsOneLineOnStderrAndStatusTwo) {
    TempDir dir;
    const std::string good = Transcript(dir);
    const std::string bad = dir.Write("bad.replies", "? x\t1\nno tab\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "vexclk: no command given (try 'vexclk --help')"},
        {{"draw"}, "vexclk: unknown command 'draw' (try 'vexclk --help')"},
        {{"text", "--color", "X.1"}, "vexclk text: unknown option '--color'"},
        {{"text", "--replies"}, "vexclk text: --replies needs a value"},
        {{"text", "--replies", good}, "vexclk text: no OBJECT given"},
        {{"text", "--replies", bad, "X.1"},
         "vexclk text: " + bad + ":2: no tab between command and reply"},
        {{"text", "--replies", dir.path() + "/none", "X.1"},
         "vexclk text: " + dir.path() +
             "/none: cannot read the replies file: No such file or "
             "directory"},
        {{"text", "--replies", "", "X.1"}, "vexclk text: --replies needs a value"},
        {{"text", "--col\nor\xff", "X.1"}, "vexclk text: unknown option '--col\\nor\\xFF'"},
        {{"text", "--replies", good, "--setting", "DispFoo=1", "X.1"},
         "vexclk text: unknown setting 'DispFoo'"},
        {{"text", "--replies", good, "--setting", "Precision=1.5", "X.1"},
         "vexclk text: setting Precision wants an integer, got '1.5'"},
        {{"text", "--replies", good, "--setting", "Precision", "X.1"},
         "vexclk text: a setting is NAME=VALUE, got 'Precision'"},
        {{"text", "--replies", good, "--setting", "Precision=+-1", "X.1"},
         "vexclk text: setting Precision wants an integer, got '+-1'"},
        {{"type", "--raw", "X.1"}, "vexclk type: unknown option '--raw'"},
    };
    for (const auto& c : cases) {
        const auto r = RunVexclk(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_TRUE(r.out.empty());
    }
}

// A text may hold any character but NUL, so NUL alone separates raw texts.
TEST(Cli, RawTextsAreSeparatedByNul) {
    TempDir dir;
    const std::string replies = dir.Write("f.replies", "? deepsky.M31.name\tA\\n\f\\nB\n");
    const auto one = RunVexclk({"text", "--raw", "--title", "--replies", replies, "deepsky.M31"});
    ASSERT_NE(one.out.find("\n\f\n"), std::string::npos) << one.out;
    const auto two =
        RunVexclk({"text", "--raw", "--title", "--replies", replies, "deepsky.M31", "deepsky.M31"});
    EXPECT_EQ(two.out, one.out + '\0' + one.out);
}
