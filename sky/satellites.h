// Natural satellites of the planets (the Moon has its own theory in
// solar_ephemeris.h): their positions relative to their planets, sizes and
// brightness.
//
// Times are TT Julian Days (TDB = TT), positions au on ICRS axes, angles
// degrees.
//
// Theories and their accuracy (seen from the Earth):
// - Io, Europa, Ganymede, Callisto: Lieske's theory E2x3 as Meeus gives it
//   (Astronomical Algorithms 2nd ed., ch. 44, "higher accuracy"), about
//   0.1" (a few hundred km) this century;
// - Titan: Meeus ch. 46 (after Harper & Taylor 1993, from Dourneau's
//   theory), about 0.2";
// - the others: mean Keplerian elements on their Laplace planes, with the
//   apsidal and nodal precession (JPL Solar System Dynamics, "Planetary
//   Satellite Mean Elements", epoch J2000): Phobos and Deimos, Mimas to
//   Iapetus but Titan, Miranda to Oberon, Triton, Charon; their errors grow
//   with the time from J2000 and the neglected perturbations, typically
//   0.5" to 5" (Hyperion, forced by Titan, is worse: up to about 20").
#pragma once

#include "sky/solar_ephemeris.h"

namespace solar {

enum class Satellite : int {
    kPhobos,
    kDeimos,
    kIo,
    kEuropa,
    kGanymede,
    kCallisto,
    kMimas,
    kEnceladus,
    kTethys,
    kDione,
    kRhea,
    kTitan,
    kHyperion,
    kIapetus,
    kMiranda,
    kAriel,
    kUmbriel,
    kTitania,
    kOberon,
    kTriton,
};
constexpr int kSatelliteCount = 20;

// The planet a satellite goes round.
Major PlanetOf(Satellite s);
// English name: "Io", "Titan", ...
const char* EnglishName(Satellite s);
// The satellite's number within its planet's system (Jupiter I = Io): the
// IAU's Roman numeral as an integer.
int SystemNumber(Satellite s);
// Mean radius, km (WGCCRE 2015 and JPL's satellite physical parameters).
double RadiusKm(Satellite s);
// Absolute magnitude V(1,0) (JPL's mean opposition magnitude V0 brought to
// unit distances at the planet's mean opposition distances).
double AbsoluteMagnitude(Satellite s);

// The satellite's position relative to its planet's centre, au, ICRS axes,
// at a TT Julian Day.  NaN components for a non-finite time.
Vec3 Planetocentric(Satellite s, double jd_tt);

// Semi-major axis (km), eccentricity and sidereal period (days) of the
// satellite's mean orbit.
struct SatelliteOrbit {
    double semi_major_axis_km;
    double eccentricity;
    double period_days;
};
SatelliteOrbit MeanOrbit(Satellite s);

}  // namespace solar
