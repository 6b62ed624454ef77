#!/bin/sh
# Input through the X server (XTest): clicks map through the letterbox to logical pixels,
# presses in the border are not delivered, a drag that leaves the screen is clamped and still
# released, keys arrive with the runtime's codes, a held key is one press, repeats and one
# release, F11 and F12 stay with the runtime (F12 saves the logical frame), and with the virtual
# accelerometer Ctrl+arrows tilt it: those keys never reach the application.
. "$(dirname "$0")/common.sh"

start_x 1280x800
start_vm --accelerometer virtual
# The frame is at (240, 160), 1x.
xdotool mousemove 345 265 click 1
xdotool mousemove 100 100 click 1 mousemove 1100 700 click 1
xdotool mousemove 300 200 mousedown 1
eventually logged "pointer 0 60 40" || fail "drag start"
xdotool mousemove 1200 790
eventually logged "pointer 6 799 479" || fail "drag outside"
xdotool mouseup 1
xdotool key a Return KP_Enter F12 F11
eventually logged "release 16777216" || fail "keys"
expect_log <<'END'
LOG: started
LOG: pointer 0 105 105
LOG: pointer 1 105 105
LOG: pointer 0 60 40
LOG: pointer 6 799 479
LOG: pointer 1 799 479
LOG: press 65
LOG: release 65
LOG: press 16777217
LOG: release 16777217
LOG: press 16777216
LOG: release 16777216
END

# F12 wrote the logical frame (not the window) into the Pictures folder, and said where.
eventually grep -q '^Screenshot saved to' "$work/vm.err" || fail "no F12 picture"
shot=$(sed -n 's/^Screenshot saved to //p' "$work/vm.err")
case "$shot" in "$HOME/Pictures/zelmo/zelmo-"*.png) ;; *) fail "screenshot path '$shot'" ;; esac
"$probe" pattern "$shot" 1 || fail "F12 picture"

# F11 left full screen for a window of the logical size: the frame at 1x, no border.
eventually test "$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')" = 800x480 ||
    fail "F11: $(xdotool getwindowgeometry "$window")"

# Held for longer than the server's repeat delay: presses only, then one release.
xdotool keydown a
eventually logged "press 65" 4 || fail "no repeats"
xdotool keyup a
eventually logged "release 65" 2 || fail "no release"
grep '^LOG: ' "$work/vm.err" | sed '1,12d' | uniq -c | sed 's/^ *[0-9]* LOG: press 65$/N press 65/' \
    >"$work/held"
printf 'N press 65\n      1 LOG: release 65\n' | diff -u - "$work/held" || fail "held key"

tilt() { grep '^LOG: tilt ' "$work/vm.err" | tail -n 1; }
xdotool key x
eventually logged "press 88" || fail "no first reading"
level=$(tilt)
xdotool key ctrl+Right ctrl+Right ctrl+Up x
eventually logged "press 88" 2 || fail "no second reading"
[ "$(tilt)" != "$level" ] || fail "Ctrl+arrows did not tilt: $(tilt)"
stop_vm
grep -E '^LOG: (press|release) (16777219|16777220|16777221|16777222)$' "$work/vm.err" &&
    fail "a tilt key reached the application"
echo "input: all checks passed"
