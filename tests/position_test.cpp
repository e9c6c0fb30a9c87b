// The position block, through the replay engine.
#include <gtest/gtest.h>

#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"

namespace {

class PositionProbe : public CLumClickData {
  public:
    void SetObject(const CString& object, int type) {
        m_object = object;
        m_type = type;
    }
    std::string Block(CCorLum* engine, int level) { return U8(GetPosString(engine, level)); }
};

// Betelgeuse-like replies for every line of the block.
struct Fixture {
    CReplayEngine engine;
    CCdStatus status;
    PositionProbe data;

    Fixture() {
        for (const auto& f : CCdStatus::Fields()) status.*(f.member) = 0;
        data.SetStatus(&status);
        data.SetObject(u"Star.Hip27989", CLumClickData::kStar);
        const std::pair<const char16_t*, const char16_t*> replies[] = {
            {u".position.RA", u"5.919529"},
            {u".position.DEC", u"7.407064"},
            {u".position.EquatorialDateApp.RA", u"5.9402"},
            {u".position.EquatorialDateApp.DEC", u"7.40995"},
            {u".position.EquatorialB1950.RA", u"5.87476"},
            {u".position.EquatorialB1950.DEC", u"7.39906"},
            {u".position.Ecliptical.Lambda", u"89.1"},
            {u".position.Ecliptical.Beta", u"-16.0275"},
            {u".position.EclipticDateApp.Lambda", u"89.1001"},
            {u".position.EclipticDateApp.Beta", u"-16.0275"},
            {u".position.EclipticJ2000.Lambda", u"88.7929"},
            {u".position.EclipticJ2000.Beta", u"-16.0276"},
            {u".position.Galactical.Longitude", u"199.7873"},
            {u".position.Galactical.Latitude", u"-8.9586"},
            {u".position.Azimuth", u"10"},
            {u".position.Altitude", u"45"},
            {u".Jd.Rise", u"2461380.9"},
            {u".Jd.Transit", u"2461381.2"},
            {u".Jd.Set", u"*"},
        };
        for (const auto& [suffix, reply] : replies) {
            engine.SetReply(CString(u"? Star.Hip27989") + suffix, reply);
        }
        engine.SetReply(u"? time.jd", u"2461380.5");
        engine.SetReply(u"? location.longitude", u"139.6917");
        engine.SetReply(u"? Time.Timezone", u"9");
    }
    void On(int CCdStatus::*field) { status.*field = 1; }
    std::string Block(int level) { return data.Block(&engine, level); }
};

}  // namespace

TEST(PositionBlock, EmptyWithEveryLineOff) {
    Fixture f;
    EXPECT_EQ(f.Block(2), "");
    EXPECT_TRUE(f.engine.Commands().size() == 1u);  // only the view projection
}

TEST(PositionBlock, CoordinateLinesAtLevelTwo) {
    Fixture f;
    for (auto field : {&CCdStatus::DispEqt2000, &CCdStatus::DispEqtDateApp, &CCdStatus::DispEqt1950,
                       &CCdStatus::DispEclDateMean, &CCdStatus::DispEclDateApp,
                       &CCdStatus::DispEcl2000, &CCdStatus::DispGal}) {
        f.On(field);
    }
    EXPECT_EQ(f.Block(2),
              "赤経 05h55m10.3s  赤緯 +07ﾟ24'25\" (J2000)\r\n"
              "赤経 05h56m24.7s  赤緯 +07ﾟ24'36\" (視位置)\r\n"
              "赤経 05h52m29.1s  赤緯 +07ﾟ23'57\" (B1950)\r\n"
              "黄経 089ﾟ06'00\"   黄緯 -16ﾟ01'39\" (平均位置)\r\n"
              "黄経 089ﾟ06'00\"   黄緯 -16ﾟ01'39\" (視位置)\r\n"
              "黄経 088ﾟ47'34\"   黄緯 -16ﾟ01'39\" (J2000)\r\n"
              "銀経 199ﾟ47'14\"   銀緯 -08ﾟ57'31\"\r\n");
}

TEST(PositionBlock, AlignmentBlanksKeepColumnsWithTheJ2000Line) {
    // Line 2 is one level coarser than line 1; the blanks make up the width.
    const struct {
        int level, precision;
        const char* expected;
    } cases[] = {
        {3, 0,
         "赤経 05h55m10.30s  赤緯 +07ﾟ24'25.4\" (J2000)\r\n"
         "赤経 05h56m24.7s   赤緯 +07ﾟ24'36\"   (視位置)\r\n"
         "黄経 089ﾟ06'00\"    黄緯 -16ﾟ01'39\"   (平均位置)\r\n"},
        {4, 0,
         "赤経 05h55m10.304s  赤緯 +07ﾟ24'25.43\" (J2000)\r\n"
         "赤経 05h56m24.72s   赤緯 +07ﾟ24'35.8\"  (視位置)\r\n"
         "黄経 089ﾟ06'00.0\"   黄緯 -16ﾟ01'39.0\"  (平均位置)\r\n"},
        {2, 0,
         "赤経 05h55m10.3s  赤緯 +07ﾟ24'25\" (J2000)\r\n"
         "赤経 05h56m24.7s  赤緯 +07ﾟ24'36\" (視位置)\r\n"
         "黄経 089ﾟ06'00\"   黄緯 -16ﾟ01'39\" (平均位置)\r\n"},
        // The Precision setting makes every line level 1: no blanks needed.
        {3, 1,
         "赤経 05h55.2m  赤緯 +07ﾟ24' (J2000)\r\n"
         "赤経 05h56.4m  赤緯 +07ﾟ25' (視位置)\r\n"
         "黄経 089ﾟ06'   黄緯 -16ﾟ02' (平均位置)\r\n"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.On(&CCdStatus::DispEqt2000);
        f.On(&CCdStatus::DispEqtDateApp);
        f.On(&CCdStatus::DispEclDateMean);
        f.status.Precision = c.precision;
        EXPECT_EQ(f.Block(c.level), c.expected) << c.level << " " << c.precision;
    }
}

TEST(PositionBlock, GroundLinesAreLeftOutInTheSolarSystemViewAndOffTheEarth) {
    for (int variant = 0; variant < 2; ++variant) {
        Fixture f;
        for (const auto& field : CCdStatus::Fields()) {
            if (field.kind == CCdStatus::Kind::Flag) f.status.*(field.member) = 1;
        }
        if (variant == 0) {
            f.engine.SetReply(u"? View.Projection", u"solarsystem");
        } else {
            f.data.SetNotEarth(1);
        }
        const std::string block = f.Block(2);
        EXPECT_NE(block.find("(J2000)"), std::string::npos);
        EXPECT_NE(block.find("(B1950)"), std::string::npos);
        EXPECT_NE(block.find("銀経"), std::string::npos);
        EXPECT_EQ(block.find("(視位置)\r\n赤経"), std::string::npos)
            << block;  // no apparent RA/Dec
        EXPECT_EQ(block.find("方位"), std::string::npos);
        EXPECT_EQ(block.find("時角"), std::string::npos);
        EXPECT_EQ(block.find("南中"), std::string::npos);
    }
}

TEST(PositionBlock, HorizonLines) {
    const struct {
        const char16_t* azimuth;
        const char16_t* altitude;
        int precision, origin_north, level;
        const char* expected;
    } cases[] = {
        {u"10", u"45", 0, 0, 2,
         "方位  10.000ﾟ     高度  45.000ﾟ\r\n標準大気差補正済み高度  45.017ﾟ\r\n"},
        // North origin turns the azimuth half round and says so.
        {u"10", u"45", 0, 1, 2,
         "方位 190.000ﾟ     高度  45.000ﾟ   (北原点)\r\n標準大気差補正済み高度  45.017ﾟ\r\n"},
        {u"350", u"45", 0, 1, 3,
         "方位 170.000ﾟ      高度  45.000ﾟ     (北原点)\r\n標準大気差補正済み高度  45.017ﾟ\r\n"},
        {u"10", u"45", 0, 0, 4,
         "方位  10.000ﾟ       高度  45.000ﾟ\r\n標準大気差補正済み高度  45.017ﾟ\r\n"},
        {u"10", u"45", 1, 1, 3,
         "方位 190.0ﾟ    高度  45.0ﾟ  (北原点)\r\n標準大気差補正済み高度  45.0ﾟ\r\n"},
        // No value: placeholders of the chosen form.
        {u"*", u"*", 0, 0, 2,
         "方位   -.---ﾟ    高度   -.---ﾟ\r\n標準大気差補正済み高度   -.---ﾟ\r\n"},
        {u"*", u"*", 1, 0, 2, "方位   -.-ﾟ    高度   -.-ﾟ\r\n標準大気差補正済み高度   -.-ﾟ\r\n"},
        // Deep below the horizon the refraction model means nothing.
        {u"10", u"-10", 0, 0, 2,
         "方位  10.000ﾟ     高度 -10.000ﾟ\r\n標準大気差補正済み高度 < -3.000ﾟ\r\n"},
        {u"10", u"-10", 1, 0, 2,
         "方位  10.0ﾟ    高度 -10.0ﾟ\r\n標準大気差補正済み高度 < -3.0ﾟ\r\n"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.On(&CCdStatus::DispHrz);
        f.status.Precision = c.precision;
        f.data.SetOriginNorth(c.origin_north);
        f.engine.SetReply(u"? Star.Hip27989.position.Azimuth", c.azimuth);
        f.engine.SetReply(u"? Star.Hip27989.position.Altitude", c.altitude);
        EXPECT_EQ(f.Block(c.level), c.expected) << U8(c.azimuth) << " " << c.level;
    }
}

TEST(PositionBlock, HourAngleCarriesAndSign) {
    // The right ascension is chosen so that the hour angle is exactly H.
    const double jd = 2461380.5, longitude = 139.6917;
    const double lst = vexacl::GetLst(jd, longitude);
    const struct {
        double hour_angle_deg;
        int precision;
        const char* expected;
    } cases[] = {
        {-22.5, 1, "時角 -01h30m (-22.5ﾟ)\r\n"},
        {-22.5, 0, "時角 -01h30m00s (-22.500ﾟ)\r\n"},
        {30.0, 0, "時角 02h00m00s (30.000ﾟ)\r\n"},
        // 0h59m59.6s: the seconds round up into a full hour.
        {(59.0 / 60.0 + 59.6 / 3600.0) * 15.0, 0, "時角 01h00m00s (14.998ﾟ)\r\n"},
        // 0h59m31s at minute precision: the minutes carry into the hour.
        {(59.0 / 60.0 + 31.0 / 3600.0) * 15.0, 1, "時角 01h00m (14.9ﾟ)\r\n"},
        {-179.0, 0, "時角 -11h56m00s (-179.000ﾟ)\r\n"},
        {179.0, 0, "時角 11h56m00s (179.000ﾟ)\r\n"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.On(&CCdStatus::DispHourAngle);
        f.status.Precision = c.precision;
        CString ra;
        ra.Format(u"%.12f", vexacl::degmal(lst - c.hour_angle_deg) / 15.0);
        f.engine.SetReply(u"? Star.Hip27989.position.EquatorialDateApp.RA", ra);
        EXPECT_EQ(f.Block(2), c.expected) << c.hour_angle_deg;
    }
    // No value, no property, or no number of hours.
    for (const char16_t* missing : {u"*", u"", u"1e999"}) {
        Fixture f;
        f.On(&CCdStatus::DispHourAngle);
        f.engine.SetReply(u"? Star.Hip27989.position.EquatorialDateApp.RA", missing);
        EXPECT_EQ(f.Block(2), "時角 --h--m--s = -.---ﾟ\r\n");
        f.status.Precision = 1;
        EXPECT_EQ(f.Block(2), "時角 --h--m = -.-ﾟ\r\n");
    }
}

TEST(PositionBlock, RiseTransitSetInTheEngineZone) {
    Fixture f;
    f.On(&CCdStatus::DispRiseSet);
    // JD .9 = 09:36 UT = 18:36 JST; .2 of the next day = 16:48 UT = 01:48 JST.
    EXPECT_EQ(f.Block(2), "出 18:36 南中 01:48 没 --:--\r\n");

    // Artificial satellites and spacecraft have no such line.
    f.data.SetObject(u"ArtificialSatellite.25544", CLumClickData::kArtificialSatellite);
    EXPECT_EQ(f.Block(2), "");
    f.data.SetObject(u"Solar.Spacecraft.Hayabusa2", CLumClickData::kSolar);
    EXPECT_EQ(f.Block(2), "");
    f.data.SetObject(u"Solar.Planet.Mars", CLumClickData::kSolar);
    f.engine.SetReply(u"? Solar.Planet.Mars.Jd.Rise", u"*");
    f.engine.SetReply(u"? Solar.Planet.Mars.Jd.Transit", u"*");
    EXPECT_EQ(f.Block(2), "出 --:-- 南中 --:-- 没 \r\n");
}
