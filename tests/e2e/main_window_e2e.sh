#!/usr/bin/env bash
# The desktop program end to end on a virtual X display: started with the example's patient
# on its command line, it must show her tracings; a grab of the screen proves it.
#
#   main_window_e2e.sh <lumacet> <lumacet_screen_check> <examples folder> <picture.png>
set -euo pipefail
if [ $# -ne 4 ]; then
  echo "usage: $0 <lumacet> <lumacet_screen_check> <examples folder> <picture.png>" >&2
  exit 2
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "SKIPPED: xvfb-run is not installed (Debian package xvfb), so there is no display to run on."
  exit 77
fi
program=$1 check=$2 examples=$3 picture=$4

# Settings of our own, pointing at the example, so that the user's own stay untouched; a
# runtime folder of our own, so that no other session's lock is seen.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/lumacet" "$work/runtime"
chmod 700 "$work/runtime"
sed "s#=\.\$#=$examples#" "$examples/lumacet.ini" >"$work/config/lumacet/lumacet.ini"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb

xvfb-run -a -s "-screen 0 1100x760x24" bash -c '
  "$1" "Emma Lindqvist" &
  program=$!
  status=0
  "$2" "$3" 40 || status=$?
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  exit $status
' e2e "$program" "$check" "$picture"
echo "screen picture: $picture"
