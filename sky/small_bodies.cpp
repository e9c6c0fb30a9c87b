#include "sky/small_bodies.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace solar {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The Sun's GM in au^3 / d^2.
constexpr double kMu = kGaussK * kGaussK;

// Stumpff functions c2(z) = (1 - cos sqrt z) / z and c3(z) = (sqrt z -
// sin sqrt z) / sqrt(z)^3, continued to z <= 0 (Danby 6.9).  Near zero the
// closed forms lose digits to cancellation, so the series is used there.
void Stumpff(double z, double* c2, double* c3) {
    if (std::fabs(z) < 1e-3) {
        // Enough terms for 1e-17 at |z| < 1e-3.
        *c2 = 0.5 - z / 24.0 + z * z / 720.0 - z * z * z / 40320.0;
        *c3 = 1.0 / 6.0 - z / 120.0 + z * z / 5040.0 - z * z * z / 362880.0;
    } else if (z > 0.0) {
        const double s = std::sqrt(z);
        *c2 = (1.0 - std::cos(s)) / z;
        *c3 = (s - std::sin(s)) / (z * s);
    } else {
        const double s = std::sqrt(-z);
        *c2 = (std::cosh(s) - 1.0) / -z;
        *c3 = (std::sinh(s) - s) / (-z * s);
    }
}

// Position in the orbital plane (x towards perihelion, y 90 degrees ahead
// in the direction of motion), au, at dt days after perihelion.  With the
// perihelion as the starting point (r0 = q, r0.v0 = 0) the universal
// Kepler equation reads  sqrt(mu) dt = e chi^3 c3(alpha chi^2) + q chi,
// alpha = (1 - e) / q, whose derivative in chi is the radius
// r = q + e chi^2 c2 > 0: the left side is monotonic in chi, so a
// Newton step that leaves the bracket falls back to bisection.
bool PlanePosition(double q, double e, double dt, double* x, double* y) {
    const double alpha = (1.0 - e) / q;
    const double target = std::sqrt(kMu) * dt;
    // F(chi) >= q chi, so |chi| <= |target| / q.
    double lo = std::min(0.0, target / q), hi = std::max(0.0, target / q);
    double chi = target / q;
    if (alpha > 0.0) chi = std::clamp(target * std::sqrt(alpha), lo, hi);
    double c2 = 0.5, c3 = 1.0 / 6.0;
    bool converged = false;
    for (int i = 0; i < 200; ++i) {
        const double z = alpha * chi * chi;
        Stumpff(z, &c2, &c3);
        const double f = e * chi * chi * chi * c3 + q * chi - target;
        const double r = q + e * chi * chi * c2;
        if (!std::isfinite(f) || !std::isfinite(r)) {
            hi = chi;  // beyond what doubles hold: only a smaller chi can be the root
            chi = 0.5 * (lo + hi);
            continue;
        }
        (f > 0.0 ? hi : lo) = chi;
        double next = chi - f / r;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - chi) <= 1e-15 * std::max(1.0, std::fabs(chi))) {
            chi = next;
            converged = true;
            break;
        }
        chi = next;
    }
    if (!converged) return false;
    Stumpff(alpha * chi * chi, &c2, &c3);
    // Lagrange's f and g with r0 = (q, 0), v0 = (0, sqrt(mu (1 + e) / q)).
    const double f = 1.0 - chi * chi * c2 / q;
    const double g = dt - chi * chi * chi * c3 / std::sqrt(kMu);
    *x = f * q;
    *y = g * std::sqrt(kMu * (1.0 + e) / q);
    return std::isfinite(*x) && std::isfinite(*y);
}

}  // namespace

bool IsValid(const OrbitalElements& el) {
    return std::isfinite(el.perihelion_distance_au) && el.perihelion_distance_au > 0.0 &&
           std::isfinite(el.eccentricity) && el.eccentricity >= 0.0 &&
           std::isfinite(el.inclination_deg) && std::isfinite(el.node_deg) &&
           std::isfinite(el.perihelion_argument_deg) && std::isfinite(el.perihelion_jd_tt);
}

double MeanMotion(const OrbitalElements& el) {
    if (!IsValid(el)) return kNaN;
    const double q = el.perihelion_distance_au;
    if (el.eccentricity == 1.0) return kGaussK / std::sqrt(2.0 * q * q * q);
    const double a = std::fabs(q / (1.0 - el.eccentricity));
    return kGaussK / std::sqrt(a * a * a);
}

double SemiMajorAxis(const OrbitalElements& el) {
    if (!IsValid(el) || el.eccentricity >= 1.0) return kNaN;
    return el.perihelion_distance_au / (1.0 - el.eccentricity);
}

double PeriodYears(const OrbitalElements& el) {
    const double a = SemiMajorAxis(el);
    return std::isfinite(a) ? 2.0 * ERFA_DPI / MeanMotion(el) / 365.25 : kNaN;
}

Vec3 KeplerHeliocentric(const OrbitalElements& el, double jd_tt) {
    if (!IsValid(el) || !std::isfinite(jd_tt)) return NanVector();
    const double q = el.perihelion_distance_au;
    const double e = el.eccentricity;
    double dt = jd_tt - el.perihelion_jd_tt;
    if (e < 1.0) {
        // Whole revolutions change nothing; keeping dt within half a period
        // keeps chi small.
        const double period = 2.0 * ERFA_DPI / MeanMotion(el);
        dt = std::remainder(dt, period);
    }
    double x = 0.0, y = 0.0;
    if (!PlanePosition(q, e, dt, &x, &y)) return NanVector();
    // Orbital plane -> ecliptic J2000: Rz(-node) Rx(-i) Rz(-argument).
    const double w = el.perihelion_argument_deg * ERFA_DD2R;
    const double node = el.node_deg * ERFA_DD2R;
    const double inc = el.inclination_deg * ERFA_DD2R;
    const double u = x * std::cos(w) - y * std::sin(w);  // in the plane, from the node
    const double v = x * std::sin(w) + y * std::cos(w);
    const Vec3 ecl{u * std::cos(node) - v * std::cos(inc) * std::sin(node),
                   u * std::sin(node) + v * std::cos(inc) * std::cos(node), v * std::sin(inc)};
    return EclipticJ2000ToIcrs(ecl);
}

double MinorPlanetMagnitude(double h, double g, double r_au, double delta_au,
                            double phase_angle_deg) {
    if (!std::isfinite(h) || !(r_au > 0.0) || !(delta_au > 0.0) ||
        !std::isfinite(phase_angle_deg)) {
        return kNaN;
    }
    if (!std::isfinite(g)) g = 0.15;  // the system's standard slope
    const double t = std::tan(0.5 * std::fabs(phase_angle_deg) * ERFA_DD2R);
    const double phi1 = std::exp(-3.33 * std::pow(t, 0.63));
    const double phi2 = std::exp(-1.87 * std::pow(t, 1.22));
    const double reflected = (1.0 - g) * phi1 + g * phi2;
    if (!(reflected > 0.0)) return kNaN;  // no lit face at all (phase 180)
    return h + 5.0 * std::log10(r_au * delta_au) - 2.5 * std::log10(reflected);
}

double CometMagnitude(double m1, double k1, double r_au, double delta_au) {
    if (!std::isfinite(m1) || !(r_au > 0.0) || !(delta_au > 0.0)) return kNaN;
    if (!std::isfinite(k1)) k1 = kDefaultCometK1;
    return m1 + 5.0 * std::log10(delta_au) + k1 * std::log10(r_au);
}

double SmallBodyMagnitude(const SmallBody& body, double r_au, double delta_au,
                          double phase_angle_deg) {
    if (body.kind == SmallBody::Kind::kComet)
        return CometMagnitude(body.m1, body.k1, r_au, delta_au);
    return MinorPlanetMagnitude(body.h, body.g, r_au, delta_au, phase_angle_deg);
}

}  // namespace solar
