#!/usr/bin/env bash
# `cmake --install` into a prefix of its own, checked as a desktop would read it: the menu
# entry, the MIME type of type files, the program icon at every size, the man page, the help
# pages, the language packs, and the session service, which a D-Bus call must start from the
# installed program.
#
#   install_test.sh <build folder>
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 <build folder>" >&2
  exit 2
fi
for tool in desktop-file-validate xmllint update-mime-database identify dbus-run-session dbus-send; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (scripts/bootstrap.sh installs it)."
    exit 77
  fi
done
build=$1
work="$(mktemp -d)"
activated=""
cleanup() {
  [ -n "$activated" ] && kill "$activated" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
prefix="$work/prefix"
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
share="$prefix/share"
id=org.lumacet.Lumacet

for program in lumacet lumacet-cli; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not installed"
done
"$prefix/bin/lumacet-cli" --version >/dev/null || fail "the installed lumacet-cli does not run"

desktop="$share/applications/$id.desktop"
[ -f "$desktop" ] || fail "no menu entry"
desktop-file-validate "$desktop" || fail "the menu entry does not validate"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon"

mime="$share/mime/packages/$id.xml"
xmllint --noout "$mime" || fail "the MIME package is not well-formed XML"
update-mime-database "$share/mime" >"$work/mime.log" 2>&1 || { cat "$work/mime.log"; fail "update-mime-database refuses the MIME package"; }
grep -q "application/x-lumacet-type:\*\.lcr" "$share/mime/globs2" || fail "*.lcr is not application/x-lumacet-type"
grep -q "MimeType=.*application/x-lumacet-type;" "$desktop" || fail "the menu entry does not open type files"

icons="$share/icons/hicolor"
xmllint --noout "$icons/scalable/apps/$id.svg" || fail "the scalable icon is not well-formed"
for size in 16 24 32 48 64 128 256; do
  png="$icons/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "the ${size}x${size} icon has another size"
done

head -n 5 "$share/man/man1/lumacet-cli.1" | grep -q '^\.TH' || fail "the man page has no title line"
help_source="$(cd "$(dirname "$0")/../../docs/help" && pwd)"
for page in "$help_source"/*; do
  cmp -s "$page" "$share/lumacet/help/$(basename "$page")" || fail "the help file $(basename "$page") is not installed"
done
[ -f "$share/lumacet/translations/lc3_de.qm" ] || fail "the German language pack is not installed"

service="$share/dbus-1/services/$id.service"
grep -qx "Name=$id" "$service" || fail "the service file names another service"
grep -qx "Exec=$prefix/bin/lumacet --automation" "$service" || fail "the service file does not start the installed program"

# D-Bus activation: a session bus that knows only the installed services starts the program
# when its service is called, offscreen, with settings and a runtime folder of its own.
mkdir -p "$work/config/lumacet" "$work/runtime"
chmod 700 "$work/runtime"
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$work</listen>
  <servicedir>$share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
dbus-run-session --config-file="$work/bus.conf" -- bash -c '
  status=0
  dbus-send --session --print-reply --reply-timeout=60000 --dest=org.lumacet.Lumacet /org/lumacet/Lumacet \
    org.lumacet.Lumacet.Instance.Raise >/dev/null || status=1
  pid=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:org.lumacet.Lumacet 2>/dev/null | awk "/uint32/ { print \$2 }")
  [ -n "$pid" ] && echo "$pid" >"$1/activated.pid"
  exit $status
' activation "$work" || fail "calling the service did not start the program"
activated=$(cat "$work/activated.pid" 2>/dev/null || true)
[ -n "$activated" ] || fail "the started program does not hold the service"
[ "$(readlink "/proc/$activated/exe")" = "$prefix/bin/lumacet" ] || fail "the service started another program"
echo "installed and checked under $prefix"
