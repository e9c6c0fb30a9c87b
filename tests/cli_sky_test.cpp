// The command line with the sky engine.
#include <gtest/gtest.h>

#include <sstream>

#include "apps/cli.h"
#include "sky/command.h"
#include "tests/test_support.h"

TEST(CliSky, TextOfAStarAtAGivenTimeAndPlace) {
    const auto r = RunVexclk({"text", "--time", "2026-12-06T21:00", "--setting", "DispHrz=0",
                              "--setting", "StarDetails=0", "Star.HIP32349"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("恒星 9αCMa (おおいぬ座) シリウス Sirius\nHIP32349\n光度 -1.44等\n", 0),
              0u)
        << r.out;
    // Sirius rises at about 20:14 and transits at about 01:31 JST in early December.
    EXPECT_NE(r.out.find("出 20:1"), std::string::npos) << r.out;
}

TEST(CliSky, QueryReadsStandardInputWithoutCommands) {
    std::istringstream in("? Star.HIP32349.EnglishName\n? Constellation.Ori.Name\r\n");
    std::ostringstream out, err;
    EXPECT_EQ(vexclk::RunCli({"query"}, in, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "Sirius\nオリオン座\n");
}

TEST(CliSky, BadSkyOptionsAreOneLineAndStatusTwo) {
    const struct {
        std::vector<std::string> args;
        std::string starts;
    } cases[] = {
        {{"text", "--time", "2026-13-01", "X.1"},
         "vexclk text: --time: not an ISO 8601 time (month)"},
        {{"text", "--time", "yesterday", "X.1"},
         "vexclk text: --time: not an ISO 8601 time (year, of four digits)"},
        {{"text", "--lat", "north", "X.1"}, "vexclk text: --lat wants a number, got 'north'"},
        {{"text", "--lat", "91", "X.1"}, "vexclk text: the place is out of range"},
        {{"text", "--tz", "15", "X.1"}, "vexclk text: --tz must lie within -14..14 hours"},
        {{"query", "--replies", "x", "--time", "2026-01-01", "? a"},
         "vexclk query: --time, --tz, --lat, --lon and --height are for the sky engine"},
        {{"find"}, "vexclk find: give either TEXT or --near"},
        {{"find", "--near", "25,0"}, "vexclk find: --near wants RA,DEC[,RADIUS]"},
        {{"find", "--near", "1,2,3,4"}, "vexclk find: --near wants RA,DEC[,RADIUS]"},
        {{"find", "--near", "1,0,"}, "vexclk find: --near wants RA,DEC[,RADIUS]"},
        {{"text", "--lon", "-181", "X.1"}, "vexclk text: the place is out of range"},
        {{"text", "--lon", "-360", "X.1"}, "vexclk text: the place is out of range"},
        {{"text", "--time", "", "X.1"}, "vexclk text: --time needs a value"},
        {{"text", "--time", "20260-01-01", "X.1"},
         "vexclk text: --time: not an ISO 8601 time (year"},
        {{"text", "--time", "-12026-01-01", "X.1"},
         "vexclk text: --time: not an ISO 8601 time (year"},
        {{"text", "--time", "2026-01-01\n\xe6\x98", "X.1"}, "vexclk text: --time: "},
        {{"text", "--lat", "4\n5", "X.1"}, "vexclk text: --lat wants a number, got '4\\n5'"},
    };
    for (const auto& c : cases) {
        const auto r = RunVexclk(c.args);
        EXPECT_EQ(r.status, 2) << c.starts;
        EXPECT_EQ(r.err.rfind(c.starts, 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // one line
        bool utf8 = false;
        CString::FromUtf8(r.err, &utf8);
        EXPECT_TRUE(utf8) << r.err;
    }
}

// One command is bounded in length, read from standard input or not.
TEST(CliSky, QueryRefusesACommandBeyondTheBound) {
    const std::string huge(sky::kMaxCommandLength + 1, ';');
    std::istringstream in("? Time.Timezone\n" + huge + "\n? Time.Timezone\n");
    std::ostringstream out, err;
    EXPECT_EQ(vexclk::RunCli({"query"}, in, out, err), 2);
    EXPECT_EQ(out.str(), "9.0000\n");
    EXPECT_EQ(err.str(), "vexclk query: a command is longer than 65536 characters\n");
    EXPECT_EQ(RunVexclk({"query", huge}).err, err.str());
}

TEST(CliSky, MissingCatalogueIsAClearError) {
    TempDir empty;
    setenv("VEXCLK_DATA", (empty.path() + "/two\nlines").c_str(), 1);
    const auto r = RunVexclk({"text", "Star.HIP32349"});
    unsetenv("VEXCLK_DATA");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("vexclk text: cannot load the catalogues: ", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // one line
}
