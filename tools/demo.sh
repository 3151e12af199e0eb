#!/usr/bin/env bash
# Runs the program against the emulated controller: the emulator serves a
# pseudo-terminal that the program finds as Com7, with a private settings store
# so the person's own settings stay untouched. Closing the window stops the
# emulator.
#   tools/demo.sh BIN_DIR [emulator options...]   e.g. --fail armed, --eeprom my.dat
set -euo pipefail
bin=${1:?usage: demo.sh BIN_DIR [emulator options]}
shift
bin=$(cd "$bin" && pwd)
for p in revora-shift revora-shift-emulator; do
  [ -x "$bin/$p" ] || { echo "demo.sh: $bin/$p is missing; build first (tools/build.sh)." >&2; exit 1; }
done

port=7
cfg=$(mktemp -d "${TMPDIR:-/tmp}/revora-demo.XXXXXX")
export XDG_CONFIG_HOME="$cfg"
emu_pid=
cleanup() {
  if [ -n "$emu_pid" ] && kill -0 "$emu_pid" 2>/dev/null; then
    kill -TERM "$emu_pid" 2>/dev/null || true
    wait "$emu_pid" 2>/dev/null || true
  fi
  rm -rf "$cfg"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The port the program opens first; the emulator maps Com7 to its terminal.
mkdir -p "$cfg/Revora_Shift"
printf '[Properties]\nCommPort=%s\n' "$port" > "$cfg/Revora_Shift/Revora_Shift.conf"

"$bin/revora-shift-emulator" --com "$port" "$@" > "$cfg/emulator.out" &
emu_pid=$!

# The emulator prints its terminal's path as its first line once it serves.
pty=
for _ in $(seq 1 100); do
  if [ -s "$cfg/emulator.out" ]; then
    pty=$(head -n 1 "$cfg/emulator.out")
    [ -n "$pty" ] && break
  fi
  kill -0 "$emu_pid" 2>/dev/null || { echo "demo.sh: the emulator stopped before it served." >&2; exit 1; }
  sleep 0.05
done
[ -n "$pty" ] || { echo "demo.sh: the emulator did not start within 5 seconds." >&2; exit 1; }
echo "Emulated controller on $pty (Com$port). Close the window to stop."

"$bin/revora-shift"
