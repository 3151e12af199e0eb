#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, with the MinGW Qt's and
# the MinGW run-time's libraries on its path: the CTest emulator of build-windows/.
# The Wine prefix is REVORA_WINEPREFIX, else build-windows/wineprefix (made on
# first use; tools/windows/test.sh makes it anew for each run).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
qt=${REVORA_QT_MINGW:-$HOME/.cache/revora-shift/qt6-mingw}
export WINEPREFIX=${REVORA_WINEPREFIX:-$root/build-windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}  # no Mono or Gecko install prompts
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
# Wine sees the Linux file system as drive Z:.
winpath() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(winpath "$qt/bin");$(winpath "$runtime");$(winpath "$pthread")"
export QT_PLUGIN_PATH=$(winpath "$qt/plugins")
if [ ! -d "$WINEPREFIX/dosdevices" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
fi
# A QtTest program under Wine prints nothing into a pipe (only onto a terminal), so
# CTest would show an empty log for a failure: it writes its log to a file instead,
# which is then printed.
if [[ $(basename "$1") == tst_*.exe ]] && [ ! -t 1 ]; then
  log=$(mktemp "${TMPDIR:-/tmp}/revora-test-log.XXXXXX")
  rc=0
  wine "$@" -o "$(winpath "$log"),txt" || rc=$?
  sed 's/\r$//' "$log"
  rm -f "$log"
  exit "$rc"
fi
exec wine "$@"
