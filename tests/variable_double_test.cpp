// Variable-star (GCVS) and double-star (WDS) texts, through the replay
// engine.
#include <gtest/gtest.h>

#include <string>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

struct Sky : TextFixture {
    // The engine's local clock, on the hour: "? LST(Time.*)" and the zone.
    void SetClock(int year, int month, int day, int hour, int zone) {
        const std::pair<const char16_t*, int> values[] = {
            {u"? LST(Time.Year)", year}, {u"? LST(Time.Month)", month}, {u"? LST(Time.Day)", day},
            {u"? LST(Time.Hour)", hour}, {u"? LST(Time.Minute)", 0},    {u"? LST(Time.Second)", 0},
            {u"? Time.Timezone", zone}};
        for (const auto& [command, value] : values) {
            CString v;
            v.Format(u"%d", value);
            engine.SetReply(command, v);
        }
    }
};

const char16_t kMira[] = u"star.GCVS.omi_Cet";

const char16_t kPair[] = u"star.WDS.02537+3820.AB";
const char16_t kSystem[] = u"star.WDS.02537+3820";

}  // namespace

TEST(VariableStarText, FullTextWithPhase) {
    // A Mira-like star with every detail line.
    Sky s;
    s.status.DispMag = 1;
    s.status.StarDetails = 1;
    s.Object(kMira, {{u".Name", u"omi Cet"},
                     {u".HipparcosNumber", u"10826"},
                     {u".Magnitude.Maximum", u"2.0"},
                     {u".Magnitude.Minimum", u"10.1"},
                     {u".VariableType", u"M"},
                     {u".SpectralType", u"M5e-M9e"},
                     {u".Epoch", u"2450000.5000"},
                     {u".Year", u"1596"},
                     {u".Period", u"100"},
                     {u".M_mD", u"38"},
                     {u".OtherDesign", u"Mira"}});
    s.status.DispEqt2000 = 1;
    s.Reply(kMira, u".position.RA", u"2.32244");
    s.Reply(kMira, u".position.DEC", u"-2.97764");
    // JD 2460123.25 = 2023-06-27 18:00 UT = 2023-06-28 03:00 JST.
    s.SetClock(2023, 6, 28, 3, 9);
    EXPECT_EQ(s.Text(kMira, 1), "変光星 omi Cet");
    EXPECT_EQ(s.Text(kMira),
              "変光星 omi Cet\r\n"
              "HIP10826\r\n"
              "光度 極大 2.00等 極小 10.10等\r\n"
              "赤経 02h19m20.78s  赤緯 -02ﾟ58'39.5\" (J2000)\r\n"
              "変光星タイプ M\r\n"
              "スペクトル型 M5e-M9e\r\n"
              "元期 2450000.5\r\n"
              "出現 1596年\r\n"
              "周期 100日\r\n"
              "M-m/D 38 (38.0日)\r\n"
              "現在の状態 元期＋101周期＋22.75日\r\n"
              "別名 Mira\r\n");
}

TEST(VariableStarText, EpochPeriodAndPhase) {
    const struct {
        const char16_t* epoch;
        const char16_t* period;
        int year, month, day, hour, zone;
        const char* lines;
    } cases[] = {
        // JD 2460123.25 in UT: 101 periods and 22.75 days after the epoch.
        {u"2450000.5", u"100", 2023, 6, 27, 18, 0,
         "元期 2450000.5\r\n周期 100日\r\nM-m/D 45 (45.0日)\r\n"
         "現在の状態 元期＋101周期＋22.75日\r\n"},
        // JD 2449950.5: half a period before it, one period back plus 50 days.
        {u"2450000.5", u"100", 1995, 8, 21, 9, 9,
         "元期 2450000.5\r\n周期 100日\r\nM-m/D 45 (45.0日)\r\n"
         "現在の状態 元期－1周期＋50.00日\r\n"},
        // JD 2450000.5: the epoch itself.
        {u"2450000.5", u"100", 1995, 10, 10, 9, 9,
         "元期 2450000.5\r\n周期 100日\r\nM-m/D 45 (45.0日)\r\n"
         "現在の状態 元期＋0周期＋0.00日\r\n"},
        // Trailing zeros go, but not the one after the point.  JD 2451226.5:
        // 14 periods of 0.567 days back plus 0.438 days.
        {u"2451234.0", u"0.5670", 1999, 2, 17, 0, 0,
         "元期 2451234.0\r\n周期 0.567日\r\nM-m/D 45 (0.3日)\r\n"
         "現在の状態 元期－14周期＋0.44日\r\n"},
        // Without a period the rise time stands alone, and there is no phase.
        {u"2451234.5000", u"*", 1999, 2, 17, 0, 0, "元期 2451234.5\r\nM-m/D 45\r\n"},
        {u"*", u"332.00", 1999, 2, 17, 0, 0, "周期 332.0日\r\nM-m/D 45 (149.4日)\r\n"},
        // A period of 0 has no phase either (an empty reply reads 0).
        {u"2451234.5", u"", 1999, 2, 17, 0, 0, "元期 2451234.5\r\n周期 日\r\nM-m/D 45 (0.0日)\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.StarDetails = 1;
        s.Object(kMira, {{u".Name", u"X"},
                         {u".Epoch", c.epoch},
                         {u".Year", u"*"},
                         {u".Period", c.period},
                         {u".M_mD", u"45"}});
        s.SetClock(c.year, c.month, c.day, c.hour, c.zone);
        EXPECT_EQ(s.Text(kMira), std::string("変光星 X\r\n") + c.lines)
            << U8(c.epoch) << " " << U8(c.period) << " " << c.year;
    }
}

TEST(VariableStarText, MagnitudesYearAndAbsentLines) {
    const struct {
        const char16_t* maximum;
        const char16_t* minimum;
        const char16_t* year;
        const char* expected;
    } cases[] = {
        {u"*", u"", u"", "変光星 X\r\n光度 極大 -.--等 極小 0.00等\r\n出現 0年\r\n"},
        {u"3.456", u"*", u"*", "変光星 X\r\n光度 極大 3.46等 極小 -.--等\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.DispMag = 1;
        s.status.StarDetails = 1;
        s.Object(kMira, {{u".Name", u"X"},
                         {u".HipparcosNumber", u"*"},
                         {u".Magnitude.Maximum", c.maximum},
                         {u".Magnitude.Minimum", c.minimum},
                         {u".Year", c.year},
                         {u".Epoch", u"*"},
                         {u".Period", u"*"},
                         {u".M_mD", u"*"}});
        EXPECT_EQ(s.Text(kMira), c.expected) << U8(c.maximum) << " " << U8(c.year);
    }
}

TEST(DoubleStarText, FullText) {
    Sky s;
    s.status.DispMag = 1;
    s.status.StarDetails = 1;
    s.Object(kPair, {{u".Name", u"STF 326 AB"},
                     {u".Magnitude", u"7.3"},
                     {u".ComponentName", u"AB"},
                     {u".SpectralType", u"F5V"},
                     {u".Propermotion.RA", u"0.034"},
                     {u".Propermotion.DEC", u"-0.0125"}});
    s.Object(kSystem, {{u".Components", u"AB,AC"},
                       {u".Discoverer", u"STF  326"},
                       {u".ObsCount", u"42"},
                       {u".FirstObs.Epoch", u"1831.5"},
                       {u".FirstObs.Theta", u"227.9"},
                       {u".FirstObs.Rho", u"2.94"},
                       {u".LastObs.Epoch", u"2019"},
                       {u".LastObs.Theta", u"224"},
                       {u".LastObs.Rho", u"3.1"},
                       {u".BD", u"+37 646"}});
    s.status.DispEqt2000 = 1;
    s.Reply(kPair, u".position.RA", u"2.894");
    s.Reply(kPair, u".position.DEC", u"38.33");
    EXPECT_EQ(s.Text(kPair, 1), "二重星 STF 326 AB");
    EXPECT_EQ(s.Text(kPair),
              "二重星 STF 326 AB\r\n"
              "光度  7.30等\r\n"
              "赤経 02h53m38.40s  赤緯 +38ﾟ19'48.0\" (J2000)\r\n"
              "コンポーネント AB(AB,AC)\r\n"
              "スペクトル型 F5V\r\n"
              "発見者/番号 STF326\r\n"
              "観測数 42\r\n"
              "最初の観測 1831年（位置角 227ﾟ 角距離 2.9 arcsec）\r\n"
              "最後の観測 2019年（位置角 224ﾟ 角距離 3.1 arcsec）\r\n"
              "固有運動量μαcosδ 34.00 (mas/年)\r\n"
              "固有運動量μδ      -12.50 (mas/年)\r\n"
              "BD番号 +37 646\r\n");
    // The settings off leave the title alone.
    s.status.DispMag = 0;
    s.status.StarDetails = 0;
    s.status.DispEqt2000 = 0;
    EXPECT_EQ(s.Text(kPair), "二重星 STF 326 AB\r\n");
}

TEST(DoubleStarText, LinesOfTheSystem) {
    const struct {
        const char16_t* components;
        const char16_t* name;
        const char16_t* discoverer;
        const char16_t* count;
        const char* lines;  // between the magnitude line and the observations
    } cases[] = {
        {u"", u"AB", u"STF 326", u"1", "コンポーネント AB\r\n発見者/番号 STF326\r\n観測数 1\r\n"},
        {u"AB,AC", u"", u"   ", u"*", "コンポーネント (AB,AC)\r\n"},
        {u"", u"", u"", u"", "観測数 0\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.StarDetails = 1;
        s.Object(kPair, {{u".Name", u"X"}, {u".ComponentName", c.name}});
        s.Object(kSystem, {{u".Components", c.components},
                           {u".Discoverer", c.discoverer},
                           {u".ObsCount", c.count}});
        // The two observation lines are always there; missing values read 0.
        EXPECT_EQ(s.Text(kPair), std::string("二重星 X\r\n") + c.lines +
                                     "最初の観測 0年（位置角 0ﾟ 角距離 0.0 arcsec）\r\n"
                                     "最後の観測 0年（位置角 0ﾟ 角距離 0.0 arcsec）\r\n")
            << U8(c.components) << "|" << U8(c.name);
    }
}

TEST(DoubleStarText, WithoutASystemIdentifier) {
    // A call-form identifier has no dot: nothing to ask the system about.
    const char16_t object[] = u"Star(WDS,02537+3820)";
    Sky s;
    s.status.DispMag = 1;
    s.status.StarDetails = 1;
    s.Object(object, {{u".Name", u"STF 326"},
                      {u".Magnitude", u"*"},
                      {u".ComponentName", u"AB"},
                      {u".SpectralType", u"F5V"},
                      {u".Propermotion.RA", u"*"},
                      {u".Propermotion.DEC", u"0.1"}});
    EXPECT_EQ(s.Text(object),
              "二重星 STF 326\r\nスペクトル型 F5V\r\n固有運動量μδ      100.00 (mas/年)\r\n");
    for (const char16_t* suffix :
         {u".Components", u".ComponentName", u".Discoverer", u".ObsCount", u"Obs.", u".BD"}) {
        EXPECT_FALSE(s.AskedContaining(suffix)) << U8(suffix);
    }
}
