// SGP4/SDP4: the orbit model that NORAD's two-line element sets are made
// for.  A TLE holds mean elements fitted to this model, so only this model
// gives back the orbit they describe.
//
// Written from the published description: Hoots & Roehrich, "Models for
// Propagation of NORAD Element Sets", Spacetrack Report #3 (1980), with the
// corrections of Vallado, Crawford, Hujsak & Kelso, "Revisiting Spacetrack
// Report #3", AIAA 2006-6753 (the "improved" operation mode: sidereal time
// of the epoch from the IAU 1982 model, Lyddane's long-period terms for low
// inclinations with the node kept continuous).  Near-Earth orbits (period
// under 225 minutes) use SGP4, deep-space ones SDP4 with the lunar and solar
// terms and the 12-hour and 24-hour resonances.
//
// Constants: WGS-72 (the gravity model the element sets are fitted with):
// mu 398600.8 km^3/s^2, equatorial radius 6378.135 km, J2 0.001082616,
// J3 -0.00000253881, J4 -0.00000165597.
//
// Frames and units: positions in km and velocities in km/s in TEME (the
// true equator and mean equinox of the time, the model's own frame); times
// as minutes since the element epoch; the epoch a Julian Day of UTC.
//
// Verified against the official verification set of the AIAA paper
// (SGP4-VER.TLE with its expected output tcppver.out, tests/data/): every
// position within 2e-7 km and every velocity within 2e-7 km/s, and the
// propagation failing where the expected output stops.
#pragma once

#include <memory>

namespace sgp4 {

// WGS-72 gravity constants.
constexpr double kMu = 398600.8;             // km^3/s^2
constexpr double kEarthRadiusKm = 6378.135;  // equatorial radius
constexpr double kJ2 = 0.001082616;
constexpr double kJ3 = -0.00000253881;
constexpr double kJ4 = -0.00000165597;

// Mean elements as a two-line element set gives them (sky/tle.h).
struct MeanElements {
    double epoch_jd_utc = 0.0;         // Julian Day of the epoch, UTC
    double bstar = 0.0;                // drag term, 1 / Earth radii
    double inclination_deg = 0.0;      // TEME of the epoch
    double raan_deg = 0.0;             // right ascension of the ascending node
    double eccentricity = 0.0;         // 0 <= e < 1
    double arg_perigee_deg = 0.0;      // argument of perigee
    double mean_anomaly_deg = 0.0;     // at the epoch
    double mean_motion_rev_day = 0.0;  // Kozai mean motion, revolutions per day
};

// Why a propagation has no result: the codes of the published model.
enum class Error {
    kNone = 0,
    kEccentricity = 1,     // mean eccentricity outside [-0.001, 1)
    kMeanMotion = 2,       // mean motion not positive
    kPerturbedEcc = 3,     // perturbed eccentricity outside [0, 1]
    kSemiLatusRectum = 4,  // semi-latus rectum negative
    kDecayed = 6,          // the satellite is below the Earth's surface
    // Not codes of the model: a time more than kMaxYears from the epoch (or
    // not a number), where the model means nothing and the resonance
    // integration would take a step per 12 hours of it; an element that is
    // not a finite number.
    kTooFar = 100,
    kNotANumber = 101,
};

constexpr double kMaxYears = 100.0;

struct State {
    Error error = Error::kNone;
    double r_km[3] = {0.0, 0.0, 0.0};    // TEME, km
    double v_km_s[3] = {0.0, 0.0, 0.0};  // TEME, km/s
};

class Propagator {
  public:
    // Derives the model's constants from the elements.  A set that the model
    // cannot use (a value not finite, eccentricity outside [0, 1), mean motion
    // not positive) makes every propagation fail with InitError().
    explicit Propagator(const MeanElements& elements);

    Error InitError() const { return m_initError; }
    bool DeepSpace() const { return m_deep; }
    const MeanElements& Elements() const { return m_elements; }

    // The state `minutes` after the epoch (negative: before it).
    State At(double minutes) const;

  private:
    struct DeepSpaceTerms;
    void InitNearEarth();
    void InitDeepSpace();
    void Resonance(double t, double* em, double* argpm, double* inclm, double* mm, double* nodem,
                   double* nm) const;
    void LunarSolarPeriodics(double t, double* ep, double* inclp, double* nodep, double* argpp,
                             double* mp) const;

    MeanElements m_elements;
    Error m_initError = Error::kNone;
    bool m_deep = false;
    bool m_simple = false;  // the drag terms beyond C1 left out (low perigee, deep space)

    // Elements in the model's units: radians, radians per minute.
    double m_ecco = 0.0, m_inclo = 0.0, m_nodeo = 0.0, m_argpo = 0.0, m_mo = 0.0;
    double m_no = 0.0;  // Brouwer (un-Kozai'd) mean motion
    double m_bstar = 0.0;
    double m_gsto = 0.0;  // Greenwich sidereal time of the epoch, radians

    // Secular rates and drag coefficients (Spacetrack Report #3 names).
    double m_mdot = 0.0, m_argpdot = 0.0, m_nodedot = 0.0, m_nodecf = 0.0;
    double m_cc1 = 0.0, m_cc4 = 0.0, m_cc5 = 0.0, m_t2cof = 0.0, m_t3cof = 0.0, m_t4cof = 0.0,
           m_t5cof = 0.0;
    double m_d2 = 0.0, m_d3 = 0.0, m_d4 = 0.0;
    double m_omgcof = 0.0, m_xmcof = 0.0, m_eta = 0.0, m_delmo = 0.0, m_sinmao = 0.0;
    double m_con41 = 0.0, m_x1mth2 = 0.0, m_x7thm1 = 0.0, m_xlcof = 0.0, m_aycof = 0.0;

    // Deep-space terms (SDP4); shared so that copies of a propagator stay cheap.
    std::shared_ptr<const DeepSpaceTerms> m_ds;
};

// Greenwich mean sidereal time, radians [0, 2 pi), of a UT1 Julian Day by
// the IAU 1982 model (Aoki et al. 1982), as the model's epoch uses it.
double Gmst82(double jd_ut1);

}  // namespace sgp4
