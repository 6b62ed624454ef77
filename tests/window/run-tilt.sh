#!/bin/sh
# The virtual accelerometer in the window: Ctrl+arrows tilt it and Ctrl+0 levels it again; these
# keys are the runtime's and never reach the application, while its pointer events still do.
. "$(dirname "$0")/common.sh"

start_x 1280x800
start_vm --accelerometer virtual
tilt() { grep '^LOG: tilt ' "$work/vm.err" | tail -n 1; }
xdotool key x
eventually logged "press 88" || fail "no first reading"
level=$(tilt)
xdotool key ctrl+Right ctrl+Right ctrl+Up
xdotool key x
eventually logged "press 88" 2 || fail "no second reading"
tilted=$(tilt)
[ "$tilted" != "$level" ] || fail "Ctrl+arrows did not tilt: $tilted"
xdotool key ctrl+0 x
eventually logged "press 88" 3 || fail "no third reading"
[ "$(tilt)" = "$level" ] || fail "Ctrl+0 did not level: $(tilt), not $level"
xdotool mousemove 345 265 click 1
eventually logged "pointer 1 105 105" || fail "pointer events stopped"
stop_vm
# Neither the arrows nor 0 reached the application, pressed or released.
grep -E '^LOG: (press|release) (16777219|16777220|16777221|16777222|48)$' "$work/vm.err" &&
    fail "a tilt key reached the application"
echo "tilt: $level, then $tilted; all checks passed"
