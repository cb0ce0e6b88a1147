#!/usr/bin/env bash
# Wine environment of one end-to-end test run, kept in the build tree.
#   wine_env.sh setup    <state dir>   start Xvfb, create a fresh 32-bit prefix, keep a wineserver
#   wine_env.sh teardown <state dir>   stop the wineserver and Xvfb
# The state dir holds the prefix, the run's own home folder and env.sh, which
# run.sh sources. Wine links the prefix's Desktop and other shell folders to
# the home folder, so that home is kept inside the state dir too: nothing a
# test writes lands in the user's real home.
set -euo pipefail

action=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
prefix=$state/prefix
home=$state/home

quiet_env() {
  export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
  export HOME=$home XDG_CONFIG_HOME=$home/.config
  # No network here: never offer the Mono and Gecko installers.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

free_display() {
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

teardown() {
  if [ -f "$state/env.sh" ]; then
    # shellcheck disable=SC1091
    . "$state/env.sh"
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    if [ -n "${VELDARA_XVFB_PID:-}" ]; then kill "$VELDARA_XVFB_PID" 2>/dev/null || true; fi
    rm -f "$state/env.sh"
  fi
}

case $action in
  setup)
    teardown
    rm -rf "$prefix" "$home"
    mkdir -p "$home"
    display=$(free_display) || { echo "no free X display number" >&2; exit 1; }
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      sleep 0.1
    done
    [ -e "/tmp/.X11-unix/X$display" ] || { echo "Xvfb :$display did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
    cat >"$state/env.sh" <<ENV
export DISPLAY=:$display
export VELDARA_XVFB_PID=$xvfb_pid
export WINEPREFIX=$prefix
export WINEARCH=win32
export WINEDEBUG=-all
export HOME=$home
export XDG_CONFIG_HOME=$home/.config
ENV
    quiet_env
    export DISPLAY=":$display"
    # Every wine command of the run uses this display, so the wineserver never
    # starts without one. It stays up until teardown, so each test starts fast;
    # its output must not hold CTest's pipe open.
    mkdir -p "$prefix"
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || { cat "$state/wineboot.log" >&2; exit 1; }
    # No window manager runs on Xvfb: unmanaged windows spare the wait for one
    # whenever a window is hidden or destroyed.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"$state/wineboot.log" 2>&1
    echo "wine prefix ready: $prefix on display :$display"
    ;;
  teardown)
    teardown
    echo "wine environment stopped"
    ;;
  *)
    echo "usage: $0 setup|teardown <state dir>" >&2
    exit 2
    ;;
esac
