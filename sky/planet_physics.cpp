#include "sky/planet_physics.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace solar {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double SinDeg(double deg) {
    return std::sin(deg * ERFA_DD2R);
}
double CosDeg(double deg) {
    return std::cos(deg * ERFA_DD2R);
}

// The Moon's orientation (WGCCRE 2015, the mean Earth/polar axis frame):
// the arguments E1..E13 and their terms.
Orientation MoonOrientation(double d, double t) {
    const double e[14] = {0.0,
                          125.045 - 0.0529921 * d,
                          250.089 - 0.1059842 * d,
                          260.008 + 13.0120009 * d,
                          176.625 + 13.3407154 * d,
                          357.529 + 0.9856003 * d,
                          311.589 + 26.4057084 * d,
                          134.963 + 13.0649930 * d,
                          276.617 + 0.3287146 * d,
                          34.226 + 1.7484877 * d,
                          15.134 - 0.1589763 * d,
                          119.743 + 0.0036096 * d,
                          239.961 + 0.1643573 * d,
                          25.053 + 12.9590088 * d};
    const double ra = 269.9949 + 0.0031 * t - 3.8787 * SinDeg(e[1]) - 0.1204 * SinDeg(e[2]) +
                      0.0700 * SinDeg(e[3]) - 0.0172 * SinDeg(e[4]) + 0.0072 * SinDeg(e[6]) -
                      0.0052 * SinDeg(e[10]) + 0.0043 * SinDeg(e[13]);
    const double dec = 66.5392 + 0.0130 * t + 1.5419 * CosDeg(e[1]) + 0.0239 * CosDeg(e[2]) -
                       0.0278 * CosDeg(e[3]) + 0.0068 * CosDeg(e[4]) - 0.0029 * CosDeg(e[6]) +
                       0.0009 * CosDeg(e[7]) + 0.0008 * CosDeg(e[10]) - 0.0009 * CosDeg(e[13]);
    const double w = 38.3213 + 13.17635815 * d - 1.4e-12 * d * d + 3.5610 * SinDeg(e[1]) +
                     0.1208 * SinDeg(e[2]) - 0.0642 * SinDeg(e[3]) + 0.0158 * SinDeg(e[4]) +
                     0.0252 * SinDeg(e[5]) - 0.0066 * SinDeg(e[6]) - 0.0047 * SinDeg(e[7]) -
                     0.0046 * SinDeg(e[8]) + 0.0028 * SinDeg(e[9]) + 0.0052 * SinDeg(e[10]) +
                     0.0040 * SinDeg(e[11]) + 0.0019 * SinDeg(e[12]) - 0.0044 * SinDeg(e[13]);
    return {ra, dec, w};
}

// Jupiter's pole (WGCCRE 2015) without its periodic terms (below 0.001
// degree).
constexpr double kJupiterPoleRa = 268.056595, kJupiterPoleRaRate = -0.006499;
constexpr double kJupiterPoleDec = 64.495303, kJupiterPoleDecRate = 0.002413;

// Days and Julian centuries from J2000 (TDB = TT).
double Days(double jd_tt) {
    return jd_tt - ERFA_DJ00;
}
double Centuries(double jd_tt) {
    return (jd_tt - ERFA_DJ00) / ERFA_DJC;
}

}  // namespace

double EquatorialRadiusKm(Major body) {
    switch (body) {
        case Major::kSun:
            return 695700.0;
        case Major::kMercury:
            return 2440.53;
        case Major::kVenus:
            return 6051.8;
        case Major::kEarth:
            return 6378.1366;
        case Major::kMars:
            return 3396.19;
        case Major::kJupiter:
            return 71492.0;
        case Major::kSaturn:
            return 60268.0;
        case Major::kUranus:
            return 25559.0;
        case Major::kNeptune:
            return 24764.0;
        case Major::kPluto:
            return 1188.3;
        case Major::kMoon:
            return 1737.4;
    }
    return kNaN;
}

Orientation OrientationOf(Major body, double jd_tt) {
    const double d = Days(jd_tt);
    const double t = Centuries(jd_tt);
    switch (body) {
        case Major::kSun:
            return {286.13, 63.87, 84.176 + 14.1844000 * d};
        case Major::kMercury:
            return {281.0103 - 0.0328 * t, 61.4155 - 0.0049 * t, 329.5988 + 6.1385108 * d};
        case Major::kVenus:
            return {272.76, 67.16, 160.20 - 1.4813688 * d};
        case Major::kMars:
            return {317.68143 - 0.1061 * t, 52.88650 - 0.0609 * t, 176.630 + 350.89198226 * d};
        case Major::kJupiter:
            return {kJupiterPoleRa + kJupiterPoleRaRate * t,
                    kJupiterPoleDec + kJupiterPoleDecRate * t, 284.95 + 870.5360000 * d};
        case Major::kSaturn:
            return {40.589 - 0.036 * t, 83.537 - 0.004 * t, 38.90 + 810.7939024 * d};
        case Major::kUranus:
            return {257.311, -15.175, 203.81 - 501.1600928 * d};
        case Major::kNeptune: {
            const double n = 357.85 + 52.316 * t;
            return {299.36 + 0.70 * SinDeg(n), 43.46 - 0.51 * CosDeg(n),
                    249.978 + 541.1397757 * d - 0.48 * SinDeg(n)};
        }
        case Major::kPluto:
            return {132.993, -6.163, 302.695 + 56.3625225 * d};
        case Major::kMoon:
            return MoonOrientation(d, t);
        case Major::kEarth:
            break;
    }
    return {kNaN, kNaN, kNaN};
}

double JupiterSystemI(double jd_tt) {
    return 67.1 + 877.900 * Days(jd_tt);
}

double JupiterSystemII(double jd_tt) {
    return 43.3 + 870.270 * Days(jd_tt);
}

SubPoint SubPointOf(const Orientation& o, const Vec3& to_observer) {
    const double n = Norm(to_observer);
    if (!std::isfinite(o.pole_ra_deg) || !std::isfinite(o.pole_dec_deg) ||
        !std::isfinite(o.prime_meridian_deg) || !(n > 0.0) || !std::isfinite(n)) {
        return {kNaN, kNaN};
    }
    // Body-fixed axes: z the pole; x the prime meridian, W east of the node
    // Q of the body's equator on the ICRS equator (Q at RA alpha0 + 90).
    double zp[3];
    eraS2c(o.pole_ra_deg * ERFA_DD2R, o.pole_dec_deg * ERFA_DD2R, zp);
    const Vec3 z{zp[0], zp[1], zp[2]};
    const double node_ra = (o.pole_ra_deg + 90.0) * ERFA_DD2R;
    const Vec3 q{std::cos(node_ra), std::sin(node_ra), 0.0};
    const Vec3 q90 = Cross(z, q);  // 90 degrees east of Q on the equator
    const double w = o.prime_meridian_deg * ERFA_DD2R;
    const Vec3 x = Add(Scale(q, std::cos(w)), Scale(q90, std::sin(w)));
    const Vec3 y = Cross(z, x);
    const Vec3 u = Scale(to_observer, 1.0 / n);
    const double lon = std::atan2(Dot(u, y), Dot(u, x));
    const double lat = std::asin(std::clamp(Dot(u, z), -1.0, 1.0));
    return {eraAnp(lon) * ERFA_DR2D, lat * ERFA_DR2D};
}

double SolarLongitudeLs(const Vec3& heliocentric, const Vec3& velocity, double pole_ra_deg,
                        double pole_dec_deg) {
    double zp[3];
    eraS2c(pole_ra_deg * ERFA_DD2R, pole_dec_deg * ERFA_DD2R, zp);
    const Vec3 pole{zp[0], zp[1], zp[2]};
    const Vec3 normal = Unit(Cross(heliocentric, velocity));  // the orbit's north
    // The Sun crosses Mars's equator northwards where the line of the two
    // planes, pole x normal, points: there the Sun's motion n x s has a
    // positive component along the pole.
    const Vec3 equinox = Unit(Cross(pole, normal));
    const Vec3 sun = Unit(Scale(heliocentric, -1.0));
    const double ls = std::atan2(Dot(Cross(equinox, sun), normal), Dot(equinox, sun));
    if (!std::isfinite(ls)) return kNaN;
    return eraAnp(ls) * ERFA_DR2D;
}

double PlanetMagnitude(Major body, double r_au, double delta_au, double i, double sub_latitude) {
    if (!(r_au > 0.0) || !(delta_au > 0.0) || !std::isfinite(i)) return kNaN;
    i = std::fabs(i);
    const double distance = 5.0 * std::log10(r_au * delta_au);
    double v1 = kNaN;  // magnitude at unit distances, V(1, i)
    switch (body) {
        case Major::kMercury:
            if (i > 170.0) return kNaN;
            v1 = -0.613 + i * (6.328e-02 +
                               i * (-1.6336e-03 +
                                    i * (3.3644e-05 +
                                         i * (-3.4265e-07 + i * (1.6893e-09 + i * -3.0334e-12)))));
            break;
        case Major::kVenus:
            v1 =
                i < 163.7
                    ? -4.384 + i * (-1.044e-03 + i * (3.687e-04 + i * (-2.814e-06 + i * 8.938e-09)))
                    : 236.05828 + i * (-2.81914 + i * 8.39034e-03);
            break;
        case Major::kMars:
            v1 = i <= 50.0 ? -1.601 + i * (2.267e-02 - 1.302e-04 * i)
                           : -0.367 + i * (-0.02573 + 3.445e-04 * i);
            break;
        case Major::kJupiter:
            if (i <= 12.0) {
                v1 = -9.395 + i * (-3.7e-04 + 6.16e-04 * i);
            } else {
                const double x = i / 180.0;
                const double f =
                    1.0 + x * (-1.507 + x * (-0.363 + x * (-0.062 + x * (2.809 - 1.876 * x))));
                if (!(f > 0.0)) return kNaN;
                v1 = -9.428 - 2.5 * std::log10(f);
            }
            break;
        case Major::kSaturn: {
            // Globe and rings; the ring opening seen from the Earth never
            // exceeds 27 degrees, the formula's range.
            const double sb = std::sin(std::fabs(sub_latitude) * ERFA_DD2R);
            v1 = -8.914 - 1.825 * sb + 0.026 * i - 0.378 * sb * std::exp(-2.25 * i);
            break;
        }
        case Major::kUranus:
            v1 = -7.110 - 8.4e-04 * std::fabs(sub_latitude) + i * (6.587e-03 + 1.045e-04 * i);
            break;
        case Major::kNeptune:
            v1 = -7.00 + i * (7.944e-03 + 9.617e-05 * i);
            break;
        case Major::kPluto:
            v1 = -1.01;
            break;
        case Major::kMoon: {
            // Allen's formula holds at the mean distance, 384 400 km.
            const double mean_distance_au = 384400.0 / 149597870.7;
            v1 = -12.73 - 5.0 * std::log10(mean_distance_au) + 0.026 * i + 4.0e-9 * i * i * i * i;
            break;
        }
        case Major::kSun:
        case Major::kEarth:
            return kNaN;
    }
    return std::isfinite(sub_latitude) || (body != Major::kSaturn && body != Major::kUranus)
               ? v1 + distance
               : kNaN;
}

}  // namespace solar
