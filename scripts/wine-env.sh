# Wine and Xvfb helpers shared by run.sh, test.sh and the CTest wrapper. Source this file.
# Everything here starts only what it owns and stops only that.

SORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SORVANE_DESKTOP_SIZE=${SORVANE_DESKTOP_SIZE:-1024x768}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts in a fresh prefix, and no menu entries on the host for
# shortcuts that installers make in the Start menu.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}

# The private prefix of one architecture (win32 or win64); SORVANE_WINE_ROOT moves the prefixes
# elsewhere (for a second test run beside the first).
sorvane_prefix_dir() { echo "${SORVANE_WINE_ROOT:-$SORVANE_ROOT/build}/wineprefix-$1"; }

# Starts a private Xvfb on a free display and exports DISPLAY; sets SORVANE_XVFB_PID.
sorvane_start_xvfb() {
  local n=${SORVANE_XVFB_FIRST:-91}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${SORVANE_DESKTOP_SIZE}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  SORVANE_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    if ! kill -0 "$SORVANE_XVFB_PID" 2>/dev/null; then echo "Xvfb :$n did not start" >&2; return 1; fi
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb :$n gave no socket within 10 s" >&2; return 1; }
  export DISPLAY=":$n"
}

sorvane_stop_xvfb() {
  if [ -n "${SORVANE_XVFB_PID:-}" ]; then
    kill "$SORVANE_XVFB_PID" 2>/dev/null || true
    wait "$SORVANE_XVFB_PID" 2>/dev/null || true
    SORVANE_XVFB_PID=
  fi
}

# Creates (when missing) the prefix of one architecture, makes every program in it run inside one
# virtual desktop, and leaves a persistent, warmed-up wineserver running for it.
sorvane_prepare_prefix() {
  local arch=$1
  export WINEARCH=$arch WINEPREFIX
  WINEPREFIX=$(sorvane_prefix_dir "$arch")
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i </dev/null >/dev/null 2>&1 || { echo "wineboot failed for $WINEPREFIX" >&2; return 1; }
    wineserver -w
    # One shared virtual desktop: window order, focus and SendInput behave as on Windows.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$SORVANE_DESKTOP_SIZE" /f \
      </dev/null >/dev/null 2>&1
    wineserver -w
  fi
  wineserver -p
  wine wineboot </dev/null >/dev/null 2>&1
}

sorvane_stop_prefix() {
  local arch=$1
  WINEPREFIX=$(sorvane_prefix_dir "$arch") wineserver -k 2>/dev/null
  WINEPREFIX=$(sorvane_prefix_dir "$arch") wineserver -w 2>/dev/null
  return 0
}
