// Solar-system texts, through the replay engine: titles of every kind, the
// per-kind lines and their settings, distance fallbacks, physical
// ephemerides, meteorites, spacecraft, places, eclipse contacts and the
// Moon's phases of the local day.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

using Sky = TextFixture;

std::u16string Decimal(double v, const char* format = "%.17g") {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return std::u16string(buf, buf + std::char_traits<char>::length(buf));
}

const char16_t kMars[] = u"Solar.Planet.Mars";
const char16_t kMoon[] = u"Solar.Planet.Earth.Satellite.Moon";
const char16_t kSun[] = u"Solar.Sun";
const char16_t kHalley[] = u"Solar.Comet.1P";

// Local day of the engine: the "? LST(Time.…)" replies and the zone.
void SetLocalDate(Sky& s, int y, int mo, int d, int h, const std::u16string& zone) {
    const std::pair<const char16_t*, int> values[] = {
        {u"? LST(Time.Year)", y}, {u"? LST(Time.Month)", mo}, {u"? LST(Time.Day)", d},
        {u"? LST(Time.Hour)", h}, {u"? LST(Time.Minute)", 0}, {u"? LST(Time.Second)", 0}};
    for (const auto& [command, value] : values) s.Reply(command, Decimal(value, "%.0f").c_str());
    s.Reply(u"? Time.Timezone", zone.c_str());
}

// The new moon of 2013 January 11 (Espenak: 19:44 UT), as the library
// computes it.
double NewMoonOf2013January() {
    vexacl::tagMOONPHASE phase;
    EXPECT_EQ(vexacl::GetMoonPhases(tagADATE{2013, 1, 12}, &phase, 1), 1);
    EXPECT_EQ(phase.phase, vexacl::kMoonNew);
    return phase.jd;
}

// A zone (hours) whose local midnight starting y-mo-d is exactly `jd` for
// GetJd.  GetJd falls as the zone grows, so bisection finds one.
double ZoneWithMidnightAt(int y, int mo, int d, double jd) {
    tagADATE midnight{y, mo, d};
    const double guess = (vexacl::GetJd(midnight) - jd) * 24.0;
    double lo = guess - 1e-6, hi = guess + 1e-6;
    for (int i = 0; i < 200; ++i) {
        midnight.zone = (lo + hi) / 2.0;
        const double got = vexacl::GetJd(midnight);
        if (got == jd) return midnight.zone;
        (got > jd ? lo : hi) = midnight.zone;
    }
    ADD_FAILURE() << "no zone puts midnight at the phase";
    return guess;
}

}  // namespace

TEST(SolarText, TitlesAndPositionOfTheSmallerKinds) {
    // Titles of the other kinds open the texts of the tests below.
    const char kPosition[] = "赤経 05h35m17.3s  赤緯 -05ﾟ23'28\" (J2000)\r\n";
    const struct {
        const char16_t* object;
        Replies replies;
        const char* title;
        const char* position;
    } cases[] = {
        {u"Solar.Planet.Jupiter.LagrangianPoint.L4",
         {{u".JapaneseName", u"L4"}},
         "木星ラグランジュ点 L4",
         kPosition},
        {u"Solar.Planet.Earth.Satellite.Moon.LagrangianPoint.L5",
         {{u".JapaneseName", u"L5"}},
         "月ラグランジュ点 L5",
         kPosition},
        // A dwarf planet's moon is a satellite too.
        {u"Solar.DwarfPlanet.Pluto.Satellite.Charon",
         {{u".JapaneseName", u"カロン"}, {u".EnglishName", u"Charon"}, {u".Number", u"P1"}},
         "カロン Charon (P1)",
         kPosition},
        // The umbra has no position block.
        {u"solar.PLANET.earth.umbra",
         {{u".JapaneseName", u"本影"}, {u".EnglishName", u"Umbra"}},
         "本影 (月の距離に応じた地球の影)",
         ""},
        // No kind, no text.
        {u"Solar.Asteroid.X", {{u".JapaneseName", u"何か"}, {u".EnglishName", u"X"}}, "", nullptr},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(c.object, c.replies);
        s.Object(c.object, {{u".position.RA", u"5.588139"}, {u".position.DEC", u"-5.391111"}});
        s.Reply(u"? solar.Planet.Jupiter.japaneseName", u"木星");
        s.status.DispEqt2000 = 1;
        EXPECT_EQ(s.Text(c.object, 1), c.title) << U8(c.object);
        EXPECT_EQ(s.Text(c.object), c.position ? std::string(c.title) + "\r\n" + c.position : "")
            << U8(c.object);
    }
}

TEST(SolarText, PlanetWithEveryLine) {
    Sky s;
    s.Object(kMars, {{u".JapaneseName", u"火星"},
                     {u".EnglishName", u"Mars"},
                     {u".Magnitude", u"1.23"},
                     {u".Dm", u"5.61"},
                     {u".PhysicalTable.K", u"0.947"},
                     {u".position.RA", u"5.588139"},
                     {u".position.DEC", u"-5.391111"},
                     {u".GeocentricDistance", u"1.669731"},
                     {u".TopocentricDistance", u"1.669702"},
                     {u".HelioCentricDistance", u"1.381234"},
                     {u".SolarElongation", u"102.5"},
                     {u".position.Ecliptical.Lambda", u"85"},
                     {u".RevolutionPeriod", u"1.8808"},
                     {u".SemiMajorAxis", u"1.523679"},
                     {u".Eccentricity", u"0.0934"},
                     {u".PhysicalTable.CM", u"123.4"},
                     {u".PhysicalTable.De", u"-12.2"},
                     {u".PhysicalTable.Ls", u"250.34"}});
    s.Reply(u"? solar.sun.position.Ecliptical.Lambda", u"342.5");
    s.status.DispMag = 1;
    s.status.DispEqt2000 = 1;
    s.status.DispDistR = 1;
    s.status.SolarOrbitDetails = 1;
    s.status.PlanetPhysicalTable = 1;
    EXPECT_EQ(s.Text(kMars),
              "火星 Mars (惑星)\r\n"
              "光度  1.2等  視直径 5.6\"  輝面比 0.95\r\n"
              "赤経 05h35m17.3s  赤緯 -05ﾟ23'28\" (J2000)\r\n"
              "地心距離  1.66973 au\r\n"
              "測心距離  1.66970 au\r\n"
              "日心距離  1.38123 au\r\n"
              "太陽離角 102.500ﾟE\r\n"
              "公転周期 1.88年\r\n"
              "軌道長半径 1.523679 au\r\n"
              "離心率 0.093400\r\n"
              "中央経度 123ﾟ\r\n"
              "中央緯度 -12ﾟ\r\n"
              "惑心太陽黄経 250.3ﾟ\r\n");
}

TEST(SolarText, EarthHasNoMagnitudePositionOrElongation) {
    Sky s;
    s.Object(u"Solar.Planet.Earth", {{u".JapaneseName", u"地球"},
                                     {u".EnglishName", u"Earth"},
                                     {u".Magnitude", u"-3.9"},
                                     {u".position.RA", u"5.5"},
                                     {u".GeocentricDistance", u"0"},
                                     {u".HelioCentricDistance", u"0.983292"},
                                     {u".SolarElongation", u"0"},
                                     {u".RevolutionPeriod", u"1.0000174"},
                                     {u".SemiMajorAxis", u"1.000001"},
                                     {u".Eccentricity", u"0.0167086"}});
    s.status.DispMag = 1;
    s.status.DispEqt2000 = 1;
    s.status.DispDistR = 1;
    s.status.SolarOrbitDetails = 1;
    s.status.PlanetPhysicalTable = 1;
    EXPECT_EQ(s.Text(u"Solar.Planet.Earth"),
              "地球 Earth (惑星)\r\n"
              "日心距離  0.98329 au\r\n"
              "公転周期 1.00年\r\n"
              "軌道長半径 1.000001 au\r\n"
              "離心率 0.016709\r\n");
}

TEST(SolarText, PhysicalEphemerisByPlanet) {
    const struct {
        const char16_t* object;
        const char16_t* de;
        const char* lines;
    } cases[] = {
        {u"Solar.Planet.jupiter", u"3.1", "中央経度  45ﾟ(I) 312ﾟ(II)\r\n中央緯度   3ﾟ\r\n"},
        {u"Solar.Planet.Saturn", u"26.9", "中央経度 200ﾟ(III)\r\n中央緯度  27ﾟ\r\n"},
        {u"Solar.Planet.Venus", u"1", ""},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.PlanetPhysicalTable = 1;
        s.Object(c.object, {{u".JapaneseName", u"惑星"},
                            {u".EnglishName", u"P"},
                            {u".PhysicalTable.CM1", u"45.2"},
                            {u".PhysicalTable.CM2", u"311.6"},
                            {u".PhysicalTable.CM3", u"199.6"},
                            {u".PhysicalTable.De", c.de}});
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
        const char16_t *first, *second, *greatest, *third;
        const char16_t* magnitude;
        const char* block;
    } cases[] = {
        {u"true", c1, c2, mx, c3, u"1.0566",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n食の最大 12:37:30  継続時間 05m00s\r\n"
         "第3接触  12:39:59\r\n第4接触  00:00:00\r\n食分 1.06\r\n"},
        // Contacts only while the Besselian elements apply; a negative
        // magnitude (no eclipse) has no line.
        {u"FALSE", c1, c2, mx, c3, u"-0.5", ""},
        {u"TRUE", u"*", c2, mx, c3, u"0", "食分 0.00\r\n"},
        // A partial eclipse: no second and third contact, no duration.
        {u"TRUE", c1, u"*", mx, u"*", u"-0.5",
         "第1接触  12:00:00\r\n食の最大 12:37:30\r\n第4接触  00:00:00\r\n"},
        // One central contact missing: no duration either.
        {u"TRUE", c1, c2, mx, u"*", u"-0.5",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n食の最大 12:37:30\r\n第4接触  00:00:00\r\n"},
        {u"TRUE", c1, c2, u"*", c3, u"-0.5",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n第3接触  12:39:59\r\n第4接触  00:00:00\r\n"},
        // A contact that is no Julian Day gives no duration.
        {u"TRUE", c1, c2, mx, u"1e999", u"-0.5",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n食の最大 12:37:30\r\n第3接触  00:00:00\r\n"
         "第4接触  00:00:00\r\n"},
        // A central phase of 6m59.4s rounds down to 06m59s.
        {u"TRUE", c1, c2, mx, u"2460408.6541550928", u"-0.5",
         "第1接触  12:00:00\r\n第2接触  12:35:00\r\n食の最大 12:37:30  継続時間 06m59s\r\n"
         "第3接触  12:41:59\r\n第4接触  00:00:00\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
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
        s.Reply(u"? Solar.Earth.SolarEclipse.ContactTime.1st", c.first);
        s.Reply(u"? Solar.Earth.SolarEclipse.ContactTime.2nd", c.second);
        s.Reply(u"? Solar.Earth.SolarEclipse.ContactTime.Max", c.greatest);
        s.Reply(u"? Solar.Earth.SolarEclipse.ContactTime.3rd", c.third);
        s.Reply(u"? Solar.Earth.SolarEclipse.ContactTime.4th", u"2460409.1249965276");
        s.status.DispMag = 1;
        s.status.DispDistR = 1;
        s.status.PlanetPhysicalTable = 1;
        EXPECT_EQ(s.Text(kSun), std::string("太陽 Sun\r\n光度 -26.7等 視直径 32.0'\r\n"
                                            "地心距離  1.00160 au\r\n測心距離  1.00162 au\r\n"
                                            "中央経度 202ﾟ\r\n中央緯度  -6ﾟ\r\n") +
                                    c.block)
            << U8(c.apply) << " " << U8(c.first) << " " << U8(c.second) << " " << U8(c.third);
    }
}

TEST(SolarText, MoonWithItsPhaseOfTheDay) {
    Sky s;
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
    // 2013 Jan 12 in JST; the new moon of 19:44 UT on the 11th (Espenak)
    // is 04:44 JST on the 12th.
    SetLocalDate(s, 2013, 1, 12, 12, u"9");
    s.status.DispMag = 1;
    s.status.DispDistR = 1;
    s.status.PlanetPhysicalTable = 1;
    EXPECT_EQ(s.Text(kMoon),
              "月 Moon\r\n"
              "月齢 29.1  視直径 29.4'  輝面比 0.00\r\n"
              "地心距離  40.40万 km\r\n"
              "測心距離  39.95万 km\r\n"
              "中央経度  -3.2ﾟ  中央緯度   1.6ﾟ\r\n"
              "新月 04:44\r\n");
}

TEST(SolarText, MoonPhaseAtTheEdgesOfTheLocalDay) {
    const double jd = NewMoonOf2013January();
    const tagADATE ut = vexacl::JdToDate2(jd);
    const double ut_seconds = ut.hour * 3600.0 + ut.minute * 60.0 + ut.second;
    // Zones putting the phase at 23:59:40 and 23:59:29.9 local time on the
    // 11th (the UT date), and exactly at the midnight that starts the 12th.
    const double zone_2359_40 = (86380.0 - ut_seconds) / 3600.0;
    const double zone_2359_29 = (86369.9 - ut_seconds) / 3600.0;
    const double zone_midnight = ZoneWithMidnightAt(2013, 1, 12, jd);
    const struct {
        int day;
        double zone;
        const char* lines;
    } cases[] = {
        {11, zone_2359_40, "新月 24:00\r\n"},  // the hour is not carried
        {12, zone_2359_40, ""},
        {11, zone_2359_29, "新月 23:59\r\n"},
        {12, zone_midnight, "新月 00:00\r\n"},  // a day starts at its midnight
        {11, zone_midnight, ""},                // and the one before ends there
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(
            kMoon,
            {{u".JapaneseName", u"月"}, {u".EnglishName", u"Moon"}, {u".EclipsMagnitude", u"-1"}});
        SetLocalDate(s, 2013, 1, c.day, 12, Decimal(c.zone));
        s.status.PlanetPhysicalTable = 1;
        EXPECT_EQ(s.Text(kMoon),
                  std::string("月 Moon\r\n中央経度   0.0ﾟ  中央緯度   0.0ﾟ\r\n") + c.lines)
            << c.day << " " << U8(CString(Decimal(c.zone)));
    }
}

TEST(SolarText, OtherSatellite) {
    Sky s;
    s.Object(u"Solar.Planet.Jupiter.Satellite.Io", {{u".JapaneseName", u"イオ"},
                                                    {u".EnglishName", u"Io"},
                                                    {u".Number", u"J1"},
                                                    {u".Magnitude", u"5.02"},
                                                    {u".GeocentricDistance", u"4.2"},
                                                    {u".TopocentricDistance", u"4.19999"},
                                                    {u".PlanetocentricDistance", u"421800"},
                                                    {u".HeliocentricDistance", u"5.1"}});
    s.status.DispDistR = 1;
    EXPECT_EQ(s.Text(u"Solar.Planet.Jupiter.Satellite.Io"),
              "イオ Io (J1)\r\n"
              "地心距離  4.20000 au\r\n"
              "測心距離  4.19999 au\r\n"
              "日心距離  5.10000 au\r\n"
              "惑心距離  42.18万 km\r\n");
    s.status.DispMag = 1;
    s.status.DispDistR = 0;
    s.status.Precision = 1;
    EXPECT_EQ(s.Text(u"Solar.Planet.Jupiter.Satellite.Io"), "イオ Io (J1)\r\n光度  5.0等\r\n");
}

TEST(SolarText, SmallBodyMagnitudeAndDistanceFallbacks) {
    const struct {
        int precision;
        const char16_t* magnitude;
        const char16_t* geo;
        const char16_t* helio;
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
        Sky s;
        s.Object(kHalley, {{u".JapaneseName", u"ハレー彗星"},
                           {u".EnglishName", u"Halley"},
                           {u".ID", u"1P"},
                           {u".Magnitude", c.magnitude},
                           {u".GeocentricDistance", c.geo},
                           {u".TopocentricDistance", u"35.1"},
                           {u".HeliocentricDistance", c.helio},
                           {u".SolarElongation", u"70"}});
        s.status.DispMag = 1;
        s.status.DispDistR = 1;
        s.status.Precision = c.precision;
        EXPECT_EQ(s.Text(kHalley),
                  std::string("ハレー彗星 Halley (1P)\r\n") + c.lines + "太陽離角 70.000ﾟ\r\n")
            << c.precision << " " << U8(c.geo);
    }
}

TEST(SolarText, MeteoriteBeforeAndAfterItsFall) {
    const char kFall[] = "落下 2020年6月1日 0時30分\r\n";
    const char kInTheSky[] =
        "赤経 05h35m17.3s  赤緯 -05ﾟ23'28\" (J2000)\r\n地心距離  0.01000 au\r\n"
        "測心距離  0.01000 au\r\n日心距離  1.01000 au\r\n太陽離角 120.000ﾟ\r\n";
    const struct {
        const char16_t* fall;
        const char16_t* now;
        const char* fall_line;
        const char* rest;
    } cases[] = {
        // Still in space: position, distances and elongation follow.
        // 2020 May 31 15:30 UT is 1 June 0:30 JST.
        {u"2459001.1458333335", u"2459000.5", kFall, kInTheSky},
        // From the instant of the fall on, only the head.
        {u"2459001.1458333335", u"2459001.1458333335", kFall, ""},
        // Without a recorded fall it stays in the sky.
        {u"*", u"2459001.5", "落下 ----年--月--日 --時--分\r\n", kInTheSky},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(u"Solar.Meteorite.X1", {{u".JapaneseName", u"隕石"},
                                         {u".EnglishName", u"Meteorite"},
                                         {u".ID", u"M1"},
                                         {u".Memo", u"2020年の火球"},
                                         {u".TimeOfFall", c.fall},
                                         {u".position.RA", u"5.588139"},
                                         {u".position.DEC", u"-5.391111"},
                                         {u".GeocentricDistance", u"0.01"},
                                         {u".TopocentricDistance", u"0.01"},
                                         {u".HeliocentricDistance", u"1.01"},
                                         {u".SolarElongation", u"120"}});
        s.Reply(u"? time.timezone", u"9");
        s.Reply(u"? time.jd", c.now);
        s.status.DispEqt2000 = 1;
        s.status.DispDistR = 1;
        EXPECT_EQ(s.Text(u"Solar.Meteorite.X1"),
                  std::string("隕石 Meteorite (M1)\r\n2020年の火球\r\n") + c.fall_line + c.rest)
            << U8(c.fall) << " " << U8(c.now);
    }
}

TEST(SolarText, SpacecraftDataSpan) {
    const struct {
        const char16_t* start;
        const char16_t* end;
        const char* lines;
    } cases[] = {
        // 2020 May 1 23:59:59.6 UT is 00:00:00 of the 2nd; 2021 Dec 31
        // 12:34:56.4 stays in its second.
        {u"2458971.4999953704", u"2459580.0242638891",
         "データ開始 2020/05/02 00:00:00 (UT)\r\nデータ終了 2021/12/31 12:34:56 (UT)\r\n"},
        {u"*", u"*", ""},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(u"Solar.Spacecraft.Hayabusa2", {{u".JapaneseName", u"はやぶさ2"},
                                                 {u".EnglishName", u"Hayabusa2"},
                                                 {u".GeocentricDistance", u"*"},
                                                 {u".TopocentricDistance", u"0.12345"},
                                                 {u".HelioCentricDistance", u"1.1"},
                                                 {u".data.start", c.start},
                                                 {u".data.end", c.end}});
        s.status.DispDistR = 1;
        s.status.SolarOrbitDetails = 1;
        s.status.DispRiseSet = 1;  // a spacecraft never gets rise and set times
        EXPECT_EQ(s.Text(u"Solar.Spacecraft.Hayabusa2"),
                  std::string("はやぶさ2 Hayabusa2\r\n地心距離 --.----- au\r\n"
                              "測心距離  0.12345 au\r\n日心距離  1.10000 au\r\n") +
                      c.lines)
            << U8(c.start);
    }
}

TEST(SolarText, PlaceLatitudeSignAndLongitude) {
    const struct {
        const char16_t* object;
        const char16_t* longitude;
        const char16_t* latitude;
        const char* line;
    } cases[] = {
        // A place on the Moon is a place, not the Moon.
        {u"Solar.Planet.Earth.Satellite.Moon.Place.Tycho", u"-11.36", u"-43.31",
         "経度 348.64 緯度 -43.31'\r\n"},
        {u"Solar.Planet.Mars.Place.P", u"370", u"0.004", "経度  10.00 緯度 + 0.00'\r\n"},
        // Only a latitude above 0 is north: the equator itself prints "-".
        {u"Solar.Planet.Mars.Place.P", u"0", u"0", "経度   0.00 緯度 - 0.00'\r\n"},
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(c.object, {{u".JapaneseName", u"ティコ"},
                            {u".EnglishName", u"Tycho"},
                            {u".Explanation", u"クレーター"},
                            {u".Longitude", c.longitude},
                            {u".Latitude", c.latitude}});
        s.status.DispEqt2000 = 1;  // a place has no position block
        EXPECT_EQ(s.Text(c.object, 1), "ティコ Tycho");
        EXPECT_EQ(s.Text(c.object), std::string("ティコ Tycho\r\nクレーター\r\n") + c.line)
            << U8(c.object) << " " << U8(c.latitude);
    }
}
