# Shared by the window tests (sourced): a private X server, D-Bus bus, home and runtime
# folder per test, the event-logging application, and helpers to drive and watch zelmo-vm.
# The sourcing script is called with: ZELMO_ASM ZELMO_VM WINDOW_PROBE
set -u
asm=$1 vm=$2 probe=$3
here=$(cd "$(dirname "$0")" && pwd)
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed: skipped"; exit 77; }

work=$(mktemp -d)
xpid="" vmpid="" buspid=""
cleanup() {
    for pid in $vmpid $xpid $buspid; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$work/app"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LIBGL_ALWAYS_SOFTWARE=1 ZELMO_TEST_PATTERN=1
# No system bus unless a test starts its own.
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/no-bus"
"$asm" "$here/events.asm" -o "$work/app/index.mcb" || exit 1

fail() {
    echo "FAIL: $*"
    if [ -f "$work/vm.err" ]; then echo "--- zelmo-vm standard error:"; cat "$work/vm.err"; fi
    exit 1
}

# Retries a command for up to ten seconds (events pass the X server and the event loop first).
eventually() {
    tries=0
    until "$@" 2>"$work/eventually.err"; do
        tries=$((tries + 1))
        [ $tries -ge 50 ] && { cat "$work/eventually.err"; return 1; }
        sleep 0.2
    done
}

# start_x WIDTHxHEIGHT: a fresh X server of that size becomes $DISPLAY.
start_x() {
    [ -n "$xpid" ] && { kill "$xpid"; wait "$xpid" 2>/dev/null; }
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.err" &
    xpid=$!
    eventually test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
}

# start_bus: a private bus standing in for the system bus.
start_bus() {
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/buspid"
    buspid=$(cat "$work/buspid")
    DBUS_SYSTEM_BUS_ADDRESS=$(cat "$work/bus")
}

# logged TEXT [N]: the application logged TEXT at least N times (default once).
logged() { [ "$(grep -c "^LOG: $1\$" "$work/vm.err")" -ge "${2:-1}" ]; }

# start_vm ARGS...: the application in the window; returns once it runs and its window is up.
start_vm() {
    "$vm" --app "$work/app" "$@" 2>"$work/vm.err" >/dev/null &
    vmpid=$!
    eventually logged started || fail "the application did not start"
    window=$(xdotool search --sync --onlyvisible --pid "$vmpid" | head -n 1)
    [ -n "$window" ] || fail "no window"
}

# A sanitizer report or a Qt warning fails the test.
no_warnings() {
    if grep -E 'runtime error:|Sanitizer|^==[0-9]+==|^(Warning|WARNING|Q[A-Z][A-Za-z]+[:( ])|^qt\.' \
        "$work/vm.err" >"$work/bad"; then
        fail "unexpected standard error: $(cat "$work/bad")"
    fi
}

# stop_vm: 'q' makes the application exit; its status must be 0.
stop_vm() {
    xdotool key q
    wait "$vmpid"
    status=$?
    vmpid=""
    [ $status -eq 0 ] || fail "exit status $status"
    no_warnings
}

# expect_log: the LOG lines so far equal standard input.
expect_log() {
    grep '^LOG: ' "$work/vm.err" >"$work/actual"
    diff -u - "$work/actual" || fail "unexpected events"
}
