// Instants of the Moon's principal phases.
//
// A phase is defined, as in the almanacs, by the excess of the Moon's
// apparent geocentric ecliptic longitude over the Sun's: 0, 90, 180 and 270
// degrees for new moon, first quarter, full moon and last quarter.  The
// excess grows monotonically (10 to 16 degrees a day), so each phase is a
// simple root, found here by the secant method from the mean phase of Meeus
// (Astronomical Algorithms, 2nd ed., eq. 49.1).
#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "host/vexacl.h"

namespace vexacl {
namespace {

// Mean lunation of Meeus eq. 49.1: JDE (TT) of the mean new moon of
// lunation k (k = 0 is 2000 January 6) and the mean synodic month, days.
constexpr double kMeanNewMoonEpoch = 2451550.09766;
constexpr double kSynodicMonth = 29.530588861;

// Light time of one au in days.
constexpr double kAuLightDays = ERFA_AULT / ERFA_DAYSEC;

// Convergence of the root finder: 1e-7 day is 9 ms, far below the accuracy
// of the lunar theory (a few arcseconds, i.e. some seconds of time).
constexpr double kTimeTolerance = 1e-7;  // days
constexpr int kMaxIterations = 30;

// Rotation from the GCRS to the true ecliptic and equinox of date at a TT
// Julian Day: bias-precession-nutation IAU 2006/2000A, then the true
// obliquity (mean obliquity + nutation in obliquity).
void TrueEclipticOfDate(double jd_tt, double r[3][3]) {
    double dpsi = 0.0, deps = 0.0, epsa = 0.0;
    double rb[3][3], rp[3][3], rbp[3][3], rn[3][3];
    eraPn06a(ERFA_DJ00, jd_tt - ERFA_DJ00, &dpsi, &deps, &epsa, rb, rp, rbp, rn, r);
    eraRx(epsa + deps, r);
}

// Longitude in degrees [0, 360) of a GCRS vector in the given frame.
double Longitude(double r[3][3], double p[3]) {
    double q[3];
    eraRxp(r, p, q);
    double lon = 0.0, lat = 0.0;
    eraC2s(q, &lon, &lat);
    return degmal(lon * ERFA_DR2D);
}

// The excess of the Moon's apparent longitude over the Sun's reduced to
// [-180, 180) degrees around `target` (degrees), at a TT Julian Day.
double PhaseOffset(double jd_tt, double target) {
    double sun = 0.0, moon = 0.0;
    if (!CalcSunMoonLongitude(jd_tt, &sun, &moon)) return std::nan("");
    return degmal2(moon - sun - target);
}

// TT Julian Day of phase `quarter` (0..3) of lunation k, by the secant
// method started at the mean phase and one mean-rate step from it.  The
// start depends on k and quarter only, so the same phase always comes back
// as the same double, whatever date it was asked for from.
bool SolvePhase(long long k, int quarter, double* jd_tt) {
    const double target = 90.0 * quarter;
    const double mean_rate = 360.0 / kSynodicMonth;  // degrees a day
    double t0 = kMeanNewMoonEpoch + kSynodicMonth * (static_cast<double>(k) + quarter / 4.0);
    double g0 = PhaseOffset(t0, target);
    if (!std::isfinite(g0)) return false;
    double t1 = t0 - g0 / mean_rate;
    for (int i = 0; i < kMaxIterations; ++i) {
        const double g1 = PhaseOffset(t1, target);
        if (!std::isfinite(g1)) return false;
        if (g1 == 0.0 || g1 == g0) break;
        const double t2 = t1 - g1 * (t1 - t0) / (g1 - g0);
        if (!std::isfinite(t2)) return false;
        t0 = t1;
        g0 = g1;
        t1 = t2;
        if (std::fabs(t1 - t0) < kTimeTolerance) break;
    }
    *jd_tt = t1;
    return std::isfinite(t1);
}

// UT Julian Day of a TT one: Delta T is taken at the UT instant, found by
// one fixed-point step (Delta T changes by milliseconds over a minute).
double DtToUt(double jd_tt) {
    const double first = jd_tt - DeltaT(jd_tt) / ERFA_DAYSEC;
    return jd_tt - DeltaT(first) / ERFA_DAYSEC;
}

bool PhaseUt(long long k, int quarter, double* jd_ut) {
    double jd_tt = 0.0;
    if (!SolvePhase(k, quarter, &jd_tt)) return false;
    *jd_ut = DtToUt(jd_tt);
    return std::isfinite(*jd_ut);
}

}  // namespace

int CalcSunMoonLongitude(double jd_tt, double* sun_deg, double* moon_deg) {
    if (sun_deg) *sun_deg = 0.0;
    if (moon_deg) *moon_deg = 0.0;
    if (!std::isfinite(jd_tt)) return 0;
    const double d2 = jd_tt - ERFA_DJ00;

    double r[3][3];
    TrueEclipticOfDate(jd_tt, r);

    // The Moon: geocentric GCRS position (eraMoon98, Meeus ch. 47) at the
    // time the light left it.  The aberration by the Earth's barycentric
    // velocity and the Earth's own light-time displacement cancel to first
    // order for a body that moves with the Earth, so nothing else applies.
    double pv[2][3];
    eraMoon98(ERFA_DJ00, d2, pv);
    const double moon_light_time = eraPm(pv[0]) * kAuLightDays;
    eraMoon98(ERFA_DJ00, d2 - moon_light_time, pv);
    const double moon = Longitude(r, pv[0]);

    // The Sun: the vector from the Earth (eraEpv00) to the Sun where it was
    // when the light left it, then annual aberration by the Earth's
    // barycentric velocity (eraAb, gravitational term included).
    double pvh[2][3], pvb[2][3];
    if (eraEpv00(ERFA_DJ00, d2, pvh, pvb) < 0) return 0;
    double p[3], sun_velocity[3];
    eraSxp(-1.0, pvh[0], p);               // Sun - Earth, au
    eraPmp(pvb[1], pvh[1], sun_velocity);  // Sun's barycentric velocity, au/day
    const double distance = eraPm(p);
    double retarded[3], shift[3];
    eraSxp(distance * kAuLightDays, sun_velocity, shift);
    eraPmp(p, shift, retarded);
    double direction[3], modulus = 0.0;
    eraPn(retarded, &modulus, direction);
    double velocity_c[3];  // the Earth's barycentric velocity in units of c
    eraSxp(kAuLightDays, pvb[1], velocity_c);
    const double bm1 = std::sqrt(1.0 - eraPm(velocity_c) * eraPm(velocity_c));
    double apparent[3];
    eraAb(direction, velocity_c, distance, bm1, apparent);
    const double sun = Longitude(r, apparent);

    if (sun_deg) *sun_deg = sun;
    if (moon_deg) *moon_deg = moon;
    return 1;
}

int GetMoonPhases(const tagADATE& date, tagMOONPHASE* entries, int max_entries) {
    if (!entries || max_entries <= 0) return 0;
    const double jd = GetJd(date);
    if (jd == 0.0 || !std::isfinite(jd)) return 0;

    // The lunation whose new moon is the last one at or before the date.
    // The mean new moon lies within about 0.6 day of the true one, so the
    // guess is off by one lunation at most; a few steps settle it.
    const double guess = std::floor((UtToDt(jd) - kMeanNewMoonEpoch) / kSynodicMonth);
    if (!std::isfinite(guess) || std::fabs(guess) > 1e9) return 0;
    auto k = static_cast<long long>(guess);
    double new_moon = 0.0, next_new_moon = 0.0;
    if (!PhaseUt(k, 0, &new_moon)) return 0;
    for (int step = 0; step < 4 && new_moon > jd; ++step) {
        --k;
        if (!PhaseUt(k, 0, &new_moon)) return 0;
    }
    if (new_moon > jd) return 0;
    if (!PhaseUt(k + 1, 0, &next_new_moon)) return 0;
    for (int step = 0; step < 4 && next_new_moon <= jd; ++step) {
        ++k;
        new_moon = next_new_moon;
        if (!PhaseUt(k + 1, 0, &next_new_moon)) return 0;
    }
    if (next_new_moon <= jd) return 0;

    int count = 0;
    for (int i = 0; i < max_entries; ++i) {
        const long long lunation = k + i / 4;
        const int quarter = i % 4;
        double instant = 0.0;
        if (i == 0) {
            instant = new_moon;
        } else if (i == 4) {
            instant = next_new_moon;
        } else if (!PhaseUt(lunation, quarter, &instant)) {
            break;
        }
        entries[count].phase = quarter;
        entries[count].jd = instant;
        ++count;
    }
    return count;
}

}  // namespace vexacl
