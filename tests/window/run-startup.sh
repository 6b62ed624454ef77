#!/bin/sh
# Start-up and the end of a run: no display, no OpenGL, the time limit (windowed, headless,
# and an application that never returns to the event loop), and the desktop entry that
# cmake --install puts in place with the runtime's GUI part.
. "$(dirname "$0")/common.sh"

# run_vm STATUS MESSAGE ARGS...: zelmo-vm ends with STATUS and its standard error has the line
# MESSAGE (none when empty).
run_vm() {
    want=$1 message=$2
    shift 2
    "$vm" "$@" 2>"$work/vm.err" >/dev/null
    status=$?
    [ $status -eq "$want" ] || fail "status $status instead of $want for: $*"
    [ -z "$message" ] || grep -qxF "$message" "$work/vm.err" || fail "no '$message' for: $*"
    no_warnings
}

nodisplay="FATAL: no display (set DISPLAY or use --headless)"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$vm" --app "$work/app" 2>"$work/vm.err"
[ $? -eq 1 ] && grep -qxF "$nodisplay" "$work/vm.err" || fail "without DISPLAY"
grep -q 'LOG: started' "$work/vm.err" && fail "started without a display"
# The runtime as the only client of a fresh server (which resets when its last client
# leaves, so checking for the display must not leave it alone).
for i in 1 2 3; do
    xvfb-run -a -s "-screen 0 640x400x24" "$vm" --app "$work/app" --screenshot "$work/shot.png" \
        2>"$work/vm.err" >/dev/null || fail "first client of a fresh server"
done
start_x 640x400
DISPLAY=:"$(( ${DISPLAY#:} + 1000 ))" run_vm 1 "$nodisplay" --app "$work/app"

# Qt explains itself first, so this run is not checked for Qt's warnings.
QT_XCB_GL_INTEGRATION=none "$vm" --app "$work/app" 2>"$work/vm.err"
[ $? -eq 1 ] && grep -qxF "FATAL: no OpenGL context could be created" "$work/vm.err" ||
    fail "without OpenGL"

# The time limit: from the event loop, and for an application that never returns to it.
run_vm 124 "" --app "$work/app" --timeout 1
grep -q 'LOG: started' "$work/vm.err" || fail "the timed run did not start"
mkdir "$work/busy"
printf '.function @main main\nmain:\n    JMP16 main\n' | "$asm" - -o "$work/busy/index.mcb" ||
    fail "assembly"
run_vm 124 "zelmo-vm: time limit reached, stopped" --headless --app "$work/busy" --timeout 1

# The desktop entry validates without a remark and is installed beside the program.
entry="$here/../../src/window/org.zelmo.Runtime.desktop"
remarks=$(desktop-file-validate "$entry" 2>&1) && [ -z "$remarks" ] || fail "desktop entry: $remarks"
cmake --install "$ZELMO_BUILD" --prefix "$work/prefix" >/dev/null || fail "cmake --install"
cmp -s "$entry" "$work/prefix/share/applications/org.zelmo.Runtime.desktop" ||
    fail "desktop entry not installed"
[ -x "$work/prefix/bin/zelmo-vm" ] || fail "zelmo-vm not installed"
# The installed runtime finds its full runtime and GUI part; copies without them say so.
"$work/prefix/bin/zelmo-vm" --headless --app "$work/app" --screenshot "$work/installed.png" \
    2>"$work/vm.err" >/dev/null || fail "the installed zelmo-vm"
mkdir "$work/alone"
cp "$work/prefix/bin/zelmo-vm" "$work/prefix/lib/zelmo/zelmo-vm-full" "$work/alone/"
"$work/alone/zelmo-vm-full" --headless --app "$work/app" --screenshot "$work/alone.png" \
    2>"$work/vm.err"
[ $? -eq 1 ] && grep -q "^FATAL: the runtime's GUI part" "$work/vm.err" ||
    fail "without the GUI part"
rm "$work/alone/zelmo-vm-full"
"$work/alone/zelmo-vm" --version 2>"$work/vm.err"
[ $? -eq 1 ] && grep -qxF "FATAL: the full runtime zelmo-vm-full is not installed beside zelmo-vm" \
    "$work/vm.err" || fail "without the full runtime"
echo "startup: all checks passed"
