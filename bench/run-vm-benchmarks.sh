#!/bin/sh
# Runs every benchmark image under bench/*/ (NAME.asm) with zelmo-vm --headless and its Lua 5.4
# twin (NAME.lua), and prints the CPU time of each and the ratio zelmo/Lua (below 1: zelmo is
# faster). Usage: bench/run-vm-benchmarks.sh [BUILD_DIR] [FOLDER...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
[ $# -gt 0 ] && shift
folders=${*:-$root/bench/vm}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpu() { # prints user+system seconds of a command, its output discarded
    /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>"$work/err" || {
        echo "failed: $*" >&2; cat "$work/err" >&2; exit 1; }
    awk '{ printf "%.2f", $1 + $2 }' "$work/time"
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
