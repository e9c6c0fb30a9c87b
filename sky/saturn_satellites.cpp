// Mimas to Iapetus by the theories Meeus gives (Astronomical Algorithms,
// 2nd ed., ch. 46, after Harper & Taylor 1993, from Dourneau's and
// Taylor's theories): each satellite's longitude, distance, inclination and
// node on Saturn's equator, turned to the ecliptic and equinox of B1950.
#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "sky/satellites_internal.h"

namespace solar {
namespace {

constexpr double kSaturnRadiusKm = 60330.0;  // the theories' unit of length
constexpr double kB1950 = 2433282.4235;      // Julian Day (TT) of B1950.0
// Inclination and node of Saturn's equator on the ecliptic of B1950.
constexpr double kEquatorInclination = 28.0817;
constexpr double kEquatorNode = 168.8112;

double S(double deg) {
    return std::sin(deg * ERFA_DD2R);
}
double C(double deg) {
    return std::cos(deg * ERFA_DD2R);
}
double Atan2(double y, double x) {
    return std::atan2(y, x) * ERFA_DR2D;
}

// A satellite's orbit for one instant: longitude in the orbit counted
// from the node line through Saturn's equator (lambda), distance (Saturn
// radii), inclination to Saturn's equator (gamma), and node on it (omega),
// degrees.
struct Orbit {
    double lambda, r, gamma, omega;
};

// The time arguments of the chapter.
struct Times {
    explicit Times(double jde) {
        t1 = jde - 2411093.0;
        t2 = t1 / 365.25;
        t3 = (jde - 2433282.423) / 365.25 + 1950.0;
        t4 = jde - 2411368.0;
        t5 = t4 / 365.25;
        t6 = jde - 2415020.0;
        t7 = t6 / 36525.0;
        t8 = t6 / 365.25;
        t9 = (jde - 2442000.5) / 365.25;
        t10 = jde - 2409786.0;
        t11 = t10 / 36525.0;
        w0 = 5.095 * (t3 - 1866.39);
        w1 = 74.4 + 32.39 * t2;
        w2 = 134.3 + 92.62 * t2;
        w3 = 42.0 - 0.5118 * t5;
        w4 = 276.59 + 0.5118 * t5;
        w5 = 267.2635 + 1222.1136 * t7;
        w6 = 175.4762 + 1221.5515 * t7;
        w7 = 2.4891 + 0.002435 * t7;
        w8 = 113.35 - 0.2597 * t7;
        e1 = 0.05589 - 0.000346 * t7;
    }
    double t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11;
    double w0, w1, w2, w3, w4, w5, w6, w7, w8, e1;
};

// The equation of the centre and the turn from the ecliptic-based elements
// (lambda', perisaturnium p, e, a, node, inclination on the ecliptic of
// B1950) to the orbit on Saturn's equator (Meeus's "subroutine").
Orbit FromEclipticElements(double lambda1, double p, double e, double a, double node, double incl) {
    const double m = lambda1 - p;
    const double e2 = e * e, e3 = e2 * e, e4 = e2 * e2, e5 = e3 * e2;
    const double centre =
        ((2 * e - 0.25 * e3 + 0.0520833333 * e5) * S(m) +
         (1.25 * e2 - 0.458333333 * e4) * S(2 * m) + (1.083333333 * e3 - 0.671875 * e5) * S(3 * m) +
         1.072917 * e4 * S(4 * m) + 1.142708 * e5 * S(5 * m)) *
        ERFA_DR2D;
    Orbit o;
    o.r = a * (1 - e2) / (1 + e * C(m + centre));
    const double g = node - kEquatorNode;
    const double a1 = S(incl) * S(g);
    const double a2 = C(kEquatorInclination) * S(incl) * C(g) - S(kEquatorInclination) * C(incl);
    o.gamma = std::asin(std::hypot(a1, a2)) * ERFA_DR2D;
    const double u = Atan2(a1, a2);
    o.omega = kEquatorNode + u;
    const double h = C(kEquatorInclination) * S(incl) - S(kEquatorInclination) * C(incl) * C(g);
    const double psi = Atan2(S(kEquatorInclination) * S(g), h);
    o.lambda = lambda1 + centre + u - g - psi;
    return o;
}

Orbit Mimas(const Times& t) {
    const double l =
        127.64 + 381.994497 * t.t1 - 43.57 * S(t.w0) - 0.720 * S(3 * t.w0) - 0.02144 * S(5 * t.w0);
    const double p = 106.1 + 365.549 * t.t2;
    const double m = l - p;
    const double c = 2.18287 * S(m) + 0.025988 * S(2 * m) + 0.00043 * S(3 * m);
    return {l + c, 3.06879 / (1 + 0.01905 * C(m + c)), 1.563, 54.5 - 365.072 * t.t2};
}

Orbit Enceladus(const Times& t) {
    const double l = 200.317 + 262.7319002 * t.t1 + 0.25667 * S(t.w1) + 0.20883 * S(t.w2);
    const double p = 309.107 + 123.44121 * t.t2;
    const double m = l - p;
    const double c = 0.55577 * S(m) + 0.00168 * S(2 * m);
    return {l + c, 3.94118 / (1 + 0.00485 * C(m + c)), 0.0262, 348.0 - 151.95 * t.t2};
}

Orbit Tethys(const Times& t) {
    return {285.306 + 190.69791226 * t.t1 + 2.063 * S(t.w0) + 0.03409 * S(3 * t.w0) +
                0.001015 * S(5 * t.w0),
            4.880998, 1.0976, 111.33 - 72.2441 * t.t2};
}

Orbit Dione(const Times& t) {
    const double l = 254.712 + 131.53493193 * t.t1 - 0.0215 * S(t.w1) - 0.01733 * S(t.w2);
    const double p = 174.8 + 30.820 * t.t2;
    const double m = l - p;
    const double c = 0.24717 * S(m) + 0.00033 * S(2 * m);
    return {l + c, 6.24871 / (1 + 0.002157 * C(m + c)), 0.0139, 232.0 - 30.27 * t.t2};
}

Orbit Rhea(const Times& t) {
    const double p1 = 342.7 + 10.057 * t.t2;
    const double a1 = 0.000265 * S(p1) + 0.001 * S(t.w4);
    const double a2 = 0.000265 * C(p1) + 0.001 * C(t.w4);
    const double n = 345.0 - 10.057 * t.t2;
    const double lambda1 = 359.244 + 79.69004720 * t.t1 + 0.086754 * S(n);
    const double incl = 28.0362 + 0.346898 * C(n) + 0.01930 * C(t.w3);
    const double node = 168.8034 + 0.736936 * S(n) + 0.041 * S(t.w3);
    return FromEclipticElements(lambda1, Atan2(a1, a2), std::hypot(a1, a2), 8.725924, node, incl);
}

Orbit Titan(const Times& t) {
    const double l = 261.1582 + 22.57697855 * t.t4 + 0.074025 * S(t.w3);
    const double incl1 = 27.45141 + 0.295999 * C(t.w3);
    const double node1 = 168.66925 + 0.628808 * S(t.w3);
    const double a1 = S(t.w7) * S(node1 - t.w8);
    const double a2 = C(t.w7) * S(incl1) - S(t.w7) * C(incl1) * C(node1 - t.w8);
    const double g0 = 102.8623;
    const double psi = Atan2(a1, a2);
    const double s = std::hypot(a1, a2);
    double g = t.w4 - node1 - psi;
    double peri = 0.0;
    for (int i = 0; i < 3; ++i) {
        peri = t.w4 + 0.37515 * (S(2 * g) - S(2 * g0));
        g = peri - node1 - psi;
    }
    const double e1 = 0.029092 + 0.00019048 * (C(2 * g) - C(2 * g0));
    const double q = 2 * (t.w5 - peri);
    const double b1 = S(incl1) * S(node1 - t.w8);
    const double b2 = C(t.w7) * S(incl1) * C(node1 - t.w8) - S(t.w7) * C(incl1);
    const double theta = Atan2(b1, b2) + t.w8;
    const double e = e1 + 0.002778797 * e1 * C(q);
    const double p = peri + 0.159215 * S(q);
    const double u = 2 * t.w5 - 2 * theta + psi;
    const double h = 0.9375 * e1 * e1 * S(q) + 0.1875 * s * s * S(2 * (t.w5 - theta));
    const double lambda1 = l - 0.254744 * (t.e1 * S(t.w6) + 0.75 * t.e1 * t.e1 * S(2 * t.w6) + h);
    const double incl = incl1 + 0.031843 * s * C(u);
    const double node = node1 + 0.031843 * s * S(u) / S(incl1);
    return FromEclipticElements(lambda1, p, e, 20.216193, node, incl);
}

Orbit Hyperion(const Times& t) {
    const double eta = 92.39 + 0.5621071 * t.t6;
    const double zeta = 148.19 - 19.18 * t.t8;
    const double theta = 184.8 - 35.41 * t.t9;
    const double theta1 = theta - 7.5;
    const double as = 176.0 + 12.22 * t.t8;
    const double bs = 8.0 + 24.44 * t.t8;
    const double cs = bs + 5.0;
    const double peri = 69.898 - 18.67088 * t.t8;
    const double phi = 2 * (peri - t.w5);
    const double chi = 94.9 - 2.292 * t.t8;
    const double a =
        24.50601 - 0.08686 * C(eta) - 0.00166 * C(zeta + eta) + 0.00175 * C(zeta - eta);
    const double e = 0.103458 - 0.004099 * C(eta) - 0.000167 * C(zeta + eta) +
                     0.000235 * C(zeta - eta) + 0.02303 * C(zeta) - 0.00212 * C(2 * zeta) +
                     0.000151 * C(3 * zeta) + 0.00013 * C(phi);
    const double p = peri + 0.15648 * S(chi) - 0.4457 * S(eta) - 0.2657 * S(zeta + eta) -
                     0.3573 * S(zeta - eta) - 12.872 * S(zeta) + 1.668 * S(2 * zeta) -
                     0.2419 * S(3 * zeta) - 0.07 * S(phi);
    const double lambda1 = 177.047 + 16.91993829 * t.t6 + 0.15648 * S(chi) + 9.142 * S(eta) +
                           0.007 * S(2 * eta) - 0.014 * S(3 * eta) + 0.2275 * S(zeta + eta) +
                           0.2112 * S(zeta - eta) - 0.26 * S(zeta) - 0.0098 * S(2 * zeta) -
                           0.013 * S(as) + 0.017 * S(bs) - 0.0303 * S(phi);
    const double incl =
        27.3347 + 0.6434886 * C(chi) + 0.315 * C(t.w3) + 0.018 * C(theta) - 0.018 * C(cs);
    const double node =
        168.6812 + 1.40136 * C(chi) + 0.68599 * S(t.w3) - 0.0392 * S(cs) + 0.0366 * S(theta1);
    return FromEclipticElements(lambda1, p, e, a, node, incl);
}

Orbit Iapetus(const Times& t) {
    const double l = 261.1582 + 22.57697855 * t.t4;
    const double peri1 = 91.796 + 0.562 * t.t7;
    const double psi = 4.367 - 0.195 * t.t7;
    const double theta = 146.819 - 3.198 * t.t7;
    const double phi = 60.470 + 1.521 * t.t7;
    const double big_phi = 205.055 - 2.091 * t.t7;
    const double e1 = 0.028298 + 0.001156 * t.t11;
    const double peri0 = 352.91 + 11.71 * t.t11;
    const double mu = 76.3852 + 4.53795125 * t.t10;
    const double incl1 = 18.4602 + t.t11 * (-0.9518 + t.t11 * (-0.072 + t.t11 * 0.0054));
    const double node1 = 143.198 + t.t11 * (-3.919 + t.t11 * (0.116 + t.t11 * 0.008));
    const double ll = mu - peri0;
    const double g = peri0 - node1 - psi;
    const double g1 = peri0 - node1 - phi;
    const double ls = t.w5 - peri1;
    const double gs = peri1 - theta;
    const double lt = l - t.w4;
    const double gt = t.w4 - big_phi;
    const double u1 = 2 * (ll + g - ls - gs);
    const double u2 = ll + g1 - lt - gt;
    const double u3 = ll + 2 * (g - ls - gs);
    const double u4 = lt + gt - g1;
    const double u5 = 2 * (ls + gs);
    const double a = 58.935028 + 0.004638 * C(u1) + 0.058222 * C(u2);
    const double e = e1 - 0.0014097 * C(g1 - gt) + 0.0003733 * C(u5 - 2 * g) + 0.0001180 * C(u3) +
                     0.0002408 * C(ll) + 0.0002849 * C(ll + u2) + 0.0006190 * C(u4);
    const double w = 0.08077 * S(g1 - gt) + 0.02139 * S(u5 - 2 * g) - 0.00676 * S(u3) +
                     0.01380 * S(ll) + 0.01632 * S(ll + u2) + 0.03547 * S(u4);
    const double p = peri0 + w / e1;
    const double lambda1 = mu - 0.04299 * S(u2) - 0.00789 * S(u1) - 0.06312 * S(ls) -
                           0.00295 * S(2 * ls) - 0.02231 * S(u5) + 0.00650 * S(u5 + psi);
    const double incl = incl1 + 0.04204 * C(u5 + psi) + 0.00235 * C(ll + g1 + lt + gt + phi) +
                        0.00360 * C(u2 + phi);
    const double w1 =
        0.04204 * S(u5 + psi) + 0.00235 * S(ll + g1 + lt + gt + phi) + 0.00358 * S(u2 + phi);
    const double node = node1 + w1 / S(incl1);
    return FromEclipticElements(lambda1, p, e, a, node, incl);
}

}  // namespace

Vec3 SaturnianPlanetocentric(int index, double jd_tt) {
    const Times t(jd_tt);
    Orbit (*const theories[])(const Times&) = {Mimas, Enceladus, Tethys,   Dione,
                                               Rhea,  Titan,     Hyperion, Iapetus};
    const Orbit o = theories[index](t);
    // In the orbit, then on Saturn's equator, then on the ecliptic of B1950.
    const double u = o.lambda - o.omega;
    const double w = o.omega - kEquatorNode;
    const double x = o.r * (C(u) * C(w) - S(u) * C(o.gamma) * S(w));
    const double y0 = o.r * (S(u) * C(w) * C(o.gamma) + C(u) * S(w));
    const double z0 = o.r * S(u) * S(o.gamma);
    const double y = C(kEquatorInclination) * y0 - S(kEquatorInclination) * z0;
    const double z = S(kEquatorInclination) * y0 + C(kEquatorInclination) * z0;
    const double xe = C(kEquatorNode) * x - S(kEquatorNode) * y;
    const double ye = S(kEquatorNode) * x + C(kEquatorNode) * y;
    const double k = kSaturnRadiusKm / (ERFA_DAU / 1000.0);
    return EclipticOfDateToIcrs({xe * k, ye * k, z * k}, kB1950);
}

}  // namespace solar
