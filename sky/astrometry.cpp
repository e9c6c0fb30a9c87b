#include "sky/astrometry.h"

#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "host/vexacl.h"

namespace astrometry {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kSecondsPerDay = 86400.0;
constexpr double kRadToHours = 12.0 / ERFA_DPI;
// Milliarcseconds to radians.
constexpr double kMasToRad = ERFA_DAS2R / 1000.0;

bool Finite(double x) {
    return std::isfinite(x);
}

// An angle in degrees reduced to [-180, 180).
double Wrap180(double deg) {
    return deg - 360.0 * std::floor((deg + 180.0) / 360.0);
}

// r_out = m r_in for a 3-vector (ERFA's eraRxp without its non-const matrix).
void Rxp(const Matrix3& m, const double in[3], double out[3]) {
    for (int i = 0; i < 3; ++i) out[i] = m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2];
}

// Spherical angles (radians) rotated by m: the longitude comes back in
// [0, 2 pi), the latitude in [-pi/2, pi/2].
void Rotate(const Matrix3& m, double lon, double lat, double* lon_out, double* lat_out) {
    double v[3], w[3];
    eraS2c(lon, lat, v);
    Rxp(m, v, w);
    eraC2s(w, lon_out, lat_out);
    *lon_out = eraAnp(*lon_out);
}

Equatorial EquatorialOf(double ra_rad, double dec_rad) {
    return {eraAnp(ra_rad) * kRadToHours, dec_rad * ERFA_DR2D};
}

Spherical SphericalOf(double lon_rad, double lat_rad) {
    return {eraAnp(lon_rad) * ERFA_DR2D, lat_rad * ERFA_DR2D};
}

// The catalogue place carried along the star's space motion to the
// context's time: ICRS RA, Dec (radians) and parallax (arcsec) at that epoch.
struct Propagated {
    bool ok = false;
    double ra = 0.0;
    double dec = 0.0;
    double parallax_as = 0.0;
};

Propagated Propagate(const CatalogStar& star, const AstrometryContext& context) {
    Propagated p;
    if (!context.ok()) return p;
    if (!Finite(star.ra_deg) || !Finite(star.dec_deg) || !Finite(star.pm_ra_cosdec_mas_yr) ||
        !Finite(star.pm_dec_mas_yr) || !Finite(star.parallax_mas) ||
        !Finite(star.radial_velocity_km_s) || std::fabs(star.dec_deg) > 90.0) {
        return p;
    }
    const double ra = star.ra_deg * ERFA_DD2R;
    const double dec = star.dec_deg * ERFA_DD2R;
    // ERFA wants dRA/dt; catalogues give dRA/dt cos(dec).  At the pole
    // itself the quotient is undefined and the RA component is dropped.
    const double cosd = std::cos(dec);
    const double pmr = cosd > 1e-12 ? star.pm_ra_cosdec_mas_yr * kMasToRad / cosd : 0.0;
    const double pmd = star.pm_dec_mas_yr * kMasToRad;
    // A negative parallax (measurement noise of a distant star) means "far".
    const double px_as = star.parallax_mas > 0.0 ? star.parallax_mas / 1000.0 : 0.0;

    double ra2 = 0.0, dec2 = 0.0, pmr2 = 0.0, pmd2 = 0.0, px2 = 0.0, rv2 = 0.0;
    // Epochs J2000.0 and the context's time, both TT (as TDB).  Status
    // bits +1 (distance overridden), +2 (excessive velocity), +4 (no
    // convergence) are warnings with usable results; -1 is a failure.
    const int status = eraPmsafe(ra, dec, pmr, pmd, px_as, star.radial_velocity_km_s, ERFA_DJ00,
                                 0.0, context.JdUt(), context.DeltaT() / kSecondsPerDay, &ra2,
                                 &dec2, &pmr2, &pmd2, &px2, &rv2);
    if (status < 0 || !Finite(ra2) || !Finite(dec2)) return p;
    p.ok = true;
    p.ra = eraAnp(ra2);
    p.dec = dec2;
    // eraPmsafe raises a zero parallax to a token value to keep the motion
    // finite; a star without parallax keeps none for the apparent place.
    p.parallax_as = px_as > 0.0 && Finite(px2) && px2 > 0.0 ? px2 : 0.0;
    return p;
}

// The horizon place of an observer's CIRS direction (radians), without
// refraction; azimuth from the south through the west.
Horizontal ObservedHorizon(double cirs_ra, double cirs_dec, const AstrometryContext& context) {
    eraASTROM topo = context.Topocentric();
    double aob = 0.0, zob = 0.0, hob = 0.0, dob = 0.0, rob = 0.0;
    eraAtioq(cirs_ra, cirs_dec, &topo, &aob, &zob, &hob, &dob, &rob);
    return {eraAnp(aob + ERFA_DPI) * ERFA_DR2D, 90.0 - zob * ERFA_DR2D};
}

StarPositions InvalidPositions() {
    StarPositions r;
    r.ok = false;
    r.icrs = r.apparent = r.b1950 = {kNaN, kNaN};
    r.ecliptic_mean_of_date = r.ecliptic_true_of_date = r.ecliptic_j2000 =
        r.galactic = {kNaN, kNaN};
    r.horizon = {kNaN, kNaN};
    r.parallax_mas = kNaN;
    return r;
}

HorizonSample InvalidSample() {
    return {kNaN, kNaN};
}

// A root of f in [a, b], where fa = f(a) and fb = f(b) differ in sign (or
// one is zero), by the Illinois variant of regula falsi (Dowell & Jarratt
// 1971), to kRootTolerance.  Sets *failed and returns NaN when f gives a
// non-finite value.
constexpr double kRootTolerance = 1e-8;  // day, about 1 ms

template <class F>
double SolveBracketed(F&& f, double a, double fa, double b, double fb, bool* failed) {
    if (fa == 0.0) return a;
    if (fb == 0.0) return b;
    int side = 0;
    double c = a;
    for (int i = 0; i < 200 && b - a > kRootTolerance; ++i) {
        double next = (a * fb - b * fa) / (fb - fa);
        if (!(next > a && next < b)) next = 0.5 * (a + b);
        const double fc = f(next);
        if (!Finite(fc)) {
            *failed = true;
            return kNaN;
        }
        const bool settled = std::fabs(next - c) < 0.5 * kRootTolerance;
        c = next;
        if (fc == 0.0 || settled) return c;
        if ((fc > 0.0) == (fa > 0.0)) {
            a = c;
            fa = fc;
            if (side == 1) fb *= 0.5;  // same end kept twice: halve its weight
            side = 1;
        } else {
            b = c;
            fb = fc;
            if (side == -1) fa *= 0.5;
            side = -1;
        }
    }
    return 0.5 * (a + b);
}

}  // namespace

// ---- Context -------------------------------------------------------------------

AstrometryContext::AstrometryContext(double jd_ut, const Observer& observer) {
    Init(jd_ut, observer, vexacl::DeltaT(jd_ut));
}

AstrometryContext::AstrometryContext(double jd_ut, const Observer& observer, double delta_t_s) {
    Init(jd_ut, observer, delta_t_s);
}

void AstrometryContext::Init(double jd_ut, const Observer& observer, double delta_t_s) {
    m_jdUt = jd_ut;
    m_deltaTS = delta_t_s;
    m_observer = observer;
    m_ok = false;
    if (!Finite(jd_ut) || !Finite(delta_t_s) || !Finite(observer.longitude_deg) ||
        !Finite(observer.latitude_deg) || !Finite(observer.height_m) ||
        std::fabs(observer.latitude_deg) > 90.0) {
        return;
    }
    // TT as two parts keeps the JD's resolution; TDB = TT throughout.
    const double tt1 = jd_ut;
    const double tt2 = delta_t_s / kSecondsPerDay;

    // Earth's heliocentric and barycentric position and velocity (au, au/d).
    // Status +1 only warns of a date outside 1900-2100.
    double pvh[2][3], pvb[2][3];
    if (eraEpv00(tt1, tt2, pvh, pvb) < 0) return;
    eraCp(pvh[0], m_earthHeliocentricAu);

    // Bias-precession-nutation, as eraPnm06a does it, keeping the nutation
    // in obliquity for the true obliquity.
    double gamb = 0.0, phib = 0.0, psib = 0.0, epsa = 0.0, dpsi = 0.0, deps = 0.0;
    eraPfw06(tt1, tt2, &gamb, &phib, &psib, &epsa);
    eraNut06a(tt1, tt2, &dpsi, &deps);
    double rnpb[3][3];
    eraFw2m(gamb, phib, psib + dpsi, epsa + deps, rnpb);
    double x = 0.0, y = 0.0;
    eraBpn2xy(rnpb, &x, &y);
    const double s = eraS06(tt1, tt2, x, y);
    m_eo = eraEors(rnpb, s);
    m_epsTrue = eraObl06(tt1, tt2) + deps;
    m_sp = eraSp00(tt1, tt2);
    const double theta = eraEra00(jd_ut, 0.0);  // UT1 = UT

    eraApci(tt1, tt2, pvb, pvh[0], x, y, s, &m_geo);
    eraApco(tt1, tt2, pvb, pvh[0], x, y, s, theta, observer.longitude_deg * ERFA_DD2R,
            observer.latitude_deg * ERFA_DD2R, observer.height_m, 0.0, 0.0, m_sp, 0.0, 0.0,
            &m_topo);

    eraEcm06(tt1, tt2, m_ecmDate);
    eraEcm06(ERFA_DJ00, 0.0, m_ecmJ2000);
    eraIr(m_cirsToTrueEcl);
    eraRz(m_eo, m_cirsToTrueEcl);       // CIRS -> true equator and equinox of date
    eraRx(m_epsTrue, m_cirsToTrueEcl);  // -> true ecliptic of date

    m_besselianEpoch = eraEpb(tt1, tt2);
    m_era = theta;
    m_ok = true;
}

double AstrometryContext::LocalSiderealTimeDeg() const {
    if (!m_ok) return kNaN;
    return eraAnp(m_era - m_eo + m_observer.longitude_deg * ERFA_DD2R) * ERFA_DR2D;
}

// ---- Positions of a star ---------------------------------------------------------

StarPositions ComputeStarPositions(const CatalogStar& star, const AstrometryContext& context) {
    const Propagated p = Propagate(star, context);
    if (!p.ok) return InvalidPositions();

    // Apparent place (geocentric CIRS) and the observer's CIRS place, whose
    // context adds diurnal aberration and the observer's parallax.
    eraASTROM geo = context.Geocentric();
    double ri = 0.0, di = 0.0;
    eraAtciq(p.ra, p.dec, 0.0, 0.0, p.parallax_as, 0.0, &geo, &ri, &di);
    eraASTROM topo = context.Topocentric();
    double rt = 0.0, dt = 0.0;
    eraAtciq(p.ra, p.dec, 0.0, 0.0, p.parallax_as, 0.0, &topo, &rt, &dt);

    StarPositions r = PositionsFromCirs(p.ra, p.dec, ri, di, rt, dt, context);
    r.parallax_mas = p.parallax_as * 1000.0;
    return r;
}

ChartPlace ComputeChartPlace(const CatalogStar& star, const AstrometryContext& context) {
    ChartPlace r;
    r.apparent = {kNaN, kNaN};
    r.horizon = {kNaN, kNaN};
    const Propagated p = Propagate(star, context);
    if (!p.ok) return r;
    eraASTROM topo = context.Topocentric();
    double rt = 0.0, dt = 0.0;
    eraAtciq(p.ra, p.dec, 0.0, 0.0, p.parallax_as, 0.0, &topo, &rt, &dt);
    r.horizon = ObservedHorizon(rt, dt, context);
    if (!Finite(r.horizon.azimuth_deg) || !Finite(r.horizon.altitude_deg)) return r;
    r.ok = true;
    r.apparent = EquatorialOf(rt - context.EquationOfOrigins(), dt);
    return r;
}

StarPositions PositionsFromCirs(double icrs_ra, double icrs_dec, double cirs_ra, double cirs_dec,
                                double observer_cirs_ra, double observer_cirs_dec,
                                const AstrometryContext& context) {
    if (!context.ok() || !Finite(icrs_ra) || !Finite(icrs_dec) || !Finite(cirs_ra) ||
        !Finite(cirs_dec) || !Finite(observer_cirs_ra) || !Finite(observer_cirs_dec)) {
        return InvalidPositions();
    }
    StarPositions r;
    r.ok = true;
    r.parallax_mas = kNaN;
    r.icrs = EquatorialOf(icrs_ra, icrs_dec);
    // The equinox-based right ascension is the CIRS one minus the equation
    // of the origins.
    r.apparent = EquatorialOf(cirs_ra - context.EquationOfOrigins(), cirs_dec);

    double lon = 0.0, lat = 0.0;
    Rotate(context.CirsToTrueEcliptic(), cirs_ra, cirs_dec, &lon, &lat);
    r.ecliptic_true_of_date = SphericalOf(lon, lat);

    // FK4 B1950.0 at the current epoch, through FK5.
    double r5 = 0.0, d5 = 0.0, dr5 = 0.0, dd5 = 0.0;
    eraHfk5z(icrs_ra, icrs_dec, context.JdUt(), context.DeltaT() / kSecondsPerDay, &r5, &d5, &dr5,
             &dd5);
    double r4 = 0.0, d4 = 0.0, dr4 = 0.0, dd4 = 0.0;
    eraFk54z(r5, d5, context.BesselianEpoch(), &r4, &d4, &dr4, &dd4);
    r.b1950 = EquatorialOf(r4, d4);

    Rotate(context.IcrsToEclipticOfDate(), icrs_ra, icrs_dec, &lon, &lat);
    r.ecliptic_mean_of_date = SphericalOf(lon, lat);
    Rotate(context.IcrsToEclipticJ2000(), icrs_ra, icrs_dec, &lon, &lat);
    r.ecliptic_j2000 = SphericalOf(lon, lat);

    eraIcrs2g(icrs_ra, icrs_dec, &lon, &lat);
    r.galactic = SphericalOf(lon, lat);

    // Horizon: the observer's CIRS place, observed without refraction.
    r.horizon = ObservedHorizon(observer_cirs_ra, observer_cirs_dec, context);
    return r;
}

// ---- Precession to B1875 ---------------------------------------------------------

EquatorialDeg ToB1875(double ra_deg, double dec_deg) {
    if (!Finite(ra_deg) || !Finite(dec_deg)) return {kNaN, kNaN};
    struct Matrix {
        Matrix3 m;
    };
    // Bias-precession from GCRS to the mean equator and equinox of B1875.0.
    static const Matrix precession = [] {
        Matrix result;
        double djm0 = 0.0, djm = 0.0;
        eraEpb2jd(1875.0, &djm0, &djm);
        eraPmat06(djm0, djm, result.m);
        return result;
    }();
    double lon = 0.0, lat = 0.0;
    Rotate(precession.m, ra_deg * ERFA_DD2R, dec_deg * ERFA_DD2R, &lon, &lat);
    return {eraAnp(lon) * ERFA_DR2D, lat * ERFA_DR2D};
}

// ---- Rise, transit and set ---------------------------------------------------------

LocalDay LocalDayOf(double jd_ut, double tz_hours) {
    LocalDay day;
    if (!Finite(jd_ut) || !Finite(tz_hours)) return day;
    const double zone_days = tz_hours / 24.0;
    // Julian Days begin at noon: the local civil day begins at .5.
    const double local_midnight = std::floor(jd_ut + zone_days + 0.5) - 0.5;
    day.ok = true;
    day.start_jd_ut = local_midnight - zone_days;
    day.end_jd_ut = day.start_jd_ut + 1.0;
    return day;
}

RiseTransitSet FindRiseTransitSet(const HorizonFunction& body, const LocalDay& day,
                                  double altitude_deg) {
    RiseTransitSet out;
    if (!body || !day.ok || !Finite(day.start_jd_ut) || !Finite(day.end_jd_ut) ||
        !(day.end_jd_ut > day.start_jd_ut) || day.end_jd_ut - day.start_jd_ut > 366.0 ||
        !Finite(altitude_deg)) {
        return out;
    }
    bool failed = false;
    auto look = [&](double t) {
        const HorizonSample s = body(t);
        if (!Finite(s.hour_angle_deg) || !Finite(s.altitude_deg)) failed = true;
        return s;
    };

    // Samples at most an hour apart: the hour angle moves about 15 degrees
    // between two, so its passages through 0 and 180 are unambiguous.
    const double span = day.end_jd_ut - day.start_jd_ut;
    const int steps = std::max(1, static_cast<int>(std::ceil(span * 24.0)));
    std::vector<double> times(steps + 1), hour_angles(steps + 1);
    struct Point {
        double t;
        double f;  // altitude - standard altitude, degrees
    };
    std::vector<Point> points;
    points.reserve(steps + 5);
    for (int i = 0; i <= steps; ++i) {
        times[i] = i == steps ? day.end_jd_ut : day.start_jd_ut + span * i / steps;
        const HorizonSample s = look(times[i]);
        if (failed) return out;
        hour_angles[i] = s.hour_angle_deg;
        points.push_back({times[i], s.altitude_deg - altitude_deg});
    }

    // Culminations: upper (hour angle 0, the transit) and lower (180).
    for (int i = 0; i < steps; ++i) {
        for (const double target : {0.0, 180.0}) {
            const double d0 = Wrap180(hour_angles[i] - target);
            const double d1 = Wrap180(hour_angles[i + 1] - target);
            // A passage exactly at a sample belongs to the interval that
            // starts there, so one at the day's start counts and one at its
            // end does not.
            if (!(d0 <= 0.0 && d1 > 0.0 && d1 - d0 < 180.0)) continue;
            auto offset = [&](double t) { return Wrap180(look(t).hour_angle_deg - target); };
            const double tc = SolveBracketed(offset, times[i], d0, times[i + 1], d1, &failed);
            if (failed) return out;
            const HorizonSample s = look(tc);
            if (failed) return out;
            points.push_back({tc, s.altitude_deg - altitude_deg});
            if (target == 0.0 && tc < day.end_jd_ut) out.transit_jd_ut.push_back(tc);
        }
    }
    std::sort(points.begin(), points.end(),
              [](const Point& a, const Point& b) { return a.t < b.t; });
    std::sort(out.transit_jd_ut.begin(), out.transit_jd_ut.end());

    // Between neighbouring points the altitude is monotonic: one crossing
    // at most, where the sign changes ("above" means strictly above).  A
    // rise exactly on a point is found in the interval that starts there, a
    // set in the one that ends there; a set exactly at the day's start
    // would thus be lost (the day before drops it as lying on its end), so
    // it is taken here.
    auto height = [&](double t) { return look(t).altitude_deg - altitude_deg; };
    if (points.size() > 1 && points[0].f == 0.0 && points[1].f < 0.0) {
        out.set_jd_ut.push_back(points[0].t);
    }
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[i + 1];
        const bool up_a = a.f > 0.0;
        const bool up_b = b.f > 0.0;
        if (up_a == up_b) continue;
        const double te = SolveBracketed(height, a.t, a.f, b.t, b.f, &failed);
        if (failed) return out;
        if (te < day.start_jd_ut || te >= day.end_jd_ut) continue;
        (up_b ? out.rise_jd_ut : out.set_jd_ut).push_back(te);
    }

    if (out.rise_jd_ut.empty() && out.set_jd_ut.empty()) {
        out.above_all_day = points.front().f > 0.0;
        out.below_all_day = !out.above_all_day;
    }
    out.ok = true;
    return out;
}

HorizonFunction StarHorizonFunction(const CatalogStar& star, const AstrometryContext& context) {
    const Propagated p = Propagate(star, context);
    if (!p.ok) {
        return [](double) { return InvalidSample(); };
    }
    // Geocentric CIRS place at the context's time; the observer's diurnal
    // aberration comes in with each evaluation's eraApio.
    eraASTROM geo = context.Geocentric();
    double ri = 0.0, di = 0.0;
    eraAtciq(p.ra, p.dec, 0.0, 0.0, p.parallax_as, 0.0, &geo, &ri, &di);
    const double elong = context.observer().longitude_deg * ERFA_DD2R;
    const double phi = context.observer().latitude_deg * ERFA_DD2R;
    const double hm = context.observer().height_m;
    const double sp = context.TioLocator();
    return [=](double jd_ut) {
        if (!Finite(jd_ut)) return InvalidSample();
        eraASTROM astrom{};
        eraApio(sp, eraEra00(jd_ut, 0.0), elong, phi, hm, 0.0, 0.0, 0.0, 0.0, &astrom);
        double aob = 0.0, zob = 0.0, hob = 0.0, dob = 0.0, rob = 0.0;
        eraAtioq(ri, di, &astrom, &aob, &zob, &hob, &dob, &rob);
        return HorizonSample{Wrap180(hob * ERFA_DR2D), 90.0 - zob * ERFA_DR2D};
    };
}

HorizonFunction ApparentHorizonFunction(std::function<Equatorial(double jd_ut)> place,
                                        const AstrometryContext& context) {
    if (!place || !context.ok()) {
        return [](double) { return InvalidSample(); };
    }
    const double eo = context.EquationOfOrigins();
    const double elong = context.observer().longitude_deg * ERFA_DD2R;
    const double phi = context.observer().latitude_deg * ERFA_DD2R;
    return [place = std::move(place), eo, elong, phi](double jd_ut) {
        if (!Finite(jd_ut)) return InvalidSample();
        const Equatorial e = place(jd_ut);
        if (!Finite(e.ra_h) || !Finite(e.dec_deg)) return InvalidSample();
        // Local apparent sidereal time = ERA - EO + longitude (UT1 = UT).
        const double ha = eraEra00(jd_ut, 0.0) - eo + elong - e.ra_h * 15.0 * ERFA_DD2R;
        double az = 0.0, el = 0.0;
        eraHd2ae(ha, e.dec_deg * ERFA_DD2R, phi, &az, &el);
        return HorizonSample{Wrap180(ha * ERFA_DR2D), el * ERFA_DR2D};
    };
}

RiseTransitSet StarRiseTransitSet(const CatalogStar& star, const AstrometryContext& context,
                                  double tz_hours, double altitude_deg) {
    if (!context.ok()) return RiseTransitSet{};
    return FindRiseTransitSet(StarHorizonFunction(star, context),
                              LocalDayOf(context.JdUt(), tz_hours), altitude_deg);
}

}  // namespace astrometry
