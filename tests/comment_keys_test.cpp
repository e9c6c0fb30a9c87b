// Comment keys and gallery search keys, asked of the replay engine.
#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

struct CommentKeyTest : TextFixture {
    CommentKeyTest() {
        Object(u"Star.HIP27989", {{u".FlamsteedNumber", u"58"},
                                  {u".BayerLetter", u"α"},
                                  {u".Constellation.Abbreviation", u"Ori"}});
        Object(u"Star.HIP26727", {{u".FlamsteedNumber", u"50"},
                                  {u".Constellation.Abbreviation", u"Ori"},
                                  {u".HipparcosNumber", u"26727"}});
        Object(u"Star.HIP100", {{u".BayerLetter", u"*"},
                                {u".Constellation.Abbreviation", u"Ori"},
                                {u".HipparcosNumber", u"100"}});
        Object(u"Star.HD5", {{u".Constellation.Abbreviation", u"Ori"}});
        Object(u"star.No3", {{u".BayerLetter", u"α"}, {u".Constellation.Abbreviation", u"Sco"}});
        Object(u"Equatorial(5.5,-5.4)", {{u".Position.Constellation", u"Orion"}});
        Object(u"Constellation.Orion", {{u".Abbreviation", u"Ori"}});
        Object(u"Constellation.Ori", {{u".Abbreviation", u"Ori"}});
        Object(u"Solar.Comet.Halley", {{u".ID", u"1P"}});
        Object(u"Solar.MinorPlanet.Ceres", {{u".ID", u"1"}});
        Object(u"DeepSky.M42", {{u".Number", u"NGC 1976"}});
        Object(u"deepskyobject.Pgc2557", {{u".Number", u"  "}});
        Object(u"ArtificialSatellite.ISS", {{u".Number", u"25544"}});
        Object(u"Meteor.Geminids", {{u".Name", u"ふたご座流星群"}});
        Object(u"Adf.#2.No7", {{u".Name", u"θ1 Tau"}});
        Reply(u"? AdfSystem.#2.File", u"hyades.adf");
        Reply(u"? AdfSystem.#2.ObjectName", u"Hyades");
        Object(u"Adf.#2", {{u".ObjectName", u"Hyades"}});
        Object(u"Adf.#2.No7", {{u".Label", u"7"}});
        Object(u"Hyades.7", {{u".Name", u"vB 71"}});
    }
};

}  // namespace

TEST(CommentKeys, OfEveryKindOfObject) {
    CommentKeyTest f;
    const struct {
        const char16_t* object;
        int cns_info;
        const char* key;
        int enabled;
    } cases[] = {
        {u"Star.HIP27989", 0, "STAR αOri", 1},
        {u"Star.HIP26727", 0, "STAR 50Ori", 1},
        {u"Star.HIP100", 0, "STAR HIP100", 1},  // no designation: its own number
        {u"Star.HD5", 0, "", 0},                // not "STAR Ori", shared by many
        {u"star.Xno0", 0, "", 0},
        {u"star.No3", 0, "STAR αSco", 0},
        {u"Star.GCVS.R_Leo", 0, "GCVS R_Leo", 1},
        {u"Star.WDS.05353.0523.1", 0, "WDS 05353.0523.1", 1},
        {u"Constellation.Ori", 0, "CONS Ori", 1},
        {u"Equatorial(5.5,-5.4)", 1, "CONS Ori", 1},
        {u"Equatorial(5.5,-5.4)", 0, "", 0},
        {u"Solar.Planet.Earth", 0, "MOON", 1},
        {u"Solar.Planet.Earth.Satellite.Moon", 0, "MOON", 1},
        {u"solar.planet.mars", 0, "MARS", 1},
        {u"Solar.Planet.Jupiter.Satellite.Io", 0, "IO", 1},
        {u"Solar.Sun", 0, "SUN", 1},
        {u"Solar.Comet.Halley", 0, "COMET 1P", 1},
        {u"Solar.MinorPlanet.Ceres", 0, "MINORPLANET 1", 1},
        {u"Solar.Spacecraft.Hayabusa2", 0, "SPACECRAFT Hayabusa2", 1},
        {u"Solar.Lagrange.L1", 0, "", 0},
        {u"DeepSky.M42", 0, "NEBULA NGC1976", 1},
        {u"deepskyobject.Pgc2557", 0, "", 0},
        {u"MagellanicCloud.Large", 0, "LMC", 1},
        {u"MagellanicCloud.Small", 0, "SMC", 1},
        {u"ArtificialSatellite.ISS", 0, "ASAT 25544", 1},
        {u"Meteor.Geminids", 0, "METEOR ふたご流星群", 1},
        {u"Adf.#2.No7", 0, "AD \"θ1 Tau\"", 1},
        {u"Hyades.7", 0, "AD \"vB 71\"", 1},
        {u"FieldOfViewCircle.#1", 0, "FIELD \"VIEW\"", 1},
        {u"AngleOfView.#1", 0, "FIELD \"PHOTO\"", 1},
        {u"MosaicOfField.#1", 0, "", 0},
        {u"DeepSkyImage.M42", 0, "", 0},
        {u"Nowhere.1", 0, "", 0},
    };
    for (const auto& c : cases) {
        f.status.CnsInfo = c.cns_info;
        EXPECT_EQ(U8(f.data.StkToCdf(&f.engine, c.object)), c.key) << U8(c.object);
        EXPECT_EQ(f.data.IsCommentEnable(&f.engine, c.object), c.enabled) << U8(c.object);
    }
}
