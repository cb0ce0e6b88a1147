#!/usr/bin/env bash
# Builds the Windows programs and prints how long each tool takes under Wine
# from CreateProcess until its main dialog is visible, against a bare program
# that shows the same dialog and does the same platform work (medians of
# interleaved rounds, and their ratio).
#   scripts/startup-times.sh [rounds]      (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${JOBS:-$(nproc)}" >/dev/null
VELDARA_STARTUP_ROUNDS=${1:-7} ctest --preset win32 -R '^e2e\.startup_e2e\.' --verbose |
  sed -n 's/^[0-9]\+: //p' | grep -E '^(start until|  round|VdraPadConfig|VELDARA Config|\[)'
