#include "sky/satellites.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <limits>

#include "sky/planet_physics.h"
#include "sky/satellites_internal.h"

namespace solar {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Mean elements on the satellite's reference plane, JPL Solar System
// Dynamics, "Planetary Satellite Mean Elements" (ssd.jpl.nasa.gov): semi-
// major axis a, eccentricity e, argument of periapsis w, mean anomaly M,
// inclination i and ascending node (angles from the node of the reference
// plane on the ICRF equator) at the table's epoch (Mars 1950 Jan 1.0,
// Jupiter 1997 Jan 16.0, Saturn 2000 Jan 1.5, Uranus 1980 Jan 1.0, TDB),
// the mean motion n of the mean longitude; the periods of apsidal and
// nodal precession where applied (0: none).  The reference plane is the
// planet's equator (WGCCRE pole at J2000), which these satellites' Laplace
// planes follow to a fraction of a degree; the Uranian satellites go round
// the pole opposite to the IAU north pole (Uranus rotates retrograde).
// Radius: WGCCRE 2015 / JPL satellite physical parameters, km; v0: JPL's
// mean opposition magnitude.  The positions of Jupiter's and Saturn's
// satellites come from their theories; their rows give the mean orbit and
// the physical data only.
struct SatelliteData {
    Major planet;
    const char* name;
    int number;
    double radius_km;
    double v0;
    double a_km, e, w_deg, m_deg, i_deg, node_deg, n_deg_per_day;
    double apse_period_years, node_period_years;
};

constexpr SatelliteData kSatellites[kSatelliteCount] = {
    {Major::kMars, "Phobos", 1, 11.08, 11.4, 9376.0, 0.0151, 150.057, 91.059, 1.075, 207.784,
     1128.8447569, 1.131, 2.262},
    {Major::kMars, "Deimos", 2, 6.2, 12.45, 23458.0, 0.0002, 260.729, 325.329, 1.788, 24.525,
     285.1618790, 27.0, 54.0},
    {Major::kJupiter, "Io", 1, 1821.49, 5.02, 421800.0, 0.0041, 84.129, 342.021, 0.036, 43.977,
     203.4889583, 0.0, 0.0},
    {Major::kJupiter, "Europa", 2, 1560.8, 5.29, 671100.0, 0.0094, 88.970, 171.016, 0.466, 219.106,
     101.3747242, 0.0, 0.0},
    {Major::kJupiter, "Ganymede", 3, 2631.2, 4.61, 1070400.0, 0.0013, 192.417, 317.540, 0.177,
     63.552, 50.3176072, 0.0, 0.0},
    {Major::kJupiter, "Callisto", 4, 2410.3, 5.65, 1882700.0, 0.0074, 52.643, 181.408, 0.192,
     298.848, 21.5710728, 0.0, 0.0},
    {Major::kSaturn, "Mimas", 1, 198.2, 12.8, 185539.0, 0.0196, 332.499, 14.848, 1.574, 173.027,
     381.9944948, 0.0, 0.0},
    {Major::kSaturn, "Enceladus", 2, 252.1, 11.8, 238042.0, 0.0000, 0.076, 199.686, 0.003, 342.507,
     262.7318978, 0.0, 0.0},
    {Major::kSaturn, "Tethys", 3, 531.0, 10.2, 294672.0, 0.0001, 45.202, 243.367, 1.091, 259.842,
     190.6979109, 0.0, 0.0},
    {Major::kSaturn, "Dione", 4, 561.4, 10.4, 377415.0, 0.0022, 284.315, 322.232, 0.028, 290.415,
     131.5349307, 0.0, 0.0},
    {Major::kSaturn, "Rhea", 5, 763.5, 9.6, 527068.0, 0.0002, 241.619, 179.781, 0.333, 351.042,
     79.6900459, 0.0, 0.0},
    {Major::kSaturn, "Titan", 6, 2575.0, 8.4, 1221865.0, 0.0288, 180.532, 163.310, 0.306, 28.060,
     22.5769756, 0.0, 0.0},
    {Major::kSaturn, "Hyperion", 7, 135.0, 14.4, 1500933.0, 0.1230061, 303.178, 86.342, 0.615,
     263.847, 16.9199503, 0.0, 0.0},
    {Major::kSaturn, "Iapetus", 8, 734.3, 11.0, 3560854.0, 0.0293, 271.606, 201.789, 8.298, 81.105,
     4.5379416, 0.0, 0.0},
    {Major::kUranus, "Miranda", 5, 235.8, 15.8, 129900.0, 0.0013, 68.312, 311.330, 4.338, 326.438,
     254.6906892, 0.0, 0.0},
    {Major::kUranus, "Ariel", 1, 578.9, 13.70, 190900.0, 0.0012, 115.349, 39.481, 0.041, 22.394,
     142.8356681, 0.0, 0.0},
    {Major::kUranus, "Umbriel", 2, 584.7, 14.47, 266000.0, 0.0039, 84.709, 12.469, 0.128, 33.485,
     86.8688923, 0.0, 0.0},
    {Major::kUranus, "Titania", 3, 788.9, 13.49, 436300.0, 0.0011, 284.400, 24.614, 0.079, 99.771,
     41.3514246, 0.0, 0.0},
    {Major::kUranus, "Oberon", 4, 761.4, 13.70, 583500.0, 0.0014, 104.400, 283.088, 0.068, 279.771,
     26.7394932, 0.0, 0.0},
};

// The epochs of JPL's tables, TDB Julian Days.
double EpochOf(Major planet) {
    switch (planet) {
        case Major::kMars:
            return 2433282.5;
        case Major::kJupiter:
            return 2450464.5;
        case Major::kUranus:
            return 2444239.5;
        default:
            return ERFA_DJ00;
    }
}

const SatelliteData& DataOf(Satellite s) {
    return kSatellites[static_cast<int>(s)];
}

// Eccentric anomaly from the mean anomaly (radians), Newton's method; the
// satellites' orbits are nearly circular.
double EccentricAnomaly(double m, double e) {
    double E = m + e * std::sin(m);
    for (int i = 0; i < 20; ++i) {
        const double d = (E - e * std::sin(E) - m) / (1.0 - e * std::cos(E));
        E -= d;
        if (std::fabs(d) < 1e-14) break;
    }
    return E;
}

}  // namespace

Major PlanetOf(Satellite s) {
    return DataOf(s).planet;
}
const char* EnglishName(Satellite s) {
    return DataOf(s).name;
}
int SystemNumber(Satellite s) {
    return DataOf(s).number;
}
double RadiusKm(Satellite s) {
    return DataOf(s).radius_km;
}

double AbsoluteMagnitude(Satellite s) {
    // V0 holds at the planet's mean opposition: r = a, delta = a - 1.
    const SatelliteData& d = DataOf(s);
    const double a = MeanPlanetOrbit(d.planet, ERFA_DJ00).semi_major_axis_au;
    return d.v0 - 5.0 * std::log10(a * (a - 1.0));
}

SatelliteOrbit MeanOrbit(Satellite s) {
    const SatelliteData& d = DataOf(s);
    return {d.a_km, d.e, 360.0 / d.n_deg_per_day};
}

Vec3 Planetocentric(Satellite s, double jd_tt) {
    if (!std::isfinite(jd_tt)) return NanVector();
    if (s >= Satellite::kIo && s <= Satellite::kCallisto) {
        return GalileanPlanetocentric(static_cast<int>(s) - static_cast<int>(Satellite::kIo),
                                      jd_tt);
    }
    if (s >= Satellite::kMimas && s <= Satellite::kIapetus) {
        return SaturnianPlanetocentric(static_cast<int>(s) - static_cast<int>(Satellite::kMimas),
                                       jd_tt);
    }
    const SatelliteData& d = DataOf(s);
    const double epoch = EpochOf(d.planet);
    const double days = jd_tt - epoch;
    const double apse_rate =
        d.apse_period_years > 0.0 ? 360.0 / (d.apse_period_years * 365.25) : 0.0;
    const double node_rate =
        d.node_period_years > 0.0 ? -360.0 / (d.node_period_years * 365.25) : 0.0;
    const double node = (d.node_deg + node_rate * days) * ERFA_DD2R;
    const double w = (d.w_deg + (apse_rate - node_rate) * days) * ERFA_DD2R;
    // n is the rate of the mean longitude: the mean anomaly runs slower by
    // the periapsis's own motion.
    const double m = (d.m_deg + (d.n_deg_per_day - apse_rate) * days) * ERFA_DD2R;
    const double E = EccentricAnomaly(std::remainder(m, 2.0 * ERFA_DPI), d.e);
    const double a = d.a_km / (ERFA_DAU / 1000.0);
    const double x = a * (std::cos(E) - d.e);
    const double y = a * std::sqrt(1.0 - d.e * d.e) * std::sin(E);
    // Orbit plane -> reference plane (the planet's equator, x towards the
    // node Q of the equator on the ICRF equator) -> ICRS.
    const double inc = d.i_deg * ERFA_DD2R;
    const double u = x * std::cos(w) - y * std::sin(w);
    const double v = x * std::sin(w) + y * std::cos(w);
    const Vec3 in_plane{u * std::cos(node) - v * std::cos(inc) * std::sin(node),
                        u * std::sin(node) + v * std::cos(inc) * std::cos(node), v * std::sin(inc)};
    Orientation pole = OrientationOf(d.planet, ERFA_DJ00);
    // Uranus: the orbits' pole is the IAU south pole.
    const bool flip = d.planet == Major::kUranus;
    double zp[3];
    eraS2c(pole.pole_ra_deg * ERFA_DD2R, pole.pole_dec_deg * ERFA_DD2R, zp);
    const Vec3 z{zp[0], zp[1], zp[2]};
    const double qra = (pole.pole_ra_deg + 90.0) * ERFA_DD2R;
    const Vec3 q{std::cos(qra), std::sin(qra), 0.0};
    const Vec3 q90 = Cross(z, q);
    const double k = flip ? -1.0 : 1.0;
    return Add(Add(Scale(q, in_plane[0]), Scale(q90, k * in_plane[1])), Scale(z, k * in_plane[2]));
}

}  // namespace solar
