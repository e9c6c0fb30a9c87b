#!/usr/bin/python3
"""Writes data/spacecraft.tsv and data/meteorites.tsv from the published values below.

    python3 tools/make_spacecraft_meteorites.py [--out DATA_DIR]

Spacecraft: the heliocentric osculating elements of the two Voyagers'
escape hyperbolas after their last planetary encounters (Voyager 1 after
Saturn, November 1980; Voyager 2 after Neptune, August 1989), mean ecliptic
and equinox J2000, as quoted by "Understanding Voyager's Position and
Journey to the Edge of the Solar System" (loislowe.com, 2025-03-02; the
values JPL's HORIZONS gives as osculating elements): a, e, i, node,
argument of perihelion, time of perihelion.  Two-body motion from them
agrees with NASA's published distances of Voyager 1 (115.25 au on
2010-11-12, 133.15 au on 2015-11-19) within 0.12 au; tests/data keeps the
check.  The data span of each starts 60 days after the encounter (the
hyperbola holds from then on) and ends at 2100-01-01 (two-body motion
without the planets' pull drifts slowly; later dates are refused).

Meteorites: falls whose time is known to the minute or better, from the
papers named in each row (the Meteoritical Bulletin Database lists each as
an observed fall with the class given).
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import skydata_common as common  # noqa: E402


def jd(year, month, day, hour=0, minute=0, second=0.0):
    """Julian Day of a Gregorian date and UT time (Meeus, Astronomical Algorithms, 7)."""
    if month <= 2:
        year, month = year - 1, month + 12
    a = year // 100
    b = 2 - a + a // 4
    whole = math.floor(365.25 * (year + 4716)) + math.floor(30.6001 * (month + 1)) + day + b - 1524.5
    return whole + (hour + minute / 60.0 + second / 3600.0) / 24.0


# key, English, Japanese, a (au), e, i, node, argument of perihelion (deg), T (JD TDB), start, end
SPACECRAFT = [
    ("Voyager1", "Voyager 1", "ボイジャー1号", -3.22183, 3.72658, 35.78764, 179.08718, 338.21284,
     2444227.30984, jd(1981, 1, 11), jd(2100, 1, 1)),
    ("Voyager2", "Voyager 2", "ボイジャー2号", -4.02351, 6.30560, 78.65402, 101.54055, 130.16769,
     2445448.72543, jd(1989, 10, 24), jd(2100, 1, 1)),
]

# key, English, Japanese, fall (UT), memo, source
METEORITES = [
    ("Chelyabinsk", "Chelyabinsk", "チェリャビンスク隕石", jd(2013, 2, 15, 3, 20, 33),
     "LL5 普通コンドライト ロシア チェリャビンスク州", "Borovicka et al. 2013, Nature 503, 235"),
    ("Pribram", "Pribram", "プシーブラム隕石", jd(1959, 4, 7, 19, 30, 20),
     "H5 普通コンドライト チェコ 火球の写真観測から軌道が求められた最初の隕石",
     "Ceplecha 1961, Bull. Astron. Inst. Czech. 12, 21"),
    ("Peekskill", "Peekskill", "ピークスキル隕石", jd(1992, 10, 9, 23, 48),
     "H6 普通コンドライト アメリカ ニューヨーク州", "Brown et al. 1994, Nature 367, 624"),
    ("TagishLake", "Tagish Lake", "タギシュ・レイク隕石", jd(2000, 1, 18, 16, 43, 42),
     "C2 炭素質コンドライト カナダ ブリティッシュコロンビア州", "Brown et al. 2000, Science 290, 320"),
    ("AlmahataSitta", "Almahata Sitta", "アルマハータ・シッタ隕石", jd(2008, 10, 7, 2, 45, 40),
     "ユレイライト スーダン 小惑星2008 TC3の破片", "Jenniskens et al. 2009, Nature 458, 485"),
    ("Narashino", "Narashino", "習志野隕石", jd(2020, 7, 1, 17, 32),
     "H5 普通コンドライト 千葉県習志野市", "National Museum of Nature and Science, 2020-07-13"),
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    args = parser.parse_args()
    rows = []
    for key, en, ja, a, e, i, node, peri, tp, start, end in SPACECRAFT:
        q = a * (1.0 - e)
        rows.append((key, en, ja, common.fmt_fixed(q, 6), common.fmt_fixed(e, 5),
                     common.fmt_fixed(i, 5), common.fmt_fixed(node, 5), common.fmt_fixed(peri, 5),
                     common.fmt_fixed(tp, 5), common.fmt_fixed(start, 5), common.fmt_fixed(end, 5)))
    common.write_tsv(
        os.path.join(args.out, "spacecraft.tsv"),
        ["vexclk sky data: spacecraft on escape orbits, heliocentric osculating elements "
         "(ecliptic and equinox J2000)",
         "source: osculating elements as published (tools/make_spacecraft_meteorites.py names them)",
         "made by tools/make_spacecraft_meteorites.py; columns and units: data/README.md"],
        ["key", "name_en", "name_ja", "q_au", "e", "i_deg", "node_deg", "peri_arg_deg",
         "tp_jd_tt", "start_jd_ut", "end_jd_ut"],
        rows)
    rows = [(key, en, ja, common.fmt_fixed(fall, 6), memo, source)
            for key, en, ja, fall, memo, source in METEORITES]
    common.write_tsv(
        os.path.join(args.out, "meteorites.tsv"),
        ["vexclk sky data: observed meteorite falls with their times",
         "source: the paper of each row (column source)",
         "made by tools/make_spacecraft_meteorites.py; columns and units: data/README.md"],
        ["key", "name_en", "name_ja", "fall_jd_ut", "memo", "source"], rows)


if __name__ == "__main__":
    main()
