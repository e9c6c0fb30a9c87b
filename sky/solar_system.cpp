#include "sky/solar_system.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "sky/planet_physics.h"

namespace solar {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Light time for one au, days.
constexpr double kLightDaysPerAu = ERFA_AULT / ERFA_DAYSEC;

const char* const kMajorNames[kMajorCount] = {"Sun",     "Mercury", "Venus",  "Earth",
                                              "Mars",    "Jupiter", "Saturn", "Uranus",
                                              "Neptune", "Pluto",   "Moon"};

// Ratios of the Sun's mass to each planet's (the planet with its
// satellites; the Earth with the Moon), IAU 2009 system of astronomical
// constants (Luzum et al. 2011, table 1), and the Earth/Moon mass ratio.
double SunToPlanetMassRatio(Major m) {
    switch (m) {
        case Major::kMercury:
            return 6023600.0;
        case Major::kVenus:
            return 408523.719;
        case Major::kEarth:
            return 328900.56;
        case Major::kMars:
            return 3098703.59;
        case Major::kJupiter:
            return 1047.348644;
        case Major::kSaturn:
            return 3497.9018;
        case Major::kUranus:
            return 22902.98;
        case Major::kNeptune:
            return 19412.26;
        case Major::kPluto:
            return 136566000.0;
        default:
            return kNaN;
    }
}
constexpr double kEarthToMoonMassRatio = 81.30056;

// The Earth-Moon barycentre, au, ICRS axes.
Vec3 EarthMoonBarycentre(double jd_tt) {
    return Add(EarthBarycentric(jd_tt),
               Scale(MoonGeocentric(jd_tt), 1.0 / (1.0 + kEarthToMoonMassRatio)));
}

// Where a collinear Lagrange point lies on the line of the two bodies, in
// units of their distance from the barycentre (the larger body at -mu, the
// smaller at 1 - mu): the root of the restricted three-body equilibrium
//   x - (1 - mu)(x + mu) / |x + mu|^3 - mu (x - 1 + mu) / |x - 1 + mu|^3 = 0
// in the interval of the point, where the left side increases
// monotonically; by bisection (Murray & Dermott, Solar System Dynamics,
// 3.6).
double CollinearPoint(double mu, int point) {
    auto f = [mu](double x) {
        const double a = x + mu, b = x - 1.0 + mu;
        return x - (1.0 - mu) * a / std::pow(std::fabs(a), 3) - mu * b / std::pow(std::fabs(b), 3);
    };
    double lo = 0.0, hi = 0.0;
    if (point == 1) {
        lo = -mu;
        hi = 1.0 - mu;
    } else if (point == 2) {
        lo = 1.0 - mu;
        hi = 2.0;
    } else {
        lo = -2.0;
        hi = -mu;
    }
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi) break;
        (f(mid) > 0.0 ? hi : lo) = mid;
    }
    return 0.5 * (lo + hi);
}

// A Lagrange point of a primary and a secondary given by their barycentric
// positions, mass ratio mu = m2 / (m1 + m2).
Vec3 LagrangePoint(const std::function<Vec3(double)>& primary,
                   const std::function<Vec3(double)>& secondary, double mu, int point,
                   double jd_tt) {
    const Vec3 p = primary(jd_tt);
    const Vec3 r = Sub(secondary(jd_tt), p);
    if (point == 4 || point == 5) {
        // The orbit's pole from the relative motion over +-0.05 day.
        constexpr double h = 0.05;
        const Vec3 v = Sub(Sub(secondary(jd_tt + h), primary(jd_tt + h)),
                           Sub(secondary(jd_tt - h), primary(jd_tt - h)));
        const Vec3 pole = Unit(Cross(r, v));
        const double s = (point == 4 ? 1.0 : -1.0) * std::sin(ERFA_DPI / 3.0);
        // r turned by +-60 degrees about the pole: the equilateral triangle.
        return Add(p, Add(Scale(r, 0.5), Scale(Cross(pole, r), s)));
    }
    const double x = CollinearPoint(mu, point);
    return Add(p, Scale(r, mu + x));
}

// Case-insensitive comparison of ASCII texts.
bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string_view> SplitDots(std::string_view s) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == '.') {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// The dwarf planets the IAU recognises besides Pluto, by English name.
bool IsDwarfPlanetName(std::string_view name) {
    for (const char* n : {"Ceres", "Eris", "Haumea", "Makemake"}) {
        if (SameText(name, n)) return true;
    }
    return false;
}

std::optional<Major> MajorByName(std::string_view name) {
    for (int i = 0; i < kMajorCount; ++i) {
        if (SameText(name, kMajorNames[i])) return static_cast<Major>(i);
    }
    return std::nullopt;
}

std::optional<Satellite> SatelliteByName(Major planet, std::string_view name) {
    for (int i = 0; i < kSatelliteCount; ++i) {
        const auto s = static_cast<Satellite>(i);
        if (PlanetOf(s) == planet && SameText(name, EnglishName(s))) return s;
    }
    return std::nullopt;
}

// "L1".."L5" -> 1..5, else 0.
int LagrangeNumber(std::string_view text) {
    if (text.size() == 2 && (text[0] == 'L' || text[0] == 'l') && text[1] >= '1' && text[1] <= '5')
        return text[1] - '0';
    return 0;
}

// The parent of the planet's part of an identifier: "Planet.Mars",
// "DwarfPlanet.Pluto".
std::string PlanetPath(Major m) {
    return std::string(m == Major::kPluto ? "DwarfPlanet." : "Planet.") +
           kMajorNames[static_cast<int>(m)];
}

}  // namespace

// ---- Identifiers -------------------------------------------------------------------

const char* EnglishName(Major m) {
    const int i = static_cast<int>(m);
    return i >= 0 && i < kMajorCount ? kMajorNames[i] : "";
}

std::string IdentifierOf(const BodyRef& body, const std::vector<SmallBody>& bodies) {
    switch (body.kind) {
        case BodyRef::Kind::kMajor: {
            const auto m = static_cast<Major>(body.index);
            if (body.index < 0 || body.index >= kMajorCount) return {};
            if (m == Major::kSun) return "Sun";
            if (m == Major::kMoon) return "Planet.Earth.Satellite.Moon";
            return PlanetPath(m);
        }
        case BodyRef::Kind::kSatellite: {
            if (body.index < 0 || body.index >= kSatelliteCount) return {};
            const auto s = static_cast<Satellite>(body.index);
            return PlanetPath(PlanetOf(s)) + ".Satellite." + EnglishName(s);
        }
        case BodyRef::Kind::kSmallBody: {
            if (body.index < 0 || body.index >= static_cast<int>(bodies.size())) return {};
            const SmallBody& b = bodies[body.index];
            if (IsDwarfPlanetName(b.name_en)) return "DwarfPlanet." + b.name_en;
            return (b.kind == SmallBody::Kind::kComet ? "Comet." : "MinorPlanet.") + b.id;
        }
        case BodyRef::Kind::kLagrangePoint: {
            const auto m = static_cast<Major>(body.index);
            if (body.point < 1 || body.point > 5 || m == Major::kSun || body.index < 0 ||
                body.index >= kMajorCount) {
                return {};
            }
            const std::string base =
                m == Major::kMoon ? "Planet.Earth.Satellite.Moon" : PlanetPath(m);
            return base + ".LagrangianPoint.L" + std::to_string(body.point);
        }
        case BodyRef::Kind::kUmbra:
            return "Planet.Earth.Umbra";
    }
    return {};
}

std::optional<BodyRef> ParseIdentifier(std::string_view identifier,
                                       const std::vector<SmallBody>& bodies) {
    std::vector<std::string_view> p = SplitDots(identifier);
    if (!p.empty() && SameText(p[0], "Solar")) p.erase(p.begin());
    if (p.empty()) return std::nullopt;
    if (p.size() == 1) {
        if (SameText(p[0], "Sun")) return BodyRef::Of(Major::kSun);
        return std::nullopt;
    }
    const std::string_view kind = p[0];
    if (SameText(kind, "Comet") || SameText(kind, "MinorPlanet")) {
        // Everything after the kind is the designation, dots included.
        const std::string_view rest = identifier.substr(p[1].data() - identifier.data());
        const bool comet = SameText(kind, "Comet");
        for (size_t i = 0; i < bodies.size(); ++i) {
            if ((bodies[i].kind == SmallBody::Kind::kComet) == comet &&
                SameText(bodies[i].id, rest))
                return BodyRef::SmallBodyAt(static_cast<int>(i));
        }
        return std::nullopt;
    }
    if (!SameText(kind, "Planet") && !SameText(kind, "DwarfPlanet")) return std::nullopt;
    const std::optional<Major> planet = MajorByName(p[1]);
    if (!planet) {
        // A dwarf planet from the small-body list.
        if (p.size() != 2 || !SameText(kind, "DwarfPlanet") || !IsDwarfPlanetName(p[1]))
            return std::nullopt;
        for (size_t i = 0; i < bodies.size(); ++i) {
            if (SameText(bodies[i].name_en, p[1])) return BodyRef::SmallBodyAt(static_cast<int>(i));
        }
        return std::nullopt;
    }
    if (*planet == Major::kSun || *planet == Major::kMoon) return std::nullopt;
    if (SameText(kind, "DwarfPlanet") != (*planet == Major::kPluto)) return std::nullopt;
    if (p.size() == 2) return BodyRef::Of(*planet);
    if (p.size() == 3 && *planet == Major::kEarth && SameText(p[2], "Umbra"))
        return BodyRef::Umbra();
    if (p.size() == 4 && SameText(p[2], "LagrangianPoint")) {
        const int n = LagrangeNumber(p[3]);
        if (n == 0) return std::nullopt;
        return BodyRef::Lagrange(*planet, n);
    }
    if (!SameText(p[2], "Satellite")) return std::nullopt;
    if (*planet == Major::kEarth && SameText(p[3], "Moon")) {
        if (p.size() == 4) return BodyRef::Of(Major::kMoon);
        if (p.size() == 6 && SameText(p[4], "LagrangianPoint") && LagrangeNumber(p[5]) != 0)
            return BodyRef::Lagrange(Major::kMoon, LagrangeNumber(p[5]));
        return std::nullopt;
    }
    if (p.size() != 4) return std::nullopt;
    const std::optional<Satellite> s = SatelliteByName(*planet, p[3]);
    if (!s) return std::nullopt;
    return BodyRef::Of(*s);
}

// ---- Sources --------------------------------------------------------------------------

BodySource MajorSource(Major body) {
    if (body == Major::kSun) return {SunBarycentric, false};
    if (body == Major::kMoon) {
        return {[moon = LinearMotion(MoonGeocentric, 1e-3)](double t) mutable {
                    return Add(EarthBarycentric(t), moon(t));
                },
                true};
    }
    return {[planet = LinearMotion([body](double t) { return Heliocentric(body, t); }, 1e-2)](
                double t) mutable { return Add(SunBarycentric(t), planet(t)); },
            true};
}

BodySource SatelliteSource(Satellite s) {
    return {[s](double t) { return Add(Barycentric(PlanetOf(s), t), Planetocentric(s, t)); }, true};
}

BodySource SmallBodySource(const OrbitalElements& elements) {
    return {
        [elements](double t) { return Add(SunBarycentric(t), KeplerHeliocentric(elements, t)); },
        true};
}

BodySource LagrangeSource(Major secondary, int point) {
    if (point < 1 || point > 5 || secondary == Major::kSun) {
        return {[](double) { return NanVector(); }, true};
    }
    if (secondary == Major::kMoon) {
        const double mu = 1.0 / (1.0 + kEarthToMoonMassRatio);
        const std::function<Vec3(double)> moon = MajorSource(Major::kMoon).barycentric;
        return {[mu, point, moon](double t) {
                    return LagrangePoint(EarthBarycentric, moon, mu, point, t);
                },
                true};
    }
    const double mu = 1.0 / (1.0 + SunToPlanetMassRatio(secondary));
    std::function<Vec3(double)> body = secondary == Major::kEarth
                                           ? std::function<Vec3(double)>(EarthMoonBarycentre)
                                           : MajorSource(secondary).barycentric;
    return {
        [mu, point, body](double t) { return LagrangePoint(SunBarycentric, body, mu, point, t); },
        true};
}

BodySource UmbraSource() {
    return {[moon = LinearMotion(MoonGeocentric, 1e-3)](double t) mutable {
                const Vec3 earth = EarthBarycentric(t);
                // The Sun where its light now reaching the Earth left it.
                Vec3 sun = Sub(SunBarycentric(t), earth);
                sun = Sub(SunBarycentric(t - Norm(sun) * kLightDaysPerAu), earth);
                return Add(earth, Scale(Unit(sun), -Norm(moon(t))));
            },
            true};
}

// ---- Seeing a body ------------------------------------------------------------------------

Sighting Sight(const BodySource& source, const eraASTROM& astrom, double jd_tt, double eo,
               double tau_start) {
    Sighting s;
    if (!source.barycentric || !std::isfinite(jd_tt) || !std::isfinite(tau_start)) return s;
    const Vec3 observer{astrom.eb[0], astrom.eb[1], astrom.eb[2]};
    double tau = tau_start;
    Vec3 body{}, p{};
    bool converged = false;
    for (int i = 0; i < 12 && !converged; ++i) {
        body = source.barycentric(jd_tt - tau);
        p = Sub(body, observer);
        if (!IsFinite(p)) return s;
        const double next = Norm(p) * kLightDaysPerAu;
        converged = std::fabs(next - tau) < 1e-11;  // about a microsecond
        tau = next;
    }
    const double distance = Norm(p);
    if (!(distance > 0.0)) return s;
    s.position_au = p;
    s.distance_au = distance;
    s.light_time_days = tau;
    s.true_distance_au = Norm(Sub(source.barycentric(jd_tt), observer));
    double ra = 0.0, dec = 0.0;
    eraC2s(p.data(), &ra, &dec);
    s.astrometric = {eraAnp(ra) * 12.0 / ERFA_DPI, dec * ERFA_DR2D};

    // Light deflection by the Sun (eraLd with the body's own direction from
    // the Sun, not a star's), then aberration and the CIRS.
    Vec3 u = Unit(p);
    double bent[3] = {u[0], u[1], u[2]};
    if (source.deflected) {
        const Vec3 q = Unit(Sub(body, SunBarycentric(jd_tt - tau)));
        double e[3] = {astrom.eh[0], astrom.eh[1], astrom.eh[2]};
        const double em2 = astrom.em * astrom.em;
        eraLd(1.0, u.data(), const_cast<double*>(q.data()), e, astrom.em, 1e-6 / std::max(em2, 1.0),
              bent);
    }
    double v[3] = {astrom.v[0], astrom.v[1], astrom.v[2]};
    double aberrated[3], cirs[3];
    eraAb(bent, v, astrom.em, astrom.bm1, aberrated);
    double bpn[3][3];
    std::copy(&astrom.bpn[0][0], &astrom.bpn[0][0] + 9, &bpn[0][0]);
    eraRxp(bpn, aberrated, cirs);
    double ri = 0.0, di = 0.0;
    eraC2s(cirs, &ri, &di);
    s.cirs_ra_rad = eraAnp(ri);
    s.cirs_dec_rad = di;
    s.apparent = {eraAnp(ri - eo) * 12.0 / ERFA_DPI, di * ERFA_DR2D};
    s.ok = std::isfinite(s.apparent.ra_h) && std::isfinite(s.apparent.dec_deg);
    return s;
}

// ---- SolarSystem: places ---------------------------------------------------------------------

SolarSystem::SolarSystem(const astrometry::AstrometryContext& context,
                         const std::vector<SmallBody>* small_bodies)
    : m_context(context), m_smallBodies(small_bodies) {}

const std::vector<SmallBody>& SolarSystem::SmallBodies() const {
    static const std::vector<SmallBody> none;
    return m_smallBodies ? *m_smallBodies : none;
}

BodySource SolarSystem::SourceOf(const BodyRef& body) const {
    switch (body.kind) {
        case BodyRef::Kind::kMajor:
            if (body.index >= 0 && body.index < kMajorCount)
                return MajorSource(static_cast<Major>(body.index));
            break;
        case BodyRef::Kind::kSatellite:
            if (body.index >= 0 && body.index < kSatelliteCount)
                return SatelliteSource(static_cast<Satellite>(body.index));
            break;
        case BodyRef::Kind::kSmallBody:
            if (body.index >= 0 && body.index < static_cast<int>(SmallBodies().size()))
                return SmallBodySource(SmallBodies()[body.index].elements);
            break;
        case BodyRef::Kind::kLagrangePoint:
            if (body.index >= 0 && body.index < kMajorCount)
                return LagrangeSource(static_cast<Major>(body.index), body.point);
            break;
        case BodyRef::Kind::kUmbra:
            return UmbraSource();
    }
    return {};
}

const BodyPlace& SolarSystem::Place(const BodyRef& body) {
    return Cached(m_places, body, [&] { return ComputePlace(body); });
}

Vec3 SolarSystem::EarthHeliocentric() {
    return Place(BodyRef::Of(Major::kEarth)).heliocentric_au;
}

BodyPlace SolarSystem::ComputePlace(const BodyRef& body) {
    BodyPlace out;
    out.positions.ok = false;
    if (!m_context.ok()) return out;
    const double tt = m_context.JdTt();
    if (body == BodyRef::Of(Major::kEarth)) {
        // The context has it already: eraEpv00 is a long series.
        const double(&earth)[3] = m_context.EarthHeliocentricAu();
        out.heliocentric_au = {earth[0], earth[1], earth[2]};
        out.heliocentric_distance_au = Norm(out.heliocentric_au);
        out.ok = IsFinite(out.heliocentric_au);
        return out;
    }
    const BodySource source = SourceOf(body);
    if (!source.barycentric) return out;
    const double eo = m_context.EquationOfOrigins();
    out.geocentric = Sight(source, m_context.Geocentric(), tt, eo);
    if (!out.geocentric.ok) return out;
    out.topocentric =
        Sight(source, m_context.Topocentric(), tt, eo, out.geocentric.light_time_days);
    if (!out.topocentric.ok) return out;
    const double emitted = tt - out.topocentric.light_time_days;
    out.heliocentric_au = Sub(source.barycentric(emitted), SunBarycentric(emitted));
    out.heliocentric_distance_au = Norm(out.heliocentric_au);
    const Sighting& t = out.topocentric;
    out.positions = astrometry::PositionsFromCirs(
        t.astrometric.ra_h * 15.0 * ERFA_DD2R, t.astrometric.dec_deg * ERFA_DD2R, t.cirs_ra_rad,
        t.cirs_dec_rad, t.cirs_ra_rad, t.cirs_dec_rad, m_context);
    out.ok = out.positions.ok;
    return out;
}

double SolarSystem::PlanetocentricDistance(const BodyRef& body) {
    if (body.kind != BodyRef::Kind::kSatellite || body.index < 0 || body.index >= kSatelliteCount)
        return kNaN;
    return Norm(Planetocentric(static_cast<Satellite>(body.index), m_context.JdTt()));
}

// ---- SolarSystem: physical data ------------------------------------------------------------

double SolarSystem::RadiusKm(const BodyRef& body) const {
    switch (body.kind) {
        case BodyRef::Kind::kMajor:
            return EquatorialRadiusKm(static_cast<Major>(body.index));
        case BodyRef::Kind::kSatellite:
            return solar::RadiusKm(static_cast<Satellite>(body.index));
        case BodyRef::Kind::kSmallBody:
            if (body.index >= 0 && body.index < static_cast<int>(SmallBodies().size()))
                return SmallBodies()[body.index].radius_km;
            return kNaN;
        default:
            return kNaN;
    }
}

double SolarSystem::SemidiameterDeg(const BodyRef& body) {
    const BodyPlace& place = Place(body);
    if (body.kind == BodyRef::Kind::kUmbra) return UmbraRadiusDeg();
    const double r = RadiusKm(body);
    if (!place.ok || !std::isfinite(r)) return 0.0;
    return std::asin(std::min(1.0, r / (place.topocentric.distance_au * kAuKm))) * ERFA_DR2D;
}

const Physical& SolarSystem::Physics(const BodyRef& body) {
    return Cached(m_physics, body, [&] { return ComputePhysics(body); });
}

Physical SolarSystem::ComputePhysics(const BodyRef& body) {
    Physical ph;
    const BodyPlace& place = Place(body);
    if (!place.ok || !place.topocentric.ok) return ph;
    ph.ok = true;
    const Sighting& seen = place.topocentric;
    const double semidiameter = SemidiameterDeg(body);
    if (semidiameter > 0.0) ph.angular_diameter_arcsec = 2.0 * semidiameter * 3600.0;

    // Elongation: the observer's apparent directions of the Sun and the body.
    const Sighting& sun = Place(BodyRef::Of(Major::kSun)).topocentric;
    ph.elongation_deg =
        eraSeps(seen.cirs_ra_rad, seen.cirs_dec_rad, sun.cirs_ra_rad, sun.cirs_dec_rad) * ERFA_DR2D;
    const bool sun_itself = body == BodyRef::Of(Major::kSun);
    const Vec3 to_observer = Scale(seen.position_au, -1.0);
    if (!sun_itself) {
        // Phase: the angle at the body between the Sun and the observer.
        const Vec3 to_sun = Scale(place.heliocentric_au, -1.0);
        double a[3] = {to_sun[0], to_sun[1], to_sun[2]};
        double b[3] = {to_observer[0], to_observer[1], to_observer[2]};
        ph.phase_angle_deg = eraSepp(a, b) * ERFA_DR2D;
        ph.illuminated_fraction = 0.5 * (1.0 + std::cos(ph.phase_angle_deg * ERFA_DD2R));
    }
    const double r = place.heliocentric_distance_au;
    const double delta = seen.distance_au;

    switch (body.kind) {
        case BodyRef::Kind::kSmallBody:
            ph.magnitude =
                SmallBodyMagnitude(SmallBodies()[body.index], r, delta, ph.phase_angle_deg);
            return ph;
        case BodyRef::Kind::kSatellite:
            ph.magnitude =
                AbsoluteMagnitude(static_cast<Satellite>(body.index)) + 5.0 * std::log10(r * delta);
            return ph;
        case BodyRef::Kind::kMajor:
            break;
        default:
            ph.phase_angle_deg = ph.illuminated_fraction = kNaN;  // points, not bodies
            return ph;
    }
    const auto m = static_cast<Major>(body.index);
    const double emitted = m_context.JdTt() - seen.light_time_days;
    const Orientation o = OrientationOf(m, emitted);
    const SubPoint sub = SubPointOf(o, to_observer);
    ph.sub_observer_latitude_deg = sub.latitude_deg;
    // Planetographic longitudes run against the rotation: west for the
    // prograde rotators, east for Venus, Uranus and Pluto; the Sun and the
    // Moon keep east longitudes by convention (WGCCRE 2015, 2).
    const bool retrograde = m == Major::kVenus || m == Major::kUranus || m == Major::kPluto;
    const bool east = retrograde || m == Major::kSun || m == Major::kMoon;
    auto meridian = [&](double prime_meridian_deg) {
        Orientation system = o;
        system.prime_meridian_deg = prime_meridian_deg;
        const double lon = SubPointOf(system, to_observer).east_longitude_deg;
        return east ? lon : eraAnp(-lon * ERFA_DD2R) * ERFA_DR2D;
    };
    ph.central_meridian_deg = meridian(o.prime_meridian_deg);
    if (m == Major::kJupiter) {
        ph.cm1_deg = meridian(JupiterSystemI(emitted));
        ph.cm2_deg = meridian(JupiterSystemII(emitted));
    }
    if (m == Major::kJupiter || m == Major::kSaturn) ph.cm3_deg = ph.central_meridian_deg;
    if (m == Major::kMars) {
        const Vec3 v = Sub(Heliocentric(m, emitted + 0.5), Heliocentric(m, emitted - 0.5));
        ph.solar_longitude_ls_deg =
            SolarLongitudeLs(place.heliocentric_au, v, o.pole_ra_deg, o.pole_dec_deg);
    }
    if (!sun_itself)
        ph.magnitude = PlanetMagnitude(m, r, delta, ph.phase_angle_deg, sub.latitude_deg);
    return ph;
}

OrbitSummary SolarSystem::Orbit(const BodyRef& body) {
    OrbitSummary o;
    switch (body.kind) {
        case BodyRef::Kind::kSmallBody: {
            if (body.index < 0 || body.index >= static_cast<int>(SmallBodies().size())) return o;
            const OrbitalElements& el = SmallBodies()[body.index].elements;
            if (!IsValid(el)) return o;
            o.ok = true;
            o.semi_major_axis_au = SemiMajorAxis(el);
            o.eccentricity = el.eccentricity;
            o.perihelion_distance_au = el.perihelion_distance_au;
            o.perihelion_jd_tt = el.perihelion_jd_tt;
            o.period_years = PeriodYears(el);
            return o;
        }
        case BodyRef::Kind::kSatellite: {
            if (body.index < 0 || body.index >= kSatelliteCount) return o;
            const SatelliteOrbit s = MeanOrbit(static_cast<Satellite>(body.index));
            o.ok = true;
            o.semi_major_axis_au = s.semi_major_axis_km / kAuKm;
            o.eccentricity = s.eccentricity;
            o.perihelion_distance_au = o.semi_major_axis_au * (1.0 - s.eccentricity);
            o.period_years = s.period_days / 365.25;
            return o;
        }
        case BodyRef::Kind::kMajor: {
            const PlanetOrbit p = MeanPlanetOrbit(static_cast<Major>(body.index), m_context.JdTt());
            if (!p.ok) return o;
            o.ok = true;
            o.semi_major_axis_au = p.semi_major_axis_au;
            o.eccentricity = p.eccentricity;
            o.perihelion_distance_au = p.semi_major_axis_au * (1.0 - p.eccentricity);
            o.period_years = p.period_years;
            return o;
        }
        default:
            return o;
    }
}

}  // namespace solar
