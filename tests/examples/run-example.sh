#!/bin/sh
# Runs one built example headless on a copy of its application directory, with the scripted
# input NAME.input when there is one, and compares its "LOG: "/"FATAL: " lines and exit status
# with NAME.expected. When NAME.png is there, the run must have saved a picture of that name in
# the application directory with exactly the same pixels.
# Usage: run-example.sh ZELMO_VM APP_DIR TEST_DIR/NAME
set -u
vm=$1; app=$2; base=$3
name=$(basename "$base")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$app/." "$work/app"
set -- --headless --app "$work/app"
if [ -f "$base.input" ]; then set -- "$@" --input "$base.input"; fi
XDG_DATA_HOME="$work/data" timeout 60 "$vm" "$@" 2>"$work/stderr" >/dev/null
status=$?
grep -E '^(LOG|FATAL): ' "$work/stderr" >"$work/actual"
echo "exit $status" >>"$work/actual"
if ! diff -u "$base.expected" "$work/actual"; then
    echo "--- full standard error:"; cat "$work/stderr"; exit 1
fi
if [ -f "$base.png" ]; then
    picture="$work/app/$name.png"
    if [ ! -f "$picture" ]; then echo "no picture saved: $name.png"; exit 1; fi
    differing=$(compare -metric AE "$base.png" "$picture" null: 2>&1)
    if [ "$differing" != "0" ]; then
        cp "$picture" "${TMPDIR:-/tmp}/$name.actual.png"
        echo "pixels differ from $name.png: $differing (saved ${TMPDIR:-/tmp}/$name.actual.png)"
        exit 1
    fi
fi
exit 0
