#!/usr/bin/env bash
# Builds Qt for Windows (MinGW-w64) once, from Debian's own qt6-base source, into a
# cache folder that the Windows stage reuses afterwards:
#   tools/windows/build-qt.sh            # builds when the cache is missing, else says where it is
#   REVORA_QT_MINGW=/some/dir tools/windows/build-qt.sh
# The source is fetched with apt-get source, which checks every file against the
# archive's signed Sources index, as apt does for binary packages; the version is the
# one of the installed host Qt, whose tools (moc, rcc, uic) the cross build uses.
# Network, OpenGL, D-Bus and SQL are left out: the program uses none of them.
# One long step (about 1,200 compiles, 25 minutes on two cores); it runs under nice.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=${REVORA_QT_MINGW:-$HOME/.cache/revora-shift/qt6-mingw}
work=$prefix-work
stamp=$prefix/revora-qt-build.txt

"$root/tools/windows/deps.sh" --qt-source
"$root/tools/deps.sh"
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)

if [ -f "$stamp" ] && grep -qx "qt6-base $host_version" "$stamp"; then
  echo "MinGW Qt $host_version is already built in $prefix"
  exit 0
fi

# apt-get source needs a deb-src entry for the same Debian archive as the binaries.
src_list=/etc/apt/sources.list.d/revora-shift-src.sources
if ! apt-get source --print-uris "qt6-base=$host_version" >/dev/null 2>&1; then
  echo "Adding the archive's source index ($src_list)"
  sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$src_list" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
      | $sudo tee "${src_list%.sources}.list" >/dev/null
  fi
  $sudo apt-get update -qq
fi

rm -rf "$work"
mkdir -p "$work"
echo "== Fetching qt6-base $host_version source"
# No --allow-unauthenticated: apt refuses a file whose hash is not in the signed index.
(cd "$work" && apt-get source -qq "qt6-base=$host_version" >fetch.log 2>&1) || {
  cat "$work/fetch.log" >&2; exit 1; }
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

echo "== Configuring for MinGW-w64 into $prefix"
# tabletevent: Debian's source drops the bundled wintab.h the Windows tablet code needs.
# dynamicgl: with OpenGL off, the Windows platform plugin does not build with it on.
cmake -G Ninja -S "$src" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
  -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dynamicgl=OFF \
  -DFEATURE_tabletevent=OFF >"$work/configure.log" 2>&1 || {
  tail -n 40 "$work/configure.log" >&2; exit 1; }

echo "== Building Qt (one long step; progress every 50 steps, log in $work/build.log)"
start=$SECONDS
if ! nice -n 15 cmake --build "$work/build" 2>&1 | tee "$work/build.log" | awk '
  /^\[[0-9]+\/[0-9]+\]/ { split(substr($0, 2, index($0, "]") - 2), n, "/")
    if (n[1] % 50 == 0 || n[1] == n[2]) { printf "  step %s of %s\n", n[1], n[2]; fflush() } }
  /error:|FAILED:/ { print; fflush() }'; then
  tail -n 40 "$work/build.log" >&2
  exit 1
fi
cmake --install "$work/build" >"$work/install.log"
echo "qt6-base $host_version" >"$stamp"
echo "Built in $(( (SECONDS - start) / 60 )) minutes; installed $(du -sh "$prefix" | cut -f1) in $prefix"
rm -rf "$work"
