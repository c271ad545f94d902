#!/bin/sh
# Rebuilds the picture generator and rewrites the committed pictures in
# resources/images. Review the result with `git diff --stat resources/images`
# and run the images test before committing.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${ZW_IMAGEGEN_BUILD_DIR:-$root/build-imagegen}"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DZW_BUILD_TESTS=OFF -DZW_BUILD_BENCH=OFF
fi
ninja -C "$build" zw_imagegen
QT_QPA_PLATFORM=offscreen "$build/bin/zw_imagegen" "$root/resources/images"
echo "pictures written to $root/resources/images"
