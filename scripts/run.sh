#!/usr/bin/env bash
# Builds the Windows programs and starts VELDARA Config under Wine. Without a
# display it runs on a private Xvfb and saves a screenshot to
# build/screenshot.png once the dialog is up.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"

program="build/win32/configtool/VELDARA Config.exe"
title="VELDARA Config"
if [ ! -f "$program" ]; then
  program=build/win32/launcher/orbboot.exe
  title=""
fi

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
if [ -n "$title" ]; then
  for _ in $(seq 1 150); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"$title\"" && break
    sleep 0.2
  done
fi
sleep 2
import -window root build/screenshot.png
echo "screenshot saved to build/screenshot.png"
kill "$app" 2>/dev/null || true
