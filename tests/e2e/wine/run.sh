#!/usr/bin/env bash
# Runs one Windows program of the test run under the run's Wine prefix and display.
#   run.sh <state dir> <program.exe> [arguments...]
set -euo pipefail
state=$1
shift
if [ ! -f "$state/env.sh" ]; then
  echo "no Wine environment in $state (the wine_setup fixture did not run)" >&2
  exit 1
fi
# shellcheck disable=SC1091
. "$state/env.sh"
exec wine "$@"
