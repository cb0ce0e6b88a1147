#!/usr/bin/env bash
# Builds the Windows programs and starts one under Wine: VELDARA Config, or
# with the argument "pad" the gamepad tool VdraPadConfig. Without a display it
# runs on a private Xvfb and saves a screenshot once the dialog is up
# (build/screenshot.png, build/screenshot-pad.png for the gamepad tool).
#   scripts/run.sh [pad]
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  "")
    program="build/win32/configtool/VELDARA Config.exe"
    title="VELDARA Config"
    screenshot=build/screenshot.png
    ;;
  pad)
    program=build/win32/padtool/VdraPadConfig.exe
    title="VELDARA Gamepad Configuration Tool"
    screenshot=build/screenshot-pad.png
    ;;
  *)
    echo "usage: $0 [pad]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"

export WINEPREFIX=${WINEPREFIX:-$PWD/build/run-prefix} WINEARCH=win32 WINEDEBUG=-all

if [ -n "${DISPLAY:-}" ]; then
  [ -d "$WINEPREFIX" ] || WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i
  exec wine "$program"
fi

state=$PWD/build/run-wine
tests/e2e/wine/wine_env.sh setup "$state" >/dev/null
trap 'tests/e2e/wine/wine_env.sh teardown "$state" >/dev/null' EXIT
# shellcheck disable=SC1091
. "$state/env.sh"
wine "$program" &
app=$!
for _ in $(seq 1 150); do
  xwininfo -root -tree 2>/dev/null | grep -q "\"$title\"" && break
  sleep 0.2
done
sleep 2
import -window root "$screenshot"
echo "screenshot saved to $screenshot"
kill "$app" 2>/dev/null || true
