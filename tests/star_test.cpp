// The star text through the replay engine: headings of each kind, the
// detail lines and their fallbacks, numbered-star attributes, catalogue
// cross-identifications, the trace, and the Sirius example transcript.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

TEST(StarText, Headings) {
    const struct {
        const char16_t* object;
        Replies replies;
        const char* heading;
    } cases[] = {
        // A numbered star by its designation, however "Xno" is written.
        {u"STAR.xNO7", {{u".numberofPlanets", u"*"}, {u".Id", u"TYC 1-1-1"}}, "恒星 TYC 1-1-1"},
        // A known planet makes any star a host, a supernova too.
        {u"Star.Supernova.SN1987A",
         {{u".numberofPlanets", u"1"}, {u".JapaneseName", u"名"}},
         "惑星のある恒星 名 "},
        {u"Star.Hip113357",
         {{u".numberofPlanets", u"3 planets"},
          {u".FlamsteedNumber", u"51"},
          {u".Constellation.Abbreviation", u"Peg"},
          {u".Constellation.Name", u"ペガスス座"},
          {u".JapaneseName", u"ヘルヴェティオス"},
          {u".EnglishName", u"Helvetios"}},
         "惑星のある恒星 51Peg (ペガスス座) ヘルヴェティオス Helvetios"},
        // No name (an abbreviation alone is none): where it is, which star.
        {u"Star.Hip27000",
         {{u".Constellation.Abbreviation", u"Ori"},
          {u".Position.Constellation", u"オリオン座"},
          {u".HipparcosNumber", u"27000"}},
         "恒星 (オリオン座) HIP27000"},
        {u"Star.Hip1",
         {{u".Position.Constellation", u"オリオン座"}, {u".HipparcosNumber", u"*"}},
         "恒星 (オリオン座)"},
    };
    for (const auto& c : cases) {
        TextFixture s;
        s.Object(c.object, c.replies);
        EXPECT_EQ(s.Text(c.object, 1), c.heading) << U8(c.object);
        // The full text keeps the blank of an empty name; HIP has its line.
        if (U8(c.object) == "Star.Hip27000") {
            EXPECT_EQ(s.Text(c.object), "恒星 (オリオン座) \r\nHIP27000\r\n");
        }
    }
}

TEST(StarText, DetailLinesAndTheirFallbacks) {
    // "*" is the engine's "no value", empty its "no such property"; most
    // lines drop both, some only one of them.  Parallaxes lie either side of
    // where the distance notation changes (d = 1 au / tan(p), in light years
    // of 9 460 528 436 447.504 km).
    const struct {
        const char16_t* suffix;
        const char16_t* reply;
        const char* lines;  // what follows "恒星 名 \r\n"
    } cases[] = {
        {u".Magnitude", u"*", ""},
        {u".Magnitude", u"", "光度  0.00等\r\n"},
        {u".pi", u"379.21", "年周視差 379.21 (mas)\r\n距離 8.60 (光年)\r\n"},      // Sirius
        {u".pi", u"65.2327", "年周視差 65.23 (mas)\r\n距離 50.0 (光年)\r\n"},      // 50.000
        {u".pi", u"3.278024", "年周視差 3.28 (mas)\r\n距離 995 (光年)\r\n"},       // 994.9997
        {u".pi", u"3.278023", "年周視差 3.28 (mas)\r\n距離 1000 (光年)\r\n"},      // 995.0001
        {u".pi", u"0.32781", "年周視差 0.33 (mas)\r\n距離 9950 (光年)\r\n"},       // 9949.77
        {u".pi", u"0.3278023", "年周視差 0.33 (mas)\r\n距離 1.0e+04 (光年)\r\n"},  // 9950.001
        {u".pi", u"0", ""},
        {u".Propermotion.RA", u"*", ""},
        // The spectral type and the closing section print as they come.
        {u".SpectralType", u"*", "スペクトル型 *\r\n"},
        {u".VariableName", u"*", "GCVS識別名 *\r\n"},
        // A cross-identification without any catalogue keeps its frame.
        {u".CrossID", u"*", "\r\nカタログインデックス\r\n\r\n"},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::DispMag, &CCdStatus::StarDetails});
        s.Object(u"Star.Hip1",
                 {{u".JapaneseName", u"名"}, {u".Magnitude", u"*"}, {c.suffix, c.reply}});
        EXPECT_EQ(s.Text(u"Star.Hip1"), std::string("恒星 名 \r\n") + c.lines)
            << U8(c.suffix) << " = \"" << U8(c.reply) << "\"";
    }
}

TEST(StarText, KindsPrintTheirOwnDetails) {
    const struct {
        const char16_t* object;
        Replies replies;
        const char* text;
    } cases[] = {
        // A planet host: the count, M_V in place of the Tycho photometry.
        {u"star.Xno0",
         {{u".numberofPlanets", u"2"}, {u".JapaneseName", u"名"}, {u".Magnitude.VT", u"4.830"}},
         "惑星のある恒星 名 \r\n惑星数 2\r\nM_V=4.83\r\n"},
        // A Tycho star joins the photometry it has.
        {u"star.Xno0",
         {{u".Id", u"TYC 4-5-1"}, {u".Magnitude.BT", u"5.1234"}, {u".Magnitude.BV", u"-0.1"}},
         "恒星 TYC 4-5-1\r\nBT=5.123 B-V=-0.100\r\n"},
        // Other numbered stars have no photometry, motion, parallax or type.
        {u"star.Xno0",
         {{u".Id", u"GSC 00001-00001"},
          {u".Magnitude.BT", u"5.0"},
          {u".pi", u"10"},
          {u".SpectralType", u"G2"},
          {u".Type", u"Star,,Comet,galaxy"}},
         "恒星 GSC 00001-00001\r\n天体種別 恒星,銀河\r\n"},
        // USNO-A2.0 packs ACT flag (sign), M flag, field, B and R magnitudes.
        {u"star.Xno0",
         {{u".Id", u"USNO-A2.0 1050-1"}, {u".USNOA20Attr", u"-1123456789"}},
         "恒星 USNO-A2.0 1050-1\r\nBmag=45.6 Rmag=78.9\r\nACTflag=1 Mflag=1 Field=123\r\n"},
        // The most negative int has no int absolute value.
        {u"star.Xno0",
         {{u".Id", u"USNO-A2.0 1050-1"}, {u".USNOA20Attr", u"-2147483648"}},
         "恒星 USNO-A2.0 1050-1\r\nBmag=48.3 Rmag=64.8\r\nACTflag=1 Mflag=2 Field=147\r\n"},
        {u"Star.Nova.X",
         {{u".JapaneseName", u"新星X"},
          {u".Summary", u"*"},
          {u".pi", u"2"},
          {u".Magnitude.BT", u"3"}},
         "新星 新星X \r\n*\r\n"},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::StarDetails});
        s.Object(c.object, c.replies);
        EXPECT_EQ(s.Text(c.object), c.text) << c.text;
    }
}

TEST(StarText, UsnoPositionsCarryOneDigitMore) {
    // Betelgeuse, J2000: 5h55m10.30536s +7°24'25.4304".
    for (const auto& [id, position] :
         {std::pair{u"USNO-A2.0 0900-03196525", "赤経 05h55m10.305s  赤緯 +07ﾟ24'25.43\""},
          std::pair{u"TYC 129-1873-1", "赤経 05h55m10.31s  赤緯 +07ﾟ24'25.4\""}}) {
        TextFixture s({&CCdStatus::DispEqt2000});
        s.Object(
            u"star.Xno0",
            {{u".Id", id}, {u".position.RA", u"5.91952926667"}, {u".position.DEC", u"7.407064"}});
        EXPECT_EQ(s.Text(u"star.Xno0"), "恒星 " + U8(id) + "\r\n" + position + " (J2000)\r\n");
    }
}

TEST(StarText, CrossIdentificationsOrderedAndAligned) {
    TextFixture s({&CCdStatus::StarDetails});
    // Catalogues of different name lengths, one repeated, empty pieces and a
    // piece without a catalogue, runs of white space (an ideographic space
    // among them) inside and around the designations.
    s.Object(u"Star.Hip32349",
             {{u".JapaneseName", u"シリウス"},
              {u".CrossID",
               u"SAO 151881|HD 48915||noblank|HD  48915B |2MASS J06450887-1642566|"
               u"Gaia DR3\t 2947050466531873024|GJ 244　A|gaia x|"}});
    EXPECT_EQ(s.Text(u"Star.Hip32349"),
              "恒星 シリウス \r\n\r\nカタログインデックス\r\n"
              "2MASS J06450887-1642566\r\n"
              "GJ    244 A\r\n"
              "Gaia  DR3 2947050466531873024\r\n"
              "HD    48915\r\n"
              "HD    48915B\r\n"
              "SAO   151881\r\n"
              "gaia  x\r\n\r\n");
}

TEST(StarText, TraceGoesToDebugOutputOnlyWhenAskedFor) {
    const char* saved = std::getenv("VEXCLK_DEBUG");
    const std::string previous = saved ? saved : "";
    for (const auto& [value, trace] : {std::pair{"1", "star.Xno0\r\n"}, std::pair{"0", ""}}) {
        setenv("VEXCLK_DEBUG", value, 1);
        TextFixture s;
        testing::internal::CaptureStderr();
        s.Text(u"star.Xno0");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), trace) << value;
    }
    saved ? setenv("VEXCLK_DEBUG", previous.c_str(), 1) : unsetenv("VEXCLK_DEBUG");
}

TEST(StarText, SiriusExampleTranscript) {
    TextFixture s({&CCdStatus::DispMag, &CCdStatus::StarDetails, &CCdStatus::DispEqt2000});
    std::string error;
    ASSERT_TRUE(s.engine.LoadFile(VEXCLK_SOURCE_DIR "/examples/sirius.replies", &error)) << error;
    EXPECT_EQ(s.Text(u"Star.Hip32349"),
              "恒星 9αCMa (おおいぬ座) シリウス Sirius\r\n"
              "HIP32349\r\n"
              "光度 -1.46等\r\n"
              "赤経 06h45m08.92s  赤緯 -16ﾟ42'58.0\" (J2000)\r\n"
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
}
