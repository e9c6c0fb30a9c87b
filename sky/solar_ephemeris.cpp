#include "sky/solar_ephemeris.h"

#include <erfa.h>
#include <erfam.h>
#include <libnova/libnova.h>

#include <cmath>
#include <limits>

#include "sky/small_bodies.h"

namespace solar {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ICRS -> mean ecliptic and equinox of J2000 (eraEcm06 at J2000 TT).
struct EclipticMatrix {
    double m[3][3];
};
const EclipticMatrix& J2000Ecliptic() {
    static const EclipticMatrix matrix = [] {
        EclipticMatrix e{};
        eraEcm06(ERFA_DJ00, 0.0, e.m);
        return e;
    }();
    return matrix;
}

// Spherical heliocentric coordinates of libnova (degrees, au; mean ecliptic
// and equinox J2000) as an ICRS vector.
Vec3 FromLibnova(const ln_helio_posn& h) {
    double v[3];
    eraS2p(h.L * ERFA_DD2R, h.B * ERFA_DD2R, h.R, v);
    return EclipticJ2000ToIcrs({v[0], v[1], v[2]});
}

// Meeus's Pluto series holds for 1885-2099 (Astronomical Algorithms ch. 37).
constexpr double kPlutoSeriesStart = 2409177.5;  // 1885-01-01 TT
constexpr double kPlutoSeriesEnd = 2488069.5;    // 2100-01-01 TT

// Standish, "Keplerian Elements for Approximate Positions of the Major
// Planets" (JPL SSD), table 1 (1800-2050): elements at J2000 on the mean
// ecliptic and equinox of J2000 and their rates per Julian century; the
// Earth's row is the Earth-Moon barycentre's.
struct MeanElements {
    double a, a_rate;  // au
    double e, e_rate;
    double i, i_rate;  // degrees
    double mean_longitude, mean_longitude_rate;
    double perihelion_longitude, perihelion_longitude_rate;
    double node, node_rate;
};
constexpr MeanElements kStandish[] = {
    {0.38709927, 0.00000037, 0.20563593, 0.00001906, 7.00497902, -0.00594749, 252.25032350,
     149472.67411175, 77.45779628, 0.16047689, 48.33076593, -0.12534081},
    {0.72333566, 0.00000390, 0.00677672, -0.00004107, 3.39467605, -0.00078890, 181.97909950,
     58517.81538729, 131.60246718, 0.00268329, 76.67984255, -0.27769418},
    {1.00000261, 0.00000562, 0.01671123, -0.00004392, -0.00001531, -0.01294668, 100.46457166,
     35999.37244981, 102.93768193, 0.32327364, 0.0, 0.0},
    {1.52371034, 0.00001847, 0.09339410, 0.00007882, 1.84969142, -0.00813131, -4.55343205,
     19140.30268499, -23.94362959, 0.44441088, 49.55953891, -0.29257343},
    {5.20288700, -0.00011607, 0.04838624, -0.00013253, 1.30439695, -0.00183714, 34.39644051,
     3034.74612775, 14.72847983, 0.21252668, 100.47390909, 0.20469106},
    {9.53667594, -0.00125060, 0.05386179, -0.00050991, 2.48599187, 0.00193609, 49.95424423,
     1222.49362201, 92.59887831, -0.41897216, 113.66242448, -0.28867794},
    {19.18916464, -0.00196176, 0.04725744, -0.00004397, 0.77263783, -0.00242939, 313.23810451,
     428.48202785, 170.95427630, 0.40805281, 74.01692503, 0.04240589},
    {30.06992276, 0.00026291, 0.00859048, 0.00005105, 1.77004347, 0.00035372, -55.12002969,
     218.45945325, 44.96476227, -0.32241464, 131.78422574, -0.00508664},
    {39.48211675, -0.00031596, 0.24882730, 0.00005170, 17.14001206, 0.00004818, 238.92903833,
     145.20780515, 224.06891629, -0.04062942, 110.30393684, -0.01183482},
};

// The row of a planet or Pluto, or null.
const MeanElements* StandishRow(Major body) {
    const int i = static_cast<int>(body) - static_cast<int>(Major::kMercury);
    if (i < 0 || i > static_cast<int>(Major::kPluto) - static_cast<int>(Major::kMercury))
        return nullptr;
    return &kStandish[i];
}

// Pluto from its mean elements, outside the years of Meeus's series.
Vec3 PlutoFromMeanElements(double jd_tt) {
    const MeanElements& m = *StandishRow(Major::kPluto);
    const double t = (jd_tt - ERFA_DJ00) / ERFA_DJC;
    const double a = m.a + m.a_rate * t;
    const double perihelion_longitude = m.perihelion_longitude + m.perihelion_longitude_rate * t;
    OrbitalElements el;
    el.epoch_jd_tt = jd_tt;
    el.eccentricity = m.e + m.e_rate * t;
    el.perihelion_distance_au = a * (1.0 - el.eccentricity);
    el.inclination_deg = m.i + m.i_rate * t;
    el.node_deg = m.node + m.node_rate * t;
    el.perihelion_argument_deg = perihelion_longitude - el.node_deg;
    // Time of perihelion from the mean anomaly M = L - perihelion longitude.
    const double mean_anomaly =
        std::remainder(m.mean_longitude + m.mean_longitude_rate * t - perihelion_longitude, 360.0);
    el.perihelion_jd_tt = jd_tt - mean_anomaly * ERFA_DD2R / MeanMotion(el);
    return KeplerHeliocentric(el, jd_tt);
}

Vec3 PlanetHeliocentric(Major body, double jd) {
    ln_helio_posn h{};
    switch (body) {
        case Major::kMercury:
            ln_get_mercury_helio_coords(jd, &h);
            break;
        case Major::kVenus:
            ln_get_venus_helio_coords(jd, &h);
            break;
        case Major::kEarth:
            ln_get_earth_helio_coords(jd, &h);
            break;
        case Major::kMars:
            ln_get_mars_helio_coords(jd, &h);
            break;
        case Major::kJupiter:
            ln_get_jupiter_helio_coords(jd, &h);
            break;
        case Major::kSaturn:
            ln_get_saturn_helio_coords(jd, &h);
            break;
        case Major::kUranus:
            ln_get_uranus_helio_coords(jd, &h);
            break;
        case Major::kNeptune:
            ln_get_neptune_helio_coords(jd, &h);
            break;
        case Major::kPluto:
            if (jd < kPlutoSeriesStart || jd >= kPlutoSeriesEnd) return PlutoFromMeanElements(jd);
            ln_get_pluto_helio_coords(jd, &h);
            break;
        default:
            return NanVector();
    }
    return FromLibnova(h);
}

}  // namespace

PlanetOrbit MeanPlanetOrbit(Major body, double jd_tt) {
    PlanetOrbit o;
    if (!std::isfinite(jd_tt)) return o;
    if (body == Major::kMoon) {
        o.ok = true;
        o.semi_major_axis_au = 384400.0 / (ERFA_DAU / 1000.0);
        o.eccentricity = 0.0554;
        o.period_years = 27.322 / 365.25;
        return o;
    }
    const MeanElements* m = StandishRow(body);
    if (!m) return o;
    const double t = (jd_tt - ERFA_DJ00) / ERFA_DJC;
    o.ok = true;
    o.semi_major_axis_au = m->a + m->a_rate * t;
    o.eccentricity = m->e + m->e_rate * t;
    o.period_years = 360.0 / m->mean_longitude_rate * 100.0;
    return o;
}

// ---- Vectors -------------------------------------------------------------------

Vec3 Add(const Vec3& a, const Vec3& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec3 Scale(const Vec3& a, double k) {
    return {a[0] * k, a[1] * k, a[2] * k};
}
double Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Norm(const Vec3& a) {
    return std::sqrt(Dot(a, a));
}
Vec3 Unit(const Vec3& a) {
    const double n = Norm(a);
    return n > 0.0 ? Scale(a, 1.0 / n) : a;
}
bool IsFinite(const Vec3& a) {
    return std::isfinite(a[0]) && std::isfinite(a[1]) && std::isfinite(a[2]);
}
Vec3 NanVector() {
    return {kNaN, kNaN, kNaN};
}

Vec3 EclipticJ2000ToIcrs(const Vec3& ecliptic) {
    const auto& m = J2000Ecliptic().m;
    Vec3 out;
    for (int i = 0; i < 3; ++i)
        out[i] = m[0][i] * ecliptic[0] + m[1][i] * ecliptic[1] + m[2][i] * ecliptic[2];
    return out;
}

Vec3 IcrsToEclipticJ2000(const Vec3& icrs) {
    const auto& m = J2000Ecliptic().m;
    Vec3 out;
    for (int i = 0; i < 3; ++i) out[i] = m[i][0] * icrs[0] + m[i][1] * icrs[1] + m[i][2] * icrs[2];
    return out;
}

Vec3 EclipticOfDateToIcrs(const Vec3& ecliptic, double jd_tt) {
    double m[3][3];
    eraEcm06(jd_tt, 0.0, m);
    Vec3 out;
    for (int i = 0; i < 3; ++i)
        out[i] = m[0][i] * ecliptic[0] + m[1][i] * ecliptic[1] + m[2][i] * ecliptic[2];
    return out;
}

// ---- Positions -------------------------------------------------------------------

Vec3 SunBarycentric(double jd_tt) {
    if (!std::isfinite(jd_tt)) return NanVector();
    double pvh[2][3], pvb[2][3];
    eraEpv00(jd_tt, 0.0, pvh, pvb);
    return {pvb[0][0] - pvh[0][0], pvb[0][1] - pvh[0][1], pvb[0][2] - pvh[0][2]};
}

Vec3 EarthBarycentric(double jd_tt) {
    if (!std::isfinite(jd_tt)) return NanVector();
    double pvh[2][3], pvb[2][3];
    eraEpv00(jd_tt, 0.0, pvh, pvb);
    return {pvb[0][0], pvb[0][1], pvb[0][2]};
}

Vec3 MoonGeocentric(double jd_tt) {
    if (!std::isfinite(jd_tt)) return NanVector();
    ln_rect_posn moon{};
    // Precision 0: every term of the series.  Kilometres, ecliptic J2000.
    ln_get_lunar_geo_posn(jd_tt, &moon, 0.0);
    const double km_per_au = ERFA_DAU / 1000.0;
    return EclipticJ2000ToIcrs({moon.X / km_per_au, moon.Y / km_per_au, moon.Z / km_per_au});
}

LinearMotion::LinearMotion(std::function<Vec3(double)> position, double window_days)
    : m_position(std::move(position)), m_window(window_days) {}

Vec3 LinearMotion::operator()(double jd_tt) {
    Line& l = *m_line;
    if (!l.valid || !(std::fabs(jd_tt - l.t0) <= m_window)) {
        constexpr double h = 1e-4;
        l.t0 = jd_tt;
        l.p0 = m_position(jd_tt);
        l.v = Scale(Sub(m_position(jd_tt + h), l.p0), 1.0 / h);
        l.valid = IsFinite(l.p0) && IsFinite(l.v);
    }
    return Add(l.p0, Scale(l.v, jd_tt - l.t0));
}

Vec3 Heliocentric(Major body, double jd_tt) {
    if (!std::isfinite(jd_tt)) return NanVector();
    if (body == Major::kSun) return {0.0, 0.0, 0.0};
    if (body == Major::kEarth || body == Major::kMoon) {
        double pvh[2][3], pvb[2][3];
        eraEpv00(jd_tt, 0.0, pvh, pvb);
        const Vec3 earth{pvh[0][0], pvh[0][1], pvh[0][2]};
        return body == Major::kEarth ? earth : Add(earth, MoonGeocentric(jd_tt));
    }
    return PlanetHeliocentric(body, jd_tt);
}

Vec3 Barycentric(Major body, double jd_tt) {
    if (body == Major::kEarth) return EarthBarycentric(jd_tt);
    if (body == Major::kMoon) return Add(EarthBarycentric(jd_tt), MoonGeocentric(jd_tt));
    return Add(SunBarycentric(jd_tt), Heliocentric(body, jd_tt));
}

}  // namespace solar
