#!/usr/bin/env bash
# Installs what is missing, builds, and prints an information text.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build >/dev/null
exec build/apps/vexclk text --replies examples/m42.replies "$@" deepsky.M42
