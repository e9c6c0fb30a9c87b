#!/bin/sh
# Re-makes every file of data/ from the unpacked Debian packages in PKGS
# (see tools/README.md).  The order matters: later steps read names_ja.tsv
# and constellations.tsv.
set -eu
PKGS=${1:?usage: tools/make_skydata.sh PKGS [DATA_DIR]}
HERE=$(cd "$(dirname "$0")" && pwd)
OUT=${2:-$HERE/../data}
mkdir -p "$OUT"
python3 "$HERE/make_names_ja.py" "$PKGS" --out "$OUT"
python3 "$HERE/make_constellations.py" "$PKGS" --out "$OUT"
python3 "$HERE/make_stars.py" "$PKGS" --out "$OUT"
python3 "$HERE/make_deepsky.py" "$PKGS" --out "$OUT"
python3 "$HERE/make_small_bodies.py" "$PKGS" --out "$OUT"
python3 "$HERE/make_star_extras.py" "$PKGS" --out "$OUT"
