#!/bin/sh
# Plays clips through zelmo-vm into a private sound server with a null sink, records the sink's
# monitor and checks what was heard: spans and peaks only, since the monitor records nothing
# while the sink is idle. Also the runs without a usable server. Skips (77) when the server or
# its tools are missing. Usage: run-pulse-tests.sh ZELMO_ASM ZELMO_VM
set -u
abspath() { (cd "$(dirname "$1")" && printf '%s/%s' "$(pwd)" "$(basename "$1")"); }
asm=$(abspath "$1"); vm=$(abspath "$2")
for tool in pulseaudio pactl parec sox od; do
    command -v $tool >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
done
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/run" HOME="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" "$work/app"
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit=yes -n --use-pid-file=no \
    --load="module-null-sink sink_name=zelmo_null" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse/native" \
    --log-target=file:"$work/pa.log" &
pa=$!
trap 'kill $pa 2>/dev/null; wait $pa 2>/dev/null; rm -rf "$work"' EXIT
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
tries=0
until pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && { echo "the sound server did not start"; cat "$work/pa.log"; exit 1; }
    sleep 0.1
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Clips: raw S16LE mono 44100 Hz sines of peak 8000, no dither.
clip() { sox -D -n -r 44100 -e signed -b 16 -c 1 -t raw "$work/app/$1" synth "$2" sine "$3" vol 0.24414; }
clip a.raw 0.5 440
clip b.raw 0.5 880
clip long.raw 5 440
clip two.raw 2 440
printf 'x' >>"$work/app/b.raw" # 44101 bytes: a last half frame

# The test application: main runs $main, a 100 ms timer counts ticks in global 3 and runs
# $ticks; global 0 and 1 hold players, 2 a file reader. The application exits at tick $end.
load_file() { printf '    PUSHGLOBALS\n    FLDADDR8 %s\n    PUSHSTR "%s"\n    PUSH0\n    EXTCALL AudioPlayer, 1\n' "$1" "$2"; }
load_bytes() { # global, file, size: read the file into a byte array, make a player of it
    printf '    PUSHGLOBALS\n    FLDADDR8 2\n    PUSHSTR "%s"\n    NATIVE FileReader, 1\n' "$2"
    printf '    PUSHGLOBALS\n    FLDADDR8 %s\n    PUSHGLOBALS\n    FLDADDR8 2\n    PUSH32 %s\n    NATIVE InputStream, 3\n    PUSH0\n    EXTCALL AudioPlayer, 2\n' "$1" "$3"
}
player_op() { printf '    PUSHGLOBALS\n    FLDADDR8 %s\n    LOAD\n    EXTCALL AudioPlayer, %s\n' "$1" "$2"; }
play() { player_op "$1" 3; }
stop() { player_op "$1" 4; }
drop() { printf '    PUSHGLOBALS\n    FLDADDR8 %s\n    PUSH0\n    STORE\n' "$1"; }
at_tick() { # tick, code
    printf '    PUSHGLOBALS\n    FLDADDR8 3\n    LOAD\n    PUSH32 %s\n    EQ\n    JZ16 after%s\n%s\nafter%s:\n' "$1" "$1" "$2" "$1"
}
build() { # main code, tick code, exit tick
    cat >"$work/app/test.asm" <<ASM
.globals 4
.class Ticker
.selector @timerevent
.impl Ticker tick
.function @main main
main:
$1
    NEW CLASS_OBJECT, 1
    DUP
    SETCLASS Ticker
    PUSH32 100
    NATIVE Timer, 1
    FRAME8 -1
    RET 0, 1
tick:
    PUSHGLOBALS
    FLDADDR8 3
    INC
$2
$(at_tick "$3" "    NATIVE System, 1")
    RET 0, 2
ASM
    "$asm" "$work/app/test.asm" -o "$work/app/index.mcb" || { echo "assembly failed"; exit 1; }
}
# Runs the application with the options given, recording the monitor from 1 s before.
run_recorded() {
    parec --latency-msec=20 -d zelmo_null.monitor --raw --format=s16le --rate=44100 \
        --channels=1 >"$work/rec.raw" &
    rec=$!
    sleep 1
    (cd "$work/app" && timeout 60 "$vm" --headless --app "$work/app" "$@" 2>"$work/stderr")
    status=$?
    kill $rec; wait $rec 2>/dev/null
    check_run
}
check_run() {
    [ $status -eq 0 ] || fail "$name: exit status $status"
    if grep -E 'runtime error:|Sanitizer|^==[0-9]+==' "$work/stderr"; then fail "$name: sanitizer"; fi
}
# "span peak" of the recording: frames from the first to the last non-silent one, and the
# largest magnitude.
measure() {
    od -An -v -td2 -w2 "$work/rec.raw" | awk '
        { v = $1 < 0 ? -$1 : $1; if (v > peak) peak = v
          if (v > 64) { if (!first) first = NR; last = NR } }
        END { print (first ? last - first + 1 : 0), peak + 0 }'
}
expect_heard() { # frames, peak, percent tolerance of the peak
    set -- "$1" "$2" "$3" $(measure)
    echo "$name: span $4 frames (clip $1), peak $5 (expected $2)"
    [ "$4" -ge $(($1 * 9 / 10)) ] || fail "$name: span $4 < 90% of $1"
    [ $(($5 * 100)) -ge $(($2 * (100 - $3))) ] && [ $(($5 * 100)) -le $(($2 * (100 + $3))) ] ||
        fail "$name: peak $5 not within $3% of $2"
}

# No timer: the run stays open while the clip plays, and ends (status 0) once it has been heard.
name="5 s file clip stopped before play, in main, no timer"
printf '.globals 4\n.function @main main\nmain:\n%s\n    RET 0, 1\n' \
    "$(load_file 0 long.raw; stop 0; play 0)" >"$work/app/test.asm"
"$asm" "$work/app/test.asm" -o "$work/app/index.mcb" || { echo "assembly failed"; exit 1; }
run_recorded
expect_heard 220500 8000 2
grep -q '^End of initialize$' "$work/stderr" || fail "$name: no 'End of initialize'"
grep -q '^writeSamples: req: [0-9]*, offset: 0, left: 441000$' "$work/stderr" ||
    fail "$name: no first write from the start"
if grep -q '^audio: off' "$work/stderr"; then fail "$name: audio is off"; fi
name="the same muted" # the null output holds nothing open: the run ends (a hang is status 124)
(cd "$work/app" && timeout 60 "$vm" --headless --app "$work/app" --mute 2>"$work/stderr")
status=$?
check_run

name="byte-array clip of 44101 bytes"
build "$(load_bytes 0 b.raw 44101; play 0)" "" 20
run_recorded
expect_heard 22050 8000 2

name="two clips at once"
build "$(load_file 0 a.raw; load_bytes 1 b.raw 44101; play 0; play 1)" "" 20
run_recorded
set -- $(measure)
echo "$name: span $1, peak $2"
[ "$2" -gt 12000 ] && [ "$2" -le 16000 ] || fail "$name: peak $2 is not that of two mixed clips"

name="volume 50"
build "$(load_file 0 a.raw; play 0)" "" 20
run_recorded --volume 50
expect_heard 22050 4000 3

name="muted"
build "$(load_file 0 a.raw; play 0)" "$(at_tick 5 "$(play 0)")" 15
parec --latency-msec=20 -d zelmo_null.monitor --raw --format=s16le --rate=44100 --channels=1 \
    >"$work/rec.raw" &
rec=$!
(cd "$work/app" && timeout 60 "$vm" --headless --app "$work/app" --mute 2>"$work/stderr") &
app=$!
sleep 0.8
inputs=$(pactl list short sink-inputs | grep -v -c parec)
wait $app; status=$?
kill $rec; wait $rec 2>/dev/null
check_run
[ "$inputs" -eq 0 ] || fail "$name: $inputs sink inputs while muted"
set -- $(measure)
[ "$2" -eq 0 ] || fail "$name: peak $2 while muted"
[ "$(grep -c '^audio: off (muted)$' "$work/stderr")" -eq 1 ] || fail "$name: no single 'audio: off' line"

name="stop after 2 s of a 5 s clip"
build "$(load_file 0 long.raw; play 0)" "$(at_tick 20 "$(stop 0)")" 35
run_recorded
set -- $(measure)
echo "$name: span $1 frames"
# The stream is up well before the stop, so some of the clip is heard, and far less than 5 s.
[ "$1" -gt 0 ] && [ "$1" -lt 176400 ] || fail "$name: span $1 frames is not well short of 5 s"

name="play again after 1.5 s of a 2 s clip"
build "$(load_file 0 two.raw; play 0)" "$(at_tick 15 "$(play 0)")" 50
run_recorded
set -- $(measure)
echo "$name: span $1 frames"
# The stream comes up well within the first second, so the second play cuts the clip after at
# least half a second of it and plays it whole again.
[ "$(grep -c '^writeSamples: req: [0-9]*, offset: 0, left: 176400$' "$work/stderr")" -eq 2 ] ||
    fail "$name: the clip was not written from its start twice"
[ "$1" -gt 97020 ] || fail "$name: span $1 frames: the clip did not restart (2.2 s: 97020)"

# Collected at 1 s, while the server still plays out the half-second clip it was given whole:
# the answer to its drain request must not reach the freed player.
name="player dropped while playing"
build "$(load_file 0 a.raw; play 0)" "$(at_tick 10 "$(drop 0)")" 30
(cd "$work/app" && timeout 60 "$vm" --headless --app "$work/app" 2>"$work/stderr") &
app=$!
# The clip's stream appears, then goes with the collected player while the application runs on.
streams() { pactl list short sink-inputs | grep -v -c parec; }
seen=no; gone=no
while kill -0 $app 2>/dev/null; do
    n=$(streams)
    [ "$n" -gt 0 ] && seen=yes
    [ $seen = yes ] && [ "$n" -eq 0 ] && { gone=yes; break; }
    sleep 0.05
done
wait $app; status=$?
check_run
[ $seen = yes ] && [ $gone = yes ] || fail "$name: stream seen: $seen, gone before the end: $gone"

# Without a usable server the application runs to its end, silently, saying so once.
build "$(load_file 0 a.raw; play 0; stop 0; play 0)" "" 3
for case in "no server" "no GLib event loop"; do
    name=$case
    if [ "$case" = "no server" ]; then
        (cd "$work/app" && PULSE_SERVER=unix:/missing timeout 60 "$vm" --headless --app "$work/app" 2>"$work/stderr")
    else
        (cd "$work/app" && QT_NO_GLIB=1 timeout 60 "$vm" --headless --app "$work/app" 2>"$work/stderr")
    fi
    status=$?
    check_run
    grep '^audio: off' "$work/stderr"
    [ "$(grep -c '^audio: off (' "$work/stderr")" -eq 1 ] || fail "$name: no single 'audio: off' line"
done

[ $failures -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "all heard as expected"
