#!/usr/bin/env bash
# Configures and builds into DIR (default build/). Extra arguments go to CMake;
# those after --target name the only targets to build (default: all of them).
#   tools/build.sh build-asan -DREVORA_SANITIZE=ON
#   tools/build.sh build --target revora-shift revora-shift-emulator
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}; shift || true
configure=()
targets=()
while [ $# -gt 0 ]; do
  if [ "$1" = --target ]; then
    shift
    targets=("$@")
    break
  fi
  configure+=("$1")
  shift
done
# Line tables only (-g1): backtraces keep their files and lines, and the compiler
# spends a fifth less time than with full debug information.
cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "${configure[@]}" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$root/$dir" -j "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$root/$dir" -j "$(nproc)"
fi
