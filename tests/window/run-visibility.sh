#!/bin/sh
# Foreground and background: the window manager's current-application property on the root
# window, minimising and restoring (the window manager's WM_STATE), and the device's display
# state on the system bus. The machine hears only changes of (display on and shown).
. "$(dirname "$0")/common.sh"

start_x 1280x800
# Without a bus the message appears and the application runs all the same.
start_vm
grep -qx 'FATAL: Failed to connect to dbus' "$work/vm.err" || fail "no message without a bus"
# The window manager's atoms do not exist: the window is left alone.
xprop -id "$window" _HILDON_NON_COMPOSITED_WINDOW | grep -q 'no such atom' || fail "property set"
stop_vm

# Now they exist (a window manager that reads them created them): the window asks not to be
# composited.
"$probe" atoms _HILDON_NON_COMPOSITED_WINDOW _HILDON_PORTRAIT_MODE_REQUEST
start_bus
DBUS_SYSTEM_BUS_ADDRESS=$bus
start_vm
[ "$(xprop -id "$window" _HILDON_NON_COMPOSITED_WINDOW)" = \
    "_HILDON_NON_COMPOSITED_WINDOW(INTEGER) = 1" ] || fail "not marked non-composited"
grep -q 'Failed to connect to dbus' "$work/vm.err" && fail "the private bus was not used"
# The window shown at start-up is the machine's starting state: the first minimise is a change.
"$probe" wm-state "$window" iconic
eventually logged background || fail "minimise"
# -1 on the root brings the application to the front even while minimised.
"$probe" root-window WINDOW -1
eventually logged foreground || fail "-1 on the root window"
"$probe" wm-state "$window" normal
"$probe" wm-state "$window" iconic
eventually logged background 2 || fail "minimise again"
# A value of another type cannot be read: no foreground while minimised.
"$probe" root-window CARDINAL -1
"$probe" display off
sleep 1 # nothing to wait for: neither may change anything
"$probe" wm-state "$window" normal
sleep 1 # restoring while the display is off changes nothing either
"$probe" display on
eventually logged foreground 2 || fail "display on"
"$probe" display off
eventually logged background 3 || fail "display off"
stop_vm
expect_log <<'END'
LOG: started
LOG: background
LOG: foreground
LOG: background
LOG: foreground
LOG: background
LOG: press 81
END
echo "visibility: all checks passed"
