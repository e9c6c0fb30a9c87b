// The satellite theories behind satellites.h, one file each.
#pragma once

#include "sky/solar_ephemeris.h"

namespace solar {

// Io (0), Europa (1), Ganymede (2), Callisto (3) relative to Jupiter's
// centre at a TT Julian Day, au, ICRS axes (galilean.cpp).
Vec3 GalileanPlanetocentric(int index, double jd_tt);

// Mimas (0), Enceladus, Tethys, Dione, Rhea, Titan, Hyperion, Iapetus (7)
// relative to Saturn's centre, au, ICRS axes (saturn_satellites.cpp).
Vec3 SaturnianPlanetocentric(int index, double jd_tt);

}  // namespace solar
