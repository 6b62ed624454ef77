#!/bin/sh
# Runs one image test: assembles NAME.asm, runs it with zelmo-vm --headless in a fresh
# application directory, and compares the "LOG: " and "FATAL: " lines on standard error and the
# exit status with NAME.expected (those lines, then "exit N" as the last line).
# A directory NAME.files/ next to the source, when present, is copied into the application
# directory first. A file NAME.args next to it holds more words for the run: NAME=VALUE words
# set environment variables, the others are zelmo-vm options (paths in them are relative to the
# application directory, where the run starts).
# Usage: run-image-test.sh ZELMO_ASM ZELMO_VM SOURCE.asm
set -u
abspath() { (cd "$(dirname "$1")" && printf '%s/%s' "$(pwd)" "$(basename "$1")"); }
asm=$(abspath "$1"); vm=$(abspath "$2"); source=$(abspath "$3")
base="${source%.asm}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app"
if [ -d "$base.files" ]; then cp -R "$base.files/." "$work/app/"; fi
if ! "$asm" "$source" -o "$work/app/index.mcb" 2>"$work/asm.err"; then
    echo "assembly failed:"; cat "$work/asm.err"; exit 1
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
if ! diff -u "$base.expected" "$work/actual"; then
    echo "--- full standard error:"; cat "$work/stderr"; exit 1
fi
exit 0
