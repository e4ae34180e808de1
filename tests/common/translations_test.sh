#!/usr/bin/env bash
# The translators' file holds the engine's marked texts under their contexts, the command
# captions among them: proof that lupdate recognises the marker. Skipped (77) where lupdate
# is not installed.
#
#   translations_test.sh <lupdate> <work folder>
set -euo pipefail

lupdate="$1"
work="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"

if [ ! -x "$lupdate" ]; then
  echo "lupdate not found ($lupdate): install qt6-l10n-tools to run this test"
  exit 77
fi
mkdir -p "$work"
ts="$work/lumacet.ts"
rm -f "$ts"
"$root/scripts/update_translations.sh" "$lupdate" "$ts"

# Each expected "context|source" must appear as a message of that context.
expected=(
  "DataFile|No file name."
  "DataFile|File error reading %1"
  "RecordBrowser|Total Count: %1"
  "TypeFile|image data"
  "FileMenu|&amp;File"
  "FileMenu|&amp;Save"
  "ImageMenu|U&amp;ndo / Redo Image"
  "Image|There is no image to save."
)
status=0
for pair in "${expected[@]}"; do
  context="${pair%%|*}"
  source="${pair#*|}"
  if ! awk -v context="$context" -v source="$source" '
      /<name>/ { gsub(/.*<name>|<\/name>.*/, ""); current = $0 }
      /<source>/ { text = $0; gsub(/.*<source>|<\/source>.*/, "", text)
                   if (current == context && text == source) found = 1 }
      END { exit found ? 0 : 1 }' "$ts"; then
    echo "missing from the translation file: [$context] $source"
    status=1
  fi
done
exit $status
