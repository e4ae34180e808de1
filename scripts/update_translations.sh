#!/usr/bin/env bash
# Collects every user text of the program into the translators' file: the user interface's
# tr() calls and the engine's LcText("Context", "Source") marks, which lupdate is told to
# read as QT_TRANSLATE_NOOP. Translations already in the file are kept.
#
#   scripts/update_translations.sh [lupdate] [file.ts]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${1:-/usr/lib/qt6/bin/lupdate}"
ts="${2:-$root/translations/lumacet.ts}"

mkdir -p "$(dirname "$ts")"
"$lupdate" -silent -locations relative -no-obsolete \
  -tr-function-alias QT_TRANSLATE_NOOP+=LcText \
  "$root/src" -ts "$ts"
