#!/bin/sh
# Runs zelmo-vm on damaged copies of a valid image: every prefix, and random byte changes with
# a fixed seed. Each run must end in an orderly way: status 0 or 1 (1 with a "FATAL: " line on
# standard error), or the time limit for a mutation that made the program loop; never a crash
# or a sanitizer report.
# Usage: run-damaged-images.sh ZELMO_ASM ZELMO_VM SOURCE.asm [MUTATIONS [STRIDE]]
set -u
asm="$1"; vm="$2"; source="$3"; mutations="${4:-200}"; stride="${5:-3}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app"
"$asm" "$source" -o "$work/valid.mcb" || exit 1
size=$(wc -c <"$work/valid.mcb")
failures=0
check() { # $1: description
    timeout 5 "$vm" --headless --app "$work/app" >/dev/null 2>"$work/err"
    status=$?
    if grep -q -E 'Sanitizer|runtime error' "$work/err"; then
        echo "sanitizer report for $1:"; cat "$work/err"; failures=$((failures + 1)); return
    fi
    case $status in
        0|124) ;;
        1) grep -q '^FATAL: ' "$work/err" || { echo "status 1 without FATAL for $1"; failures=$((failures + 1)); } ;;
        *) echo "status $status for $1:"; cat "$work/err"; failures=$((failures + 1)) ;;
    esac
}
n=0
while [ "$n" -lt "$size" ]; do
    head -c "$n" "$work/valid.mcb" >"$work/app/index.mcb"
    check "prefix of $n bytes"
    # Every prefix through the header and tables, then every stride-th one through the code.
    if [ "$n" -lt 160 ] && [ "$stride" -le 3 ]; then n=$((n + 1)); else n=$((n + stride)); fi
done
seed=12345
i=0
while [ "$i" -lt "$mutations" ]; do
    cp "$work/valid.mcb" "$work/app/index.mcb"
    changes=$((1 + i % 4))
    while [ "$changes" -gt 0 ]; do
        seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
        pos=$(( seed % size ))
        seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
        byte=$(( seed % 256 ))
        printf "$(printf '\\%03o' "$byte")" | dd of="$work/app/index.mcb" bs=1 seek="$pos" conv=notrunc 2>/dev/null
        changes=$((changes - 1))
    done
    check "mutation $i"
    i=$((i + 1))
done
echo "prefixes of $size bytes and $mutations mutations, $failures failures"
[ "$failures" -eq 0 ]
