#!/usr/bin/env python3
"""Makes data/names_ja.tsv: English object names and their Japanese names.

Source: stellarium-data translations/stellarium-skycultures/ja.qm, the Qt
translation of Stellarium's sky-culture texts: star names (Sirius -> シリウス),
constellation names (Orion -> オリオン), deep-sky names (Andromeda Galaxy ->
アンドロメダ銀河), planets and moons.  translations/stellarium/ja.qm holds the
program's interface texts; it adds none of the catalogue names, so it is not
read.

The .qm file is read directly (its layout is Qt's: a 16-byte magic, then
tagged sections; the messages section holds, per message, tagged source text,
comment and UTF-16BE translation), so neither Qt nor lconvert is needed.  A
.ts file written by `lconvert -i ja.qm -o ja.ts` is accepted instead with
--ts; both give the same table.

Usage: make_names_ja.py PKGS [--out DATA_DIR] [--ts FILE.ts]
"""

import argparse
import os
import struct
import xml.etree.ElementTree as ET

import skydata_common as common

QM_MAGIC = bytes([0x3C, 0xB8, 0x64, 0x18, 0xCA, 0xEF, 0x9C, 0x95,
                  0xCD, 0x21, 0x1C, 0xBF, 0x60, 0xA1, 0xBD, 0xDD])
SECTION_MESSAGES = 0x69
TAG_END, TAG_SOURCE16, TAG_TRANSLATION, TAG_CONTEXT16 = 1, 2, 3, 4
TAG_OBSOLETE1, TAG_SOURCE, TAG_CONTEXT, TAG_COMMENT, TAG_OBSOLETE2 = 5, 6, 7, 8, 9


def read_qm(path):
    """Returns [(source, comment, translation)] of a Qt .qm file."""
    data = open(path, "rb").read()
    if not data.startswith(QM_MAGIC):
        common.die("%s: not a Qt .qm file" % path)
    pos = len(QM_MAGIC)
    messages = None
    while pos + 5 <= len(data):
        tag = data[pos]
        (length,) = struct.unpack_from(">I", data, pos + 1)
        pos += 5
        if tag == SECTION_MESSAGES:
            messages = data[pos:pos + length]
        pos += length
    if messages is None:
        common.die("%s: no messages section" % path)
    out = []
    pos = 0
    source = comment = ""
    translations = []
    while pos < len(messages):
        tag = messages[pos]
        pos += 1
        if tag == TAG_END:
            for t in translations:
                out.append((source, comment, t))
            source = comment = ""
            translations = []
        elif tag == TAG_OBSOLETE1:
            pos += 4
        elif tag in (TAG_TRANSLATION, TAG_SOURCE, TAG_CONTEXT, TAG_COMMENT):
            (length,) = struct.unpack_from(">I", messages, pos)
            pos += 4
            if length == 0xFFFFFFFF:
                continue
            blob = messages[pos:pos + length]
            pos += length
            if tag == TAG_TRANSLATION:
                translations.append(blob.decode("utf-16-be"))
            elif tag == TAG_SOURCE:
                source = blob.decode("utf-8")
            elif tag == TAG_COMMENT:
                comment = blob.decode("utf-8")
        elif tag == TAG_OBSOLETE2:
            pass
        else:
            common.die("%s: unknown message tag %d" % (path, tag))
    return out


def read_ts(path):
    out = []
    for message in ET.parse(path).getroot().iter("message"):
        translation = message.find("translation")
        if translation is None:
            continue
        numerus = translation.findall("numerusform")
        texts = [n.text or "" for n in numerus] if numerus else [translation.text or ""]
        for text in texts:
            out.append((message.findtext("source") or "", message.findtext("comment") or "", text))
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pkgs", help="folder with the downloaded and unpacked packages")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"))
    parser.add_argument("--ts", help="read this lconvert output instead of the .qm file")
    args = parser.parse_args()

    root = common.package_dir(args.pkgs, "stellarium-data")
    version = common.deb_version(args.pkgs, "stellarium-data")
    rel = "usr/share/stellarium/translations/stellarium-skycultures/ja.qm"
    messages = read_ts(args.ts) if args.ts else read_qm(os.path.join(root, rel))

    rows = set()
    for source, comment, translation in messages:
        source = common.clean_field(source)
        translation = common.clean_field(translation)
        if source and translation:
            rows.add((source, translation, common.clean_field(comment)))
    rows = sorted(rows, key=lambda r: (r[0], r[2], r[1]))
    common.write_tsv(
        os.path.join(args.out, "names_ja.tsv"),
        [
            "vexclk sky data: Japanese names of objects, by their English name",
            "source: stellarium-data %s, %s (Stellarium sky-culture translations)" % (version, rel),
            "licence: GPL-2+ (Stellarium); made by tools/make_names_ja.py",
            "kind: the translator's comment (constellation genitive, asterism, moon, ...);"
            " empty for the plain name",
        ],
        ["english", "japanese", "kind"],
        [list(r) for r in rows],
    )


if __name__ == "__main__":
    main()
