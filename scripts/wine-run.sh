#!/usr/bin/env bash
# CTest's emulator: runs one Windows program in the private prefix of the given architecture.
# test.sh prepares that prefix and the display; run it, or set DISPLAY and prepare them yourself.
arch=$1
shift
. "$(dirname "$0")/wine-env.sh"
export WINEARCH=$arch
WINEPREFIX=$(sorvane_prefix_dir "$arch")
export WINEPREFIX
if [ -z "${DISPLAY:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-run.sh: no DISPLAY or no prefix at $WINEPREFIX; run ./test.sh" >&2
  exit 2
fi
exec wine "$@"
