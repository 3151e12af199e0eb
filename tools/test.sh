#!/usr/bin/env bash
# Fresh machine to test results: installs what is missing, builds and runs every
# test, then builds and runs the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh"
jobs=$(nproc)

echo "== Build and test"
"$root/tools/build.sh" build
(cd "$root/build" && ctest --output-on-failure -j "$jobs" --timeout 300)

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
"$root/tools/build.sh" build-asan -DREVORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" --timeout 600)
