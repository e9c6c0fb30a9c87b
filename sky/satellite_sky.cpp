#include "sky/satellite_sky.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace satellite {

namespace {

constexpr double kLightKmPerMinute = ERFA_CMPS / 1000.0 * 60.0;

// Rotation about the z axis: the coordinates of v in axes turned by `angle`
// (radians) about z, as ERFA's eraRz turns a frame.
void TurnAxes(double angle, const double v[3], double out[3]) {
    const double c = std::cos(angle), s = std::sin(angle);
    out[0] = c * v[0] + s * v[1];
    out[1] = -s * v[0] + c * v[1];
    out[2] = v[2];
}

// A TEME vector (km) on terrestrial axes at the UT Julian Day jd.
void TemeToTerrestrial(const double teme[3], double jd_ut, double out[3]) {
    TurnAxes(sgp4::Gmst82(jd_ut), teme, out);
}

}  // namespace

Sighting Observe(const sgp4::Propagator& satellite, const astrometry::AstrometryContext& context) {
    Sighting s;
    if (!context.ok()) return s;
    const double jd = context.JdUt();
    const double minutes = (jd - satellite.Elements().epoch_jd_utc) * 1440.0;
    const sgp4::State now = satellite.At(minutes);
    if (now.error != sgp4::Error::kNone) return s;

    // The observer on terrestrial axes, km.
    const astrometry::Observer& o = context.observer();
    double observer[3];
    if (eraGd2gc(ERFA_WGS84, o.longitude_deg * ERFA_DD2R, o.latitude_deg * ERFA_DD2R, o.height_m,
                 observer) != 0) {
        return s;
    }
    for (double& x : observer) x /= 1000.0;

    // Where the satellite is now (for the point beneath it) and where it was
    // when the light that arrives now left it (one iteration: the light
    // time changes by nanoseconds in the next).
    double terrestrial[3];
    TemeToTerrestrial(now.r_km, jd, terrestrial);
    double range[3];
    eraPmp(terrestrial, observer, range);
    const double lightMinutes = eraPm(range) / kLightKmPerMinute;
    const sgp4::State emitted = satellite.At(minutes - lightMinutes);
    if (emitted.error != sgp4::Error::kNone) return s;
    // In inertial axes the line of sight runs from the observer now to the
    // satellite then; both turned onto the terrestrial axes of now.
    double emittedTerrestrial[3];
    TemeToTerrestrial(emitted.r_km, jd, emittedTerrestrial);
    double topo[3];
    eraPmp(emittedTerrestrial, observer, topo);

    // Terrestrial -> CIRS (Earth rotation angle) -> GCRS (the context's
    // celestial-to-intermediate matrix).
    double cirs[3];
    TurnAxes(-eraEra00(jd, 0.0), topo, cirs);
    double gcrs[3];
    eraASTROM geocentric = context.Geocentric();  // ERFA takes no const
    eraTrxp(geocentric.bpn, cirs, gcrs);
    double cirsRa = 0.0, cirsDec = 0.0, icrsRa = 0.0, icrsDec = 0.0;
    eraC2s(cirs, &cirsRa, &cirsDec);
    eraC2s(gcrs, &icrsRa, &icrsDec);
    s.positions = astrometry::PositionsFromCirs(eraAnp(icrsRa), icrsDec, eraAnp(cirsRa), cirsDec,
                                                eraAnp(cirsRa), cirsDec, context);
    if (!s.positions.ok) return s;

    double r[3] = {now.r_km[0], now.r_km[1], now.r_km[2]};
    s.geocentric_km = eraPm(r);
    s.topocentric_km = eraPm(topo);
    double terrestrialM[3];
    eraSxp(1000.0, terrestrial, terrestrialM);
    double longitude = 0.0, latitude = 0.0, height = 0.0;
    if (eraGc2gd(ERFA_WGS84, terrestrialM, &longitude, &latitude, &height) != 0) return s;
    s.longitude_deg = longitude * ERFA_DR2D;
    s.latitude_deg = latitude * ERFA_DR2D;
    s.height_m = height;
    s.ok = true;
    return s;
}

}  // namespace satellite
