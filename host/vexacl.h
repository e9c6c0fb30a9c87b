// Date, time-scale, angle and small ephemeris arithmetic of the host's
// calculation library, built on ERFA.
//
// Conventions for the whole library:
// - Julian Days are UT unless a function says TT.  UT1 is taken equal to UT
//   (|UT1 - UTC| < 0.9 s), which is far below what the callers print.
// - Calendar dates are proleptic Gregorian (ERFA's convention), years
//   numbered astronomically (0 = 1 BC), valid from -4799 on.
// - Clock times count uniform 86400-second days: a leap second (23:59:60)
//   cannot be represented and is never produced.
// - tagADATE::zone is the offset of the record's clock from UT in hours,
//   east positive (+9 = JST), fractions allowed (+5.5, -3.5).
// - Angles are degrees; longitudes are east positive.
// - Int results are success flags (non-zero = success); no function throws.
#pragma once

#include "host/adate.h"

namespace vexacl {

// ---- Calendar ----------------------------------------------------------

// Julian Day (UT) of a record's calendar date and clock time read in the
// record's own zone.  The day may lie outside its month (day 0 is the last
// day of the previous month, day 32 of January is 1 February); hour, minute
// and second count on the same way.  Returns 0.0 for a date ERFA rejects
// (year before -4799, month outside 1..12) or a non-finite second or zone.
// Reference: Meeus, Astronomical Algorithms 2nd ed., ch. 7 (eraCal2jd).
double GetJd(const tagADATE& date);

// Calendar date (UT) of a Julian Day as year, month and day with its
// fraction (day 4.81 = the 4th at 19:26:24).  No time-scale or zone change:
// a TT Julian Day gives a TT date.  The day stays below the next whole day.
// Returns 0 and sets the outputs to 0 for a non-finite JD or one before
// -4799; any output pointer may be null.  Reference: Meeus ch. 7 (eraJd2cal).
int JdToDate(double jd, int* year, int* month, double* day);

// Calendar date and clock time (UT, zone 0) of a Julian Day.  The time is
// rounded to the JD's own resolution, carrying into the date: to 0.1 ms for
// JDs of the present era (a double resolves 40 microseconds there), to 1
// microsecond at most for small JDs.  So an instant that is a whole second
// within that resolution - also after adding a zone, jd + zone / 24 - comes
// out as that whole second, not as 59.99998; the seconds lie in [0, 60) and
// never print as 60 with six decimals.  A JD outside ERFA's range or
// non-finite gives the zeroed record.
tagADATE JdToDate2(double jd);

// Moves a record into another zone: the same instant read on a clock that
// runs `zone` hours ahead of UT.  Calendar carries (24:00, month and year
// ends, leap days) are exact; the seconds are kept except for the zone
// difference (no rounding).  On return date->zone == zone.  Returns 0 and
// leaves the record unchanged when it is null or invalid (see GetJd), or
// the zone is not finite.
int ChangeTimezone(tagADATE* date, double zone);

// Direction argument of ChangeDate.
enum : int {
    kChangeDateForward = 0,   // add the step
    kChangeDateBackward = 1,  // subtract the step (any non-zero value)
};

// Moves a record by a step record, keeping its zone.  The step is applied
// in two stages:
// 1. years and months as calendar steps: the month is moved, carrying into
//    the year, and a day that the new month lacks becomes its last day
//    (31 January + 1 month = 28 or 29 February);
// 2. days, hours, minutes and seconds as elapsed time (86400 s a day), with
//    carries in both directions into every larger field.
// step.zone is ignored.  A zero step only normalises the record (fields
// out of range are carried).  A step of 0.5 second followed by truncating
// the seconds rounds a time to the nearest whole second.
// direction: kChangeDateForward (0) adds the step, any other value
// subtracts it.  Returns 0 and leaves the record unchanged when it is null,
// the record or step is invalid (see GetJd, non-finite seconds), or the
// result falls outside ERFA's calendar range.
int ChangeDate(tagADATE* date, const tagADATE& step, int direction);

// ---- Time scales and sidereal time ------------------------------------

// Delta T = TT - UT in seconds at a UT Julian Day, from the polynomial
// expressions of Espenak & Meeus (2006, "Five Millennium Canon of Solar
// Eclipses", NASA TP-2006-214141; NASA eclipse web site), fitted to
// Morrison & Stephenson (2004) and observed values.  The decimal year is
// 2000 + (jd - 2451544.5) / 365.2425.  No lunar-acceleration correction.
// Beyond 2050 the published extrapolation holds (uncertain by minutes
// within a century); a non-finite JD gives NaN.
double DeltaT(double jd_ut);

// Dynamical time (TT) Julian Day of a UT Julian Day: jd_ut + DeltaT / 86400.
double UtToDt(double jd_ut);

// Local apparent sidereal time in degrees [0, 360) at a UT Julian Day and an
// east-positive geographic longitude in degrees: Greenwich apparent sidereal
// time by IAU 2006/2000A (eraGst06a, UT1 = UT, TT from UtToDt) plus the
// longitude.  Reference: Meeus ch. 12 (ex. 12.a), ch. 13 (ex. 13.b).
// A non-finite argument gives NaN.
double GetLst(double jd_ut, double longitude_deg);

// ---- Ephemeris ---------------------------------------------------------

// Body codes of CalcPlanetLbr: the major planets, negative, by their order
// from the Sun.
enum : int {
    kBodyMercury = -1,
    kBodyVenus = -2,
    kBodyEarth = -3,
    kBodyMars = -4,
    kBodyJupiter = -5,
    kBodySaturn = -6,
    kBodyUranus = -7,
    kBodyNeptune = -8,
};

// Heliocentric ecliptic coordinates of a planet at a TT Julian Day,
// geometric (no light time, no aberration), referred to the mean ecliptic
// and mean equinox of date (IAU 2006, eraEcm06) - the frame of VSOP87D and
// of Meeus's worked examples.  Outputs: longitude in degrees [0, 360),
// latitude in degrees, and optionally the radius vector in au.  The Earth
// comes from eraEpv00 (accurate to a few km, 1900-2100, usable beyond), the
// other planets from eraPlan94 (arcseconds, 1000-3000).  The Sun's
// geocentric longitude is the Earth's + 180 degrees.  Returns 0 and sets
// the outputs to 0 for an unknown body code, a non-finite date, or a date
// the theory cannot handle; output pointers may be null.
int CalcPlanetLbr(int body, double jd_tt, double* longitude_deg, double* latitude_deg,
                  double* radius_au = nullptr);

// ---- Moon phases (moon_phases.cpp) -------------------------------------

// Apparent geocentric ecliptic longitudes of the Sun and the Moon at a TT
// Julian Day, degrees [0, 360), referred to the true ecliptic and equinox
// of date (IAU 2006/2000A precession-nutation).  The Sun: eraEpv00 with
// light time and annual aberration; the Moon: eraMoon98 (Meeus ch. 47,
// a few arcseconds) at the retarded time.  Reference: Meeus ex. 25.b (Sun),
// ex. 47.a (Moon).  Returns 0 and sets the outputs to 0 for a non-finite
// date; output pointers may be null.
int CalcSunMoonLongitude(double jd_tt, double* sun_deg, double* moon_deg);

// Phase codes of tagMOONPHASE: the excess of the Moon's apparent ecliptic
// longitude over the Sun's is code x 90 degrees.
enum : int {
    kMoonNew = 0,
    kMoonFirstQuarter = 1,
    kMoonFull = 2,
    kMoonLastQuarter = 3,
};

// One principal phase of the Moon.
struct tagMOONPHASE {
    int phase = 0;    // kMoonNew .. kMoonLastQuarter
    double jd = 0.0;  // instant, Julian Day (UT)
};

// The principal phases around a date, in time order: the last new moon at
// or before the record's instant (read in its zone), then the first
// quarter, full moon and last quarter of that lunation, the next new moon,
// and so on, at most max_entries of them.  The fifth entry is the next new
// moon, so five or more cover from the lunation's start to at least six
// days past the date: every phase of a day that holds the date is listed
// whatever the zone.  Each instant is a root of the longitude
// excess (CalcSunMoonLongitude) to 1e-7 day, converted to UT with DeltaT;
// against the almanacs it is good to some seconds (1900-2100), and a phase
// always comes back as the same Julian Day whichever date asks for it.
// Returns the number of entries filled: 0 for a null array, max_entries
// <= 0, or a date GetJd rejects.
int GetMoonPhases(const tagADATE& date, tagMOONPHASE* entries, int max_entries);

// ---- Horizon -----------------------------------------------------------

// Standard atmospheric refraction of a horizontal direction.
// in  = {azimuth, geometric (airless) altitude}, degrees;
// out = {the same azimuth, apparent altitude}, degrees.  in and out may be
// the same array.  The refraction R (arcminutes) of a geometric altitude h
// is Saemundsson's formula (Meeus 16.4, 1010 mbar and 10 C):
//     R = 1.02 / tan(h + 10.3 / (h + 5.11))
// Below the horizon the formula is followed down to its natural zero at
// h = -5.0 degrees; for lower altitudes, and near the zenith where the
// formula turns slightly negative, R = 0.  The apparent altitude is thus
// continuous and increasing in h, never blows up at the formula's pole
// (h = -5.11), and an object far below the horizon keeps its geometric
// altitude.  A non-finite altitude is copied unchanged.
void AtmosphericRefraction(const double in[2], double out[2]);

// ---- Angles ------------------------------------------------------------

// Position angle of `to` seen from `from` (north through east) and their
// angular distance, each point {right ascension, declination} in degrees
// (any spherical longitude/latitude pair works).  Position angle in
// [0, 360), distance in [0, 180].  Coincident points give 0 and 0.
// Returns 0 and sets the outputs to 0 for a null point or a non-finite
// coordinate; output pointers may be null.  Reference: Meeus ch. 17
// (ex. 17.a), ch. 48 (ex. 48.a); eraPas, eraSeps.
int AdToPaDist(const double from[2], const double to[2], double* position_angle_deg,
               double* distance_deg);

// An angle in degrees reduced to [0, 360).  -0 and tiny negative angles give
// +0, never 360.  Exact for angles already in range; NaN for non-finite.
double degmal(double deg);

// An angle in degrees reduced to the signed range [-180, 180) (the
// counterpart of eraAnpm).  Angles already in range come back unchanged,
// bit for bit, so a latitude keeps its value; 180 becomes -180.  NaN for
// non-finite.
double degmal2(double deg);

}  // namespace vexacl
