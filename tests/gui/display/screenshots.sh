#!/bin/sh
# Screenshots of the main window on a simulated frame in the three styles, taken
# from a virtual X display:  tests/gui/display/screenshots.sh <build-dir>
# Writes docs/screenshots/main-mono.png, main-color.png and main-night.png, and the
# monitor panel (readout-en.png, readout-jp.png, readout-night.png).
set -eu
build=${1:?build directory}
root=$(cd "$(dirname "$0")/../../.." && pwd)
scene="$build/bin/display_screenshot_scene"
out="$root/docs/screenshots"
mkdir -p "$out"
shoot() {
    style=$1 file=$2
    ready=$(mktemp -u)
    xvfb-run -a -s "-screen 0 963x700x24" sh -c '
        "$0" "$1" "$2" & pid=$!
        i=0
        while [ ! -f "$2" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
        sleep 0.5
        import -window root -crop 963x672+0+0 "$3"
        kill $pid' "$scene" "$style" "$ready" "$file"
    rm -f "$ready"
}
shoot Mono "$out/main-mono.png"
shoot Color "$out/main-color.png"
shoot Night "$out/main-night.png"

# The monitor panel with the alignment read-out, in English and Japanese, drawn by
# the window itself (no display needed).
for lang in EN JP; do
    name=$(echo $lang | tr 'A-Z' 'a-z')
    QT_QPA_PLATFORM=offscreen "$scene" Color - $lang "$out/readout-$name.png"
done
QT_QPA_PLATFORM=offscreen "$scene" Night - EN "$out/readout-night.png"
