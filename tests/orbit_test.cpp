// Orbit and apparent-motion lines of comets and minor planets, through the
// replay engine and the solar-system text.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

const char16_t kCeres[] = u"Solar.MinorPlanet.Ceres";
const char16_t kHalley[] = u"Solar.Comet.1P";

// Halley's comet with its orbit lines on.  RA 6h = 90 deg, Dec +60 deg;
// -0.48 deg/day of RA, -0.24 deg/day of Dec.
struct Halley : TextFixture {
    Halley() : TextFixture({&CCdStatus::SolarOrbitDetails}) {
        Object(kHalley, {{u".RevolutionPeriod", u"75.32"},
                         {u".TimeOfPerihelionPassage", u"2446470.95"},
                         {u".Eccentricity", u"0.96714"},
                         {u".PerihelionDistance", u"0.5871"},
                         {u".DailyMotion.RA", u"-0.48"},
                         {u".DailyMotion.Dec", u"-0.24"},
                         {u".position.EquatorialDateApp.RA", u"6"},
                         {u".position.EquatorialDateApp.DEC", u"60"}});
    }
};

}  // namespace

TEST(OrbitLines, MinorPlanetPeriodAxisEccentricity) {
    const struct {
        const char16_t *period, *axis, *eccentricity;
        const char* lines;
    } cases[] = {
        // A parabola is exactly 1, however it is written; just short of it
        // keeps the six-decimal form, though it rounds to 1.
        {u"164.79", u"30.07", u"1.000000",
         "公転周期 165年\r\n軌道長半径 30.070000 au\r\n離心率 1.0\r\n"},
        {u"0.24085", u"0.387098", u"0.9999999",
         "公転周期 0.240年\r\n軌道長半径 0.387098 au\r\n離心率 1.000000\r\n"},
        // No value: no period line at all, dashes for the others.
        {u"*", u"*", u"*", "軌道長半径 -.------ au\r\n離心率 -.-\r\n"},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::SolarOrbitDetails});
        s.Object(kCeres, {{u".JapaneseName", u"ケレス"},
                          {u".RevolutionPeriod", c.period},
                          {u".SemiMajorAxis", c.axis},
                          {u".Eccentricity", c.eccentricity}});
        EXPECT_EQ(s.Text(kCeres), std::string("ケレス  ()\r\n") + c.lines) << U8(c.eccentricity);
    }
}

TEST(OrbitLines, CometOrbitAndHourlyMotion) {
    // -0.48 deg/day of RA is -4.8 s of time an hour, -0.24 deg/day of Dec
    // -36"/h.  The hour's step goes from (90, 60) to (89.98, 59.99) deg: by
    // the spherical formulas (Meeus 17.1 for the distance, 48.5 for the
    // angle) position angle 225.0130 deg and distance 50.9155"; flat-sky it
    // would be 225 deg and 0.01 * sqrt(2) deg = 50.91".
    Halley s;
    EXPECT_EQ(
        s.Text(kHalley),
        "  ()\r\n公転周期 75.3年\r\n近日点通過時刻 1986年 2月9.45000日 TT\r\n離心率 0.967140\r\n"
        "近日点距離 0.587100 au\r\n移動量(赤経) -4.800 s/時間\r\n移動量(赤緯) -36.00 \"/時間\r\n"
        "移動方向 225.01 度\r\n移動量   50.92 \"/時間\r\n");
    s.Object(kHalley, {{u".TimeOfPerihelionPassage", u"*"}, {u".PerihelionDistance", u"*"}});
    const std::string text = s.Text(kHalley);
    EXPECT_NE(text.find("近日点通過時刻 ----年--月--.-----日 TT\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("近日点距離 -.------ au\r\n"), std::string::npos) << text;
}

TEST(OrbitLines, PerihelionPassageDateForms) {
    const struct {
        const char16_t* jd;
        const char* line;
    } cases[] = {
        {u"2460584.5", "近日点通過時刻 2024年10月1.00000日 TT\r\n"},  // a day boundary
        // 2024 Jan 31 23:59:59.91 TT is 1 February to five decimals of a
        // day, not "1月32.00000日".
        {u"2460341.499999", "近日点通過時刻 2024年 2月1.00000日 TT\r\n"},
        {u"2460341.49999", "近日点通過時刻 2024年 1月31.99999日 TT\r\n"},
    };
    for (const auto& c : cases) {
        Halley s;
        s.Object(kHalley, {{u".TimeOfPerihelionPassage", c.jd}});
        const std::string text = s.Text(kHalley);
        EXPECT_NE(text.find(c.line), std::string::npos) << U8(c.jd) << "\n" << text;
    }
}

TEST(OrbitLines, SolarElongationSide) {
    const struct {
        const char16_t *elongation, *object_lambda, *sun_lambda;
        const char* line;
    } cases[] = {
        {u"10", u"5", u"355", "太陽離角 10.000ﾟE\r\n"},     // across 0/360
        {u"0.5", u"359.5", u"0", "太陽離角 0.500ﾟW\r\n"},   // across 0/360
        {u"180", u"190", u"10", "太陽離角 180.000ﾟW\r\n"},  // opposition is west
        {u"179.9", u"189.9", u"10", "太陽離角 179.900ﾟE\r\n"},
        // Without both longitudes the side is unknown.
        {u"10", u"", u"355", "太陽離角 10.000ﾟ\r\n"},
        {u"10", u"5", u"*", "太陽離角 10.000ﾟ\r\n"},
        // Without an elongation there is no line, whatever the longitudes.
        {u"*", u"5", u"355", ""},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::DispDistR});  // the elongation follows the distances
        s.Object(kCeres, {{u".SolarElongation", c.elongation},
                          {u".position.Ecliptical.Lambda", c.object_lambda}});
        s.Reply(u"? solar.sun.position.Ecliptical.Lambda", c.sun_lambda);
        EXPECT_EQ(s.Text(kCeres),
                  std::string("  ()\r\n地心距離  0.00000 au\r\n測心距離  0.00000 au\r\n"
                              "日心距離  0.00000 au\r\n") +
                      c.line)
            << U8(c.elongation) << " " << U8(c.object_lambda) << " " << U8(c.sun_lambda);
    }
}
