// Variable-star (GCVS) and double-star (WDS) texts, through the replay
// engine.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

const char16_t kMira[] = u"star.GCVS.omi_Cet";
const char16_t kPair[] = u"star.WDS.02537+3820.AB";

}  // namespace

TEST(VariableStarText, EpochPeriodAndPhase) {
    const struct {
        const char16_t *epoch, *period;
        int year, month, day, hour;
        const char16_t* zone;
        const char* lines;
    } cases[] = {
        // 2023-06-28 03:00 JST is JD 2460123.25: 101 periods and 22.75 days
        // after the epoch.
        {u"2450000.5000", u"100", 2023, 6, 28, 3, u"9",
         "元期 2450000.5\r\n周期 100日\r\nM-m/D 45 (45.0日)\r\n現在の状態 "
         "元期＋101周期＋22.75日\r\n"},
        // JD 2449950.5: half a period before it, one period back plus 50 days.
        {u"2450000.5", u"100", 1995, 8, 21, 9, u"9",
         "元期 2450000.5\r\n周期 100日\r\nM-m/D 45 (45.0日)\r\n現在の状態 "
         "元期－1周期＋50.00日\r\n"},
        // Trailing zeros go, but not the one after the point.  JD 2451226.5:
        // 14 periods of 0.567 days back plus 0.438 days.
        {u"2451234.0", u"0.5670", 1999, 2, 17, 0, u"0",
         "元期 2451234.0\r\n周期 0.567日\r\nM-m/D 45 (0.3日)\r\n現在の状態 "
         "元期－14周期＋0.44日\r\n"},
        // Without a period the rise time stands alone, and there is no phase.
        {u"2451234.5", u"*", 1999, 2, 17, 0, u"0", "元期 2451234.5\r\nM-m/D 45\r\n"},
        // A period of 0 has no phase either (an empty reply reads 0).
        {u"2451234.5", u"", 1999, 2, 17, 0, u"0",
         "元期 2451234.5\r\n周期 日\r\nM-m/D 45 (0.0日)\r\n"},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::StarDetails});
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

TEST(VariableStarText, MagnitudesAndYearFallBackDifferently) {
    TextFixture s({&CCdStatus::DispMag, &CCdStatus::StarDetails});
    // No value prints dashes, an absent value 0; the epoch and period of
    // no value leave their lines out.
    s.Object(kMira, {{u".Name", u"omi Cet"},
                     {u".HipparcosNumber", u"10826"},
                     {u".Magnitude.Maximum", u"*"},
                     {u".VariableType", u"M"},
                     {u".Epoch", u"*"},
                     {u".Period", u"*"},
                     {u".M_mD", u"*"},
                     {u".OtherDesign", u"Mira"}});
    EXPECT_EQ(s.Text(kMira, 1), "変光星 omi Cet");
    EXPECT_EQ(s.Text(kMira),
              "変光星 omi Cet\r\nHIP10826\r\n光度 極大 -.--等 極小 0.00等\r\n変光星タイプ M\r\n"
              "出現 0年\r\n別名 Mira\r\n");
}

TEST(DoubleStarText, LinesOfThePairAndItsSystem) {
    TextFixture s({&CCdStatus::DispMag, &CCdStatus::StarDetails});
    s.Object(kPair, {{u".Name", u"STF 326 AB"},
                     {u".Magnitude", u"7.3"},
                     {u".ComponentName", u"AB"},
                     // The catalogue's proper motions are seconds of arc a year.
                     {u".Propermotion.RA", u"0.034"},
                     {u".Propermotion.DEC", u"-0.0125"}});
    s.Object(u"star.WDS.02537+3820", {{u".Components", u"AB,AC"},
                                      {u".Discoverer", u"STF  326"},
                                      {u".ObsCount", u"*"},
                                      {u".FirstObs.Epoch", u"1831.5"},
                                      {u".FirstObs.Theta", u"227.9"},
                                      {u".FirstObs.Rho", u"2.94"},
                                      {u".BD", u"+37 646"}});
    // Years and angles are cut to whole numbers; missing values read 0.
    EXPECT_EQ(
        s.Text(kPair),
        "二重星 STF 326 AB\r\n光度  7.30等\r\nコンポーネント AB(AB,AC)\r\n発見者/番号 STF326\r\n"
        "最初の観測 1831年（位置角 227ﾟ 角距離 2.9 arcsec）\r\n"
        "最後の観測 0年（位置角 0ﾟ 角距離 0.0 arcsec）\r\n"
        "固有運動量μαcosδ 34.00 (mas/年)\r\n固有運動量μδ      -12.50 (mas/年)\r\n"
        "BD番号 +37 646\r\n");
}

TEST(DoubleStarText, WithoutASystemIdentifier) {
    // A call-form identifier has no dot: nothing to ask the system about.
    const char16_t object[] = u"Star(WDS,02537+3820)";
    TextFixture s({&CCdStatus::DispMag, &CCdStatus::StarDetails});
    s.Object(object, {{u".Name", u"STF 326"},
                      {u".Magnitude", u"*"},
                      {u".ComponentName", u"AB"},
                      {u".SpectralType", u"F5V"},
                      {u".Propermotion.DEC", u"0.1"}});
    EXPECT_EQ(s.Text(object),
              "二重星 STF 326\r\nスペクトル型 F5V\r\n固有運動量μδ      100.00 (mas/年)\r\n");
    for (const char16_t* suffix :
         {u".Components", u".ComponentName", u".ObsCount", u"Obs.", u".BD"}) {
        EXPECT_FALSE(s.Asked(suffix)) << U8(suffix);
    }
}
