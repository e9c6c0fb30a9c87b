"""Reads the Hipparcos star records of Stellarium's star catalogue (stellarium-data).

Files (stars/default/): stars_0_0v0_8.cat, stars_1_0v0_8.cat, stars_2_0v0_8.cat
hold the stars of one magnitude range each as records of 28 bytes, sorted into
the triangular zones of a geodesic grid; stars_hip_sp_0v0_4.cat is the list of
spectral types the records point into; hip_pm.dat and hip_plx_err.dat give the
proper motion and the parallax error per HIP number.  The layout is the one of
Stellarium's "big star catalogue" (J. Gajdosik 2006, described in Stellarium's
sources, files Star.hpp, ZoneArray.cpp and StelGeodesicGrid.cpp):

  file header: 8 little-endian 32-bit words: magic 0x835f040a, record type (0 =
  the 28-byte Hipparcos record), major and minor version, grid level L, minimum
  magnitude and magnitude range (milli-magnitudes), number of magnitude steps;
  then one 32-bit star count per zone (20 * 4**L zones); then the records, zone
  after zone.

  record: HIP number (24-bit signed), component number (8 bits: 0 the only
  star of the entry, 1 = A, 2 = B, ...), x0 and x1 (int32: position in the
  tangent plane of the zone, along its two axes), B-V index (uint8, B-V = i *
  4/127 - 0.5), magnitude index (uint8, m = min + i * range/steps), spectral
  type index (uint16, line number in stars_hip_sp), two int32 proper motions in
  the zone's axes and the parallax (int32, 0.01 mas).

  grid: the icosahedron with corners (+-a, +-b, 0), (0, +-a, +-b), (+-b, 0,
  +-a), a/b the golden ratio, a^2 + b^2 = 1, and its 20 faces in Stellarium's
  order, each split into four (corner triangles first, the middle one last)
  L times, midpoints normalised onto the sphere.  A zone's centre is the
  normalised sum of its corners, axis0 = north x centre (normalised), axis1 =
  centre x axis0, and one scale for the whole file: the largest tangent-plane
  coordinate of any zone corner divided by 2**31 - 1.  A star lies along
  centre + scale * (x0 * axis0 + x1 * axis1).

The astrometry is that of the Hipparcos new reduction (van Leeuwen 2007): ICRS,
parallaxes and proper motions as published.  The position is for epoch J2000.0
for most records but for the Hipparcos epoch J1991.25 for some (Polaris,
Kochab, Markab, ...), so the caller decides the epoch of each record.  The
magnitude and B-V indices are coarse (0.05 mag, 0.031 mag) and are the
components' values for resolved double stars.
"""

import collections
import math
import os
import struct

FILE_MAGIC = 0x835F040A
RECORD_SIZE = 28
HIP_RECORD_TYPE = 0
STAR_FILES = ("stars_0_0v0_8.cat", "stars_1_0v0_8.cat", "stars_2_0v0_8.cat")

_G = 0.5 * (1.0 + math.sqrt(5.0))
_B = 1.0 / math.sqrt(1.0 + _G * _G)
_A = _B * _G
ICOSAHEDRON_CORNERS = [
    (_A, -_B, 0.0), (_A, _B, 0.0), (-_A, _B, 0.0), (-_A, -_B, 0.0),
    (0.0, _A, -_B), (0.0, _A, _B), (0.0, -_A, _B), (0.0, -_A, -_B),
    (-_B, 0.0, _A), (_B, 0.0, _A), (_B, 0.0, -_A), (-_B, 0.0, -_A),
]
ICOSAHEDRON_FACES = [
    (1, 0, 10), (0, 1, 9), (0, 9, 6), (9, 8, 6), (0, 7, 10), (6, 7, 0), (7, 6, 3), (6, 8, 3),
    (11, 10, 7), (7, 3, 11), (3, 2, 11), (2, 3, 8), (10, 11, 4), (2, 4, 11), (5, 4, 2), (2, 8, 5),
    (4, 1, 10), (4, 5, 1), (5, 9, 1), (8, 9, 5),
]

HipRecord = collections.namedtuple(
    "HipRecord", "hip component ra_deg dec_deg parallax_mas vmag bv sptype")


def _add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def _dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _unit(a):
    n = math.sqrt(_dot(a, a))
    return (a[0] / n, a[1] / n, a[2] / n)


def zone_triangles(level):
    """Corners of the 20 * 4**level zones, indexed as Stellarium numbers them."""
    zones = {}

    def split(lev, index, c0, c1, c2):
        if lev == level:
            zones[index] = (c0, c1, c2)
            return
        e0, e1, e2 = _unit(_add(c1, c2)), _unit(_add(c2, c0)), _unit(_add(c0, c1))
        index *= 4
        split(lev + 1, index, c0, e2, e1)
        split(lev + 1, index + 1, e2, c1, e0)
        split(lev + 1, index + 2, e1, e0, c2)
        split(lev + 1, index + 3, e0, e1, e2)

    for i, face in enumerate(ICOSAHEDRON_FACES):
        split(0, i, *(ICOSAHEDRON_CORNERS[c] for c in face))
    return [zones[i] for i in range(len(zones))]


def zone_frames(level):
    """(centre, axis0, axis1) of every zone and the file's position scale."""
    frames = []
    largest = 0.0
    for c0, c1, c2 in zone_triangles(level):
        centre = _unit(_add(_add(c0, c1), c2))
        axis0 = _unit(_cross((0.0, 0.0, 1.0), centre))
        axis1 = _cross(centre, axis0)
        for corner in (c0, c1, c2):
            d = (corner[0] - centre[0], corner[1] - centre[1], corner[2] - centre[2])
            mu0, mu1 = _dot(d, axis0), _dot(d, axis1)
            f = 1.0 / math.sqrt(1.0 - mu0 * mu0 - mu1 * mu1)
            largest = max(largest, abs(mu0) * f, abs(mu1) * f)
        frames.append((centre, axis0, axis1))
    return frames, largest / 0x7FFFFFFF


def read_spectral_types(path):
    with open(path, "rb") as f:
        return f.read().decode("latin-1").split("\n")


def read_star_file(path, sptypes):
    """Yields the HipRecord of every record with a HIP number in one star file."""
    with open(path, "rb") as f:
        data = f.read()
    magic, rtype, _major, _minor, level, mag_min, mag_range, mag_steps = struct.unpack_from(
        "<IIIIIiII", data, 0)
    if magic != FILE_MAGIC or rtype != HIP_RECORD_TYPE:
        raise ValueError("%s: not a Stellarium Hipparcos star file" % path)
    nzones = 20 * 4 ** level
    counts = struct.unpack_from("<%dI" % nzones, data, 32)
    pos = 32 + 4 * nzones
    if pos + RECORD_SIZE * sum(counts) != len(data):
        raise ValueError("%s: %d records do not fill the file" % (path, sum(counts)))
    frames, scale = zone_frames(level)
    for zone, count in enumerate(counts):
        centre, axis0, axis1 = frames[zone]
        for _ in range(count):
            rec = data[pos:pos + RECORD_SIZE]
            pos += RECORD_SIZE
            hip = int.from_bytes(rec[0:3], "little", signed=True)
            if hip <= 0:
                continue
            x0, x1, bv_i, mag_i, sp_i, _dx0, _dx1, plx = struct.unpack_from("<iiBBHiii", rec, 4)
            v = [centre[k] + scale * (x0 * axis0[k] + x1 * axis1[k]) for k in range(3)]
            norm = math.sqrt(_dot(v, v))
            yield HipRecord(
                hip=hip,
                component=rec[3],
                ra_deg=math.degrees(math.atan2(v[1], v[0])) % 360.0,
                dec_deg=math.degrees(math.asin(v[2] / norm)),
                parallax_mas=plx / 100.0,
                vmag=(mag_min + mag_i * mag_range / mag_steps) / 1000.0,
                bv=bv_i * 4.0 / 127.0 - 0.5,
                sptype=sptypes[sp_i].strip() if 0 < sp_i < len(sptypes) else "",
            )


def read_hip_records(stars_dir):
    """HIP number -> [HipRecord], components in the order of their numbers."""
    sptypes = read_spectral_types(os.path.join(stars_dir, "stars_hip_sp_0v0_4.cat"))
    by_hip = collections.defaultdict(list)
    for name in STAR_FILES:
        for rec in read_star_file(os.path.join(stars_dir, name), sptypes):
            by_hip[rec.hip].append(rec)
    for records in by_hip.values():
        records.sort(key=lambda r: r.component)
    return by_hip


def read_hip_table(path, columns):
    """hip_pm.dat / hip_plx_err.dat: HIP -> tuple of `columns` floats."""
    table = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if not fields or line.startswith("#"):
                continue
            table[int(fields[0])] = tuple(float(x) for x in fields[1:1 + columns])
    return table
