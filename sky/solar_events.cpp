// The solar system over a day: rise, transit and set, the hourly motion,
// the Moon's age and eclipses.  Members of SolarSystem (solar_system.h).
#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "host/vexacl.h"
#include "sky/planet_physics.h"
#include "sky/solar_system.h"

namespace solar {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kHorizonRefractionDeg = 34.0 / 60.0;  // standard refraction at the horizon
constexpr double kMinute = 1.0 / 1440.0;

// The geocentric apparent place of a body at a UT Julian Day, as a CIRS
// vector in au.  The Earth's position and velocity are those of that time
// (eraEpv00, eraApcg); precession-nutation is the context's, which moves
// less than 0.2" in a day.
Vec3 GeocentricCirs(const BodySource& source, const astrometry::AstrometryContext& context,
                    double jd_ut) {
    const double tt = jd_ut + context.DeltaT() / ERFA_DAYSEC;
    double pvh[2][3], pvb[2][3];
    eraEpv00(tt, 0.0, pvh, pvb);
    eraASTROM astrom{};
    eraApcg(tt, 0.0, pvb, pvh[0], &astrom);
    std::copy(&context.Geocentric().bpn[0][0], &context.Geocentric().bpn[0][0] + 9,
              &astrom.bpn[0][0]);
    const Sighting s = Sight(source, astrom, tt, context.EquationOfOrigins());
    if (!s.ok) return NanVector();
    double v[3];
    eraS2p(s.cirs_ra_rad, s.cirs_dec_rad, s.distance_au, v);
    return {v[0], v[1], v[2]};
}

// The observer's geocentric position on CIRS axes at a UT Julian Day, au:
// the WGS84 place turned by the Earth rotation angle (UT1 = UT, no polar
// motion, as the context does).
Vec3 ObserverCirs(const astrometry::Observer& o, double jd_ut) {
    double xyz[3];
    if (eraGd2gc(ERFA_WGS84, o.longitude_deg * ERFA_DD2R, o.latitude_deg * ERFA_DD2R, o.height_m,
                 xyz) != 0) {
        return NanVector();
    }
    const double era = eraEra00(jd_ut, 0.0);
    const double c = std::cos(era), s = std::sin(era);
    const double k = 1.0 / ERFA_DAU;
    return {(c * xyz[0] - s * xyz[1]) * k, (s * xyz[0] + c * xyz[1]) * k, xyz[2] * k};
}

// A body's apparent place over an interval, from geocentric places at
// nodes `step` days apart, interpolated by four-point Lagrange polynomials
// (for the Moon with 3-hour nodes the interpolation error stays below
// 0.01"), and moved to the observer by subtracting the observer's
// position.  Diurnal aberration (0.3" at most) is left out.
class Track {
  public:
    Track(const BodySource& source, const astrometry::AstrometryContext& context, double start,
          double end, double step)
        : m_observer(context.observer()), m_start(start - step), m_step(step) {
        const int count = static_cast<int>(std::ceil((end - start) / step)) + 3;
        m_nodes.reserve(count);
        for (int i = 0; i < count; ++i) {
            m_nodes.push_back(GeocentricCirs(source, context, m_start + i * step));
            if (!IsFinite(m_nodes.back())) m_ok = false;
        }
    }
    bool ok() const { return m_ok; }

    Vec3 Geocentric(double jd_ut) const {
        const double x = (jd_ut - m_start) / m_step;
        const int last = static_cast<int>(m_nodes.size()) - 1;
        const int k = std::clamp(static_cast<int>(std::floor(x)) - 1, 0, std::max(0, last - 3));
        Vec3 out{0.0, 0.0, 0.0};
        for (int i = k; i <= std::min(k + 3, last); ++i) {
            double w = 1.0;
            for (int j = k; j <= std::min(k + 3, last); ++j) {
                if (j != i) w *= (x - j) / static_cast<double>(i - j);
            }
            out = Add(out, Scale(m_nodes[i], w));
        }
        return out;
    }

    // The CIRS vector from the observer, au.
    Vec3 Topocentric(double jd_ut) const {
        return Sub(Geocentric(jd_ut), ObserverCirs(m_observer, jd_ut));
    }

  private:
    astrometry::Observer m_observer;
    double m_start;
    double m_step;
    std::vector<Vec3> m_nodes;
    bool m_ok = true;
};

// Right ascension (hours, the equinox-based one) and declination of a
// CIRS vector.
astrometry::Equatorial ApparentOf(const Vec3& cirs, double eo) {
    double ra = 0.0, dec = 0.0;
    eraC2s(const_cast<double*>(cirs.data()), &ra, &dec);
    return {eraAnp(ra - eo) * 12.0 / ERFA_DPI, dec * ERFA_DR2D};
}

// Semidiameter of a sphere of radius_km at a distance in au, radians.
double Semidiameter(double radius_km, double distance_au) {
    return std::asin(std::min(1.0, radius_km / (distance_au * kAuKm)));
}

// A root of f in [a, b] where f(a) and f(b) differ in sign, by bisection
// to about 0.01 second.
template <class F>
double Bisect(F&& f, double a, double b) {
    const bool rising = f(b) > 0.0;
    for (int i = 0; i < 60 && b - a > 1e-7; ++i) {
        const double m = 0.5 * (a + b);
        ((f(m) > 0.0) == rising ? b : a) = m;
    }
    return 0.5 * (a + b);
}

// The maximum of a unimodal f in [a, b], by golden-section search.
template <class F>
double GoldenMax(F&& f, double a, double b) {
    const double g = 0.5 * (std::sqrt(5.0) - 1.0);
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = f(c), fd = f(d);
    while (b - a > 1e-7) {
        if (fc > fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = f(d);
        }
    }
    return 0.5 * (a + b);
}

// The topocentric discs of the Sun and the Moon over an interval.
class Discs {
  public:
    Discs(const Track& sun, const Track& moon) : m_sun(sun), m_moon(moon) {}
    struct At {
        double sun, moon, separation;  // semidiameters and distance of the centres, radians
    };
    At operator()(double t) const {
        const Vec3 s = m_sun.Topocentric(t), m = m_moon.Topocentric(t);
        double a[3] = {s[0], s[1], s[2]}, b[3] = {m[0], m[1], m[2]};
        return {Semidiameter(EquatorialRadiusKm(Major::kSun), Norm(s)),
                Semidiameter(EquatorialRadiusKm(Major::kMoon), Norm(m)), eraSepp(a, b)};
    }
    // Positive while the discs overlap.
    double Overlap(double t) const {
        const At d = (*this)(t);
        return d.sun + d.moon - d.separation;
    }
    // Positive while one disc lies wholly inside the other.
    double Inner(double t) const {
        const At d = (*this)(t);
        return std::fabs(d.sun - d.moon) - d.separation;
    }
    const Track& Sun() const { return m_sun; }

  private:
    const Track& m_sun;
    const Track& m_moon;
};

// The greatest eclipse in [start, end] and its contacts; ok and every time
// left unset (NaN) when the discs never overlap.
LocalSolarEclipse EclipseContacts(const Discs& discs, double start, double end) {
    LocalSolarEclipse out;
    out.ok = true;
    auto overlap = [&](double t) { return discs.Overlap(t); };
    auto inner = [&](double t) { return discs.Inner(t); };
    // The greatest overlap on a 5-minute grid, then refined.
    const double step = 5.0 * kMinute;
    double best_t = start, best = -1e9;
    for (double t = start; t <= end; t += step) {
        const double o = overlap(t);
        if (o > best) {
            best = o;
            best_t = t;
        }
    }
    const double tmax =
        GoldenMax(overlap, std::max(start, best_t - step), std::min(end, best_t + step));
    if (!(overlap(tmax) > 0.0)) return out;
    // Contacts: walk out from the maximum to where the overlap ends, then
    // bisect.  No eclipse lasts longer than 4 hours from the ground.
    auto edge = [&](auto&& f, double direction, double walk) {
        double t = tmax;
        for (int i = 0; i < 600; ++i) {
            const double next = t + direction * walk;
            if (f(next) <= 0.0) return direction > 0 ? Bisect(f, t, next) : Bisect(f, next, t);
            t = next;
        }
        return kNaN;
    };
    out.first_jd_ut = edge(overlap, -1.0, kMinute);
    out.fourth_jd_ut = edge(overlap, 1.0, kMinute);
    out.max_jd_ut = tmax;
    const Discs::At at_max = discs(tmax);
    out.magnitude = (at_max.sun + at_max.moon - at_max.separation) / (2.0 * at_max.sun);
    if (inner(tmax) > 0.0) {
        out.second_jd_ut = edge(inner, -1.0, 0.1 * kMinute);
        out.third_jd_ut = edge(inner, 1.0, 0.1 * kMinute);
        out.total = at_max.moon > at_max.sun;
        out.annular = !out.total;
    }
    return out;
}

// Whether the Sun's upper limb stands above the horizon (with the standard
// refraction) at some minute of [from, to].
bool SunUpDuring(const Discs& discs, const astrometry::AstrometryContext& context, double from,
                 double to) {
    const double eo = context.EquationOfOrigins();
    const Track& sun = discs.Sun();
    const astrometry::HorizonFunction horizon = astrometry::ApparentHorizonFunction(
        [&sun, eo](double t) { return ApparentOf(sun.Topocentric(t), eo); }, context);
    for (double t = from;; t = std::min(to, t + kMinute)) {
        const double limb = discs(t).sun * ERFA_DR2D;
        if (horizon(t).altitude_deg + limb > -kHorizonRefractionDeg) return true;
        if (t >= to) return false;
    }
}

}  // namespace

// ---- Motion ---------------------------------------------------------------------------------

const DailyMotion& SolarSystem::Motion(const BodyRef& body) {
    return Cached(m_motions, body, [&] { return ComputeMotion(body); });
}

DailyMotion SolarSystem::ComputeMotion(const BodyRef& body) {
    DailyMotion m;
    if (!Place(body).ok) return m;
    const BodySource source = SourceOf(body);
    const double h = 1.0 / 24.0;
    const double t = m_context.JdUt();
    const double eo = m_context.EquationOfOrigins();
    const astrometry::Observer& o = m_context.observer();
    const Vec3 before = Sub(GeocentricCirs(source, m_context, t - h), ObserverCirs(o, t - h));
    const Vec3 after = Sub(GeocentricCirs(source, m_context, t + h), ObserverCirs(o, t + h));
    if (!IsFinite(before) || !IsFinite(after)) return m;
    const astrometry::Equatorial a = ApparentOf(before, eo), b = ApparentOf(after, eo);
    // Right ascension may pass 0h between the two.
    const double dra = std::remainder((b.ra_h - a.ra_h) * 15.0, 360.0);
    m.ok = true;
    m.ra_deg_per_day = dra / (2.0 * h);
    m.dec_deg_per_day = (b.dec_deg - a.dec_deg) / (2.0 * h);
    return m;
}

// ---- Rise, transit and set ----------------------------------------------------------------------

const astrometry::RiseTransitSet& SolarSystem::Events(const BodyRef& body, double tz_hours) {
    return Cached(m_events, std::make_pair(body, tz_hours),
                  [&] { return ComputeEvents(body, tz_hours); });
}

astrometry::RiseTransitSet SolarSystem::ComputeEvents(const BodyRef& body, double tz_hours) {
    const astrometry::LocalDay day = astrometry::LocalDayOf(m_context.JdUt(), tz_hours);
    if (!day.ok || !Place(body).ok) return {};
    auto track =
        std::make_shared<Track>(SourceOf(body), m_context, day.start_jd_ut, day.end_jd_ut, 0.125);
    if (!track->ok()) return {};
    const double eo = m_context.EquationOfOrigins();
    const auto place = [track, eo](double t) { return ApparentOf(track->Topocentric(t), eo); };
    // The upper limb at the horizon refraction: the centre lower by the
    // semidiameter.
    const double altitude = -kHorizonRefractionDeg - SemidiameterDeg(body);
    return astrometry::FindRiseTransitSet(astrometry::ApparentHorizonFunction(place, m_context),
                                          day, altitude);
}

// ---- The Moon's age --------------------------------------------------------------------------

double SolarSystem::MoonAgeDays() {
    if (!m_moonAge) {
        m_moonAge = kNaN;
        if (m_context.ok()) {
            vexacl::tagMOONPHASE last{};
            if (vexacl::GetMoonPhases(vexacl::JdToDate2(m_context.JdUt()), &last, 1) == 1)
                m_moonAge = m_context.JdUt() - last.jd;
        }
    }
    return *m_moonAge;
}

// ---- Eclipses
// ------------------------------------------------------------------------------------

double SolarSystem::SolarEclipseMagnitudeNow() {
    const BodyPlace& sun = Place(BodyRef::Of(Major::kSun));
    const BodyPlace& moon = Place(BodyRef::Of(Major::kMoon));
    if (!sun.ok || !moon.ok) return kNaN;
    const double ss = Semidiameter(EquatorialRadiusKm(Major::kSun), sun.topocentric.distance_au);
    const double sm = Semidiameter(EquatorialRadiusKm(Major::kMoon), moon.topocentric.distance_au);
    const double sep = eraSeps(sun.topocentric.cirs_ra_rad, sun.topocentric.cirs_dec_rad,
                               moon.topocentric.cirs_ra_rad, moon.topocentric.cirs_dec_rad);
    return (ss + sm - sep) / (2.0 * ss);
}

double SolarSystem::UmbraRadiusDeg() {
    const BodyPlace& sun = Place(BodyRef::Of(Major::kSun));
    const BodyPlace& moon = Place(BodyRef::Of(Major::kMoon));
    if (!sun.ok || !moon.ok) return kNaN;
    const double earth_km = EquatorialRadiusKm(Major::kEarth);
    const double pi_moon = Semidiameter(earth_km, moon.geocentric.distance_au);
    const double pi_sun = Semidiameter(earth_km, sun.geocentric.distance_au);
    const double s_sun = Semidiameter(EquatorialRadiusKm(Major::kSun), sun.geocentric.distance_au);
    return 1.02 * (0.998340 * pi_moon - s_sun + pi_sun) * ERFA_DR2D;
}

double SolarSystem::LunarEclipseMagnitudeNow() {
    const BodyPlace& moon = Place(BodyRef::Of(Major::kMoon));
    const BodyPlace& shadow = Place(BodyRef::Umbra());
    const double rho = UmbraRadiusDeg() * ERFA_DD2R;
    if (!moon.ok || !shadow.ok || !std::isfinite(rho)) return kNaN;
    const double sm = Semidiameter(EquatorialRadiusKm(Major::kMoon), moon.geocentric.distance_au);
    double a[3], b[3];
    std::copy(moon.geocentric.position_au.begin(), moon.geocentric.position_au.end(), a);
    std::copy(shadow.geocentric.position_au.begin(), shadow.geocentric.position_au.end(), b);
    return (rho + sm - eraSepp(a, b)) / (2.0 * sm);
}

const LocalSolarEclipse& SolarSystem::SolarEclipse(double tz_hours) {
    return Cached(m_eclipses, tz_hours, [&] { return ComputeSolarEclipse(tz_hours); });
}

LocalSolarEclipse SolarSystem::ComputeSolarEclipse(double tz_hours) {
    LocalSolarEclipse none;
    const astrometry::LocalDay day = astrometry::LocalDayOf(m_context.JdUt(), tz_hours);
    const BodyPlace& sun_now = Place(BodyRef::Of(Major::kSun));
    const BodyPlace& moon_now = Place(BodyRef::Of(Major::kMoon));
    if (!day.ok || !sun_now.ok || !moon_now.ok) return none;
    none.ok = true;
    // The Moon gains at most 15.5 degrees a day on the Sun; with the parallax
    // (1.03) and the two semidiameters (0.55) no eclipse can touch the day
    // when the geocentric elongation now exceeds 18 degrees.
    const double elongation =
        eraSeps(sun_now.geocentric.cirs_ra_rad, sun_now.geocentric.cirs_dec_rad,
                moon_now.geocentric.cirs_ra_rad, moon_now.geocentric.cirs_dec_rad) *
        ERFA_DR2D;
    if (elongation > 18.0) return none;
    // The discs over the day and a quarter of a day either side, so that
    // contacts outside the day are found for an eclipse within it.
    const double start = day.start_jd_ut - 0.25, end = day.end_jd_ut + 0.25;
    const Track sun(SourceOf(BodyRef::Of(Major::kSun)), m_context, start, end, 1.0 / 12.0);
    const Track moon(SourceOf(BodyRef::Of(Major::kMoon)), m_context, start, end, 1.0 / 12.0);
    if (!sun.ok() || !moon.ok()) return none;
    const Discs discs(sun, moon);
    LocalSolarEclipse out = EclipseContacts(discs, start, end);
    // Only an eclipse that touches the local day belongs to it.
    if (!(out.fourth_jd_ut >= day.start_jd_ut && out.first_jd_ut < day.end_jd_ut)) return none;
    out.visible = SunUpDuring(discs, m_context, std::max(out.first_jd_ut, day.start_jd_ut),
                              std::min(out.fourth_jd_ut, day.end_jd_ut));
    return out;
}

}  // namespace solar
