// The solar system as an observer sees it at one instant: places, distances,
// physical data and the day's events of the Sun, the Moon, the planets,
// Pluto, comets and minor planets, planetary satellites, Lagrange points
// and the Earth's shadow.
//
// Conventions (those of sky/astrometry.h, plus):
// - Times: the context's UT Julian Day; TT = UT + the context's Delta T.
// - Places are the observer's: "topocentric" is seen from the context's
//   place on the Earth, "geocentric" from the Earth's centre.  The
//   astrometric place is the ICRS (J2000) direction of the body at the
//   time its light left it (light time), without aberration or deflection;
//   the apparent place adds the Sun's light deflection, aberration (annual,
//   and diurnal for the topocentric one) and precession-nutation, referred
//   to the true equator and equinox of date.
// - Distances in au (kAuKm km each), light time in days.
// - Geometric vectors (SolarSystem::Heliocentric, Sighting::position_au)
//   are in au on ICRS axes.
// - A value that does not exist for a body (the Earth's place, a comet's
//   semi-major axis, Mars's CM1) is NaN; nothing throws.
//
// References: SOFA/ERFA Astrometry Tools (2021), Explanatory Supplement to
// the Astronomical Almanac 3rd ed. (2013) ch. 7; the theories named in
// solar_ephemeris.h, small_bodies.h, satellites.h, planet_physics.h.
#pragma once

#include <compare>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sky/astrometry.h"
#include "sky/satellites.h"
#include "sky/small_bodies.h"
#include "sky/solar_ephemeris.h"

namespace solar {

constexpr double kAuKm = 149597870.7;  // IAU 2012 Resolution B2

// ---- Which body ------------------------------------------------------------------

// A body of the solar system, as the engine's identifiers name them
// (IdentifierOf, ParseIdentifier).
struct BodyRef {
    enum class Kind : int {
        kMajor,          // index: Major (Sun, planets, Pluto, Moon, the Earth)
        kSatellite,      // index: Satellite
        kSmallBody,      // index: position in the SmallBody list given to SolarSystem
        kLagrangePoint,  // index: the Major whose point it is (a planet, Pluto or the Moon);
                         // point: 1..5
        kUmbra,          // the Earth's shadow at the Moon's distance
    };
    Kind kind = Kind::kMajor;
    int index = 0;
    int point = 0;

    static BodyRef Of(Major m) { return {Kind::kMajor, static_cast<int>(m), 0}; }
    static BodyRef Of(Satellite s) { return {Kind::kSatellite, static_cast<int>(s), 0}; }
    static BodyRef SmallBodyAt(int i) { return {Kind::kSmallBody, i, 0}; }
    static BodyRef Lagrange(Major m, int n) {
        return {Kind::kLagrangePoint, static_cast<int>(m), n};
    }
    static BodyRef Umbra() { return {Kind::kUmbra, 0, 0}; }
    auto operator<=>(const BodyRef&) const = default;
};

// English name of a major body: "Sun", "Mercury", ..., "Pluto", "Moon".
const char* EnglishName(Major m);

// The identifier after "Solar.": "Sun", "Planet.Mars", "DwarfPlanet.Pluto",
// "DwarfPlanet.Ceres" (a small body whose English name is one of the
// dwarf planets Ceres, Eris, Haumea, Makemake), "Planet.Earth.Satellite.Moon",
// "Planet.Jupiter.Satellite.Io", "Planet.Mars.LagrangianPoint.L4",
// "Planet.Earth.Satellite.Moon.LagrangianPoint.L1", "Planet.Earth.Umbra",
// "Comet.1P", "MinorPlanet.433".  Empty for a reference that is not valid
// (a small-body index outside `bodies`).
std::string IdentifierOf(const BodyRef& body, const std::vector<SmallBody>& bodies);

// The body an identifier names: the text after "Solar." (or the whole
// identifier with it), compared without regard to ASCII case.  Small bodies
// are looked up in `bodies` by SmallBody::id, and a dwarf planet that is a
// small body by its English name.
std::optional<BodyRef> ParseIdentifier(std::string_view identifier,
                                       const std::vector<SmallBody>& bodies);

// ---- Seeing one body ----------------------------------------------------------------

// A body as one observer sees it.
struct Sighting {
    bool ok = false;
    Vec3 position_au{};        // body (at the retarded time) minus observer (now), au, ICRS axes
    double distance_au = NAN;  // |position_au|: the path of the light seen
    double light_time_days = NAN;  // distance_au / c
    // The true distance: body and observer at the same instant (the
    // almanacs' "true distance"; it differs from distance_au by the radial
    // motion during the light time, 1e-4 au for Mercury).
    double true_distance_au = NAN;
    astrometry::Equatorial astrometric{NAN, NAN};  // ICRS RA (h), Dec (deg)
    astrometry::Equatorial apparent{NAN, NAN};     // true equator and equinox of date
    double cirs_ra_rad = NAN;                      // the apparent place on the CIRS, radians
    double cirs_dec_rad = NAN;
};

// How a body moves: its barycentric position, au, ICRS axes, at a TT Julian
// Day; `deflected` tells whether the Sun bends its light (not the Sun's own).
struct BodySource {
    std::function<Vec3(double jd_tt)> barycentric;
    bool deflected = true;
};

// The source of a major body, a satellite, a Lagrange point or the umbra
// (small bodies: SmallBodySource).  Lagrange points: the equilateral
// points L4 (60 degrees ahead of the smaller body in its orbit) and L5
// (behind), and the collinear L1 (between), L2 (beyond the smaller body)
// and L3 (beyond the larger), from the restricted three-body problem with
// the mass ratios of the IAU 2009 system (Luzum et al. 2011, CMDA 110, 293);
// a planet's points are those of the Sun and the planet (the Earth-Moon
// barycentre for the Earth), the Moon's those of the Earth and the Moon.
// The umbra: the point opposite the Sun (light-time corrected) at the
// Moon's distance from the geocentre.
BodySource MajorSource(Major body);
BodySource SatelliteSource(Satellite s);
BodySource LagrangeSource(Major secondary, int point);
BodySource UmbraSource();
BodySource SmallBodySource(const OrbitalElements& elements);

// A body as the observer of `astrom` (ERFA's star-independent parameters,
// geocentric or topocentric, sky/astrometry.h) sees it at a TT Julian Day:
// the light-time equation solved by iteration (to 1 microsecond, starting
// from tau_start days), the Sun's light deflection (eraLd) and aberration
// (eraAb), then the bias-precession-nutation matrix to the CIRS; the
// apparent right ascension subtracts the equation of the origins eo
// (radians).  Explanatory Supplement 3rd ed., 7.2.
Sighting Sight(const BodySource& source, const eraASTROM& astrom, double jd_tt, double eo,
               double tau_start = 0.0);

// The places of a body at the context's time.
struct BodyPlace {
    bool ok = false;
    Sighting geocentric;
    Sighting topocentric;
    // Body minus Sun at the time the light seen by the observer left it, au.
    Vec3 heliocentric_au{NAN, NAN, NAN};
    double heliocentric_distance_au = NAN;
    // Every display frame of the topocentric place (ICRS, apparent, B1950,
    // ecliptics, galactic, horizon), as astrometry::PositionsFromCirs gives
    // them; parallax_mas is NaN.
    astrometry::StarPositions positions;
};

// Physical ephemeris and brightness of a body at the context's time, seen
// from the observer.  Angles in degrees.
struct Physical {
    bool ok = false;
    double magnitude = NAN;                // visual (V); NaN where no formula exists
    double angular_diameter_arcsec = NAN;  // equatorial diameter seen from the observer
    double phase_angle_deg = NAN;          // Sun-body-observer
    double illuminated_fraction = NAN;     // k = (1 + cos phase) / 2
    double elongation_deg = NAN;           // from the Sun, as the observer sees both
    // Sub-observer point: planetographic longitude of the central meridian
    // (west longitude for the planets, east for the Moon and the Sun's
    // Carrington longitude), planetocentric latitude.
    double central_meridian_deg = NAN;
    double sub_observer_latitude_deg = NAN;
    double solar_longitude_ls_deg = NAN;  // Mars: areocentric longitude of the Sun
    double cm1_deg = NAN;                 // Jupiter: System I central meridian
    double cm2_deg = NAN;                 // Jupiter: System II
    double cm3_deg = NAN;                 // Jupiter, Saturn: System III
};

// Orbit of a planet (mean elements), Pluto, a small body (osculating
// elements) or a satellite around its planet.
struct OrbitSummary {
    bool ok = false;
    double semi_major_axis_au = NAN;  // NaN for open orbits
    double eccentricity = NAN;
    double perihelion_distance_au = NAN;
    double perihelion_jd_tt = NAN;  // time of perihelion passage (small bodies)
    double period_years = NAN;      // sidereal, Julian years; NaN for open orbits
};

// Rate of change of the topocentric apparent place (true equator and
// equinox of date), degrees of RA and of Dec per day, by a central
// difference over +-1 hour.
struct DailyMotion {
    bool ok = false;
    double ra_deg_per_day = NAN;
    double dec_deg_per_day = NAN;
};

// A solar eclipse as the observer sees it: the contacts of the topocentric
// discs of the Sun and the Moon, UT Julian Days (NaN for a contact that does
// not occur: a partial eclipse has no 2nd and 3rd).
struct LocalSolarEclipse {
    bool ok = false;       // computed (a valid context)
    bool visible = false;  // an eclipse happens on the local day with the Sun above the horizon
    double first_jd_ut = NAN;
    double second_jd_ut = NAN;
    double max_jd_ut = NAN;
    double third_jd_ut = NAN;
    double fourth_jd_ut = NAN;
    // Magnitude at the maximum: the fraction of the Sun's diameter covered.
    double magnitude = NAN;
    bool total = false;    // the Moon's disc larger than the Sun's at the maximum
    bool annular = false;  // central, the Moon's disc smaller
};

// ---- The solar system at one time and place ----------------------------------------

// Everything here is computed on first request and kept: repeated queries
// at one time and place do not recompute.  Make a new SolarSystem when the
// time or the place changes.  Not thread-safe: the caches here and
// libnova's own (static) caches of its last results.
class SolarSystem {
  public:
    // The context is copied; the small-body list must outlive this object.
    explicit SolarSystem(const astrometry::AstrometryContext& context,
                         const std::vector<SmallBody>* small_bodies = nullptr);

    const astrometry::AstrometryContext& Context() const { return m_context; }
    const std::vector<SmallBody>& SmallBodies() const;

    // Places.  Of the Earth only heliocentric_au and heliocentric_distance_au
    // are given (ok is true, the sightings are not ok).
    const BodyPlace& Place(const BodyRef& body);

    // The Earth's (geocentre's) heliocentric position now, au, ICRS axes.
    Vec3 EarthHeliocentric();

    const Physical& Physics(const BodyRef& body);
    OrbitSummary Orbit(const BodyRef& body);
    const DailyMotion& Motion(const BodyRef& body);

    // Distance of a satellite from its planet now, au (NaN for other bodies).
    double PlanetocentricDistance(const BodyRef& body);

    // Rise, transit and set within the local day (tz_hours ahead of UT) that
    // holds the context's time: the upper limb at -34' (geometric altitude
    // of the centre -34' - semidiameter), no refraction, as the observer
    // sees the body.  The Sun's and the Moon's semidiameters are the
    // observer's now; for points without a disc (Lagrange points) the centre.
    const astrometry::RiseTransitSet& Events(const BodyRef& body, double tz_hours);

    // Age of the Moon: days since the last new moon (vexacl::GetMoonPhases).
    double MoonAgeDays();

    // Local solar eclipse on the local day that holds the context's time.
    const LocalSolarEclipse& SolarEclipse(double tz_hours);

    // Eclipse magnitudes now (negative when there is none):
    // the Sun: the fraction of its diameter the Moon covers as the observer
    // sees them, (s_sun + s_moon - separation) / (2 s_sun);
    // the Moon: the umbral magnitude, the fraction of its diameter inside
    // the Earth's umbra, geocentric, (rho + s_moon - separation) / (2 s_moon).
    double SolarEclipseMagnitudeNow();
    double LunarEclipseMagnitudeNow();

    // Radius rho of the Earth's umbra at the Moon's distance, degrees, seen
    // from the geocentre: 1.02 (0.998340 pi_moon - s_sun + pi_sun), with the
    // horizontal parallaxes pi and the Sun's semidiameter s; the factor 1.02
    // is Chauvenet's enlargement for the atmosphere and 0.998340 the Earth's
    // flattening, as the Astronomical Almanac computes lunar eclipses
    // (Explanatory Supplement 3rd ed., 11.3; Meeus ch. 54).
    double UmbraRadiusDeg();

  private:
    // The entry of `cache` for `key`, computed by `compute` the first time.
    template <class Map, class Compute>
    static const typename Map::mapped_type& Cached(Map& cache, const typename Map::key_type& key,
                                                   Compute&& compute) {
        auto it = cache.find(key);
        if (it == cache.end()) it = cache.emplace(key, compute()).first;
        return it->second;
    }
    astrometry::RiseTransitSet ComputeEvents(const BodyRef& body, double tz_hours);
    LocalSolarEclipse ComputeSolarEclipse(double tz_hours);
    BodySource SourceOf(const BodyRef& body) const;
    BodyPlace ComputePlace(const BodyRef& body);
    Physical ComputePhysics(const BodyRef& body);
    DailyMotion ComputeMotion(const BodyRef& body);
    double SemidiameterDeg(const BodyRef& body);
    double RadiusKm(const BodyRef& body) const;

    astrometry::AstrometryContext m_context;
    const std::vector<SmallBody>* m_smallBodies;
    std::map<BodyRef, BodyPlace> m_places;
    std::map<BodyRef, Physical> m_physics;
    std::map<BodyRef, DailyMotion> m_motions;
    std::map<std::pair<BodyRef, double>, astrometry::RiseTransitSet> m_events;
    std::map<double, LocalSolarEclipse> m_eclipses;
    std::optional<double> m_moonAge;
};

}  // namespace solar
