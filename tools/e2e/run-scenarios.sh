#!/bin/sh
# Builds and runs the end-to-end alignment scenarios on the simulated mount and
# prints one line per scenario: the residual misalignment of the RA axis
# (arcseconds) and the distance of the shown pole from the true pole (pixels).
#
#   tools/e2e/run-scenarios.sh                  every scenario, build folder ./build
#   tools/e2e/run-scenarios.sh -v north-2024    one scenario, with its notes
#   BUILD=build-e2e/out tools/e2e/run-scenarios.sh
set -e
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-$repo/build}
case $build in /*) ;; *) build=$repo/$build ;; esac
[ -f "$build/build.ninja" ] || cmake -S "$repo" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target zw_alignment_scenarios -- -j2 >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} exec "$build/bin/zw_alignment_scenarios" "$@"
