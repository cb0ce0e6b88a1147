#!/usr/bin/env bash
# Builds the release archive of one commit (default HEAD) twice, from two clones
# in folders of different names and at different times, and compares the
# programs, the help files and the archive byte for byte.
#   scripts/check-reproducible.sh [commit]
set -euo pipefail
cd "$(dirname "$0")/.."
commit=$(git rev-parse "${1:-HEAD}")
work=$(mktemp -d /tmp/veldara-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT

for folder in first "second build folder"; do
  git clone -q --no-checkout . "$work/$folder"
  git -C "$work/$folder" checkout -q "$commit"
  (cd "$work/$folder" && scripts/package.sh >"$work/$folder.log" 2>&1) || { cat "$work/$folder.log"; exit 1; }
  sleep 2  # the second build runs at another time
done

status=0
files=(launcher/orbboot.exe "configtool/VELDARA Config.exe" "configtool/VELDARA Config.chm"
       padtool/VdraPadConfig.exe padtool/VdraPadConfig.chm)
for archive in "$work/first/build/win32/package/"*.zip; do files+=("package/$(basename "$archive")"); done
for file in "${files[@]}"; do
  a="$work/first/build/win32/$file"
  b="$work/second build folder/build/win32/$file"
  if cmp -s "$a" "$b"; then
    echo "identical  $(sha256sum "$a" | cut -c1-16)  $(stat -c %s "$a") bytes  $file"
  else
    echo "DIFFERENT  $file"
    status=1
  fi
done
exit $status
