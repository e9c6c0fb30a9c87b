#include "host/vexacl.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace vexacl {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A calendar instant split into a whole day number and the clock seconds of
// that day.  Keeping the two apart makes calendar carries exact: the day
// number is an integer-valued MJD and the seconds never pass through a JD
// double, whose resolution near the present is only about 40 microseconds.
struct DayClock {
    double mjd = 0.0;  // Modified Julian Day of the civil date, integer-valued
    double sod = 0.0;  // seconds of the day on the record's clock; may lie outside [0, 86400)
};

// Splits a record (without regard to its zone).  The day, hour, minute and
// second may lie outside their usual ranges and simply count on.  Fails for
// a month outside 1..12, a year ERFA rejects, or a non-finite second.
bool ToDayClock(const tagADATE& d, DayClock* out) {
    if (!std::isfinite(d.second)) return false;
    double djm0 = 0.0, djm = 0.0;
    // The 1st of the month is always a valid ERFA date; the day counts on
    // from it, so day 0 or day 32 carry into the neighbouring months.
    if (eraCal2jd(d.year, d.month, 1, &djm0, &djm) != 0) return false;
    out->mjd = djm + (static_cast<double>(d.day) - 1.0);
    out->sod = d.hour * 3600.0 + d.minute * 60.0 + d.second;
    return std::isfinite(out->sod);
}

// Builds a normalised record (hour 0..23, minute 0..59, second in [0, 60))
// from a day number and clock seconds, carrying whole days of the seconds
// into the date.  A positive round_scale (a power of ten, steps per second)
// first rounds the seconds to 1 / round_scale.  Fails, leaving *out alone,
// when the date falls outside ERFA's calendar range.
bool FromDayClock(DayClock dc, double zone, double round_scale, tagADATE* out) {
    if (!std::isfinite(dc.mjd) || !std::isfinite(dc.sod)) return false;
    // Dividing by the exact integer scale keeps the rounded value as close
    // to the decimal step as a double allows (46800, not 46800.000000001).
    if (round_scale > 0.0) dc.sod = std::round(dc.sod * round_scale) / round_scale;
    const double carry = std::floor(dc.sod / kSecondsPerDay);
    dc.mjd += carry;
    dc.sod -= carry * kSecondsPerDay;
    // The division can round either way at the day's edges.
    if (dc.sod >= kSecondsPerDay) {
        dc.sod -= kSecondsPerDay;
        dc.mjd += 1.0;
    }
    if (dc.sod < 0.0) dc.sod = 0.0;

    int iy = 0, im = 0, id = 0;
    double fd = 0.0;
    if (eraJd2cal(ERFA_DJM0, dc.mjd, &iy, &im, &id, &fd) != 0) return false;

    // Whole seconds as an integer, the fraction kept apart: sod < 86400 has
    // an ulp of 2^-36 s, so 59 + fraction is exact and stays below 60.
    const double whole = std::floor(dc.sod);
    const int s = static_cast<int>(whole);
    tagADATE d;
    d.year = iy;
    d.month = im;
    d.day = id;
    d.hour = s / 3600;
    d.minute = (s % 3600) / 60;
    d.second = (s % 60) + (dc.sod - whole);
    if (d.second >= 60.0) d.second = std::nextafter(60.0, 0.0);
    d.zone = zone;
    *out = d;
    return true;
}

// Steps per second to which a time read from a JD is rounded: the finest
// decimal step (at most a microsecond) that is still coarser than twice the
// JD's own resolution - 1e-4 s near the present, where a JD double resolves
// 40 microseconds.  Finer digits are noise of the double, and they turn an
// exact 13:00 shifted by a zone (jd + zone / 24) into 12:59:59.99998.
double RoundScale(double jd) {
    const double a = std::fabs(jd);
    const double resolution_s =
        (std::nextafter(a, std::numeric_limits<double>::infinity()) - a) * kSecondsPerDay;
    double scale = 1e6;
    while (scale > 1.0 && 1.0 / scale < 2.0 * resolution_s) scale /= 10.0;
    return scale;
}

// Floor division for month arithmetic over negative years.
long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int DaysInMonth(int year, int month) {
    double djm0 = 0.0, first = 0.0, next = 0.0;
    const int ny = month == 12 ? year + 1 : year;
    const int nm = month == 12 ? 1 : month + 1;
    if (eraCal2jd(year, month, 1, &djm0, &first) != 0) return 0;
    if (eraCal2jd(ny, nm, 1, &djm0, &next) != 0) return 0;
    return static_cast<int>(next - first);
}

double Poly(double x, std::initializer_list<double> coefficients) {
    // Horner's scheme; coefficients from the constant term upwards.
    double sum = 0.0;
    for (auto it = coefficients.end(); it != coefficients.begin();) {
        --it;
        sum = sum * x + *it;
    }
    return sum;
}

}  // namespace

// ---- Calendar ----------------------------------------------------------

double GetJd(const tagADATE& date) {
    DayClock dc;
    if (!ToDayClock(date, &dc) || !std::isfinite(date.zone)) return 0.0;
    // Add the small parts first so that the large MJD zero point is the
    // only rounding of consequence.
    const double fraction = (dc.sod - date.zone * 3600.0) / kSecondsPerDay;
    return ERFA_DJM0 + (dc.mjd + fraction);
}

int JdToDate(double jd, int* year, int* month, double* day) {
    int iy = 0, im = 0, id = 0;
    double fd = 0.0;
    bool ok = std::isfinite(jd);
    if (ok) {
        // Split at the integer to keep the day fraction exact.
        const double whole = std::floor(jd);
        ok = eraJd2cal(whole, jd - whole, &iy, &im, &id, &fd) == 0;
    }
    double d = 0.0;
    if (ok) {
        d = id + fd;
        // A fraction within an ulp of 1 must not turn the 31st into the 32nd.
        if (d >= id + 1.0) d = std::nextafter(id + 1.0, 0.0);
    } else {
        iy = im = 0;
    }
    if (year) *year = iy;
    if (month) *month = im;
    if (day) *day = d;
    return ok ? 1 : 0;
}

tagADATE JdToDate2(double jd) {
    tagADATE d;
    if (!std::isfinite(jd)) return d;
    int iy = 0, im = 0, id = 0;
    double fd = 0.0;
    const double whole = std::floor(jd);
    if (eraJd2cal(whole, jd - whole, &iy, &im, &id, &fd) != 0) return d;
    double djm0 = 0.0, djm = 0.0;
    if (eraCal2jd(iy, im, id, &djm0, &djm) != 0) return d;
    FromDayClock({djm, fd * kSecondsPerDay}, 0.0, RoundScale(jd), &d);
    return d;
}

int ChangeTimezone(tagADATE* date, double zone) {
    if (!date || !std::isfinite(zone) || !std::isfinite(date->zone)) return 0;
    DayClock dc;
    if (!ToDayClock(*date, &dc)) return 0;
    dc.sod += (zone - date->zone) * 3600.0;
    return FromDayClock(dc, zone, 0.0, date) ? 1 : 0;
}

int ChangeDate(tagADATE* date, const tagADATE& step, int direction) {
    if (!date || !std::isfinite(step.second)) return 0;
    const int sign = direction == kChangeDateForward ? 1 : -1;
    tagADATE moved = *date;

    // Stage 1: calendar months, the day clamped into the new month.
    const long long months = static_cast<long long>(step.year) * 12 + step.month;
    if (months != 0) {
        if (moved.month < 1 || moved.month > 12) return 0;
        const long long index =
            static_cast<long long>(moved.year) * 12 + (moved.month - 1) + sign * months;
        const long long y = FloorDiv(index, 12);
        if (y < -4799 || y > 1000000) return 0;
        moved.year = static_cast<int>(y);
        moved.month = static_cast<int>(index - y * 12) + 1;
        const int last = DaysInMonth(moved.year, moved.month);
        if (last == 0) return 0;
        if (moved.day > last) moved.day = last;
    }

    // Stage 2: elapsed days and clock time.
    DayClock dc;
    if (!ToDayClock(moved, &dc)) return 0;
    dc.mjd += sign * static_cast<double>(step.day);
    dc.sod += sign * (step.hour * 3600.0 + step.minute * 60.0 + step.second);
    return FromDayClock(dc, date->zone, 0.0, date) ? 1 : 0;
}

// ---- Time scales and sidereal time ------------------------------------

double DeltaT(double jd_ut) {
    if (!std::isfinite(jd_ut)) return kNaN;
    const double y = 2000.0 + (jd_ut - 2451544.5) / 365.2425;
    // Espenak & Meeus (2006), NASA TP-2006-214141, "Polynomial expressions
    // for Delta T", one expression per interval of years.
    auto parabola = [](double year) {
        const double u = (year - 1820.0) / 100.0;
        return -20.0 + 32.0 * u * u;
    };
    if (y < -500.0) return parabola(y);
    if (y < 500.0) {
        return Poly(y / 100.0, {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192,
                                0.0090316521});
    }
    if (y < 1600.0) {
        return Poly((y - 1000.0) / 100.0,
                    {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073});
    }
    if (y < 1700.0) return Poly(y - 1600.0, {120.0, -0.9808, -0.01532, 1.0 / 7129.0});
    if (y < 1800.0) {
        return Poly(y - 1700.0, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000.0});
    }
    if (y < 1860.0) {
        return Poly(y - 1800.0, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272,
                                 -0.0000001699, 0.000000000875});
    }
    if (y < 1900.0) {
        return Poly(y - 1860.0,
                    {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174.0});
    }
    if (y < 1920.0) return Poly(y - 1900.0, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
    if (y < 1941.0) return Poly(y - 1920.0, {21.20, 0.84493, -0.076100, 0.0020936});
    if (y < 1961.0) return Poly(y - 1950.0, {29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0});
    if (y < 1986.0) return Poly(y - 1975.0, {45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0});
    if (y < 2005.0) {
        return Poly(y - 2000.0, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
    }
    if (y < 2050.0) return Poly(y - 2000.0, {62.92, 0.32217, 0.005589});
    if (y < 2150.0) return parabola(y) - 0.5628 * (2150.0 - y);
    return parabola(y);
}

double UtToDt(double jd_ut) {
    return jd_ut + DeltaT(jd_ut) / kSecondsPerDay;
}

double GetLst(double jd_ut, double longitude_deg) {
    if (!std::isfinite(jd_ut) || !std::isfinite(longitude_deg)) return kNaN;
    // UT1 = UT; TT carried as the UT date plus Delta T, split for precision.
    // The IAU 2000A nutation series makes this the costliest call of a text,
    // and a refresh asks for the same instant again and again: keep the last.
    thread_local double last_jd = kNaN, last_gst = 0.0;
    if (jd_ut != last_jd) {
        last_gst = eraGst06a(jd_ut, 0.0, jd_ut, DeltaT(jd_ut) / kSecondsPerDay);
        last_jd = jd_ut;
    }
    return degmal(last_gst * ERFA_DR2D + longitude_deg);
}

// ---- Ephemeris ---------------------------------------------------------

int CalcPlanetLbr(int body, double jd_tt, double* longitude_deg, double* latitude_deg,
                  double* radius_au) {
    if (longitude_deg) *longitude_deg = 0.0;
    if (latitude_deg) *latitude_deg = 0.0;
    if (radius_au) *radius_au = 0.0;
    if (body < kBodyNeptune || body > kBodyMercury || !std::isfinite(jd_tt)) return 0;

    // Heliocentric position, au, ICRS (BCRS-aligned) axes.
    const double d2 = jd_tt - ERFA_DJ00;
    double p[3];
    if (body == kBodyEarth) {
        double pvh[2][3], pvb[2][3];
        // Status +1 only warns that the date lies outside 1900-2100.
        if (eraEpv00(ERFA_DJ00, d2, pvh, pvb) < 0) return 0;
        eraCp(pvh[0], p);
    } else {
        double pv[2][3];
        // Status +1 warns of a date outside 1000-3000; +2 (Kepler's equation
        // did not converge) and -1 are failures.  Plan94's frame is the
        // J2000 mean equator and equinox, within 0.02" of ICRS.
        const int status = eraPlan94(ERFA_DJ00, d2, -body, pv);
        if (status < 0 || status > 1) return 0;
        eraCp(pv[0], p);
    }

    double rm[3][3], pe[3];
    eraEcm06(ERFA_DJ00, d2, rm);  // ICRS -> mean ecliptic and equinox of date
    eraRxp(rm, p, pe);
    double lon = 0.0, lat = 0.0, r = 0.0;
    eraP2s(pe, &lon, &lat, &r);
    if (longitude_deg) *longitude_deg = degmal(lon * ERFA_DR2D);
    if (latitude_deg) *latitude_deg = lat * ERFA_DR2D;
    if (radius_au) *radius_au = r;
    return 1;
}

// ---- Horizon -----------------------------------------------------------

void AtmosphericRefraction(const double in[2], double out[2]) {
    const double azimuth = in[0];
    const double h = in[1];
    double refraction_deg = 0.0;
    if (std::isfinite(h) && h > -5.11) {
        // The argument has a minimum of about 1.3 degrees near h = -1.9 and
        // reaches 90 degrees at h = -5.0016 and h = 89.89; outside those the
        // formula gives a negative or meaningless value, and R = 0 there
        // joins it continuously.
        const double arg = h + 10.3 / (h + 5.11);
        if (arg < 90.0) refraction_deg = 1.02 / std::tan(arg * ERFA_DD2R) / 60.0;
    }
    out[0] = azimuth;
    out[1] = h + refraction_deg;
}

// ---- Angles ------------------------------------------------------------

int AdToPaDist(const double from[2], const double to[2], double* position_angle_deg,
               double* distance_deg) {
    if (position_angle_deg) *position_angle_deg = 0.0;
    if (distance_deg) *distance_deg = 0.0;
    if (!from || !to) return 0;
    if (!std::isfinite(from[0]) || !std::isfinite(from[1]) || !std::isfinite(to[0]) ||
        !std::isfinite(to[1])) {
        return 0;
    }
    const double al = from[0] * ERFA_DD2R, ap = from[1] * ERFA_DD2R;
    const double bl = to[0] * ERFA_DD2R, bp = to[1] * ERFA_DD2R;
    if (position_angle_deg) *position_angle_deg = degmal(eraPas(al, ap, bl, bp) * ERFA_DR2D);
    if (distance_deg) *distance_deg = eraSeps(al, ap, bl, bp) * ERFA_DR2D;
    return 1;
}

double degmal(double deg) {
    if (!std::isfinite(deg)) return kNaN;
    double r = std::fmod(deg, 360.0);  // exact, sign of deg, |r| < 360
    if (r < 0.0) r += 360.0;           // may round up to 360 for tiny negatives
    if (r >= 360.0) r = 0.0;
    return r + 0.0;  // turns -0 into +0
}

double degmal2(double deg) {
    if (!std::isfinite(deg)) return kNaN;
    if (deg >= -180.0 && deg < 180.0) return deg;
    double r = std::fmod(deg, 360.0);
    if (r >= 180.0) {
        r -= 360.0;
    } else if (r < -180.0) {
        r += 360.0;
    }
    return r + 0.0;
}

}  // namespace vexacl
