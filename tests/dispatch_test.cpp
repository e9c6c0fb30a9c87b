// Classification, dispatch and the one-object cache, counted through the
// replay engine's record of the commands it received.
#include <gtest/gtest.h>

#include <algorithm>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"

namespace {

// Exposes the protected cache state for the few checks the public
// interface cannot see.
class ClickDataProbe : public CLumClickData {
  public:
    using CLumClickData::IsAdfsystem;
    const CString& CachedObject() const { return m_cacheObject; }
    const CString& CurrentObject() const { return m_object.GetText(); }
};

// Seeds the six cache-key replies.
void SetSky(CReplayEngine& e, const char16_t* jd = u"2461380.5") {
    e.SetReply(u"? time.jd", jd);
    e.SetReply(u"? time.timezone", u"9");
    e.SetReply(u"? location", u"Tokyo(139.6917,35.6895,40)");
    e.SetReply(u"? location.solar.x", u"0.18");
    e.SetReply(u"? location.solar.y", u"0.89");
    e.SetReply(u"? location.solar.z", u"0.39");
}

std::vector<std::string> Recorded(const CReplayEngine& e) {
    std::vector<std::string> out;
    for (const CString& c : e.Commands()) out.push_back(U8(c));
    return out;
}

void LoadSystems(CReplayEngine& e) {
    e.SetReply(u"? AdfSystem.#2.File", u"C:\\data\\hyades.adf");
    e.SetReply(u"? AdfSystem.#2.ObjectName", u"Hyades");
    e.SetReply(u"? AdfSystem.#40.File", u"moving.adf");
    e.SetReply(u"? AdfSystem.#40.ObjectName", u"MovingGroup");
}

}  // namespace

TEST(Classification, TypeTableAndLoadedSystems) {
    CReplayEngine engine;
    LoadSystems(engine);
    CLumClickData data;
    const struct {
        const char16_t* object;
        int code;
    } cases[] = {
        {u"Star.Hip32349", 0},
        {u"star.Xno0", 0},
        {u"STAR.GCVS.R_Leo", 0},
        {u"Constellation.Ori", 1},
        {u"Equatorial(83.8,-5.4)", 2},
        {u"Solar.Planet.Earth", 3},
        {u"deepsky.NGC224", 4},
        {u"DEEPSKY.M31", 4},
        {u"DeepSkyObject.Pgc2557", 4},
        {u"MagellanicCloud.Large", 5},
        {u"ArtificialSatellite.25544", 6},
        {u"DeepSkyImage.M42", 7},
        {u"Meteor.Perseids", 8},
        {u"Hyades.Member12", 9},
        {u"hyades.member12", 9},
        {u"MovingGroup.A", 9},
        {u"Adf.Something", 10},
        {u"FieldOfViewCircle.1", 11},
        {u"AngleOfView.Camera1", 12},
        {u"MosaicOfField.2x2", 13},
        {u"Unknown.Thing", -1},
        {u"Hyades", -1},  // a system name needs a component after it
        {u"", -1},
        {u"DeepSkyX.1", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(data.ClassifyObject(&engine, c.object), c.code) << U8(c.object);
    }
}

TEST(Classification, SystemNamesAreProbedOnceWhenLoaded) {
    CReplayEngine engine;
    LoadSystems(engine);
    ClickDataProbe data;
    EXPECT_TRUE(data.IsAdfsystem(&engine, u"Hyades.1"));
    // 40 file probes plus one name query for each loaded system.
    EXPECT_EQ(engine.Commands().size(), 42u);
    EXPECT_EQ(U8(engine.Commands()[0]), "? AdfSystem.#1.File");
    EXPECT_EQ(U8(engine.Commands()[2]), "? AdfSystem.#2.ObjectName");
    engine.ClearCommands();
    EXPECT_FALSE(data.IsAdfsystem(&engine, u"Pleiades.1"));
    EXPECT_TRUE(engine.Commands().empty());
}

TEST(Classification, SystemNamesAreRetriedWhileNoneIsLoaded) {
    CReplayEngine engine;
    ClickDataProbe data;
    EXPECT_FALSE(data.IsAdfsystem(&engine, u"Hyades.1"));
    EXPECT_EQ(engine.Commands().size(), 40u);
    LoadSystems(engine);  // the user loads a system later
    EXPECT_TRUE(data.IsAdfsystem(&engine, u"Hyades.1"));
    // Without a "." there is no system key and nothing is asked.
    engine.ClearCommands();
    EXPECT_FALSE(data.IsAdfsystem(&engine, u"Hyades"));
    EXPECT_TRUE(engine.Commands().empty());
}

TEST(Classification, GetTypeClassifiesTheQueriedIdentifier) {
    CReplayEngine engine;
    LoadSystems(engine);
    engine.SetReply(u"? ClickData.Object", u"Hyades.Member3");
    CLumClickData data;
    data.GetText(&engine, u"Solar.Planet.Mars", 1);  // a different current object
    CStkString object;
    EXPECT_EQ(data.GetType(&engine, object, u"? ClickData.Object"), 9);
    EXPECT_EQ(U8(object.GetText()), "Hyades.Member3");

    engine.SetReply(u"? ClickData.Object", u"");
    EXPECT_EQ(data.GetType(&engine, object, u"? ClickData.Object"), -1);
    EXPECT_TRUE(object.GetText().IsEmpty());
}

namespace {

const std::vector<std::string> kKeyQueries = {
    "? time.jd",          "? time.timezone",    "? location",
    "? location.solar.z", "? location.solar.y", "? location.solar.x",
};

// A record with every line switched off, so texts are short and fixed.
CCdStatus Quiet() {
    CCdStatus status;
    for (const auto& f : CCdStatus::Fields()) status.*(f.member) = 0;
    return status;
}

void SetOrion(CReplayEngine& e) {
    e.SetReply(u"? Constellation.Ori.Name", u"オリオン座");
    e.SetReply(u"? Constellation.Ori.Abbreviation", u"Ori");
}

// Orion's constellation text over a fixed sky, every line off.
struct OrionSky {
    CReplayEngine engine;
    CCdStatus status = Quiet();
    ClickDataProbe data;
    OrionSky() {
        SetSky(engine);
        SetOrion(engine);
        data.SetStatus(&status);
    }
};

}  // namespace

TEST(Cache, AHitCostsExactlyTheSixKeyQueries) {
    OrionSky sky;
    CReplayEngine& engine = sky.engine;
    ClickDataProbe& data = sky.data;
    const CString first = data.GetText(&engine, u"Constellation.Ori", 0);
    EXPECT_EQ(U8(first), "オリオン座 Ori\r\n");
    EXPECT_EQ(U8(data.CachedObject()), "Constellation.Ori");

    engine.ClearCommands();
    EXPECT_EQ(data.GetText(&engine, u"Constellation.Ori", 0), first);
    EXPECT_EQ(Recorded(engine), kKeyQueries);
}

TEST(Cache, TitleThenFullRebuildsFullAndKeepsTitle) {
    OrionSky sky;
    CReplayEngine& engine = sky.engine;
    ClickDataProbe& data = sky.data;
    EXPECT_EQ(U8(data.GetText(&engine, u"Constellation.Ori", 1)), "オリオン座 Ori");

    engine.ClearCommands();
    EXPECT_EQ(U8(data.GetText(&engine, u"Constellation.Ori", 0)), "オリオン座 Ori\r\n");
    const auto rebuilt = Recorded(engine);
    EXPECT_GT(rebuilt.size(), 12u);  // key check, builder queries, new key
    EXPECT_NE(std::find(rebuilt.begin(), rebuilt.end(), "? Constellation.Ori.Name"), rebuilt.end());

    engine.ClearCommands();
    EXPECT_EQ(U8(data.GetText(&engine, u"Constellation.Ori", 1)), "オリオン座 Ori");
    EXPECT_EQ(Recorded(engine), kKeyQueries);
}

TEST(Cache, KeyIsRecordedAfterTheBuildInItsQueryOrder) {
    OrionSky sky;
    CReplayEngine& engine = sky.engine;
    ClickDataProbe& data = sky.data;
    data.GetText(&engine, u"Constellation.Ori", 1);  // title: no measure block after the key
    const auto recorded = Recorded(engine);
    ASSERT_EQ(recorded.size(), 8u);
    EXPECT_EQ(recorded[0], "? Constellation.Ori.Name");
    EXPECT_EQ(recorded[1], "? Constellation.Ori.Abbreviation");
    EXPECT_EQ(std::vector<std::string>(recorded.begin() + 2, recorded.end()), kKeyQueries);
}

TEST(Cache, KeyCheckStopsAtTheFirstDifference) {
    OrionSky sky;
    CReplayEngine& engine = sky.engine;
    ClickDataProbe& data = sky.data;
    data.GetText(&engine, u"Constellation.Ori", 1);

    // Another object: the check ends before any query.
    engine.ClearCommands();
    data.GetText(&engine, u"Constellation.Tau", 1);
    EXPECT_EQ(Recorded(engine).front(), "? Constellation.Tau.Name");

    // Same object, another time: the check ends at the time query.
    SetSky(engine, u"2461381.5");
    engine.ClearCommands();
    data.GetText(&engine, u"Constellation.Tau", 1);
    const auto recorded = Recorded(engine);
    ASSERT_GE(recorded.size(), 2u);
    EXPECT_EQ(recorded[0], "? time.jd");
    EXPECT_EQ(recorded[1], "? Constellation.Tau.Name");

    // Observer moved in the solar system only: the whole key is read.
    engine.SetReply(u"? location.solar.x", u"0.19");
    engine.ClearCommands();
    data.GetText(&engine, u"Constellation.Tau", 1);
    const auto moved = Recorded(engine);
    ASSERT_GE(moved.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(moved.begin(), moved.begin() + 6), kKeyQueries);
    EXPECT_EQ(moved[6], "? Constellation.Tau.Name");
}

TEST(Cache, KeyRepliesCompareWithoutCaseButSolarPositionExactly) {
    OrionSky sky;
    CReplayEngine& engine = sky.engine;
    ClickDataProbe& data = sky.data;
    engine.SetReply(u"? location", u"Tokyo");
    data.GetText(&engine, u"Constellation.Ori", 1);
    engine.SetReply(u"? location", u"TOKYO");
    engine.ClearCommands();
    data.GetText(&engine, u"Constellation.Ori", 1);
    EXPECT_EQ(Recorded(engine), kKeyQueries);  // still a hit

    engine.SetReply(u"? location.solar.z", u"0.390");  // same number, other text
    engine.ClearCommands();
    data.GetText(&engine, u"Constellation.Ori", 1);
    EXPECT_GT(Recorded(engine).size(), 6u);
}

TEST(Cache, PickedStarAndCameraFramesAreNeverServedFromCache) {
    for (const char16_t* object : {u"star.Xno0", u"STAR.XNO1", u"AngleOfView.C1",
                                   u"MosaicOfField.M", u"FieldOfViewCircle.F"}) {
        CReplayEngine engine;
        SetSky(engine);
        engine.SetReply(u"? Measure.Visible", u"TRUE");
        engine.SetReply(u"? Measure.Connecting", u"TRUE");
        CCdStatus status = Quiet();
        CLumClickData data;
        data.SetStatus(&status);
        EXPECT_FALSE(data.GetText(&engine, object, 0).IsEmpty());
        const auto first = Recorded(engine);
        engine.ClearCommands();
        data.GetText(&engine, object, 0);
        // The identifier matches, yet no key query is made: all is rebuilt.
        EXPECT_EQ(Recorded(engine), first) << U8(object);
    }
}

TEST(Cache, UnclassifiableOrEmptyIdentifierClearsTheCache) {
    CReplayEngine engine;
    SetSky(engine);
    ClickDataProbe data;
    data.GetText(&engine, u"Solar.Planet.Mars", 0);
    EXPECT_TRUE(data.GetText(&engine, u"Nothing.Here", 0).IsEmpty());
    EXPECT_TRUE(data.CachedObject().IsEmpty());
    data.GetText(&engine, u"Solar.Planet.Mars", 0);
    EXPECT_TRUE(data.GetText(&engine, u"", 0).IsEmpty());
    EXPECT_TRUE(data.CachedObject().IsEmpty());
    EXPECT_TRUE(data.GetText(nullptr, u"Solar.Planet.Mars", 0).IsEmpty());
}

TEST(Cache, SetOriginNorthAlwaysClears) {
    CReplayEngine engine;
    SetSky(engine);
    ClickDataProbe data;
    for (int flag : {0, 1, 1, 0}) {
        data.GetText(&engine, u"Solar.Planet.Mars", 0);
        EXPECT_FALSE(data.CachedObject().IsEmpty());
        data.SetOriginNorth(flag);
        EXPECT_TRUE(data.CachedObject().IsEmpty()) << flag;
    }
}

TEST(Dispatch, PlanetFormIsRewrittenAndKeyedByTheNewIdentifier) {
    CReplayEngine engine;
    SetSky(engine);
    ClickDataProbe data;
    data.GetText(&engine, u"star.HD209458.planet.b", 0);
    EXPECT_EQ(U8(data.CurrentObject()), "star.ExtraSolarPlanet.HD209458b");
    EXPECT_EQ(U8(data.CachedObject()), "star.ExtraSolarPlanet.HD209458b");
    // Other star forms keep their identifier.
    data.GetText(&engine, u"star.GCVS.R_Leo", 0);
    EXPECT_EQ(U8(data.CurrentObject()), "star.GCVS.R_Leo");
}
