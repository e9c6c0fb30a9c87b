// An Earth satellite as an observer on the ground sees it: its SGP4 state
// turned into the engine's display frames, its distances and the point of
// the Earth beneath it.
//
// Frames: SGP4 gives TEME (true equator, mean equinox of date).  TEME turns
// into the terrestrial frame (ITRS, polar motion neglected: under 15 m here)
// by the Greenwich mean sidereal time of the IAU 1982 model, as the element
// sets are made (Vallado et al. 2006, AIAA 2006-6753, appendix C); the
// terrestrial frame into CIRS by the Earth rotation angle and CIRS into GCRS
// by ERFA's IAU 2006/2000A celestial-to-intermediate matrix (the context's).
// Times: the context's UT Julian Day is taken as UTC, the time scale of the
// element epoch (|UT1 - UTC| < 0.9 s: under 7 km along a low orbit).
//
// The "astrometric" place is the direction from the observer to the
// satellite where it was when its light left it (light time, about 3 ms for
// the ISS), on GCRS axes; the apparent place is the same direction on CIRS
// axes, referred to the true equinox: no annual aberration, since the
// satellite shares the Earth's motion round the Sun, and no light deflection.
// The horizon place adds the diurnal aberration (0.3").
#pragma once

#include "sky/astrometry.h"
#include "sky/sgp4.h"

namespace satellite {

struct Sighting {
    bool ok = false;  // false when SGP4 fails (decayed, eccentricity out of range, ...)
    astrometry::StarPositions positions;  // every display frame (sky/astrometry.h)
    double geocentric_km = 0.0;           // |r| from the Earth's centre, km
    double topocentric_km = 0.0;          // from the observer, km (the light's path)
    // The sub-satellite point: geodetic (WGS84) longitude east positive in
    // (-180, 180] and latitude, degrees, and the height above the
    // ellipsoid, metres.
    double longitude_deg = 0.0;
    double latitude_deg = 0.0;
    double height_m = 0.0;
};

// The satellite seen from the context's observer at the context's time.
Sighting Observe(const sgp4::Propagator& satellite, const astrometry::AstrometryContext& context);

}  // namespace satellite
