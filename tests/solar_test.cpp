// The Moon's phases at the edges of the local day, with zones worked out
// from the phase itself; the other solar-system texts are cases of
// tests/data/texts.cases.
#include <gtest/gtest.h>

#include <string>

#include "host/vexacl.h"
#include "tests/text_fixture.h"

TEST(SolarText, MoonPhaseAtTheEdgesOfTheLocalDay) {
    const char16_t moon[] = u"Solar.Planet.Earth.Satellite.Moon";
    vexacl::tagMOONPHASE phase;  // the new moon of 2013 Jan 11, 19:44 UT (Espenak)
    ASSERT_EQ(vexacl::GetMoonPhases(tagADATE{2013, 1, 12}, &phase, 1), 1);
    const tagADATE ut = vexacl::JdToDate2(phase.jd);
    const double ut_seconds = ut.hour * 3600.0 + ut.minute * 60.0 + ut.second;
    // A zone whose local midnight starting the 12th is the phase exactly:
    // GetJd falls as the zone grows, so bisection finds one.
    tagADATE midnight{2013, 1, 12};
    for (double lo = 4.0, hi = 5.0; vexacl::GetJd(midnight) != phase.jd && hi - lo > 1e-15;) {
        midnight.zone = (lo + hi) / 2.0;
        (vexacl::GetJd(midnight) > phase.jd ? lo : hi) = midnight.zone;
    }
    ASSERT_EQ(vexacl::GetJd(midnight), phase.jd);
    const struct {
        int day;
        double zone;
        const char* lines;
    } cases[] = {
        {11, (86380.0 - ut_seconds) / 3600.0, "新月 24:00\r\n"},  // 23:59:40, hour not carried
        {12, (86380.0 - ut_seconds) / 3600.0, ""},
        {11, (86369.9 - ut_seconds) / 3600.0, "新月 23:59\r\n"},  // 23:59:29.9
        {12, midnight.zone, "新月 00:00\r\n"},                    // a day starts at its midnight
        {11, midnight.zone, ""},                                  // and the one before ends there
    };
    for (const auto& c : cases) {
        TextFixture s({&CCdStatus::PlanetPhysicalTable});
        s.Object(moon, {{u".JapaneseName", u"月"}, {u".EclipsMagnitude", u"-1"}});
        CString zone;
        zone.Format(u"%.17g", c.zone);
        s.SetClock(2013, 1, c.day, 12, std::u16string(zone.view()));
        EXPECT_EQ(s.Text(moon),
                  std::string("月 \r\n中央経度   0.0ﾟ  中央緯度   0.0ﾟ\r\n") + c.lines)
            << c.day << " " << c.zone;
    }
}
