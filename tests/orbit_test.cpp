// Orbit and apparent-motion lines of comets and minor planets, through the
// replay engine and the solar-system text.
#include <gtest/gtest.h>

#include <string>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

using Sky = TextFixture;

const char16_t kCeres[] = u"Solar.MinorPlanet.Ceres";
const std::u16string kCeresQ = u"? Solar.MinorPlanet.Ceres";
const char kCeresTitle[] = "ケレス Ceres (1)\r\n";

const char16_t kHalley[] = u"Solar.Comet.1P";
const std::u16string kHalleyQ = u"? Solar.Comet.1P";
const char kHalleyTitle[] = "ハレー彗星 Halley (1P)\r\n";

// A minor planet whose orbit lines are on.
void SetCeres(Sky& s) {
    s.status.SolarOrbitDetails = 1;
    s.Reply(kCeresQ + u".JapaneseName", u"ケレス");
    s.Reply(kCeresQ + u".EnglishName", u"Ceres");
    s.Reply(kCeresQ + u".ID", u"1");
    s.Reply(kCeresQ + u".RevolutionPeriod", u"4.604");
    s.Reply(kCeresQ + u".SemiMajorAxis", u"2.7675");
    s.Reply(kCeresQ + u".Eccentricity", u"0.0785");
}

void SetHalley(Sky& s) {
    s.status.SolarOrbitDetails = 1;
    s.Reply(kHalleyQ + u".JapaneseName", u"ハレー彗星");
    s.Reply(kHalleyQ + u".EnglishName", u"Halley");
    s.Reply(kHalleyQ + u".ID", u"1P");
    s.Reply(kHalleyQ + u".RevolutionPeriod", u"75.32");
    s.Reply(kHalleyQ + u".TimeOfPerihelionPassage", u"2446470.95");
    s.Reply(kHalleyQ + u".Eccentricity", u"0.96714");
    s.Reply(kHalleyQ + u".PerihelionDistance", u"0.5871");
    s.Reply(kHalleyQ + u".DailyMotion.RA", u"0.24");
    s.Reply(kHalleyQ + u".DailyMotion.Dec", u"0.12");
    s.Reply(kHalleyQ + u".position.EquatorialDateApp.RA", u"0");
    s.Reply(kHalleyQ + u".position.EquatorialDateApp.DEC", u"0");
}

}  // namespace

TEST(OrbitLines, MinorPlanetPeriodAxisEccentricity) {
    Sky s;
    SetCeres(s);
    EXPECT_EQ(s.Text(kCeres), std::string(kCeresTitle) +
                                  "公転周期 4.60年\r\n"
                                  "軌道長半径 2.767500 au\r\n"
                                  "離心率 0.078500\r\n");
}

TEST(OrbitLines, EccentricityForms) {
    const struct {
        const char16_t* reply;
        const char* line;
    } cases[] = {
        // A parabola is exactly 1, however it is written.
        {u"1", "離心率 1.0\r\n"},
        {u"1.0", "離心率 1.0\r\n"},
        {u"1.000000", "離心率 1.0\r\n"},
        // Just short of it keeps the six-decimal form, though it rounds to 1.
        {u"0.9999999", "離心率 1.000000\r\n"},
        {u"1.0000001", "離心率 1.000000\r\n"},
        {u"0.0785", "離心率 0.078500\r\n"},
        {u"*", "離心率 -.-\r\n"},
        {u"", "離心率 0.000000\r\n"},  // an absent value reads as 0
    };
    for (const auto& c : cases) {
        Sky s;
        SetCeres(s);
        s.Reply(kCeresQ + u".Eccentricity", c.reply);
        EXPECT_EQ(s.Text(kCeres), std::string(kCeresTitle) +
                                      "公転周期 4.60年\r\n"
                                      "軌道長半径 2.767500 au\r\n" +
                                      c.line)
            << U8(c.reply);
    }
}

TEST(OrbitLines, PeriodAndAxisFallbacks) {
    const struct {
        const char16_t* period;
        const char16_t* axis;
        const char* lines;
    } cases[] = {
        {u"*", u"*", "軌道長半径 -.------ au\r\n"},  // no period line at all
        {u"164.79", u"30.07", "公転周期 165年\r\n軌道長半径 30.070000 au\r\n"},
        {u"0.24085", u"0.387098", "公転周期 0.240年\r\n軌道長半径 0.387098 au\r\n"},
        {u"", u"", "公転周期 0.000年\r\n軌道長半径 0.000000 au\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        SetCeres(s);
        s.Reply(kCeresQ + u".RevolutionPeriod", c.period);
        s.Reply(kCeresQ + u".SemiMajorAxis", c.axis);
        EXPECT_EQ(s.Text(kCeres), std::string(kCeresTitle) + c.lines + "離心率 0.078500\r\n")
            << U8(c.period);
    }
}

TEST(OrbitLines, CometOrbitAndHourlyMotion) {
    Sky s;
    SetHalley(s);
    // 0.24 deg/day of RA is 0.01 deg/h = 2.4 s of time an hour; 0.12 deg/day
    // of Dec is 18"/h.  On the equator the hour's step (0.01, 0.005) deg
    // points at atan2(0.01, 0.005) = 63.43 deg from north and measures
    // sqrt(0.01^2 + 0.005^2) deg = 40.25".
    EXPECT_EQ(s.Text(kHalley), std::string(kHalleyTitle) +
                                   "公転周期 75.3年\r\n"
                                   "近日点通過時刻 1986年 2月9.45000日 TT\r\n"
                                   "離心率 0.967140\r\n"
                                   "近日点距離 0.587100 au\r\n"
                                   "移動量(赤経) 2.400 s/時間\r\n"
                                   "移動量(赤緯) 18.00 \"/時間\r\n"
                                   "移動方向 63.43 度\r\n"
                                   "移動量   40.25 \"/時間\r\n");
}

TEST(OrbitLines, CometFallbacksAndZeroMotion) {
    Sky s;
    SetHalley(s);
    s.Reply(kHalleyQ + u".TimeOfPerihelionPassage", u"*");
    s.Reply(kHalleyQ + u".PerihelionDistance", u"*");
    s.Reply(kHalleyQ + u".Eccentricity", u"1");
    for (const char16_t* suffix :
         {u".DailyMotion.RA", u".DailyMotion.Dec", u".position.EquatorialDateApp.RA",
          u".position.EquatorialDateApp.DEC"}) {
        s.engine.RemoveReply(CString(kHalleyQ + suffix));
    }
    EXPECT_EQ(s.Text(kHalley), std::string(kHalleyTitle) +
                                   "公転周期 75.3年\r\n"
                                   "近日点通過時刻 ----年--月--.-----日 TT\r\n"
                                   "離心率 1.0\r\n"
                                   "近日点距離 -.------ au\r\n"
                                   "移動量(赤経) 0.000 s/時間\r\n"
                                   "移動量(赤緯) 0.00 \"/時間\r\n"
                                   "移動方向 0.00 度\r\n"
                                   "移動量   0.00 \"/時間\r\n");
}

TEST(OrbitLines, MotionWestAndSouthAwayFromTheEquator) {
    Sky s;
    SetHalley(s);
    // RA 6h = 90 deg, Dec +60 deg; -0.48 deg/day of RA, -0.24 deg/day of Dec.
    s.Reply(kHalleyQ + u".DailyMotion.RA", u"-0.48");
    s.Reply(kHalleyQ + u".DailyMotion.Dec", u"-0.24");
    s.Reply(kHalleyQ + u".position.EquatorialDateApp.RA", u"6");
    s.Reply(kHalleyQ + u".position.EquatorialDateApp.DEC", u"60");
    const std::string text = s.Text(kHalley);
    EXPECT_NE(text.find("移動量(赤経) -4.800 s/時間\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("移動量(赤緯) -36.00 \"/時間\r\n"), std::string::npos) << text;
    // The hour's step goes from (90, 60) to (89.98, 59.99) deg: by the
    // spherical formulas (Meeus 17.1 for the distance, 48.5 for the angle)
    // position angle 225.0130 deg and distance 50.9155"; flat-sky it would
    // be 225 deg and 0.01 * sqrt(2) deg = 50.91".
    EXPECT_NE(text.find("移動方向 225.01 度\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("移動量   50.92 \"/時間\r\n"), std::string::npos) << text;
}

TEST(OrbitLines, PerihelionPassageDateForms) {
    const struct {
        const char16_t* jd;
        const char* line;
    } cases[] = {
        {u"2446470.95", "近日点通過時刻 1986年 2月9.45000日 TT\r\n"},
        {u"2451545.0", "近日点通過時刻 2000年 1月1.50000日 TT\r\n"},
        {u"2460584.5", "近日点通過時刻 2024年10月1.00000日 TT\r\n"},
        // 2024 Jan 31 23:59:59.91 TT is 1 February to five decimals of a
        // day, not "1月32.00000日".
        {u"2460341.499999", "近日点通過時刻 2024年 2月1.00000日 TT\r\n"},
        {u"2460341.49999", "近日点通過時刻 2024年 1月31.99999日 TT\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        SetHalley(s);
        s.Reply(kHalleyQ + u".TimeOfPerihelionPassage", c.jd);
        const std::string text = s.Text(kHalley);
        EXPECT_NE(text.find(c.line), std::string::npos) << U8(c.jd) << "\n" << text;
    }
}

TEST(OrbitLines, SolarElongationSide) {
    const struct {
        const char16_t* elongation;
        const char16_t* object_lambda;
        const char16_t* sun_lambda;
        const char* line;
    } cases[] = {
        {u"10", u"355", u"345", "太陽離角 10.000ﾟE\r\n"},
        {u"10", u"5", u"355", "太陽離角 10.000ﾟE\r\n"},  // across 0/360
        {u"10", u"345", u"355", "太陽離角 10.000ﾟW\r\n"},
        {u"0.5", u"0", u"359.5", "太陽離角 0.500ﾟE\r\n"},
        {u"0.5", u"359.5", u"0", "太陽離角 0.500ﾟW\r\n"},
        {u"0", u"120", u"120", "太陽離角 0.000ﾟE\r\n"},
        {u"180", u"190", u"10", "太陽離角 180.000ﾟW\r\n"},  // opposition is west
        {u"179.9", u"189.9", u"10", "太陽離角 179.900ﾟE\r\n"},
        // Without both longitudes the side is unknown.
        {u"10", u"", u"355", "太陽離角 10.000ﾟ\r\n"},
        {u"10", u"5", u"", "太陽離角 10.000ﾟ\r\n"},
        {u"10", u"*", u"355", "太陽離角 10.000ﾟ\r\n"},
        // Without an elongation there is no line, whatever the longitudes.
        {u"*", u"5", u"355", ""},
        {u"", u"5", u"355", ""},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Reply(kCeresQ + u".JapaneseName", u"ケレス");
        s.Reply(kCeresQ + u".EnglishName", u"Ceres");
        s.Reply(kCeresQ + u".ID", u"1");
        s.status.DispDistR = 1;
        s.Reply(kCeresQ + u".GeocentricDistance", u"1.5");
        s.Reply(kCeresQ + u".TopocentricDistance", u"1.5");
        s.Reply(kCeresQ + u".HeliocentricDistance", u"2.5");
        s.Reply(kCeresQ + u".SolarElongation", c.elongation);
        s.Reply(kCeresQ + u".position.Ecliptical.Lambda", c.object_lambda);
        s.Reply(u"? solar.sun.position.Ecliptical.Lambda", c.sun_lambda);
        EXPECT_EQ(s.Text(kCeres), std::string(kCeresTitle) +
                                      "地心距離  1.50000 au\r\n"
                                      "測心距離  1.50000 au\r\n"
                                      "日心距離  2.50000 au\r\n" +
                                      c.line)
            << U8(c.elongation) << " " << U8(c.object_lambda) << " " << U8(c.sun_lambda);
    }
}
