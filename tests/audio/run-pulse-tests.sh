#!/bin/sh
# Plays clips through zelmo-vm into a private sound server with a null sink, records the sink's
# monitor and checks what was heard; also the runs without a usable server. Skips (77) when the
# server or its tools are missing. Usage: run-pulse-tests.sh ZELMO_ASM ZELMO_VM
set -u
abspath() { (cd "$(dirname "$1")" && printf '%s/%s' "$(pwd)" "$(basename "$1")"); }
asm=$(abspath "$1"); vm=$(abspath "$2")
. "$(dirname "$0")/../servers.sh"
requires pulseaudio pactl parec sox od
start_pulse
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Clips: raw S16LE mono 44100 Hz sines of peak 8000, no dither.
clip() { sox -D -n -r 44100 -e signed -b 16 -c 1 -t raw "$work/app/$1" synth "$2" sine "$3" vol 0.24414; }
clip a.raw 0.5 440
clip b.raw 0.5 880
clip long.raw 5 440
clip two.raw 2 440
printf 'x' >>"$work/app/b.raw" # 44101 bytes: a last half frame

# The test application: main runs $1, a 100 ms timer counts ticks in global 3 and runs $2;
# global 0 and 1 hold players, 2 a file reader. The application exits at tick $3.
global() { printf '    PUSHGLOBALS\n    FLDADDR8 %s\n' "$1"; }
load_file() { global "$1"; printf '    PUSHSTR "%s"\n    PUSH0\n    EXTCALL AudioPlayer, 1\n' "$2"; }
load_bytes() { # global, file, size: read the file into a byte array, make a player of it
    global 2; printf '    PUSHSTR "%s"\n    NATIVE FileReader, 1\n' "$2"
    global "$1"; global 2; printf '    PUSH32 %s\n    NATIVE InputStream, 3\n' "$3"
    printf '    PUSH0\n    EXTCALL AudioPlayer, 2\n'
}
play() { global "$1"; printf '    LOAD\n    EXTCALL AudioPlayer, 3\n'; }
stop() { global "$1"; printf '    LOAD\n    EXTCALL AudioPlayer, 4\n'; }
drop() { global "$1"; printf '    PUSH0\n    STORE\n'; }
at_tick() { # tick, code
    global 3; printf '    LOAD\n    PUSH32 %s\n    EQ\n    JZ16 after%s\n%s\nafter%s:\n' "$1" "$1" "$2" "$1"
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
$(global 3)
    INC
$2
$(at_tick "$3" "    NATIVE System, 1")
    RET 0, 2
ASM
    "$asm" "$work/app/test.asm" -o "$work/app/index.mcb" || { echo "assembly failed"; exit 1; }
}
# run ARGS...: the application with these options; check: its exit status and standard error.
run() {
    (cd "$work/app" && timeout 60 "$vm" --headless --app "$work/app" "$@" 2>"$work/stderr")
    status=$?
    check
}
check() {
    [ $status -eq 0 ] || fail "$name: exit status $status"
    if grep -E 'runtime error:|Sanitizer|^==[0-9]+==' "$work/stderr"; then fail "$name: sanitizer"; fi
}
# The run recorded from 1 s before.
run_recorded() {
    record
    sleep 1
    run "$@"
    recorded
}
expect_heard() { # frames, peak, percent tolerance of the peak
    set -- "$1" "$2" "$3" $(measure)
    echo "$name: span $4 frames (clip $1), peak $5 (expected $2)"
    [ "$4" -ge $(($1 * 9 / 10)) ] || fail "$name: span $4 < 90% of $1"
    [ $(($5 * 100)) -ge $(($2 * (100 - $3))) ] && [ $(($5 * 100)) -le $(($2 * (100 + $3))) ] ||
        fail "$name: peak $5 not within $3% of $2"
}
# off_once [REASON]: the run said once (and why) that it plays nothing.
off_once() {
    [ "$(grep -c "^audio: off (${1:-}" "$work/stderr")" -eq 1 ] || fail "$name: no single 'audio: off' line"
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
# Muted, the null output holds nothing open: the run ends at once (a hang is status 124),
# silent, and says once why.
name="the same muted"
record
run --mute
recorded
set -- $(measure)
[ "$2" -eq 0 ] || fail "$name: peak $2 while muted"
off_once "muted)"

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
wait $app
status=$?
check
[ $seen = yes ] && [ $gone = yes ] || fail "$name: stream seen: $seen, gone before the end: $gone"

# Without a usable server the application runs to its end, silently, saying so once.
build "$(load_file 0 a.raw; play 0; stop 0; play 0)" "" 3
name="no server"
server=$PULSE_SERVER
PULSE_SERVER=unix:/missing
run
off_once
PULSE_SERVER=$server
name="no GLib event loop"
export QT_NO_GLIB=1
run
off_once

[ $failures -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "all heard as expected"
