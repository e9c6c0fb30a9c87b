// The sky engine's command language, state and object properties.
#include "sky/sky_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "tests/test_support.h"

namespace {

std::shared_ptr<const CSkyCatalog> Catalog() {
    return SharedSkyCatalog();
}

// 2026-12-06 12:00 UT, Tokyo.
CSkyEngine MakeSky() {
    CSkyEngine sky(Catalog());
    sky.SetJd(2461381.0);
    return sky;
}

double Num(CSkyEngine& sky, const char16_t* query) {
    return CStkStr(sky.Doit(query)).atof();
}

}  // namespace

TEST(SkyCommands, StateReadsAndWrites) {
    CSkyEngine sky = MakeSky();
    EXPECT_EQ(U8(sky.Doit(u"? Time.jd")), "2461381.00000000");
    EXPECT_EQ(U8(sky.Doit(u"? time.TIMEZONE")), "9.0000");
    // Local standard time: 12:00 UT is 21:00 in Japan.
    EXPECT_EQ(U8(sky.Doit(u"? LST(Time.Hour)")), "21");
    EXPECT_EQ(U8(sky.Doit(u"? Time.Day")), "6");
    EXPECT_EQ(U8(sky.Doit(u"? ClickData.Object")), "");
    EXPECT_EQ(U8(sky.Doit(u"? View.Solar.Arounding")), "FALSE");
    EXPECT_EQ(U8(sky.Doit(u"? View.FlightTarget.TakeOff.Busy")), "False");

    // Statements run in order; the reply is the last one's.
    EXPECT_EQ(U8(sky.Doit(u"ClickData.Object = \"Star.HIP32349\"; Show Sky; ? clickdata.object")),
              "Star.HIP32349");
    EXPECT_EQ(U8(sky.Doit(u"ClickData.Mark.Visible = true; ? ClickData.Mark.Visible")), "TRUE");
    EXPECT_EQ(U8(sky.Doit(u"Location.Solar.Track = false ; ? location.solar.track")), "FALSE");
    sky.Doit(u"default ClickData.Cyclic = TRUE");
    EXPECT_EQ(U8(sky.Doit(u"? ClickData.Cyclic")), "TRUE");
    // Time = LST(y, m, d, h) sets the local standard time.
    sky.Doit(u"Time = LST(2027,1,1,0); Calc Stellar");
    EXPECT_NEAR(sky.GetJd(), 2461406.125, 1e-9);  // 2026-12-31 15:00 UT
    EXPECT_EQ(U8(sky.Doit(u"? LST(Time.Year)")), "2027");
}

TEST(SkyCommands, GarbageGetsTheEmptyReply) {
    CSkyEngine sky = MakeSky();
    for (const char16_t* command :
         {u"", u";;;", u"?", u"? ", u"= 5", u"Time.jd = \"", u"? Star.", u"? Star.NoSuchStar.Name",
          u"? Equatorial(", u"? Equatorial(x,y).position.RA", u"? Equatorial(1,95).position.RA",
          u"? ((((((", u"default", u"? no.such.path", u"Play Blink(Star.HIP32349)",
          u"\"unterminated ; ? Time.jd", u"Time.jd = nan", u"Time.jd = 1e300"}) {
        EXPECT_EQ(U8(sky.Doit(command)), "") << U8(command);
    }
    EXPECT_NEAR(sky.GetJd(), 2461381.0, 1e-9);  // bad times left it alone
}

// The host's window hears each "Show" verb, and whether the view's centre
// was set since the last one; other verbs and plain assignments stay quiet.
TEST(SkyCommands, ShowVerbsTellTheHostWhetherTheCentreWasSet) {
    CSkyEngine sky = MakeSky();
    std::vector<bool> heard;
    sky.SetShowHandler([&](bool centreAssigned) { heard.push_back(centreAssigned); });
    const struct {
        const char16_t* command;
        std::vector<bool> heard;
    } rows[] = {
        {u"View.Center = Star.HIP32349 ; show stellar", {true}},
        {u"View.Center.Track = FALSE; Show Sky", {false}},
        {u"view.center = Star.HIP27989", {}},
        {u"Calc Stellar; Play Blink(Star.HIP32349)", {}},
        {u"SHOW SKY; Show Sky", {true, false}},
        {u"default View.Center = Star.HIP32349; Show Sky", {true}},
    };
    for (const auto& row : rows) {
        heard.clear();
        sky.Doit(row.command);
        EXPECT_EQ(heard, row.heard) << U8(row.command);
    }
    sky.SetShowHandler(nullptr);
    EXPECT_EQ(U8(sky.Doit(u"View.Center = Star.HIP32349; Show Sky")), "");  // no handler: fine
}

// A command at the bound runs, statement by statement; one beyond it does not.
TEST(SkyCommands, CommandsAreBoundedInLength) {
    CSkyEngine sky = MakeSky();
    const CString set = u"Time.jd = 2451545; ? Time.jd";
    for (const int extra : {1, 0}) {
        const CString padding(u';', sky::kMaxCommandLength - set.GetLength() + extra);
        EXPECT_EQ(U8(sky.Doit(padding + set)), extra ? "" : "2451545.00000000");
    }
}

TEST(SkyCommands, PlaceChangesTheCacheKeyOfTheTextEngine) {
    CSkyEngine sky = MakeSky();
    const CString before = sky.Doit(u"? location");
    const CString solar_before = sky.Doit(u"? location.solar.x");
    sky.Doit(u"Location.Latitude = -33.8688; Location.Longitude = 151.2093");
    EXPECT_NE(sky.Doit(u"? location"), before);
    EXPECT_NEAR(sky.GetLatitude(), -33.8688, 1e-12);
    sky.Doit(u"Time.jd = 2461382");
    EXPECT_NE(sky.Doit(u"? location.solar.x"), solar_before);
    // The Earth is about 1 au from the Sun.
    const double x = Num(sky, u"? location.solar.x"), y = Num(sky, u"? location.solar.y"),
                 z = Num(sky, u"? location.solar.z");
    EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 0.985, 0.002);  // early December
}

TEST(SkyObjects, StarProperties) {
    CSkyEngine sky = MakeSky();
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.EnglishName")), "Sirius");
    EXPECT_EQ(U8(sky.Doit(u"? star.hip32349.JapaneseName")), "シリウス");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.BayerLetter")), "α");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.Constellation.Abbreviation")), "CMa");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.Constellation.Name")), "おおいぬ座");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.Position.Constellation")), "CMa");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.HipparcosNumber")), "32349");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.CrossID")), "HD 48915|HR 2491|SAO 151881");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.Magnitude.VT")), "*");  // not in the data
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.VariableName")), "");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP27989.VariableName")), "α Ori");  // Betelgeuse
    EXPECT_NEAR(Num(sky, u"? Star.HIP32349.pi"), 379.2, 0.5);
    // HIP 274: 0.93 +- 0.38 mas, no distance to be had from it.
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP274.pi")), "*");
    // The current J2000 place moved from the catalogue's by proper motion:
    // 26.9 years x -1.223"/yr in declination.
    const double dec = Num(sky, u"? Star.HIP32349.position.DEC");
    EXPECT_NEAR((dec - (-16.7161)) * 3600.0, 26.93 * -1.2231, 1.0);
}

TEST(SkyObjects, PickedStarSlotIsANumberedStar) {
    CSkyEngine sky = MakeSky();
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.Id")), "");
    sky.SetPickedStar(u"HIP32349");
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.Id")), "HIP 32349");
    CLumClickData data;
    CCdStatus status;
    for (const auto& f : CCdStatus::Fields()) status.*(f.member) = 0;
    data.SetStatus(&status);
    EXPECT_EQ(U8(data.GetText(&sky, u"star.Xno0", 1)), "恒星 HIP 32349");
}

TEST(SkyObjects, DeepSkyConstellationPointAndClouds) {
    CSkyEngine sky = MakeSky();
    EXPECT_EQ(U8(sky.Doit(u"? DeepSky.NGC224.CatalogNumber")), "NGC 224");
    EXPECT_NE(sky.Doit(u"? DeepSky.M31.SubCatalogNumber.Strings").Find(u"M 31"), -1);
    EXPECT_EQ(U8(sky.Doit(u"? DeepSky.NGC224.Type.Name")), "銀河");
    EXPECT_EQ(U8(sky.Doit(u"? deepskyobject.Pgc2557.AliasName")), "NGC 224");
    // One number per object, whichever identifier reached it: its comment key.
    for (const char16_t* id : {u"DeepSky.M31", u"deepskyobject.Pgc2557"}) {
        EXPECT_EQ(U8(sky.Doit(u"? " + CString(id) + u".Number")), "NGC 224");
    }
    EXPECT_EQ(U8(sky.Doit(u"? Constellation.ori.Name")), "オリオン座");
    EXPECT_EQ(U8(sky.Doit(u"? Constellation.Ori.Abbreviation")), "Ori");
    EXPECT_EQ(U8(sky.Doit(u"? Equatorial(5.5,0).Position.Constellation")), "Ori");
    EXPECT_NEAR(Num(sky, u"? Equatorial(5.5,0).position.RA"), 5.5, 1e-9);
    EXPECT_FALSE(sky.Doit(u"? MagellanicCloud.LMC.Name").IsEmpty());
    // A constellation is where it was clicked; without a mark, the middle
    // of its stars: Orion's lie around 5h30m, +3 degrees.
    EXPECT_NEAR(Num(sky, u"? Constellation.Ori.position.RA"), 5.5, 0.4);
    EXPECT_NEAR(Num(sky, u"? Constellation.Ori.position.DEC"), 3.0, 6.0);
    EXPECT_EQ(U8(sky.Doit(u"? Constellation.Ori.Position.Constellation")), "Ori");
    sky.Doit(u"ClickData.Mark = Equatorial(5.5,0)");
    EXPECT_NEAR(Num(sky, u"? Constellation.Ori.position.RA"), 5.5, 1e-9);
}

TEST(SkyObjects, MeasuringLineEndsAnswerTheirObjectsPositions) {
    CSkyEngine sky = MakeSky();
    EXPECT_EQ(U8(sky.Doit(u"? Measure.Origin.position.EquatorialDateApp.RA")), "");
    sky.Doit(u"Measure.Origin = Star.HIP32349; Measure.End = \"Equatorial(5.5,0)\"");
    EXPECT_EQ(sky.Doit(u"? Measure.Origin.position.EquatorialDateApp.RA"),
              sky.Doit(u"? Star.HIP32349.position.EquatorialDateApp.RA"));
    EXPECT_EQ(sky.Doit(u"? Measure.End.position.EclipticDateApp.Beta"),
              sky.Doit(u"? Equatorial(5.5,0).position.EclipticDateApp.Beta"));
}

TEST(SkyObjects, RiseTransitSetAreListsOfJulianDaysOrNone) {
    CSkyEngine sky = MakeSky();
    // Polaris never sets from Tokyo; Canopus (-52.7) barely rises there,
    // alpha Octantis never does.
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP11767.Jd.Rise")), "*");
    const CString transit = sky.Doit(u"? Star.HIP11767.Jd.Transit");
    EXPECT_NE(transit, u"*");
    const double jd = CStkStr(transit).atof();
    // Within the local day of 2026-12-06 (JST): 2026-12-05 15:00 UT onward.
    EXPECT_GE(jd, 2461380.125);
    EXPECT_LT(jd, 2461381.125);
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP104382.Jd.Rise")), "*");
}

TEST(SkySearch, NamesAndNeighbours) {
    CSkyEngine sky = MakeSky();
    const struct {
        const char16_t* text;
        const char* first;
    } cases[] = {
        {u"Sirius", "Star.HIP32349"},   {u"シリウス", "Star.HIP32349"},
        {u"HD 48915", "Star.HIP32349"}, {u"alpha CMa", "Star.HIP32349"},
        {u"M 31", "DeepSky.NGC224"},    {u"Ori", "Constellation.Ori"},
    };
    for (const auto& c : cases) {
        const auto found = sky.FindByName(c.text);
        ASSERT_FALSE(found.empty()) << U8(c.text);
        EXPECT_EQ(U8(found.front()), c.first) << U8(c.text);
    }
    EXPECT_TRUE(sky.FindByName(u"No such object").empty());
    // Betelgeuse: 05h55m10.3s +07 24 25
    const auto near = sky.FindNear(5.919529, 7.407064, 0.5, 5);
    ASSERT_FALSE(near.empty());
    EXPECT_EQ(U8(near.front().first), "Star.HIP27989");
    EXPECT_LT(near.front().second, 0.01);
}

TEST(SkyText, WholeTextOfAStarThroughTheTextEngine) {
    CSkyEngine sky = MakeSky();
    CCdStatus status;  // every default line
    CLumClickData data;
    data.SetStatus(&status);
    const std::string text = U8(data.GetText(&sky, u"Star.HIP32349", 0));
    EXPECT_EQ(text.rfind("恒星 9αCMa (おおいぬ座) シリウス Sirius\r\nHIP32349\r\n", 0), 0u) << text;
    for (const char* line :
         {"(J2000)\r\n", "(視位置)\r\n", "(B1950)\r\n", "(平均位置)\r\n", "銀経 ", "方位 ", "時角 ",
          "出 ", "年周視差 ", "距離 8.6", "カタログインデックス"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
    EXPECT_EQ(text.find("--"), std::string::npos) << text;  // no placeholder: every value known
}

// Every path of the property tables answers for a real object of its kind.
TEST(SkyProperties, EveryListedPathAnswers) {
    CSkyEngine sky = MakeSky();
    for (const auto& list : CSkyEngine::SupportedPaths()) {
        EXPECT_FALSE(list.suffixes.empty()) << U8(list.kind);
        for (const CString& suffix : list.suffixes) {
            const CString path = CString(list.example) + suffix;
            // A settable text starts empty or not; it answers what it was given.
            if (CString(list.kind) == u"settable") sky.Doit(path + u" = \"Star.HIP27989\"");
            EXPECT_FALSE(sky.Doit(u"? " + path).IsEmpty()) << U8(path);
        }
    }
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP27989.NoSuchProperty")), "");
    EXPECT_EQ(U8(sky.Doit(u"? Equatorial(5.5,0).Name")), "");  // a point has no name
}

// A path resolved once answers anew when the object behind it changes.
TEST(SkyProperties, ResolvedPathsFollowTheObjectsTheyStandFor) {
    CSkyEngine sky = MakeSky();
    sky.SetPickedStar(u"HIP32349");
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.Id")), "HIP 32349");
    sky.SetPickedStar(u"HIP27989");
    EXPECT_EQ(U8(sky.Doit(u"? star.Xno0.Id")), "HIP 27989");
    const std::pair<const char16_t*, const char*> changes[] = {
        {u"Measure.Origin = Star.HIP32349", "Sirius"},
        {u"Measure.Origin = Star.HIP27989", "Betelgeuse"},
        {u"default Measure.Origin = Star.HIP32349", "Sirius"},
        {u"Measure.Origin = \"\"", ""},
    };
    for (const auto& [command, name] : changes) {
        sky.Doit(command);
        EXPECT_EQ(U8(sky.Doit(u"? Measure.Origin.EnglishName")), name) << U8(command);
    }
}

// The engine keeps what it computed for a time and place (the astrometry
// context, each object's positions and events) until the time, the zone or
// the place changes: after each change a query made before answers as an
// engine that starts from the new state, and no longer as before.
TEST(SkyProperties, KeptWorkFollowsTimeZoneAndPlace) {
    struct Change {
        const char16_t* command;
        const char16_t* query;
    };
    const Change changes[] = {
        {u"Time.jd = 2461381.5", u"? Star.HIP32349.position.EquatorialDateApp.RA"},
        {u"Time.jd = 2461381.5", u"? Star.HIP32349.position.Altitude"},
        {u"Time = LST(2027,3,1,4)", u"? Star.HIP32349.position.Azimuth"},
        {u"Time.jd = 2461390", u"? Star.HIP32349.Jd.Transit"},
        {u"Time.jd = 2461390", u"? location.solar.x"},
        {u"Time.Timezone = -12", u"? Star.HIP32349.Jd.Rise"},
        {u"Location.Longitude = -70", u"? Star.HIP32349.position.Azimuth"},
        {u"Location.Latitude = -33.9", u"? Star.HIP32349.position.Altitude"},
        {u"Location.Altitude = 4000", u"? Solar.Planet.Earth.Satellite.Moon.position.Altitude"},
        {u"Time.jd = 2461381.5", u"? Solar.Planet.Mars.position.RA"},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(U8(c.command) + " then " + U8(c.query));
        CSkyEngine sky = MakeSky();
        const CString before = sky.Doit(c.query);
        sky.Doit(c.command);
        CSkyEngine fresh = MakeSky();
        fresh.Doit(c.command);
        const CString after = sky.Doit(c.query);
        EXPECT_EQ(after, fresh.Doit(c.query));
        EXPECT_NE(after, before);
    }
}

// One text's queries name one object, and a path that goes on from it is
// answered without cutting it up again; a path that names another object
// (a satellite below a planet, another star, the star behind a holder)
// still reaches that object.
TEST(SkyProperties, PathsAfterAnObjectReachTheirOwnObjects) {
    CSkyEngine sky = MakeSky();
    const std::pair<const char16_t*, const char*> queries[] = {
        {u"? Star.HIP32349.EnglishName", "Sirius"},
        {u"? STAR.hip32349.englishname", "Sirius"},
        {u"? Star.HIP32349.NoSuchProperty", ""},
        {u"? Star.HIP27989.EnglishName", "Betelgeuse"},
        {u"? Star.HIP2798.EnglishName", ""},
        {u"? Solar.Planet.Mars.Name", "火星"},
        {u"? Solar.Planet.Mars.Satellite.Phobos.Name", "フォボス"},
        {u"? Solar.Planet.Mars.Name", "火星"},
        {u"? DeepSky.M31.CatalogNumber", "NGC 224"},
        {u"? DeepSky.M3.CatalogNumber", "NGC 5272"},
    };
    for (const auto& [query, reply] : queries) EXPECT_EQ(U8(sky.Doit(query)), reply) << U8(query);
    sky.Doit(u"Measure.Origin = Star.HIP32349");
    EXPECT_EQ(U8(sky.Doit(u"? Measure.Origin.EnglishName")), "Sirius");
    sky.Doit(u"Measure.Origin = Star.HIP27989");
    EXPECT_EQ(U8(sky.Doit(u"? Star.HIP32349.EnglishName")), "Sirius");
    EXPECT_EQ(U8(sky.Doit(u"? Measure.Origin.EnglishName")), "Betelgeuse");
}

// README.md shows the tables' paths between two markers.
TEST(SkyProperties, ReadmeListsThePathsOfTheTables) {
    const std::string readme = Slurp(std::string(VEXCLK_SOURCE_DIR) + "/README.md");
    const std::string begin = "<!-- sky engine paths: begin -->\n",
                      end = "<!-- sky engine paths: end -->";
    const size_t from = readme.find(begin), to = readme.find(end);
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(readme.substr(from + begin.size(), to - from - begin.size()),
              U8(CSkyEngine::SupportedPathsMarkdown()));
}
