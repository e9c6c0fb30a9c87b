#!/usr/bin/env bash
# Installs the Debian packages the project needs, if any is missing.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev clang-format
  liberfa-dev picojson-dev libnova-dev
  libcurl4-openssl-dev libcpp-httplib-dev ca-certificates
  qt6-base-dev libgl-dev fonts-ipafont-gothic fontconfig
  clang libclang-rt-14-dev
  libindi-dev indi-bin
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
