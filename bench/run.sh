#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on a private Xvfb and prefix; prints their figures.
#   bench/run.sh [runs [cycles [idle-seconds]]]   (defaults 15, 400, 60; 32-bit build; SORVANE_PRESETS=win64 for the other)
#   bench/run.sh blackbox [rounds]                 (default 5: the user's view from outside, Sorvane started afresh each round)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
. scripts/wine-env.sh
preset=${SORVANE_PRESETS:-win32}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc 2>/dev/null || echo 2)" --target sorvane_overview_bench
export SORVANE_WINE_ROOT=$SORVANE_ROOT/build/bench
cleanup() { set +e; sorvane_stop_prefix "$preset"; rm -rf "$SORVANE_WINE_ROOT"; sorvane_stop_xvfb; }
trap 'rc=$?; cleanup; exit $rc' EXIT
sorvane_start_xvfb
sorvane_prepare_prefix "$preset"
if [ "${1:-}" = blackbox ]; then
  wine "build/$preset/sorvane_overview_bench.exe" blackbox "${2:-5}"
else
  wine "build/$preset/sorvane_overview_bench.exe" "${1:-15}" "${2:-400}" "${3:-60}"
fi
