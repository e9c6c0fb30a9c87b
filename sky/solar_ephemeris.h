// Geometric positions of the Sun, the Moon and the planets: where each body
// is at an instant, before light time, aberration or the observer come in.
//
// Conventions for the whole file:
// - Times are Julian Days of TT; TDB is taken equal to TT (|TDB - TT| < 2 ms).
// - Positions are Cartesian, in au, on ICRS axes (the BCRS of ERFA), either
//   barycentric or heliocentric as each function says.  A position that
//   cannot be computed (non-finite time) has NaN components.
//
// Theories (accuracy against the JPL ephemerides, 1900-2100):
// - the Earth and the Sun: ERFA's eraEpv00 (Bretagnon & Francou's VSOP2000
//   fit, a few km);
// - Mercury to Neptune: VSOP87 in its full form (Bretagnon & Francou 1988,
//   A&A 202, 309), heliocentric, mean ecliptic and equinox J2000, as libnova
//   implements it; better than 0.1" for the inner planets and about 0.1" for
//   the outer ones (checked against eraEpv00 for the Earth: 0.05");
// - the Moon: ELP2000-82B in its full form (Chapront-Touze & Chapront 1983,
//   A&A 124, 50), libnova again; about 0.5" within this century;
// - Pluto: Meeus, Astronomical Algorithms 2nd ed., ch. 37 (a fit to DE200,
//   valid 1885-2099, within 0.5"); outside those years its mean Keplerian
//   elements (Standish, JPL), good to a few arcminutes only.
// The theories' ecliptic of J2000 is turned to the ICRS by the IAU 2006
// obliquity and frame bias (eraEcm06 at J2000); the dynamical equinox of
// VSOP87 and the ICRS differ by about 0.1", inside the theories' errors.
#pragma once

#include <array>
#include <functional>
#include <memory>

namespace solar {

using Vec3 = std::array<double, 3>;

// The bodies with an ephemeris of their own.
enum class Major : int {
    kSun,
    kMercury,
    kVenus,
    kEarth,
    kMars,
    kJupiter,
    kSaturn,
    kUranus,
    kNeptune,
    kPluto,
    kMoon,
};
constexpr int kMajorCount = 11;

// The Sun's barycentric position, au, ICRS axes, at a TT Julian Day.
Vec3 SunBarycentric(double jd_tt);

// The Earth's (geocentre's) barycentric position, au, ICRS axes.
Vec3 EarthBarycentric(double jd_tt);

// A body's position relative to the Sun, au, ICRS axes, at a TT Julian Day:
// the Sun (zero), a planet, Pluto, the Earth or the Moon.
Vec3 Heliocentric(Major body, double jd_tt);

// The Moon's position relative to the geocentre, au, ICRS axes.
Vec3 MoonGeocentric(double jd_tt);

// A costly position function for many times close together, such as one
// place's light-time iterations, true distance and heliocentric place:
// within `window` days of one evaluation the body's path is taken as a
// straight line, from two evaluations (the position and, 0.0001 day later,
// the velocity); a time farther away starts a new line.  The error is half
// the acceleration times the square of the offset: for the Moon (full
// ELP2000-82B, 1.6 ms a call) within 0.001 day 10 m, for Mercury (the
// largest heliocentric acceleration, VSOP87 0.15 ms) within 0.01 day 15 km,
// 0.02" at 1 au.  Copies share the line.
class LinearMotion {
  public:
    LinearMotion(std::function<Vec3(double)> position, double window_days);
    Vec3 operator()(double jd_tt);

  private:
    struct Line {
        bool valid = false;
        double t0 = 0.0;
        Vec3 p0{};
        Vec3 v{};  // per day
    };
    std::function<Vec3(double)> m_position;
    double m_window;
    std::shared_ptr<Line> m_line = std::make_shared<Line>();
};

// A body's barycentric position, au, ICRS axes: the Sun's plus the
// heliocentric one.
Vec3 Barycentric(Major body, double jd_tt);

// Mean orbit of a planet (the Earth: the Earth-Moon barycentre), Pluto or
// the Moon at a TT Julian Day: semi-major axis (au), eccentricity and
// sidereal period (Julian years).  Planets and Pluto: Standish, "Keplerian
// Elements for Approximate Positions of the Major Planets" (JPL SSD),
// table 1 (1800-2050; the period from the rate of the mean longitude);
// the Moon: JPL's satellite mean elements (a = 384 400 km, e = 0.0554,
// 27.322 days).  ok is false for the Sun.
struct PlanetOrbit {
    bool ok = false;
    double semi_major_axis_au = 0.0;
    double eccentricity = 0.0;
    double period_years = 0.0;
};
PlanetOrbit MeanPlanetOrbit(Major body, double jd_tt);

// Vector helpers shared by the solar-system files.
Vec3 Add(const Vec3& a, const Vec3& b);
Vec3 Sub(const Vec3& a, const Vec3& b);
Vec3 Scale(const Vec3& a, double k);
double Dot(const Vec3& a, const Vec3& b);
Vec3 Cross(const Vec3& a, const Vec3& b);
double Norm(const Vec3& a);
// The unit vector of a; the zero vector stays zero.
Vec3 Unit(const Vec3& a);
bool IsFinite(const Vec3& a);
// The vector with NaN components, for "cannot be computed".
Vec3 NanVector();

// Rotations between the mean ecliptic and equinox of J2000 and the ICRS
// (eraEcm06 at J2000: frame bias, then the IAU 2006 obliquity).
Vec3 EclipticJ2000ToIcrs(const Vec3& ecliptic);
Vec3 IcrsToEclipticJ2000(const Vec3& icrs);
// The mean ecliptic and equinox of a TT Julian Day to the ICRS (the
// transpose of eraEcm06 at that date).
Vec3 EclipticOfDateToIcrs(const Vec3& ecliptic, double jd_tt);

}  // namespace solar
