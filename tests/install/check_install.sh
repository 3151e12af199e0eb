#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a package would carry:
# the programs, the desktop entry, metainfo, icons, manual pages and manual, the
# changelog, the desktop's own validators, and that the installed programs run from
# there. When the build is hardened, the programs' ELF headers must show it; when
# lintian is present, the package cpack makes must pass it without a remark.
#   check_install.sh BUILD_DIR APP_ID WINDOW(ON|OFF) HARDENED(ON|OFF) CPACK
set -uo pipefail
build=$1 id=$2 window=$3 hardened=$4 cpack=$5
prefix=$(mktemp -d "${TMPDIR:-/tmp}/revora-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install" >&2; exit 1; }
share=$prefix/share
bin=$prefix/bin

programs=(revora-shift-cli revora-shift-emulator)
[ "$window" = ON ] && programs+=(revora-shift)
man=$share/man/man1
for p in "${programs[@]}"; do
  [ -x "$bin/$p" ] || fail "$bin/$p is not installed"
  gzip -dc "$man/$p.1.gz" 2>/dev/null | grep -q '^\.SH EXIT STATUS' \
    || fail "manual page $p.1.gz missing, not gzip or without its exit status"
done
[ -s "$share/doc/revora-shift/manual.html" ] || fail "the user manual is not installed"
doc=$share/doc/revora-shift
# Compressed without a name or a time (gzip -n): the same sources give the same
# package. A gzip header's flags are byte 3 (8 = a name follows), its time bytes 4-7.
for gz in "$man"/*.gz "$doc/changelog.gz"; do
  header=$(od -An -tu1 -j3 -N5 "$gz" 2>/dev/null | tr -s ' ')
  [ "$header" = " 0 0 0 0 0" ] || fail "$gz is missing or carries a name or a time (header:$header)"
done
leftovers=$(find "$man" "$doc" -name '*.1' -o -name 'changelog')
[ -z "$leftovers" ] || fail "uncompressed beside the compressed: $leftovers"

# The changelog, the metainfo and the programs name the same newest version.
version=$("$bin/revora-shift-cli" --version | sed -n 's/^revora-shift-cli \([0-9.]*\)$/\1/p')
[ -n "$version" ] || fail "revora-shift-cli --version printed no version"
changelog_version=$(gzip -dc "$doc/changelog.gz" 2>/dev/null \
  | sed -n '1s/^revora-shift (\([0-9.]*\)) .*/\1/p')
[ "$changelog_version" = "$version" ] \
  || fail "the changelog's newest version is '$changelog_version', not $version"
if command -v dpkg-parsechangelog >/dev/null; then
  # dpkg only warns (a bad date or trailer line) and goes on: any word from it fails.
  complaints=$(gzip -dc "$doc/changelog.gz" | dpkg-parsechangelog -l- --all 2>&1 >/dev/null)
  [ -z "$complaints" ] || fail "dpkg-parsechangelog on the changelog: $complaints"
fi
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$doc/copyright" \
  || fail "the copyright file is not in Debian's machine-readable form"
[ -s "$share/revora-shift/README" ] || fail "the data folder's note is not installed"

desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
if [ "$window" = ON ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
  appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo" >&2; fail "appstreamcli validate $metainfo"; }
  grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
  first_release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo")
  [ "$first_release" = "<release version=\"$version\"" ] \
    || fail "the metainfo's newest release is '$first_release', not $version"
  exec_prog=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$bin/$exec_prog" ] || fail "the desktop entry starts '$exec_prog', which is not installed"
  for size in 16 24 32 48 64 128 256; do
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
mkdir -p "$work"
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

# Hardened: position-independent (type DYN), full RELRO (a GNU_RELRO segment and
# BIND_NOW), stack canaries, and the checked variants of the C library's functions.
if [ "$hardened" = ON ]; then
  for p in "${programs[@]}"; do
    f=$bin/$p
    readelf -h "$f" | grep -q 'Type: *DYN' || fail "$p is not position-independent"
    readelf -lW "$f" | grep -q GNU_RELRO || fail "$p has no read-only relocations (RELRO)"
    readelf -dW "$f" | grep -Eq 'FLAGS.*BIND_NOW|FLAGS_1.*NOW' || fail "$p is not bound at start (BIND_NOW)"
    symbols=$(readelf -W --dyn-syms "$f")
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "$p has no stack protector"
    grep -Eq '__[a-z0-9_]+_chk(@| )' <<<"$symbols" || fail "$p uses no checked (fortified) function"
  done
fi

# The Debian package, as lintian sees it: no error, no warning, and no remark
# either (the README's "Installing and packaging" says which tags are overridden).
if command -v lintian >/dev/null; then
  out=$prefix/package
  if "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$prefix/cpack.log" 2>&1; then
    deb=$(ls "$out"/*.deb)
    lint=$(lintian --display-info --fail-on error,warning,info "$deb" 2>&1) \
      || fail "lintian on $(basename "$deb"):"$'\n'"$lint"
  else
    cat "$prefix/cpack.log" >&2
    fail "cpack -G DEB"
  fi
else
  echo "lintian is not installed: the package itself was not checked"
fi

[ "$failures" -eq 0 ] && echo "install check passed ($prefix)"
exit $((failures > 0))
