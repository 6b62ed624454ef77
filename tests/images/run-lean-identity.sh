#!/bin/sh
# zelmo-vm runs a simple window-less application itself, without Qt, and sends every other run
# to the full runtime: both must give the same standard output, standard error and exit status.
# A copy of zelmo-vm without zelmo-vm-full beside it can only run what it runs itself, so it shows
# which way each run went: the simple images run there exactly as zelmo-vm-full runs them, and
# an image with a date-time (Qt's) is refused there and runs through zelmo-vm.
# Usage: run-lean-identity.sh ZELMO_ASM ZELMO_VM ZELMO_VM_FULL IMAGE_DIR
set -u
asm=$1; vm=$2; full=$3; images=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/alone"
cp "$vm" "$work/alone/zelmo-vm"
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# run NAME PROGRAM: the run of image NAME's app with PROGRAM into $work/NAME.PROGRAM-BASENAME.*
run() {
    out="$work/$(echo "$1" | tr / _).$(basename "$2")"
    (cd "$work/$1" && TZ=UTC "$2" --headless --app "$work/$1" >"$out.out" 2>"$out.err"
     echo $? >"$out.status")
}
same() { # NAME PROGRAM1 PROGRAM2: identical output, error output and status
    a="$work/$(echo "$1" | tr / _).$(basename "$2")"; b="$work/$(echo "$1" | tr / _).$(basename "$3")"
    for part in out err status; do
        cmp -s "$a.$part" "$b.$part" || { fail "$1: $part differs"; diff "$a.$part" "$b.$part"; }
    done
}

for name in timers/two_timers timers/fatal_in_event core/exceptions core/no_main; do
    mkdir -p "$work/$name"
    "$asm" "$images/$name.asm" -o "$work/$name/index.mcb" || fail "$name: assembly"
done
# An application that logs the time zone of the current date-time in UTC (1).
mkdir "$work/now"
"$asm" - -o "$work/now/index.mcb" <<'ASM' || fail "now: assembly"
.function @main main
main:
    PUSH32 1
    NATIVE System.now
    NATIVE DateTime.getTimezone
    ITOS
    NATIVE Debug.log
    RET 0, 1
ASM

# Logs and timers, a fault in a timer event, managed errors, a fatal start: run without Qt.
for name in timers/two_timers timers/fatal_in_event core/exceptions core/no_main; do
    run "$name" "$work/alone/zelmo-vm"
    run "$name" "$full"
    same "$name" "$work/alone/zelmo-vm" "$full"
    grep -q "^LOG: \|^FATAL: " "$work/$(echo "$name" | tr / _).zelmo-vm.err" ||
        fail "$name: nothing logged"
done
grep -qx 1 "$work/timers_fatal_in_event.zelmo-vm.status" || fail "fatal_in_event: status"

# Date-times need Qt: the full runtime runs the image, behind zelmo-vm's unchanged command line.
run now "$work/alone/zelmo-vm"
grep -qxF "FATAL: the full runtime zelmo-vm-full is not installed beside zelmo-vm" \
    "$work/now.zelmo-vm.err" && grep -qx 1 "$work/now.zelmo-vm.status" ||
    fail "now: not sent to the full runtime"
run now "$vm"
run now "$full"
same now "$vm" "$full"
grep -qx 0 "$work/now.zelmo-vm-full.status" && grep -qx 'LOG: 1' "$work/now.zelmo-vm-full.err" ||
    fail "now: status or log"

# Without room for the machine's 4 GiB of address space the run says so and ends with status 1.
if [ -z "${ZELMO_SANITIZED:-}" ]; then
    (ulimit -v 2000000; "$vm" --headless --app "$work/core/exceptions") >/dev/null 2>"$work/limited.err"
    status=$?
    grep -qxF "FATAL: cannot reserve the guest address space" "$work/limited.err" &&
        [ "$status" -eq 1 ] || { fail "limited address space: status $status"; cat "$work/limited.err"; }
fi

[ "$failed" -eq 0 ] && echo "lean identity: all checks passed"
exit "$failed"
