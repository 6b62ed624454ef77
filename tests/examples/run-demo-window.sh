#!/bin/sh
# The demo game in a window on a private X server (Xvfb) with a private sound server whose sink
# is a null sink: a game started by a scripted tap is recorded from the sink's monitor while it
# plays (its clips must be heard) and its 130th frame is written by --screenshot; then a second
# run pauses when its window is minimised, resumes when it is restored, and ends with status 0
# on Escape. Skips (77) without Xvfb or the sound tools.
# Usage: run-demo-window.sh ZELMO_VM WINDOW_PROBE APP_DIR TEST_DIR
set -u
vm=$1; probe=$2; app=$3; dir=$4
for tool in Xvfb xdotool pulseaudio pactl parec od; do
    command -v $tool >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
done
work=$(mktemp -d)
xpid="" pa="" rec="" vmpid=""
cleanup() {
    for pid in $vmpid $rec $pa $xpid; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/data"
export LIBGL_ALWAYS_SOFTWARE=1 DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus"
mkdir -p "$HOME" "$work/run"
chmod 700 "$work/run"
cp -R "$app/." "$work/app"
rm -f "$work/app/hiscores.txt"
fail() { echo "FAIL: $*"; [ -f "$work/vm.err" ] && { echo "--- standard error:"; cat "$work/vm.err"; }; exit 1; }
eventually() { # retries the command for up to ten seconds
    tries=0
    until "$@" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -ge 50 ] && return 1
        sleep 0.2
    done
}
logged() { grep -qx "LOG: $1" "$work/vm.err"; }

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xpid=$!
eventually test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit=yes -n --use-pid-file=no \
    --load="module-null-sink sink_name=zelmo_null" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$work/run/pulse/native" \
    --log-target=file:"$work/pa.log" &
pa=$!
export PULSE_SERVER="unix:$work/run/pulse/native"
eventually pactl info >/dev/null || fail "the sound server did not start"

# A game, recorded from one second before the runtime starts to 1.5 s after it ends.
parec --latency-msec=20 -d zelmo_null.monitor --raw --format=s16le --rate=44100 --channels=1 \
    >"$work/rec.raw" &
rec=$!
sleep 1
timeout 60 "$vm" --windowed --app "$work/app" --input "$dir/demo.input" --accelerometer 0.1,0,-1 \
    --screenshot "$work/shot.png" --frames 130 2>"$work/vm.err" >/dev/null ||
    fail "exit status $? with --screenshot"
sleep 1.5
kill $rec; wait $rec 2>/dev/null; rec=""
logged "starfall: game started" || fail "no game"
grep -q '^audio: off' "$work/vm.err" && fail "no sound"
peak=$(od -An -v -td2 -w2 "$work/rec.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > p) p = v } END { print p + 0 }')
[ "$peak" -ge 4000 ] || fail "the game was not heard: peak $peak"
# The frame shows the game: the paddle's green and the score line's white are there.
colours=$(convert "$work/shot.png" -format %k info:)
[ "$colours" -ge 100 ] || fail "the screenshot has only $colours colours"
[ -n "${ZELMO_DEMO_SHOT:-}" ] && cp "$work/shot.png" "$ZELMO_DEMO_SHOT"

# Minimise and restore while a game runs, then Escape.
"$vm" --windowed --app "$work/app" 2>"$work/vm.err" >/dev/null &
vmpid=$!
window=$(xdotool search --sync --onlyvisible --pid "$vmpid" | head -n 1)
[ -n "$window" ] || fail "no window"
eventually logged "starfall: arrows, drag or tilt to move; space or tap to start; Escape quits" ||
    fail "the game did not start up"
# The window shown at start-up is the game's starting state: the first minimise pauses it.
xdotool windowfocus --sync "$window" key space
eventually logged "starfall: game started" || fail "space did not start a game"
"$probe" wm-state "$window" iconic
eventually logged "starfall: paused" || fail "minimising did not pause"
"$probe" wm-state "$window" normal
eventually logged "starfall: resumed" || fail "restoring did not resume"
xdotool windowfocus --sync "$window" key Escape
wait $vmpid
status=$?
vmpid=""
[ $status -eq 0 ] || fail "exit status $status after Escape"
logged "starfall: bye" || fail "Escape did not quit"
echo "demo window: heard (peak $peak), $colours colours in frame 130, paused, resumed, quit"
