#!/bin/sh
# The demo game headless with a scripted tap and a fixed tilt (demo.input): its 130th frame
# against the reference demo.png, rendered by llvmpipe, where at most 1920 pixels (0.5 %) may
# differ by more than 10 %; then two whole games, after which the high-score file holds the
# score once, then twice (read back, merged and written again).
# Usage: run-demo.sh ZELMO_VM APP_DIR TEST_DIR
set -u
vm=$1; app=$2; dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$app/." "$work/app"
rm -f "$work/app/hiscores.txt" # left by someone playing the built example
export XDG_DATA_HOME="$work/data" PULSE_SERVER="unix:$work/no-sound-server"
fail() { echo "FAIL: $*"; echo "--- standard error:"; cat "$work/stderr"; exit 1; }
run() {
    timeout 60 "$vm" --headless --app "$work/app" --input "$dir/demo.input" \
        --accelerometer 0.1,0,-1 "$@" 2>"$work/stderr" >/dev/null
}

run --screenshot "$work/frame.png" --frames 130 || fail "exit status $? with --screenshot"
differing=$(compare -metric AE -fuzz 10% "$dir/demo.png" "$work/frame.png" null: 2>&1)
if ! [ "$differing" -le 1920 ] 2>/dev/null; then
    cp "$work/frame.png" "${TMPDIR:-/tmp}/demo.actual.png"
    fail "frame 130 differs from demo.png in $differing pixels (saved ${TMPDIR:-/tmp}/demo.actual.png)"
fi

for scores in "5 0 0 0 0" "5 5 0 0 0"; do
    run || fail "exit status $?"
    grep -qx 'LOG: starfall: game over, score 5' "$work/stderr" || fail "no game over with score 5"
    table=$(tr '\n' ' ' <"$work/app/hiscores.txt")
    [ "$table" = "$scores " ] || fail "hiscores.txt holds '$table', not '$scores '"
done
echo "demo: frame within tolerance ($differing pixels), high scores kept"
