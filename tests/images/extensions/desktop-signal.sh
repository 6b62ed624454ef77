#!/bin/sh
# The desktop extension's signal on a private session bus watched by dbus-monitor: zelmo-vm
# leaves the application view and quits at once, and the signal must still reach the bus.
# Usage: desktop-signal.sh ZELMO_ASM ZELMO_VM
set -u
. "$(dirname "$0")/../../servers.sh"
"$1" - -o "$work/app/index.mcb" <<'ASM' || exit 1
.function @main main
main:
    EXTCALL 37, 1
    PUSHSTR "left"
    NATIVE Debug, 1
    NATIVE System, 1
    RET 0, 0
ASM
start_bus
started dbus-monitor --address "$bus" "type='signal',interface='com.nokia.hildon_desktop'" \
    >"$work/monitor" 2>&1
# The monitor is listening once the bus has taken its name away again (it became a monitor).
eventually grep -q NameLost "$work/monitor" || fail "dbus-monitor did not start: $(cat "$work/monitor")"
(cd "$work/app" && DBUS_SESSION_BUS_ADDRESS="$bus" timeout 60 "$2" --headless \
    --app "$work/app" 2>"$work/vm.err" >/dev/null)
status=$?
[ $status -eq 0 ] && grep -q "^LOG: left" "$work/vm.err" || fail "zelmo-vm: status $status"
# The signal went out before zelmo-vm ended; the monitor prints it a little later.
eventually grep -q "path=/lofasz; interface=com.nokia.hildon_desktop; member=exit_app_view" \
    "$work/monitor" || fail "no exit_app_view signal seen: $(cat "$work/monitor")"
