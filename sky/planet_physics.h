// Physical ephemerides of the Sun, the Moon and the planets: sizes,
// rotation (central meridian, sub-observer latitude), Mars's season and
// visual magnitudes.
//
// Angles are degrees, distances au or km as named; times are TT Julian Days
// (TDB = TT).  Vectors are on ICRS axes.
//
// Sources:
// - Radii and rotation: the IAU Working Group on Cartographic Coordinates
//   and Rotational Elements (WGCCRE): Archinal et al. 2018, Celest. Mech.
//   Dyn. Astron. 130:22 (the 2015 report) for the Sun, Mercury, Venus,
//   Jupiter, Saturn, Uranus, Neptune, Pluto and the Moon; Archinal et al.
//   2011, CMDA 109, 101 (the 2009 report) for Mars, whose 2015 model adds
//   terms below 0.01 degree.  Jupiter's Systems I and II: the Astronomical
//   Almanac's rotation rates (877.90 and 870.27 degrees a day) with the
//   same pole.
// - Magnitudes: Mallama & Hilton 2018, "Computing apparent planetary
//   magnitudes for The Astronomical Almanac", Astronomy and Computing 25,
//   10 (Mercury to Neptune; Mars without its small longitude terms, Uranus
//   with the sub-latitude term); the Moon: Allen, Astrophysical Quantities
//   3rd ed. (1973), -12.73 + 0.026 |i| + 4e-9 i^4 at the mean distance;
//   Pluto: Harris 1961, V(1,0) = -1.01.
#pragma once

#include "sky/solar_ephemeris.h"

namespace solar {

// Equatorial radius, km (WGCCRE 2015; the Sun's nominal radius of IAU 2015
// Resolution B3; the Moon's mean radius).
double EquatorialRadiusKm(Major body);

// The orientation of a body at a TT Julian Day (the time the light left it):
// right ascension and declination of its north pole (ICRS, degrees) and
// the angle W of its prime meridian (degrees) - WGCCRE's alpha0, delta0, W.
struct Orientation {
    double pole_ra_deg;
    double pole_dec_deg;
    double prime_meridian_deg;
};
// For Sun, Mercury..Neptune, Pluto and the Moon; the Earth gives NaN.
Orientation OrientationOf(Major body, double jd_tt);
// Jupiter's System I and System II prime meridians (the pole of System III).
double JupiterSystemI(double jd_tt);
double JupiterSystemII(double jd_tt);

// The sub-observer point of a body.
struct SubPoint {
    double east_longitude_deg;  // body-fixed, counted east from the prime meridian [0, 360)
    double latitude_deg;        // planetocentric
};
// `to_observer`: vector from the body to the observer (any length).
// Degrees; NaN for a non-finite orientation or a zero vector.
SubPoint SubPointOf(const Orientation& orientation, const Vec3& to_observer);

// Mars's areocentric longitude of the Sun Ls, degrees [0, 360): the Sun's
// longitude from Mars's northern spring equinox, measured in its orbit
// plane.  `heliocentric`, `velocity`: Mars's heliocentric position and
// velocity (any consistent units); `pole_*`: Mars's north pole (ICRS).
double SolarLongitudeLs(const Vec3& heliocentric, const Vec3& velocity, double pole_ra_deg,
                        double pole_dec_deg);

// Visual magnitude of a planet, Pluto or the Moon: r heliocentric and delta
// observer distance (au), phase angle i (degrees), and for Saturn the ring
// opening (the sub-observer latitude, degrees) and for Uranus the
// sub-observer latitude.  NaN for the Sun, the Earth, or where the formula
// is not defined (Mercury beyond i = 170, Jupiter's at i > 130, ...).
double PlanetMagnitude(Major body, double r_au, double delta_au, double phase_angle_deg,
                       double sub_latitude_deg);

}  // namespace solar
