#!/usr/bin/env python3
"""Makes data/stars.tsv: the stars to about V 8 with their catalogue numbers and names.

Sources:
  - kstars-data namedstars.dat and unnamedstars.dat: binary star records
    (position, proper motion, parallax, HD number, V, B-V, spectral class), and
    starnames.dat: the Bayer designation and the name of each named star, in
    the order of namedstars.dat.  They decide which stars the table holds
    (the Hipparcos stars to about V 8 and some others) and their HD numbers.
    Their positions are mostly for the Hipparcos epoch J1991.25, but some
    records are for J2000.0; several magnitudes are a component's or the
    Hipparcos Hp, and some B-V values are 0 for "unknown".
  - kstars-data stars.dat: the same stars as text (J2000 positions to 0.01 s
    and 0.1", V and B-V of the Hipparcos or Tycho entry to 0.01 mag); it gives
    V and B-V, and it is the yardstick that decides the epoch of a record.
  - stellarium-data stars/default/stars_[012]_0v0_8.cat with
    stars_hip_sp_0v0_4.cat, hip_pm.dat and hip_plx_err.dat (read by
    stellarium_stars.py): the Hipparcos new reduction (van Leeuwen 2007):
    position, proper motion, parallax and its error, and the spectral type.
  - stellarium-data stars/default/cross-id.dat (HIP, component, SAO, HD, HR),
    stars/default/name.fab (Bayer and Flamsteed designations per HIP, Greek
    letters in UTF-8), stars/default/gcvs_hip_part.dat (GCVS designations of
    variable stars per HIP), skycultures/western/star_names.fab (English names
    per HIP).
  - data/names_ja.tsv (make_names_ja.py): Japanese names by English name.

Which source wins (data/README.md says why): astrometry and spectral type from
Stellarium's Hipparcos records, V and B-V from stars.dat, the rest from kstars;
a value a source lacks comes from the next one.

What the converter does to the data:
  - drops records that repeat an earlier one exactly (kstars lists some stars
    two or three times);
  - decides the epoch of every position record on its own: the record is
    taken as it is (J2000.0) or moved from J1991.25 with its proper motion,
    whichever lands nearer the star's stars.dat position; a record that
    stars.dat does not have keeps its file's usual epoch (J2000.0 for
    Stellarium, J1991.25 for kstars);
  - takes 0 for the parallax, and 0 for both proper motions together, as "no
    value" in the kstars records;
  - finds the HIP number through the HD number (cross-id.dat); a star whose HD
    number is missing or not in cross-id.dat is matched through its kstars
    Bayer or Flamsteed designation when name.fab gives it to exactly one HIP.

The identifier of a star (column id) is "HIP" + number for the star that
holds its Hipparcos entry, else "HD" + number, else "KSJ" + its kstars
position as hhmmss.s+ddmmss; a repeated HD number gets "_2", "_3" in order of
brightness.

Usage: make_stars.py PKGS [--out DATA_DIR]
"""

import argparse
import collections
import math
import os
import re
import struct

import skydata_common as common
import stellarium_stars

EPOCH_HIPPARCOS = 1991.25
EPOCH_TARGET = 2000.0
MAS_TO_DEG = 1.0 / 3600000.0
# A stars.dat entry is the same star when it lies this close (its positions are
# given to 0.01 s and 0.1") and its V differs by less than a resolved pair's.
MATCH_RADIUS_ARCSEC = 1.5
MATCH_DV = 1.0
# stars.dat rounds positions to about 0.05": a reading must land this much
# nearer than the preferred one to overrule it (arcsec).
EPOCH_DOUBT_ARCSEC = 0.03
OTHER_SOURCE_ARCSEC = 0.1
# star_names.fab's references (reference.fab) to the IAU Catalog of Star
# Names and to the IAU's list of approved names.
IAU_REFERENCES = {"6", "12"}


def read_kstars_records(path):
    """Records of a kstars star file: (ra_h*1e6, dec*1e5, pmra*10, pmdec*10, plx*10, hd,
    v*100, bv*100, spectral, flags)."""
    data = open(path, "rb").read()
    if not data[124:126] == b"SK":
        common.die("%s: not a kstars star data file" % path)
    (nfields,) = struct.unpack_from("<H", data, 127)
    pos = 129
    names = []
    for _ in range(nfields):
        name, size, _type, _scale = struct.unpack_from("<10sBBi", data, pos)
        names.append((name.rstrip(b"\0").decode("ascii"), size))
        pos += 16
    expected = [("RA", 4), ("Dec", 4), ("dRA", 4), ("dDec", 4), ("parallax", 4), ("HD", 4),
                ("mag", 2), ("bv_index", 2), ("spec_type", 2), ("flags", 1), ("unused", 1)]
    if names != expected:
        common.die("%s: unexpected record layout %r" % (path, names))
    (ntrixels,) = struct.unpack_from("<I", data, pos)
    pos += 4
    count = 0
    for i in range(ntrixels):
        _tid, _offset, n = struct.unpack_from("<III", data, pos + 12 * i)
        count += n
    pos += 12 * ntrixels + 5
    if pos + 32 * count != len(data):
        common.die("%s: %d records do not fill the file" % (path, count))
    return [struct.unpack_from("<6i2h2sBx", data, pos + 32 * i) for i in range(count)]


def read_kstars_names(path, count):
    data = open(path, "rb").read()
    pos = 124 + 5 + 2 * 16
    (ntrixels,) = struct.unpack_from("<I", data, pos)
    pos += 4 + 12 * ntrixels
    if len(data) - pos != 40 * count:
        common.die("%s: expected %d name records" % (path, count))
    out = []
    for i in range(count):
        rec = data[pos + 40 * i:pos + 40 * i + 40]
        out.append((rec[:8].split(b"\0")[0].decode("latin-1"),
                    rec[8:].split(b"\0")[0].decode("latin-1").strip()))
    return out


def parse_kstars_bayer(text, constellations):
    """'alp1Cen' -> ('bayer', 'α1', 'Cen'); '36  Oph' -> ('flamsteed', '36', 'Oph');
    'e   Eri' -> ('bayer', 'e', 'Eri'); anything else -> None."""
    if len(text) < 7:
        return None
    head, digit, con = text[:3].strip(), text[3].strip(), text[4:7]
    if con not in constellations or not head:
        return None
    if head.isdigit():
        return ("flamsteed", head, con) if not digit else None
    letter = common.GREEK_BY_ABBR.get(head.lower(), head if len(head) == 1 else None)
    if letter is None:
        return None
    return ("bayer", letter + digit, con)


def parse_fab_designation(text, constellations):
    """name.fab's 'γ1_And', '57_And', '61_Cyg_A' -> (kind, designation, con)."""
    m = re.match(r"^(.+?)_([A-Za-z]{3})(?:_\w+)?$", text)
    if not m or m.group(2) not in constellations:
        return None
    head = m.group(1)
    return ("flamsteed" if head.isdigit() else "bayer", head, m.group(2))


def propagate(ra_deg, dec_deg, pmra, pmdec, years):
    """Moves a position by its proper motion.

    ra_deg, dec_deg: ICRS position (degrees) at the source epoch; pmra = mu_alpha*
    cos(delta), pmdec = mu_delta (mas/yr); years: target minus source epoch
    (Julian years).  Straight-line motion in space with the radial velocity and
    the parallax change neglected (ESA SP-1200 vol. 1 sect. 1.5.5); returns
    (ra, dec) in degrees, RA in [0, 360).
    """
    a, d = math.radians(ra_deg), math.radians(dec_deg)
    p = (math.cos(d) * math.cos(a), math.cos(d) * math.sin(a), math.sin(d))
    e_a = (-math.sin(a), math.cos(a), 0.0)
    e_d = (-math.sin(d) * math.cos(a), -math.sin(d) * math.sin(a), math.cos(d))
    ka = math.radians(pmra * MAS_TO_DEG) * years
    kd = math.radians(pmdec * MAS_TO_DEG) * years
    v = [p[i] + ka * e_a[i] + kd * e_d[i] for i in range(3)]
    r = math.sqrt(sum(c * c for c in v))
    ra = math.degrees(math.atan2(v[1], v[0])) % 360.0
    dec = math.degrees(math.asin(max(-1.0, min(1.0, v[2] / r))))
    return ra, dec


class TextCatalogue:
    """kstars stars.dat: J2000 position, V and B-V of each Hipparcos/Tycho entry.

    Lines: RA hhmmss.ss, Dec +ddmmss.s, proper motions, parallax, V (columns
    46-51), B-V (52-56), spectral class, names; '#' starts a comment.
    """

    def __init__(self, path):
        self.bands = collections.defaultdict(list)  # 0.1-degree Dec band -> entries
        with open(path, encoding="latin-1") as f:
            for line in f:
                if line.startswith("#") or len(line) < 58:
                    continue
                ra = (int(line[0:2]) + int(line[2:4]) / 60.0 + float(line[4:9]) / 3600.0) * 15.0
                sign = -1.0 if line[10] == "-" else 1.0
                dec = sign * (int(line[11:13]) + int(line[13:15]) / 60.0 + float(line[15:19]) / 3600.0)
                try:
                    bv = float(line[51:56])
                except ValueError:
                    bv = None
                self.bands[self.band(dec)].append((ra, dec, float(line[45:51]), bv))

    @staticmethod
    def band(dec_deg):
        return int(math.floor(dec_deg * 10.0))

    def nearest(self, ra_deg, dec_deg, vmag):
        """(separation in arcsec, entry) of the nearest entry that can be this star, or None."""
        best = None
        b = self.band(dec_deg)
        for band in (b - 1, b, b + 1):
            for entry in self.bands.get(band, ()):
                if vmag is not None and abs(entry[2] - vmag) > MATCH_DV:
                    continue
                d = separation_arcsec(ra_deg, dec_deg, entry[0], entry[1])
                if d <= MATCH_RADIUS_ARCSEC and (best is None or d < best[0]):
                    best = (d, entry)
        return best


def separation_arcsec(ra1, dec1, ra2, dec2):
    """Angular distance of two nearby points (degrees in, arcsec out; flat-sky form)."""
    dra = (ra1 - ra2 + 180.0) % 360.0 - 180.0
    return math.hypot(dra * math.cos(math.radians(0.5 * (dec1 + dec2))), dec1 - dec2) * 3600.0


def epoch_readings(source, ra, dec, pm, usual_epoch):
    """The two readings of a position record: as J2000.0, and moved from J1991.25.

    ra, dec: ICRS (degrees); pm: (mu_alpha* cos(delta), mu_delta) in mas/yr or
    None.  Each reading is (ra, dec, source, epoch, handicap): the other
    epoch than the file's usual one gets a handicap of EPOCH_DOUBT_ARCSEC, so
    that only a clearly nearer reading overrules the usual one.
    """
    if not pm:
        return [(ra, dec, source, "no proper motion", 0.0)]
    moved = propagate(ra, dec, pm[0], pm[1], EPOCH_TARGET - EPOCH_HIPPARCOS)
    readings = [(ra, dec, source, EPOCH_TARGET), (moved[0], moved[1], source, EPOCH_HIPPARCOS)]
    return [r + (0.0 if r[3] == usual_epoch else EPOCH_DOUBT_ARCSEC,) for r in readings]


def settle_epoch(readings, vmag, text):
    """The reading of a star's position records that is right for J2000.0.

    readings: from epoch_readings.  Each is looked up in the text catalogue
    (J2000.0); the one nearest its entry, handicap added, wins, so that every
    record gets the epoch it really has.  Without any entry the reading with
    the least handicap stands.  Returns (reading, entry or None).
    """
    best = None
    for reading in readings:
        near = text.nearest(reading[0], reading[1], vmag)
        if near and (best is None or near[0] + reading[4] < best[0]):
            best = (near[0] + reading[4], reading, near[1])
    if best:
        return best[1], best[2]
    return min(readings, key=lambda r: r[4]), None


def hipparcos_record(s, records):
    """The Stellarium record of a star: its component of the HIP entry.

    The entry holder stands for the entry, so it takes the only record or
    component A even when kstars files it under B's HD number (Castor); a
    further component named in cross-id.dat ('B', 'C', ...) takes its own.
    """
    if not records:
        return None
    if s.hip_primary:
        return records[0]
    letter = s.hip_comp[:1]
    wanted = ord(letter) - ord("A") + 1 if "A" <= letter <= "Z" else -1
    for r in records:
        if r.component == wanted:
            return r
    return None


def astrometry(s, record, hip_pm, hip_plx_err, text):
    """The measured fields of one star's row, as text.

    s: the kstars star; record: its Stellarium Hipparcos record or None.
    Position ICRS, J2000.0 (degrees); proper motion mu_alpha* cos(delta) and
    mu_delta (mas/yr); parallax and its standard error (mas); V, B-V (mag);
    spectral type.  Also "found": the epoch the position record turned out
    to be for (for the summary line).
    """
    _ra, _dec, pmra_i, pmdec_i, plx_i, _hd, v_i, bv_i, spec, _flags = s.rec
    pm = (pmra_i / 10.0, pmdec_i / 10.0) if pmra_i != 0 or pmdec_i != 0 else None
    plx = common.fmt_scaled(plx_i, 1) if plx_i != 0 else ""
    plx_err = ""
    sptype = spec.decode("latin-1").replace("\0", " ").strip()
    # kstars' record is for J1991.25 unless proved otherwise, Stellarium's for
    # J2000.0.
    readings = epoch_readings("kstars", s.rec[0] * 15e-6, s.rec[1] * 1e-5, pm, EPOCH_HIPPARCOS)
    if record is not None:
        plx = "%.2f" % record.parallax_mas if s.hip in hip_plx_err else plx
        plx_err = "%.2f" % hip_plx_err[s.hip][0] if s.hip in hip_plx_err else ""
        sptype = record.sptype or sptype
        # Some of Stellarium's records are neither epoch's (Caph, Alderamin):
        # kstars' reading is taken when it lands clearly nearer.
        readings = epoch_readings("Stellarium", record.ra_deg, record.dec_deg,
                                  hip_pm.get(s.hip, pm), EPOCH_TARGET) + [
            r[:4] + (r[4] + OTHER_SOURCE_ARCSEC,) for r in readings]
        pm = hip_pm.get(s.hip, pm)
    vmag = v_i / 100.0
    (ra, dec, source, epoch, _), entry = settle_epoch(readings, vmag, text)
    found = "%s %s" % (source, epoch) if entry is not None else "%s, not in stars.dat" % source
    # stars.dat gives the photometry of the catalogue entry, so of the whole
    # system; a component other than the entry holder keeps its own.
    bv = common.fmt_scaled(bv_i, 2)
    if entry is not None and (s.hip_primary or not s.hip):
        vmag = entry[2]
        bv = "%.2f" % entry[3] if entry[3] is not None else bv
    return {
        "ra": ra, "dec": dec,
        "pmra": "%.2f" % pm[0] if pm else "", "pmdec": "%.2f" % pm[1] if pm else "",
        "parallax": plx, "parallax_err": plx_err,
        "vmag": "%.2f" % vmag, "bv": bv, "sptype": sptype,
        "found": found,
    }


def position_name(ra_deg, dec_deg):
    """J-style designation 'hhmmss.s+ddmmss' of a position (truncated, not rounded)."""
    t = int(ra_deg / 15.0 * 36000.0 + 1e-9)  # tenths of a second of time
    h, t = divmod(t, 36000)
    m, t = divmod(t, 600)
    sign = "-" if dec_deg < 0 else "+"
    s = int(abs(dec_deg) * 3600.0 + 1e-9)
    dd, s = divmod(s, 3600)
    dm, s = divmod(s, 60)
    return "%02d%02d%04.1f%s%02d%02d%02d" % (h, m, t / 10.0, sign, dd, dm, s)


class Star:
    __slots__ = ("rec", "bayer_ks", "name_ks", "hd", "hip", "hip_comp", "hip_primary", "sao",
                 "hr", "id", "v")


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
    constellations = {r["abbr"] for r in common.read_tsv(os.path.join(args.out, "constellations.tsv"))[1]}
    if len(constellations) != 88:
        common.die("run tools/make_constellations.py first")

    stars_dat = TextCatalogue(os.path.join(kdir, "stars.dat"))
    stars_dir = os.path.join(sdir, "stars/default")
    hip_records = stellarium_stars.read_hip_records(stars_dir)
    hip_pm = stellarium_stars.read_hip_table(os.path.join(stars_dir, "hip_pm.dat"), 2)
    hip_plx_err = stellarium_stars.read_hip_table(os.path.join(stars_dir, "hip_plx_err.dat"), 1)

    named = read_kstars_records(os.path.join(kdir, "namedstars.dat"))
    unnamed = read_kstars_records(os.path.join(kdir, "unnamedstars.dat"))
    knames = read_kstars_names(os.path.join(kdir, "starnames.dat"), len(named))

    # --- Stellarium tables --------------------------------------------------
    hd_rows = collections.defaultdict(list)  # HD -> [(hip, comp, sao, hr)]
    hip_rows = collections.defaultdict(list)  # HIP -> [(comp, sao, hd, hr)]
    for line in open(os.path.join(sdir, "stars/default/cross-id.dat"), encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        f = line.rstrip("\n").split("\t")
        hip, comp = int(f[0]), f[1].strip()
        sao, hd, hr = (int(x) if x.strip() else 0 for x in f[2:5])
        hip_rows[hip].append((comp, sao, hd, hr))
        if hd:
            hd_rows[hd].append((hip, comp, sao, hr))

    fab = collections.defaultdict(list)  # HIP -> [(kind, designation, con)]
    fab_reverse = collections.defaultdict(set)  # (designation, con) -> {HIP}
    skipped_fab = 0
    for line in open(os.path.join(sdir, "stars/default/name.fab"), encoding="utf-8"):
        if not line.strip() or "|" not in line:
            continue
        hip_text, text = line.rstrip("\n").split("|", 1)
        parsed = parse_fab_designation(text.strip(), constellations)
        if parsed is None:
            skipped_fab += 1
            continue
        hip = int(hip_text)
        if parsed not in fab[hip]:
            fab[hip].append(parsed)
        fab_reverse[(parsed[1], parsed[2])].add(hip)

    gcvs = {}  # HIP -> GCVS designation of the variable star ("R And", "α Ori")
    for line in open(os.path.join(sdir, "stars/default/gcvs_hip_part.dat"), encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        f = line.rstrip("\n").split("\t")
        if len(f) > 1 and f[0].strip().isdigit() and f[1].strip():
            gcvs.setdefault(int(f[0]), " ".join(f[1].split()))

    proper = collections.defaultdict(list)  # HIP -> [English names]
    iau_star = {}  # name -> HIP of the star the IAU gives it to
    for line in open(os.path.join(sdir, "skycultures/western/star_names.fab"), encoding="utf-8"):
        m = re.match(r'^\s*(\d+)\|_\("([^"]+)"\)\s*([\d,]*)', line)
        if m and m.group(2) not in proper[int(m.group(1))]:
            proper[int(m.group(1))].append(m.group(2).strip())
        if m and IAU_REFERENCES & set(m.group(3).split(",")):
            iau_star.setdefault(m.group(2).strip(), int(m.group(1)))
    # A name that the IAU gives to another star is not this star's own
    # (lambda Cet's "Menkar" is alpha Cet's); it moves behind the others.
    for hip, names in proper.items():
        names.sort(key=lambda n: iau_star.get(n, hip) != hip)

    # --- kstars stars, duplicates dropped -------------------------------------
    stars = []
    seen = set()
    duplicates = 0
    for i, rec in enumerate(named + unnamed):
        key = rec[:8]
        if key in seen:
            duplicates += 1
            continue
        seen.add(key)
        s = Star()
        s.rec = rec
        s.bayer_ks, s.name_ks = knames[i] if i < len(named) else ("", "")
        s.hd = rec[5] if rec[5] > 0 else 0
        s.v = rec[6]
        s.hip = s.sao = s.hr = 0
        s.hip_comp = ""
        s.hip_primary = False
        stars.append(s)

    # --- HIP through the HD number, or through the Bayer designation ----------
    ambiguous = 0
    kstars_hds = {s.hd for s in stars if s.hd}
    for s in stars:
        candidates = sorted({r[0] for r in hd_rows.get(s.hd, [])}) if s.hd else []
        if not candidates and s.bayer_ks:
            parsed = parse_kstars_bayer(s.bayer_ks, constellations)
            if parsed:
                hips = fab_reverse.get((parsed[1], parsed[2]), set())
                candidates = sorted(hips) if len(hips) == 1 else []
        if len(candidates) > 1:
            parsed = parse_kstars_bayer(s.bayer_ks, constellations) if s.bayer_ks else None
            by_name = [h for h in candidates if parsed and (parsed[0], parsed[1], parsed[2]) in fab[h]]
            candidates = by_name if len(by_name) == 1 else []
            if not candidates:
                ambiguous += 1
        if len(candidates) == 1:
            s.hip = candidates[0]
            rows = [r for r in hip_rows[s.hip] if not s.hd or r[2] == s.hd]
            if not s.hd and len(hip_rows[s.hip]) == 1:
                rows = hip_rows[s.hip]
            if rows:
                comp, s.sao, hd, s.hr = rows[0]
                s.hip_comp = comp
                if not s.hd and hd and hd not in kstars_hds:
                    s.hd = hd
                    kstars_hds.add(hd)

    # One star holds each Hipparcos entry: component A (or the only one), then the brightest.
    by_hip = collections.defaultdict(list)
    for s in stars:
        if s.hip:
            by_hip[s.hip].append(s)
    for hip, group in by_hip.items():
        group.sort(key=lambda t: (t.hip_comp not in ("", "A"), t.v, t.rec[0], t.rec[1]))
        group[0].hip_primary = True
        for t in group[1:]:
            # A second record with the same HD number is not the catalogued entry.
            if t.hd == group[0].hd:
                t.hip = t.sao = t.hr = 0
                t.hip_comp = ""

    # --- identifiers ------------------------------------------------------------
    used = set()
    order = sorted(stars, key=lambda t: (not t.hip_primary, t.v, t.rec[0], t.rec[1]))
    for s in order:
        if s.hip_primary:
            s.id = "HIP%d" % s.hip
        elif s.hd:
            s.id = "HD%d" % s.hd
            n = 2
            while s.id in used:
                s.id = "HD%d_%d" % (s.hd, n)
                n += 1
        else:
            s.id = "KSJ" + position_name(s.rec[0] * 15e-6, s.rec[1] * 1e-5)
            n = 2
            while s.id in used:
                s.id = "KSJ%s_%d" % (position_name(s.rec[0] * 15e-6, s.rec[1] * 1e-5), n)
                n += 1
        if s.id in used:
            common.die("identifier used twice: " + s.id)
        used.add(s.id)

    # --- rows -----------------------------------------------------------------
    rows = []
    no_japanese = []
    epochs = collections.Counter()
    for s in stars:
        a = astrometry(s, hipparcos_record(s, hip_records.get(s.hip)) if s.hip else None,
                       hip_pm, hip_plx_err, stars_dat)
        epochs[a["found"]] += 1

        # Bayer / Flamsteed: name.fab for the star that holds the HIP entry (components
        # named in cross-id take the designation of their rank), else the kstars name.
        bayer = flamsteed = con = ""
        designations = fab.get(s.hip, []) if s.hip else []
        if designations:
            first_con = designations[0][2]
            designations = [d for d in designations if d[2] == first_con]
            comp = s.hip_comp[:1]
            rank = ord(comp) - ord("A") if "A" <= comp <= "Z" else 0
            bayers = [d[1] for d in designations if d[0] == "bayer"]
            flamsteeds = [d[1] for d in designations if d[0] == "flamsteed"]
            if s.hip_primary or s.hip_comp not in ("", "A"):
                if 0 <= rank < len(bayers):
                    bayer = bayers[rank]
                if rank == 0 and flamsteeds:
                    flamsteed = flamsteeds[0]
                if bayer or flamsteed:
                    con = first_con
        if not con and s.bayer_ks:
            parsed = parse_kstars_bayer(s.bayer_ks, constellations)
            if parsed:
                kind, text, con = parsed
                bayer, flamsteed = (text, "") if kind == "bayer" else ("", text)

        names = list(proper.get(s.hip, [])) if s.hip_primary else []
        if s.name_ks and all(s.name_ks.lower() != n.lower() for n in names):
            names.append(s.name_ks)
        name_en = names[0] if names else ""
        name_ja = ""
        for n in names:
            if n in names_ja:
                name_ja = names_ja[n]
                break
        if names and not name_ja:
            no_japanese.append(name_en)

        rows.append([
            s.id,
            str(s.hip) if s.hip else "",
            str(s.hd) if s.hd else "",
            str(s.hr) if s.hr else "",
            str(s.sao) if s.sao else "",
            common.fmt_fixed(a["ra"], 7),
            common.fmt_fixed(a["dec"], 7),
            a["pmra"],
            a["pmdec"],
            a["parallax"],
            a["parallax_err"],
            a["vmag"],
            a["bv"],
            a["sptype"],
            bayer,
            flamsteed,
            con,
            name_en,
            name_ja,
            "|".join(names[1:]),
            gcvs.get(s.hip, "") if s.hip_primary else "",
        ])

    def id_key(row):
        m = re.match(r"^([A-Z]+)(\d+)?(.*)$", row[0])
        prefix_rank = {"HIP": 0, "HD": 1}.get(m.group(1), 2)
        return (prefix_rank, int(m.group(2)) if m.group(2) else 0, m.group(3), row[0])

    rows.sort(key=id_key)
    print("stars: %d records, %d exact repeats dropped, %d kept; %d with HIP, %d HD numbers with"
          " several HIP left unmatched; %d name.fab lines skipped; %d names without Japanese"
          % (len(named) + len(unnamed), duplicates, len(rows), sum(1 for r in rows if r[1]),
             ambiguous, skipped_fab, len(no_japanese)))
    print("positions found at: " + "; ".join("%s %d" % (k, n) for k, n in sorted(epochs.items(),
                                                                                  key=str)))
    common.write_tsv(
        os.path.join(args.out, "stars.tsv"),
        [
            "vexclk sky data: stars (Hipparcos stars to about V 8)",
            "source: kstars-data %s, namedstars.dat, unnamedstars.dat, starnames.dat (GPL-2+)"
            % v_kstars,
            "source: stellarium-data %s, stars/default/cross-id.dat, stars/default/name.fab,"
            " stars/default/gcvs_hip_part.dat, skycultures/western/star_names.fab,"
            " translations/stellarium-skycultures/ja.qm (GPL-2+)"
            % v_stellarium,
            "licence: GPL-2+; made by tools/make_stars.py; columns and units: data/README.md",
            "source: kstars-data %s, stars.dat (V and B-V); stellarium-data %s,"
            " stars/default/stars_[012]_0v0_8.cat, stars_hip_sp_0v0_4.cat, hip_pm.dat,"
            " hip_plx_err.dat (Hipparcos new reduction, van Leeuwen 2007)" % (v_kstars, v_stellarium),
            "positions: ICRS, epoch and equinox J2000.0 (each record's epoch decided on its own)",
            "empty field: no value",
        ],
        ["id", "hip", "hd", "hr", "sao", "ra_deg", "dec_deg", "pmra_mas_yr", "pmdec_mas_yr",
         "parallax_mas", "parallax_err_mas", "vmag", "bv", "sptype", "bayer", "flamsteed", "con", "name_en", "name_ja",
         "other_names", "gcvs"],
        rows,
    )


if __name__ == "__main__":
    main()
