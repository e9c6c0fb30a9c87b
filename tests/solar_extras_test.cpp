// Places on the Earth, the Moon and Mars, spacecraft and meteorites in the
// sky engine (sky/solar_extras.h), from their data to their texts.
#include "sky/solar_extras.h"

#include <gtest/gtest.h>

#include <cmath>

#include "clickdata/click_data.h"
#include "engine/stkstr.h"
#include "settings/cdstatus.h"
#include "sky/sky_engine.h"
#include "tests/test_support.h"

namespace {

double AskNum(CSkyEngine& sky, const char16_t* query) {
    return CStkStr(sky.Doit(query)).atof();
}

CSkyEngine SkyAt(double jd_ut) {
    CSkyEngine sky(SharedSkyCatalog());
    sky.SetJd(jd_ut);
    return sky;
}

// Voyager 1's heliocentric distance as NASA published it (Voyager mission
// status: 115.251 au on 2010-11-12, 133.15 au on 2015-11-19; 0h UT taken),
// against two-body motion from the shipped elements: within 0.15 au.
TEST(Spacecraft, VoyagerDistancesMatchThePublishedOnes) {
    const std::pair<double, double> published[] = {{2455512.5, 115.251}, {2457345.5, 133.15}};
    for (const auto& [jd, au] : published) {
        CSkyEngine sky = SkyAt(jd);
        EXPECT_NEAR(AskNum(sky, u"? Solar.Spacecraft.Voyager1.HelioCentricDistance"), au, 0.15);
        // The Earth is within 1 au of the Sun: the two distances differ by less.
        EXPECT_NEAR(AskNum(sky, u"? Solar.Spacecraft.Voyager1.GeocentricDistance"), au, 1.15);
    }
}

TEST(Spacecraft, OutsideTheDataSpanThereIsNoPlace) {
    CSkyEngine before = SkyAt(2444000.5);  // 1979, before Voyager 1 passed Saturn
    EXPECT_EQ(U8(before.Doit(u"? Solar.Spacecraft.Voyager1.GeocentricDistance")), "*");
    EXPECT_EQ(U8(before.Doit(u"? Solar.Spacecraft.Voyager1.position.RA")), "*");
    EXPECT_EQ(U8(before.Doit(u"? Solar.Spacecraft.Voyager1.Jd.Rise")), "*");
    EXPECT_EQ(U8(before.Doit(u"? Solar.Spacecraft.Voyager1.Data.Start")), "2444615.50000000");
    // A place answered at one time is not kept for another.
    CSkyEngine sky = SkyAt(2461381.0);
    const double ra = AskNum(sky, u"? Solar.Spacecraft.Voyager2.position.RA");
    EXPECT_GT(ra, 19.0);
    EXPECT_LT(ra, 21.0);
    sky.SetJd(2444000.5);
    EXPECT_EQ(U8(sky.Doit(u"? Solar.Spacecraft.Voyager2.position.RA")), "*");
}

TEST(SolarExtras, IdentifiersResolveOnlyInTheirForms) {
    CSkyEngine sky = SkyAt(2461381.0);
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"? Solar.Planet.Earth.Satellite.Moon.Place.tycho.EnglishName", "Tycho"},
        {u"? Solar.Planet.Mars.Place.OlympusMons.JapaneseName", "オリンポス山"},
        {u"? Solar.Planet.Earth.Place.Greenwich.Explanation", "天文台"},
        {u"? Solar.Planet.Earth.Satellite.Moon.Place.Tycho.Explanation", "クレーター、直径 85 km"},
        {u"? Solar.Planet.Mars.Place.Tycho.EnglishName", ""},  // Tycho is on the Moon
        {u"? Solar.Planet.Earth.Satellite.Moon.Place.Tycho.Extra.EnglishName", ""},
        {u"? Solar.Meteorite.NoSuchFall.Memo", ""},
        {u"? Solar.Spacecraft.Voyager1.EnglishName", "Voyager 1"},
        {u"? Solar.Planet.Mars.EnglishName", "Mars"},  // bodies as before
    };
    for (const auto& [query, reply] : cases) {
        EXPECT_EQ(U8(sky.Doit(query)), reply) << U8(query);
    }
    // Tycho lies at 43.3 S, 11.2 W (IAU Gazetteer of Planetary Nomenclature).
    EXPECT_NEAR(AskNum(sky, u"? Solar.Planet.Earth.Satellite.Moon.Place.Tycho.Latitude"), -43.3,
                0.1);
    EXPECT_NEAR(AskNum(sky, u"? Solar.Planet.Earth.Satellite.Moon.Place.Tycho.Longitude"), 348.8,
                0.1);
}

TEST(SolarExtras, MissingFilesLeaveTheObjectsOut) {
    TempDir empty;
    std::string error;
    const auto extras = sky::SolarExtras::Shared(empty.path(), &error);
    EXPECT_NE(error.find("places.tsv"), std::string::npos) << error;
    EXPECT_EQ(extras->FindSpacecraft(u"Voyager1"), nullptr);
}

// The texts the solar-system builder makes of each kind, end to end.
TEST(SolarExtrasCli, EveryKindPrintsAWholeText) {
    struct Case {
        const char* id;
        std::vector<const char*> lines;
    };
    const Case cases[] = {
        {"Solar.Planet.Earth.Satellite.Moon.Place.Tycho",
         {"ティコ Tycho\nクレーター、直径 85 km\n経度 348.78 緯度 -43.30'\n"}},
        // 03:20:33 UT is 12:20 in Tokyo.
        {"Solar.Meteorite.Chelyabinsk",
         {"チェリャビンスク隕石 Chelyabinsk (Chelyabinsk)\nLL5 普通コンドライト ロシア "
          "チェリャビンスク州\n落下 2013年2月15日 12時20分\n"}},
        {"Solar.Spacecraft.Voyager1",
         {"ボイジャー1号 Voyager 1\n", "地心距離 ", "日心距離 ", "(J2000)",
          "データ開始 1981/01/11 00:00:00 (UT)\n", "データ終了 2100/01/01 00:00:00 (UT)\n"}},
    };
    for (const Case& c : cases) {
        const auto r = RunVexclk({"text", "--time", "2026-12-06T21:00", "--setting",
                                  "SolarOrbitDetails=1", "--setting", "DispDistR=1", c.id});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.rfind(c.lines[0], 0), 0u) << r.out;
        for (const char* line : c.lines) EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("--"), std::string::npos) << r.out;
    }
}

}  // namespace
