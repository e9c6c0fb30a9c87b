"""Helpers shared by the sky-data converters (standard library only).

The converters read Debian packages that the maintainer downloaded and unpacked
side by side in one folder (see tools/README.md):

    PKGS/kstars-data_*.deb        PKGS/kstars-data/usr/share/kstars/...
    PKGS/stellarium-data_*.deb    PKGS/stellarium-data/usr/share/stellarium/...
    PKGS/python3-astropy_*.deb    PKGS/python3-astropy/usr/lib/python3/dist-packages/astropy/...

The package version written into every data file header is read from the
control file inside the .deb, so a header always names what was really used.
"""

import io
import lzma
import os
import sys
import tarfile
import zlib

# Greek letters as the catalogues abbreviate them (kstars "alp", "bet", ...)
# and as name.fab writes them.
GREEK = [
    ("alp", "α"), ("bet", "β"), ("gam", "γ"), ("del", "δ"), ("eps", "ε"), ("zet", "ζ"),
    ("eta", "η"), ("the", "θ"), ("iot", "ι"), ("kap", "κ"), ("lam", "λ"), ("mu", "μ"),
    ("nu", "ν"), ("xi", "ξ"), ("omi", "ο"), ("pi", "π"), ("rho", "ρ"), ("sig", "σ"),
    ("tau", "τ"), ("ups", "υ"), ("phi", "φ"), ("chi", "χ"), ("psi", "ψ"), ("ome", "ω"),
]
GREEK_BY_ABBR = dict(GREEK)


def die(message):
    sys.stderr.write(message + "\n")
    sys.exit(1)


def package_dir(pkgs, name):
    path = os.path.join(pkgs, name)
    if not os.path.isdir(path):
        die("%s: not found; unpack %s_*.deb there with dpkg -x (see tools/README.md)" % (path, name))
    return path


def _ar_members(data):
    """Yields (name, bytes) of a Unix ar archive (the outer layer of a .deb)."""
    if not data.startswith(b"!<arch>\n"):
        raise ValueError("not an ar archive")
    pos = 8
    while pos + 60 <= len(data):
        header = data[pos:pos + 60]
        name = header[:16].decode("ascii").strip().rstrip("/")
        size = int(header[48:58].decode("ascii").strip())
        pos += 60
        yield name, data[pos:pos + size]
        pos += size + (size & 1)


def deb_version(pkgs, name):
    """Version of the package from the control file of PKGS/NAME_*.deb."""
    debs = sorted(f for f in os.listdir(pkgs) if f.startswith(name + "_") and f.endswith(".deb"))
    if len(debs) != 1:
        die("%s: expected exactly one %s_*.deb (found %d)" % (pkgs, name, len(debs)))
    with open(os.path.join(pkgs, debs[0]), "rb") as f:
        head = f.read(1 << 20)  # control.tar comes before data.tar; 1 MiB holds it
    for member, blob in _ar_members(head):
        if not member.startswith("control.tar"):
            continue
        if member.endswith(".xz"):
            blob = lzma.decompress(blob)
        elif member.endswith(".gz"):
            blob = zlib.decompress(blob, 16 + zlib.MAX_WBITS)
        with tarfile.open(fileobj=io.BytesIO(blob)) as tar:
            for info in tar.getmembers():
                if info.name.lstrip("./") == "control":
                    for line in tar.extractfile(info).read().decode("utf-8").splitlines():
                        if line.startswith("Version:"):
                            return line.split(":", 1)[1].strip()
    die("%s: no Version in its control file" % debs[0])


def clean_field(text):
    """A TSV field never holds a tab, a line end or the list separator's neighbours."""
    return " ".join(str(text).replace("\t", " ").split())


def write_tsv(path, header_comments, columns, rows):
    """Writes '# ' comment lines, the column line and the rows, UTF-8 with LF.

    Rows are written in the order given; callers sort them so that a re-run
    gives identical bytes.
    """
    out = io.StringIO()
    for line in header_comments:
        out.write("# " + line + "\n" if line else "#\n")
    out.write("\t".join(columns) + "\n")
    for row in rows:
        if len(row) != len(columns):
            raise ValueError("row has %d fields, expected %d: %r" % (len(row), len(columns), row))
        out.write("\t".join(clean_field(v) for v in row) + "\n")
    data = out.getvalue().encode("utf-8")
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
    print("wrote %s (%d rows, %d bytes)" % (path, len(rows), len(data)))


def read_tsv(path):
    """Reads a file written by write_tsv: returns (columns, rows as dicts)."""
    columns = None
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            fields = line.split("\t")
            if columns is None:
                columns = fields
                continue
            rows.append(dict(zip(columns, fields)))
    return columns, rows


def load_names_ja(data_dir):
    """English name -> Japanese name, from data/names_ja.tsv (make_names_ja.py)."""
    path = os.path.join(data_dir, "names_ja.tsv")
    if not os.path.exists(path):
        die("%s: missing; run tools/make_names_ja.py first" % path)
    names = {}
    for row in read_tsv(path)[1]:
        names.setdefault(row["english"], row["japanese"])
    return names


def fmt_fixed(value, decimals):
    """Fixed-point text without a negative zero ("-0.0000000" becomes "0.0000000")."""
    text = "%.*f" % (decimals, value)
    if text.startswith("-") and float(text) == 0.0:
        text = text[1:]
    return text


def fmt_scaled(value, scale_digits):
    """Exact text of the integer VALUE / 10**scale_digits ("-5460", 1 -> "-546.0")."""
    sign = "-" if value < 0 else ""
    digits = str(abs(value)).rjust(scale_digits + 1, "0")
    if scale_digits == 0:
        return sign + digits
    return sign + digits[:-scale_digits] + "." + digits[-scale_digits:]
