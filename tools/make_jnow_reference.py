#!/usr/bin/env python3
"""Writes tests/data/jnow_reference.tsv: J2000 places carried to the true
equator and equinox of a date (what an INDI mount's EQUATORIAL_EOD_COORD
takes) by PyEphem (Debian python3-ephem), an implementation independent of
ERFA: its geocentric apparent place (precession, nutation, aberration).

Usage: python3 tools/make_jnow_reference.py > tests/data/jnow_reference.tsv
"""
import math

import ephem

# name, J2000 RA (degrees), J2000 Dec (degrees)
PLACES = [
    ("Sirius", 101.287155, -16.716116),
    ("Polaris", 37.954561, 89.264109),
    ("Vega", 279.234735, 38.783689),
    ("Acrux", 186.649563, -63.099093),
    ("origin", 0.0, 0.0),
]
# UTC dates
DATES = ["2026/12/06 12:00:00", "2030/06/21 00:00:00", "2000/01/01 12:00:00"]


def main():
    print("# J2000 places at the true equinox of date, from PyEphem %s" % ephem.__version__)
    print("# (tools/make_jnow_reference.py); ra_deg, dec_deg J2000; jd_utc; ra_h, dec_deg of date")
    print("name\tra_deg\tdec_deg\tjd_utc\tra_h\tdec_of_date")
    for date in DATES:
        d = ephem.Date(date)
        jd = ephem.julian_date(d)
        for name, ra, dec in PLACES:
            body = ephem.FixedBody()
            body._ra = math.radians(ra)
            body._dec = math.radians(dec)
            body._epoch = ephem.J2000
            body.compute(d)
            print("%s\t%.6f\t%.6f\t%.6f\t%.8f\t%.7f" % (
                name, ra, dec, jd, math.degrees(body.g_ra) / 15.0, math.degrees(body.g_dec)))


if __name__ == "__main__":
    main()
