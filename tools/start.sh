#!/usr/bin/env bash
# Fresh machine to running program: installs what is missing, builds, starts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh"
"$root/tools/build.sh" build
bin="$root/build/bin"
if [ -x "$bin/revora-shift" ]; then
  exec "$root/tools/demo.sh" "$bin"
fi
# Until the window exists: the factory defaults as the report's text.
out=$(mktemp -d)/defaults.dat
"$bin/revora-shift-cli" defaults "$out"
"$bin/revora-shift-cli" show "$out"
echo "(factory defaults written to $out)"
