// The place a mount of the INDI standard takes: INDI's EQUATORIAL_EOD_COORD
// is "JNow", right ascension and declination for the true equator and
// equinox of the date.  The engine gives J2000 (ICRS) places.
#pragma once

namespace telescope {

struct EquatorialOfDate {
    double raHours;  // 0 <= ra < 24, true equinox of date
    double decDeg;
};

// The geocentric apparent place at the UTC Julian date `jdUtc` (one number:
// a few microseconds of resolution, far below a mount's) of a star at the
// ICRS place `raDeg`, `decDeg` (degrees, J2000, without proper motion or
// parallax): ERFA eraAtci13 (precession-nutation IAU 2006/2000A, annual
// aberration, light deflection by the Sun) to CIRS, then the equation of
// the origins to the equinox of date.  UTC is taken to TT through ERFA's
// leap seconds (37 s after 2017).
EquatorialOfDate J2000ToJNow(double raDeg, double decDeg, double jdUtc);

// The UTC Julian date of the system clock.
double JdUtcNow();

}  // namespace telescope
