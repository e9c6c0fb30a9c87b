// The star text, through the replay engine: kinds and headings, the detail
// lines, numbered-star attributes, cross-identifications, the trace.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

using Sky = TextFixture;

const char16_t kSirius[] = u"Star.Hip32349";

}  // namespace

TEST(StarText, KindsAndHeadings) {
    const struct {
        const char16_t* object;
        Replies replies;
        const char* heading;
    } cases[] = {
        // A numbered star by its designation, however "Xno" is written.
        {u"star.Xno0", {{u".Id", u"TYC 1234-567-1"}}, "恒星 TYC 1234-567-1"},
        {u"STAR.xNO7", {{u".numberofPlanets", u"*"}, {u".Id", u"TYC 1-1-1"}}, "恒星 TYC 1-1-1"},
        // A known planet makes any star a host, a supernova too.
        {u"Star.Supernova.SN1987A",
         {{u".numberofPlanets", u"1"}, {u".JapaneseName", u"名"}},
         "惑星のある恒星 名 "},
        {u"Star.Hip1",
         {{u".numberofPlanets", u"3 planets"}, {u".JapaneseName", u"名"}},
         "惑星のある恒星 名 "},
        {u"Star.Hip113357",
         {{u".numberofPlanets", u"1"},
          {u".FlamsteedNumber", u"51"},
          {u".Constellation.Abbreviation", u"Peg"},
          {u".Constellation.Name", u"ペガスス座"},
          {u".JapaneseName", u"ヘルヴェティオス"},
          {u".EnglishName", u"Helvetios"}},
         "惑星のある恒星 51Peg (ペガスス座) ヘルヴェティオス Helvetios"},
        // No name: where it is and which star it is.
        {u"Star.Hip27000",
         {{u".Position.Constellation", u"オリオン座"}, {u".HipparcosNumber", u"27000"}},
         "恒星 (オリオン座) HIP27000"},
        {u"Star.Hip27000",
         {{u".Position.Constellation", u"オリオン座"}, {u".HipparcosNumber", u"*"}},
         "恒星 (オリオン座)"},
        // An abbreviation alone is not a name.
        {u"Star.Hip27000",
         {{u".Constellation.Abbreviation", u"Ori"}, {u".Position.Constellation", u"オリオン座"}},
         "恒星 (オリオン座)"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(c.object, c.replies);
        EXPECT_EQ(s.Text(c.object, 1), c.heading) << U8(c.object);
    }
}

TEST(StarText, UnnamedStarFullHeading) {
    Sky s;
    s.Reply(u"Star.Hip27000", u".Position.Constellation", u"オリオン座");
    s.Reply(u"Star.Hip27000", u".HipparcosNumber", u"27000");
    // The blank of the empty name stays; the HIP number gets its own line.
    EXPECT_EQ(s.Text(u"Star.Hip27000"), "恒星 (オリオン座) \r\nHIP27000\r\n");
}

TEST(StarText, PlanetHostLines) {
    // A numbered star with a planet: the planet count, M_V instead of the
    // Tycho photometry, and its designation not asked for.
    Sky s;
    s.status.StarDetails = 1;
    s.Reply(u"star.Xno0", u".numberofPlanets", u"2");
    s.Reply(u"star.Xno0", u".JapaneseName", u"ヘルヴェティオス");
    s.Reply(u"star.Xno0", u".Magnitude.VT", u"4.830");
    s.Reply(u"star.Xno0", u".SpectralType", u"G2IV");
    EXPECT_EQ(s.Text(u"star.Xno0"),
              "惑星のある恒星 ヘルヴェティオス \r\n惑星数 2\r\nM_V=4.83\r\nスペクトル型 G2IV\r\n");
    EXPECT_FALSE(s.Asked(u"? star.Xno0.Magnitude.BT"));
    EXPECT_FALSE(s.Asked(u"? star.Xno0.Id"));
}

TEST(StarText, AbsoluteMagnitudeShortening) {
    const struct {
        const char16_t* reply;
        const char* line;
    } cases[] = {
        {u"5.000", "M_V=5.0\r\n"},
        // Without a decimal point the zeros are the number's own.
        {u"10", "M_V=10\r\n"},
        // Nor are an exponent's zeros a fraction's.
        {u"1.0e10", "M_V=1.0e10\r\n"},
        {u"*", ""},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.StarDetails = 1;
        s.Reply(u"Star.Hip1", u".numberofPlanets", u"1");
        s.Reply(u"Star.Hip1", u".JapaneseName", u"名");
        s.Reply(u"Star.Hip1", u".Magnitude.VT", c.reply);
        EXPECT_EQ(s.Text(u"Star.Hip1"), std::string("惑星のある恒星 名 \r\n惑星数 1\r\n") + c.line)
            << U8(c.reply);
    }
}

TEST(StarText, DistanceFromParallax) {
    // Parallaxes chosen for distances just either side of where the notation
    // changes (d = 1 au / tan(p), in light years of 9 460 528 436 447.504 km).
    const struct {
        const char16_t* parallax;  // mas
        const char* lines;
    } cases[] = {
        {u"379.21", "年周視差 379.21 (mas)\r\n距離 8.60 (光年)\r\n"},      // Sirius
        {u"65.2327", "年周視差 65.23 (mas)\r\n距離 50.0 (光年)\r\n"},      // 50.000
        {u"6.52327", "年周視差 6.52 (mas)\r\n距離 500 (光年)\r\n"},        // 500.00
        {u"3.278024", "年周視差 3.28 (mas)\r\n距離 995 (光年)\r\n"},       // 994.9997
        {u"3.278023", "年周視差 3.28 (mas)\r\n距離 1000 (光年)\r\n"},      // 995.0001
        {u"0.32781", "年周視差 0.33 (mas)\r\n距離 9950 (光年)\r\n"},       // 9949.77
        {u"0.3278023", "年周視差 0.33 (mas)\r\n距離 1.0e+04 (光年)\r\n"},  // 9950.001
        // No parallax: neither line.
        {u"0", ""},
        {u"*", ""},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.StarDetails = 1;
        s.Reply(u"Star.Hip1", u".JapaneseName", u"名");
        s.Reply(u"Star.Hip1", u".pi", c.parallax);
        EXPECT_EQ(s.Text(u"Star.Hip1"), std::string("恒星 名 \r\n") + c.lines) << U8(c.parallax);
    }
}

TEST(StarText, NoValueAgainstAbsentReplies) {
    // "*" is the engine's "no value", empty its "no such property"; most
    // lines drop both, some only one of them.
    const struct {
        const char16_t* suffix;
        const char16_t* reply;
        const char* after_heading;  // what follows "恒星 名 \r\n"
    } cases[] = {
        {u".Magnitude", u"*", ""},
        {u".Magnitude", u"", "光度  0.00等\r\n"},

        {u".HipparcosNumber", u"*", "光度  0.00等\r\n"},
        {u".Propermotion.RA", u"*", "光度  0.00等\r\n"},

        // The spectral type and the closing section are printed as they come.
        {u".SpectralType", u"*", "光度  0.00等\r\nスペクトル型 *\r\n"},
        {u".SpectralType", u"", "光度  0.00等\r\n"},
        {u".VariableName", u"*", "光度  0.00等\r\nGCVS識別名 *\r\n"},
        // A cross-identification without any catalogue keeps its frame.
        {u".CrossID", u"*", "光度  0.00等\r\n\r\nカタログインデックス\r\n\r\n"},
        {u".CrossID", u"", "光度  0.00等\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.DispMag = 1;
        s.status.StarDetails = 1;
        s.Reply(u"Star.Hip1", u".JapaneseName", u"名");
        s.Reply(u"Star.Hip1", c.suffix, c.reply);
        EXPECT_EQ(s.Text(u"Star.Hip1"), std::string("恒星 名 \r\n") + c.after_heading)
            << U8(c.suffix) << " = \"" << U8(c.reply) << "\"";
    }
}

TEST(StarText, TychoPhotometryJoinsWhatIsThere) {
    const struct {
        const char16_t* bt;
        const char16_t* vt;
        const char16_t* bv;
        const char* line;
    } cases[] = {
        {u"5.1234", u"4.5", u"0.62", "BT=5.123 VT=4.500 B-V=0.620\r\n"},
        {u"5.1234", u"4.5", u"*", "BT=5.123 VT=4.500\r\n"},
        {u"*", u"", u"-0.1", "B-V=-0.100\r\n"},
        {u"*", u"*", u"*", ""},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.StarDetails = 1;
        // A Tycho star known only by its number.
        s.Reply(u"star.Xno0", u".Id", u"TYC 4-5-1");
        s.Reply(u"star.Xno0", u".Magnitude.BT", c.bt);
        s.Reply(u"star.Xno0", u".Magnitude.VT", c.vt);
        s.Reply(u"star.Xno0", u".Magnitude.BV", c.bv);
        EXPECT_EQ(s.Text(u"star.Xno0"), std::string("恒星 TYC 4-5-1\r\n") + c.line);
    }
    // Other numbered stars have no photometry, proper motion, parallax or
    // spectral type.
    Sky s;
    s.status.StarDetails = 1;
    s.Reply(u"star.Xno0", u".Id", u"GSC 00001-00001");
    s.Reply(u"star.Xno0", u".Magnitude.BT", u"5.0");
    s.Reply(u"star.Xno0", u".Type", u"Star,Galaxy");
    EXPECT_EQ(s.Text(u"star.Xno0"), "恒星 GSC 00001-00001\r\n天体種別 恒星,銀河\r\n");
    for (const char16_t* suffix :
         {u".Magnitude.BT", u".Propermotion.RA", u".pi", u".SpectralType", u".USNOA20Attr"}) {
        EXPECT_FALSE(s.Asked(u"? star.Xno0" + CString(suffix))) << U8(suffix);
    }
}

TEST(StarText, UsnoAttributes) {
    const struct {
        const char16_t* reply;
        const char* block;
    } cases[] = {
        {u"-1123456789", "Bmag=45.6 Rmag=78.9\r\nACTflag=1 Mflag=1 Field=123\r\n"},
        {u"50123456", "Bmag=12.3 Rmag=45.6\r\nACTflag=0 Mflag=0 Field=50\r\n"},
        {u"*", ""},
        // The most negative int has no int absolute value.
        {u"-2147483648", "Bmag=48.3 Rmag=64.8\r\nACTflag=1 Mflag=2 Field=147\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.StarDetails = 1;
        s.Reply(u"star.Xno0", u".Id", u"USNO-A2.0 1050-12345678");
        s.Reply(u"star.Xno0", u".USNOA20Attr", c.reply);
        EXPECT_EQ(s.Text(u"star.Xno0"), std::string("恒星 USNO-A2.0 1050-12345678\r\n") + c.block)
            << U8(c.reply);
    }
}

TEST(StarText, PositionBlockOfNumberedStars) {
    // Betelgeuse, J2000: 5h55m10.30536s +7°24'25.4304".
    const struct {
        const char16_t* id;
        const char* expected;
    } cases[] = {
        // USNO positions print one digit more.
        {u"USNO-A2.0 0900-03196525",
         "恒星 USNO-A2.0 0900-03196525\r\n"
         "赤経 05h55m10.305s  赤緯 +07ﾟ24'25.43\" (J2000)\r\n"},
        {u"TYC 129-1873-1",
         "恒星 TYC 129-1873-1\r\n"
         "赤経 05h55m10.31s  赤緯 +07ﾟ24'25.4\" (J2000)\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.DispEqt2000 = 1;
        s.Reply(u"star.Xno0", u".Id", c.id);
        s.Reply(u"star.Xno0", u".position.RA", u"5.91952926667");
        s.Reply(u"star.Xno0", u".position.DEC", u"7.40706400");
        EXPECT_EQ(s.Text(u"star.Xno0"), c.expected) << U8(c.id);
        // Never in the short form.
        EXPECT_EQ(s.Text(u"star.Xno0", 1).find("赤経"), std::string::npos);
    }
}

TEST(StarText, SupernovaAndNova) {
    const struct {
        const char16_t* object;
        const char16_t* summary;
        const char* expected;
    } cases[] = {
        {u"Star.Supernova.SN1987A", u"1987年2月23日に発見",
         "超新星 大マゼラン雲の超新星 SN 1987A\r\n1987年2月23日に発見\r\n光度  2.90等\r\n"},
        {u"Star.Supernova.SN1987A", u"",
         "超新星 大マゼラン雲の超新星 SN 1987A\r\n光度  2.90等\r\n"},
        {u"Star.Nova.SN1987A", u"*", "新星 大マゼラン雲の超新星 SN 1987A\r\n*\r\n光度  2.90等\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.DispMag = 1;
        s.status.StarDetails = 1;
        s.Reply(c.object, u".JapaneseName", u"大マゼラン雲の超新星");
        s.Reply(c.object, u".EnglishName", u"SN 1987A");
        s.Reply(c.object, u".Summary", c.summary);
        s.Reply(c.object, u".Magnitude", u"2.9");
        s.Reply(c.object, u".pi", u"0.02");
        s.Reply(c.object, u".SpectralType", u"B3I");
        s.Reply(c.object, u".Magnitude.BT", u"3.0");
        EXPECT_EQ(s.Text(c.object), c.expected) << U8(c.summary);
    }
}

TEST(StarText, CrossIdentificationsOrderedAndAligned) {
    Sky s;
    s.status.StarDetails = 1;
    s.Reply(u"Star.Hip32349", u".JapaneseName", u"シリウス");
    s.Reply(u"Star.Hip32349", u".VariableName", u"alf CMa");
    // Catalogues of different name lengths, one repeated, empty pieces and a
    // piece without a catalogue, runs of white space (an ideographic space
    // among them) inside and around the designations.
    s.Reply(u"Star.Hip32349", u".CrossID",
            u"SAO 151881|HD 48915||HR 2491|noblank|HD  48915B |2MASS J06450887-1642566|"
            u"Gaia DR3\t 2947050466531873024|GJ 244　A|HIP 32349|gaia x|HDE 326306|"
            u"BD -16   1591|");
    EXPECT_EQ(s.Text(u"Star.Hip32349"),
              "恒星 シリウス \r\n"
              "GCVS識別名 alf CMa\r\n"
              "\r\n"
              "カタログインデックス\r\n"
              "2MASS J06450887-1642566\r\n"
              "BD    -16 1591\r\n"
              "GJ    244 A\r\n"
              "Gaia  DR3 2947050466531873024\r\n"
              "HD    48915\r\n"
              "HD    48915B\r\n"
              "HDE   326306\r\n"
              "HIP   32349\r\n"
              "HR    2491\r\n"
              "SAO   151881\r\n"
              "gaia  x\r\n"
              "\r\n");
}

TEST(StarText, TraceGoesToDebugOutputOnlyWhenAskedFor) {
    const char* saved = std::getenv("VEXCLK_DEBUG");
    const std::string previous = saved ? saved : "";
    // Only "1" switches it on.
    for (const auto& [value, trace] : {std::pair{"1", "star.Xno0\r\n"}, std::pair{"0", ""}}) {
        setenv("VEXCLK_DEBUG", value, 1);
        Sky s;
        s.Reply(u"star.Xno0", u".Id", u"TYC 1-2-1");
        testing::internal::CaptureStderr();
        s.Text(u"star.Xno0");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), trace) << value;
    }
    if (saved) {
        setenv("VEXCLK_DEBUG", previous.c_str(), 1);
    } else {
        unsetenv("VEXCLK_DEBUG");
    }
}

TEST(StarText, SiriusExampleTranscript) {
    Sky s;
    std::string error;
    ASSERT_TRUE(s.engine.LoadFile(VEXCLK_SOURCE_DIR "/examples/sirius.replies", &error)) << error;
    s.status.DispMag = 1;
    s.status.StarDetails = 1;
    s.status.DispEqt2000 = 1;
    s.status.DispGal = 1;
    EXPECT_EQ(s.Text(kSirius, 1), "恒星 9αCMa (おおいぬ座) シリウス Sirius");
    EXPECT_EQ(s.Text(kSirius),
              "恒星 9αCMa (おおいぬ座) シリウス Sirius\r\n"
              "HIP32349\r\n"
              "光度 -1.46等\r\n"
              "赤経 06h45m08.92s  赤緯 -16ﾟ42'58.0\" (J2000)\r\n"
              "銀経 227ﾟ13'49\"    銀緯 -08ﾟ53'25\"\r\n"
              "固有運動量μαcosδ -546.01 (mas/年)\r\n"
              "固有運動量μδ      -1223.07 (mas/年)\r\n"
              "年周視差 379.21 (mas)\r\n"
              "距離 8.60 (光年)\r\n"
              "B-V=0.000\r\n"
              "スペクトル型 A0mA1Va\r\n"
              "\r\n"
              "カタログインデックス\r\n"
              "BD  -16 1591\r\n"
              "HD  48915\r\n"
              "HIP 32349\r\n"
              "HR  2491\r\n"
              "SAO 151881\r\n"
              "\r\n");
    // Without the details and the position the text ends after the magnitude.
    s.status.StarDetails = 0;
    s.status.DispEqt2000 = 0;
    s.status.DispGal = 0;
    EXPECT_EQ(s.Text(kSirius),
              "恒星 9αCMa (おおいぬ座) シリウス Sirius\r\nHIP32349\r\n光度 -1.46等\r\n");
}
