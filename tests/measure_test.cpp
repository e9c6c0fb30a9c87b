// The measuring-line block that closes every full text.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

// The block under the text of a point of the sky (an empty heading, no
// lines of its own): apparent RA (hours) and Dec, then apparent ecliptic
// longitude and latitude (degrees), of the line's origin and end.
std::string Measure(const char16_t* const (&ends)[8], int position_angle,
                    const char16_t* visible = u"TRUE", const char16_t* connecting = u"true") {
    TextFixture s({&CCdStatus::CnsInfo});
    s.status.DispAzmth = position_angle;
    s.Object(u"Measure", {{u".Visible", visible},
                          {u".Connecting", connecting},
                          {u".Origin.position.EquatorialDateApp.RA", ends[0]},
                          {u".Origin.position.EquatorialDateApp.DEC", ends[1]},
                          {u".End.position.EquatorialDateApp.RA", ends[2]},
                          {u".End.position.EquatorialDateApp.DEC", ends[3]},
                          {u".Origin.position.EclipticDateApp.Lambda", ends[4]},
                          {u".Origin.position.EclipticDateApp.Beta", ends[5]},
                          {u".End.position.EclipticDateApp.Lambda", ends[6]},
                          {u".End.position.EclipticDateApp.Beta", ends[7]}});
    return s.Text(u"Equatorial(1,2)").substr(std::string(" \r\n").size());
}

// Arcturus to Spica (Meeus, Astronomical Algorithms, example 17.a):
// 32.7930 degrees apart.
const char16_t* const kArcturusSpica[8] = {u"14.261028", u"19.1825", u"13.419889", u"-11.1614",
                                           u"204.2",     u"30.7",    u"203.8",     u"-2.05"};

}  // namespace

TEST(MeasureBlock, OnlyWhileTheLineIsShownAndConnected) {
    EXPECT_EQ(Measure(kArcturusSpica, 1, u"FALSE", u"TRUE"), "");
    EXPECT_EQ(Measure(kArcturusSpica, 1, u"TRUE", u"FALSE"), "");
    EXPECT_EQ(Measure(kArcturusSpica, 1, u"", u"TRUE"), "");
}

TEST(MeasureBlock, DifferencesPositionAngleAndDistance) {
    // Spica lies south-south-west of Arcturus, 32.7930 degrees away, at a
    // position angle of 203.3084 degrees (atan2(sin da, cos d1 tan d2 -
    // sin d1 cos da), Meeus 48.5); with them the block ends without a line end.
    EXPECT_EQ(Measure(kArcturusSpica, 1),
              "赤経差 -00h50m28.1s  赤緯差 -030ﾟ20'38\"\r\n"
              "黄経差 -000ﾟ24'00\"   黄緯差 -032ﾟ45'00\"\r\n"
              "位置角  203ﾟ18'30\"   角距離  032ﾟ47'35\"");
    // Across 0h the subtraction is not wrapped: the line shows it as drawn.
    EXPECT_EQ(Measure({u"23.9", u"0", u"0.1", u"0", u"10", u"5", u"10", u"5"}, 0),
              "赤経差 -23h48m00.0s  赤緯差 +000ﾟ00'00\"\r\n黄経差 +000ﾟ00'00\"   黄緯差 "
              "+000ﾟ00'00\"\r\n");
    // Missing replies read as 0.
    EXPECT_EQ(Measure({u"", u"", u"1", u"*", u"", u"", u"", u"-1"}, 0),
              "赤経差 +01h00m00.0s  赤緯差 +000ﾟ00'00\"\r\n黄経差 +000ﾟ00'00\"   黄緯差 "
              "-001ﾟ00'00\"\r\n");
}
