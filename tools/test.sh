#!/usr/bin/env bash
# Fresh machine to test results: installs what is missing, builds and runs every
# test (the installation check among them), builds and runs the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then builds the fuzz
# targets with clang and runs each for REVORA_FUZZ_SECONDS (default 20). Where the
# MinGW Qt cache exists (tools/windows/build-qt.sh), the Windows build is made and
# run under Wine after the first suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh"
jobs=$(nproc)

echo "== Build and test"
"$root/tools/build.sh" build -DREVORA_WERROR=ON
(cd "$root/build" && ctest --output-on-failure -j "$jobs" --timeout 300)

echo "== Windows build under Wine"
# Only where the MinGW Qt was built once (it takes about half an hour): the
# programs and core tests cross-compiled, run under Wine against the emulator.
if [ -f "${REVORA_QT_MINGW:-$HOME/.cache/revora-shift/qt6-mingw}/revora-qt-build.txt" ]; then
  "$root/tools/windows/test.sh" "$root/build"
else
  echo "Windows stage skipped: no MinGW Qt cache; build it once with tools/windows/build-qt.sh"
fi

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
"$root/tools/build.sh" build-asan -DREVORA_WERROR=ON -DREVORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" --timeout 600)

echo "== Fuzz the readers (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)"
# Only the core and the fuzz programs are built here; the window is not needed.
fuzz_targets=(fuzz_codec fuzz_numbers fuzz_fieldrules fuzz_datafile fuzz_branding)
"$root/tools/build.sh" build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DREVORA_FUZZ=ON -DREVORA_GUI=OFF \
  -DREVORA_FUZZ_SECONDS="${REVORA_FUZZ_SECONDS:-20}" --target "${fuzz_targets[@]}"
unset ASAN_OPTIONS
(cd "$root/build-fuzz" && ctest --output-on-failure -j "$jobs" -L fuzz)
