// Natural satellites of the planets (the Moon has its own theory in
// solar_ephemeris.h): their positions relative to their planets, sizes and
// brightness.
//
// Times are TT Julian Days (TDB = TT), positions au on ICRS axes, angles
// degrees.
//
// Theories and their accuracy (seen from the Earth, against PyEphem's
// theories of the satellites, 2000-2017):
// - Io, Europa, Ganymede, Callisto, Titan: see Planetocentric;
// - the others: mean Keplerian elements (JPL Solar System Dynamics,
//   "Planetary Satellite Mean Elements"), which leave out the mutual
//   perturbations: Phobos and Deimos within 2.5", Miranda to Oberon within
//   3", Enceladus to Rhea within 5", Mimas within 16", Hyperion (forced by
//   Titan) within 20".  Iapetus and Triton are not served: their orbits
//   need their own Laplace planes, which the table's planes do not give.
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
    kMiranda,
    kAriel,
    kUmbriel,
    kTitania,
    kOberon,
};
constexpr int kSatelliteCount = 18;

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
