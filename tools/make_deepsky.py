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

Magnitudes: for clusters, planetary nebulae and galaxies, V from
Stellarium's deep-sky catalogue (stellarium-data nebulae/default/catalog.dat,
which carries B and V apart) where it has one; else the magnitude KStars
took from OpenNGC, which for many globular clusters
is the B magnitude (M 22: B 7.16, V 5.2).  MAGNITUDE_CORRECTIONS replaces the
few that are plainly not the whole object's, with the source of each.

Japanese common names: COMMON_NAMES_JA adds the names that Japanese
observers use for famous objects (すばる for M 45) from the published lists
named there; the first becomes the object's Japanese name.

The Magellanic Clouds are not NGC objects (the SMC is also NGC 292); their
positions are the J2000 ones of the NASA/IPAC Extragalactic Database (NED):
LMC 05h23m34.5s -69d45m22s, SMC 00h52m44.8s -72d49m43s.

Usage: make_deepsky.py PKGS [--out DATA_DIR]
"""

import argparse
import gzip
import os
import re
import sqlite3
import struct

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


# The types whose V in Stellarium's catalogue is the object's integrated
# light (clusters, planetary nebulae, galaxies); a nebula's or an asterism's
# "magnitude" there is often that of a star in it (IC 434: 7.3, sigma Ori's
# neighbourhood), so those keep OpenNGC's.
V_MAGNITUDE_TYPES = {3, 4, 6, 8, 14}

# Integrated magnitudes that OpenNGC and Stellarium give for a part of the
# object only: id -> (V, source).
MAGNITUDE_CORRECTIONS = {
    "NGC 5139": (3.68, "Harris 1996, Catalog of Parameters for Milky Way Globular Clusters,"
                       " 2010 edition, integrated V_t of omega Centauri (OpenNGC: V 5.33, B 6.12)"),
}

# Japanese common names of famous objects: id -> names, the usual one first.
# Sources: the Messier lists of okita-tenmon.com (sketch/messier, names under
# each object) and hpmilk.nobody.jp (sawa2/m.html, column 別名), and the
# San'in Chuo Shimpo's star column of 2021 on M 42-M 45 ("M45は「すばる」
# とも呼ばれる"); 昴 is the kanji of すばる.
COMMON_NAMES_JA = {
    "NGC 1952": ["かに星雲"],
    "NGC 6523": ["干潟星雲"],
    "NGC 6205": ["ヘルクレス座大球状星団"],
    "NGC 6611": ["わし星雲"],
    "NGC 6618": ["オメガ星雲"],
    "NGC 6514": ["三裂星雲"],
    "NGC 6853": ["あれい状星雲"],
    "NGC 224": ["アンドロメダ銀河", "アンドロメダ星雲", "アンドロメダ大星雲"],
    "NGC 1976": ["オリオン大星雲"],
    "NGC 2632": ["プレセペ星団"],
    "M 45": ["プレアデス星団", "すばる", "昴"],
    "NGC 6720": ["リング状星雲", "環状星雲", "ドーナツ星雲"],
}

# Stellarium's deep-sky catalogue: a gzip-compressed Qt data stream (big
# endian; reals written as 8-byte doubles, texts as a byte length and
# UTF-16BE) of a version and an edition text, then one record per object.
# Record fields in order (Stellarium's Nebula::readDSO of catalogue version
# 3.x): number, RA, Dec (radians), B, V (99 = none), type, morphological
# type (text), major and minor axis, orientation (integer), redshift and its
# error, parallax and its error, distance and its error, then the numbers in
# NGC, IC, M, C, B, Sh2, vdB, RCW, LDN, LBN, Cr, Mel, PGC, UGC, the Ced
# designation (text), Arp, VV, the PK, PN G, SNR G, ACO, HCG, ESO and vdBH
# designations (texts), DWB, Tr, St, Ru and vdB-Ha.
DSO_FIELDS = ("I" "dddd" "I" "s" "dd" "I" "dddddd" "IIIIIIIIIIIIII" "s" "II" "sssssss" "IIIII")
DSO_NGC_FIELD, DSO_IC_FIELD, DSO_V_FIELD = 16, 17, 4
NO_MAGNITUDE = 99.0


def read_stellarium_v(path):
    """'NGC 5139' / 'IC 434' -> V magnitude, from Stellarium's catalog.dat."""
    with gzip.open(path) as f:
        data = f.read()
    pos = 0

    def text():
        nonlocal pos
        (n,) = struct.unpack_from(">I", data, pos)
        pos += 4
        if n == 0xFFFFFFFF:
            return ""
        pos += n
        return data[pos - n:pos].decode("utf-16-be")

    version = text()
    text()  # edition
    if not version.startswith("3."):
        common.die("%s: catalogue version %s, expected 3.x" % (path, version))
    v_by_id = {}
    while pos < len(data):
        fields = []
        for code in DSO_FIELDS:
            if code == "s":
                fields.append(text())
            else:
                fields.append(struct.unpack_from(">" + code, data, pos)[0])
                pos += struct.calcsize(code)
        v = fields[DSO_V_FIELD]
        if v >= NO_MAGNITUDE:
            continue
        for prefix, i in (("NGC", DSO_NGC_FIELD), ("IC", DSO_IC_FIELD)):
            if fields[i]:
                v_by_id.setdefault("%s %d" % (prefix, fields[i]), round(v, 2))
    return v_by_id


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
    stellarium_v = read_stellarium_v(os.path.join(sdir, "nebulae/default/catalog.dat"))

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
        # The usual Japanese name leads; Stellarium's translation and the
        # other usual names stay findable among the further names.
        local = COMMON_NAMES_JA.get(oid, [])
        further_ja = [n for n in [name_ja] + local[1:] if n and n != local[0]] if local else []
        name_ja = local[0] if local else name_ja
        if typ in V_MAGNITUDE_TYPES:
            mag = stellarium_v.get(oid, mag)
        mag = MAGNITUDE_CORRECTIONS.get(oid, (mag,))[0]
        type_ja, type_en = TYPES[typ]
        rows.append([
            oid, str(typ), type_ja, type_en,
            common.fmt_fixed(ra, 7), common.fmt_fixed(dec, 7),
            fmt_number(mag), fmt_number(major), fmt_number(minor), fmt_number(pa), pgc,
            "|".join(designations),
            common_names[0] if common_names else "", name_ja,
            "|".join(common_names[1:] + further_ja),
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
            "source: stellarium-data %s, nebulae/default/names.dat, nebulae/default/catalog.dat"
            " (V magnitudes) and translations/stellarium-skycultures/ja.qm (GPL-2+)" % v_stellarium,
            "source: Harris 1996 (2010 edition) for the V of NGC 5139; Japanese common names of"
            " famous objects from the lists named in tools/make_deepsky.py",
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
