// Star positions and rise/transit/set times against independent references:
// tests/data/astrometry_reference.tsv, written by
// tools/make_astrometry_reference.py with astropy (positions) and PyEphem
// (rise, transit and set), for five stars, three times and two places, each
// row with the Delta T the reference used; and closed-form results for the
// event finder.  Meeus, "Astronomical Algorithms", 2nd ed. (1998), for the
// sidereal time.
#include "sky/astrometry.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/vexacl.h"
#include "tests/test_support.h"

namespace {

using namespace astrometry;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Tolerances, arcseconds and seconds of time.
constexpr double kTolPosition = 0.1;  // ICRS, apparent, ecliptic, galactic
constexpr double kTolB1950 = 1.0;     // FK4 models differ slightly
constexpr double kTolHorizon = 1.0;   // azimuth, altitude
constexpr double kTolB1875 = 0.1;
constexpr double kTolEventSeconds = 30.0;

// ---- The reference table ---------------------------------------------------------

struct Row : RefRow {
    CatalogStar Star() const {
        CatalogStar s;
        s.ra_deg = Num("ra_deg");
        s.dec_deg = Num("dec_deg");
        s.pm_ra_cosdec_mas_yr = Num("pmra_mas_yr");
        s.pm_dec_mas_yr = Num("pmdec_mas_yr");
        s.parallax_mas = Num("parallax_mas");
        s.radial_velocity_km_s = Num("rv_km_s");
        return s;
    }
    Observer Place() const { return {Num("lon_deg"), Num("lat_deg"), Num("height_m")}; }
    AstrometryContext Context() const {
        return AstrometryContext(Num("jd_ut"), Place(), Num("delta_t_s"));
    }
};

// The rows of one kind ("star", "sun").
std::vector<Row> RowsOfKind(const std::string& kind) {
    std::vector<Row> out;
    for (RefRow& r : ReadRefTable(VEXCLK_SOURCE_DIR "/tests/data/astrometry_reference.tsv", kind))
        out.push_back(Row{std::move(r)});
    return out;
}

// Angular distance between two points, arcseconds; RA-type longitudes in hours
// when hours is true.
double SeparationArcsec(double lon1, double lat1, double lon2, double lat2, bool hours) {
    const double k = hours ? 15.0 * ERFA_DD2R : ERFA_DD2R;
    return eraSeps(lon1 * k, lat1 * ERFA_DD2R, lon2 * k, lat2 * ERFA_DD2R) * ERFA_DR2AS;
}

void ExpectEvents(const std::vector<double>& actual, const std::vector<double>& expected,
                  const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR((actual[i] - expected[i]) * 86400.0, 0.0, kTolEventSeconds) << "event " << i;
    }
}

TEST(AstrometryReference, PositionsMatchAstropy) {
    // 5 stars x 3 times x 2 places, and three days with two events.
    const std::vector<Row> rows = RowsOfKind("star");
    ASSERT_GE(rows.size(), 33u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Text("case"));
        const AstrometryContext context = row.Context();
        ASSERT_TRUE(context.ok());
        const StarPositions p = ComputeStarPositions(row.Star(), context);
        ASSERT_TRUE(p.ok);
        const struct {
            const char* what;
            double lon, lat;
            const char *lon_column, *lat_column;
            bool hours;
            double tolerance;
        } checks[] = {
            {"ICRS", p.icrs.ra_h, p.icrs.dec_deg, "icrs_ra_h", "icrs_dec_deg", true, kTolPosition},
            {"apparent", p.apparent.ra_h, p.apparent.dec_deg, "app_ra_h", "app_dec_deg", true,
             kTolPosition},
            {"B1950", p.b1950.ra_h, p.b1950.dec_deg, "b1950_ra_h", "b1950_dec_deg", true,
             kTolB1950},
            {"ecliptic mean of date", p.ecliptic_mean_of_date.lon_deg,
             p.ecliptic_mean_of_date.lat_deg, "eclm_lon_deg", "eclm_lat_deg", false, kTolPosition},
            {"ecliptic true of date", p.ecliptic_true_of_date.lon_deg,
             p.ecliptic_true_of_date.lat_deg, "eclt_lon_deg", "eclt_lat_deg", false, kTolPosition},
            {"ecliptic J2000", p.ecliptic_j2000.lon_deg, p.ecliptic_j2000.lat_deg,
             "ecl2000_lon_deg", "ecl2000_lat_deg", false, kTolPosition},
            {"galactic", p.galactic.lon_deg, p.galactic.lat_deg, "gal_l_deg", "gal_b_deg", false,
             kTolPosition},
            {"horizon", p.horizon.azimuth_deg, p.horizon.altitude_deg, "az_deg", "alt_deg", false,
             kTolHorizon},
        };
        for (const auto& c : checks) {
            const double sep = SeparationArcsec(c.lon, c.lat, row.Num(c.lon_column),
                                                row.Num(c.lat_column), c.hours);
            EXPECT_LE(sep, c.tolerance) << c.what;
        }
        const EquatorialDeg b = ToB1875(row.Num("ra_deg"), row.Num("dec_deg"));
        EXPECT_LE(SeparationArcsec(b.ra_deg, b.dec_deg, row.Num("b1875_ra_deg"),
                                   row.Num("b1875_dec_deg"), false),
                  kTolB1875);
        // Ranges of the published values.
        EXPECT_GE(p.icrs.ra_h, 0.0);
        EXPECT_LT(p.icrs.ra_h, 24.0);
        EXPECT_GE(p.horizon.azimuth_deg, 0.0);
        EXPECT_LT(p.horizon.azimuth_deg, 360.0);
        EXPECT_GE(b.ra_deg, 0.0);
        EXPECT_LT(b.ra_deg, 360.0);
    }
}

// Rise, transit and set of the stars against PyEphem, including Polaris
// (circumpolar from Tokyo, never rising from Sydney), Achernar (the other
// way round), days with two transits (Sirius from Sydney, 2000-01-01) and the
// days that the reference tool found with two rises, transits or sets.
TEST(AstrometryReference, StarRiseTransitSetMatchesPyEphem) {
    const std::vector<Row> rows = RowsOfKind("star");
    ASSERT_FALSE(rows.empty());
    int circumpolar = 0, never = 0, doubles = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Text("case"));
        const AstrometryContext context = row.Context();
        const RiseTransitSet e = StarRiseTransitSet(row.Star(), context, row.Num("tz_h"));
        ASSERT_TRUE(e.ok);
        ExpectEvents(e.rise_jd_ut, row.List("rise_jd_ut"), "rise");
        ExpectEvents(e.transit_jd_ut, row.List("transit_jd_ut"), "transit");
        ExpectEvents(e.set_jd_ut, row.List("set_jd_ut"), "set");
        const LocalDay day = LocalDayOf(row.Num("jd_ut"), row.Num("tz_h"));
        for (const auto* list : {&e.rise_jd_ut, &e.transit_jd_ut, &e.set_jd_ut}) {
            for (double t : *list) {
                EXPECT_GE(t, day.start_jd_ut);
                EXPECT_LT(t, day.end_jd_ut);
            }
            if (list->size() == 2) ++doubles;
        }
        if (e.rise_jd_ut.empty() && e.set_jd_ut.empty()) {
            // Which way it stays follows from the reference altitude now.
            const bool up = row.Num("alt_deg") > kStandardAltitudeStarDeg;
            EXPECT_EQ(e.above_all_day, up);
            EXPECT_EQ(e.below_all_day, !up);
            (up ? circumpolar : never)++;
        } else {
            EXPECT_FALSE(e.above_all_day);
            EXPECT_FALSE(e.below_all_day);
        }
    }
    // The table must keep exercising the special cases.
    EXPECT_GE(circumpolar, 6);
    EXPECT_GE(never, 6);
    EXPECT_GE(doubles, 4);
}

// ---- Event finder --------------------------------------------------------------------

// A point on the sky that turns uniformly: hour angle H0 + rate (t - t0),
// altitude from the spherical triangle (Meeus 13.6).  Its events have
// closed forms (Meeus 15.1): the transit at H = 0 and the rise and set at
// -H1 and +H1 with cos H1 = (sin h0 - sin phi sin dec) / (cos phi cos dec).
struct TurningPoint {
    double dec_deg, lat_deg, h0_deg, t0, rate_deg_per_day;
    HorizonSample At(double t) const {
        const double ha = std::remainder(h0_deg + rate_deg_per_day * (t - t0), 360.0);
        const double d = dec_deg * ERFA_DD2R, phi = lat_deg * ERFA_DD2R;
        const double alt = std::asin(std::sin(phi) * std::sin(d) +
                                     std::cos(phi) * std::cos(d) * std::cos(ha * ERFA_DD2R));
        return {ha, alt * ERFA_DR2D};
    }
    // Times in [start, end) at which the hour angle equals h (degrees).
    std::vector<double> TimesOfHourAngle(double h, double start, double end) const {
        std::vector<double> out;
        const double period = 360.0 / rate_deg_per_day;
        double t = t0 + (h - h0_deg) / rate_deg_per_day;
        t -= std::ceil((t - start) / period) * period;
        for (; t < end; t += period) {
            if (t >= start) out.push_back(t);
        }
        return out;
    }
};

TEST(FindRiseTransitSet, ClosedFormForAUniformlyTurningPoint) {
    constexpr double kSidereal = 360.98564736629;  // degrees per day
    const LocalDay day{true, 2461380.125, 2461381.125};
    const struct {
        const char* what;
        TurningPoint point;
        double altitude;
    } cases[] = {
        {"ordinary", {-16.7, 35.7, -100.0, 2461380.125, kSidereal}, -0.5667},
        // Transits at 00:01 and again 23 h 56 min later.
        {"two transits", {10.0, 35.7, -0.25, 2461380.125, kSidereal}, -0.5667},
        // Sets (at H = 97.994) 1 minute after midnight, again 23 h 56 min later.
        {"two sets", {10.0, 35.7, 97.744, 2461380.125, kSidereal}, -0.5667},
        // Upper culmination at -0.5167, 0.05 deg above the standard altitude:
        // up for about 20 minutes.
        {"grazing", {-54.8167, 35.7, 50.0, 2461380.125, kSidereal}, -0.5667},
        // A slower turner (like the Moon): at most one transit a day.
        {"slow", {5.0, 35.7, 170.0, 2461380.125, 347.8}, 0.125},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TurningPoint& p = c.point;
        const RiseTransitSet e =
            FindRiseTransitSet([&p](double t) { return p.At(t); }, day, c.altitude);
        ASSERT_TRUE(e.ok);
        const double d = p.dec_deg * ERFA_DD2R, phi = p.lat_deg * ERFA_DD2R;
        const double cos_h1 = (std::sin(c.altitude * ERFA_DD2R) - std::sin(phi) * std::sin(d)) /
                              (std::cos(phi) * std::cos(d));
        std::vector<double> rises, sets;
        if (std::fabs(cos_h1) < 1.0) {
            const double h1 = std::acos(cos_h1) * ERFA_DR2D;
            rises = p.TimesOfHourAngle(-h1, day.start_jd_ut, day.end_jd_ut);
            sets = p.TimesOfHourAngle(h1, day.start_jd_ut, day.end_jd_ut);
        }
        const std::vector<double> transits =
            p.TimesOfHourAngle(0.0, day.start_jd_ut, day.end_jd_ut);
        const auto expect_times = [](const std::vector<double>& a, const std::vector<double>& b) {
            ASSERT_EQ(a.size(), b.size());
            for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], 0.01 / 86400.0);
        };
        expect_times(e.rise_jd_ut, rises);
        expect_times(e.transit_jd_ut, transits);
        expect_times(e.set_jd_ut, sets);
        EXPECT_EQ(e.above_all_day, cos_h1 <= -1.0);
        EXPECT_EQ(e.below_all_day, cos_h1 >= 1.0);
    }
}

// The context keeps the Earth's heliocentric place from the series it
// computes anyway.  Reference: eraEpv00 at TT = 2461381.0 + 69.2 s, au,
// ICRS axes; VSOP87 (libnova's ln_get_earth_helio_coords) gives the
// distance 0.985383452 au, 1.3e-8 au from it.  An invalid context has none.
TEST(AstrometryContext, KeepsTheEarthsHeliocentricPlace) {
    const AstrometryContext context(2461381.0, {139.6917, 35.6895, 40.0}, 69.2);
    const double(&earth)[3] = context.EarthHeliocentricAu();
    const double expected[3] = {0.271646335857, 0.869062491597, 0.376721615574};
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(earth[k], expected[k], 1e-11) << k;
    EXPECT_NEAR(std::sqrt(earth[0] * earth[0] + earth[1] * earth[1] + earth[2] * earth[2]),
                0.985383452, 1e-7);
    const AstrometryContext bad(kNaN, {139.6917, 35.6895, 40.0}, 69.2);
    EXPECT_TRUE(std::isnan(bad.EarthHeliocentricAu()[0]));
}

}  // namespace
