#!/usr/bin/env bash
# Installs what the build and the tests need, when it is missing (Debian, as root).
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd clang++ || need+=(clang)
have_pkg libclang-rt-14-dev || need+=(libclang-rt-14-dev)
have_pkg libgtest-dev || need+=(libgtest-dev)
have_pkg libgmock-dev || need+=(libgmock-dev)
have_pkg libbenchmark-dev || need+=(libbenchmark-dev)
have_cmd i686-w64-mingw32-g++ || need+=(g++-mingw-w64-i686)
have_cmd chmcmd || need+=(fp-utils)
have_cmd Xvfb || need+=(xvfb)
have_cmd import || need+=(imagemagick)
have_cmd xwininfo || need+=(x11-utils)
have_cmd wine || need+=(wine)
have_pkg wine32:i386 || need+=(wine32:i386)
# Wine's Direct3D 8 runs on OpenGL; the 32-bit programs need the 32-bit Mesa.
have_pkg libgl1:i386 || need+=(libgl1:i386)
have_pkg libglx-mesa0:i386 || need+=(libglx-mesa0:i386)
have_pkg libgl1-mesa-dri:i386 || need+=(libgl1-mesa-dri:i386)
have_cmd python3 || need+=(python3)

if [ ${#need[@]} -eq 0 ]; then
  echo "all build and test dependencies are installed"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "missing: ${need[*]}; run this script as root to install them" >&2
  exit 1
fi

echo "installing: ${need[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${need[@]}"
