#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a package would carry:
# the programs, the desktop entry, metainfo, icons, manual pages and manual, the
# desktop's own validators, and that the installed programs run from there.
#   check_install.sh BUILD_DIR APP_ID WINDOW(ON|OFF)
set -uo pipefail
build=$1 id=$2 window=$3
prefix=$(mktemp -d "${TMPDIR:-/tmp}/revora-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install" >&2; exit 1; }
share=$prefix/share
bin=$prefix/bin

programs=(revora-shift-cli revora-shift-emulator)
[ "$window" = ON ] && programs+=(revora-shift)
for p in "${programs[@]}"; do
  [ -x "$bin/$p" ] || fail "$bin/$p is not installed"
  grep -q '^\.SH EXIT STATUS' "$share/man/man1/$p.1" 2>/dev/null || fail "manual page $p.1 missing or without its exit status"
done
[ -s "$share/doc/revora-shift/manual.html" ] || fail "the user manual is not installed"

desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
if [ "$window" = ON ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
  appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo" >&2; fail "appstreamcli validate $metainfo"; }
  grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
  exec_prog=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$bin/$exec_prog" ] || fail "the desktop entry starts '$exec_prog', which is not installed"
  for size in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$id.png
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "icon $png is '${dims:-missing}', not ${size}x${size}"
  done
  # No display: --version and --help must answer before any window system is needed.
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/revora-shift" --version 2>&1) \
    || fail "revora-shift --version without a display: $out"
  [[ $out =~ ^revora-shift\ [0-9]+\.[0-9]+$ ]] || fail "revora-shift --version printed '$out'"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/revora-shift" --help | grep -q '^usage: revora-shift' \
    || fail "revora-shift --help without a display"
fi

# The installed tool runs from the prefix and finds the installed data folder.
work=$prefix/work
mkdir -p "$work" "$share/revora-shift"
"$bin/revora-shift-cli" defaults "$work/defaults.dat" >/dev/null || fail "installed revora-shift-cli defaults"
[ "$(stat -c %s "$work/defaults.dat" 2>/dev/null)" = 144 ] || fail "the defaults file is not 144 bytes"
branding() { printf 'Label\nArial\n20\nbold\nNULL\n!\n%s\n' "$1" > "$2/Revora_Shift.cfg"; }
branding "Installed Data Folder Motors" "$share/revora-shift"
"$bin/revora-shift-cli" show "$work/defaults.dat" | grep -q "Installed Data Folder Motors" \
  || fail "the branding file in $share/revora-shift was not found"
branding "Beside The Program Motors" "$bin"
"$bin/revora-shift-cli" show "$work/defaults.dat" | grep -q "Beside The Program Motors" \
  || fail "a branding file beside the program does not come before the data folder's"
"$bin/revora-shift-emulator" --help >/dev/null || fail "installed revora-shift-emulator --help"

[ "$failures" -eq 0 ] && echo "install check passed ($prefix)"
exit $((failures > 0))
