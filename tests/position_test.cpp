// The position block of a star, through the replay engine.
#include <gtest/gtest.h>

#include "host/vexacl.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

const char16_t kStar[] = u"Star.Hip27989";

// Betelgeuse-like replies for every line of the block, and the lines under
// the heading of its text.
struct Block : TextFixture {
    explicit Block(std::initializer_list<int CCdStatus::*> on) : TextFixture(on) {
        Object(kStar, {{u".JapaneseName", u"B"},
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
                       {u".Jd.Set", u"*"}});
        Reply(u"? time.jd", u"2461380.5");
        Reply(u"? location.longitude", u"139.6917");
        Reply(u"? Time.Timezone", u"9");
    }
    // A star's block is at level 3, or 4 with the very-high-precision option.
    std::string Lines() { return Text(kStar).substr(std::string("恒星 B \r\n").size()); }
};

}  // namespace

TEST(PositionBlock, CoordinateLinesAndTheirColumns) {
    // Lines one level coarser than the J2000 line carry blanks that keep
    // its columns (none while Precision makes every line level 1).  The
    // very-high-precision option prints every line at level 4.
    const struct {
        bool very_high;
        int precision;
        const char* lines;
    } cases[] = {
        {false, 0,
         "赤経 05h55m10.30s  赤緯 +07ﾟ24'25.4\" (J2000)\r\n"
         "赤経 05h56m24.7s   赤緯 +07ﾟ24'36\"   (視位置)\r\n"
         "赤経 05h52m29.1s   赤緯 +07ﾟ23'57\"   (B1950)\r\n"
         "黄経 089ﾟ06'00\"    黄緯 -16ﾟ01'39\"   (平均位置)\r\n"
         "黄経 089ﾟ06'00\"    黄緯 -16ﾟ01'39\"   (視位置)\r\n"
         "黄経 088ﾟ47'34\"    黄緯 -16ﾟ01'39\"   (J2000)\r\n"
         "銀経 199ﾟ47'14\"    銀緯 -08ﾟ57'31\"\r\n"},
        {true, 0,
         "赤経 05h55m10.304s  赤緯 +07ﾟ24'25.43\" (J2000)\r\n"
         "赤経 05h56m24.720s   赤緯 +07ﾟ24'35.82\"   (視位置)\r\n"
         "赤経 05h52m29.136s   赤緯 +07ﾟ23'56.62\"   (B1950)\r\n"
         "黄経 089ﾟ06'00.00\"    黄緯 -16ﾟ01'39.00\"   (平均位置)\r\n"
         "黄経 089ﾟ06'00.36\"    黄緯 -16ﾟ01'39.00\"   (視位置)\r\n"
         "黄経 088ﾟ47'34.44\"    黄緯 -16ﾟ01'39.36\"   (J2000)\r\n"
         "銀経 199ﾟ47'14.28\"    銀緯 -08ﾟ57'30.96\"\r\n"},
        {false, 1,
         "赤経 05h55.2m  赤緯 +07ﾟ24' (J2000)\r\n"
         "赤経 05h56.4m  赤緯 +07ﾟ25' (視位置)\r\n"
         "赤経 05h52.5m  赤緯 +07ﾟ24' (B1950)\r\n"
         "黄経 089ﾟ06'   黄緯 -16ﾟ02' (平均位置)\r\n"
         "黄経 089ﾟ06'   黄緯 -16ﾟ02' (視位置)\r\n"
         "黄経 088ﾟ48'   黄緯 -16ﾟ02' (J2000)\r\n"
         "銀経 199ﾟ47'   銀緯 -08ﾟ58'\r\n"},
    };
    for (const auto& c : cases) {
        Block b({&CCdStatus::DispEqt2000, &CCdStatus::DispEqtDateApp, &CCdStatus::DispEqt1950,
                 &CCdStatus::DispEclDateMean, &CCdStatus::DispEclDateApp, &CCdStatus::DispEcl2000,
                 &CCdStatus::DispGal});
        b.status.Precision = c.precision;
        b.data.SetExtraOption(c.very_high);
        EXPECT_EQ(b.Lines(), c.lines) << c.very_high << " " << c.precision;
    }
}

TEST(PositionBlock, GroundLinesAreLeftOutInTheSolarSystemViewAndOffTheEarth) {
    for (int variant = 0; variant < 2; ++variant) {
        Block b({&CCdStatus::DispEqt2000, &CCdStatus::DispEqtDateApp, &CCdStatus::DispHrz,
                 &CCdStatus::DispHourAngle, &CCdStatus::DispRiseSet});
        if (variant == 0) b.Reply(u"? View.Projection", u"solarsystem");
        if (variant == 1) b.data.SetNotEarth(1);
        EXPECT_EQ(b.Lines(), "赤経 05h55m10.30s  赤緯 +07ﾟ24'25.4\" (J2000)\r\n") << variant;
    }
}

TEST(PositionBlock, HorizonLines) {
    const struct {
        const char16_t *azimuth, *altitude;
        int precision, origin_north;
        const char* lines;
    } cases[] = {
        // North origin turns the azimuth half round and says so.
        {u"350", u"45", 0, 1,
         "方位 170.000ﾟ      高度  45.000ﾟ     (北原点)\r\n標準大気差補正済み高度  45.017ﾟ\r\n"},
        {u"10", u"45", 1, 1,
         "方位 190.0ﾟ    高度  45.0ﾟ  (北原点)\r\n標準大気差補正済み高度  45.0ﾟ\r\n"},
        // No value: placeholders of the chosen form.
        {u"*", u"*", 0, 0,
         "方位   -.---ﾟ     高度   -.---ﾟ\r\n標準大気差補正済み高度   -.---ﾟ\r\n"},
        {u"*", u"*", 1, 0, "方位   -.-ﾟ    高度   -.-ﾟ\r\n標準大気差補正済み高度   -.-ﾟ\r\n"},
        // Deep below the horizon the refraction model means nothing.
        {u"10", u"-10", 0, 0,
         "方位  10.000ﾟ      高度 -10.000ﾟ\r\n標準大気差補正済み高度 < -3.000ﾟ\r\n"},
        {u"10", u"-10", 1, 0, "方位  10.0ﾟ    高度 -10.0ﾟ\r\n標準大気差補正済み高度 < -3.0ﾟ\r\n"},
    };
    for (const auto& c : cases) {
        Block b({&CCdStatus::DispHrz});
        b.status.Precision = c.precision;
        b.data.SetOriginNorth(c.origin_north);
        b.Object(kStar, {{u".position.Azimuth", c.azimuth}, {u".position.Altitude", c.altitude}});
        EXPECT_EQ(b.Lines(), c.lines) << U8(c.azimuth) << " " << c.precision;
    }
}

TEST(PositionBlock, HourAngleCarriesAndSign) {
    // The right ascension is chosen so that the hour angle is exactly H.
    const double lst = vexacl::GetLst(2461380.5, 139.6917);
    const struct {
        double hour_angle_deg;
        int precision;
        const char* line;
    } cases[] = {
        {-22.5, 1, "時角 -01h30m (-22.5ﾟ)\r\n"},
        {-22.5, 0, "時角 -01h30m00s (-22.500ﾟ)\r\n"},
        // 0h59m59.6s: the seconds round up into a full hour.
        {(59.0 / 60.0 + 59.6 / 3600.0) * 15.0, 0, "時角 01h00m00s (14.998ﾟ)\r\n"},
        // 0h59m31s at minute precision: the minutes carry into the hour.
        {(59.0 / 60.0 + 31.0 / 3600.0) * 15.0, 1, "時角 01h00m (14.9ﾟ)\r\n"},
        {179.0, 0, "時角 11h56m00s (179.000ﾟ)\r\n"},
    };
    for (const auto& c : cases) {
        Block b({&CCdStatus::DispHourAngle});
        b.status.Precision = c.precision;
        CString ra;
        ra.Format(u"%.12f", vexacl::degmal(lst - c.hour_angle_deg) / 15.0);
        b.Object(kStar, {{u".position.EquatorialDateApp.RA", ra.GetString()}});
        EXPECT_EQ(b.Lines(), c.line) << c.hour_angle_deg;
    }
    // No value, no property, or no number of hours.
    for (const char16_t* missing : {u"*", u"", u"1e999"}) {
        Block b({&CCdStatus::DispHourAngle});
        b.Object(kStar, {{u".position.EquatorialDateApp.RA", missing}});
        EXPECT_EQ(b.Lines(), "時角 --h--m--s = -.---ﾟ\r\n");
        b.status.Precision = 1;
        EXPECT_EQ(b.Lines(), "時角 --h--m = -.-ﾟ\r\n");
    }
}

TEST(PositionBlock, RiseTransitSetInTheEngineZone) {
    Block b({&CCdStatus::DispRiseSet});
    // JD .9 = 09:36 UT = 18:36 JST; .2 of the next day = 16:48 UT = 01:48 JST.
    EXPECT_EQ(b.Lines(), "出 18:36 南中 01:48 没 --:--\r\n");
    // Spacecraft (and artificial satellites) have no such line.
    b.Object(u"Solar.Spacecraft.H", {{u".JapaneseName", u"H"}, {u".Jd.Rise", u"2461380.9"}});
    EXPECT_EQ(b.Text(u"Solar.Spacecraft.H"), "H \r\n");
}
