#!/usr/bin/python3
"""Writes data/small_bodies.tsv: osculating elements of the best-known comets and minor planets.

Reads kstars-data's comets.dat and asteroids.dat (JSON replies of the JPL
small-body database query API, {"fields": [...], "data": [[...], ...]}) and
the Japanese names of data/names_ja.tsv:

    python3 tools/make_small_bodies.py PKGS [--out DATA_DIR]

PKGS holds kstars-data_*.deb and its unpacked folder (tools/README.md).

Which objects (see data/README.md):
- comets: the numbered periodic comets 1P-200P (whole nuclei only, not the
  fragments "-A", "-B"), the long-period comets that passed perihelion
  between 1990 and 2035 with a total absolute magnitude M1 of 7 or
  brighter, and a few famous others by designation;
- minor planets: numbers 1-250 and a list of well-known others (the dwarf
  planets, near-Earth objects visited or watched, Trojans, centaurs and
  trans-Neptunian objects).  Pluto is left out: the engine has its own
  theory for it.

Elements are heliocentric, mean ecliptic and equinox J2000, TT.  A minor
planet's mean anomaly at the epoch becomes its last perihelion time, so that
every row has the perihelion form (q, e, i, node, argument, T).
"""

import argparse
import json
import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import skydata_common as common  # noqa: E402

GAUSS_K = 0.01720209895  # IAU 1976; the engine propagates with the same constant
MJD_ZERO = 2400000.5

EXTRA_COMETS = {
    "C/1995 O1", "C/1996 B2", "C/2020 F3", "C/2022 E3", "C/2006 P1", "C/2011 W3",
    "C/2013 US10", "C/1980 E1", "C/2019 Y4", "C/2021 A1", "C/2012 S1", "C/2007 N3",
}
EXTRA_MINOR_PLANETS = {
    433, 434, 588, 617, 624, 911, 951, 1036, 1221, 1566, 1620, 1862, 2060, 2062, 2101,
    2340, 3200, 3753, 4179, 4660, 4769, 5145, 6489, 10199, 20000, 25143, 28978, 50000,
    65803, 69230, 90377, 90482, 99942, 101955, 136108, 136199, 136472, 162173, 486958,
}

COLUMNS = [
    "kind", "id", "designation", "name_en", "name_ja", "number", "epoch_jd_tt", "q_au", "e",
    "i_deg", "node_deg", "peri_arg_deg", "tp_jd_tt", "h", "g", "m1", "k1", "radius_km",
]


def num(value):
    """A JSON value as a float, or None for null and empty text."""
    if value is None or value == "":
        return None
    return float(value)


def fmt(value, decimals):
    return "" if value is None else common.fmt_fixed(value, decimals)


def parse_comet_name(full_name):
    """'    1P/Halley' -> ('1P', '1P/Halley', 'Halley');
    'C/2020 F3 (NEOWISE)' -> ('C/2020F3', 'C/2020 F3 (NEOWISE)', 'NEOWISE')."""
    text = full_name.strip()
    m = re.match(r"^(\d+[PDI](?:-[A-Z]+)?)/(.*)$", text)
    if m:
        return m.group(1), text, m.group(2).strip()
    m = re.match(r"^([CPDXAI]/-?\d+ [A-Z]+\d*(?:-[A-Z]+)?)(?: \((.*)\))?$", text)
    if m:
        return m.group(1).replace(" ", ""), text, (m.group(2) or "").strip()
    return text.replace(" ", ""), text, ""


def parse_minor_name(full_name):
    """'     1 Ceres (A801 AA)' -> (1, 'Ceres', 'A801 AA'); '(2001 FO32)' -> (0, '', '2001 FO32')."""
    text = full_name.strip()
    m = re.match(r"^(\d+)\s+(.*?)\s*(?:\((.*)\))?$", text)
    if m:
        name = m.group(2).strip()
        return int(m.group(1)), name, (m.group(3) or "").strip()
    m = re.match(r"^\((.*)\)$", text)
    return 0, "", (m.group(1) if m else text)


def load(path):
    with open(path, encoding="utf-8") as f:
        doc = json.load(f)
    fields = doc["fields"]
    return [dict(zip(fields, row)) for row in doc["data"]]


def comet_rows(rows, names_ja):
    out = []
    for r in rows:
        ident, designation, name = parse_comet_name(r["full_name"])
        m = re.match(r"^(\d+)P$", ident)
        # Fragments of a split nucleus carry a letter after the name
        # ("73P/Schwassmann-Wachmann 3-B"); only whole nuclei are kept.
        fragment = re.search(r"-[A-Z]{1,2}$", designation) is not None
        numbered = m is not None and int(m.group(1)) <= 200 and not fragment
        tp = num(r["tp"])
        m1 = num(r["M1"])
        recent_bright = (ident.startswith("C/") and m1 is not None and m1 <= 7.0 and tp is not None
                         and 2447892.5 <= tp < 2464328.5)  # 1990-01-01 .. 2035-01-01
        famous = any(designation.startswith(x + " ") or designation == x for x in EXTRA_COMETS)
        if not (numbered or recent_bright or famous):
            continue
        q, e = num(r["q"]), num(r["e"])
        if q is None or e is None or tp is None:
            continue
        diameter = num(r["diameter"])
        out.append(["comet", ident, designation, name, names_ja.get(name, ""), "",
                    fmt(num(r["epoch.mjd"]) + MJD_ZERO, 1), fmt(q, 9), fmt(e, 9),
                    fmt(num(r["i"]), 7), fmt(num(r["om"]), 7), fmt(num(r["w"]), 7), fmt(tp, 6),
                    "", "", fmt(m1, 1), "", fmt(diameter / 2 if diameter else None, 2)])
    return out


def minor_rows(rows, names_ja):
    out = []
    for r in rows:
        number, name, provisional = parse_minor_name(r["full_name"])
        if number == 134340:  # Pluto
            continue
        if not (1 <= number <= 250 or number in EXTRA_MINOR_PLANETS):
            continue
        a, e, ma = num(r["a"]), num(r["e"]), num(r["ma"])
        epoch = num(r["epoch_mjd"]) + MJD_ZERO
        # Last perihelion before the epoch: T = epoch - M / n, n = k / a^1.5.
        n = GAUSS_K / a ** 1.5
        tp = epoch - math.radians(ma) / n
        diameter = num(r["diameter"])
        g = num(r["G"])
        out.append(["minor", str(number), r["full_name"].strip(), name, names_ja.get(name, ""),
                    str(number), fmt(epoch, 1), fmt(num(r["q"]), 9), fmt(e, 9), fmt(num(r["i"]), 7),
                    fmt(num(r["om"]), 7), fmt(num(r["w"]), 7), fmt(tp, 6), fmt(num(r["H"]), 2),
                    fmt(g, 2), "", "", fmt(diameter / 2 if diameter else None, 2)])
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pkgs", help="folder with kstars-data_*.deb and its unpacked tree")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()

    kstars = os.path.join(common.package_dir(args.pkgs, "kstars-data"), "usr/share/kstars")
    version = common.deb_version(args.pkgs, "kstars-data")
    names_ja = {}
    for row in common.read_tsv(os.path.join(args.out, "names_ja.tsv"))[1]:
        if row["kind"] in ("minor planet", "comet"):
            names_ja.setdefault(row["english"], row["japanese"])

    comets = comet_rows(load(os.path.join(kstars, "comets.dat")), names_ja)
    minors = minor_rows(load(os.path.join(kstars, "asteroids.dat")), names_ja)

    def comet_key(row):
        m = re.match(r"^(\d+)P", row[1])
        return (0, int(m.group(1)), row[1]) if m else (1, 0, row[1])

    comets.sort(key=comet_key)
    ids = [(row[0], row[1]) for row in comets + minors]
    if len(ids) != len(set(ids)):
        common.die("identifiers repeat: %s" % sorted(i for i in ids if ids.count(i) > 1)[:5])
    minors.sort(key=lambda row: int(row[5]))
    header = [
        "vexclk sky data: osculating orbital elements of comets and minor planets",
        "source: kstars-data %s, usr/share/kstars/comets.dat and asteroids.dat "
        "(NASA/JPL Small-Body Database query API); Japanese names from names_ja.tsv" % version,
        "licence: GPL-2+ (KStars data files); made by tools/make_small_bodies.py",
        "elements: heliocentric, mean ecliptic and equinox J2000; times are Julian Days of TT; "
        "angles in degrees; q in au",
        "minor planets: tp is the last perihelion before the epoch, epoch - M / n with "
        "n = 0.01720209895 / a^1.5 rad/day",
        "h, g: IAU H, G magnitude system; m1: comet total absolute magnitude (JPL M1); "
        "k1 empty: the engine's default 10",
    ]
    common.write_tsv(os.path.join(args.out, "small_bodies.tsv"), header, COLUMNS, comets + minors)
    print("comets %d, minor planets %d" % (len(comets), len(minors)))


if __name__ == "__main__":
    main()
