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

# The first display number from `first` on that no X server holds.
sorvane_free_display() {
  local n=$1
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

# Waits until the X server `pid` started for display `n` listens.
sorvane_wait_for_display() {
  local n=$1 pid=$2 name=$3 i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    if ! kill -0 "$pid" 2>/dev/null; then echo "$name :$n did not start" >&2; return 1; fi
    sleep 0.1
  done
  echo "$name :$n gave no socket within 10 s" >&2
  return 1
}

# Starts a private Xvfb on a free display and exports DISPLAY; sets SORVANE_XVFB_PID.
sorvane_start_xvfb() {
  local n
  n=$(sorvane_free_display "${SORVANE_XVFB_FIRST:-91}")
  Xvfb ":$n" -screen 0 "${SORVANE_DESKTOP_SIZE}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  SORVANE_XVFB_PID=$!
  sorvane_wait_for_display "$n" "$SORVANE_XVFB_PID" Xvfb || return 1
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

# ---- two monitors
# A Wine virtual desktop is always one monitor. Wine shows Win32 programs two monitors when it runs
# on an X server with Xinerama: Xephyr with two screens side by side, nested in an Xvfb as wide as
# both. The primary monitor is (0,0)-(1024,768), the second (1024,0)-(1824,600).
SORVANE_DUAL_SCREENS=(-screen 1024x768+0+0 -origin 1024,0 -screen 800x600+1024+0)
SORVANE_DUAL_HOST_SIZE=1824x768

# Starts the host Xvfb and the Xephyr in it, and exports SORVANE_DUAL_DISPLAY (Xephyr's display)
# without touching DISPLAY; sets SORVANE_DUAL_HOST_PID and SORVANE_DUAL_XEPHYR_PID.
sorvane_start_dual_display() {
  local host nested
  host=$(sorvane_free_display "${SORVANE_XVFB_FIRST:-91}")
  Xvfb ":$host" -screen 0 "${SORVANE_DUAL_HOST_SIZE}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  SORVANE_DUAL_HOST_PID=$!
  sorvane_wait_for_display "$host" "$SORVANE_DUAL_HOST_PID" Xvfb || return 1
  nested=$(sorvane_free_display $((host + 1)))
  DISPLAY=":$host" Xephyr ":$nested" -noreset -nolisten tcp +xinerama "${SORVANE_DUAL_SCREENS[@]}" \
    -no-host-grab >/dev/null 2>&1 &
  SORVANE_DUAL_XEPHYR_PID=$!
  sorvane_wait_for_display "$nested" "$SORVANE_DUAL_XEPHYR_PID" Xephyr || return 1
  export SORVANE_DUAL_DISPLAY=":$nested"
}

sorvane_stop_dual_display() {
  local pid
  for pid in "${SORVANE_DUAL_XEPHYR_PID:-}" "${SORVANE_DUAL_HOST_PID:-}"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  SORVANE_DUAL_XEPHYR_PID= SORVANE_DUAL_HOST_PID=
}

# The two-monitor prefix of one architecture, beside the single-monitor one.
sorvane_dual_prefix_dir() { echo "$(sorvane_prefix_dir "$1")-dual"; }

# Creates (when missing) the two-monitor prefix of one architecture: no virtual desktop, monitors
# from Xinerama (not XRandR), and windows Wine places itself (there is no window manager; waiting
# for one makes every hide take about 2 s). Leaves a persistent, warmed-up wineserver running for
# it. Runs in a subshell: DISPLAY and WINEPREFIX stay as they were.
sorvane_prepare_dual_prefix() (
  export WINEARCH=$1 WINEPREFIX DISPLAY=$SORVANE_DUAL_DISPLAY
  WINEPREFIX=$(sorvane_dual_prefix_dir "$1")
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i </dev/null >/dev/null 2>&1 || { echo "wineboot failed for $WINEPREFIX" >&2; exit 1; }
    wineserver -w
    local value
    for value in UseXRandR Managed; do
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /d N /f </dev/null >/dev/null 2>&1
    done
    # The X11 driver reads them as the first program of a server starts: this server ends first.
    wineserver -w
  fi
  # The server keeps whatever output it is given open: none, so that no pipe waits for it.
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
)

sorvane_stop_dual_prefix() {
  WINEPREFIX=$(sorvane_dual_prefix_dir "$1") wineserver -k 2>/dev/null
  WINEPREFIX=$(sorvane_dual_prefix_dir "$1") wineserver -w 2>/dev/null
  return 0
}
