#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite: first the release
# build, then the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
jobs="$(nproc)"

cmake --preset release -DLUMACET_BUILD_TESTS=ON >/dev/null
cmake --build --preset release -j "$jobs"
LC_ALL=de_DE.UTF-8 ctest --preset release -j "$jobs"

cmake --preset sanitize -DLUMACET_BUILD_TESTS=ON >/dev/null
cmake --build --preset sanitize -j "$jobs"
LC_ALL=de_DE.UTF-8 ctest --preset sanitize -j "$jobs"
