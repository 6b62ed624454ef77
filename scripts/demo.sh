#!/bin/sh
# Installs what is missing, builds zelmo and starts the demo game Starfall in a window. Without a
# display (neither DISPLAY nor WAYLAND_DISPLAY set) it plays a few seconds of it headless, with
# a scripted tap and a tilt, and writes a screenshot.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
app=build/examples/demo
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/src/zelmo-vm --windowed --app "$app"
fi
echo "No display: playing Starfall headless for a few seconds."
printf '1500 pointer press 120 400\n1550 pointer release 120 400\n' >build/demo.input
build/src/zelmo-vm --headless --timeout 60 --app "$app" --input build/demo.input \
    --accelerometer 0.1,0,-1 --screenshot build/demo.png --frames 240
echo "Screenshot of the game: $PWD/build/demo.png"
