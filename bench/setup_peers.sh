#!/usr/bin/env bash
# Installs the tools bench/compare.sh measures Lumacet against, for the benchmark machine
# only: the test bootstrap (scripts/bootstrap.sh) and CI do without them.
set -euo pipefail
peers=(dcmtk libgdcm-tools libtiff-tools imagemagick libjpeg-turbo-progs libopencv-dev hyperfine python3)
missing=()
for p in "${peers[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1; then sudo="sudo"; fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
