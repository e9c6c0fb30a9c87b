// Io, Europa, Ganymede and Callisto by Lieske's theory E5 as Meeus
// abridges it (Astronomical Algorithms, 2nd ed., ch. 44, "higher accuracy":
// the periodic terms of the longitudes, latitudes and radii of the four
// satellites on Jupiter's equator, then the rotation to the ecliptic of
// date).  Within a few hundred km of the full theory.
#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "sky/satellites_internal.h"

namespace solar {
namespace {

double S(double deg) {
    return std::sin(deg * ERFA_DD2R);
}
double C(double deg) {
    return std::cos(deg * ERFA_DD2R);
}

// Jupiter's equatorial radius as the theory's unit of length, km.
constexpr double kJupiterRadiusKm = 71398.0;

}  // namespace

Vec3 GalileanPlanetocentric(int index, double jd_tt) {
    // Days from 1976 Aug 10.0 TT, the theory's epoch.
    const double t = jd_tt - 2443000.5;
    const double l1 = 106.07719 + 203.488955790 * t;
    const double l2 = 175.73161 + 101.374724735 * t;
    const double l3 = 120.55883 + 50.317609207 * t;
    const double l4 = 84.44459 + 21.571071177 * t;
    const double p1 = 97.0881 + 0.16138586 * t;  // longitudes of the perijoves
    const double p2 = 154.8663 + 0.04726307 * t;
    const double p3 = 188.1840 + 0.00712734 * t;
    const double p4 = 335.2868 + 0.00184000 * t;
    const double w1 = 312.3346 - 0.13279386 * t;  // longitudes of the nodes
    const double w2 = 100.4411 - 0.03263064 * t;
    const double w3 = 119.1942 - 0.00717703 * t;
    const double w4 = 322.6186 - 0.00175934 * t;
    const double gamma = 0.33033 * S(163.679 + 0.0010512 * t) + 0.03439 * S(34.486 - 0.0161731 * t);
    const double phi = 199.6766 + 0.17379190 * t;          // libration
    double psi = 316.5182 - 0.00000208 * t;                // node of Jupiter's equator
    const double g = 30.23756 + 0.0830925701 * t + gamma;  // Jupiter's mean anomaly
    const double g1 = 31.97853 + 0.0334597339 * t;         // Saturn's
    const double pj = 13.469942;                           // Jupiter's perihelion

    // Periodic terms of the longitudes, degrees.
    const double s1 = 0.47259 * S(2 * (l1 - l2)) - 0.03478 * S(p3 - p4) +
                      0.01081 * S(l2 - 2 * l3 + p3) + 0.00738 * S(phi) +
                      0.00713 * S(l2 - 2 * l3 + p2) - 0.00674 * S(p1 + p3 - 2 * pj - 2 * g) +
                      0.00666 * S(l2 - 2 * l3 + p4) + 0.00445 * S(l1 - p3) - 0.00354 * S(l1 - l2) -
                      0.00317 * S(2 * psi - 2 * pj) + 0.00265 * S(l1 - p4) - 0.00186 * S(g) +
                      0.00162 * S(p2 - p3) + 0.00158 * S(4 * (l1 - l2)) - 0.00155 * S(l1 - l3) -
                      0.00138 * S(psi + w3 - 2 * pj - 2 * g) - 0.00115 * S(2 * (l1 - 2 * l2 + w2)) +
                      0.00089 * S(p2 - p4) + 0.00085 * S(l1 + p3 - 2 * pj - 2 * g) +
                      0.00083 * S(w2 - w3) + 0.00053 * S(psi - w2);
    const double s2 =
        1.06476 * S(2 * (l2 - l3)) + 0.04256 * S(l1 - 2 * l2 + p3) + 0.03581 * S(l2 - p3) +
        0.02395 * S(l1 - 2 * l2 + p4) + 0.01984 * S(l2 - p4) - 0.01778 * S(phi) +
        0.01654 * S(l2 - p2) + 0.01334 * S(l2 - 2 * l3 + p2) + 0.01294 * S(p3 - p4) -
        0.01142 * S(l2 - l3) - 0.01057 * S(g) - 0.00775 * S(2 * (psi - pj)) +
        0.00524 * S(2 * (l1 - l2)) - 0.00460 * S(l1 - l3) + 0.00316 * S(psi - 2 * g + w3 - 2 * pj) -
        0.00203 * S(p1 + p3 - 2 * pj - 2 * g) + 0.00146 * S(psi - w3) - 0.00145 * S(2 * g) +
        0.00125 * S(psi - w4) - 0.00115 * S(l1 - 2 * l3 + p3) - 0.00094 * S(2 * (l2 - w2)) +
        0.00086 * S(2 * (l1 - 2 * l2 + w2)) - 0.00086 * S(5 * g1 - 2 * g + 52.225) -
        0.00078 * S(l2 - l4) - 0.00064 * S(3 * l3 - 7 * l4 + 4 * p4) + 0.00064 * S(p1 - p4) -
        0.00063 * S(l1 - 2 * l3 + p4) + 0.00058 * S(w3 - w4) + 0.00056 * S(2 * (psi - pj - g)) +
        0.00056 * S(2 * (l2 - l4)) + 0.00055 * S(2 * (l1 - l3)) +
        0.00052 * S(3 * l3 - 7 * l4 + p3 + 3 * p4) - 0.00043 * S(l1 - p3) +
        0.00041 * S(5 * (l2 - l3)) + 0.00041 * S(p4 - pj) + 0.00032 * S(w2 - w3) +
        0.00032 * S(2 * (l3 - g - pj));
    const double s3 =
        0.16490 * S(l3 - p3) + 0.09081 * S(l3 - p4) - 0.06907 * S(l2 - l3) + 0.03784 * S(p3 - p4) +
        0.01846 * S(2 * (l3 - l4)) - 0.01340 * S(g) - 0.01014 * S(2 * (psi - pj)) +
        0.00704 * S(l2 - 2 * l3 + p3) - 0.00620 * S(l2 - 2 * l3 + p2) - 0.00541 * S(l3 - l4) +
        0.00381 * S(l2 - 2 * l3 + p4) + 0.00235 * S(psi - w3) + 0.00198 * S(psi - w4) +
        0.00176 * S(phi) + 0.00130 * S(3 * (l3 - l4)) + 0.00125 * S(l1 - l3) -
        0.00119 * S(5 * g1 - 2 * g + 52.225) + 0.00109 * S(l1 - l2) -
        0.00100 * S(3 * l3 - 7 * l4 + 4 * p4) + 0.00091 * S(w3 - w4) +
        0.00080 * S(3 * l3 - 7 * l4 + p3 + 3 * p4) - 0.00075 * S(2 * l2 - 3 * l3 + p3) +
        0.00072 * S(p1 + p3 - 2 * pj - 2 * g) + 0.00069 * S(p4 - pj) -
        0.00058 * S(2 * l3 - 3 * l4 + p4) - 0.00057 * S(l3 - 2 * l4 + p4) +
        0.00056 * S(l3 + p3 - 2 * pj - 2 * g) - 0.00052 * S(l2 - 2 * l3 + p1) -
        0.00050 * S(p2 - p3) + 0.00048 * S(l3 - 2 * l4 + p3) - 0.00045 * S(2 * l2 - 3 * l3 + p4) -
        0.00041 * S(p2 - p4) - 0.00038 * S(2 * g) - 0.00037 * S(p3 - p4 + w3 - w4) -
        0.00032 * S(3 * l3 - 7 * l4 + 2 * p3 + 2 * p4) + 0.00030 * S(4 * (l3 - l4)) +
        0.00029 * S(l3 + p4 - 2 * pj - 2 * g) - 0.00028 * S(w3 + psi - 2 * pj - 2 * g) +
        0.00026 * S(l3 - pj - g) + 0.00024 * S(l2 - 3 * l3 + 2 * l4) +
        0.00021 * S(2 * (l3 - pj - g)) - 0.00021 * S(l3 - p2) + 0.00017 * S(2 * (l3 - p3));
    const double s4 =
        0.84287 * S(l4 - p4) + 0.03431 * S(p4 - p3) - 0.03305 * S(2 * (psi - pj)) - 0.03211 * S(g) -
        0.01862 * S(l4 - p3) + 0.01186 * S(psi - w4) + 0.00623 * S(l4 + p4 - 2 * g - 2 * pj) +
        0.00387 * S(2 * (l4 - p4)) - 0.00284 * S(5 * g1 - 2 * g + 52.225) -
        0.00234 * S(2 * (psi - p4)) - 0.00223 * S(l3 - l4) - 0.00208 * S(l4 - pj) +
        0.00178 * S(psi + w4 - 2 * p4) + 0.00134 * S(p4 - pj) + 0.00125 * S(2 * (l4 - g - pj)) -
        0.00117 * S(2 * g) - 0.00112 * S(2 * (l3 - l4)) + 0.00107 * S(3 * l3 - 7 * l4 + 4 * p4) +
        0.00102 * S(l4 - g - pj) + 0.00096 * S(2 * l4 - psi - w4) + 0.00087 * S(2 * (psi - w4)) -
        0.00085 * S(3 * l3 - 7 * l4 + p3 + 3 * p4) + 0.00085 * S(l3 - 2 * l4 + p4) -
        0.00081 * S(2 * (l4 - psi)) + 0.00071 * S(l4 + p4 - 2 * pj - 3 * g) + 0.00061 * S(l1 - l4) -
        0.00056 * S(psi - w3) - 0.00054 * S(l3 - 2 * l4 + p3) + 0.00051 * S(l2 - l4) +
        0.00042 * S(2 * (psi - g - pj)) + 0.00039 * S(2 * (p4 - w4)) +
        0.00036 * S(psi + pj - p4 - w4) + 0.00035 * S(2 * g1 - g + 188.37) -
        0.00035 * S(l4 - p4 + 2 * pj - 2 * psi) - 0.00032 * S(l4 + p4 - 2 * pj - g) +
        0.00030 * S(2 * g1 - 2 * g + 149.15) + 0.00029 * S(3 * l3 - 7 * l4 + 2 * p3 + 2 * p4) +
        0.00028 * S(l4 - p4 + 2 * psi - 2 * pj) - 0.00028 * S(2 * (l4 - w4)) -
        0.00027 * S(p3 - p4 + w3 - w4) - 0.00026 * S(5 * g1 - 3 * g + 188.37) +
        0.00025 * S(w4 - w3) - 0.00025 * S(l2 - 3 * l3 + 2 * l4) - 0.00023 * S(3 * (l3 - l4)) +
        0.00021 * S(2 * l4 - 2 * pj - 3 * g) - 0.00021 * S(2 * l3 - 3 * l4 + p4) +
        0.00019 * S(l4 - p4 - g) - 0.00019 * S(2 * l4 - p3 - p4) - 0.00018 * S(l4 - p4 + g) -
        0.00016 * S(l4 + p3 - 2 * pj - 2 * g);

    double L = 0.0, tan_b = 0.0, r = 0.0;
    switch (index) {
        case 0:
            L = l1 + s1;
            tan_b = 0.0006393 * S(L - w1) + 0.0001825 * S(L - w2) + 0.0000329 * S(L - w3) -
                    0.0000311 * S(L - psi) + 0.0000093 * S(L - w4) +
                    0.0000075 * S(3 * L - 4 * l2 - 1.9927 * s1 + w2) +
                    0.0000046 * S(L + psi - 2 * pj - 2 * g);
            r = 5.90569 *
                (1 - 0.0041339 * C(2 * (l1 - l2)) - 0.0000387 * C(l1 - p3) -
                 0.0000214 * C(l1 - p4) + 0.0000170 * C(l1 - l2) - 0.0000131 * C(4 * (l1 - l2)) +
                 0.0000106 * C(l1 - l3) - 0.0000066 * C(l1 + p3 - 2 * pj - 2 * g));
            break;
        case 1:
            L = l2 + s2;
            tan_b = 0.0081004 * S(L - w2) + 0.0004512 * S(L - w3) - 0.0003284 * S(L - psi) +
                    0.0001160 * S(L - w4) + 0.0000272 * S(l1 - 2 * l3 + 1.0146 * s2 + w2) -
                    0.0000144 * S(L - w1) + 0.0000143 * S(L + psi - 2 * pj - 2 * g) +
                    0.0000035 * S(L - psi + g) - 0.0000028 * S(l1 - 2 * l3 + 1.0146 * s2 + w3);
            r = 9.39657 *
                (1 + 0.0093848 * C(l1 - l2) - 0.0003116 * C(l2 - p3) - 0.0001744 * C(l2 - p4) -
                 0.0001442 * C(l2 - p2) + 0.0000553 * C(l2 - l3) + 0.0000523 * C(l1 - l3) -
                 0.0000290 * C(2 * (l1 - l2)) + 0.0000164 * C(2 * (l2 - w2)) +
                 0.0000107 * C(l1 - 2 * l3 + p3) - 0.0000102 * C(l2 - p1) -
                 0.0000091 * C(2 * (l1 - l3)));
            break;
        case 2:
            L = l3 + s3;
            tan_b = 0.0032402 * S(L - w3) - 0.0016911 * S(L - psi) + 0.0006847 * S(L - w4) -
                    0.0002797 * S(L - w2) + 0.0000321 * S(L + psi - 2 * pj - 2 * g) +
                    0.0000051 * S(L - psi + g) - 0.0000045 * S(L - psi - g) -
                    0.0000045 * S(L + psi - 2 * pj) + 0.0000037 * S(L + psi - 2 * pj - 3 * g) +
                    0.0000030 * S(2 * l2 - 3 * L + 4.03 * s3 + w2) -
                    0.0000021 * S(2 * l2 - 3 * L + 4.03 * s3 + w3);
            r = 14.98832 *
                (1 - 0.0014388 * C(l3 - p3) - 0.0007917 * C(l3 - p4) + 0.0006342 * C(l2 - l3) -
                 0.0001761 * C(2 * (l3 - l4)) + 0.0000294 * C(l3 - l4) -
                 0.0000156 * C(3 * (l3 - l4)) + 0.0000156 * C(l1 - l3) - 0.0000153 * C(l1 - l2) +
                 0.0000070 * C(2 * l2 - 3 * l3 + p3) - 0.0000051 * C(l3 + p3 - 2 * pj - 2 * g));
            break;
        default:
            L = l4 + s4;
            tan_b = -0.0076579 * S(L - psi) + 0.0044134 * S(L - w4) - 0.0005112 * S(L - w3) +
                    0.0000773 * S(L + psi - 2 * pj - 2 * g) + 0.0000104 * S(L - psi + g) -
                    0.0000102 * S(L - psi - g) + 0.0000088 * S(L + psi - 2 * pj - 3 * g) -
                    0.0000038 * S(L + psi - 2 * pj - g);
            r = 26.36273 *
                (1 - 0.0073546 * C(l4 - p4) + 0.0001621 * C(l4 - p3) + 0.0000974 * C(l3 - l4) -
                 0.0000543 * C(l4 + p4 - 2 * pj - 2 * g) - 0.0000271 * C(2 * (l4 - p4)) +
                 0.0000182 * C(l4 - pj) + 0.0000177 * C(2 * (l3 - l4)) -
                 0.0000167 * C(2 * l4 - psi - w4) + 0.0000167 * C(psi - w4) -
                 0.0000155 * C(2 * (l4 - pj - g)) + 0.0000142 * C(2 * (l4 - psi)) +
                 0.0000105 * C(l1 - l4) + 0.0000092 * C(l2 - l4) - 0.0000089 * C(l4 - pj - g) -
                 0.0000062 * C(l4 + p4 - 2 * pj - 3 * g) + 0.0000048 * C(2 * (l4 - w4)));
            break;
    }

    // The theory's longitudes count from the equinox of B1950; precession
    // in longitude brings them (and psi) to the equinox of date.
    const double t0 = (jd_tt - 2433282.423) / 36525.0;
    const double precession = (1.3966626 + 0.0003088 * t0) * t0;
    L += precession;
    psi += precession;
    const double b = std::atan(tan_b) * ERFA_DR2D;
    // Jupiter's equator: x towards its node psi on Jupiter's orbit.
    double x = r * C(L - psi) * C(b), y = r * S(L - psi) * C(b), z = r * S(b);
    // Inclination of the equator to the orbit (Meeus's I), then the orbit's
    // own elements on the ecliptic of date (Meeus ch. 31).
    const double t1900 = (jd_tt - 2415020.5) / 36525.0;
    const double incl_equator = 3.120262 + 0.0006 * t1900;
    const double tc = (jd_tt - ERFA_DJ00) / ERFA_DJC;
    const double node = 100.464441 + tc * (1.0209550 + tc * (0.00040117 + tc * 0.000000569));
    const double incl = 1.303270 + tc * (-0.0054966 + tc * (0.00000465 - tc * 0.000000004));
    auto rotate_x = [](double angle, double* y_, double* z_) {
        const double y0 = *y_;
        *y_ = y0 * C(angle) - *z_ * S(angle);
        *z_ = y0 * S(angle) + *z_ * C(angle);
    };
    auto rotate_z = [](double angle, double* x_, double* y_) {
        const double x0 = *x_;
        *x_ = x0 * C(angle) - *y_ * S(angle);
        *y_ = x0 * S(angle) + *y_ * C(angle);
    };
    rotate_x(incl_equator, &y, &z);
    rotate_z(psi - node, &x, &y);
    rotate_x(incl, &y, &z);
    rotate_z(node, &x, &y);
    const double k = kJupiterRadiusKm / (ERFA_DAU / 1000.0);
    return EclipticOfDateToIcrs({x * k, y * k, z * k}, jd_tt);
}

}  // namespace solar
