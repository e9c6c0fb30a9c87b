// The places a sky chart draws, in bulk: the fast star place against
// astropy (tests/data/astrometry_reference.tsv) and the bodies of the solar
// system against PyEphem (tests/data/solar_reference.tsv), both made by the
// scripts in tools/ named in those files.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "engine/stkstr.h"
#include "sky/astrometry.h"
#include "sky/sky_engine.h"
#include "tests/test_support.h"

namespace {

using ChartObject = CSkyEngine::ChartObject;

// Tolerances.  Stars: the chart's apparent place is the observer's (diurnal
// aberration, at most 0.32") where astropy gives the geocentric one.
constexpr double kStarArcsec = 1.0;
// Bodies: the engine's and PyEphem's Delta T and theories differ.
constexpr double kBodyDeg = 0.01;
// PyEphem's phase is geocentric; the Moon's parallax (up to 1 degree)
// moves the topocentric one by up to 0.009.
constexpr double kPhase = 0.01;

double AngleDiffDeg(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}

}  // namespace

TEST(ChartPlace, StarsAgreeWithAstropy) {
    int rows = 0;
    for (const RefRow& r :
         ReadRefTable(VEXCLK_SOURCE_DIR "/tests/data/astrometry_reference.tsv", "star")) {
        SCOPED_TRACE(r.Text("case"));
        astrometry::CatalogStar star;
        star.ra_deg = r.Num("ra_deg");
        star.dec_deg = r.Num("dec_deg");
        star.pm_ra_cosdec_mas_yr = r.Num("pmra_mas_yr");
        star.pm_dec_mas_yr = r.Num("pmdec_mas_yr");
        star.parallax_mas = r.Num("parallax_mas");
        star.radial_velocity_km_s = r.Num("rv_km_s");
        const astrometry::AstrometryContext context(
            r.Num("jd_ut"), {r.Num("lon_deg"), r.Num("lat_deg"), r.Num("height_m")},
            r.Num("delta_t_s"));
        const astrometry::ChartPlace p = astrometry::ComputeChartPlace(star, context);
        ASSERT_TRUE(p.ok);
        const double cosd = std::cos(r.Num("app_dec_deg") * M_PI / 180.0);
        EXPECT_LT(AngleDiffDeg(p.apparent.ra_h * 15, r.Num("app_ra_h") * 15) * cosd * 3600,
                  kStarArcsec);
        EXPECT_LT(std::fabs(p.apparent.dec_deg - r.Num("app_dec_deg")) * 3600, kStarArcsec);
        const double cosh = std::cos(r.Num("alt_deg") * M_PI / 180.0);
        EXPECT_LT(AngleDiffDeg(p.horizon.azimuth_deg, r.Num("az_deg")) * cosh * 3600, kStarArcsec);
        EXPECT_LT(std::fabs(p.horizon.altitude_deg - r.Num("alt_deg")) * 3600, kStarArcsec);
        ++rows;
    }
    EXPECT_GE(rows, 20);
}

TEST(ChartPlace, BadInputIsNotOk) {
    const astrometry::AstrometryContext context(2451545.0, {139.6917, 35.6895, 40.0}, 64.184);
    for (double dec : {91.0, std::nan("")}) {
        astrometry::CatalogStar star;
        star.dec_deg = dec;
        const astrometry::ChartPlace p = astrometry::ComputeChartPlace(star, context);
        EXPECT_FALSE(p.ok);
        EXPECT_TRUE(std::isnan(p.horizon.altitude_deg));
    }
}

TEST(ChartObjects, BodiesAgreeWithPyEphem) {
    // The Sun, the Moon and Mars at the reference's times and places.
    std::map<std::string, ChartObject::Kind> bodies = {{"Sun", ChartObject::Kind::Sun},
                                                       {"Moon", ChartObject::Kind::Moon},
                                                       {"Mars", ChartObject::Kind::Planet}};
    int checked = 0;
    for (const RefRow& r :
         ReadRefTable(VEXCLK_SOURCE_DIR "/tests/data/solar_reference.tsv", "body")) {
        const auto kind = bodies.find(r.Text("body"));
        if (kind == bodies.end()) continue;
        SCOPED_TRACE(r.Text("case"));
        CSkyEngine sky(SharedSkyCatalog());
        ASSERT_TRUE(sky.SetJd(r.Num("jd_ut")));
        ASSERT_TRUE(sky.SetPlace(r.Num("lon_deg"), r.Num("lat_deg"), r.Num("height_m")));
        const std::vector<ChartObject> all = sky.ChartObjects(-10.0, -10.0);
        const ChartObject* found = nullptr;
        for (const ChartObject& o : all) {
            if (o.kind == kind->second && U8(o.id).find(r.Text("body")) != std::string::npos)
                found = &o;
        }
        ASSERT_NE(found, nullptr);
        const double cosh = std::cos(r.Num("alt_deg") * M_PI / 180.0);
        EXPECT_LT(AngleDiffDeg(found->horizon.azimuth_deg, r.Num("az_deg")) * cosh, kBodyDeg);
        EXPECT_NEAR(found->horizon.altitude_deg, r.Num("alt_deg"), kBodyDeg);
        EXPECT_LT(AngleDiffDeg(found->apparent.ra_h * 15, r.Num("topo_app_ra_h") * 15) *
                      std::cos(r.Num("topo_app_dec_deg") * M_PI / 180.0),
                  kBodyDeg);
        EXPECT_NEAR(found->apparent.dec_deg, r.Num("topo_app_dec_deg"), kBodyDeg);
        if (kind->second != ChartObject::Kind::Sun) {
            EXPECT_NEAR(found->illuminated_fraction, r.Num("phase"), kPhase);
        }
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST(ChartObjects, CatalogueSelectionAndIdentifiers) {
    CSkyEngine sky(SharedSkyCatalog());
    ASSERT_TRUE(sky.SetJd(2461381.0));  // 2026-12-06 12:00 UT, Tokyo
    const std::vector<ChartObject> all = sky.ChartObjects(2.0, 4.0);
    std::map<ChartObject::Kind, int> count;
    std::map<std::string, const ChartObject*> byId;
    for (const ChartObject& o : all) {
        ++count[o.kind];
        byId[U8(o.id)] = &o;
        if (o.kind == ChartObject::Kind::Star) {
            EXPECT_LE(o.magnitude, 2.0);
        }
    }
    // 48 stars to V 2.0 in the catalogue's magnitudes (Hipparcos: 48 to 2.0
    // within a star or two), the 88 constellations, 2 clouds, Sun, Moon and
    // seven planets; every Messier object regardless of the limit.
    EXPECT_GT(count[ChartObject::Kind::Star], 40);
    EXPECT_LT(count[ChartObject::Kind::Star], 60);
    EXPECT_EQ(count[ChartObject::Kind::Constellation], 88);
    EXPECT_EQ(count[ChartObject::Kind::Magellanic], 2);
    EXPECT_EQ(count[ChartObject::Kind::Sun], 1);
    EXPECT_EQ(count[ChartObject::Kind::Moon], 1);
    EXPECT_EQ(count[ChartObject::Kind::Planet], 7);
    EXPECT_GE(count[ChartObject::Kind::DeepSky], 100);

    // Each is the engine's identifier: its own reply for the same place.
    for (const char* id : {"Star.HIP32349", "DeepSky.NGC1976", "Constellation.Ori",
                           "Solar.Planet.Mars", "MagellanicCloud.LMC"}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(byId.count(id));
        const ChartObject& o = *byId[id];
        const double alt =
            CStkStr(sky.Doit(u"? " + CString::FromUtf8(id) + u".Position.Altitude")).atof();
        EXPECT_NEAR(o.horizon.altitude_deg, alt, 1e-6);
    }
    EXPECT_EQ(U8(byId["Star.HIP32349"]->label), "シリウス");
    EXPECT_EQ(U8(byId["DeepSky.NGC1976"]->label), "M42");  // NGC 1976 is M42
    EXPECT_EQ(U8(byId["Constellation.Ori"]->label), "オリオン座");
    EXPECT_EQ(U8(byId["Solar.Planet.Mars"]->label), "火星");
    EXPECT_NEAR(byId["Star.HIP32349"]->bv, 0.0, 0.05);
}
