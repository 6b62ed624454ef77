#!/bin/sh
# Runs one image test: assembles NAME.asm, runs it with zelmo-vm --headless in a fresh
# application directory, and compares the "LOG: " and "FATAL: " lines on standard error and the
# exit status with NAME.expected (those lines, then "exit N" as the last line). A code address in
# NAME.expected is written {label}, {label+N} or {label-N}, so that it follows from the source.
# A directory NAME.files/ next to the source, when present, is copied into the application
# directory first. A file NAME.args next to it holds more words for the run: NAME=VALUE words
# set environment variables, the others are zelmo-vm options (paths in them are relative to the
# application directory, where the run starts).
# With NAME.pixels beside it (lines "x y RRGGBB"), the run also writes the screenshot of the
# first frame and each listed pixel must have that colour.
# When NAME.png is present, the run must leave a picture NAME.png in the application directory
# with exactly the same pixels (ImageMagick's absolute error count 0). The run has TZ=UTC unless
# the environment sets TZ.
# Usage: run-image-test.sh ZELMO_ASM ZELMO_VM SOURCE.asm
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
environment=""; options=""
if [ -f "$base.args" ]; then
    for word in $(cat "$base.args"); do
        case "$word" in
            [A-Z]*=*) environment="$environment $word" ;;
            *) options="$options $word" ;;
        esac
    done
fi
if [ -f "$base.pixels" ]; then options="$options --screenshot $work/shot.png"; fi
# shellcheck disable=SC2086
(cd "$work/app" && TZ="${TZ:-UTC}" timeout 60 env $environment "$vm" --headless --app "$work/app" \
    $options 2>"$work/stderr" >"$work/stdout")
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
if [ -f "$base.pixels" ]; then
    while read -r x y want; do
        got=$(convert "$work/shot.png" -alpha off -format "%[hex:p{$x,$y}]" info: 2>&1)
        if [ "$got" != "$want" ]; then
            echo "pixel $x,$y is $got, expected $want"; failed=1
        fi
    done <"$base.pixels"
    if [ -n "${failed:-}" ]; then echo "--- full standard error:"; cat "$work/stderr"; exit 1; fi
fi
if [ -f "$base.png" ]; then
    picture="$work/app/$(basename "$base").png"
    if [ ! -f "$picture" ]; then echo "no picture written: $(basename "$picture")"; exit 1; fi
    differing=$(compare -metric AE "$base.png" "$picture" null: 2>&1)
    if [ "$differing" != "0" ]; then
        echo "pixels differ from $(basename "$base").png: $differing"
        cp "$picture" "${TMPDIR:-/tmp}/$(basename "$base").actual.png" 2>/dev/null
        exit 1
    fi
fi
exit 0
