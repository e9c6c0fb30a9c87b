#!/usr/bin/python3
"""Writes data/places.tsv: named places on the Earth, the Moon and Mars.

    python3 tools/make_places.py PKGS [--out DATA_DIR]

PKGS holds stellarium-data_*.deb and its unpacked folder (tools/README.md).

- The Moon and Mars: stellarium-data's data/nomenclature.dat (the IAU
  Gazetteer of Planetary Nomenclature, https://planetarynames.wr.usgs.gov),
  with the Japanese names of translations/stellarium-planetary-features/ja.qm.
  Kept, to stay compact: every named feature that is not a crater, and the
  craters of at least 20 km (Moon) or 50 km (Mars) across; lettered
  satellite craters are left out.  Latitudes are planetocentric, longitudes
  east, degrees, as the Gazetteer gives them.
- The Earth: a few observatories, at the geodetic places they publish
  (EARTH_PLACES below).

Each place gets a key for its identifier: its English name without the
characters that cannot stand in an identifier part (letters and digits
kept, ASCII-folded where the name has accents); a clash gets the
Gazetteer's feature number appended.
"""

import argparse
import gzip
import os
import re
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import skydata_common as common  # noqa: E402
import make_names_ja  # noqa: E402

# (key, English name, Japanese name, descriptor, latitude N, longitude E, size km, source)
EARTH_PLACES = [
    ("Greenwich", "Royal Observatory Greenwich", "グリニッジ天文台", "observatory",
     51.4778, -0.0015, 0, "Royal Museums Greenwich: 51 28 40.1 N, 0 00 05.3 W (Airy transit circle)"),
    ("MaunaKea", "Mauna Kea Observatories", "マウナケア天文台群", "observatory",
     19.8207, -155.4681, 0, "University of Hawaii Institute for Astronomy: 19 49 14 N, 155 28 05 W"),
    ("Paranal", "Paranal Observatory", "パラナル天文台", "observatory",
     -24.6272, -70.4042, 0, "ESO: 24 37 38 S, 70 24 15 W"),
    ("Mitaka", "NAOJ Mitaka Campus", "国立天文台三鷹キャンパス", "observatory",
     35.6753, 139.5411, 0, "National Astronomical Observatory of Japan: 35 40 31 N, 139 32 28 E"),
]

JAPANESE_DESCRIPTORS = {
    "crater": "クレーター", "craters": "クレーター群", "mare": "海", "maria": "海",
    "lacus": "湖", "sinus": "入江", "palus": "沼", "oceanus": "大洋", "mons": "山",
    "montes": "山脈", "rima": "谷", "rimae": "谷群", "vallis": "谷", "valles": "谷群",
    "dorsum": "尾根", "dorsa": "尾根群", "rupes": "崖", "rupēs": "崖", "catena": "クレーター列",
    "catenae": "クレーター列", "promontorium": "岬", "landing site name": "着陸地点",
    "albedo feature": "アルベド地形", "fossa": "溝", "fossae": "溝群", "mensa": "台地",
    "mensae": "台地群", "planum": "高原", "plana": "高原", "planitia": "平原", "chaos": "カオス地形",
    "tholus": "丘", "tholi": "丘群", "patera": "火口", "paterae": "火口群", "colles": "丘陵",
    "terra": "大陸", "labyrinthus": "迷路状地形", "chasma": "峡谷", "chasmata": "峡谷群",
    "cavus": "窪地", "cavi": "窪地群", "scopulus": "崖", "sulcus": "溝", "sulci": "溝群",
    "undae": "砂丘地帯", "unda": "砂丘", "vastitas": "大平原", "observatory": "天文台",
}

COLUMNS = ["body", "key", "name_en", "name_ja", "kind_en", "kind_ja", "lat_deg", "lon_deg",
           "size_km"]
LINE = re.compile(r'^(\S+)\s+(\d+)\s+_\("(.*)","(.*)"\)\s+(\S\S)\s+(\S+)\s+(\S+)\s+(\S+)\s*$')


def key_of(name):
    folded = unicodedata.normalize("NFKD", name).encode("ascii", "ignore").decode("ascii")
    return re.sub(r"[^A-Za-z0-9]", "", folded)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pkgs", help="folder with the downloaded and unpacked packages")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()

    root = common.package_dir(args.pkgs, "stellarium-data")
    version = common.deb_version(args.pkgs, "stellarium-data")
    share = os.path.join(root, "usr/share/stellarium")
    japanese = {}
    qm = os.path.join(share, "translations/stellarium-planetary-features/ja.qm")
    for source, comment, translation in make_names_ja.read_qm(qm):
        if translation:
            japanese[(source, comment)] = translation

    rows, keys = [], set()
    with gzip.open(os.path.join(share, "data/nomenclature.dat"), "rt", encoding="utf-8") as f:
        for line in f:
            m = LINE.match(line)
            if not m or m.group(1) not in ("Moon", "Mars"):
                continue
            body, feature_id, name, kind = m.group(1), m.group(2), m.group(3), m.group(4)
            lat, lon, size = float(m.group(6)), float(m.group(7)), float(m.group(8))
            if kind == "satellite feature":
                continue
            if kind == "crater" and size < (20 if body == "Moon" else 50):
                continue
            key = key_of(name)
            if not key:
                continue
            if (body, key) in keys:
                key += "_" + feature_id
            keys.add((body, key))
            rows.append((body, key, name, japanese.get((name, kind), ""), kind,
                         JAPANESE_DESCRIPTORS.get(kind, kind), common.fmt_fixed(lat, 4),
                         common.fmt_fixed(lon, 4), common.fmt_fixed(size, 1)))
    for key, name, name_ja, kind, lat, lon, size, _source in EARTH_PLACES:
        rows.append(("Earth", key, name, name_ja, kind, JAPANESE_DESCRIPTORS[kind],
                     common.fmt_fixed(lat, 4), common.fmt_fixed(lon, 4), common.fmt_fixed(size, 1)))
    rows.sort(key=lambda r: (r[0], r[1]))
    header = [
        "vexclk sky data: named places on the Earth, the Moon and Mars",
        "source: stellarium-data %s, data/nomenclature.dat (IAU Gazetteer of Planetary "
        "Nomenclature, USGS) and translations/stellarium-planetary-features/ja.qm (GPL-2+)"
        % version,
        "source: Earth places from the observatories' published coordinates (tools/make_places.py)",
        "made by tools/make_places.py; columns and units: data/README.md",
    ]
    common.write_tsv(os.path.join(args.out, "places.tsv"), header, COLUMNS, rows)


if __name__ == "__main__":
    main()
