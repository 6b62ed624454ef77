#!/bin/sh
# --install-app and --uninstall-app into a temporary XDG_DATA_HOME: the paint example (a
# launcher file of the handheld's format and an icon) and a directory whose name needs quoting
# in Exec and has neither. Every entry passes desktop-file-validate without a word, and
# uninstalling leaves no file behind.
# Usage: run-install-app.sh ZELMO_VM PAINT_APP_DIR
set -u
vm=$1; paint=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
export XDG_DATA_HOME="$work/data"
odd="$work/odd \$name \"100%\" \`x\`"
mkdir -p "$odd"
cp "$paint/index.mcb" "$odd/"

"$vm" --install-app "$paint" >"$work/out" || fail "install paint failed: $(cat "$work/out")"
"$vm" --install-app "$odd" >>"$work/out" || fail "install odd failed: $(cat "$work/out")"
"$vm" --install-app "$work" 2>/dev/null && fail "a directory without index.mcb was installed"
set -- "$XDG_DATA_HOME"/applications/zelmo-*.desktop
[ $# -eq 2 ] || fail "expected two entries: $*"
for entry in "$@"; do
    report=$(desktop-file-validate "$entry" 2>&1)
    [ -z "$report" ] || fail "desktop-file-validate $entry: $report"
done
paintEntry=$(grep -l '^Name=Paint$' "$@") || fail "no entry named from the launcher"
grep -qx 'Comment=Draw with your finger; keys 1-5 change the colour, B the brush' "$paintEntry" ||
    fail "comment not taken from the launcher: $(cat "$paintEntry")"
icon=$(sed -n 's/^Icon=//p' "$paintEntry")
cmp -s "$icon" "$paint/paint-icon.png" || fail "icon not copied: $icon"
oddEntry=$(grep -l '^Name=odd ' "$@") || fail "no entry named after the directory"
grep -q '^Icon=' "$oddEntry" && fail "an icon for a directory without one"

# The Exec line starts this runtime on the directory: run it through a shell the way the
# desktop unquotes it (string escapes, then "%%", then the shell-like quoting).
exec_line=$(sed -n 's/^Exec=//p' "$oddEntry" | sed 's/\\\\/\\/g; s/%%/%/g')
eval "set -- $exec_line"
[ "$1" = "$(cd "$(dirname "$vm")" && pwd)/$(basename "$vm")" ] || fail "Exec runs $1, not $vm"
[ "$2" = "--app" ] && [ "$3" = "$odd" ] || fail "Exec arguments: $2 $3"

"$vm" --uninstall-app "$paint" >/dev/null || fail "uninstall paint failed"
"$vm" --uninstall-app "$odd" >/dev/null || fail "uninstall odd failed"
"$vm" --uninstall-app "$odd" >/dev/null 2>&1 && fail "a second uninstall claims success"
left=$(find "$XDG_DATA_HOME" -type f)
[ -z "$left" ] || fail "left behind: $left"
exit 0
