#!/usr/bin/python3
"""Writes the replay transcripts examples/iss.replies, examples/perseids.replies
and examples/camera_field.replies: what a planetarium engine would answer
about the International Space Station, the radiant of the Perseids and a
camera field on the Orion Nebula, seen from Tokyo (139.6917 E, 35.6895 N,
40 m) on a JST clock.

    apt-get install python3-ephem python3-sgp4
    apt-get download gpredict && dpkg -x gpredict_*.deb /tmp/gpredict
    /usr/bin/python3 tools/make_example_transcripts.py /tmp/gpredict examples

Sources, written into each file's header as well:
- ISS: the two-line elements of gpredict's satdata/satellites.dat (Debian
  package gpredict, entry [25544], epoch 2018-01-20 21:33 UTC).  Positions,
  range and sub-satellite point from PyEphem (python3-ephem, its SGP4); the
  geocentric distance from python3-sgp4 (|r| in TEME).
- Perseids: IMO Meteor Shower Calendar (International Meteor Organization):
  maximum at solar longitude 140.0 degrees, radiant at maximum RA 048,
  Dec +58 degrees (J2000).
- Orion Nebula (M 42): SIMBAD, ICRS 05 35 17.3 -05 23 28.
- Every other position (apparent, B1950, ecliptic, galactic, horizon
  without refraction, azimuth from the south through the west) and the
  transit times: PyEphem from the J2000 place.  Camera and mosaic data are
  the user's settings: a 36 x 24 mm frame (the 135 film format) at 400 mm
  with a 4.8 x 3.6 mm guide chip (the 1/3-inch sensor type).
Needs nothing of this project; neither the build nor the tests run it.
"""
import math
import os
import sys

import ephem
from sgp4.api import Satrec, jday

ZONE = 9  # JST, hours east of UT
LON, LAT, HEIGHT = "139.6917", "35.6895", 40


def observer(utc):
    o = ephem.Observer()
    o.lon, o.lat, o.elevation = LON, LAT, HEIGHT
    o.pressure = 0  # no refraction: the engine's altitude is geometric
    o.date = ephem.Date(utc)
    return o


def deg(angle):
    return "%.6f" % math.degrees(angle)


def hours(angle):
    return "%.7f" % (math.degrees(angle) / 15.0)


def sky(o):
    """The engine's answers about time and place."""
    local = ephem.Date(o.date + ZONE * ephem.hour).tuple()
    rows = [("time.jd", "%.7f" % ephem.julian_date(o.date)), ("Time.Timezone", str(ZONE)),
            ("location", "Location(%s,%s,%d)" % (LON, LAT, HEIGHT)),
            ("location.longitude", LON), ("location.latitude", LAT),
            ("View.Projection", "Stereographic")]
    for name, value in zip(("Year", "Month", "Day", "Hour", "Minute"), local[:5]):
        rows.append(("LST(Time.%s)" % name, str(value)))
    rows.append(("LST(Time.Second)", "%.3f" % local[5]))
    return rows


def positions(body, o, obj, transit=True):
    """The position block's properties of a PyEphem body seen by `o`."""
    body.compute(o)  # the day's events below move it to other times
    j2000 = ephem.Equatorial(body.a_ra, body.a_dec, epoch=ephem.J2000)
    b1950 = ephem.Equatorial(j2000, epoch=ephem.B1950)
    mean = ephem.Ecliptic(j2000, epoch=o.date)
    app = ephem.Ecliptic(ephem.Equatorial(body.ra, body.dec, epoch=o.date), epoch=o.date)
    ecl2000 = ephem.Ecliptic(j2000, epoch=ephem.J2000)
    gal = ephem.Galactic(j2000)
    p = obj + ".position."
    rows = [(p + "RA", hours(body.a_ra)), (p + "DEC", deg(body.a_dec)),
            (p + "EquatorialDateApp.RA", hours(body.ra)),
            (p + "EquatorialDateApp.DEC", deg(body.dec)),
            (p + "EquatorialB1950.RA", hours(b1950.ra)),
            (p + "EquatorialB1950.DEC", deg(b1950.dec)),
            (p + "Ecliptical.Lambda", deg(mean.lon)), (p + "Ecliptical.Beta", deg(mean.lat)),
            (p + "EclipticDateApp.Lambda", deg(app.lon)),
            (p + "EclipticDateApp.Beta", deg(app.lat)),
            (p + "EclipticJ2000.Lambda", deg(ecl2000.lon)),
            (p + "EclipticJ2000.Beta", deg(ecl2000.lat)),
            (p + "Galactical.Longitude", deg(gal.lon)), (p + "Galactical.Latitude", deg(gal.lat)),
            (p + "Azimuth", "%.6f" % ((math.degrees(body.az) + 180.0) % 360.0)),
            (p + "Altitude", deg(body.alt))]
    if transit:
        rows += day_events(body, o, obj)
    return rows


def day_events(body, o, obj):
    """Rise, transit and set within the local (JST) day, Julian Days (UT)."""
    local = ephem.Date(o.date + ZONE * ephem.hour).tuple()
    start = ephem.Date(ephem.Date(local[:3]) - ZONE * ephem.hour)
    rows = []
    for name, method in (("Rise", "next_rising"), ("Transit", "next_transit"),
                         ("Set", "next_setting")):
        d = observer(start)
        try:
            t = getattr(d, method)(body)
            value = "%.7f" % ephem.julian_date(t) if t < start + 1 else "*"
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            value = "*"
        rows.append((obj + ".Jd." + name, value))
    return rows


def write(path, header, rows):
    with open(path, "w", encoding="utf-8") as f:
        for line in header.strip("\n").split("\n"):
            f.write(("# " + line).rstrip() + "\n")
        f.write("\n")
        for command, reply in rows:
            f.write("? %s\t%s\n" % (command, reply))


def iss(satdata, out):
    with open(os.path.join(satdata, "satellites.dat"), encoding="utf-8") as f:
        section = f.read().split("[25544]")[1].split("\n[")[0]
    fields = dict(line.split("=", 1) for line in section.strip().splitlines())
    tle1, tle2 = fields["TLE1"], fields["TLE2"]
    o = observer("2018/1/20 12:15:00")  # 21:15 JST, during a pass over Tokyo
    sat = ephem.readtle(fields["NAME"], tle1, tle2)
    rec = Satrec.twoline2rv(tle1, tle2)
    err, r, _ = rec.sgp4(*jday(2018, 1, 20, 12, 15, 0))
    assert err == 0
    obj = "ArtificialSatellite.25544"
    rows = sky(o) + [(obj + ".Name", ""), (obj + ".TLEName", fields["NAME"]),
                     (obj + ".Number", "25544")]
    rows += positions(sat, o, obj, transit=False)  # none for a satellite
    rows += [(obj + ".GeocentricDistance", "%.3f" % math.sqrt(sum(x * x for x in r))),
             (obj + ".TopocentricDistance", "%.3f" % (sat.range / 1000.0)),
             (obj + ".LLA.Longitude", deg(sat.sublong)), (obj + ".LLA.Latitude", deg(sat.sublat)),
             (obj + ".LLA.Altitude", "%.1f" % sat.elevation),
             (obj + ".Element.JulianEpoch", "%.8f" % (rec.jdsatepoch + rec.jdsatepochF))]
    write(os.path.join(out, "iss.replies"), """
The International Space Station, for
  vexclk text --replies examples/iss.replies ArtificialSatellite.25544
Made by tools/make_example_transcripts.py (its text names every source):
2018-01-20 12:15 UT (21:15 JST) from Tokyo, from the elements of gpredict's
satellites.dat [25544] (TLE1 %s).
The engine has no ".Name" for it, so the text takes ".TLEName".
""" % tle1, rows)


def perseids(out):
    o = observer("2026/8/1 13:00:00")  # 22:00 JST
    radiant = ephem.FixedBody()
    radiant._ra, radiant._dec, radiant._epoch = ephem.degrees("48"), ephem.degrees("58"), ephem.J2000
    obj = "Meteor.Perseids"
    rows = sky(o) + [(obj + ".Name", "ペルセウス座"), (obj + ".LambdaOfPeak", "140.0")]
    rows += positions(radiant, o, obj)
    write(os.path.join(out, "perseids.replies"), """
The radiant of the Perseids, for
  vexclk text --replies examples/perseids.replies Meteor.Perseids
Made by tools/make_example_transcripts.py: 2026-08-01 22:00 JST from Tokyo.
IMO Meteor Shower Calendar: maximum at solar longitude 140.0 degrees,
radiant RA 048, Dec +58 degrees; the text works out the date of the maximum.
""", rows)


def camera_field(out):
    o = observer("2026/12/6 12:30:00")  # 21:30 JST
    m42 = ephem.FixedBody()
    m42._ra, m42._dec, m42._epoch = ephem.hours("5:35:17.3"), ephem.degrees("-5:23:28"), ephem.J2000
    field, mosaic = "AngleOfView.Camera1", "MosaicOfField"
    rows = sky(o) + positions(m42, o, field)
    rows += [(field + ".Name", "M42"), (field + ".Camera", "None"),
             (field + ".FocalLength", "400"), (field + ".HorizontalSize", "36"),
             (field + ".VerticalSize", "24"), (field + ".Guider.HorizontalSize", "4.8"),
             (field + ".Guider.VerticalSize", "3.6"), (field + ".Guider.Distance", "2.5"),
             (field + ".Roll", "-10")]
    # Frame 1 of a 2 x 2 mosaic around M 42 shares the field's centre here.
    rows += [(c.replace(field, mosaic + ".1"), v) for c, v in positions(m42, o, field)]
    rows += [(mosaic + ".Name", "オリオン座 モザイク"), (mosaic + ".Camera", "None"),
             (mosaic + ".FocalLength", "400"), (mosaic + ".HorizontalSize", "36"),
             (mosaic + ".VerticalSize", "24"), (mosaic + ".Row", "2"), (mosaic + ".Column", "2"),
             (mosaic + ".Coordinate", "Equatorial"), (mosaic + ".Overlap", "0.1"),
             (mosaic + ".Roll", "0")]
    write(os.path.join(out, "camera_field.replies"), """
A camera field and a frame of a mosaic on the Orion Nebula, for
  vexclk text --replies examples/camera_field.replies AngleOfView.Camera1 MosaicOfField.1
Made by tools/make_example_transcripts.py: 2026-12-06 21:30 JST from Tokyo.
M 42 from SIMBAD (ICRS 05 35 17.3 -05 23 28); a 36 x 24 mm frame (the 135
film format, camera "None": entered by size) at 400 mm with a 4.8 x 3.6 mm
guide chip (the 1/3-inch sensor type) 2.5 mm from it.
""", rows)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_example_transcripts.py GPREDICT_DIR OUT_DIR")
    satdata = os.path.join(sys.argv[1], "usr/share/gpredict/data/satdata")
    iss(satdata, sys.argv[2])
    perseids(sys.argv[2])
    camera_field(sys.argv[2])


if __name__ == "__main__":
    main()
