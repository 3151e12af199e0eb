#!/usr/bin/env bash
# The Windows stage: cross-builds the programs, the core tests and the zip
# (tools/windows/build.sh), then proves them under Wine on this machine:
#   1. the core tests through CTest, the Win32 serial backend on two COM ports
#      joined by a null-modem pair of pseudo-terminals (tests/link/ptypair.cpp);
#   2. the command-line tool's download, upload and compare through COM7 against
#      the emulated controller (the Linux emulator program on a pseudo-terminal
#      that Wine's dosdevices/com7 points at), byte for byte as the Linux tool does;
#   3. the window from the unpacked zip (no Qt but its own) on a virtual display:
#      it starts, downloads from COM7 and is photographed (build-windows/window.png).
#   tools/windows/test.sh [LINUX_BUILD_DIR]     (default build/; its emulator and tool are used)
# Exit code 3 when the MinGW Qt has not been built (tools/windows/build-qt.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(cd "${1:-$root/build}" 2>/dev/null && pwd || echo "$root/build")
out=$root/build-windows
start=$SECONDS

"$root/tools/windows/build.sh"
"$root/tools/windows/deps.sh" --wine-stage
if [ ! -x "$linux/bin/revora-shift-emulator" ] || [ ! -x "$linux/bin/revora-shift-cli" ]; then
  "$root/tools/build.sh" "$(realpath --relative-to="$root" "$linux")" -DREVORA_GUI=OFF \
    --target revora-shift-emulator revora-shift-cli >/dev/null
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/revora-wine.XXXXXX")
export REVORA_WINEPREFIX=$out/wineprefix
export WINEPREFIX=$REVORA_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
winpath() { echo "Z:${1//\//\\}"; }
wine_run() { "$root/tools/windows/wine-run.sh" "$@"; }

echo "== Wine prefix"
# A Wine server still serving an earlier prefix here would keep its old folder.
[ -d "$WINEPREFIX" ] && { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
[ -d "$WINEPREFIX/dosdevices" ] || { echo "wineboot did not make a Wine prefix" >&2; exit 1; }

# --- 1. core tests -------------------------------------------------------------
echo "== Core tests under Wine"
c++ -O2 -o "$work/ptypair" "$root/tests/link/ptypair.cpp"
mkdir -p "$work/cable"
"$work/ptypair" "$work/cable" >"$work/cable/ttys" &
pids+=($!)
for _ in $(seq 50); do [ "$(wc -l <"$work/cable/ttys")" -ge 2 ] && break; sleep 0.1; done
ln -sfn "$(sed -n 1p "$work/cable/ttys")" "$WINEPREFIX/dosdevices/com8"
ln -sfn "$(sed -n 2p "$work/cable/ttys")" "$WINEPREFIX/dosdevices/com9"
# The port test first: the cable relays for a minute only, which the slower tests
# could use up.
REVORA_TEST_PORTS="COM8 COM9 $(winpath "$work/cable/hangup")" \
  ctest --test-dir "$out" -R '^tst_winserialport$' --output-on-failure --timeout 60
core='^(tst_numbers|tst_image|tst_fieldrules|tst_report|tst_link|tst_portsettings|tst_branding|tst_cli'
core+='|emulator_controller)$'
# One at a time: every test shares the prefix's one registry.
ctest --test-dir "$out" -R "$core" --output-on-failure --timeout 300

# --- 2. the command-line tool through COM7 ---------------------------------------
echo "== Command-line tool through COM7 against the emulated controller"
emulator_pid=
start_emulator() {  # $1: folder for its files; the terminal's path in $tty
  "$linux/bin/revora-shift-emulator" --save "$1/saved.dat" >"$1/emulator.out" 2>"$1/emulator.err" &
  emulator_pid=$!
  pids+=("$emulator_pid")
  for _ in $(seq 50); do [ -s "$1/emulator.out" ] && break; sleep 0.1; done
  tty=$(head -n 1 "$1/emulator.out")
  [ -n "$tty" ] || { echo "the emulator did not start" >&2; exit 1; }
}
stop_emulator() { kill -TERM "$emulator_pid"; wait "$emulator_pid" 2>/dev/null || true; }

# The upload's file: the factory configuration with a user text of its own.
"$linux/bin/revora-shift-cli" defaults "$work/factory.dat" >/dev/null
cp "$work/factory.dat" "$work/upload.dat"
printf '%-32s' "Wine stage upload" | dd of="$work/upload.dat" bs=1 seek=112 conv=notrunc status=none

# One session per platform: download, upload, compare same, compare different;
# each file name and every exit code and output line is kept for the comparison.
session() {  # $1: linux | windows
  local dir=$work/$1 cli port f
  mkdir -p "$dir"
  start_emulator "$dir"
  if [ "$1" = windows ]; then
    ln -sfn "$tty" "$WINEPREFIX/dosdevices/com7"
    cli() { wine_run "$out/bin/revora-shift-cli.exe" "$@"; }
    port=Com7
    f() { winpath "$1"; }
  else
    cli() { "$linux/bin/revora-shift-cli" "$@"; }
    port=$tty
    f() { echo "$1"; }
  fi
  cp "$work/upload.dat" "$dir/upload.dat"
  local step=0
  for args in "download @dl.dat" "upload @upload.dat" "compare @upload.dat" "compare @dl.dat"; do
    step=$((step + 1))
    local cmd=${args%% *} file=$dir/${args#*@}
    local rc=0
    cli "$cmd" --port "$port" "$(f "$file")" >"$dir/$step.out" 2>"$dir/$step.err" || rc=$?
    echo "$rc" >"$dir/$step.rc"
    # Wine's console ends lines with CR LF; the file is named as each system names it.
    sed -i 's/\r$//' "$dir/$step.out" "$dir/$step.err"
    ARG=$(f "$file") perl -pi -e 's/\Q$ENV{ARG}\E/FILE/g' "$dir/$step.out" "$dir/$step.err"
  done
  stop_emulator
}
session linux
session windows
fail=0
for f in dl.dat saved.dat 1.rc 2.rc 3.rc 4.rc 1.out 2.out 3.out 4.out 4.err; do
  if ! cmp -s "$work/linux/$f" "$work/windows/$f"; then
    echo "Windows and Linux differ in $f:" >&2
    diff "$work/linux/$f" "$work/windows/$f" >&2 || true
    fail=1
  fi
done
cmp -s "$work/windows/dl.dat" "$work/factory.dat" || { echo "the download is not the factory configuration" >&2; fail=1; }
cmp -s "$work/windows/saved.dat" "$work/upload.dat" || { echo "the controller does not hold the upload" >&2; fail=1; }
[ "$(cat "$work/windows/3.rc" "$work/windows/4.rc" | tr '\n' ' ')" = "0 1 " ] || {
  echo "compare: exit codes $(cat "$work/windows/3.rc" "$work/windows/4.rc" | tr '\n' ' ')(expected 0 1)" >&2; fail=1; }
[ "$fail" -eq 0 ] || { for f in "$work"/windows/*.err; do echo "--- $f"; cat "$f"; done >&2; exit 1; }
echo "download, upload and compare through COM7: the same bytes, output and exit codes as on Linux"

# --- 3. the window from the zip ---------------------------------------------------
echo "== The window under Wine on a virtual display"
unzip -q "$out"/revora-shift-*-windows-x64.zip -d "$work/unzipped"
app=$(echo "$work"/unzipped/revora-shift-*-windows-x64)
mkdir -p "$work/window"
start_emulator "$work/window"
ln -sfn "$tty" "$WINEPREFIX/dosdevices/com7"
# The port the window opens, as Port Setup would have stored it.
wine reg add 'HKCU\Software\Revora_Shift\Revora_Shift\Properties' /v CommPort /d 7 /f >/dev/null 2>&1
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x1000x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
sleep 1
# Only what the zip holds: no Qt or MinGW folder on the path.
(cd "$app" && env -u WINEPATH -u QT_PLUGIN_PATH wine revora-shift.exe >"$work/window/wine.log" 2>&1) &
pids+=($!)
# The splash comes first (4 seconds), then the main window.
main=
for _ in $(seq 90); do
  main=$(xdotool search --onlyvisible --name 'Revora Shift Version' 2>/dev/null | head -n 1 || true)
  [ -n "$main" ] && break
  sleep 0.5
done
[ -n "$main" ] || { echo "the window did not open" >&2; cat "$work/window/wine.log" >&2; exit 1; }
sleep 1
xdotool windowfocus "$main" 2>/dev/null || true
sleep 0.5
xdotool key alt+c
sleep 0.5
xdotool key d
# The download shows the controller's firmware ID in a box that waits for OK, as
# on Linux; the transfer goes on once it is answered.
box=
for _ in $(seq 60); do
  box=$(xdotool search --onlyvisible --name '^Download From EEPROM$' 2>/dev/null | head -n 1 || true)
  [ -n "$box" ] && break
  sleep 0.5
done
if [ -n "$box" ]; then
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.5
  xdotool key Return
fi
caption=
for _ in $(seq 120); do
  caption=$(xdotool search --name 'Downloaded Data' getwindowname 2>/dev/null | head -n 1 || true)
  [ -n "$caption" ] && break
  sleep 0.5
done
sleep 1
xwd -root -display "$display" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out/window.png" 2>/dev/null
stop_emulator
if [ -z "$caption" ]; then
  echo "the window did not finish the download from COM7$([ -n "$box" ] || echo " (no firmware ID box came)")" \
       "(screenshot: $out/window.png)" >&2
  cat "$work/window/wine.log" >&2
  exit 1
fi
echo "the window downloaded from COM7: \"$caption\" (screenshot: $out/window.png)"
echo "Windows stage passed in $((SECONDS - start)) s"
