#!/usr/bin/python3
"""Writes tests/data/solar_reference.tsv, the reference that tests/solar_system_test.cpp checks sky/solar_system against.

Everything comes from PyEphem (python3-ephem, its own libastro code:
VSOP87 and Chapront's theories, its own Moon, precession and nutation;
nothing shared with ERFA or libnova):

    apt-get install python3-ephem
    /usr/bin/python3 tools/make_solar_reference.py > tests/data/solar_reference.tsv

Neither the build nor the tests need PyEphem; the table is kept in the tree.

Alignment, so that the comparison measures the engine and not conventions:
- Every row carries PyEphem's own Delta T (ephem.delta_t); the test builds
  its context with it.  UT1 = UT on both sides.
- No refraction: pressure 0; rise and set with PyEphem's horizon at -34'
  for the upper limb (use_center False), the engine's definition.
- Azimuth from the south through the west.
- Comets and minor planets: PyEphem's own two-body code on the elements of
  data/small_bodies.tsv (XEphem database lines with the perihelion as the
  epoch), converted the way PyEphem reads them.
- Solar eclipses: the contacts of the topocentric discs computed here from
  PyEphem's topocentric apparent Sun and Moon, with the radii the engine
  uses (Sun 695 700 km, Moon 1 737.4 km) and PyEphem's distances from the
  observer.

Kinds of rows: "body" (places, distances and physical data of one body at
one time and place), "events" (rise, transit and set within a local day),
"eclipse" (a local solar eclipse, or none, on a local day).
"""

import math
import os
import sys

import ephem

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import skydata_common  # noqa: E402

DUBLIN_JD = 2415020.0  # PyEphem dates count from 1899-12-31 12:00 UT
GAUSS_K = 0.01720209895
AU_KM = 149597870.7
SUN_KM = 695700.0
MOON_KM = 1737.4
HORIZON = "-0:34"

PLACES = {
    "Tokyo": (35.6895, 139.6917, 40.0, 9.0),
    "Sydney": (-33.8688, 151.2093, 58.0, 10.0),
    "Tromso": (69.6492, 18.9553, 10.0, 1.0),
    "Sapporo": (43.0621, 141.3544, 20.0, 9.0),
    "Toyama": (36.6953, 137.2113, 10.0, 9.0),
    "Akusekijima": (29.4600, 129.6000, 10.0, 9.0),
    "Dallas": (32.7767, -96.7970, 140.0, -5.0),
    "Exmouth": (-21.9300, 114.1300, 10.0, 8.0),
}

PLANETS = ["Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Moon"]
SATELLITES = {"Phobos": "Mars", "Deimos": "Mars", "Io": "Jupiter", "Europa": "Jupiter",
              "Ganymede": "Jupiter", "Callisto": "Jupiter", "Mimas": "Saturn", "Enceladus": "Saturn",
              "Tethys": "Saturn", "Dione": "Saturn", "Rhea": "Saturn", "Titan": "Saturn",
              "Hyperion": "Saturn", "Iapetus": "Saturn", "Miranda": "Uranus", "Ariel": "Uranus", "Umbriel": "Uranus",
              "Titania": "Uranus", "Oberon": "Uranus"}
IDENTIFIERS = {"Sun": "Sun", "Moon": "Planet.Earth.Satellite.Moon"}
BODY_TIMES = ["2000/1/1 12:00", "2015/7/1 03:00", "2026/12/6 12:00", "2031/5/1 00:00",
              "2050/6/21 00:00"]
SATELLITE_TIMES = ["2003/3/10 20:00", "2010/1/1 00:00", "2017/6/15 12:00"]
# Small bodies of data/small_bodies.tsv (by their "id") and times near their epochs.
SMALL_BODIES = [
    ("minor", "1", ["2022/8/9 00:00", "2026/12/6 12:00"]),
    ("minor", "4", ["2022/8/9 00:00"]),
    ("minor", "433", ["2023/1/15 00:00"]),
    ("comet", "1P", ["1986/2/9 00:00", "1985/11/27 00:00"]),
    ("comet", "2P", ["2017/3/10 00:00"]),
    ("comet", "C/1995O1", ["1997/4/1 00:00"]),
    ("comet", "C/1980E1", ["1982/3/12 00:00", "1990/1/1 00:00"]),
    ("comet", "C/2020F3", ["2020/7/20 00:00"]),
]
EVENTS = [
    ("Sun", "Tokyo", "2026/12/6 12:00"), ("Moon", "Tokyo", "2026/12/6 12:00"),
    ("Mars", "Tokyo", "2026/12/6 12:00"), ("Jupiter", "Sydney", "2026/12/6 12:00"),
    ("Saturn", "Sydney", "2031/5/1 00:00"), ("Moon", "Sydney", "2031/5/1 00:00"),
    ("Venus", "Tokyo", "2000/1/1 12:00"), ("Moon", "Tokyo", "2000/1/1 12:00"),
    ("Sun", "Tromso", "2026/12/21 12:00"),  # polar night: below all day
    ("Sun", "Tromso", "2026/6/21 12:00"),   # midnight sun: above all day
    ("Moon", "Tromso", "2026/12/6 12:00"),
]
ECLIPSES = [
    ("2012/5/21 00:00", "Tokyo"),        # annular, seen as annular in Tokyo
    ("2009/7/22 09:00", "Tokyo"),        # partial in Tokyo
    ("2009/7/22 09:00", "Akusekijima"),  # total
    ("2030/6/1 12:00", "Sapporo"),       # annular
    ("2035/9/2 12:00", "Toyama"),        # total
    ("2024/4/8 12:00", "Dallas"),        # total
    ("2024/4/9 03:00", "Tokyo"),         # the same eclipse at night in Tokyo
    ("2023/4/20 12:00", "Exmouth"),      # hybrid, total there
    ("2026/12/6 12:00", "Tokyo"),        # no eclipse at all
]

COLUMNS = [
    "case", "kind", "body", "jd_ut", "delta_t_s", "lon_deg", "lat_deg", "height_m", "tz_h",
    "geo_ast_ra_h", "geo_ast_dec_deg", "geo_app_ra_h", "geo_app_dec_deg", "topo_app_ra_h",
    "topo_app_dec_deg", "az_deg", "alt_deg", "geo_dist_au", "topo_dist_au", "helio_dist_au", "phase",
    "size_arcsec", "mag", "elong_deg", "cml1_deg", "cml2_deg", "earth_tilt_deg",
    "libration_lon_deg", "libration_lat_deg", "moon_age_d", "sat_east_arcsec", "sat_north_arcsec", "motion_ra_deg_d", "motion_dec_deg_d", "rise_jd_ut", "transit_jd_ut",
    "set_jd_ut", "first_jd_ut", "second_jd_ut", "max_jd_ut", "third_jd_ut", "fourth_jd_ut",
    "ecl_mag", "visible",
]


def jd_of(date):
    return float(date) + DUBLIN_JD


def date_of(jd):
    return ephem.Date(jd - DUBLIN_JD)


def observer(place, date):
    lat, lon, height, _ = PLACES[place]
    obs = ephem.Observer()
    obs.lat = str(lat)
    obs.lon = str(lon)
    obs.elevation = height
    obs.pressure = 0.0
    obs.date = date
    return obs


def local_day(jd, tz):
    local_midnight = math.floor(jd + tz / 24.0 + 0.5) - 0.5
    start = local_midnight - tz / 24.0
    return start, start + 1.0


def fmt(value, decimals=10):
    return "" if value is None else "%.*f" % (decimals, value)


def fmt_list(jds):
    return ",".join("%.8f" % j for j in jds) if jds else "-"


# ---- small bodies ------------------------------------------------------------------------------

def load_small_bodies():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "small_bodies.tsv")
    return {(row["kind"], row["id"]): row for row in skydata_common.read_tsv(path)[1]}


def db_date(jd_tt):
    """XEphem's m/d.dddddddd/yyyy of a Julian Day.  PyEphem compares element
    dates with its dynamical time, so the engine's TT dates go in unchanged
    (checked: read as UT they put 2P/Encke 10" off at perihelion)."""
    y, m, d = ephem.Date(jd_tt - DUBLIN_JD).triple()
    return "%d/%.10f/%d" % (m, d, y)


def small_body(row):
    q, e = float(row["q_au"]), float(row["e"])
    i, node, w = row["i_deg"], row["node_deg"], row["peri_arg_deg"]
    tp = float(row["tp_jd_tt"])
    name = row["id"].replace(",", " ")
    # Comets: PyEphem's g, k model, m = g + 5 log delta + 2.5 k log r, so
    # k = K1 / 2.5; the letter only in the elliptical format.
    if row["kind"] == "comet":
        mag = "%s%s,%s" % ("g" if e < 1.0 else "", row["m1"] or "10", 10.0 / 2.5)
    else:
        mag = "H%s,%s" % (row["h"] or "10", row["g"] or "0.15")
    if e < 1.0:
        a = q / (1.0 - e)
        n = math.degrees(GAUSS_K / a ** 1.5)
        line = "%s,e,%s,%s,%s,%.12f,%.12f,%.12f,0,%s,2000,%s" % (
            name, i, node, w, a, n, e, db_date(tp), mag)
    elif e > 1.0:
        line = "%s,h,%s,%s,%s,%s,%.12f,%.12f,2000,%s" % (name, db_date(tp), i, node, w, e, q, mag)
    else:
        line = "%s,p,%s,%s,%s,%.12f,%s,2000,%s" % (name, db_date(tp), i, w, q, node, mag)
    return ephem.readdb(line)


# ---- one body ----------------------------------------------------------------------------------

def body_row(case, ident, body, date, place):
    lat, lon, height, tz = PLACES[place]
    body.compute(date, epoch=ephem.J2000)
    geo_ast = (math.degrees(body.a_ra) / 15.0, math.degrees(body.a_dec))
    geo_app = (math.degrees(body.g_ra) / 15.0, math.degrees(body.g_dec))
    geo_dist = getattr(body, "earth_distance", None)
    obs = observer(place, date)
    body.compute(obs)
    extra = {}
    if ident.endswith("Jupiter"):
        extra["cml1_deg"] = math.degrees(body.cmlI)
        extra["cml2_deg"] = math.degrees(body.cmlII)
    if ident.endswith("Saturn"):
        extra["earth_tilt_deg"] = math.degrees(body.earth_tilt)
    if ident == IDENTIFIERS["Moon"]:
        extra["libration_lon_deg"] = math.degrees(body.libration_long)
        extra["libration_lat_deg"] = math.degrees(body.libration_lat)
        extra["moon_age_d"] = float(date) - float(ephem.previous_new_moon(date))
    values = {
        "case": case, "kind": "body", "body": ident, "jd_ut": fmt(jd_of(date), 8),
        "delta_t_s": fmt(ephem.delta_t(date), 4), "lon_deg": lon, "lat_deg": lat,
        "height_m": height, "tz_h": tz,
        "geo_ast_ra_h": fmt(geo_ast[0]), "geo_ast_dec_deg": fmt(geo_ast[1]),
        "geo_app_ra_h": fmt(geo_app[0]), "geo_app_dec_deg": fmt(geo_app[1]),
        "topo_app_ra_h": fmt(math.degrees(body.ra) / 15.0),
        "topo_app_dec_deg": fmt(math.degrees(body.dec)),
        "az_deg": fmt((math.degrees(body.az) + 180.0) % 360.0),
        "alt_deg": fmt(math.degrees(body.alt)),
    }
    if geo_dist is not None:  # not the satellites of other planets
        sun = ephem.Sun()
        sun.compute(obs)
        values["geo_dist_au"] = fmt(geo_dist)
        values["topo_dist_au"] = fmt(body.earth_distance)  # computed for an observer
        values["helio_dist_au"] = fmt(body.sun_distance)
        values["phase"] = fmt(body.phase / 100.0, 6)
        values["size_arcsec"] = fmt(body.size, 4)
        values["mag"] = fmt(body.mag, 3)
        # Elongation as the observer sees it (PyEphem's own is geocentric).
        values["elong_deg"] = fmt(math.degrees(ephem.separation((sun.ra, sun.dec),
                                                                (body.ra, body.dec))), 6)
        # Hourly motion of the observer's apparent place, degrees a day.
        places = []
        for hours in (-1.0, 1.0):
            obs.date = ephem.Date(date + hours * ephem.hour)
            body.compute(obs)
            places.append((math.degrees(body.ra), math.degrees(body.dec)))
        dra = (places[1][0] - places[0][0] + 180.0) % 360.0 - 180.0
        values["motion_ra_deg_d"] = fmt(dra * 12.0, 6)
        values["motion_dec_deg_d"] = fmt((places[1][1] - places[0][1]) * 12.0, 6)
    for k, v in extra.items():
        values[k] = fmt(v, 6)
    return values


# ---- rise, transit, set -----------------------------------------------------------------------

def events(obs, body, start, end, kind):
    found = []
    t = start
    while True:
        obs.date = date_of(t)
        try:
            if kind == "next_transit":
                ev = obs.next_transit(body)
            else:
                ev = getattr(obs, kind)(body, use_center=False)
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            return found
        jd = jd_of(ev)
        if jd >= end:
            return found
        if jd >= start:
            found.append(jd)
        t = jd + 1.0 / 1440.0


def events_row(case, name, place, date):
    lat, lon, height, tz = PLACES[place]
    start, end = local_day(jd_of(date), tz)
    obs = observer(place, date)
    obs.horizon = HORIZON
    body = getattr(ephem, name)()
    lists = [events(obs, body, start, end, k) for k in ("next_rising", "next_transit", "next_setting")]
    obs.date = date
    body.compute(obs)
    return {
        "case": case, "kind": "events", "body": IDENTIFIERS.get(name, "Planet." + name),
        "jd_ut": fmt(jd_of(date), 8), "delta_t_s": fmt(ephem.delta_t(date), 4), "lon_deg": lon,
        "lat_deg": lat, "height_m": height, "tz_h": tz, "alt_deg": fmt(math.degrees(body.alt)),
        "rise_jd_ut": fmt_list(lists[0]), "transit_jd_ut": fmt_list(lists[1]),
        "set_jd_ut": fmt_list(lists[2]),
    }


def single_moon_event_day(place, first_date):
    """The first local day from first_date on with only one moonrise or only one moonset."""
    lat, lon, height, tz = PLACES[place]
    jd = jd_of(ephem.Date(first_date))
    for k in range(60):
        start, end = local_day(jd + k, tz)
        obs = observer(place, date_of(start))
        obs.horizon = HORIZON
        rises = events(obs, ephem.Moon(), start, end, "next_rising")
        sets = events(obs, ephem.Moon(), start, end, "next_setting")
        if len(rises) + len(sets) == 1:
            return date_of(start + 0.5)
    raise RuntimeError("no day with a single moonrise or moonset")


# ---- eclipses -------------------------------------------------------------------------------------

def discs(obs, sun, moon, jd):
    obs.date = date_of(jd)
    sun.compute(obs)
    moon.compute(obs)
    ss = math.asin(SUN_KM / (sun.earth_distance * AU_KM))
    sm = math.asin(MOON_KM / (moon.earth_distance * AU_KM))
    return ss, sm, float(ephem.separation((sun.ra, sun.dec), (moon.ra, moon.dec))), float(sun.alt)


def bisect(f, a, b):
    rising = f(b) > 0.0
    while b - a > 1e-7:
        m = 0.5 * (a + b)
        if (f(m) > 0.0) == rising:
            b = m
        else:
            a = m
    return 0.5 * (a + b)


def eclipse_row(case, date_text, place):
    lat, lon, height, tz = PLACES[place]
    date = ephem.Date(date_text)
    start, end = local_day(jd_of(date), tz)
    obs = observer(place, date)
    sun, moon = ephem.Sun(), ephem.Moon()

    def overlap(t):
        ss, sm, sep, _ = discs(obs, sun, moon, t)
        return ss + sm - sep

    def inner(t):
        ss, sm, sep, _ = discs(obs, sun, moon, t)
        return abs(ss - sm) - sep

    row = {"case": case, "kind": "eclipse", "body": "Sun", "jd_ut": fmt(jd_of(date), 8),
           "delta_t_s": fmt(ephem.delta_t(date), 4), "lon_deg": lon, "lat_deg": lat,
           "height_m": height, "tz_h": tz, "visible": "0"}
    step = 1.0 / 1440.0
    grid = [start - 0.25 + k * step for k in range(int(1.5 / step) + 1)]
    values = [overlap(t) for t in grid]
    k = max(range(len(grid)), key=lambda i: values[i])
    if values[k] <= 0.0:
        return row
    # Golden-section refinement of the maximum.
    a, b = grid[k] - step, grid[k] + step
    g = (math.sqrt(5.0) - 1.0) / 2.0
    while b - a > 1e-7:
        c, d = b - g * (b - a), a + g * (b - a)
        if overlap(c) > overlap(d):
            b = d
        else:
            a = c
    tmax = 0.5 * (a + b)
    first = next(grid[i] for i in range(k, -1, -1) if values[i] <= 0.0)
    fourth = next(grid[i] for i in range(k, len(grid)) if values[i] <= 0.0)
    row["first_jd_ut"] = fmt(bisect(overlap, first, tmax), 8)
    row["fourth_jd_ut"] = fmt(bisect(overlap, tmax, fourth), 8)
    row["max_jd_ut"] = fmt(tmax, 8)
    ss, sm, sep, _ = discs(obs, sun, moon, tmax)
    row["ecl_mag"] = fmt((ss + sm - sep) / (2.0 * ss), 6)
    if inner(tmax) > 0.0:
        t2 = tmax
        while inner(t2) > 0.0:
            t2 -= 0.1 * step
        t3 = tmax
        while inner(t3) > 0.0:
            t3 += 0.1 * step
        row["second_jd_ut"] = fmt(bisect(inner, t2, tmax), 8)
        row["third_jd_ut"] = fmt(bisect(inner, tmax, t3), 8)
    first_jd, fourth_jd = float(row["first_jd_ut"]), float(row["fourth_jd_ut"])
    if fourth_jd < start or first_jd >= end:
        return {k: v for k, v in row.items() if not k.endswith("_jd_ut") or k == "jd_ut"} | {
            "ecl_mag": ""}
    t = max(first_jd, start)
    while t <= min(fourth_jd, end):
        ss, _, _, alt = discs(obs, sun, moon, t)
        if math.degrees(alt + ss) > -34.0 / 60.0:
            row["visible"] = "1"
            break
        t += step
    return row


def main():
    rows = []
    for when in BODY_TIMES:
        for place in ("Tokyo", "Sydney"):
            for name in PLANETS:
                ident = IDENTIFIERS.get(name, "Planet." + name)
                rows.append(body_row("%s_%s_%s" % (when.split()[0], place, name), ident,
                                     getattr(ephem, name)(), ephem.Date(when), place))
    for when in SATELLITE_TIMES:
        for name, planet in SATELLITES.items():
            ident = "Planet.%s.Satellite.%s" % (planet, name)
            row = body_row("%s_Tokyo_%s" % (when.split()[0], name), ident, getattr(ephem, name)(),
                           ephem.Date(when), "Tokyo")
            # PyEphem's satellite RA is the planet's plus the eastward offset
            # without the 1/cos(dec) factor; its x (east) and y (south), in
            # planet radii, are the true offsets on the sky.
            moon, body = getattr(ephem, name)(), getattr(ephem, planet)()
            moon.compute(ephem.Date(when), epoch=ephem.J2000)
            body.compute(ephem.Date(when), epoch=ephem.J2000)
            radius = math.degrees(float(body.radius)) * 3600.0
            row["sat_east_arcsec"] = fmt(moon.x * radius, 4)
            row["sat_north_arcsec"] = fmt(-moon.y * radius, 4)
            rows.append(row)
    small = load_small_bodies()
    for kind, ident, times in SMALL_BODIES:
        row = small[(kind, ident)]
        prefix = "Comet." if kind == "comet" else "MinorPlanet."
        for when in times:
            rows.append(body_row("%s_Tokyo_%s" % (when.split()[0], ident), prefix + ident,
                                 small_body(row), ephem.Date(when), "Tokyo"))
    for name, place, when in EVENTS:
        rows.append(events_row("%s_%s_%s" % (when.split()[0], place, name), name, place,
                               ephem.Date(when)))
    single = single_moon_event_day("Tokyo", "2026/12/1")
    rows.append(events_row("single_Tokyo_Moon", "Moon", "Tokyo", single))
    for when, place in ECLIPSES:
        rows.append(eclipse_row("%s_%s" % (when.split()[0], place), when, place))

    out = sys.stdout
    out.write("# Reference for tests/solar_system_test.cpp, written by tools/make_solar_reference.py\n")
    out.write("# PyEphem %s, Python %s\n" % (ephem.__version__, sys.version.split()[0]))
    out.write("# delta_t_s: PyEphem's Delta T; UT1 = UT; no refraction; azimuth from the south "
              "through the west; RA in hours, other angles in degrees\n")
    out.write("# geo_ast: astrometric geocentric J2000 (a_ra, a_dec); geo_app: apparent geocentric "
              "of date (g_ra, g_dec); topo_app: apparent topocentric of date (ra, dec)\n")
    out.write("# geo_dist: geocentric distance; topo_dist: from the observer; elong: from the Sun as the observer sees both\n")
    out.write("# sat_east/north: a satellite's offset from its planet on the sky (PyEphem's x, -y times the planet's radius)\n")
    out.write("# motion: change of the apparent topocentric RA and Dec from an hour before to an hour after, degrees a day\n")
    out.write("# phase: illuminated fraction (PyEphem's, geocentric); size: diameter (arcsec); libration and Moon age: "
              "PyEphem's libration_long/lat and previous_new_moon\n")
    out.write("# events: PyEphem, horizon %s for the upper limb, pressure 0, local day in zone "
              "tz_h; '-' = none\n" % HORIZON)
    out.write("# eclipse: contacts of the topocentric discs from PyEphem places (Sun %g km, "
              "Moon %g km); empty = no such contact; visible = 1 when the Sun's upper limb is "
              "above -34' during the eclipse within the local day\n" % (SUN_KM, MOON_KM))
    out.write("\t".join(COLUMNS) + "\n")
    for row in rows:
        out.write("\t".join(str(row.get(c, "")) for c in COLUMNS) + "\n")


if __name__ == "__main__":
    main()
