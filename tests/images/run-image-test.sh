#!/bin/sh
# Runs one image test: assembles NAME.asm, runs it with zelmo-vm --headless in a fresh
# application directory, and compares the "LOG: " and "FATAL: " lines on standard error and the
# exit status with NAME.expected (those lines, then "exit N" as the last line). A code address in
# NAME.expected is written {label}, {label+N} or {label-N}, so that it follows from the source.
# A directory NAME.files/ next to the source, when present, is copied into the application
# directory first. Usage: run-image-test.sh ZELMO_ASM ZELMO_VM SOURCE.asm
set -u
abspath() { (cd "$(dirname "$1")" && printf '%s/%s' "$(pwd)" "$(basename "$1")"); }
asm=$(abspath "$1"); vm=$(abspath "$2"); source=$(abspath "$3")
base="${source%.asm}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app"
if [ -d "$base.files" ]; then cp -R "$base.files/." "$work/app/"; fi
if ! "$asm" "$source" -o "$work/app/index.mcb" --labels "$work/labels" 2>"$work/asm.err"; then
    echo "assembly failed:"; cat "$work/asm.err"; exit 1
fi
if ! awk 'FILENAME == ARGV[1] { at[$1] = $2; next }
    {
        out = ""
        while (match($0, /[{][A-Za-z_][A-Za-z0-9_.$]*([+-][0-9]+)?[}]/)) {
            ref = substr($0, RSTART + 1, RLENGTH - 2); name = ref; offset = 0
            if (match(ref, /[+-][0-9]+$/)) { name = substr(ref, 1, RSTART - 1); offset = substr(ref, RSTART) + 0 }
            if (!(name in at)) { print "unknown label in the expected file: " name > "/dev/stderr"; exit 1 }
            match($0, /[{][A-Za-z_][A-Za-z0-9_.$]*([+-][0-9]+)?[}]/)
            out = out substr($0, 1, RSTART - 1) (at[name] + offset)
            $0 = substr($0, RSTART + RLENGTH)
        }
        print out $0
    }' "$work/labels" "$base.expected" >"$work/expected"; then
    exit 1
fi
(cd "$work/app" && TZ="${TZ:-UTC}" timeout 60 "$vm" --headless --app "$work/app" 2>"$work/stderr" >"$work/stdout")
status=$?
grep -E '^(LOG|FATAL): ' "$work/stderr" >"$work/actual" || true
# A sanitizer report or a Qt warning is a failure even when the expected lines match: a test
# that expects status 1 would otherwise hide a memory error behind its FATAL line.
if grep -E 'runtime error:|Sanitizer|^==[0-9]+==|^(Warning|WARNING|QPainter|QImage|QPixmap|QObject|QWidget|QFont)|^qt\.' \
        "$work/stderr" >"$work/bad"; then
    echo "unexpected standard error:"; cat "$work/bad"
    echo "--- full standard error:"; cat "$work/stderr"; exit 1
fi
echo "exit $status" >>"$work/actual"
if ! diff -u "$work/expected" "$work/actual"; then
    echo "--- full standard error:"; cat "$work/stderr"; exit 1
fi
exit 0
