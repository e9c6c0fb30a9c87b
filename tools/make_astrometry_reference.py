#!/usr/bin/python3
"""Writes tests/data/astrometry_reference.tsv, the reference positions and
rise/transit/set times that tests/astrometry_test.cpp checks sky/astrometry
against.

Positions come from astropy, rise/transit/set times from PyEphem (its own
libastro code, independent of ERFA).  Both are Debian packages:

    apt-get install python3-astropy python3-ephem
    /usr/bin/python3 tools/make_astrometry_reference.py > tests/data/astrometry_reference.tsv

Neither the build nor the tests need them; the table is kept in the tree.

Alignment with the engine, so that the comparison measures our code and not
differing conventions:
- No downloads: astropy's IERS auto-download is off and its age check
  disabled.  UT1 = UTC (delta_ut1_utc = 0), as the engine takes UT1 = UT.
- Delta T = TT - UT is astropy's TT - UTC (leap seconds + 32.184 s; 37 s of
  leap seconds from 2017 on).  It is written in every row; the test builds
  its context with that Delta T instead of the engine's own polynomial.
- Polar motion is zero on both sides (astropy's lookup is replaced).
- No refraction (AltAz pressure 0; PyEphem pressure 0 with the standard
  altitude as its horizon).
- Azimuth is converted to the engine's convention: from the south through
  the west, (astropy azimuth + 180) mod 360.

The header records the versions and a cross-check of astropy against
PyEphem (apparent place and altitude/azimuth), which agree to about an
arcsecond: PyEphem uses older precession-nutation models and ignores the
frame bias, so it serves as a sanity check of the astropy set-up, not as
the 0.1" reference.
"""
import math
import sys
import warnings

import astropy
import astropy.units as u
import ephem
import erfa
import numpy as np
from astropy.coordinates import (
    FK4,
    FK5,
    TETE,
    AltAz,
    BarycentricMeanEcliptic,
    Distance,
    EarthLocation,
    Galactic,
    GeocentricTrueEcliptic,
    SkyCoord,
)
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
iers.conf.auto_max_age = None
warnings.simplefilter("ignore")  # dubious-year and IERS-range warnings

import astropy.coordinates.builtin_frames.intermediate_rotation_transforms as _irt  # noqa: E402
import astropy.coordinates.erfa_astrom as _erfa_astrom  # noqa: E402


def _zero_polar_motion(time):
    shape = np.shape(time.jd)
    return np.zeros(shape), np.zeros(shape)


_erfa_astrom.get_polar_motion = _zero_polar_motion
_irt.get_polar_motion = _zero_polar_motion

DUBLIN_JD = 2415020.0  # PyEphem dates count from 1899-12-31 12:00 UT
STAR_ALTITUDE = -0.5667
SUN_ALTITUDE = -0.8333

# name, RA deg, Dec deg (ICRS, epoch J2000), pmRA*cos(dec), pmDec (mas/yr),
# parallax (mas), radial velocity (km/s).  Hipparcos (van Leeuwen 2007) and
# SIMBAD values, rounded; the test only needs both sides to use the same.
STARS = [
    ("Polaris", 37.95456067, 89.26410897, 44.48, -11.85, 7.54, -16.42),
    ("delta_Ori", 83.00166706, -0.29909511, 0.64, -0.69, 4.71, 16.0),
    ("Sirius", 101.28715533, -16.71611586, -546.01, -1223.07, 379.21, -5.50),
    ("Barnard", (17 + 57 / 60 + 48.50 / 3600) * 15, 4 + 41 / 60 + 36.2 / 3600,
     -798.58, 10328.12, 548.31, -110.6),
    ("Achernar", 24.42852283, -57.23675281, 88.02, -40.08, 23.39, 16.0),
]

# name, latitude, longitude (deg, east positive), height (m), time zone (h)
PLACES = [
    ("Tokyo", 35.6895, 139.6917, 40.0, 9.0),
    ("Sydney", -33.8688, 151.2093, 58.0, 10.0),
]

TIMES = ["2000-01-01 12:00:00", "2026-12-06 12:00:00", "2050-06-21 00:00:00"]

J2000_TT = Time(2451545.0, format="jd", scale="tt")


def ut_time(jd):
    t = Time(jd, format="jd", scale="utc")
    t.delta_ut1_utc = 0.0
    return t


def delta_t_seconds(t):
    return ((t.tt.jd1 - t.utc.jd1) + (t.tt.jd2 - t.utc.jd2)) * 86400.0


def local_day(jd, tz):
    local_midnight = math.floor(jd + tz / 24.0 + 0.5) - 0.5
    start = local_midnight - tz / 24.0
    return start, start + 1.0


def ephem_observer(place, altitude):
    _, lat, lon, height, _ = place
    obs = ephem.Observer()
    obs.lat = str(lat)
    obs.lon = str(lon)
    obs.elevation = height
    obs.pressure = 0.0
    obs.horizon = str(altitude)
    return obs


def events(obs, body, start, end, kind, **kw):
    """Julian Days (UT) of the events of one kind in [start, end)."""
    found = []
    t = start
    while True:
        obs.date = ephem.Date(t - DUBLIN_JD)
        try:
            ev = getattr(obs, kind)(body, **({} if kind == "next_transit" else kw))
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            return found
        jd = float(ev) + DUBLIN_JD
        if jd >= end:
            return found
        if jd >= start:
            found.append(jd)
        t = jd + 1.0 / 1440.0


def ephem_star(icrs):
    body = ephem.FixedBody()
    body._ra = ephem.hours(icrs.ra.rad)
    body._dec = ephem.degrees(icrs.dec.rad)
    body._epoch = ephem.J2000
    return body


def rise_transit_set(obs, body, jd, tz, **kw):
    start, end = local_day(jd, tz)
    return [events(obs, body, start, end, k, **kw)
            for k in ("next_rising", "next_transit", "next_setting")]


def fmt_list(jds):
    return ",".join("%.8f" % j for j in jds) if jds else "-"


def sep_arcsec(lon1, lat1, lon2, lat2):
    return math.degrees(erfa.seps(math.radians(lon1), math.radians(lat1),
                                  math.radians(lon2), math.radians(lat2))) * 3600.0


CROSS = {"apparent": 0.0, "altaz": 0.0}


def star_row(case, star, place, jd, tz=None):
    name, ra, dec, pmra, pmdec, px, rv = star
    pname, lat, lon, height, place_tz = place
    tz = place_tz if tz is None else tz
    t = ut_time(jd)
    c0 = SkyCoord(ra=ra * u.deg, dec=dec * u.deg, distance=Distance(parallax=px * u.mas),
                  pm_ra_cosdec=pmra * u.mas / u.yr, pm_dec=pmdec * u.mas / u.yr,
                  radial_velocity=rv * u.km / u.s, obstime=J2000_TT, frame="icrs")
    ct = c0.apply_space_motion(new_obstime=t)
    loc = EarthLocation.from_geodetic(lon * u.deg, lat * u.deg, height * u.m)

    app = ct.transform_to(TETE(obstime=t))
    b1950 = ct.transform_to(FK4(equinox=Time("B1950"), obstime=t))
    eclm = ct.transform_to(BarycentricMeanEcliptic(equinox=t))
    eclt = ct.transform_to(GeocentricTrueEcliptic(equinox=t, obstime=t))
    ecl0 = ct.transform_to(BarycentricMeanEcliptic(equinox=J2000_TT))
    gal = ct.transform_to(Galactic())
    aa = ct.transform_to(AltAz(obstime=t, location=loc, pressure=0 * u.hPa))
    az_south = (aa.az.deg + 180.0) % 360.0
    # Constellation-boundary frame: the catalogue place, mean equator and
    # equinox of B1875.0 (astropy's own Capitaine et al. 2003 precession).
    b1875 = SkyCoord(ra=ra * u.deg, dec=dec * u.deg, frame="icrs").transform_to(
        FK5(equinox=Time("B1875")))

    obs = ephem_observer(place, STAR_ALTITUDE)
    body = ephem_star(ct)
    rts = rise_transit_set(obs, body, jd, tz)

    # Cross-check against PyEphem at the row's time.
    obs.date = ephem.Date(jd - DUBLIN_JD)
    body.compute(obs)
    CROSS["apparent"] = max(CROSS["apparent"], sep_arcsec(
        math.degrees(body.g_ra), math.degrees(body.g_dec), app.ra.deg, app.dec.deg))
    CROSS["altaz"] = max(CROSS["altaz"], sep_arcsec(
        math.degrees(body.az), math.degrees(body.alt), aa.az.deg, aa.alt.deg))

    return [case, "star", name, "%.8f" % ra, "%.8f" % dec, "%.2f" % pmra, "%.2f" % pmdec,
            "%.2f" % px, "%.2f" % rv, "%.8f" % jd, "%.3f" % delta_t_seconds(t),
            "%.4f" % lon, "%.4f" % lat, "%.1f" % height, "%g" % tz,
            "%.11f" % ct.ra.hour, "%.10f" % ct.dec.deg,
            "%.11f" % app.ra.hour, "%.10f" % app.dec.deg,
            "%.11f" % b1950.ra.hour, "%.10f" % b1950.dec.deg,
            "%.10f" % eclm.lon.deg, "%.10f" % eclm.lat.deg,
            "%.10f" % eclt.lon.deg, "%.10f" % eclt.lat.deg,
            "%.10f" % ecl0.lon.deg, "%.10f" % ecl0.lat.deg,
            "%.10f" % gal.l.deg, "%.10f" % gal.b.deg,
            "%.10f" % az_south, "%.10f" % aa.alt.deg,
            "%.10f" % b1875.ra.deg, "%.10f" % b1875.dec.deg,
            fmt_list(rts[0]), fmt_list(rts[1]), fmt_list(rts[2])]


def sun_row(case, place, jd):
    pname, lat, lon, height, tz = place
    t = ut_time(jd)
    obs = ephem_observer(place, SUN_ALTITUDE)
    rts = rise_transit_set(obs, ephem.Sun(), jd, tz, use_center=True)
    return [case, "sun", "Sun"] + ["-"] * 6 + [
        "%.8f" % jd, "%.3f" % delta_t_seconds(t), "%.4f" % lon, "%.4f" % lat,
        "%.1f" % height, "%g" % tz] + ["-"] * 18 + [
        fmt_list(rts[0]), fmt_list(rts[1]), fmt_list(rts[2])]


def find_double_day(star, place, first_jd, kind_index):
    """Local noon (UT JD) of the first local day from first_jd on that
    holds two events of one kind, with the star's place of that day."""
    _, ra, dec, pmra, pmdec, px, rv = star
    tz = place[4]
    obs = ephem_observer(place, STAR_ALTITUDE)
    c0 = SkyCoord(ra=ra * u.deg, dec=dec * u.deg, distance=Distance(parallax=px * u.mas),
                  pm_ra_cosdec=pmra * u.mas / u.yr, pm_dec=pmdec * u.mas / u.yr,
                  radial_velocity=rv * u.km / u.s, obstime=J2000_TT, frame="icrs")
    body = ephem_star(c0.apply_space_motion(new_obstime=ut_time(first_jd)))
    for day in range(400):
        noon = first_jd + day
        if len(rise_transit_set(obs, body, noon, tz)[kind_index]) == 2:
            return noon
    raise RuntimeError("no day with two events")


def main():
    rows = []
    for ti, when in enumerate(TIMES):
        jd = Time(when, scale="utc").jd
        for place in PLACES:
            for star in STARS:
                rows.append(star_row("t%d_%s_%s" % (ti, place[0], star[0]), star, place, jd))
    # Two events of one kind in one local day (Tokyo, JST): a star's events
    # come 3 min 56 s earlier every day, so once a year each kind falls just
    # after midnight and again just before the next.  Local noon of the
    # first such day from 2026-10-01 (JST noon = 03:00 UT).
    sirius = STARS[2]
    tokyo = PLACES[0]
    start = Time("2026-10-01 03:00:00", scale="utc").jd
    for kind_index, kind in enumerate(("rises", "transits", "sets")):
        noon = find_double_day(sirius, tokyo, start, kind_index)
        rows.append(star_row("two_%s_Tokyo_Sirius" % kind, sirius, tokyo, noon))
    # The Sun through the generic (moving-body) interface.
    for ti, when in enumerate(TIMES):
        jd = Time(when, scale="utc").jd
        for place in PLACES:
            rows.append(sun_row("t%d_%s_Sun" % (ti, place[0]), place, jd))

    out = sys.stdout
    out.write("# Reference for tests/astrometry_test.cpp, written by "
              "tools/make_astrometry_reference.py\n")
    out.write("# astropy %s (pyerfa %s, ERFA %s), PyEphem %s, Python %s\n" % (
        astropy.__version__, erfa.__version__, erfa.version.erfa_version, ephem.__version__,
        sys.version.split()[0]))
    out.write("# UT1 = UTC = UT; delta_t = TT - UT (s) as astropy has it (leap seconds + "
              "32.184); polar motion 0; no refraction\n")
    out.write("# positions: astropy (ICRS via apply_space_motion; TETE; FK4 B1950 at obstime; "
              "BarycentricMeanEcliptic of date and J2000; GeocentricTrueEcliptic; Galactic; "
              "AltAz; FK5 equinox B1875 of the J2000 place)\n")
    out.write("# rise/transit/set: PyEphem, pressure 0, horizon -0.5667 deg (stars), "
              "-0.8333 deg with use_center (Sun); local day in time zone tz\n")
    out.write("# azimuth from the south through the west; RA in hours, other angles in degrees; "
              "'-' = none\n")
    out.write("# cross-check astropy vs PyEphem (max over rows): apparent place %.3f arcsec, "
              "alt/az %.3f arcsec\n" % (CROSS["apparent"], CROSS["altaz"]))
    header = ["case", "kind", "name", "ra_deg", "dec_deg", "pmra_mas_yr", "pmdec_mas_yr",
              "parallax_mas", "rv_km_s", "jd_ut", "delta_t_s", "lon_deg", "lat_deg", "height_m",
              "tz_h", "icrs_ra_h", "icrs_dec_deg", "app_ra_h", "app_dec_deg", "b1950_ra_h",
              "b1950_dec_deg", "eclm_lon_deg", "eclm_lat_deg", "eclt_lon_deg", "eclt_lat_deg",
              "ecl2000_lon_deg", "ecl2000_lat_deg", "gal_l_deg", "gal_b_deg", "az_deg",
              "alt_deg", "b1875_ra_deg", "b1875_dec_deg", "rise_jd_ut", "transit_jd_ut",
              "set_jd_ut"]
    out.write("\t".join(header) + "\n")
    for r in rows:
        assert len(r) == len(header), (r[0], len(r))
        out.write("\t".join(r) + "\n")


if __name__ == "__main__":
    main()
