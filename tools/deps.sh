#!/usr/bin/env bash
# Installs what building and testing need, from Debian 12's packages, when missing.
set -euo pipefail
# desktop-file-utils and appstream check the installation, lintian the package;
# clang and its runtime build the fuzz targets; dpkg-dev lets cpack find the
# package's dependencies. locales: the number tests run under a decimal-comma
# locale they make. qt6-tools-dev and qt6-l10n-tools: lupdate and lrelease with
# their CMake commands; qt6-translations-l10n: Qt's own texts (buttons, common
# dialogs) in German.
pkgs=(cmake g++ make qt6-base-dev qt6-serialport-dev libgl-dev poppler-utils xvfb xauth
      desktop-file-utils appstream lintian clang libclang-rt-14-dev dpkg-dev locales
      qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
elif command -v sudo >/dev/null 2>&1; then
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
else
  echo "Missing packages. Run this once as root, then try again:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
