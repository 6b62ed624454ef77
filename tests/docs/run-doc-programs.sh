#!/bin/sh
# Runs every program of a Markdown document: the next fenced block after each ```asm block must
# be an ```output block (prose may come between) holding what the run prints (its "LOG: " and "FATAL: " lines, then "exit N"), and is
# checked like an image test. Usage: run-doc-programs.sh ZELMO_ASM ZELMO_VM DOCUMENT.md
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v dir="$work" '
    function fail(text) { print text; bad = 1; exit 1 }
    /^```asm$/ {
        if (mode == "after") fail("program " n " has no output block")
        n++; file = dir "/program" n ".asm"; mode = "asm"; next
    }
    /^```output$/ {
        if (mode != "after") fail("an output block without a program before it")
        file = dir "/program" n ".expected"; mode = "output"; next
    }
    /^```/ {
        if (mode == "asm") mode = "after"; else if (mode == "output") mode = ""
        else if (mode == "after") fail("program " n " has no output block")
        next
    }
    mode == "asm" || mode == "output" { print > file }
    END { if (!bad && mode == "after") { print "program " n " has no output block"; exit 1 } }
' "$3" || exit 1
count=0
failed=0
for program in "$work"/program*.asm; do
    [ -e "$program" ] || break
    count=$((count + 1))
    if ! "$here/../images/run-image-test.sh" "$1" "$2" "$program"; then
        echo "in $(basename "$program" .asm) of $3"
        failed=1
    fi
done
if [ "$count" -eq 0 ]; then echo "no programs in $3"; exit 1; fi
echo "$count programs"
exit $failed
