#!/usr/bin/env bash
# Builds Sorvane and starts it under Wine inside a virtual desktop, with a few programs that come
# with Wine to switch between. Uses $DISPLAY when set, else a private Xvfb.
#   ./run.sh                     start
#   SORVANE_THEME=dark ./run.sh  start with Windows' applications set to dark (the Overview follows)
#   ./run.sh stop                stop what an earlier ./run.sh started
set -euo pipefail
cd "$(dirname "$0")"
. scripts/wine-env.sh

state=build/run
export WINEARCH=win32
export WINEPREFIX=$SORVANE_ROOT/build/wineprefix-run
desktop="explorer /desktop=sorvane,$SORVANE_DESKTOP_SIZE"

stop() {
  wineserver -k 2>/dev/null || true
  if [ -f "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    rm -f "$state/xvfb.pid"
  fi
  echo "Stopped."
}

if [ "${1:-}" = stop ]; then
  stop
  exit 0
fi

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc 2>/dev/null || echo 2)" --target Sorvane Sentrel
mkdir -p "$state"

if [ -z "${DISPLAY:-}" ]; then
  sorvane_start_xvfb
  echo "$SORVANE_XVFB_PID" >"$state/xvfb.pid"
  echo "No DISPLAY: started a private Xvfb on $DISPLAY (pid $SORVANE_XVFB_PID)."
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (about 15 s)..."
  wineboot -i </dev/null >/dev/null 2>&1
fi
# The applications' light or dark mode, as Windows' settings keep it: the Overview reads it at each showing.
light=1 suffix=
if [ "${SORVANE_THEME:-light}" = dark ]; then light=0 suffix=-dark; fi
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' /v AppsUseLightTheme \
  /t REG_DWORD /d "$light" /f </dev/null >/dev/null 2>&1

# Windows to switch between, then Sorvane itself, all in one virtual desktop window. Every program
# opens at the desktop's top-left corner; under Wine a snapshot shows only what is visible of a
# window on screen, so a small helper places them side by side, none covering another.
placer=$state/place-window.exe
if [ ! -f "$placer" ] || [ scripts/place-window.c -nt "$placer" ]; then
  i686-w64-mingw32-gcc-posix -O2 -Wall -Wextra -static -mwindows -o "$placer" scripts/place-window.c
fi
setsid wine $desktop notepad.exe "$(winepath -w README.md 2>/dev/null)" </dev/null >/dev/null 2>&1 &
sleep 1
setsid wine $desktop regedit.exe </dev/null >/dev/null 2>&1 &
sleep 1
setsid wine $desktop winemine.exe </dev/null >/dev/null 2>&1 &
wine $desktop "$placer" "README.md - Notepad" 12 12 490 420 </dev/null >/dev/null 2>&1 || true
wine $desktop "$placer" "Registry Editor" 514 12 498 420 </dev/null >/dev/null 2>&1 || true
wine $desktop "$placer" "WineMine" 12 450 </dev/null >/dev/null 2>&1 || true
setsid wine $desktop "$SORVANE_ROOT/build/win32/Sorvane.exe" </dev/null >"$state/sorvane.log" 2>&1 &
sleep 3

if [ -n "${SORVANE_XVFB_PID:-}" ]; then
  # Nobody can see this display: open the Overview the way a user would (the pointer into the
  # bottom-right corner) and keep a picture of it.
  xdotool mousemove 512 384
  sleep 0.5
  xdotool mousemove "$(( ${SORVANE_DESKTOP_SIZE%x*} - 1 ))" "$(( ${SORVANE_DESKTOP_SIZE#*x} - 1 ))"
  sleep 3
  shot="$SORVANE_ROOT/$state/overview$suffix.png"
  import -window root "$shot"
  echo "Opened the Overview (pointer in the bottom-right corner); screenshot: $shot"
fi

cat <<MSG
Sorvane is running under Wine on display $DISPLAY, in the virtual desktop "sorvane"
($SORVANE_DESKTOP_SIZE), beside notepad, winemine and regedit.
  Prefix:  $WINEPREFIX
  Use it:  the tray icon (bottom right) opens its menu; its hotkeys are Alt+Tab (the Overview),
           Win+Z, Win+A and Alt with the key above Tab (the program in front's windows).
  Stop:    choose "Exit" in the tray menu, or run: ./run.sh stop
MSG
