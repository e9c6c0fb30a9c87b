// The measuring-line block that closes every full text.
#include <gtest/gtest.h>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"

namespace {

struct Ends {
    const char16_t *ra0, *dec0, *ra1, *dec1, *lambda0, *beta0, *lambda1, *beta1;
};

std::string Measure(const Ends& e, int disp_azmth, const char16_t* visible = u"TRUE",
                    const char16_t* connecting = u"true") {
    CReplayEngine engine;
    engine.SetReply(u"? Measure.Visible", visible);
    engine.SetReply(u"? Measure.Connecting", connecting);
    engine.SetReply(u"? Measure.Origin.position.EquatorialDateApp.RA", e.ra0);
    engine.SetReply(u"? Measure.Origin.position.EquatorialDateApp.DEC", e.dec0);
    engine.SetReply(u"? Measure.End.position.EquatorialDateApp.RA", e.ra1);
    engine.SetReply(u"? Measure.End.position.EquatorialDateApp.DEC", e.dec1);
    engine.SetReply(u"? Measure.Origin.position.EclipticDateApp.Lambda", e.lambda0);
    engine.SetReply(u"? Measure.Origin.position.EclipticDateApp.Beta", e.beta0);
    engine.SetReply(u"? Measure.End.position.EclipticDateApp.Lambda", e.lambda1);
    engine.SetReply(u"? Measure.End.position.EclipticDateApp.Beta", e.beta1);
    // Equatorial points have no lines of their own with every setting off.
    CCdStatus status;
    for (const auto& f : CCdStatus::Fields()) status.*(f.member) = 0;
    status.CnsInfo = 1;
    status.DispAzmth = disp_azmth;
    CLumClickData data;
    data.SetStatus(&status);
    engine.SetReply(u"? Equatorial(1,2).Position.Constellation", u"Ori");
    const std::string text = U8(data.GetText(&engine, u"Equatorial(1,2)", 0));
    const std::string heading = " \r\n";  // the empty constellation names
    EXPECT_EQ(text.rfind(heading, 0), 0u) << text;
    return text.substr(heading.size());
}

// Arcturus to Spica (Meeus, Astronomical Algorithms, example 17.a):
// 32.7930 degrees apart.
const Ends kArcturusSpica = {u"14.261028", u"19.1825", u"13.419889", u"-11.1614",
                             u"204.2",     u"30.7",    u"203.8",     u"-2.05"};

}  // namespace

TEST(MeasureBlock, OnlyWhileTheLineIsShownAndConnected) {
    EXPECT_EQ(Measure(kArcturusSpica, 1, u"FALSE", u"TRUE"), "");
    EXPECT_EQ(Measure(kArcturusSpica, 1, u"TRUE", u"FALSE"), "");
    EXPECT_EQ(Measure(kArcturusSpica, 1, u"", u"TRUE"), "");
}

TEST(MeasureBlock, DifferencesPositionAngleAndDistance) {
    EXPECT_EQ(Measure(kArcturusSpica, 0),
              "赤経差 -00h50m28.1s  赤緯差 -030ﾟ20'38\"\r\n"
              "黄経差 -000ﾟ24'00\"   黄緯差 -032ﾟ45'00\"\r\n");
    // With the position angle the block ends without a line end.
    const std::string text = Measure(kArcturusSpica, 1);
    EXPECT_EQ(text.rfind("赤経差 -00h50m28.1s", 0), 0u);
    // Spica lies south-south-west of Arcturus, 32.7930 degrees away.
    const std::string tail = text.substr(text.find("位置角"));
    EXPECT_EQ(tail.rfind("位置角  203ﾟ", 0), 0u) << tail;
    EXPECT_EQ(tail.substr(tail.find("   角距離")), "   角距離  032ﾟ47'35\"") << tail;
}

TEST(MeasureBlock, SignsOfDifferences) {
    // Across 0h the subtraction is not wrapped: the line shows it as drawn.
    const Ends across = {u"23.9", u"0", u"0.1", u"0", u"10", u"5", u"10", u"5"};
    EXPECT_EQ(Measure(across, 0),
              "赤経差 -23h48m00.0s  赤緯差 +000ﾟ00'00\"\r\n"
              "黄経差 +000ﾟ00'00\"   黄緯差 +000ﾟ00'00\"\r\n");
    // Missing replies read as 0.
    const Ends missing = {u"", u"", u"1", u"*", u"", u"", u"", u"-1"};
    EXPECT_EQ(Measure(missing, 0),
              "赤経差 +01h00m00.0s  赤緯差 +000ﾟ00'00\"\r\n"
              "黄経差 +000ﾟ00'00\"   黄緯差 -001ﾟ00'00\"\r\n");
}
