// Artificial-satellite and meteor-radiant texts through the replay engine,
// and the search for the date of a solar longitude.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

using Sky = TextFixture;

const char16_t kIss[] = u"ArtificialSatellite.25544";
const char16_t kPerseids[] = u"Meteor.Perseids";

// Julian Day (UT) of a UT calendar instant.
double Jd(int y, int mo, int d, int h, int mi) {
    return vexacl::GetJd(tagADATE{y, mo, d, h, mi, 0.0, 0.0});
}

}  // namespace

TEST(SatelliteText, TitleNameFallbackAndLines) {
    Sky s;
    s.Object(kIss, {{u".Number", u"25544"}});
    EXPECT_EQ(s.Text(kIss, 1), " (25544)");  // neither name
    s.Object(kIss, {{u".TLEName", u"ISS (ZARYA)"}});
    EXPECT_EQ(s.Text(kIss, 1), "ISS (ZARYA) (25544)");
    s.Object(kIss, {{u".Name", u"ISS"}});
    s.status.DispDistR = 1;
    s.Object(kIss, {{u".GeocentricDistance", u"6791.4"}, {u".TopocentricDistance", u"1234.6"}});
    EXPECT_EQ(s.Text(kIss), "ISS (25544)\r\n地心距離 6791 km\r\n測心距離 1235 km\r\n");
}

TEST(SatelliteText, ElementEpoch) {
    const std::string first = "2018年01月02日12時00分00.000000秒(UTC)\r\n";
    const struct {
        const char16_t* reply;
        std::string lines;
    } cases[] = {
        {u"2458121.0", "元期 " + first},
        {u"2458121.0, 2458121.75",
         "元期(1) " + first + "元期(2) 2018年01月03日06時00分00.000000秒(UTC)\r\n"},
        {u" , 2458121.0", "元期 " + first},
        {u"0, -1", ""},
        {u"1e300", ""},  // beyond the calendar
    };
    for (const auto& c : cases) {
        Sky s;
        s.Object(kIss, {{u".Element.JulianEpoch", c.reply}});
        EXPECT_EQ(s.Text(kIss), " ()\r\n" + c.lines) << U8(c.reply);
    }
}

TEST(SatelliteText, SubSatellitePointRoundsToTheSecond) {
    // Degrees to d m s by hand: 139.6916667 = 139 41' 30"; 139.69999 is
    // 139 41' 59.96", which rounds up into the next minute; 35.9999 = 35 59'
    // 59.64", up into the next degree.
    const struct {
        const char16_t *longitude, *latitude;
        const char* line;
    } cases[] = {
        {u"139.6916667", u"35.6894444", "東経139ﾟ41'30\" 北緯35ﾟ41'22\""},
        {u"139.69999", u"-35.9999", "東経139ﾟ42'00\" 南緯36ﾟ00'00\""},
        {u"-0.0001", u"nan", "西経  0ﾟ00'00\" 北緯 0ﾟ00'00\""},
    };
    for (const auto& c : cases) {
        Sky s;
        s.status.PlanetPhysicalTable = 1;
        s.Object(kIss, {{u".LLA.Longitude", c.longitude},
                        {u".LLA.Latitude", c.latitude},
                        {u".LLA.Altitude", u"408123"}});
        EXPECT_NE(s.Text(kIss).find(std::string("直下点 ") + c.line + "\r\n高度 408.1 km\r\n"),
                  std::string::npos)
            << s.Text(kIss);
    }
}

TEST(MeteorText, TitleAndDateOfTheMaximum) {
    // The Sun's longitude at 2026-08-12 23:00 UT is the peak's.
    double earth = 0.0;
    vexacl::CalcPlanetLbr(vexacl::kBodyEarth, vexacl::UtToDt(Jd(2026, 8, 12, 23, 0)), &earth,
                          nullptr);
    CString peak;
    peak.Format(u"%.6f", vexacl::degmal(earth + 180.0));
    const struct {
        const char* zone;
        const char16_t* peak;
        const char* line;
    } cases[] = {
        {"9", peak.GetString(), "極大日 8月13日頃\r\n"},
        {"-9", peak.GetString(), "極大日 8月12日頃\r\n"},
        {"9", u"*", ""},  // no peak, no date
    };
    for (const auto& c : cases) {
        Sky s;
        std::string error;
        ASSERT_TRUE(s.engine.LoadText(
            std::string("? LST(Time.Year)\t2026\n? LST(Time.Month)\t7\n? Time.Timezone\t") + c.zone,
            &error));
        s.Object(kPerseids, {{u".Name", u"ペルセウス座"}, {u".LambdaOfPeak", c.peak}});
        EXPECT_EQ(s.Text(kPerseids, 1), "ペルセウス座流星群の放射点");
        EXPECT_EQ(s.Text(kPerseids), std::string("ペルセウス座流星群の放射点\r\n") + c.line);
    }
}
