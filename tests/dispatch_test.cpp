// Classification, dispatch and the one-object cache, counted through the
// replay engine's record of the commands it received.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

// Exposes the cache key's identifier, which the public interface cannot see.
class ClickDataProbe : public CLumClickData {
  public:
    using CLumClickData::IsAdfsystem;
    const CString& CachedObject() const { return m_cacheObject; }
    const CString& CurrentObject() const { return m_object.GetText(); }
};

const std::vector<std::string> kKeyQueries = {
    "? time.jd",          "? time.timezone",    "? location",
    "? location.solar.z", "? location.solar.y", "? location.solar.x",
};

// Orion's constellation text over a fixed sky, every line off.
struct Sky : TextFixture {
    ClickDataProbe probe;
    Sky() {
        probe.SetStatus(&status);
        Reply(u"? time.jd", u"2461380.5");
        Reply(u"? time.timezone", u"9");
        Reply(u"? location", u"Tokyo(139.6917,35.6895,40)");
        Object(u"location.solar", {{u".x", u"0.18"}, {u".y", u"0.89"}, {u".z", u"0.39"}});
        Object(u"Constellation.Ori", {{u".Name", u"オリオン座"}, {u".Abbreviation", u"Ori"}});
        Object(u"AdfSystem",
               {{u".#2.File", u"C:\\data\\hyades.adf"}, {u".#2.ObjectName", u"Hyades"}});
    }
    // The commands a GetText sends, and its text.
    std::vector<std::string> Sent(const char16_t* object, int title, std::string* text = nullptr) {
        engine.ClearCommands();
        const std::string built = U8(probe.GetText(&engine, object, title));
        if (text) *text = built;
        std::vector<std::string> sent;
        for (const CString& c : engine.Commands()) sent.push_back(U8(c));
        return sent;
    }
};

}  // namespace

TEST(Classification, TypeTableAndLoadedSystems) {
    Sky s;
    const std::pair<const char16_t*, int> cases[] = {
        {u"STAR.GCVS.R_Leo", 0},
        {u"Constellation.Ori", 1},
        {u"Equatorial(83.8,-5.4)", 2},
        {u"Solar.Planet.Earth", 3},
        {u"DEEPSKY.M31", 4},
        {u"DeepSkyObject.Pgc2557", 4},
        {u"MagellanicCloud.Large", 5},
        {u"ArtificialSatellite.1", 6},
        {u"DeepSkyImage.M42", 7},
        {u"Meteor.Perseids", 8},
        {u"hyades.member12", 9},
        {u"Adf.Something", 10},
        {u"FieldOfViewCircle.1", 11},
        {u"AngleOfView.Camera1", 12},
        {u"MosaicOfField.2x2", 13},
        {u"Unknown.Thing", -1},
        {u"", -1},
        {u"DeepSkyX.1", -1},
        {u"Hyades", -1},  // a system name needs a component after it
    };
    for (const auto& [object, code] : cases) {
        EXPECT_EQ(s.probe.ClassifyObject(&s.engine, object), code) << U8(object);
    }
    // The queried identifier is classified, not the current object.
    s.Reply(u"? ClickData.Object", u"Hyades.Member3");
    CStkString object;
    EXPECT_EQ(s.probe.GetType(&s.engine, object, u"? ClickData.Object"), 9);
    EXPECT_EQ(U8(object.GetText()), "Hyades.Member3");
}

TEST(Classification, SystemNamesAreProbedUntilOneIsLoaded) {
    TextFixture s;
    ClickDataProbe data;
    EXPECT_FALSE(data.IsAdfsystem(&s.engine, u"Hyades.1"));
    EXPECT_EQ(s.engine.Commands().size(), 40u);  // the files of systems #1 to #40
    s.Object(u"AdfSystem.#40", {{u".File", u"hyades.adf"}, {u".ObjectName", u"Hyades"}});
    EXPECT_TRUE(data.IsAdfsystem(&s.engine, u"Hyades.1"));
    EXPECT_EQ(s.engine.Commands().size(), 81u);  // 40 again and the one name
    EXPECT_FALSE(data.IsAdfsystem(&s.engine, u"Pleiades.1"));
    EXPECT_EQ(s.engine.Commands().size(), 81u);  // known now: no more asking
}

TEST(Cache, AHitCostsTheSixKeyQueriesAndKeepsBothForms) {
    Sky s;
    std::string text;
    const auto built = s.Sent(u"Constellation.Ori", 1, &text);
    EXPECT_EQ(text, "オリオン座 Ori");
    // The key is read after the build, in its own order.
    EXPECT_EQ(std::vector<std::string>(built.begin() + 2, built.end()), kKeyQueries);
    // Same key, other form: built, and the title kept.
    EXPECT_GT(s.Sent(u"Constellation.Ori", 0, &text).size(), 12u);
    EXPECT_EQ(text, "オリオン座 Ori\r\n");
    EXPECT_EQ(s.Sent(u"Constellation.Ori", 1, &text), kKeyQueries);
    EXPECT_EQ(text, "オリオン座 Ori");
    // The key's replies compare without case, the observer's place exactly.
    s.Reply(u"? location", u"TOKYO(139.6917,35.6895,40)");
    EXPECT_EQ(s.Sent(u"Constellation.Ori", 0), kKeyQueries);
    s.Reply(u"? location.solar.z", u"0.390");
    EXPECT_GT(s.Sent(u"Constellation.Ori", 0).size(), 6u);
}

TEST(Cache, KeyCheckStopsAtTheFirstDifference) {
    Sky s;
    s.Sent(u"Constellation.Ori", 1);
    EXPECT_EQ(s.Sent(u"Constellation.Tau", 1).front(), "? Constellation.Tau.Name");
    s.Reply(u"? time.jd", u"2461381.5");
    const auto later = s.Sent(u"Constellation.Tau", 1);
    EXPECT_EQ(std::vector<std::string>(later.begin(), later.begin() + 2),
              (std::vector<std::string>{"? time.jd", "? Constellation.Tau.Name"}));
}

TEST(Cache, PickedStarAndCameraFramesAreNeverServedFromCache) {
    for (const char16_t* object :
         {u"STAR.XNO1", u"AngleOfView.C1", u"MosaicOfField.M", u"FieldOfViewCircle.F"}) {
        Sky s;
        // A measure block makes every text non-empty, so a kept one would show.
        s.Object(u"Measure", {{u".Visible", u"TRUE"}, {u".Connecting", u"TRUE"}});
        const auto first = s.Sent(object, 0);
        EXPECT_EQ(s.Sent(object, 0), first) << U8(object);  // all rebuilt, no key check
    }
}

TEST(Cache, ClearedByAnUnclassifiableIdentifierAndByTheAzimuthOrigin) {
    Sky s;
    for (const char16_t* clearing : {u"Nothing.Here", u""}) {
        s.Sent(u"Constellation.Ori", 0);
        std::string text;
        s.Sent(clearing, 0, &text);
        EXPECT_EQ(text, "") << U8(clearing);
        EXPECT_TRUE(s.probe.CachedObject().IsEmpty());
    }
    EXPECT_TRUE(s.probe.GetText(nullptr, u"Constellation.Ori", 0).IsEmpty());
    for (int flag : {0, 1}) {
        s.Sent(u"Constellation.Ori", 0);
        s.probe.SetOriginNorth(flag);
        EXPECT_TRUE(s.probe.CachedObject().IsEmpty()) << flag;
    }
}

TEST(Dispatch, HostPlanetFormIsRewrittenForEveryQueryAndTheKey) {
    // "star.<host>.Planet.<name>" is the engine's "star.ExtraSolarPlanet.<host><name>".
    Sky s;
    s.Sent(u"STAR.HD209458.planet.b", 0);
    EXPECT_EQ(U8(s.probe.CurrentObject()), "star.ExtraSolarPlanet.HD209458b");
    EXPECT_EQ(U8(s.probe.CachedObject()), "star.ExtraSolarPlanet.HD209458b");
    for (const CString& command : s.engine.Commands()) EXPECT_LT(command.Find(u"lanet.b"), 0);
    EXPECT_TRUE(s.Asked(u"? star.ExtraSolarPlanet.HD209458b.OrbitalPeriod"));
    // Other star forms keep their identifier.
    s.Sent(u"star.GCVS.R_Leo", 0);
    EXPECT_EQ(U8(s.probe.CurrentObject()), "star.GCVS.R_Leo");
}
