#!/usr/bin/env bash
# Builds both presets and runs every test of both under Wine, in private prefixes and private X
# servers that this script creates and removes: an Xvfb for the one-monitor virtual desktop, and an
# Xephyr with two monitors nested in another Xvfb. Exits non-zero on any failure.
# SORVANE_PRESETS="win32" limits the run to one build; SORVANE_TESTS="regex" runs only the tests
# whose names match it (ctest -R).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
. scripts/wine-env.sh

presets=(${SORVANE_PRESETS:-win32 win64})
jobs=$(nproc 2>/dev/null || echo 2)

for preset in "${presets[@]}"; do
  echo "== building $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

cleanup() {
  set +e
  for preset in "${presets[@]}"; do
    sorvane_stop_prefix "$preset"
    sorvane_stop_dual_prefix "$preset"
    rm -rf "$(sorvane_prefix_dir "$preset")" "$(sorvane_dual_prefix_dir "$preset")"
  done
  sorvane_stop_dual_display
  sorvane_stop_xvfb
}
# Clean up on every way out, keeping the tests' verdict as the exit code.
trap 'rc=$?; cleanup; exit $rc' EXIT

sorvane_start_xvfb
# The two-monitor tests run on a display of their own, in a prefix of their own.
sorvane_start_dual_display
status=0
for preset in "${presets[@]}"; do
  echo "== testing $preset (display $DISPLAY; two monitors on $SORVANE_DUAL_DISPLAY)"
  rm -rf "$(sorvane_prefix_dir "$preset")" "$(sorvane_dual_prefix_dir "$preset")"
  sorvane_prepare_prefix "$preset"
  sorvane_prepare_dual_prefix "$preset"
  ctest --preset "$preset" --output-on-failure --timeout 300 ${SORVANE_TESTS:+-R "$SORVANE_TESTS"} || status=1
  sorvane_stop_prefix "$preset"
  sorvane_stop_dual_prefix "$preset"
done
exit $status
