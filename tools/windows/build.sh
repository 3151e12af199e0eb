#!/usr/bin/env bash
# Cross-compiles the programs and the core tests for 64-bit Windows against the
# MinGW Qt that tools/windows/build-qt.sh built, and packs the zip:
#   tools/windows/build.sh            # build-windows/, then build-windows/revora-shift-<version>-windows-x64.zip
# Exit code 3 (and one line saying so) when the MinGW Qt has not been built.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
qt=${REVORA_QT_MINGW:-$HOME/.cache/revora-shift/qt6-mingw}
out=$root/build-windows

if [ ! -f "$qt/revora-qt-build.txt" ]; then
  echo "No MinGW Qt in $qt: build it once with tools/windows/build-qt.sh" >&2
  exit 3
fi
"$root/tools/windows/deps.sh"

# The core tests: everything that needs no display. The window's own tests and
# the printing tests stay with the Linux build.
core_tests=(tst_numbers tst_image tst_fieldrules tst_report tst_link tst_portsettings
            tst_branding tst_cli emulator_controller tst_winserialport)
programs=(revora-shift revora-shift-cli)

# Qt's toolchain file loads the one Qt was built with; it is named here so that
# a clone in another folder than the Qt build's still finds its own.
cmake -G Ninja -S "$root" -B "$out" \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/windows/wine-run.sh" >/dev/null
nice -n 15 cmake --build "$out" --target "${programs[@]}" "${core_tests[@]}"

# The zip, laid out as windeployqt lays out a Qt program: the programs, the Qt
# and MinGW run-time libraries beside them, the plugins in their folders.
version=$(sed -n 's/^project(RevoraShift VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=revora-shift-$version-windows-x64
stage=$out/package/$name
rm -rf "$out/package"
mkdir -p "$stage"
for p in "${programs[@]}"; do
  cp "$out/bin/$p.exe" "$stage/"
done
for lib in Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport; do
  cp "$qt/bin/$lib.dll" "$stage/"
done
for lib in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name="$lib")" "$stage/"
done
for dir in platforms styles printsupport imageformats; do
  [ -d "$qt/plugins/$dir" ] || continue
  mkdir -p "$stage/$dir"
  for dll in "$qt/plugins/$dir"/*.dll; do
    case $dll in
      # qoffscreen stays: the command-line tool's report lays its page out on it.
      *qminimal.dll|*qdirect2d.dll) ;;
      *) cp "$dll" "$stage/$dir/" ;;
    esac
  done
done
# Qt's own texts (the standard buttons) for each language the program speaks, in
# the folder beside the program where it looks for them; the same Qt version's
# files as the host's (qt6-translations-l10n).
for ts in "$root"/translations/revora-shift_*.ts; do
  lang=${ts##*/revora-shift_}; lang=${lang%.ts}
  qm=/usr/share/qt6/translations/qtbase_$lang.qm
  if [ -f "$qm" ]; then
    mkdir -p "$stage/translations"
    cp "$qm" "$stage/translations/"
  else
    echo "No $qm (qt6-translations-l10n): the zip's $lang window keeps Qt's buttons in English" >&2
  fi
done
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
# The files the program looks for beside itself: its manual (opened from the
# Help menu when no maker's help file is there) and a branding file with the
# built-in text, for a maker to edit.
cp "$root/docs/manual.html" "$stage/"
cp "$root/tools/windows/Revora_Shift.cfg" "$stage/"
sed 's/$/\r/' "$root/tools/windows/README.txt" >"$stage/README.txt"
sed 's/$/\r/' "$out/packaging/copyright" >"$stage/COPYRIGHT.txt"  # configured from packaging/copyright.in
rm -f "$out/$name.zip"
(cd "$out/package" && zip -qr9 "$out/$name.zip" "$name")
echo "Windows zip: $out/$name.zip ($(du -h "$out/$name.zip" | cut -f1))"
