#!/bin/sh
# The desktop extension's signal on a private session bus: a dbus-daemon of its own, a
# dbus-monitor on it, and zelmo-vm running desktop_signal.asm with that bus as its session bus.
# Both daemons are stopped by their process ids. Usage: desktop-signal.sh ZELMO_ASM ZELMO_VM
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
bus_pid=""; monitor_pid=""
cleanup() {
    [ -n "$monitor_pid" ] && kill "$monitor_pid" 2>/dev/null
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/app"
"$1" "$here/desktop_signal.asm" -o "$work/app/index.mcb" || exit 1

dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/address" 4>"$work/pid" ||
    { echo "no dbus-daemon"; exit 1; }
bus_pid=$(cat "$work/pid")
address=$(head -n 1 "$work/address")
dbus-monitor --address "$address" "type='signal',interface='com.nokia.hildon_desktop'" \
    >"$work/monitor" 2>&1 &
monitor_pid=$!
# The monitor is listening once the bus has taken its name away again (it became a monitor).
tries=0
until grep -q NameLost "$work/monitor"; do
    tries=$((tries + 1))
    [ $tries -gt 200 ] && { echo "dbus-monitor did not start:"; cat "$work/monitor"; exit 1; }
    sleep 0.05
done

(cd "$work/app" && DBUS_SESSION_BUS_ADDRESS="$address" timeout 60 "$2" --headless \
    --app "$work/app" 2>"$work/stderr" >/dev/null)
status=$?
if [ $status -ne 0 ] || ! grep -q "^LOG: left the view" "$work/stderr"; then
    echo "zelmo-vm failed (status $status):"; cat "$work/stderr"; exit 1
fi
# The signal went out before zelmo-vm ended; wait for the monitor to print it.
tries=0
until grep -q "member=exit_app_view" "$work/monitor"; do
    tries=$((tries + 1))
    [ $tries -gt 200 ] && break
    sleep 0.05
done
if ! grep -q "path=/lofasz; interface=com.nokia.hildon_desktop; member=exit_app_view" \
        "$work/monitor"; then
    echo "no exit_app_view signal seen:"; cat "$work/monitor"; exit 1
fi
exit 0
