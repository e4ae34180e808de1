#!/usr/bin/env bash
# Sets up the machine, builds the program and runs it on the bundled example.
#
# The program reads its settings from $XDG_CONFIG_HOME/lumacet/lumacet.ini. So that the
# example never touches the user's own settings, it runs with a temporary XDG_CONFIG_HOME
# holding examples/lumacet.ini with its "." folders made absolute (the program runs from
# any working folder).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake --preset release >/dev/null

examples="$PWD/examples"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the headless example instead."
  cmake --build --preset release -j "$(nproc)" --target lumacet-cli
  if [ -f "$examples/PATIENT.CSV" ]; then
    build/release/lumacet-cli measure "$examples/PATIENT.CSV" --types "$examples"
  else
    build/release/lumacet-cli type "$examples/lateral_ceph.lcr"
  fi
  exit 0
fi

cmake --build --preset release -j "$(nproc)" --target lumacet
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/lumacet"
sed "s#=\.\$#=$examples#" examples/lumacet.ini >"$config/lumacet/lumacet.ini"
XDG_CONFIG_HOME="$config" build/release/lumacet "$@"
