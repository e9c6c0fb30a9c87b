// The hour angle of the position block, from right ascensions worked out
// for exact hour angles; the other lines are cases of tests/data/texts.cases.
#include <gtest/gtest.h>

#include "host/vexacl.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

TEST(PositionBlock, HourAngleCarriesAndSign) {
    const double lst = vexacl::GetLst(2461380.5, 139.6917);  // degrees
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
        CString ra;
        ra.Format(u"%.12f", vexacl::degmal(lst - c.hour_angle_deg) / 15.0);
        const char* placeholder =
            c.precision ? "時角 --h--m = -.-ﾟ\r\n" : "時角 --h--m--s = -.---ﾟ\r\n";
        // No value, no property, or no number of hours: the placeholder.
        for (const auto& [reply, line] :
             {std::pair{ra.GetString(), c.line}, std::pair{u"*", placeholder},
              std::pair{u"", placeholder}, std::pair{u"1e999", placeholder}}) {
            TextFixture s({&CCdStatus::DispHourAngle});
            s.status.Precision = c.precision;
            s.Object(u"Star.Hip1",
                     {{u".JapaneseName", u"名"}, {u".position.EquatorialDateApp.RA", reply}});
            s.Reply(u"? time.jd", u"2461380.5");
            s.Reply(u"? location.longitude", u"139.6917");
            EXPECT_EQ(s.Text(u"Star.Hip1"), std::string("恒星 名 \r\n") + line)
                << c.hour_angle_deg << " " << U8(reply);
        }
    }
}
