# Shared by the window tests (sourced): the servers of ../servers.sh, the event-logging
# application, and helpers to drive and watch zelmo-vm.
# The sourcing script is called with: ZELMO_ASM ZELMO_VM WINDOW_PROBE
set -u
asm=$1 vm=$2 probe=$3
here=$(cd "$(dirname "$0")" && pwd)
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed: skipped"; exit 77; }
. "$here/../servers.sh"
export ZELMO_TEST_PATTERN=1
"$asm" "$here/events.asm" -o "$work/app/index.mcb" || exit 1

# logged TEXT [N]: the application logged TEXT at least N times (default once).
logged() { [ "$(grep -c "^LOG: $1\$" "$work/vm.err")" -ge "${2:-1}" ]; }

# start_vm ARGS...: the application in the window; returns once it runs and its window is up.
start_vm() {
    started "$vm" --app "$work/app" "$@" 2>"$work/vm.err" >/dev/null
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
    [ $status -eq 0 ] || fail "exit status $status"
    no_warnings
}

# expect_log: the LOG lines so far equal standard input.
expect_log() {
    grep '^LOG: ' "$work/vm.err" >"$work/actual"
    diff -u - "$work/actual" || fail "unexpected events"
}
