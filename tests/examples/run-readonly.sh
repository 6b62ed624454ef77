#!/bin/sh
# A read-only application directory still runs: its writes land in
# $XDG_DATA_HOME/zelmo/<id>/, reads find them there and the directory's own files, and nothing
# is written into the directory.
# Usage: run-readonly.sh ZELMO_ASM ZELMO_VM SOURCE_DIR
set -u
asm=$1; vm=$2; source=$3
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
mkdir -p "$work/app"
"$asm" "$source/readonly.asm" -o "$work/app/index.mcb" || fail "assembly failed"
printf 'shipped with the application' >"$work/app/installed.txt"
chmod -R a-w "$work/app"
XDG_DATA_HOME="$work/data" timeout 60 "$vm" --headless --app "$work/app" 2>"$work/stderr"
status=$?
grep -E '^(LOG|FATAL): ' "$work/stderr" >"$work/actual"
echo "exit $status" >>"$work/actual"
printf 'LOG: written and read back\nLOG: shipped with the application\nexit 0\n' >"$work/expected"
diff -u "$work/expected" "$work/actual" || { cat "$work/stderr"; exit 1; }
[ "$(ls "$work/app")" = "$(printf 'index.mcb\ninstalled.txt')" ] || fail "written into the app: $(ls -R "$work/app")"
written=$(find "$work/data" -type f)
case "$written" in
"$work/data/zelmo/app-"????????????????"/saves/note.txt") ;;
*) fail "unexpected data files: $written" ;;
esac
