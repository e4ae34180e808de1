#!/usr/bin/env bash
# Collects every user text of the program into the translators' files: the user interface's
# tr() calls and the engine's LcText("Context", "Source") marks, which lupdate is told to
# read as QT_TRANSLATE_NOOP. Translations already in the files are kept; texts no longer in
# the program are dropped. Without file arguments, every translations/lc3_*.ts is updated.
# The files carry no source locations, so that moving code does not change them.
#
#   scripts/update_translations.sh [lupdate] [file.ts...]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${1:-/usr/lib/qt6/bin/lupdate}"
shift || true
if [ $# -eq 0 ]; then
  set -- "$root"/translations/lc3_*.ts
fi

for ts in "$@"; do mkdir -p "$(dirname "$ts")"; done
"$lupdate" -silent -locations none -no-obsolete \
  -tr-function-alias QT_TRANSLATE_NOOP+=LcText \
  "$root/src" -ts "$@"
