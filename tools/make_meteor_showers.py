#!/usr/bin/env python3
"""Makes data/meteor_showers.tsv: the meteor showers of the IMO working list
with their radiants, as Stellarium's meteor-shower plug-in carries them.

Source: Stellarium's showers.json (plug-in MeteorShowers, version 2 of its
format), which its authors keep from the International Meteor Organization's
Meteor Shower Calendar and working list of visual meteor showers: per shower
the IAU code and number, the solar longitudes (J2000) of the start, peak and
end of the activity, the radiant at the peak (J2000 RA and Dec, degrees), its
drift (degrees per day), the geocentric speed (km/s), the ZHR (or a range
for variable showers), the population index and the parent body.  Only the
"generic" activity of each shower is kept (not the year-by-year entries).
Debian's stellarium package builds the file into the program as a Qt
resource (a zlib stream inside usr/bin/stellarium); the script finds it
there.  Licence GPL-2+ (Stellarium).

Left out: the Antihelion source (ANT), whose radiant follows the antisolar
point instead of having a place of its own (the file gives it RA 0, Dec 0).

Japanese names: Stellarium's Japanese translation (stellarium-data,
translations/stellarium/ja.qm), read with make_names_ja.read_qm; for the
eleven names it lacks, JA_NAMES below, formed the same way (the
constellation's Japanese name, the star's Greek letter, 流星群, and the month
where the English name has one).

Usage: make_meteor_showers.py PKGS [--out DATA_DIR]
  PKGS holds stellarium_*.deb and stellarium-data_*.deb and their unpacked
  folders stellarium/ and stellarium-data/ (tools/README.md).
"""

import argparse
import json
import os
import re
import zlib

import make_names_ja
import skydata_common as common

JA_NAMES = {
    "Daytime Arietids": "昼間のおひつじ座流星群",
    "Aurigids": "ぎょしゃ座流星群",
    "October δ-Aurigids": "10月ぎょしゃ座δ流星群",
    "April Lyrids": "4月こと座流星群",
    "December Monocerotids": "12月いっかくじゅう座流星群",
    "η-Eridanids": "エリダヌス座η流星群",
    "γ-Ursae Minorids": "こぐま座γ流星群",
    "July Pegasids": "7月ペガスス座流星群",
    "July γ-Draconids": "7月りゅう座γ流星群",
    "October Camelopardalids": "10月きりん座流星群",
}

GREEK = {"α": "Alpha", "β": "Beta", "γ": "Gamma", "δ": "Delta", "ε": "Epsilon", "ζ": "Zeta",
         "η": "Eta", "θ": "Theta", "ι": "Iota", "κ": "Kappa", "λ": "Lambda", "μ": "Mu",
         "ν": "Nu", "ξ": "Xi", "ο": "Omicron", "π": "Pi", "ρ": "Rho", "σ": "Sigma", "τ": "Tau",
         "υ": "Upsilon", "φ": "Phi", "χ": "Chi", "ψ": "Psi", "ω": "Omega"}


def find_showers_json(binary):
    """The showers.json resource: the zlib stream that decodes to it."""
    data = open(binary, "rb").read()
    for match in re.finditer(rb"\x78[\x01\x5e\x9c\xda]", data):
        try:
            text = zlib.decompressobj().decompress(data[match.start():match.start() + (1 << 21)])
        except zlib.error:
            continue
        if b'"showers"' in text and b'"radiantAlpha"' in text:
            return json.loads(text.decode("utf-8"))
    common.die("%s: no showers.json resource found" % binary)


def identifier(name):
    """The engine's name of a shower: the English name, Greek letters
    spelt out, letters and digits only ("Eta Aquariids" -> "EtaAquariids")."""
    spelt = "".join(GREEK.get(c, c) for c in name)
    return "".join(c for c in spelt if c.isalnum() and c.isascii())


def number(value, decimals):
    return "" if value is None else common.fmt_fixed(float(value), decimals)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("pkgs")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()
    program = common.package_dir(args.pkgs, "stellarium")
    data_pkg = common.package_dir(args.pkgs, "stellarium-data")
    version = common.deb_version(args.pkgs, "stellarium")
    showers = find_showers_json(os.path.join(program, "usr/bin/stellarium"))["showers"]
    qm = make_names_ja.read_qm(os.path.join(data_pkg, "usr/share/stellarium/translations/stellarium/ja.qm"))
    translated = {}
    for source, comment, text in qm:
        translated.setdefault(source, text)

    rows = []
    for code, s in showers.items():
        if code == "ANT":
            continue
        name = s["designation"]
        ja = translated.get(name) or JA_NAMES.get(name)
        if not ja:
            common.die("%s: no Japanese name" % name)
        generic = [a for a in s["activity"] if a.get("year") == "generic"]
        if len(generic) != 1:
            common.die("%s: expected one generic activity" % code)
        a = generic[0]
        zhr = a.get("zhr")
        rows.append([identifier(name), code, s.get("IAUNo", ""), name, ja,
                     number(a["peak"], 3), number(a["start"], 1), number(a["finish"], 1),
                     number(s["radiantAlpha"], 2), number(s["radiantDelta"], 2),
                     number(s["driftAlpha"], 2), number(s["driftDelta"], 2),
                     number(s.get("speed"), 1), "" if zhr is None or zhr < 0 else str(zhr),
                     a.get("variable", ""), number(s.get("pidx"), 1),
                     common.clean_field(s.get("parentObj", ""))])
    rows.sort(key=lambda r: float(r[5]))
    ids = [r[0].lower() for r in rows]
    if len(set(ids)) != len(ids):
        common.die("two showers share an identifier")
    common.write_tsv(
        os.path.join(args.out, "meteor_showers.tsv"),
        ["vexclk sky data: meteor showers of the IMO working list and their radiants",
         "source: stellarium %s, usr/bin/stellarium resource showers.json (plug-in MeteorShowers, "
         "from the IMO Meteor Shower Calendar); Japanese names: stellarium-data ja.qm and "
         "tools/make_meteor_showers.py" % version,
         "licence: GPL-2+ (Stellarium); made by tools/make_meteor_showers.py",
         "solar longitudes: J2000, degrees; radiant at the peak: J2000 RA and Dec, degrees; "
         "drift: degrees per day; speed: geocentric, km/s; zhr empty for a variable shower "
         "(zhr_variable gives its range); r: population index",
         "sorted by the solar longitude of the peak"],
        ["id", "code", "iau_number", "name_en", "name_ja", "peak_lambda_deg", "start_lambda_deg",
         "end_lambda_deg", "ra_deg", "dec_deg", "drift_ra_deg_day", "drift_dec_deg_day",
         "speed_km_s", "zhr", "zhr_variable", "r", "parent"],
        rows)
    print("meteor_showers.tsv: %d showers" % len(rows))


if __name__ == "__main__":
    main()
