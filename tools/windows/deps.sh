#!/usr/bin/env bash
# Installs what the Windows stage needs, from Debian 12's packages, when missing:
# the MinGW-w64 cross compiler, Wine to run the results, a virtual display for the
# window (with --wine-stage: and the tools that drive and photograph it), and
# (with --qt-source) what fetching and building Qt's source takes.
# Kept apart from tools/deps.sh so a Linux-only run never installs any of it.
set -euo pipefail
pkgs=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xauth cmake ninja-build
      zip unzip)
[ "${1:-}" = --qt-source ] && pkgs+=(dpkg-dev)
[ "${1:-}" = --wine-stage ] && pkgs+=(xdotool x11-apps netpbm)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing for the Windows stage: ${missing[*]}"
sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
