// Positions of stars and other fixed points for the sky engine, on ERFA
// (IAU 2006/2000A precession-nutation, the IAU 2000 CIO-based chain).
//
// Conventions for the whole file:
// - Times are Julian Days of UT.  UT1 = UTC = UT: the engine has no Earth
//   orientation data, |UT1 - UTC| < 0.9 s, and a whole second of UT moves
//   an altitude by at most 15".  Leap seconds are never used (ERFA's table
//   ends in 2017); TT = UT + Delta T, with Delta T from vexacl::DeltaT
//   unless the caller gives its own.  TDB is taken equal to TT where ERFA
//   asks for TDB (|TDB - TT| < 2 ms).
// - Polar motion is zero (no Earth orientation data either; it would move
//   an azimuth or altitude by less than 0.5").
// - Right ascensions are in hours [0, 24), every other angle in degrees:
//   declinations and latitudes in [-90, +90], longitudes and azimuths in
//   [0, 360).  Observer longitudes are east positive, latitudes geodetic
//   (WGS84), heights in metres above the ellipsoid.
// - Azimuth is counted from the south through the west (south 0, west 90,
//   north 180, east 270), the convention of the engine's horizon replies.
// - Altitudes are geometric ("airless"): no refraction.  The caller adds
//   standard refraction where it shows an apparent altitude.
// - A result that cannot be computed (non-finite or out-of-range input) has
//   ok == false and NaN values; nothing throws.
#pragma once

#include <erfa.h>

#include <cmath>
#include <functional>
#include <vector>

namespace astrometry {

// ---- Plain coordinate records --------------------------------------------

struct Equatorial {
    double ra_h;     // right ascension, hours [0, 24)
    double dec_deg;  // declination, degrees
};

struct Spherical {
    double lon_deg;  // longitude (ecliptic lambda, galactic l), degrees [0, 360)
    double lat_deg;  // latitude (ecliptic beta, galactic b), degrees
};

struct Horizontal {
    double azimuth_deg;   // from the south through the west, degrees [0, 360)
    double altitude_deg;  // geometric altitude (no refraction), degrees
};

struct Observer {
    double longitude_deg;  // east positive, degrees
    double latitude_deg;   // geodetic (WGS84), degrees
    double height_m;       // above the WGS84 ellipsoid, metres
};

// A star or other fixed object as a catalogue gives it: ICRS place at epoch
// J2000.0 (TT) and its space motion.  Zero proper motion, parallax and
// radial velocity make a fixed point (a deep-sky object, a marked point).
struct CatalogStar {
    double ra_deg = 0.0;                // ICRS right ascension at J2000.0, degrees
    double dec_deg = 0.0;               // ICRS declination at J2000.0, degrees
    double pm_ra_cosdec_mas_yr = 0.0;   // proper motion in RA times cos(dec), mas/yr
    double pm_dec_mas_yr = 0.0;         // proper motion in Dec, mas/yr
    double parallax_mas = 0.0;          // mas; zero or negative = very distant
    double radial_velocity_km_s = 0.0;  // km/s, receding positive
};

// ---- Context ---------------------------------------------------------------

using Matrix3 = double[3][3];

// Everything that depends only on the time and the observer, computed once
// and shared by all objects of one refresh: ERFA's star-independent
// astrometry parameters (geocentric and topocentric), the equation of the
// origins, and the ecliptic rotation matrices.
//
// Construction costs about as much as a few dozen star positions (the
// IAU 2000A nutation series dominates); positions with a context are cheap.
class AstrometryContext {
  public:
    // jd_ut: Julian Day (UT = UT1); observer as above; Delta T = TT - UT in
    // seconds, from vexacl::DeltaT (Espenak & Meeus 2006) in the first form.
    // A non-finite time, Delta T, longitude, latitude or height, or a
    // latitude beyond +-90 degrees, gives a context with ok() == false.
    AstrometryContext(double jd_ut, const Observer& observer);
    AstrometryContext(double jd_ut, const Observer& observer, double delta_t_s);

    bool ok() const { return m_ok; }
    double JdUt() const { return m_jdUt; }
    double DeltaT() const { return m_deltaTS; }  // seconds
    double JdTt() const { return m_jdUt + m_deltaTS / 86400.0; }
    const Observer& observer() const { return m_observer; }

    // Besselian epoch of the time (TT), e.g. 2026.93 (eraEpb).
    double BesselianEpoch() const { return m_besselianEpoch; }
    // Equation of the origins ERA - GAST, radians (eraEors): subtracted from a
    // CIRS right ascension it gives the equinox-based one.
    double EquationOfOrigins() const { return m_eo; }
    // Local apparent sidereal time in degrees [0, 360): ERA - EO + longitude.
    double LocalSiderealTimeDeg() const;
    // True obliquity of the ecliptic of date, radians (eraObl06 + nutation).
    double TrueObliquity() const { return m_epsTrue; }

    // ERFA's star-independent parameters: geocentric (eraApci, for the
    // apparent place) and for the observer (eraApco, no refraction).
    const eraASTROM& Geocentric() const { return m_geo; }
    const eraASTROM& Topocentric() const { return m_topo; }
    // TIO locator s', radians (eraSp00), for later Earth-rotation updates.
    double TioLocator() const { return m_sp; }
    // The Earth's centre relative to the Sun's at the context's TT, au, ICRS
    // axes (eraEpv00, the same call that feeds the parameters above).
    const double (&EarthHeliocentricAu() const)[3] { return m_earthHeliocentricAu; }

    // Rotation matrices for direction vectors (r_out = M r_in):
    // ICRS -> mean ecliptic and equinox of date (eraEcm06 at TT);
    const Matrix3& IcrsToEclipticOfDate() const { return m_ecmDate; }
    // ICRS -> mean ecliptic and equinox of J2000.0 (eraEcm06 at J2000 TT);
    const Matrix3& IcrsToEclipticJ2000() const { return m_ecmJ2000; }
    // CIRS -> true ecliptic and equinox of date: Rx(true obliquity) Rz(EO).
    const Matrix3& CirsToTrueEcliptic() const { return m_cirsToTrueEcl; }

  private:
    void Init(double jd_ut, const Observer& observer, double delta_t_s);

    bool m_ok = false;
    double m_jdUt = 0.0;
    double m_deltaTS = 0.0;
    Observer m_observer{0.0, 0.0, 0.0};
    double m_besselianEpoch = 0.0;
    double m_eo = 0.0;
    double m_epsTrue = 0.0;
    double m_sp = 0.0;
    double m_era = 0.0;  // Earth rotation angle at jd_ut, radians
    double m_earthHeliocentricAu[3] = {NAN, NAN, NAN};
    eraASTROM m_geo{};
    eraASTROM m_topo{};
    Matrix3 m_ecmDate = {};
    Matrix3 m_ecmJ2000 = {};
    Matrix3 m_cirsToTrueEcl = {};
};

// ---- Positions of a star -----------------------------------------------------

// All positions the engine shows for a fixed object at the context's time.
struct StarPositions {
    bool ok = false;
    // ICRS (J2000) place at the current epoch: the catalogue place carried
    // along the star's space motion (".position.RA", ".DEC").  Barycentric,
    // no aberration.
    Equatorial icrs;
    // Geocentric apparent place, true equator and equinox of date
    // (".position.EquatorialDateApp"): parallax, light deflection by the
    // Sun, annual aberration, precession-nutation.
    Equatorial apparent;
    // FK4 system, equinox B1950.0, at the current epoch
    // (".position.EquatorialB1950"), E-terms of aberration included as in
    // FK4 catalogues.
    Equatorial b1950;
    // Mean ecliptic and equinox of date of the ICRS place (".position.Ecliptical").
    Spherical ecliptic_mean_of_date;
    // True ecliptic and equinox of date of the apparent place
    // (".position.EclipticDateApp").
    Spherical ecliptic_true_of_date;
    // Mean ecliptic and equinox of J2000.0 of the ICRS place (".position.EclipticJ2000").
    Spherical ecliptic_j2000;
    // Galactic coordinates of the ICRS place (".position.Galactical").
    Spherical galactic;
    // Topocentric horizon place, geometric altitude (".position.Azimuth", ".Altitude").
    Horizontal horizon;
    // Parallax at the current epoch, mas (changes with the distance).
    double parallax_mas;
};

// All positions of a catalogue star at the context's time.
//
// Steps (ERFA):
// 1. Space motion from J2000.0 to the context's TT (eraPmsafe, which is
//    eraStarpm guarded against a zero parallax; straight-line motion with
//    the light-time correction).  pmRA cos(dec) is turned into ERFA's
//    dRA/dt; at the exact pole, where that quotient is undefined, the RA
//    component is dropped.  A negative parallax counts as zero.
// 2. Apparent place: eraAtciq with the geocentric context (parallax from
//    the Earth's barycentric position, deflection, aberration, bias-
//    precession-nutation to CIRS), then RA - EO for the equinox of date.
// 3. B1950: ICRS -> FK5 (eraHfk5z: Hipparcos frame = ICRS, with the FK5
//    spin) -> FK4 B1950.0 at the current Besselian epoch (eraFk54z, zero
//    FK5 motion: the star's own motion is already applied in step 1).
// 4. Ecliptic of date and of J2000: the matrices of eraEqec06 on the ICRS
//    place.  True ecliptic: the apparent CIRS direction rotated by the
//    context's CIRS -> true-ecliptic matrix.
// 5. Galactic: eraIcrs2g (the Hipparcos definition of the galactic pole).
// 6. Horizon: eraAtciq with the topocentric context (diurnal aberration and
//    the observer's parallax included), eraAtioq without refraction; the
//    azimuth turned from north-through-east into south-through-west.
//
// References: SOFA Astrometry Tools (2021); Kaplan, "The IAU Resolutions on
// Astronomical Reference Systems", USNO Circular 179 (2005).
// Against astropy 5.2 with the same Delta T (tests/astrometry_test.cpp):
// below 1 mas in every frame but B1950 (0.05") and galactic (0.02"), where
// astropy takes another route (through FK5 with the frame bias only).
StarPositions ComputeStarPositions(const CatalogStar& star, const AstrometryContext& context);

// The two places a sky chart draws for a catalogue star, for many stars at
// a time: the space motion of step 1 above, then step 6 only (one eraAtciq
// with the topocentric context, one eraAtioq), about a third of the work of
// ComputeStarPositions.  `apparent` is the observer's apparent place on the
// true equator and equinox of date (the topocentric CIRS place minus the
// equation of the origins): it differs from StarPositions::apparent by the
// diurnal aberration, at most 0.32".  `horizon` equals
// StarPositions::horizon.  Non-finite input gives ok == false and NaN.
struct ChartPlace {
    bool ok = false;
    Equatorial apparent;
    Horizontal horizon;
};
ChartPlace ComputeChartPlace(const CatalogStar& star, const AstrometryContext& context);

// The display frames of a direction already reduced by the caller (a body
// of the solar system, whose light time and parallax the caller handles):
// icrs_*: the astrometric ICRS place (radians), which gives B1950, the
// mean ecliptics and galactic coordinates; cirs_*: the apparent place on
// the CIRS (radians), which gives the apparent equinox-based place and the
// true ecliptic; observer_cirs_*: the CIRS place as the context's observer
// sees it (diurnal aberration and parallax included), which gives the
// horizon.  Steps 2-6 above; parallax_mas is NaN.  Non-finite input or an
// invalid context gives ok == false and NaN values.
StarPositions PositionsFromCirs(double icrs_ra, double icrs_dec, double cirs_ra, double cirs_dec,
                                double observer_cirs_ra, double observer_cirs_dec,
                                const AstrometryContext& context);

// ---- Precession to B1875 (constellation boundaries) ------------------------------

// A J2000 (ICRS) direction referred to the mean equator and equinox of
// B1875.0, the frame of the constellation boundaries (Delporte 1930; Roman
// 1987, PASP 99, 695).  Degrees in, degrees out (RA in [0, 360)).  IAU 2006
// bias-precession (eraPmat06) to the Besselian epoch 1875.0 (TT); the FK4
// E-terms and the FK4-FK5 equinox difference (both under 1") are ignored,
// far below the precision of the boundaries.  Non-finite input gives NaN.
struct EquatorialDeg {
    double ra_deg;
    double dec_deg;
};
EquatorialDeg ToB1875(double ra_deg, double dec_deg);

// ---- Rise, transit and set -------------------------------------------------

// Standard altitudes of rise and set (geometric altitude of the centre, degrees):
constexpr double kStandardAltitudeStarDeg = -0.5667;  // refraction at the horizon, 34'
constexpr double kStandardAltitudeSunDeg = -0.8333;   // 34' + semidiameter 16'
constexpr double kStandardAltitudeMoonDeg = 0.125;    // mean: 0.7275 parallax - 34'

// One look at a body from the observer at a time: local hour angle
// (west positive, degrees in [-180, 180)) and geometric altitude (degrees).
struct HorizonSample {
    double hour_angle_deg;
    double altitude_deg;
};
// The body's place as seen from the observer at a UT Julian Day.  A
// non-finite sample makes the search fail.
using HorizonFunction = std::function<HorizonSample(double jd_ut)>;

// An interval of UT Julian Days [start, end).
struct LocalDay {
    bool ok = false;
    double start_jd_ut = 0.0;
    double end_jd_ut = 0.0;
};

// The local calendar day (midnight to midnight on a clock tz_hours ahead of
// UT, east positive, fractions allowed) that contains jd_ut.
LocalDay LocalDayOf(double jd_ut, double tz_hours);

// Rise, upper transit and set times within one interval, in time order,
// UT Julian Days.  Two events of one kind can fall in one day (a star
// transits every 23 h 56 min).  When the body neither rises nor sets in
// the interval the lists are empty and one of the flags tells whether it
// stayed above or below the standard altitude all the time.  The transit
// is the upper meridian passage, listed also when it happens below the
// horizon.
struct RiseTransitSet {
    bool ok = false;
    std::vector<double> rise_jd_ut;
    std::vector<double> transit_jd_ut;
    std::vector<double> set_jd_ut;
    bool above_all_day = false;  // circumpolar (for this interval)
    bool below_all_day = false;  // never rises (for this interval)
};

// Finds the events of a body given by `body` in [day.start, day.end).
// altitude_deg: the standard altitude (kStandardAltitude*).
//
// Method: the hour angle and altitude are sampled every hour; upper and
// lower culminations are located where the hour angle passes 0 and 180
// degrees and refined; the altitude of a fixed star is monotonic between
// two culminations, so the culminations join the samples and every sign
// change of altitude - standard altitude between neighbouring points holds
// exactly one rise or set, refined by the Illinois (modified regula falsi)
// method to 1e-8 day.  Moving bodies (Sun, Moon, planets) are handled by
// the same rule: their extremes of altitude lie within minutes of the
// culminations.  About 60 to 100 evaluations of `body` per day.
// Reference for the standard altitudes: Meeus, Astronomical Algorithms,
// 2nd ed., ch. 15.
RiseTransitSet FindRiseTransitSet(const HorizonFunction& body, const LocalDay& day,
                                  double altitude_deg);

// The horizon function of a catalogue star for the context's observer.
// The star's geocentric CIRS place is computed once, at the context's time
// (it moves by less than 1" a day); each evaluation turns the Earth to the
// requested UT (eraApio: Earth rotation angle, diurnal aberration) and
// converts with eraAtioq, without refraction.  Good for a day or two
// either side of the context's time.
HorizonFunction StarHorizonFunction(const CatalogStar& star, const AstrometryContext& context);

// The horizon function of a body whose place the caller computes: `place`
// gives, for a UT Julian Day, its apparent right ascension (hours) and
// declination (degrees) referred to the true equator and equinox of date
// as seen from the observer (topocentric for the Moon; geocentric is fine
// for the Sun and planets).  The hour angle is the local apparent sidereal
// time (ERA at the requested UT minus the context's equation of the
// origins, plus the longitude) minus the RA; the altitude follows from the
// observer's latitude (eraHd2ae).  Meeus ch. 13.
HorizonFunction ApparentHorizonFunction(std::function<Equatorial(double jd_ut)> place,
                                        const AstrometryContext& context);

// Rise, transit and set of a catalogue star within the local day (tz_hours
// ahead of UT) that contains the context's time, for the standard altitude
// of stars unless another is given.
RiseTransitSet StarRiseTransitSet(const CatalogStar& star, const AstrometryContext& context,
                                  double tz_hours, double altitude_deg = kStandardAltitudeStarDeg);

}  // namespace astrometry
