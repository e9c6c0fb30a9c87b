#!/usr/bin/env python3
"""Writes the sky engine's tables of variable and double stars, exoplanets, novae and supernovae, and faint stars.

Reads (see tools/README.md for the package folder PKGS):
  - stellarium-data stars/default/gcvs_hip_part.dat: the GCVS entries of
    Hipparcos stars, tab-separated: HIP, GCVS designation (Greek in UTF-8),
    variability type, maximum, a flag for the minimum (0 a magnitude, 1 an
    amplitude to add to the maximum, 2 a limit), minimum, secondary minimum,
    photometric band, epoch (JD - 2400000), period (days), rise or eclipse
    duration (% of the period), spectral type.
  - stellarium-data stars/default/wds_hip_part.dat: one measure per
    Hipparcos star of the WDS: HIP, WDS designation, year, position angle
    (degrees), separation (arcsec); -1 for an unknown value, 999.9 for a
    separation the field could not hold.
  - kstars-data stars.dat: the Hipparcos and Tycho stars to V 8.99 as text
    (J2000 position, proper motion, V, B-V, spectral class).
  - data/stars.tsv (tools/make_stars.py): which Hipparcos stars the engine
    has, so that each variable or double star has its place.
The exoplanets, novae and supernovae are short tables in this script, each
value with its published source.

Writes variable_stars.tsv, double_stars.tsv, exoplanets.tsv, transients.tsv
and faint_stars.tsv into --out (data/).
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import skydata_common as common  # noqa: E402
import stellarium_stars  # noqa: E402
from make_stars import separation_arcsec  # noqa: E402

# A stars.dat entry within this distance of a star of stars.tsv is that star
# (stars.dat gives 0.01 s and 0.1"; the catalogues' positions agree to 0.1").
SAME_STAR_ARCSEC = 2.0
FAINT_LIMIT_V = 9.0

# Planets of other stars: host (HIP), planet letter, name, IAU name, orbital
# period (days), semi-major axis (au), eccentricity, minimum or true mass
# (Jupiter masses), radius (Jupiter radii; empty when unknown), discovery
# year, source of the orbit.  Only hosts whose every confirmed planet is
# listed, so that a host's planet count is true (NASA Exoplanet Archive,
# planetary systems table, 2023).
EXOPLANETS = [
    (113357, "b", "51 Peg b", "Dimidium", "4.230785", "0.0527", "0.013", "0.472", "", 1995,
     "Butler et al. 2006, ApJ 646, 505 (Catalog of Nearby Exoplanets)"),
    (67275, "b", "tau Boo b", "", "3.312463", "0.0481", "0.023", "4.13", "", 1996,
     "Butler et al. 2006, ApJ 646, 505"),
    (65721, "b", "70 Vir b", "", "116.6884", "0.484", "0.4007", "7.46", "", 1996,
     "Butler et al. 2006, ApJ 646, 505"),
    (16537, "b", "eps Eri b", "AEgir", "2692", "3.48", "0.07", "0.78", "", 2000,
     "Mawet et al. 2019, AJ 157, 33"),
    (108859, "b", "HD 209458 b", "Osiris", "3.52474859", "0.04707", "0", "0.685", "1.359", 1999,
     "Knutson et al. 2007, ApJ 655, 564 (period); Torres et al. 2008, ApJ 677, 1324"),
    (98505, "b", "HD 189733 b", "", "2.21857567", "0.03142", "0", "1.138", "1.138", 2005,
     "Agol et al. 2010, ApJ 721, 1861 (period); Southworth 2010, MNRAS 408, 1689"),
]

def hms(h, m, s):
    """Degrees of a right ascension in hours, minutes and seconds."""
    return (h + m / 60.0 + s / 3600.0) * 15.0


def dms(sign, d, m, s):
    """Degrees of a signed declination in degrees, minutes and seconds."""
    return sign * (d + m / 60.0 + s / 3600.0)


# Historic supernovae and bright novae: identifier, kind, Japanese and
# English name, J2000 RA and Dec (degrees, from the sexagesimal values of
# the source named), GCVS designation, cross-identifications, Japanese
# summary (our own words, from the sources named in data/README.md).
TRANSIENTS = [
    ("SN1006", "supernova", "おおかみ座の超新星", "SN 1006", hms(15, 2, 50), dms(-1, 41, 56, 0),
     "", "SNR G327.6+14.6",
     "1006年4月30日ごろ、おおかみ座に出現。極大光度は約-7.5等で、記録に残る最も明るい超新星。"
     "中国、日本（明月記）、エジプトなどに記録がある。"),
    ("SN1054", "supernova", "おうし座の超新星", "SN 1054", hms(5, 34, 31.94), dms(1, 22, 0, 52.2),
     "", "SNR G184.6-05.8|M 1|PSR B0531+21",
     "1054年7月4日に出現し、昼間も23日間見えたと宋の記録にある（明月記にも記載）。"
     "残骸はかに星雲（M1）で、中心にパルサーがある。"),
    ("SN1572", "supernova", "ティコの超新星", "SN 1572", hms(0, 25, 18), dms(1, 64, 9, 0),
     "B Cas", "SNR G120.1+01.4|3C 10",
     "1572年11月、カシオペヤ座に出現し、ティコ・ブラーエが詳しく観測した。"
     "極大光度は約-4等。Ia型の超新星。"),
    ("SN1604", "supernova", "ケプラーの超新星", "SN 1604", hms(17, 30, 42), dms(-1, 21, 29, 0),
     "V843 Oph", "SNR G004.5+06.8",
     "1604年10月9日、へびつかい座に出現し、ケプラーが観測した。極大光度は約-2.5等。"
     "銀河系内で肉眼で見えた最後の超新星。"),
    ("SN1987A", "supernova", "大マゼラン雲の超新星", "SN 1987A", hms(5, 35, 28.03),
     dms(-1, 69, 16, 11.8), "", "Sk -69 202",
     "1987年2月23日、大マゼラン雲に出現したII型超新星。極大光度は約2.9等（5月）。"
     "カミオカンデなどで爆発のニュートリノが検出された。"),
    ("V603Aql", "nova", "わし座新星1918", "Nova Aquilae 1918", hms(18, 48, 54.64),
     dms(1, 0, 35, 2.9), "V603 Aql", "HIP 92316",
     "1918年6月8日に発見された新星。極大光度は約-0.5等で、"
     "1604年のケプラーの超新星以来最も明るい新星。"),
    ("CPPup", "nova", "とも座新星1942", "Nova Puppis 1942", hms(8, 11, 46.02), dms(-1, 35, 21, 5.2),
     "CP Pup", "",
     "1942年11月8日に発見された新星。極大光度は約0.5等で、"
     "もっとも速く暗くなった新星の一つ。"),
    ("GKPer", "nova", "ペルセウス座新星1901", "Nova Persei 1901", hms(3, 31, 12.01),
     dms(1, 43, 54, 15.4), "GK Per", "",
     "1901年2月21日にT・D・アンダーソンが発見した新星。極大光度は約0.2等。"
     "周りに広がる新星殻は「花火星雲」と呼ばれる。"),
]


def gcvs_id(designation):
    """The engine's identifier part of a GCVS designation: 'δ Cep' -> 'δ_Cep'.

    Greek letters stay: their ASCII abbreviations would collide with
    two-letter names ('ν Pav' and 'NU Pav'); the engine reads both forms.
    """
    return designation.replace(" ", "_")


def number_or_empty(text):
    text = text.strip()
    if not text:
        return ""
    float(text)  # a malformed number stops the script
    return text


def jd_of(mjd_text):
    """GCVS epoch (JD - 2400000, as written) as a Julian Day text, exactly."""
    text = mjd_text.strip()
    if not text:
        return ""
    whole, _, frac = text.partition(".")
    return "%d.%s" % (2400000 + int(whole), frac or "0")


def read_variables(path, stars_by_hip):
    rows, dropped = [], 0
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            p = line.rstrip("\n").split("\t")
            hip = int(p[0])
            if hip not in stars_by_hip:
                dropped += 1
                continue
            maximum = number_or_empty(p[3])
            flag, minimum = p[4].strip(), number_or_empty(p[5])
            if flag == "1" and maximum and minimum:
                # An amplitude: the minimum is the maximum plus it.
                decimals = max(len(x.partition(".")[2]) for x in (maximum, minimum))
                minimum = "%.*f" % (decimals, float(maximum) + float(minimum))
            rows.append([gcvs_id(p[1]), str(hip), p[1], p[2], maximum, minimum,
                         "<" if flag == "2" else "", p[7], jd_of(p[8]), number_or_empty(p[9]),
                         number_or_empty(p[10]), p[11]])
    rows.sort(key=lambda r: int(r[1]))
    ids = [r[0].lower() for r in rows]
    if len(ids) != len(set(ids)):
        common.die("variable stars: two rows share an identifier")
    return rows, dropped


def read_doubles(path, stars_by_hip):
    rows, dropped, saturated = [], 0, 0
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            hip, wds, year, pa, sep = line.split()
            if int(hip) not in stars_by_hip:
                dropped += 1
                continue
            year = "" if int(year) < 0 else year
            pa = "" if int(pa) < 0 else pa
            if float(sep) >= 999.9:
                saturated += 1
                sep = ""
            elif float(sep) < 0:
                sep = ""
            rows.append([wds, hip, year, pa, sep])
    rows.sort(key=lambda r: (r[0], int(r[1])))
    return rows, dropped, saturated


def read_faint(path, known):
    """stars.dat entries that stars.tsv does not hold, to V 9."""
    rows = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            if line.startswith("#") or len(line) < 58:
                continue
            v = float(line[45:51])
            if v >= FAINT_LIMIT_V:
                continue
            ra = (int(line[0:2]) + int(line[2:4]) / 60.0 + float(line[4:9]) / 3600.0) * 15.0
            sign = -1.0 if line[10] == "-" else 1.0
            dec = sign * (int(line[11:13]) + int(line[13:15]) / 60.0 + float(line[15:19]) / 3600.0)
            if known.near(ra, dec):
                continue
            bv = line[51:56].strip()
            rows.append([common.fmt_fixed(ra, 5), common.fmt_fixed(dec, 5),
                         "%g" % float(line[20:29]), "%g" % float(line[29:38]), "%.2f" % v,
                         "%.2f" % float(bv) if bv else "", line[56:58].strip()])
    rows.sort(key=lambda r: (float(r[0]), float(r[1])))
    return rows


class PositionIndex:
    def __init__(self, stars):
        self.bands = {}
        for s in stars:
            ra, dec = float(s["ra_deg"]), float(s["dec_deg"])
            self.bands.setdefault(int(math.floor(dec * 10)), []).append((ra, dec))

    def near(self, ra, dec):
        b = int(math.floor(dec * 10))
        return any(separation_arcsec(ra, dec, r, d) <= SAME_STAR_ARCSEC
                   for band in (b - 1, b, b + 1) for r, d in self.bands.get(band, ()))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pkgs")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()

    kdir = os.path.join(common.package_dir(args.pkgs, "kstars-data"), "usr/share/kstars")
    sdir = os.path.join(common.package_dir(args.pkgs, "stellarium-data"),
                        "usr/share/stellarium/stars/default")
    v_kstars = common.deb_version(args.pkgs, "kstars-data")
    v_stellarium = common.deb_version(args.pkgs, "stellarium-data")
    stars = common.read_tsv(os.path.join(args.out, "stars.tsv"))[1]
    if not stars:
        common.die("run tools/make_stars.py first")
    stars_by_hip = {int(s["hip"]): s for s in stars if s["hip"] and s["id"] == "HIP" + s["hip"]}
    licence = "licence: GPL-2+; made by tools/make_star_extras.py; columns and units: data/README.md"

    variables, var_dropped = read_variables(os.path.join(sdir, "gcvs_hip_part.dat"), stars_by_hip)
    print("variable stars: %d kept, %d without a star in stars.tsv" % (len(variables), var_dropped))
    common.write_tsv(
        os.path.join(args.out, "variable_stars.tsv"),
        ["vexclk sky data: variable stars of the GCVS that are Hipparcos stars of stars.tsv",
         "source: stellarium-data %s, stars/default/gcvs_hip_part.dat (GCVS, Samus et al.)"
         % v_stellarium, licence, "epoch: Julian Day as the GCVS gives it (heliocentric)"],
        ["id", "hip", "designation", "type", "max_mag", "min_mag", "min_flag", "band",
         "epoch_jd", "period_d", "rise_pct", "sptype"],
        variables)

    doubles, dbl_dropped, saturated = read_doubles(os.path.join(sdir, "wds_hip_part.dat"),
                                                   stars_by_hip)
    print("double stars: %d kept, %d without a star in stars.tsv, %d separations over 999.9\""
          % (len(doubles), dbl_dropped, saturated))
    common.write_tsv(
        os.path.join(args.out, "double_stars.tsv"),
        ["vexclk sky data: double stars of the WDS that are Hipparcos stars of stars.tsv",
         "source: stellarium-data %s, stars/default/wds_hip_part.dat (WDS, Mason et al.)"
         % v_stellarium, licence],
        ["wds", "hip", "last_year", "last_pa_deg", "last_sep_arcsec"],
        doubles)

    planets = []
    for hip, letter, name, iau, period, a, e, mass, radius, year, source in EXOPLANETS:
        if hip not in stars_by_hip:
            common.die("exoplanet host HIP %d is not in stars.tsv" % hip)
        planets.append(["HIP%d%s" % (hip, letter), str(hip), letter, name, iau, period, a, e, mass,
                        radius, str(year), source])
    common.write_tsv(
        os.path.join(args.out, "exoplanets.tsv"),
        ["vexclk sky data: planets of other stars (every confirmed planet of each host)",
         "source: the papers named in the column source; NASA Exoplanet Archive for the counts",
         "made by tools/make_star_extras.py; columns and units: data/README.md"],
        ["id", "host_hip", "letter", "name", "iau_name", "period_d", "a_au", "e", "mass_mjup",
         "radius_rjup", "discovered", "source"],
        planets)

    # A nova that is a Hipparcos star checks the table's place.
    hip_records = stellarium_stars.read_hip_records(sdir)
    for i, _, _, _, ra, dec, _, cross, _ in TRANSIENTS:
        for item in cross.split("|"):
            if item.startswith("HIP "):
                rec = hip_records[int(item[4:])][0]
                d = separation_arcsec(ra, dec, rec.ra_deg, rec.dec_deg)
                print("%s: %.2f\" from its Hipparcos record" % (i, d))
                if d > 1.0:
                    common.die("%s: the table's place is %.1f\" from HIP %s" % (i, d, item[4:]))
    transients = [[i, kind, ja, en, common.fmt_fixed(ra, 7), common.fmt_fixed(dec, 7), gcvs, cross,
                   summary] for i, kind, ja, en, ra, dec, gcvs, cross, summary in TRANSIENTS]
    common.write_tsv(
        os.path.join(args.out, "transients.tsv"),
        ["vexclk sky data: historic supernovae and bright novae",
         "positions: J2000; sources and the summaries' facts: data/README.md",
         "made by tools/make_star_extras.py; summaries written for vexclk"],
        ["id", "kind", "name_ja", "name_en", "ra_deg", "dec_deg", "gcvs", "cross_ids", "summary"],
        transients)

    faint = read_faint(os.path.join(kdir, "stars.dat"), PositionIndex(stars))
    print("faint stars: %d of stars.dat to V %.1f not in stars.tsv" % (len(faint), FAINT_LIMIT_V))
    common.write_tsv(
        os.path.join(args.out, "faint_stars.tsv"),
        ["vexclk sky data: stars of kstars' stars.dat to V 9 that stars.tsv does not hold",
         "source: kstars-data %s, stars.dat (Hipparcos and Tycho, J2000)" % v_kstars, licence,
         "no identifier column: the engine names each star by its position (data/README.md)"],
        ["ra_deg", "dec_deg", "pmra_mas_yr", "pmdec_mas_yr", "vmag", "bv", "sptype"],
        faint)


if __name__ == "__main__":
    main()
