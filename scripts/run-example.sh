#!/usr/bin/env bash
# Sets up the machine, builds the program and runs it on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake --preset release -DLUMACET_BUILD_TESTS=OFF -DLUMACET_BUILD_BENCH=OFF >/dev/null
cmake --build --preset release -j "$(nproc)" --target lumacet-cli
build/release/lumacet-cli type examples/lateral_ceph.lcr
