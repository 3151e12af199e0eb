#!/usr/bin/env bash
# Fresh machine to running program: installs what is missing, builds the window
# program and the emulator (only those; tools/test.sh builds the rest), starts them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh"
"$root/tools/build.sh" build --target revora-shift revora-shift-emulator
exec "$root/tools/demo.sh" "$root/build/bin"
