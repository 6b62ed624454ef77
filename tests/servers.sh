# Sourced by the tests that run real servers (Xvfb, dbus-daemon, pulseaudio): a scratch folder
# $work with a private home, runtime and data folder, removed at exit together with every
# process started here (stopped by its id), and the waiting and failing helpers.
work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
export XDG_DATA_HOME="$work/data" LIBGL_ALWAYS_SOFTWARE=1
# No system bus unless a test starts its own.
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus"
mkdir -p "$HOME" "$work/app"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# fail TEXT: the test fails, showing zelmo-vm's standard error when there is one.
fail() {
    echo "FAIL: $*"
    if [ -f "$work/vm.err" ]; then echo "--- zelmo-vm standard error:"; cat "$work/vm.err"; fi
    exit 1
}

# requires TOOL...: skipped (status 77) when one is not installed.
requires() {
    for tool; do command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }; done
}

# eventually COMMAND...: retries it for up to ten seconds (servers and event loops take a while).
eventually() {
    tries=0
    until "$@" 2>"$work/eventually.err"; do
        tries=$((tries + 1))
        [ $tries -ge 50 ] && { cat "$work/eventually.err"; return 1; }
        sleep 0.2
    done
}

# started COMMAND...: runs it in the background, stopped at the end.
started() {
    "$@" &
    pids="$pids $!"
}

# start_x WIDTHxHEIGHT: a fresh X server of that size (the previous one stops) is $DISPLAY.
start_x() {
    [ -n "${xpid:-}" ] && { kill "$xpid"; wait "$xpid" 2>/dev/null; }
    rm -f "$work/display"
    started Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" \
        2>"$work/xvfb.err"
    xpid=$!
    eventually test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
}

# start_bus: a private D-Bus bus; its address is $bus.
start_bus() {
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/buspid" ||
        fail "no dbus-daemon"
    pids="$pids $(cat "$work/buspid")"
    bus=$(head -n 1 "$work/bus")
}

# start_pulse: a private sound server whose only sink is the null sink zelmo_null.
start_pulse() {
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    started pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit=yes -n \
        --use-pid-file=no --load="module-null-sink sink_name=zelmo_null" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=${PULSE_SERVER#unix:}" \
        --log-target=file:"$work/pa.log"
    eventually pactl info >/dev/null || fail "the sound server did not start: $(cat "$work/pa.log")"
}

# record ... recorded: the null sink's monitor in between, into $work/rec.raw. The monitor
# records nothing while the sink is idle, so only spans and peaks can be checked.
record() {
    parec --latency-msec=20 -d zelmo_null.monitor --raw --format=s16le --rate=44100 \
        --channels=1 >"$work/rec.raw" &
    rec=$!
}
recorded() { kill $rec; wait $rec 2>/dev/null; }
# measure: "SPAN PEAK": frames from the first to the last sound, and the largest magnitude.
measure() {
    od -An -v -td2 -w2 "$work/rec.raw" | awk '
        { v = $1 < 0 ? -$1 : $1; if (v > peak) peak = v
          if (v > 64) { if (!first) first = NR; last = NR } }
        END { print (first ? last - first + 1 : 0), peak + 0 }'
}
