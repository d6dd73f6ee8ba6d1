#!/usr/bin/env bash
# CTest's emulator: runs one Windows program in the private prefix of the given architecture.
# test.sh prepares that prefix and the display; run it, or set DISPLAY and prepare them yourself.
arch=$1
shift
. "$(dirname "$0")/wine-env.sh"
export WINEARCH=$arch
WINEPREFIX=$(sorvane_prefix_dir "$arch")
export WINEPREFIX
# A test that needs two monitors runs on the two-monitor display in the prefix made for it.
if [ -n "${SORVANE_TWO_MONITORS:-}" ]; then
  WINEPREFIX=$(sorvane_dual_prefix_dir "$arch")
  export DISPLAY=${SORVANE_DUAL_DISPLAY:-}
  if [ -z "$DISPLAY" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-run.sh: no two-monitor display (SORVANE_DUAL_DISPLAY) or no prefix at $WINEPREFIX;" \
      "run ./test.sh" >&2
    exit 2
  fi
fi
if [ -z "${DISPLAY:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-run.sh: no DISPLAY or no prefix at $WINEPREFIX; run ./test.sh" >&2
  exit 2
fi
exec wine "$@"
