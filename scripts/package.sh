#!/usr/bin/env bash
# Builds the three programs and their help files (win32 preset) and packs them
# into the release archive build/win32/package/VELDARA-Utilities-<versions>.zip.
# The archive is reproducible: the same commit gives the same bytes anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "${JOBS:-$(nproc)}" --target orbboot config_tool pad_tool
cpack --preset release
