#!/bin/sh
# Records the sound guidance along a short session at the mount into
# docs/guidance-demo.wav (tones from the guidance, voice from espeak-ng), using
# the build folder given (default: build).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build}"
command -v espeak-ng >/dev/null || { echo "espeak-ng is needed: apt-get install espeak-ng" >&2; exit 1; }
cmake --build "$build" --target zw_guidance_demo
"$build/bin/zw_guidance_demo" "$root/docs/guidance-demo.wav" "${ZW_GUIDANCE_DEMO_LANG:-EN}"
echo "written: $root/docs/guidance-demo.wav"
