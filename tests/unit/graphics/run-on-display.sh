#!/bin/sh
# Runs the graphics tests on the X display that xvfb-run provides, then renders the same scene on
# the offscreen platform and on the display and requires identical pixels.
set -eu
test_binary=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=xcb "$test_binary"
QT_QPA_PLATFORM=offscreen "$test_binary" --dump-scene "$work/offscreen.argb"
QT_QPA_PLATFORM=xcb "$test_binary" --dump-scene "$work/xcb.argb"
cmp "$work/offscreen.argb" "$work/xcb.argb"
echo "identical pixels on offscreen and xcb"
