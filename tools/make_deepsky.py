#!/usr/bin/env python3
"""Makes data/deepsky.tsv (NGC/IC objects) and data/magellanic.tsv.

Sources:
  - kstars-data OpenNGC.kscat: KStars' SQLite build of OpenNGC (CC-BY-SA-4.0;
    the catalogs table names the OpenNGC release).  Table cat: type (KStars
    object type code), ra/dec (J2000, degrees), magnitude, name ("M 31"),
    long_name (common names and other designations, comma-separated),
    catalog_identifier ("NGC0224"), major_axis/minor_axis (arcmin),
    position_angle (degrees).
  - stellarium-data nebulae/default/names.dat: further common names of
    NGC/IC/Messier/PGC objects (GPL-2+).
  - data/names_ja.tsv (make_names_ja.py): Japanese names.

Type codes found in the data and checked against OpenNGC's own types:
  0 star (*), 3 open cluster (OCl), 4 globular cluster (GCl), 5 nebula (HII,
  EmN, RfN, Neb, Cl+N), 6 planetary nebula (PN), 7 supernova remnant (SNR),
  8 galaxy (G), 13 asterism (*Ass), 14 galaxy group or cluster (GPair, GTrpl,
  GGroup), 17 double star (**), 255 other (Dup, NonEx, Other).

The Magellanic Clouds are not NGC objects (the SMC is also NGC 292); their
positions are the J2000 ones of the NASA/IPAC Extragalactic Database (NED):
LMC 05h23m34.5s -69d45m22s, SMC 00h52m44.8s -72d49m43s.

Usage: make_deepsky.py PKGS [--out DATA_DIR]
"""

import argparse
import os
import re
import sqlite3

import skydata_common as common

TYPES = {
    0: ("恒星", "star"),
    3: ("散開星団", "open cluster"),
    4: ("球状星団", "globular cluster"),
    5: ("散光星雲", "gaseous nebula"),
    6: ("惑星状星雲", "planetary nebula"),
    7: ("超新星残骸", "supernova remnant"),
    8: ("銀河", "galaxy"),
    13: ("星群", "asterism"),
    14: ("銀河団", "galaxy cluster"),
    17: ("二重星", "double star"),
    255: ("その他", "other"),
}

DESIGNATION = re.compile(r"^(M|NGC|IC|PGC|UGC|UGC A) \d+[A-Z]*( NED\d+)?$")

MAGELLANIC = [
    # id, English name, RA (h, m, s), Dec (sign, d, m, s); NED J2000 positions.
    ("LMC", "Large Magellanic Cloud", (5, 23, 34.5), (-1, 69, 45, 22)),
    ("SMC", "Small Magellanic Cloud", (0, 52, 44.8), (-1, 72, 49, 43)),
]


def catalogue_id(identifier):
    """'NGC0224' -> 'NGC 224', 'IC1234 NED01' -> 'IC 1234 NED01', 'M 45' stays."""
    m = re.match(r"^(NGC|IC)(\d+)(.*)$", identifier)
    if m:
        return "%s %d%s" % (m.group(1), int(m.group(2)), m.group(3))
    return " ".join(identifier.split())


def fmt_number(value):
    """Shortest text that reads back as the same double; empty for NULL."""
    if value is None:
        return ""
    text = repr(float(value))
    return text[:-2] if text.endswith(".0") else text


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pkgs")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()

    kdir = os.path.join(common.package_dir(args.pkgs, "kstars-data"), "usr/share/kstars")
    sdir = os.path.join(common.package_dir(args.pkgs, "stellarium-data"), "usr/share/stellarium")
    v_kstars = common.deb_version(args.pkgs, "kstars-data")
    v_stellarium = common.deb_version(args.pkgs, "stellarium-data")
    names_ja = common.load_names_ja(args.out)

    db = sqlite3.connect("file:%s?mode=ro" % os.path.join(kdir, "OpenNGC.kscat"), uri=True)
    release = db.execute("select source, license from catalogs where id = 1").fetchone()
    m = re.search(r"tag/(v\d+)", release[0] or "")
    openngc = "OpenNGC %s" % (m.group(1) if m else "(release not named)")

    # Stellarium's names by designation ("NGC 224", "M 31", "PGC 2557").
    extra_names = {}
    for line in open(os.path.join(sdir, "nebulae/default/names.dat"), encoding="utf-8"):
        if line.startswith("#") or len(line) < 21:
            continue
        prefix, number = line[:5].strip(), line[5:20].strip()
        m = re.search(r'_\("([^"]+)"\)', line[20:])
        if not m or prefix not in ("NGC", "IC", "M", "PGC") or not number:
            continue
        key = "%s %s" % (prefix, number.lstrip("0") or "0")
        extra_names.setdefault(key, [])
        if m.group(1) not in extra_names[key]:
            extra_names[key].append(m.group(1))

    rows = []
    ids = set()
    for (typ, ra, dec, mag, name, long_name, ident, major, minor, pa) in db.execute(
            "select type, ra, dec, magnitude, name, long_name, catalog_identifier, major_axis,"
            " minor_axis, position_angle from cat"):
        if typ not in TYPES:
            common.die("unknown type code %r of %s" % (typ, ident))
        if ra is None or dec is None:
            common.die("no position for %s" % ident)
        oid = catalogue_id(ident)
        if oid in ids:
            common.die("identifier used twice: " + oid)
        ids.add(oid)

        designations, common_names = [], []
        name = " ".join((name or "").split())
        if name and name != oid:
            designations.append(name)
        for item in (long_name or "").split(","):
            item = " ".join(item.split())
            if not item or item == oid:
                continue
            target = designations if DESIGNATION.match(item) else common_names
            if item not in target:
                target.append(item)
        pgc = ""
        for d in designations:
            if d.startswith("PGC "):
                pgc = d[4:]
        for key in [oid] + designations:
            for extra in extra_names.get(key, []):
                if all(extra.lower() != n.lower() for n in common_names):
                    common_names.append(extra)
        name_ja = ""
        for n in common_names:
            if n in names_ja:
                name_ja = names_ja[n]
                break
        type_ja, type_en = TYPES[typ]
        rows.append([
            oid, str(typ), type_ja, type_en,
            common.fmt_fixed(ra, 7), common.fmt_fixed(dec, 7),
            fmt_number(mag), fmt_number(major), fmt_number(minor), fmt_number(pa), pgc,
            "|".join(designations),
            common_names[0] if common_names else "", name_ja, "|".join(common_names[1:]),
        ])

    def id_key(row):
        m = re.match(r"^(NGC|IC|M) (\d+)(.*)$", row[0])
        rank = {"NGC": 0, "IC": 1, "M": 2}[m.group(1)]
        return (rank, int(m.group(2)), m.group(3))

    rows.sort(key=id_key)
    common.write_tsv(
        os.path.join(args.out, "deepsky.tsv"),
        [
            "vexclk sky data: NGC and IC objects (OpenNGC)",
            "source: kstars-data %s, OpenNGC.kscat = %s (CC-BY-SA-4.0)" % (v_kstars, openngc),
            "source: stellarium-data %s, nebulae/default/names.dat and"
            " translations/stellarium-skycultures/ja.qm (GPL-2+)" % v_stellarium,
            "licence: CC-BY-SA-4.0 (OpenNGC, by Mattia Verga) with names under GPL-2+;"
            " made by tools/make_deepsky.py; columns and units: data/README.md",
            "positions: J2000; empty field: no value; lists use '|' between items",
        ],
        ["id", "type", "type_ja", "type_en", "ra_deg", "dec_deg", "mag", "major_arcmin",
         "minor_arcmin", "pa_deg", "pgc", "designations", "name_en", "name_ja", "other_names"],
        rows,
    )

    mrows = []
    for oid, name, (h, mi, s), (sign, d, dm, ds) in MAGELLANIC:
        ra = (h + mi / 60.0 + s / 3600.0) * 15.0
        dec = sign * (d + dm / 60.0 + ds / 3600.0)
        if name not in names_ja:
            common.die("no Japanese name for " + name)
        mrows.append([oid, name, names_ja[name], common.fmt_fixed(ra, 7), common.fmt_fixed(dec, 7)])
    common.write_tsv(
        os.path.join(args.out, "magellanic.tsv"),
        [
            "vexclk sky data: the Magellanic Clouds",
            "source: positions (J2000) from the NASA/IPAC Extragalactic Database (NED):"
            " LMC 05h23m34.5s -69d45m22s, SMC 00h52m44.8s -72d49m43s",
            "source: Japanese names from stellarium-data %s,"
            " translations/stellarium-skycultures/ja.qm (GPL-2+)" % v_stellarium,
            "made by tools/make_deepsky.py",
        ],
        ["id", "name_en", "name_ja", "ra_deg", "dec_deg"],
        mrows,
    )


if __name__ == "__main__":
    main()
