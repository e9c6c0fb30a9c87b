#!/usr/bin/env bash
# Installs what is missing, builds, and prints the information text of Sirius
# as the sky engine computes it now for the observer in Tokyo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build >/dev/null
exec build/apps/vexclk text "$@" Star.HIP32349
