#!/bin/sh
# The demo game in a window on a private X server with a private sound server (null sink): a
# game started by a scripted tap must be heard on the sink's monitor. (run-demo.sh checks its
# frames, window/run-visibility.sh minimising.)
# Usage: run-demo-window.sh ZELMO_VM APP_DIR TEST_DIR
set -u
vm=$1; app=$2; dir=$3
. "$(dirname "$0")/../servers.sh"
requires Xvfb pulseaudio pactl parec od
cp -R "$app/." "$work/app"
rm -f "$work/app/hiscores.txt"
logged() { grep -qx "LOG: $1" "$work/vm.err"; }
start_x 1280x800
start_pulse

# A game (frame 130 ends the run), recorded from one second before the runtime starts to 1.5 s
# after it ends.
record
sleep 1
timeout 60 "$vm" --windowed --app "$work/app" --input "$dir/demo.input" --accelerometer 0.1,0,-1 \
    --screenshot "$work/shot.png" --frames 130 2>"$work/vm.err" >/dev/null ||
    fail "exit status $? with --screenshot"
sleep 1.5
recorded
logged "starfall: game started" || fail "no game"
grep -q '^audio: off' "$work/vm.err" && fail "no sound"
set -- $(measure)
[ "$2" -ge 4000 ] || fail "the game was not heard: peak $2"
echo "demo window: heard (peak $2)"
