#!/bin/sh
# What the window shows: the --screenshot picture is the application's frame exactly (also a
# later frame with --frames), and the screen shows it scaled as --scale says, with black
# borders, on screens of several sizes.
. "$(dirname "$0")/common.sh"

start_x 1280x800
"$vm" --app "$work/app" --screenshot "$work/shot.png" 2>"$work/vm.err" || fail "--screenshot run"
no_warnings
"$probe" pattern "$work/shot.png" 1 || fail "--screenshot picture"
ZELMO_TEST_PATTERN=animate "$vm" --app "$work/app" --screenshot "$work/third.png" --frames 3 \
    2>"$work/vm.err" || fail "--frames run"
"$probe" pattern "$work/third.png" 3 || fail "the third frame"

grab_placed() { import -window root "$work/root.png" && "$probe" placed "$work/root.png" "$@"; }
# grab_box WxH+X+Y: the non-black part of the screen.
box() { convert "$work/root.png" -format %@ info:; }
grab_box() { import -window root "$work/root.png" && [ "$(box)" = "$1" ]; }

# 800 x 480 fits once into 1280 x 800: centred, black around.
start_vm
eventually grab_placed 240 160 1 || fail "integer scale on 1280x800"
stop_vm
start_vm --scale=fit
eventually grab_box 1280x768+0+16 || fail "fit on 1280x800: $(box)"
stop_vm
start_vm --scale stretch
eventually grab_box 1280x800+0+0 || fail "stretch on 1280x800"
stop_vm

# Portrait ('p' makes the application ask for it): the screen turns to 480 x 800, the window
# asks the window manager (whose atom exists now) for portrait, and F12 saves the new screen.
"$probe" atoms _HILDON_PORTRAIT_MODE_REQUEST
start_vm
xdotool key p
eventually grab_box 480x800+400+0 || fail "portrait on 1280x800: $(box)"
[ "$(xprop -id "$window" _HILDON_PORTRAIT_MODE_REQUEST)" = \
    "_HILDON_PORTRAIT_MODE_REQUEST(CARDINAL) = 1" ] || fail "no portrait request"
xdotool key F12
eventually grep -q '^Screenshot saved to' "$work/vm.err" || fail "no F12 picture"
"$probe" pattern "$(sed -n 's/^Screenshot saved to //p' "$work/vm.err")" 1 || fail "portrait picture"
stop_vm

start_x 1920x1080
start_vm
eventually grab_placed 160 60 2 || fail "integer scale on 1920x1080"
stop_vm
# Qt scaled twice: the same device pixels, and a click still lands on its logical pixel (Qt
# hands widgets whole widget pixels, so clicks are exact to two device pixels here).
QT_SCALE_FACTOR=2 start_vm
eventually grab_placed 160 60 2 || fail "device pixel ratio 2"
xdotool mousemove 370 270 click 1
eventually logged "pointer 1 105 105" || fail "click with device pixel ratio 2"
stop_vm
echo "pixels: all checks passed"
