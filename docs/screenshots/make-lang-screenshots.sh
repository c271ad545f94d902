#!/bin/sh
# Screenshots of the main window in English, German and Japanese on a virtual screen.
#   docs/screenshots/make-lang-screenshots.sh <build dir>
# Needs Xvfb and ImageMagick's import; the build dir must hold lang_screenshot and
# the simulated camera (ninja lang_screenshot zorcam).
set -eu
build=${1:?build directory}
out=$(cd "$(dirname "$0")" && pwd)
display=:87
Xvfb $display -screen 0 1200x880x24 -nolisten tcp &
xvfb=$!
trap 'kill $xvfb' EXIT
sleep 1
for lang in EN DE JP; do
    name=$(echo $lang | tr 'A-Z' 'a-z')
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    DISPLAY=$display QT_QPA_PLATFORM=xcb "$build/bin/lang_screenshot" $lang >"$fifo" &
    app=$!
    read -r line <"$fifo"
    DISPLAY=$display import -window root "$out/lang-$name.png"
    kill $app
    wait $app || true
    rm -f "$fifo"
done
