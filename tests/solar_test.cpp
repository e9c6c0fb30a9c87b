// Solar-system texts through the replay engine: the kinds and their
// headings, the rules of single kinds (the Earth, physical ephemerides,
// distance fallbacks, meteorites, spacecraft, places), eclipse contacts and
// the Moon's phases of the local day.
#include <gtest/gtest.h>

#include <string>

#include "host/vexacl.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

const char16_t kSun[] = u"Solar.Sun";
const char16_t kMoon[] = u"Solar.Planet.Earth.Satellite.Moon";
const char kPosition[] = "赤経 05h35m17.3s  赤緯 -05ﾟ23'28\" (J2000)\r\n";

std::u16string Decimal(double v) {
    CString text;
    text.Format(u"%.17g", v);
    return std::u16string(text.view());
}

}  // namespace

TEST(SolarText, KindsAndHeadings) {
    const struct {
        const char16_t* object;
        Replies replies;
        const char* title;
        const char* lines;  // under the heading; null: no text at all
    } cases[] = {
        {u"Solar.Planet.Jupiter.LagrangianPoint.L4", {}, "木星ラグランジュ点 L", kPosition},
        {u"Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L5",
         {},
         "月ラグランジュ点 L",
         kPosition},
        // A dwarf planet's moon is a satellite too; its distances follow
        // the position, the planetocentric one in units of 10 000 km.
        {u"Solar.DwarfPlanet.Pluto.Satellite.Charon",
         {{u".Number", u"P1"},
          {u".GeocentricDistance", u"4.2"},
          {u".PlanetocentricDistance", u"19591"},
          {u".HeliocentricDistance", u"5.1"}},
         "L E (P1)",
         "赤経 05h35m17.3s  赤緯 -05ﾟ23'28\" (J2000)\r\n地心距離  4.20000 au\r\n"
         "測心距離  0.00000 au\r\n日心距離  5.10000 au\r\n惑心距離   1.96万 km\r\n"},
        {u"Solar.DwarfPlanet.Ceres",
         {},
         "L E (準惑星)",
         "赤経 05h35m17.3s  赤緯 -05ﾟ23'28\" (J2000)\r\n地心距離  0.00000 au\r\n"
         "測心距離  0.00000 au\r\n日心距離  0.00000 au\r\n"},
        // The umbra has no position block.
        {u"solar.PLANET.earth.umbra", {}, "L (月の距離に応じた地球の影)", ""},
        // A place on the Moon is a place, not the Moon, and has no position.
        {u"Solar.Planet.Earth.Satellite.Moon.Place.Tycho",
         {{u".Explanation", u"クレーター"}, {u".Longitude", u"-11.36"}, {u".Latitude", u"-43.31"}},
         "L E",
         "クレーター\r\n経度 348.64 緯度 -43.31'\r\n"},
        // Only a latitude above 0 is north: the equator itself prints "-".
        {u"Solar.Planet.Mars.Place.P",
         {{u".Longitude", u"370"}, {u".Latitude", u"0.004"}},
         "L E",
         "経度  10.00 緯度 + 0.00'\r\n"},
        {u"Solar.Planet.Mars.Place.P", {}, "L E", "経度   0.00 緯度 - 0.00'\r\n"},
        {u"Solar.Asteroid.X", {}, "", nullptr},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::DispEqt2000, &CCdStatus::DispDistR});
        s.Object(c.object, {{u".JapaneseName", u"L"},
                            {u".EnglishName", u"E"},
                            {u".position.RA", u"5.588139"},
                            {u".position.DEC", u"-5.391111"}});
        s.Object(c.object, c.replies);
        s.Reply(u"? solar.Planet.Jupiter.japaneseName", u"木星");
        EXPECT_EQ(s.Text(c.object, 1), c.title) << U8(c.object);
        EXPECT_EQ(s.Text(c.object), c.lines ? c.title + std::string("\r\n") + c.lines : "")
            << U8(c.object);
    }
}

TEST(SolarText, EarthHasNoMagnitudePositionOrElongation) {
    TextFixture s({&CCdStatus::DispMag, &CCdStatus::DispEqt2000, &CCdStatus::DispDistR});
    s.Object(u"Solar.Planet.Earth", {{u".JapaneseName", u"地球"},
                                     {u".EnglishName", u"Earth"},
                                     {u".HelioCentricDistance", u"0.983292"},
                                     {u".SolarElongation", u"0"}});
    EXPECT_EQ(s.Text(u"Solar.Planet.Earth"), "地球 Earth (惑星)\r\n日心距離  0.98329 au\r\n");
}

TEST(SolarText, PhysicalEphemerisByPlanet) {
    const struct {
        const char16_t* object;
        const char* lines;
    } cases[] = {
        {u"Solar.Planet.Mars", "中央経度 123ﾟ\r\n中央緯度  -3ﾟ\r\n惑心太陽黄経 250.3ﾟ\r\n"},
        {u"Solar.Planet.jupiter", "中央経度  45ﾟ(I) 312ﾟ(II)\r\n中央緯度  -3ﾟ\r\n"},
        {u"Solar.Planet.Saturn", "中央経度 200ﾟ(III)\r\n中央緯度  -3ﾟ\r\n"},
        {u"Solar.Planet.Venus", ""},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::PlanetPhysicalTable});
        s.Object(c.object, {{u".JapaneseName", u"惑星"},
                            {u".EnglishName", u"P"},
                            {u".PhysicalTable.CM", u"123.4"},
                            {u".PhysicalTable.CM1", u"45.2"},
                            {u".PhysicalTable.CM2", u"311.6"},
                            {u".PhysicalTable.CM3", u"199.6"},
                            {u".PhysicalTable.De", u"-3.1"},
                            {u".PhysicalTable.Ls", u"250.34"}});
        EXPECT_EQ(s.Text(c.object), std::string("惑星 P (惑星)\r\n") + c.lines) << U8(c.object);
    }
}

TEST(SolarText, SunWithEclipseContacts) {
    // 2024 Apr 8 (UT): 03:00:00, 03:34:59.6, 03:37:29.6, 03:39:59.3 and
    // 14:59:59.7, i.e. 12:00:00, 12:34:59.6, 12:37:29.6, 12:39:59.3 and
    // 23:59:59.7 JST; second to third contact 4.995 minutes.
    const char16_t *c1 = u"2460408.6250000000", *c2 = u"2460408.6493009259",
                   *mx = u"2460408.6510370369", *c3 = u"2460408.6527696759";
    const struct {
        const char16_t* apply;
        const char16_t *first, *second, *third;
        const char16_t* magnitude;
        const char* block;
    } cases[] = {
        {u"true", c1, c2, c3, u"1.0566",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n食の最大 12:37:30  継続時間 05m00s\r\n"
         "第3接触  12:39:59\r\n第4接触  00:00:00\r\n食分 1.06\r\n"},
        // Contacts only while the Besselian elements apply; a negative
        // magnitude (no eclipse) has no line.
        {u"FALSE", c1, c2, c3, u"-0.5", ""},
        {u"TRUE", u"*", c2, c3, u"0", "食分 0.00\r\n"},
        // A partial eclipse: no second and third contact, no duration.
        {u"TRUE", c1, u"*", u"*", u"-0.5",
         "第1接触  12:00:00\r\n食の最大 12:37:30\r\n第4接触  00:00:00\r\n"},
        // A central phase of 6m59.4s rounds down to 06m59s.
        {u"TRUE", c1, c2, u"2460408.6541550928", u"-0.5",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n食の最大 12:37:30  継続時間 06m59s\r\n"
         "第3接触  12:41:59\r\n第4接触  00:00:00\r\n"},
        // A contact that is no Julian Day gives no duration.
        {u"TRUE", c1, c2, u"1e999", u"-0.5",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n食の最大 12:37:30\r\n第3接触  00:00:00\r\n"
         "第4接触  00:00:00\r\n"},
    };
    for (const auto& c : cases) {
        TextFixture s(
            {&CCdStatus::DispMag, &CCdStatus::DispDistR, &CCdStatus::PlanetPhysicalTable});
        s.Object(kSun, {{u".JapaneseName", u"太陽"},
                        {u".EnglishName", u"Sun"},
                        {u".Dm", u"0.5331"},
                        {u".GeocentricDistance", u"1.0016"},
                        {u".TopocentricDistance", u"1.00162"},
                        {u".PhysicalTable.CM", u"201.7"},
                        {u".PhysicalTable.De", u"-6.4"},
                        {u".EclipsMagnitude", c.magnitude}});
        s.Reply(u"? solar.earth.besselelement.apply", c.apply);
        s.Reply(u"? Time.Timezone", u"9");
        s.Object(u"Solar.Earth.SolarEclipse.ContactTime", {{u".1st", c.first},
                                                           {u".2nd", c.second},
                                                           {u".Max", mx},
                                                           {u".3rd", c.third},
                                                           {u".4th", u"2460409.1249965276"}});
        EXPECT_EQ(s.Text(kSun), std::string("太陽 Sun\r\n光度 -26.7等 視直径 32.0'\r\n"
                                            "地心距離  1.00160 au\r\n測心距離  1.00162 au\r\n"
                                            "中央経度 202ﾟ\r\n中央緯度  -6ﾟ\r\n") +
                                    c.block)
            << U8(c.first) << " " << U8(c.third);
    }
}

TEST(SolarText, MoonWithItsPhaseOfTheDay) {
    TextFixture s({&CCdStatus::DispMag, &CCdStatus::DispDistR, &CCdStatus::PlanetPhysicalTable});
    s.Object(kMoon, {{u".JapaneseName", u"月"},
                     {u".EnglishName", u"Moon"},
                     {u".Age", u"29.13"},
                     {u".Dm", u"0.4897"},
                     {u".PhysicalTable.K", u"0.001"},
                     {u".GeocentricDistance", u"403987"},
                     {u".TopocentricDistance", u"399512"},
                     {u".PhysicalTable.CM", u"-3.24"},
                     {u".PhysicalTable.De", u"1.55"},
                     {u".EclipsMagnitude", u"-1"}});
    // The new moon of 19:44 UT on 2013 Jan 11 (Espenak) is 04:44 JST on the 12th.
    s.SetClock(2013, 1, 12, 12, u"9");
    EXPECT_EQ(s.Text(kMoon),
              "月 Moon\r\n月齢 29.1  視直径 29.4'  輝面比 0.00\r\n地心距離  40.40万 km\r\n"
              "測心距離  39.95万 km\r\n中央経度  -3.2ﾟ  中央緯度   1.6ﾟ\r\n新月 04:44\r\n");
}

TEST(SolarText, MoonPhaseAtTheEdgesOfTheLocalDay) {
    vexacl::tagMOONPHASE phase;
    ASSERT_EQ(vexacl::GetMoonPhases(tagADATE{2013, 1, 12}, &phase, 1), 1);  // 2013 Jan 11
    const tagADATE ut = vexacl::JdToDate2(phase.jd);
    const double ut_seconds = ut.hour * 3600.0 + ut.minute * 60.0 + ut.second;
    // A zone whose local midnight starting the 12th is the phase exactly:
    // GetJd falls as the zone grows, so bisection finds one.
    tagADATE midnight{2013, 1, 12};
    double lo = 4.0, hi = 5.0;
    while (vexacl::GetJd(midnight) != phase.jd && hi - lo > 1e-15) {
        midnight.zone = (lo + hi) / 2.0;
        (vexacl::GetJd(midnight) > phase.jd ? lo : hi) = midnight.zone;
    }
    ASSERT_EQ(vexacl::GetJd(midnight), phase.jd);
    const struct {
        int day;
        double zone;
        const char* lines;
    } cases[] = {
        {11, (86380.0 - ut_seconds) / 3600.0, "新月 24:00\r\n"},  // 23:59:40, hour not carried
        {12, (86380.0 - ut_seconds) / 3600.0, ""},
        {11, (86369.9 - ut_seconds) / 3600.0, "新月 23:59\r\n"},  // 23:59:29.9
        {12, midnight.zone, "新月 00:00\r\n"},                    // a day starts at its midnight
        {11, midnight.zone, ""},                                  // and the one before ends there
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::PlanetPhysicalTable});
        s.Object(
            kMoon,
            {{u".JapaneseName", u"月"}, {u".EnglishName", u"Moon"}, {u".EclipsMagnitude", u"-1"}});
        s.SetClock(2013, 1, c.day, 12, Decimal(c.zone));
        EXPECT_EQ(s.Text(kMoon),
                  std::string("月 Moon\r\n中央経度   0.0ﾟ  中央緯度   0.0ﾟ\r\n") + c.lines)
            << c.day << " " << c.zone;
    }
}

TEST(SolarText, SmallBodyMagnitudeAndDistanceFallbacks) {
    const struct {
        int precision;
        const char16_t *magnitude, *geo, *helio;
        const char* lines;
    } cases[] = {
        {1, u"*", u"*", u"35.08",
         "光度 --.-等\r\n地心距離 --.--- au\r\n測心距離 35.100 au\r\n日心距離 35.080 au\r\n"},
        {2, u"24.34", u"35.1", u"*",
         "光度 24.3等\r\n地心距離 35.10000 au\r\n測心距離 35.10000 au\r\n日心距離 --.----- au\r\n"},
        // Absent values read as 0.
        {0, u"", u"", u"35.08",
         "光度  0.0等\r\n地心距離  0.00000 au\r\n測心距離 35.10000 au\r\n日心距離 35.08000 au\r\n"},
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::DispMag, &CCdStatus::DispDistR});
        s.status.Precision = c.precision;
        s.Object(u"Solar.Comet.1P", {{u".JapaneseName", u"ハレー彗星"},
                                     {u".EnglishName", u"Halley"},
                                     {u".ID", u"1P"},
                                     {u".Magnitude", c.magnitude},
                                     {u".GeocentricDistance", c.geo},
                                     {u".TopocentricDistance", u"35.1"},
                                     {u".HeliocentricDistance", c.helio}});
        EXPECT_EQ(s.Text(u"Solar.Comet.1P"), std::string("ハレー彗星 Halley (1P)\r\n") + c.lines)
            << c.precision;
    }
}

TEST(SolarText, MeteoriteIsInTheSkyUntilItsFall) {
    const char kFall[] = "落下 2020年6月1日 0時30分\r\n";  // 2020 May 31 15:30 UT
    const char kInTheSky[] =
        "地心距離  0.01000 au\r\n測心距離  0.00000 au\r\n日心距離  0.00000 au\r\n";
    const struct {
        const char16_t* fall;
        const char16_t* now;
        const char* lines;
    } cases[] = {
        {u"2459001.1458333335", u"2459000.5", kInTheSky},
        {u"2459001.1458333335", u"2459001.1458333335", ""},  // from its fall on: only the head
        {u"*", u"2459001.5", kInTheSky},                     // no recorded fall
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::DispDistR});
        s.Object(u"Solar.Meteorite.X1", {{u".JapaneseName", u"隕石"},
                                         {u".ID", u"M1"},
                                         {u".Memo", u"2020年の火球"},
                                         {u".TimeOfFall", c.fall},
                                         {u".GeocentricDistance", u"0.01"}});
        s.Reply(u"? time.timezone", u"9");
        s.Reply(u"? time.jd", c.now);
        EXPECT_EQ(s.Text(u"Solar.Meteorite.X1"),
                  std::string("隕石  (M1)\r\n2020年の火球\r\n") +
                      (c.fall[0] == u'*' ? "落下 ----年--月--日 --時--分\r\n" : kFall) + c.lines)
            << U8(c.fall) << " " << U8(c.now);
    }
}

TEST(SolarText, SpacecraftDataSpanWithoutRiseAndSet) {
    // 2020 May 1 23:59:59.6 UT is 00:00:00 of the 2nd; 2021 Dec 31
    // 12:34:56.4 stays in its second.
    TextFixture s({&CCdStatus::SolarOrbitDetails, &CCdStatus::DispRiseSet});
    s.Object(u"Solar.Spacecraft.Hayabusa2", {{u".JapaneseName", u"はやぶさ2"},
                                             {u".EnglishName", u"Hayabusa2"},
                                             {u".data.start", u"2458971.4999953704"},
                                             {u".data.end", u"2459580.0242638891"}});
    EXPECT_EQ(s.Text(u"Solar.Spacecraft.Hayabusa2"),
              "はやぶさ2 Hayabusa2\r\nデータ開始 2020/05/02 00:00:00 (UT)\r\n"
              "データ終了 2021/12/31 12:34:56 (UT)\r\n");
    s.Object(u"Solar.Spacecraft.Hayabusa2", {{u".data.start", u"*"}, {u".data.end", u"*"}});
    EXPECT_EQ(s.Text(u"Solar.Spacecraft.Hayabusa2"), "はやぶさ2 Hayabusa2\r\n");
}
