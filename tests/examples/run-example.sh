#!/bin/sh
# Runs one built example headless on a copy of its application directory, with the scripted
# input NAME.input and the options in NAME.args when they are there, and compares its
# "LOG: "/"FATAL: " lines and exit status with NAME.expected. When NAME.png is there, the run
# must have saved a picture of that name in the application directory with exactly the same
# pixels. When NAME.screen.png is there (paint's links to paint.png: its screen shows the canvas
# pixel for pixel), the run writes its screenshot (the frame NAME.args asks for) and that must
# equal it: exactly, or with FUZZ (a colour distance in percent) allowed in at
# most MAX pixels where the screen is drawn by OpenGL on a software rasteriser.
# Usage: run-example.sh ZELMO_VM APP_DIR TEST_DIR/NAME [FUZZ MAX]
set -u
vm=$1; app=$2; base=$3; fuzz=${4:-0}; allowed=${5:-0}
name=$(basename "$base")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$app/." "$work/app"
set -- --headless --app "$work/app"
if [ -f "$base.input" ]; then set -- "$@" --input "$base.input"; fi
# shellcheck disable=SC2046 # the options are words
if [ -f "$base.args" ]; then set -- "$@" $(grep -v '^#' "$base.args"); fi
if [ -f "$base.screen.png" ]; then set -- "$@" --screenshot "$work/screen.png"; fi
XDG_DATA_HOME="$work/data" timeout 60 "$vm" "$@" 2>"$work/stderr" >/dev/null
status=$?
grep -E '^(LOG|FATAL): ' "$work/stderr" >"$work/actual"
echo "exit $status" >>"$work/actual"
if ! diff -u "$base.expected" "$work/actual"; then
    echo "--- full standard error:"; cat "$work/stderr"; exit 1
fi
# same_pixels REFERENCE ACTUAL FUZZ MAX
same_pixels() {
    differing=$(compare -metric AE -fuzz "$3%" "$1" "$2" null: 2>&1)
    if [ "$differing" -le "$4" ] 2>/dev/null; then return 0; fi
    kept="${TMPDIR:-/tmp}/$(basename "$1" .png).actual.png"
    cp "$2" "$kept"
    echo "pixels differ from $(basename "$1"): $differing beyond $3% (at most $4 allowed; saved $kept)"
    return 1
}
if [ -f "$base.png" ]; then
    picture="$work/app/$name.png"
    if [ ! -f "$picture" ]; then echo "no picture saved: $name.png"; exit 1; fi
    same_pixels "$base.png" "$picture" 0 0 || exit 1
fi
if [ -f "$base.screen.png" ]; then
    same_pixels "$base.screen.png" "$work/screen.png" "$fuzz" "$allowed" || exit 1
fi
exit 0
