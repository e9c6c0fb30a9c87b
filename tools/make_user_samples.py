#!/usr/bin/env python3
"""Makes the samples of the user's own sky objects that ship in data/:

  data/adf/caldwell.csv           an ADF system: twelve objects of the
                                  Caldwell catalogue (P. Moore, Sky &
                                  Telescope, December 1995), C1-C13 without
                                  C9 (Sh2-155, not in OpenNGC), placed by
                                  their NGC/IC entries in data/deepsky.tsv
  data/images/m42_sample_view.bmp a 16 x 12 pixel synthetic image (a soft
  data/images/m42_sample_view.bmp.place
                                  glow), laid on the Orion Nebula at the
                                  place of NGC 1976 in data/deepsky.tsv

Run from the repository root after data/deepsky.tsv: python3 tools/make_user_samples.py
Output is the same on every run.
"""
import math
import os
import struct
import sys

CALDWELL = [  # (Caldwell number, OpenNGC id)
    (1, "NGC 188"), (2, "NGC 40"), (3, "NGC 4236"), (4, "NGC 7023"), (5, "IC 342"),
    (6, "NGC 6543"), (7, "NGC 2403"), (8, "NGC 559"), (10, "NGC 663"), (11, "NGC 7635"),
    (12, "NGC 6946"), (13, "NGC 457"),
]


def read_deepsky(path):
    rows, names = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            fields = line.rstrip("\n").split("\t")
            if names is None:
                names = fields
                continue
            row = dict(zip(names, fields))
            rows[row["id"]] = row
    return rows


def sexagesimal(value, decimals, sign):
    negative = value < 0
    scale = 10 ** decimals
    total = round(abs(value) * 3600 * scale)  # in units of 1/scale second
    whole, fraction = divmod(total, scale)
    d, rest = divmod(whole, 3600)
    m, s = divmod(rest, 60)
    text = "%02d:%02d:%02d.%0*d" % (d, m, s, decimals, fraction)
    if sign:
        text = ("-" if negative else "+") + text
    return text


def write_caldwell(deepsky, path):
    lines = [
        "# Caldwell catalogue, C1-C13 without C9 (P. Moore, Sky & Telescope, December 1995)",
        "# positions: OpenNGC (CC-BY-SA-4.0) through data/deepsky.tsv, ICRS J2000",
        "# made by tools/make_user_samples.py; format: data/README.md, \"ADF systems\"",
        "#ObjectName: Caldwell",
        "#Title: コールドウェル天体",
        "Label,Name,Title,RA,Dec",
    ]
    for number, ngc in CALDWELL:
        row = deepsky[ngc]
        ra_h = float(row["ra_deg"]) / 15.0
        dec = float(row["dec_deg"])
        title = "%s %s" % (ngc, row["type_ja"])
        lines.append("C%d,Caldwell %d,%s,%s,%s" % (number, number, title,
                                                   sexagesimal(ra_h, 2, False),
                                                   sexagesimal(dec, 1, True)))
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def write_bmp(path, width, height):
    """A 24-bit BMP: a glow falling off from the centre, bottom row first."""
    row_bytes = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(height):
        for x in range(width):
            r = math.hypot(x - (width - 1) / 2, y - (height - 1) / 2)
            v = int(255 * math.exp(-r * r / 18.0))
            pixels += bytes((v // 2, v // 3, v))  # blue, green, red
        pixels += bytes(row_bytes - width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_placement(deepsky, path):
    row = deepsky["NGC 1976"]
    lines = [
        "# placement of m42_sample_view.bmp (synthetic), made by tools/make_user_samples.py",
        "# centre: NGC 1976 in data/deepsky.tsv (OpenNGC), ICRS J2000",
        "ra = %.6f" % (float(row["ra_deg"]) / 15.0),
        "dec = %.5f" % float(row["dec_deg"]),
        "width = 1.0",
        "height = 0.75",
        "roll = 0",
    ]
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    deepsky = read_deepsky(os.path.join(data, "deepsky.tsv"))
    os.makedirs(os.path.join(data, "adf"), exist_ok=True)
    os.makedirs(os.path.join(data, "images"), exist_ok=True)
    write_caldwell(deepsky, os.path.join(data, "adf", "caldwell.csv"))
    image = os.path.join(data, "images", "m42_sample_view.bmp")
    write_bmp(image, 16, 12)
    write_placement(deepsky, image + ".place")


if __name__ == "__main__":
    main()
