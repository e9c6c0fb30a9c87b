// The exoplanet text, reached by its own identifier and through a host
// star's planet, through the replay engine.
#include <gtest/gtest.h>

#include <string>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"
#include "tests/text_fixture.h"

namespace {

const char16_t kPlanet[] = u"star.ExtraSolarPlanet.HD 209458b";

struct Sky : TextFixture {
    void Reply(const char16_t* suffix, const char16_t* reply) {
        TextFixture::Reply(kPlanet, suffix, reply);
    }
};

void SetPlanet(Sky& s) {
    s.Reply(u".Name", u"HD 209458 b");
    s.Reply(u".OrbitalPeriod", u"3.52474859");
    s.Reply(u".SemiMajorAxis", u"0.04707000");
    s.Reply(u".eccentricity", u"0.0000");
}

}  // namespace

TEST(ExoPlanetText, BothIdentifierForms) {
    // The host star's planet form is rewritten into the planet's own
    // identifier; parameters lose their blanks, and the words their case.
    for (const char16_t* object :
         {kPlanet, u"star.HD 209458.Planet.b", u"STAR. HD 209458 .planet. b",
          u"Star.extrasolarplanet.HD 209458b"}) {
        Sky s;
        SetPlanet(s);
        EXPECT_EQ(s.Text(object, 1), "系外惑星 HD 209458 b") << U8(object);
    }
}

TEST(ExoPlanetText, EveryQueryUsesTheRewrittenIdentifier) {
    Sky s;
    SetPlanet(s);
    s.status.DispEqt2000 = 1;
    s.Reply(u".position.RA", u"22.0311");
    s.Reply(u".position.DEC", u"18.8842");
    // The position block found the planet's replies (at the star level);
    // the elements lose their trailing zeros.
    EXPECT_EQ(s.Text(u"star.HD 209458.Planet.b"),
              "系外惑星 HD 209458 b\r\n"
              "赤経 22h01m51.96s  赤緯 +18ﾟ53'03.1\" (J2000)\r\n"
              "公転周期 3.52474859日\r\n"
              "軌道長半径 0.04707au\r\n"
              "離心率 0.\r\n");
    int object_queries = 0;
    for (const CString& command : s.engine.Commands()) {
        EXPECT_LT(command.Find(u"Planet.b"), 0) << U8(command);
        if (command.Find(u"HD 209458") >= 0) {
            EXPECT_EQ(command.Find(u"? " + CString(kPlanet)), 0) << U8(command);
            ++object_queries;
        }
    }
    // Name, three elements and two coordinates.
    EXPECT_EQ(object_queries, 6);
}

TEST(ExoPlanetText, AbsentAndNoValueRepliesArePrintedAsTheyCome) {
    Sky s;
    s.Reply(u".Name", u"51 Peg b");
    s.Reply(u".SemiMajorAxis", u"*");
    EXPECT_EQ(s.Text(kPlanet), "系外惑星 51 Peg b\r\n公転周期 日\r\n軌道長半径 *au\r\n離心率 \r\n");
}
