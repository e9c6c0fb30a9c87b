// The sky engine's solar-system bodies: every path answers, the replies are
// the solar-system library's values in the units the texts print, whole
// texts come out complete, and the local eclipse and searches work.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "clickdata/click_data.h"
#include "settings/cdstatus.h"
#include "sky/sky_engine.h"
#include "sky/solar_system.h"
#include "tests/test_support.h"

namespace {

using solar::BodyRef;
using solar::Major;

constexpr double kJd = 2461381.0;  // 2026-12-06 12:00 UT
constexpr astrometry::Observer kTokyo{139.74, 35.68, 40.0};

CSkyEngine MakeSky() {
    CSkyEngine sky(SharedSkyCatalog());
    sky.SetJd(kJd);
    sky.SetPlace(kTokyo.longitude_deg, kTokyo.latitude_deg, kTokyo.height_m);
    return sky;
}

double Num(CSkyEngine& sky, const CString& query) {
    return CStkStr(sky.Doit(query)).atof();
}

}  // namespace

// Every path of the solar-system table and every position answers for a
// planet, the Moon and a comet.
TEST(SolarEngine, EveryPathAnswersForAPlanetTheMoonAndAComet) {
    CSkyEngine sky = MakeSky();
    for (const auto& list : CSkyEngine::SupportedPaths()) {
        if (CString(list.kind) != u"solar system") continue;
        for (const char16_t* id :
             {u"Solar.Planet.Mars", u"Solar.Planet.Earth.Satellite.Moon", u"Solar.Comet.1P"}) {
            for (const CString& suffix : list.suffixes) {
                EXPECT_FALSE(sky.Doit(u"? " + CString(id) + suffix).IsEmpty())
                    << U8(id) << U8(suffix);
            }
        }
    }
    EXPECT_EQ(U8(sky.Doit(u"? Solar.Planet.Vulcan.Magnitude")), "");
    EXPECT_EQ(U8(sky.Doit(u"? Solar.Comet.NoSuchComet.ID")), "");
}

// The replies are the library's values for the same time and place, in the
// texts' units.
TEST(SolarEngine, RepliesAreTheLibrarysValuesInTheTextsUnits) {
    CSkyEngine sky = MakeSky();
    const astrometry::AstrometryContext context(kJd, kTokyo);
    solar::SolarSystem ss(context, &SharedSkyCatalog()->SmallBodies());
    const BodyRef mars = BodyRef::Of(Major::kMars), moon = BodyRef::Of(Major::kMoon),
                  sun = BodyRef::Of(Major::kSun), io = BodyRef::Of(solar::Satellite::kIo);
    const BodyRef halley = *solar::ParseIdentifier("Comet.1P", SharedSkyCatalog()->SmallBodies());
    const struct {
        const char16_t* query;
        std::function<double()> expected;
        double tolerance;
    } cases[] = {
        {u"Solar.Planet.Mars.Dm", [&] { return ss.Physics(mars).angular_diameter_arcsec; }, 1e-4},
        {u"Solar.Planet.Earth.Satellite.Moon.Dm",
         [&] { return ss.Physics(moon).angular_diameter_arcsec / 3600; }, 1e-8},
        {u"Solar.Planet.Earth.Satellite.Moon.GeocentricDistance",
         [&] { return ss.Place(moon).geocentric.distance_au * solar::kAuKm; }, 1e-3},
        {u"Solar.Planet.Mars.HelioCentricDistance",
         [&] { return ss.Place(mars).heliocentric_distance_au; }, 1e-10},
        {u"Solar.Planet.Jupiter.Satellite.Io.PlanetocentricDistance",
         [&] { return ss.PlanetocentricDistance(io) * solar::kAuKm; }, 1e-3},
        {u"Solar.Planet.Earth.Satellite.Moon.Age", [&] { return ss.MoonAgeDays(); }, 1e-4},
        {u"Solar.Comet.1P.TimeOfPerihelionPassage",
         [&] { return ss.Orbit(halley).perihelion_jd_tt; }, 1e-8},
        {u"solar.sun.position.Ecliptical.Lambda",
         [&] { return ss.Place(sun).positions.ecliptic_mean_of_date.lon_deg; }, 1e-10},
        {u"Solar.Planet.Mars.Jd.Transit", [&] { return ss.Events(mars, 9.0).transit_jd_ut[0]; },
         1e-8},
        {u"location.solar.x", [&] { return ss.EarthHeliocentric()[0]; }, 1e-12},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Num(sky, u"? " + CString(c.query)), c.expected(), c.tolerance) << U8(c.query);
    }
    // No eclipse now: the magnitudes are negative.
    EXPECT_LT(Num(sky, u"? Solar.Sun.EclipsMagnitude"), 0.0);
    EXPECT_LT(Num(sky, u"? Solar.Planet.Earth.Satellite.Moon.EclipsMagnitude"), 0.0);
}

// Whole texts through the text engine: every line of the kind, with values
// as the library gives them.
TEST(SolarEngine, WholeTextsOfTheSunTheMoonAPlanetAndAComet) {
    CSkyEngine sky = MakeSky();
    const astrometry::AstrometryContext context(kJd, kTokyo);
    solar::SolarSystem ss(context, &SharedSkyCatalog()->SmallBodies());
    CString marsDiameter, moonDistance;
    marsDiameter.Format(u"視直径 %3.1f\"",
                        ss.Physics(BodyRef::Of(Major::kMars)).angular_diameter_arcsec);
    moonDistance.Format(
        u"地心距離 %6.2f万 km",
        ss.Place(BodyRef::Of(Major::kMoon)).geocentric.distance_au * solar::kAuKm / 10000.0);
    const struct {
        const char16_t* id;
        std::vector<std::string> lines;
    } cases[] = {
        {u"Solar.Planet.Mars",
         {"火星 Mars (惑星)\r\n光度 ", U8(marsDiameter), "(J2000)\r\n", "出 ", "日心距離 ",
          "太陽離角 ", "公転周期 1.88年", "軌道長半径 1.52", "中央経度 ", "惑心太陽黄経 "}},
        {u"Solar.Planet.Earth.Satellite.Moon",
         {"月 Moon\r\n月齢 ", U8(moonDistance), "(視位置)\r\n", "中央経度 "}},
        {u"Solar.Sun",
         {"太陽 Sun\r\n光度 -26.7等 視直径 3", "(B1950)\r\n", "測心距離 ", "中央緯度 "}},
        {u"Solar.Comet.1P",
         {"Halley (1P)\r\n光度 ", "近日点通過時刻 1986年 2月", "離心率 0.96", "移動方向 ",
          "日心距離 "}},
    };
    CCdStatus status;  // every default line
    for (const auto& c : cases) {
        CLumClickData data;
        data.SetStatus(&status);
        const std::string text = U8(data.GetText(&sky, c.id, 0));
        for (const std::string& line : c.lines) {
            EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
        }
        EXPECT_EQ(text.find("--"), std::string::npos) << text;  // every value known
    }
}

// The total eclipse of 2024-04-08 at Dallas (32.78 N, 96.80 W): published
// local circumstances (NASA and timeanddate.com, to the minute, CDT):
// 12:23, 13:40, 13:42, 13:44, 15:02.  Neither the day after nor Tokyo sees it.
TEST(SolarEngine, LocalSolarEclipseFlagAndContacts) {
    CSkyEngine sky(SharedSkyCatalog());
    sky.SetTimezone(-5.0);
    sky.SetPlace(-96.80, 32.78, 150.0);
    sky.SetJd(2460409.25);  // 18:00 UT
    EXPECT_EQ(U8(sky.Doit(u"? solar.earth.besselelement.apply")), "TRUE");
    const struct {
        const char16_t* contact;
        double minutes_cdt;
    } published[] = {{u"1st", 12 * 60 + 23},
                     {u"2nd", 13 * 60 + 40},
                     {u"Max", 13 * 60 + 42},
                     {u"3rd", 13 * 60 + 44},
                     {u"4th", 15 * 60 + 2}};
    for (const auto& p : published) {
        const double jd = Num(sky, u"? Solar.Earth.SolarEclipse.ContactTime." + CString(p.contact));
        const double minutes = std::fmod((jd - 0.5) * 1440.0 - 300.0 + 1440.0 * 8, 1440.0);
        EXPECT_NEAR(minutes, p.minutes_cdt + 0.5, 1.5) << U8(p.contact);
    }
    sky.SetJd(2460410.25);
    EXPECT_EQ(U8(sky.Doit(u"? solar.earth.besselelement.apply")), "FALSE");
    EXPECT_EQ(U8(sky.Doit(u"? Solar.Earth.SolarEclipse.ContactTime.1st")), "*");
    sky.SetJd(2460409.27953);  // the maximum, 18:42:31 UT
    EXPECT_GT(Num(sky, u"? Solar.Sun.EclipsMagnitude"), 1.0);
    // Tokyo at night: the discs overlap on a line through the Earth, unseen.
    CSkyEngine tokyo(SharedSkyCatalog());
    tokyo.SetJd(2460409.25);
    EXPECT_EQ(U8(tokyo.Doit(u"? solar.earth.besselelement.apply")), "FALSE");
    EXPECT_LT(Num(tokyo, u"? Solar.Sun.EclipsMagnitude"), 0.0);
}

TEST(SolarEngine, SearchesFindBodies) {
    CSkyEngine sky = MakeSky();
    for (const char16_t* name : {u"火星", u"Mars", u"mars"}) {
        const auto found = sky.FindByName(name);
        ASSERT_FALSE(found.empty());
        EXPECT_EQ(U8(found.front()), "Solar.Planet.Mars") << U8(name);
    }
    EXPECT_EQ(U8(sky.FindByName(u"イオ").front()), "Solar.Planet.Jupiter.Satellite.Io");
    EXPECT_EQ(U8(sky.FindByName(u"1P/Halley").front()), "Solar.Comet.1P");
    const double ra = Num(sky, u"? Solar.Planet.Saturn.position.RA");
    const double dec = Num(sky, u"? Solar.Planet.Saturn.position.DEC");
    const auto near = sky.FindNear(ra, dec, 0.01, 3);
    ASSERT_FALSE(near.empty());
    EXPECT_EQ(U8(near.front().first), "Solar.Planet.Saturn");
}
