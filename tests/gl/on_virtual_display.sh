#!/usr/bin/env bash
# Runs a test program on a virtual X display, where Mesa gives it an OpenGL context.
#
#   on_virtual_display.sh <program> [arguments...]
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 <program> [arguments...]" >&2
  exit 2
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "SKIPPED: xvfb-run is not installed (Debian package xvfb), so there is no display to run on."
  exit 77
fi
# A runtime folder of our own keeps Qt from warning about a missing one.
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1
# On a real X display Qt's platform services keep D-Bus and widget objects to the end of the
# process, which the leak checker of the sanitizer build reports. The same windows are
# leak-checked offscreen by the other tests, so leaks are not looked for here.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}detect_leaks=0"
xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX" "$@"
