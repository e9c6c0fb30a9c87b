// SGP4/SDP4 (see sky/sgp4.h for the sources, frames and units).
//
// The variable names follow Spacetrack Report #3 and its 2006 revision, so
// that each line can be checked against the published equations; the
// arithmetic is kept in the published order, on which agreement with the
// verification output to a fraction of a millimetre depends.
#include "sky/sgp4.h"

#include <cmath>
#include <numbers>

namespace sgp4 {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kDeg = kPi / 180.0;
constexpr double kX2o3 = 2.0 / 3.0;
constexpr double kMinutesPerDay = 1440.0;
// Mean motion unit: sqrt(mu / R^3) in radians per minute.
const double kXke = 60.0 / std::sqrt(kEarthRadiusKm * kEarthRadiusKm * kEarthRadiusKm / kMu);
constexpr double kJ3oJ2 = kJ3 / kJ2;
// Julian Day of 1950 January 0.0, the model's time origin.
constexpr double kJd1950 = 2433281.5;
// Below this distance from -1 the cosine of the inclination is taken as this.
constexpr double kTemp4 = 1.5e-12;

}  // namespace

double Gmst82(double jd_ut1) {
    const double tut1 = (jd_ut1 - 2451545.0) / 36525.0;
    double temp = -6.2e-6 * tut1 * tut1 * tut1 + 0.093104 * tut1 * tut1 +
                  (876600.0 * 3600.0 + 8640184.812866) * tut1 + 67310.54841;  // seconds
    temp = std::fmod(temp * kDeg / 240.0, kTwoPi);
    if (temp < 0.0) temp += kTwoPi;
    return temp;
}

// The lunar and solar terms of SDP4: the coefficients of the long-period
// periodics (dscom), the secular rates and the resonance terms (dsinit).
struct Propagator::DeepSpaceTerms {
    // Long-period periodics, solar (s*) and lunar (x*, e3, ee2) coefficients.
    double e3 = 0, ee2 = 0, se2 = 0, se3 = 0, sgh2 = 0, sgh3 = 0, sgh4 = 0, sh2 = 0, sh3 = 0,
           si2 = 0, si3 = 0, sl2 = 0, sl3 = 0, sl4 = 0;
    double xgh2 = 0, xgh3 = 0, xgh4 = 0, xh2 = 0, xh3 = 0, xi2 = 0, xi3 = 0, xl2 = 0, xl3 = 0,
           xl4 = 0;
    double zmol = 0, zmos = 0;
    // Secular rates of the lunar-solar terms.
    double dedt = 0, didt = 0, dmdt = 0, dnodt = 0, domdt = 0;
    // Resonance: 0 none, 1 one day (synchronous), 2 half a day (Molniya).
    int irez = 0;
    double d2201 = 0, d2211 = 0, d3210 = 0, d3222 = 0, d4410 = 0, d4422 = 0, d5220 = 0, d5232 = 0,
           d5421 = 0, d5433 = 0;
    double del1 = 0, del2 = 0, del3 = 0;
    double xfact = 0, xlamo = 0;
};

Propagator::Propagator(const MeanElements& e) : m_elements(e) {
    const double values[] = {
        e.epoch_jd_utc, e.bstar,           e.inclination_deg,  e.raan_deg,
        e.eccentricity, e.arg_perigee_deg, e.mean_anomaly_deg, e.mean_motion_rev_day};
    for (double v : values) {
        if (!std::isfinite(v)) m_initError = Error::kNotANumber;
    }
    if (m_initError == Error::kNone && (e.eccentricity < 0.0 || e.eccentricity >= 1.0)) {
        m_initError = Error::kEccentricity;
    }
    if (m_initError == Error::kNone && e.mean_motion_rev_day <= 0.0) {
        m_initError = Error::kMeanMotion;
    }
    if (m_initError != Error::kNone) return;
    m_ecco = e.eccentricity;
    m_inclo = e.inclination_deg * kDeg;
    m_nodeo = e.raan_deg * kDeg;
    m_argpo = e.arg_perigee_deg * kDeg;
    m_mo = e.mean_anomaly_deg * kDeg;
    m_bstar = e.bstar;
    InitNearEarth();
    if (m_deep) InitDeepSpace();
}

// Initialisation common to both models (Spacetrack Report #3, SGP4 section;
// the 2006 revision's "initl" and "sgp4init").
void Propagator::InitNearEarth() {
    const double noKozai = m_elements.mean_motion_rev_day * kTwoPi / kMinutesPerDay;
    const double eccsq = m_ecco * m_ecco;
    const double omeosq = 1.0 - eccsq;
    const double rteosq = std::sqrt(omeosq);
    const double cosio = std::cos(m_inclo);
    const double cosio2 = cosio * cosio;

    // Un-Kozai the mean motion (Brouwer's mean motion from Kozai's).
    const double ak = std::pow(kXke / noKozai, kX2o3);
    const double d1 = 0.75 * kJ2 * (3.0 * cosio2 - 1.0) / (rteosq * omeosq);
    double del = d1 / (ak * ak);
    const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
    del = d1 / (adel * adel);
    m_no = noKozai / (1.0 + del);

    const double ao = std::pow(kXke / m_no, kX2o3);
    const double sinio = std::sin(m_inclo);
    const double po = ao * omeosq;
    const double con42 = 1.0 - 5.0 * cosio2;
    m_con41 = -con42 - cosio2 - cosio2;
    const double posq = po * po;
    const double rp = ao * (1.0 - m_ecco);
    m_gsto = Gmst82(m_elements.epoch_jd_utc);

    // Atmosphere: the density function's parameters s and (q0 - s)^4, in
    // Earth radii, lowered for perigees below 156 km.
    const double ss = 78.0 / kEarthRadiusKm + 1.0;
    const double qzms2t = std::pow((120.0 - 78.0) / kEarthRadiusKm, 4);
    m_simple = rp < 220.0 / kEarthRadiusKm + 1.0;
    double sfour = ss;
    double qzms24 = qzms2t;
    const double perige = (rp - 1.0) * kEarthRadiusKm;
    if (perige < 156.0) {
        sfour = perige < 98.0 ? 20.0 : perige - 78.0;
        qzms24 = std::pow((120.0 - sfour) / kEarthRadiusKm, 4);
        sfour = sfour / kEarthRadiusKm + 1.0;
    }
    const double pinvsq = 1.0 / posq;
    const double tsi = 1.0 / (ao - sfour);
    m_eta = ao * m_ecco * tsi;
    const double etasq = m_eta * m_eta;
    const double eeta = m_ecco * m_eta;
    const double psisq = std::fabs(1.0 - etasq);
    const double coef = qzms24 * std::pow(tsi, 4);
    const double coef1 = coef / std::pow(psisq, 3.5);
    const double cc2 = coef1 * m_no *
                       (ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
                        0.375 * kJ2 * tsi / psisq * m_con41 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
    m_cc1 = m_bstar * cc2;
    double cc3 = 0.0;
    if (m_ecco > 1.0e-4) cc3 = -2.0 * coef * tsi * kJ3oJ2 * m_no * sinio / m_ecco;
    m_x1mth2 = 1.0 - cosio2;
    m_cc4 =
        2.0 * m_no * coef1 * ao * omeosq *
        (m_eta * (2.0 + 0.5 * etasq) + m_ecco * (0.5 + 2.0 * etasq) -
         kJ2 * tsi / (ao * psisq) *
             (-3.0 * m_con41 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
              0.75 * m_x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * m_argpo)));
    m_cc5 = 2.0 * coef1 * ao * omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);

    // Secular rates of the mean anomaly, perigee and node (J2, J4).
    const double cosio4 = cosio2 * cosio2;
    const double temp1 = 1.5 * kJ2 * pinvsq * m_no;
    const double temp2 = 0.5 * temp1 * kJ2 * pinvsq;
    const double temp3 = -0.46875 * kJ4 * pinvsq * pinvsq * m_no;
    m_mdot = m_no + 0.5 * temp1 * rteosq * m_con41 +
             0.0625 * temp2 * rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
    m_argpdot = -0.5 * temp1 * con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4) +
                temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
    const double xhdot1 = -temp1 * cosio;
    m_nodedot =
        xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
    m_omgcof = m_bstar * cc3 * std::cos(m_argpo);
    m_xmcof = m_ecco > 1.0e-4 ? -kX2o3 * coef * m_bstar / eeta : 0.0;
    m_nodecf = 3.5 * omeosq * xhdot1 * m_cc1;
    m_t2cof = 1.5 * m_cc1;
    // Long-period coefficients of J3; the pole of the formula at i = 180
    // degrees is avoided.
    const double onePlusCos = std::fabs(cosio + 1.0) > kTemp4 ? 1.0 + cosio : kTemp4;
    m_xlcof = -0.25 * kJ3oJ2 * sinio * (3.0 + 5.0 * cosio) / onePlusCos;
    m_aycof = -0.5 * kJ3oJ2 * sinio;
    m_delmo = std::pow(1.0 + m_eta * std::cos(m_mo), 3);
    m_sinmao = std::sin(m_mo);
    m_x7thm1 = 7.0 * cosio2 - 1.0;

    m_deep = kTwoPi / m_no >= 225.0;
    if (m_deep) m_simple = true;
    if (!m_simple) {
        const double cc1sq = m_cc1 * m_cc1;
        m_d2 = 4.0 * ao * tsi * cc1sq;
        const double temp = m_d2 * tsi * m_cc1 / 3.0;
        m_d3 = (17.0 * ao + sfour) * temp;
        m_d4 = 0.5 * temp * ao * tsi * (221.0 * ao + 31.0 * sfour) * m_cc1;
        m_t3cof = m_d2 + 2.0 * cc1sq;
        m_t4cof = 0.25 * (3.0 * m_d3 + m_cc1 * (12.0 * m_d2 + 10.0 * cc1sq));
        m_t5cof = 0.2 * (3.0 * m_d4 + 12.0 * m_cc1 * m_d3 + 6.0 * m_d2 * m_d2 +
                         15.0 * cc1sq * (2.0 * m_d2 + cc1sq));
    }
}

namespace {

// The solar and lunar geometry terms of one perturbing body (dscom): the
// s and z coefficients of Spacetrack Report #3's SDP4 section.
struct BodyTerms {
    double s1, s2, s3, s4, s5, s6, s7;
    double z1, z2, z3, z11, z12, z13, z21, z22, z23, z31, z32, z33;
};

struct Orientation {
    double cosg, sing, cosi, sini, cosh, sinh;  // of the perturbing body's orbit
};

BodyTerms Terms(const Orientation& o, double cc, double xnoi, double em, double emsq, double betasq,
                double rtemsq, double sinim, double cosim, double sinomm, double cosomm) {
    const double a1 = o.cosg * o.cosh + o.sing * o.cosi * o.sinh;
    const double a3 = -o.sing * o.cosh + o.cosg * o.cosi * o.sinh;
    const double a7 = -o.cosg * o.sinh + o.sing * o.cosi * o.cosh;
    const double a8 = o.sing * o.sini;
    const double a9 = o.sing * o.sinh + o.cosg * o.cosi * o.cosh;
    const double a10 = o.cosg * o.sini;
    const double a2 = cosim * a7 + sinim * a8;
    const double a4 = cosim * a9 + sinim * a10;
    const double a5 = -sinim * a7 + cosim * a8;
    const double a6 = -sinim * a9 + cosim * a10;

    const double x1 = a1 * cosomm + a2 * sinomm;
    const double x2 = a3 * cosomm + a4 * sinomm;
    const double x3 = -a1 * sinomm + a2 * cosomm;
    const double x4 = -a3 * sinomm + a4 * cosomm;
    const double x5 = a5 * sinomm;
    const double x6 = a6 * sinomm;
    const double x7 = a5 * cosomm;
    const double x8 = a6 * cosomm;

    BodyTerms t;
    t.z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
    t.z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
    t.z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
    t.z1 = 3.0 * (a1 * a1 + a2 * a2) + t.z31 * emsq;
    t.z2 = 6.0 * (a1 * a3 + a2 * a4) + t.z32 * emsq;
    t.z3 = 3.0 * (a3 * a3 + a4 * a4) + t.z33 * emsq;
    t.z11 = -6.0 * a1 * a5 + emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
    t.z12 = -6.0 * (a1 * a6 + a3 * a5) +
            emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
    t.z13 = -6.0 * a3 * a6 + emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
    t.z21 = 6.0 * a2 * a5 + emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
    t.z22 =
        6.0 * (a4 * a5 + a2 * a6) + emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
    t.z23 = 6.0 * a4 * a6 + emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
    t.z1 = t.z1 + t.z1 + betasq * t.z31;
    t.z2 = t.z2 + t.z2 + betasq * t.z32;
    t.z3 = t.z3 + t.z3 + betasq * t.z33;
    t.s3 = cc * xnoi;
    t.s2 = -0.5 * t.s3 / rtemsq;
    t.s4 = t.s3 * rtemsq;
    t.s1 = -15.0 * em * t.s4;
    t.s5 = x1 * x3 + x2 * x4;
    t.s6 = x2 * x3 + x1 * x4;
    t.s7 = x2 * x4 - x1 * x3;
    return t;
}

// Resonance coefficients of the 12-hour orbits (Molniya): the G functions
// of the eccentricity, fitted in three ranges of it.
struct HalfDayG {
    double g201, g211, g310, g322, g410, g422, g520, g521, g532, g533;
};

HalfDayG HalfDayFunctions(double em, double emsq) {
    const double eoc = em * emsq;
    HalfDayG g;
    g.g201 = -0.306 - (em - 0.64) * 0.440;
    if (em <= 0.65) {
        g.g211 = 3.616 - 13.2470 * em + 16.2900 * emsq;
        g.g310 = -19.302 + 117.3900 * em - 228.4190 * emsq + 156.5910 * eoc;
        g.g322 = -18.9068 + 109.7927 * em - 214.6334 * emsq + 146.5816 * eoc;
        g.g410 = -41.122 + 242.6940 * em - 471.0940 * emsq + 313.9530 * eoc;
        g.g422 = -146.407 + 841.8800 * em - 1629.014 * emsq + 1083.4350 * eoc;
        g.g520 = -532.114 + 3017.977 * em - 5740.032 * emsq + 3708.2760 * eoc;
    } else {
        g.g211 = -72.099 + 331.819 * em - 508.738 * emsq + 266.724 * eoc;
        g.g310 = -346.844 + 1582.851 * em - 2415.925 * emsq + 1246.113 * eoc;
        g.g322 = -342.585 + 1554.908 * em - 2366.899 * emsq + 1215.972 * eoc;
        g.g410 = -1052.797 + 4758.686 * em - 7193.992 * emsq + 3651.957 * eoc;
        g.g422 = -3581.690 + 16178.110 * em - 24462.770 * emsq + 12422.520 * eoc;
        g.g520 = em > 0.715 ? -5149.66 + 29936.92 * em - 54087.36 * emsq + 31324.56 * eoc
                            : 1464.74 - 4664.75 * em + 3763.64 * emsq;
    }
    if (em < 0.7) {
        g.g533 = -919.22770 + 4988.6100 * em - 9064.7700 * emsq + 5542.21 * eoc;
        g.g521 = -822.71072 + 4568.6173 * em - 8491.4146 * emsq + 5337.524 * eoc;
        g.g532 = -853.66600 + 4690.2500 * em - 8624.7700 * emsq + 5341.4 * eoc;
    } else {
        g.g533 = -37995.780 + 161616.52 * em - 229838.20 * emsq + 109377.94 * eoc;
        g.g521 = -51752.104 + 218913.95 * em - 309468.16 * emsq + 146349.42 * eoc;
        g.g532 = -40023.880 + 170470.89 * em - 242699.48 * emsq + 115605.82 * eoc;
    }
    return g;
}

// Constants of the lunar-solar model.
constexpr double kZes = 0.01675;                   // solar eccentricity
constexpr double kZel = 0.05490;                   // lunar eccentricity
constexpr double kZns = 1.19459e-5;                // solar mean motion, rad/min
constexpr double kZnl = 1.5835218e-4;              // lunar mean motion, rad/min
constexpr double kRptim = 4.37526908801129966e-3;  // Earth rotation, rad/min

}  // namespace

void Propagator::InitDeepSpace() {
    auto ds = std::make_shared<DeepSpaceTerms>();
    DeepSpaceTerms& d = *ds;
    const double em = m_ecco;
    const double emsq = em * em;
    const double betasq = 1.0 - emsq;
    const double rtemsq = std::sqrt(betasq);
    const double snodm = std::sin(m_nodeo), cnodm = std::cos(m_nodeo);
    const double sinomm = std::sin(m_argpo), cosomm = std::cos(m_argpo);
    const double sinim = std::sin(m_inclo), cosim = std::cos(m_inclo);

    // The Moon's orbit at the epoch (days since 1900 January 0.5).
    const double day = m_elements.epoch_jd_utc - kJd1950 + 18261.5;
    const double xnodce = std::fmod(4.5236020 - 9.2422029e-4 * day, kTwoPi);
    const double stem = std::sin(xnodce), ctem = std::cos(xnodce);
    const double zcosil = 0.91375164 - 0.03568096 * ctem;
    const double zsinil = std::sqrt(1.0 - zcosil * zcosil);
    const double zsinhl = 0.089683511 * stem / zsinil;
    const double zcoshl = std::sqrt(1.0 - zsinhl * zsinhl);
    const double gam = 5.8351514 + 0.0019443680 * day;
    double zx = 0.39785416 * stem / zsinil;
    const double zy = zcoshl * ctem + 0.91744867 * zsinhl * stem;
    zx = std::atan2(zx, zy);
    zx = gam + zx - xnodce;

    const double xnoi = 1.0 / m_no;
    const Orientation sun{0.1945905, -0.98088458, 0.91744867, 0.39785416, cnodm, snodm};
    const BodyTerms s =
        Terms(sun, 2.9864797e-6, xnoi, em, emsq, betasq, rtemsq, sinim, cosim, sinomm, cosomm);
    const Orientation moon{std::cos(zx),
                           std::sin(zx),
                           zcosil,
                           zsinil,
                           zcoshl * cnodm + zsinhl * snodm,
                           snodm * zcoshl - cnodm * zsinhl};
    const BodyTerms l =
        Terms(moon, 4.7968065e-7, xnoi, em, emsq, betasq, rtemsq, sinim, cosim, sinomm, cosomm);
    d.zmol = std::fmod(4.7199672 + 0.22997150 * day - gam, kTwoPi);
    d.zmos = std::fmod(6.2565837 + 0.017201977 * day, kTwoPi);

    d.se2 = 2.0 * s.s1 * s.s6;
    d.se3 = 2.0 * s.s1 * s.s7;
    d.si2 = 2.0 * s.s2 * s.z12;
    d.si3 = 2.0 * s.s2 * (s.z13 - s.z11);
    d.sl2 = -2.0 * s.s3 * s.z2;
    d.sl3 = -2.0 * s.s3 * (s.z3 - s.z1);
    d.sl4 = -2.0 * s.s3 * (-21.0 - 9.0 * emsq) * kZes;
    d.sgh2 = 2.0 * s.s4 * s.z32;
    d.sgh3 = 2.0 * s.s4 * (s.z33 - s.z31);
    d.sgh4 = -18.0 * s.s4 * kZes;
    d.sh2 = -2.0 * s.s2 * s.z22;
    d.sh3 = -2.0 * s.s2 * (s.z23 - s.z21);
    d.ee2 = 2.0 * l.s1 * l.s6;
    d.e3 = 2.0 * l.s1 * l.s7;
    d.xi2 = 2.0 * l.s2 * l.z12;
    d.xi3 = 2.0 * l.s2 * (l.z13 - l.z11);
    d.xl2 = -2.0 * l.s3 * l.z2;
    d.xl3 = -2.0 * l.s3 * (l.z3 - l.z1);
    d.xl4 = -2.0 * l.s3 * (-21.0 - 9.0 * emsq) * kZel;
    d.xgh2 = 2.0 * l.s4 * l.z32;
    d.xgh3 = 2.0 * l.s4 * (l.z33 - l.z31);
    d.xgh4 = -18.0 * l.s4 * kZel;
    d.xh2 = -2.0 * l.s2 * l.z22;
    d.xh3 = -2.0 * l.s2 * (l.z23 - l.z21);

    // Secular rates from the Sun and the Moon (dsinit).
    const bool nearEquator = m_inclo < 5.2359877e-2 || m_inclo > kPi - 5.2359877e-2;
    const double ses = s.s1 * kZns * s.s5;
    const double sis = s.s2 * kZns * (s.z11 + s.z13);
    const double sls = -kZns * s.s3 * (s.z1 + s.z3 - 14.0 - 6.0 * emsq);
    const double sghs = s.s4 * kZns * (s.z31 + s.z33 - 6.0);
    double shs = nearEquator ? 0.0 : -kZns * s.s2 * (s.z21 + s.z23);
    if (sinim != 0.0) shs /= sinim;
    const double sgs = sghs - cosim * shs;
    d.dedt = ses + l.s1 * kZnl * l.s5;
    d.didt = sis + l.s2 * kZnl * (l.z11 + l.z13);
    d.dmdt = sls - kZnl * l.s3 * (l.z1 + l.z3 - 14.0 - 6.0 * emsq);
    const double sghl = l.s4 * kZnl * (l.z31 + l.z33 - 6.0);
    const double shll = nearEquator ? 0.0 : -kZnl * l.s2 * (l.z21 + l.z23);
    d.domdt = sgs + sghl;
    d.dnodt = shs;
    if (sinim != 0.0) {
        d.domdt -= cosim / sinim * shll;
        d.dnodt += shll / sinim;
    }

    // Resonances: a one-day period (geosynchronous) or a half-day period
    // with an eccentric orbit (Molniya).
    const double nm = m_no;
    if (nm < 0.0052359877 && nm > 0.0034906585) d.irez = 1;
    if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5) d.irez = 2;
    const double theta = m_gsto;  // at the epoch
    if (d.irez != 0) {
        const double aonv = std::pow(nm / kXke, kX2o3);
        if (d.irez == 2) {
            const double cosisq = cosim * cosim;
            const HalfDayG g = HalfDayFunctions(em, emsq);
            const double sini2 = sinim * sinim;
            const double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
            const double f221 = 1.5 * sini2;
            const double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
            const double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
            const double f441 = 35.0 * sini2 * f220;
            const double f442 = 39.3750 * sini2 * sini2;
            const double f522 = 9.84375 * sinim *
                                (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq) +
                                 0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
            const double f523 = sinim * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq) +
                                         6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
            const double f542 =
                29.53125 * sinim *
                (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
            const double f543 =
                29.53125 * sinim *
                (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));
            const double xno2 = nm * nm;
            const double ainv2 = aonv * aonv;
            double temp1 = 3.0 * xno2 * ainv2;
            double temp = temp1 * 1.7891679e-6;  // root22
            d.d2201 = temp * f220 * g.g201;
            d.d2211 = temp * f221 * g.g211;
            temp1 = temp1 * aonv;
            temp = temp1 * 3.7393792e-7;  // root32
            d.d3210 = temp * f321 * g.g310;
            d.d3222 = temp * f322 * g.g322;
            temp1 = temp1 * aonv;
            temp = 2.0 * temp1 * 7.3636953e-9;  // root44
            d.d4410 = temp * f441 * g.g410;
            d.d4422 = temp * f442 * g.g422;
            temp1 = temp1 * aonv;
            temp = temp1 * 1.1428639e-7;  // root52
            d.d5220 = temp * f522 * g.g520;
            d.d5232 = temp * f523 * g.g532;
            temp = 2.0 * temp1 * 2.1765803e-9;  // root54
            d.d5421 = temp * f542 * g.g521;
            d.d5433 = temp * f543 * g.g533;
            d.xlamo = std::fmod(m_mo + m_nodeo + m_nodeo - theta - theta, kTwoPi);
            d.xfact = m_mdot + d.dmdt + 2.0 * (m_nodedot + d.dnodt - kRptim) - m_no;
        } else {
            const double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
            const double g310 = 1.0 + 2.0 * emsq;
            const double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
            const double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
            const double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
            double f330 = 1.0 + cosim;
            f330 = 1.875 * f330 * f330 * f330;
            d.del1 = 3.0 * nm * nm * aonv * aonv;
            d.del2 = 2.0 * d.del1 * f220 * g200 * 1.7891679e-6;         // q22
            d.del3 = 3.0 * d.del1 * f330 * g300 * 2.2123015e-7 * aonv;  // q33
            d.del1 = d.del1 * f311 * g310 * 2.1460748e-6 * aonv;        // q31
            d.xlamo = std::fmod(m_mo + m_nodeo + m_argpo - theta, kTwoPi);
            d.xfact = m_mdot + (m_argpdot + m_nodedot) - kRptim + d.dmdt + d.domdt + d.dnodt - m_no;
        }
    }
    m_ds = std::move(ds);
}

// The secular lunar-solar effects and the resonance integration up to t
// minutes (dspace).  The resonant mean longitude and mean motion are
// integrated from the epoch in fixed steps of 720 minutes (Euler-Maclaurin,
// second order), so a result depends on t alone.
void Propagator::Resonance(double t, double* em, double* argpm, double* inclm, double* mm,
                           double* nodem, double* nm) const {
    const DeepSpaceTerms& d = *m_ds;
    const double theta = std::fmod(m_gsto + t * kRptim, kTwoPi);
    *em += d.dedt * t;
    *inclm += d.didt * t;
    *argpm += d.domdt * t;
    *nodem += d.dnodt * t;
    *mm += d.dmdt * t;
    if (d.irez == 0) return;

    constexpr double fasx2 = 0.13130908, fasx4 = 2.8843198, fasx6 = 0.37448087;
    constexpr double g22 = 5.7686396, g32 = 0.95240898, g44 = 1.8014998, g52 = 1.0508330,
                     g54 = 4.4108898;
    constexpr double stepp = 720.0, step2 = 259200.0;
    const double delt = t > 0.0 ? stepp : -stepp;
    double atime = 0.0, xni = m_no, xli = d.xlamo;
    double xndt = 0.0, xldot = 0.0, xnddt = 0.0, ft = 0.0;
    for (;;) {
        if (d.irez != 2) {
            xndt = d.del1 * std::sin(xli - fasx2) + d.del2 * std::sin(2.0 * (xli - fasx4)) +
                   d.del3 * std::sin(3.0 * (xli - fasx6));
            xldot = xni + d.xfact;
            xnddt = d.del1 * std::cos(xli - fasx2) + 2.0 * d.del2 * std::cos(2.0 * (xli - fasx4)) +
                    3.0 * d.del3 * std::cos(3.0 * (xli - fasx6));
            xnddt = xnddt * xldot;
        } else {
            const double xomi = m_argpo + m_argpdot * atime;
            const double x2omi = xomi + xomi;
            const double x2li = xli + xli;
            xndt = d.d2201 * std::sin(x2omi + xli - g22) + d.d2211 * std::sin(xli - g22) +
                   d.d3210 * std::sin(xomi + xli - g32) + d.d3222 * std::sin(-xomi + xli - g32) +
                   d.d4410 * std::sin(x2omi + x2li - g44) + d.d4422 * std::sin(x2li - g44) +
                   d.d5220 * std::sin(xomi + xli - g52) + d.d5232 * std::sin(-xomi + xli - g52) +
                   d.d5421 * std::sin(xomi + x2li - g54) + d.d5433 * std::sin(-xomi + x2li - g54);
            xldot = xni + d.xfact;
            xnddt = d.d2201 * std::cos(x2omi + xli - g22) + d.d2211 * std::cos(xli - g22) +
                    d.d3210 * std::cos(xomi + xli - g32) + d.d3222 * std::cos(-xomi + xli - g32) +
                    d.d5220 * std::cos(xomi + xli - g52) + d.d5232 * std::cos(-xomi + xli - g52) +
                    2.0 * (d.d4410 * std::cos(x2omi + x2li - g44) + d.d4422 * std::cos(x2li - g44) +
                           d.d5421 * std::cos(xomi + x2li - g54) +
                           d.d5433 * std::cos(-xomi + x2li - g54));
            xnddt = xnddt * xldot;
        }
        if (std::fabs(t - atime) < stepp) {
            ft = t - atime;
            break;
        }
        xli = xli + xldot * delt + xndt * step2;
        xni = xni + xndt * delt + xnddt * step2;
        atime += delt;
    }
    *nm = xni + xndt * ft + xnddt * ft * ft * 0.5;
    const double xl = xli + xldot * ft + xndt * ft * ft * 0.5;
    if (d.irez != 1) {
        *mm = xl - 2.0 * *nodem + 2.0 * theta;
    } else {
        *mm = xl - *nodem - *argpm + theta;
    }
}

// The long-period lunar-solar periodics at t minutes (dpper), with
// Lyddane's form below 0.2 radians of inclination.
void Propagator::LunarSolarPeriodics(double t, double* ep, double* inclp, double* nodep,
                                     double* argpp, double* mp) const {
    const DeepSpaceTerms& d = *m_ds;
    double zm = d.zmos + kZns * t;
    double zf = zm + 2.0 * kZes * std::sin(zm);
    double sinzf = std::sin(zf);
    double f2 = 0.5 * sinzf * sinzf - 0.25;
    double f3 = -0.5 * sinzf * std::cos(zf);
    const double ses = d.se2 * f2 + d.se3 * f3;
    const double sis = d.si2 * f2 + d.si3 * f3;
    const double sls = d.sl2 * f2 + d.sl3 * f3 + d.sl4 * sinzf;
    const double sghs = d.sgh2 * f2 + d.sgh3 * f3 + d.sgh4 * sinzf;
    const double shs = d.sh2 * f2 + d.sh3 * f3;
    zm = d.zmol + kZnl * t;
    zf = zm + 2.0 * kZel * std::sin(zm);
    sinzf = std::sin(zf);
    f2 = 0.5 * sinzf * sinzf - 0.25;
    f3 = -0.5 * sinzf * std::cos(zf);
    const double sel = d.ee2 * f2 + d.e3 * f3;
    const double sil = d.xi2 * f2 + d.xi3 * f3;
    const double sll = d.xl2 * f2 + d.xl3 * f3 + d.xl4 * sinzf;
    const double sghl = d.xgh2 * f2 + d.xgh3 * f3 + d.xgh4 * sinzf;
    const double shll = d.xh2 * f2 + d.xh3 * f3;
    // The values at the epoch are zero in this formulation (peo ... pho).
    const double pe = ses + sel;
    const double pinc = sis + sil;
    const double pl = sls + sll;
    double pgh = sghs + sghl;
    double ph = shs + shll;

    *inclp += pinc;
    *ep += pe;
    const double sinip = std::sin(*inclp);
    const double cosip = std::cos(*inclp);
    if (*inclp >= 0.2) {
        ph = ph / sinip;
        pgh = pgh - cosip * ph;
        *argpp += pgh;
        *nodep += ph;
        *mp += pl;
        return;
    }
    // Lyddane: perturb the node through the components of the pole, which
    // stay smooth where the node itself is ill defined.
    const double sinop = std::sin(*nodep);
    const double cosop = std::cos(*nodep);
    double alfdp = sinip * sinop;
    double betdp = sinip * cosop;
    const double dalf = ph * cosop + pinc * cosip * sinop;
    const double dbet = -ph * sinop + pinc * cosip * cosop;
    alfdp += dalf;
    betdp += dbet;
    *nodep = std::fmod(*nodep, kTwoPi);
    double xls = *mp + *argpp + cosip * *nodep;
    const double dls = pl + pgh - pinc * *nodep * sinip;
    xls += dls;
    const double xnoh = *nodep;
    *nodep = std::atan2(alfdp, betdp);
    if (std::fabs(xnoh - *nodep) > kPi) {
        *nodep += *nodep < xnoh ? kTwoPi : -kTwoPi;
    }
    *mp += pl;
    *argpp = xls - *mp - cosip * *nodep;
}

State Propagator::At(double t) const {
    State out;
    if (m_initError != Error::kNone) {
        out.error = m_initError;
        return out;
    }
    if (!(std::fabs(t) <= kMaxYears * 365.25 * kMinutesPerDay)) {
        out.error = Error::kTooFar;
        return out;
    }
    const double vkmpersec = kEarthRadiusKm * kXke / 60.0;

    // Secular gravity and drag.
    const double xmdf = m_mo + m_mdot * t;
    const double argpdf = m_argpo + m_argpdot * t;
    const double nodedf = m_nodeo + m_nodedot * t;
    double argpm = argpdf;
    double mm = xmdf;
    const double t2 = t * t;
    double nodem = nodedf + m_nodecf * t2;
    double tempa = 1.0 - m_cc1 * t;
    double tempe = m_bstar * m_cc4 * t;
    double templ = m_t2cof * t2;
    if (!m_simple) {
        const double delomg = m_omgcof * t;
        const double delm = m_xmcof * (std::pow(1.0 + m_eta * std::cos(xmdf), 3) - m_delmo);
        const double temp = delomg + delm;
        mm = xmdf + temp;
        argpm = argpdf - temp;
        const double t3 = t2 * t;
        const double t4 = t3 * t;
        tempa = tempa - m_d2 * t2 - m_d3 * t3 - m_d4 * t4;
        tempe = tempe + m_bstar * m_cc5 * (std::sin(mm) - m_sinmao);
        templ = templ + m_t3cof * t3 + t4 * (m_t4cof + t * m_t5cof);
    }
    double nm = m_no;
    double em = m_ecco;
    double inclm = m_inclo;
    if (m_deep) Resonance(t, &em, &argpm, &inclm, &mm, &nodem, &nm);
    if (nm <= 0.0) {
        out.error = Error::kMeanMotion;
        return out;
    }
    const double am = std::pow(kXke / nm, kX2o3) * tempa * tempa;
    nm = kXke / std::pow(am, 1.5);
    em = em - tempe;
    if (em >= 1.0 || em < -0.001 || !std::isfinite(em)) {
        out.error = Error::kEccentricity;
        return out;
    }
    if (em < 1.0e-6) em = 1.0e-6;
    mm = mm + m_no * templ;
    double xlm = mm + argpm + nodem;
    nodem = std::fmod(nodem, kTwoPi);
    argpm = std::fmod(argpm, kTwoPi);
    xlm = std::fmod(xlm, kTwoPi);
    mm = std::fmod(xlm - argpm - nodem, kTwoPi);

    // Lunar-solar periodics.
    double ep = em, xincp = inclm, argpp = argpm, nodep = nodem, mp = mm;
    double sinip = std::sin(inclm), cosip = std::cos(inclm);
    double aycof = m_aycof, xlcof = m_xlcof;
    double con41 = m_con41, x1mth2 = m_x1mth2, x7thm1 = m_x7thm1;
    if (m_deep) {
        LunarSolarPeriodics(t, &ep, &xincp, &nodep, &argpp, &mp);
        if (xincp < 0.0) {
            xincp = -xincp;
            nodep = nodep + kPi;
            argpp = argpp - kPi;
        }
        if (ep < 0.0 || ep > 1.0) {
            out.error = Error::kPerturbedEcc;
            return out;
        }
        sinip = std::sin(xincp);
        cosip = std::cos(xincp);
        aycof = -0.5 * kJ3oJ2 * sinip;
        const double onePlusCos = std::fabs(cosip + 1.0) > kTemp4 ? 1.0 + cosip : kTemp4;
        xlcof = -0.25 * kJ3oJ2 * sinip * (3.0 + 5.0 * cosip) / onePlusCos;
        const double cosisq = cosip * cosip;
        con41 = 3.0 * cosisq - 1.0;
        x1mth2 = 1.0 - cosisq;
        x7thm1 = 7.0 * cosisq - 1.0;
    }

    // Long-period periodics of J3.
    const double axnl = ep * std::cos(argpp);
    double temp = 1.0 / (am * (1.0 - ep * ep));
    const double aynl = ep * std::sin(argpp) + temp * aycof;
    const double xl = mp + argpp + nodep + temp * xlcof * axnl;

    // Kepler's equation in the modified form, for E + omega.
    const double u = std::fmod(xl - nodep, kTwoPi);
    double eo1 = u;
    double tem5 = 9999.9;
    double sineo1 = 0.0, coseo1 = 0.0;
    for (int ktr = 1; std::fabs(tem5) >= 1.0e-12 && ktr <= 10; ++ktr) {
        sineo1 = std::sin(eo1);
        coseo1 = std::cos(eo1);
        tem5 = 1.0 - coseo1 * axnl - sineo1 * aynl;
        tem5 = (u - aynl * coseo1 + axnl * sineo1 - eo1) / tem5;
        if (std::fabs(tem5) >= 0.95) tem5 = tem5 > 0.0 ? 0.95 : -0.95;
        eo1 = eo1 + tem5;
    }

    // Short-period periodics.
    const double ecose = axnl * coseo1 + aynl * sineo1;
    const double esine = axnl * sineo1 - aynl * coseo1;
    const double el2 = axnl * axnl + aynl * aynl;
    const double pl = am * (1.0 - el2);
    if (pl < 0.0) {
        out.error = Error::kSemiLatusRectum;
        return out;
    }
    const double rl = am * (1.0 - ecose);
    const double rdotl = std::sqrt(am) * esine / rl;
    const double rvdotl = std::sqrt(pl) / rl;
    const double betal = std::sqrt(1.0 - el2);
    temp = esine / (1.0 + betal);
    const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
    const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
    double su = std::atan2(sinu, cosu);
    const double sin2u = (cosu + cosu) * sinu;
    const double cos2u = 1.0 - 2.0 * sinu * sinu;
    temp = 1.0 / pl;
    const double temp1 = 0.5 * kJ2 * temp;
    const double temp2 = temp1 * temp;
    const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
    su = su - 0.25 * temp2 * x7thm1 * sin2u;
    const double xnode = nodep + 1.5 * temp2 * cosip * sin2u;
    const double xinc = xincp + 1.5 * temp2 * cosip * sinip * cos2u;
    const double mvt = rdotl - nm * temp1 * x1mth2 * sin2u / kXke;
    const double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * con41) / kXke;

    // Orientation vectors, then position and velocity.
    const double sinsu = std::sin(su), cossu = std::cos(su);
    const double snod = std::sin(xnode), cnod = std::cos(xnode);
    const double sini = std::sin(xinc), cosi = std::cos(xinc);
    const double xmx = -snod * cosi;
    const double xmy = cnod * cosi;
    const double ux = xmx * sinsu + cnod * cossu;
    const double uy = xmy * sinsu + snod * cossu;
    const double uz = sini * sinsu;
    const double vx = xmx * cossu - cnod * sinsu;
    const double vy = xmy * cossu - snod * sinsu;
    const double vz = sini * cossu;
    out.r_km[0] = mrt * ux * kEarthRadiusKm;
    out.r_km[1] = mrt * uy * kEarthRadiusKm;
    out.r_km[2] = mrt * uz * kEarthRadiusKm;
    out.v_km_s[0] = (mvt * ux + rvdot * vx) * vkmpersec;
    out.v_km_s[1] = (mvt * uy + rvdot * vy) * vkmpersec;
    out.v_km_s[2] = (mvt * uz + rvdot * vz) * vkmpersec;
    if (mrt < 1.0) out.error = Error::kDecayed;
    return out;
}

}  // namespace sgp4
