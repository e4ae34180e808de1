#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those that are missing.
# Safe to run any number of times.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  locales
  qt6-base-dev qt6-svg-dev qt6-l10n-tools qt6-translations-l10n libqt6opengl6-dev libeigen3-dev
  libjpeg62-turbo-dev libtiff-dev libpng-dev zlib1g-dev libcharls-dev libopenjp2-7-dev libgdcm-dev
  dcmtk libgdcm-tools libtiff-tools netpbm imagemagick libjpeg-turbo-progs
  cups printer-driver-cups-pdf poppler-utils fonts-dejavu-core librsvg2-bin desktop-file-utils libxml2-utils shared-mime-info
  libxlsxwriter-dev python3-openpyxl python3-odf python3-skimage
  libsane-dev sane-utils libssl-dev
  xvfb xauth dbus-daemon python3-dbus libgl1-mesa-dri
  r-cran-shapes
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1; then sudo="sudo"; fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all build packages are present"
else
  if [ "$(id -u)" -ne 0 ] && [ -z "$sudo" ]; then
    echo "bootstrap: missing packages ${missing[*]} and no root rights to install them" >&2
    exit 1
  fi
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests run under a comma-decimal locale to prove files never follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "bootstrap: generating the de_DE.UTF-8 locale"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

