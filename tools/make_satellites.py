#!/usr/bin/env python3
"""Makes data/satellites.tle: two-line element sets of a few well-known
satellites, the sky engine's sample set (a user's own file replaces it, see
README.md).

Source: gpredict's satellites.dat (Debian package gpredict,
usr/share/gpredict/data/satdata/satellites.dat; GPL-2+), one INI section per
satellite: [NUMBER] with NAME=, TLE1=, TLE2=.  gpredict took the element
sets from CelesTrak; their epochs lie in January 2018, so the engine answers
for today with elements years old (the text shows their epoch).

Usage: make_satellites.py PKGS [--out DATA_DIR]
  PKGS holds gpredict_*.deb and its unpacked folder gpredict/ (tools/README.md).
The output is the three-line form: the name, then the two lines, after '#'
comment lines naming the source.
"""

import argparse
import os

import skydata_common as common

# Catalogue numbers kept, in this order: crewed stations and telescopes,
# Earth observers, weather satellites in low and geostationary orbits, a
# geodetic target and a Molniya (a deep-space, 12-hour orbit).
WANTED = [25544, 20580, 41765, 33591, 25994, 27424, 27386, 40267, 41836, 41866, 16908, 13070]


def read_satdata(path):
    """Returns {number: {key: value}} of gpredict's satellites.dat."""
    sections = {}
    current = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(int(line[1:-1]), {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key] = value
    return sections


def checksum_ok(line):
    total = sum(int(c) if c.isdigit() else (1 if c == "-" else 0) for c in line[:68])
    return len(line) >= 69 and line[68] == str(total % 10)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("pkgs")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()
    pkg = common.package_dir(args.pkgs, "gpredict")
    version = common.deb_version(args.pkgs, "gpredict")
    sections = read_satdata(os.path.join(pkg, "usr/share/gpredict/data/satdata/satellites.dat"))
    out = [
        "# vexclk sky data: two-line element sets (NORAD) of a few satellites, the engine's sample set",
        "# source: gpredict %s, usr/share/gpredict/data/satdata/satellites.dat (element sets from CelesTrak)" % version,
        "# licence: GPL-2+ (gpredict data files); made by tools/make_satellites.py",
        "# form: a name line, then lines 1 and 2; epochs are UTC (January 2018)",
    ]
    for number in WANTED:
        s = sections.get(number)
        if s is None:
            common.die("satellites.dat: no section [%d]" % number)
        for line in (s["TLE1"], s["TLE2"]):
            if not checksum_ok(line):
                common.die("satellites.dat [%d]: bad check digit: %s" % (number, line))
        out += [s["NAME"], s["TLE1"], s["TLE2"]]
    with open(os.path.join(args.out, "satellites.tle"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")
    print("satellites.tle: %d element sets" % len(WANTED))


if __name__ == "__main__":
    main()
