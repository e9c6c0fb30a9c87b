#!/usr/bin/env python3
"""Makes data/constellations.tsv and data/constellation_bounds_b1875.tsv.

Sources:
  - python3-astropy astropy/coordinates/data/constellation_data_roman87.dat:
    the constellation boundaries of Roman (1987, PASP 99, 695; CDS VI/42) as
    boxes for the equinox B1875: RA low and RA high in hours, Dec low in
    degrees, abbreviation.  A point (precessed to B1875) lies in the
    constellation of the FIRST box with ra_low <= RA < ra_high and Dec >= dec_low,
    so the boxes are written in their source order, not sorted.
  - astropy constellation_names.dat: the 88 IAU abbreviations and names.
  - stellarium-data skycultures/western/constellation_names.eng.fab: the same
    names; it spells correctly the three that astropy misspells (Chamaleon,
    Ophiucus, Pisces Austrinus), and it is the spelling that the Japanese
    translation is keyed by.
  - data/names_ja.tsv (make_names_ja.py): Japanese names; "座" is appended.

Usage: make_constellations.py PKGS [--out DATA_DIR]
"""

import argparse
import os
import re
import unicodedata

import skydata_common as common


def ascii_fold(text):
    return "".join(c for c in unicodedata.normalize("NFD", text) if unicodedata.category(c) != "Mn")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pkgs")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()

    astropy = os.path.join(common.package_dir(args.pkgs, "python3-astropy"),
                           "usr/lib/python3/dist-packages/astropy/coordinates/data")
    stellarium = common.package_dir(args.pkgs, "stellarium-data")
    v_astropy = common.deb_version(args.pkgs, "python3-astropy")
    v_stellarium = common.deb_version(args.pkgs, "stellarium-data")
    names_ja = common.load_names_ja(args.out)

    astropy_names = {}
    for line in open(os.path.join(astropy, "constellation_names.dat"), encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        abbr, name = line.split(None, 1)
        astropy_names[abbr] = name.strip()

    western = {}
    fab = os.path.join(stellarium, "usr/share/stellarium/skycultures/western/constellation_names.eng.fab")
    for line in open(fab, encoding="utf-8"):
        m = re.match(r'^(\w+)\s+"([^"]*)"', line)
        if m:
            western[m.group(1)] = m.group(2)

    if set(astropy_names) != set(western) or len(western) != 88:
        common.die("the astropy and Stellarium constellation lists differ")

    rows = []
    for abbr in sorted(western, key=lambda a: a.upper()):
        name = western[abbr]
        # Keep the IAU spelling with its diaeresis (Boötes) where that is the only difference.
        if ascii_fold(astropy_names[abbr]) == name:
            name = astropy_names[abbr]
        ja = names_ja.get(western[abbr])
        if not ja:
            common.die("no Japanese name for %s" % western[abbr])
        other = western[abbr] if western[abbr] != name else ""
        rows.append([abbr, name, ja + "座", other])

    boxes = []
    for line in open(os.path.join(astropy, "constellation_data_roman87.dat"), encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        ra_low, ra_high, dec_low, abbr = line.split()
        if abbr not in western:
            common.die("unknown abbreviation in the boundary table: " + abbr)
        lo, hi, dec = float(ra_low), float(ra_high), float(dec_low)
        if not (0.0 <= lo < hi <= 24.0 and -90.0 <= dec <= 90.0):
            common.die("bad boundary box: " + line.strip())
        boxes.append(["%.4f" % lo, "%.4f" % hi, "%.4f" % dec, abbr])
    if boxes[-1][:3] != ["0.0000", "24.0000", "-90.0000"]:
        common.die("the last box must cover the whole sky down to -90")

    common.write_tsv(
        os.path.join(args.out, "constellations.tsv"),
        [
            "vexclk sky data: the 88 constellations",
            "source: python3-astropy %s, astropy/coordinates/data/constellation_names.dat (BSD-3)"
            % v_astropy,
            "source: stellarium-data %s, skycultures/western/constellation_names.eng.fab and"
            " translations/stellarium-skycultures/ja.qm (GPL-2+)" % v_stellarium,
            "licence: GPL-2+; made by tools/make_constellations.py",
            "sorted by abbreviation (case-insensitive); other_names: further spellings, '|' between",
        ],
        ["abbr", "name", "name_ja", "other_names"],
        rows,
    )
    common.write_tsv(
        os.path.join(args.out, "constellation_bounds_b1875.tsv"),
        [
            "vexclk sky data: constellation boundaries as boxes, equinox B1875 (Roman 1987, PASP 99, 695)",
            "source: python3-astropy %s, astropy/coordinates/data/constellation_data_roman87.dat"
            " (BSD-3; data from CDS VI/42)" % v_astropy,
            "licence: BSD-3-Clause; made by tools/make_constellations.py",
            "ORDER MATTERS: a B1875 point lies in the first box with ra_low_h <= RA < ra_high_h"
            " and Dec >= dec_low_deg",
        ],
        ["ra_low_h", "ra_high_h", "dec_low_deg", "abbr"],
        boxes,
    )


if __name__ == "__main__":
    main()
