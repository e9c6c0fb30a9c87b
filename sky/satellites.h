// Natural satellites of the planets (the Moon has its own theory in
// solar_ephemeris.h): their positions relative to their planets, sizes and
// brightness.
//
// Times are TT Julian Days (TDB = TT), positions au on ICRS axes, angles
// degrees.
//
// Theories and their accuracy (seen from the Earth; the offset from the
// planet against PyEphem's theories of the satellites, 2003-2017):
// - Io, Europa, Ganymede, Callisto: Lieske's theory E5 as Meeus abridges it
//   (Astronomical Algorithms 2nd ed., ch. 44), within 0.4" (Callisto 0.9");
// - Mimas to Iapetus, Titan included: Meeus ch. 46 (Harper & Taylor 1993,
//   after Dourneau and Taylor), within 0.5" (Hyperion, Iapetus 1.3");
// - Phobos, Deimos, Miranda to Oberon: mean Keplerian elements (JPL Solar
//   System Dynamics, "Planetary Satellite Mean Elements"), which leave out
//   the mutual perturbations: Mars's within 1", Uranus's within 3".
// Other satellites (Triton, Charon, ...) are not served.
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
};
constexpr int kSatelliteCount = 19;

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
// at a TT Julian Day (the time its light left it), by the theory named
// above.  NaN components for a non-finite time.
Vec3 Planetocentric(Satellite s, double jd_tt);

// Semi-major axis (km), eccentricity and sidereal period (days) of the
// satellite's mean orbit (JPL's mean elements, for every satellite).
struct SatelliteOrbit {
    double semi_major_axis_km;
    double eccentricity;
    double period_days;
};
SatelliteOrbit MeanOrbit(Satellite s);

}  // namespace solar
