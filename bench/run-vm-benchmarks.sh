#!/bin/sh
# Runs every benchmark image under bench/*/ (NAME.asm) with zelmo-vm --headless and its Lua 5.4
# twin (NAME.lua), and prints the CPU time of each (the best of RUNS runs, default 3, because
# shared machines are noisy) and the ratio zelmo/Lua (below 1: zelmo is faster).
# Usage: [RUNS=n] bench/run-vm-benchmarks.sh [BUILD_DIR] [FOLDER...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ $# -gt 0 ] && shift
folders=${*:-$root/bench/vm}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-3}
cpu() { # prints the smallest user+system seconds of a command over the runs
    best=""
    i=0
    while [ "$i" -lt "$runs" ]; do
        /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
            echo "failed: $*" >&2; cat "$work/err" >&2; exit 1; }
        t=$(awk '{ printf "%.2f", $1 + $2 }' "$work/time")
        best=$(awk -v a="$best" -v b="$t" 'BEGIN { if (a == "" || b + 0 < a + 0) print b; else print a }')
        i=$((i + 1))
    done
    echo "$best"
}
printf "%-24s %10s %10s %8s\n" benchmark zelmo lua ratio
for folder in $folders; do
    for source in "$folder"/*.asm; do
        name=$(basename "$source" .asm)
        mkdir -p "$work/$name"
        "$build/tools/zelmo-asm" "$source" -o "$work/$name/index.mcb"
        z=$(cpu "$build/src/zelmo-vm" --headless --app "$work/$name")
        l=$(cpu lua5.4 "${source%.asm}.lua")
        printf "%-24s %9ss %9ss %8s\n" "$name" "$z" "$l" "$(awk -v z="$z" -v l="$l" 'BEGIN { printf "%.2f", z / l }')"
    done
done
