#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake --preset release -DLUMACET_BUILD_TESTS=ON >/dev/null
cmake --build --preset release -j "$(nproc)"
LC_ALL=de_DE.UTF-8 ctest --preset release -j "$(nproc)"
