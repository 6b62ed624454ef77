#!/bin/sh
# The ratio table: each workload in zelmo (assembled from bench/), in Lua 5.4 (its .lua twin)
# and in C -O2 (bench/limit/, the limit), run N times in interleaved rounds so that a busy
# machine skews every column alike. Prints the median CPU time (user + system) of each, the
# ratios to Lua, and the median peak resident memory; fails when the three disagree on a result.
# Start-up is an empty main, in milliseconds.
# Usage: bench/run-ratios.sh [N] [BUILD_DIR]   (N defaults to 5; needs zelmo-vm and zelmo-asm)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
runs=${1:-5}
build=${2:-$here/../build}
lua=${LUA:-lua5.4}
cc=${CC:-cc}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name, zelmo source, Lua twin, C limit
workloads="fib:vm/fib:vm/fib:fib
loop:vm/loop:vm/loop:loop
calls:vm/virtual:vm/virtual:virtual
strings:strings/strings:strings/strings:strings
arrays:arrays/arrays:arrays/arrays:arrays
objects:vm/alloc:vm/alloc:alloc
start-up:startup/empty:startup/empty:empty"

"$cc" -O2 -o "$work/measure" "$here/limit/measure.c"
names=""
for row in $workloads; do
    IFS=: read -r name asm luasrc csrc <<ROW
$row
ROW
    names="$names $name"
    mkdir -p "$work/$name/app"
    "$build/tools/zelmo-asm" "$here/$asm.asm" -o "$work/$name/app/index.mcb"
    "$cc" -O2 -o "$work/$name/c" "$here/limit/$csrc.c"
    echo "$build/src/zelmo-vm --headless --app $work/$name/app" >"$work/$name/zelmo.cmd"
    echo "$lua $here/$luasrc.lua" >"$work/$name/lua.cmd"
    echo "$work/$name/c" >"$work/$name/c.cmd"
done

# One run: appends "seconds kib" to $work/NAME/ENGINE.runs and keeps the results it printed
# (stdout, and the LOG: lines of stderr without their prefix).
run() {
    dir=$work/$1
    # shellcheck disable=SC2046
    "$work/measure" "$dir/out" "$dir/err" $(cat "$dir/$2.cmd") >>"$dir/$2.runs" || {
        echo "$1 failed in $2:" >&2; cat "$dir/err" >&2; exit 1; }
    { cat "$dir/out"; sed -n 's/^LOG: //p' "$dir/err"; } >"$dir/$2.result"
}

i=0
while [ "$i" -lt "$runs" ]; do
    for name in $names; do
        for engine in zelmo lua c; do run "$name" "$engine"; done
        for engine in lua c; do
            cmp -s "$work/$name/zelmo.result" "$work/$name/$engine.result" || {
                echo "$name: zelmo and $engine disagree:" >&2
                diff "$work/$name/zelmo.result" "$work/$name/$engine.result" >&2 || true
                exit 1; }
        done
    done
    i=$((i + 1))
done

median() { # column $2 of file $1
    cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); print (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2 }'
}
printf "median of %s runs, CPU seconds (start-up: ms), peak RSS in MiB\n" "$runs"
printf "%-9s %9s %9s %9s %10s %8s %9s %9s\n" workload zelmo lua C zelmo/lua C/lua "zelmo MiB" "lua MiB"
for name in $names; do
    d=$work/$name
    z=$(median "$d/zelmo.runs" 1); l=$(median "$d/lua.runs" 1); c=$(median "$d/c.runs" 1)
    zm=$(median "$d/zelmo.runs" 2); lm=$(median "$d/lua.runs" 2)
    awk -v n="$name" -v z="$z" -v l="$l" -v c="$c" -v zm="$zm" -v lm="$lm" 'BEGIN {
        s = (n == "start-up") ? 1000 : 1; f = (n == "start-up") ? "%9.2f" : "%9.3f"
        printf "%-9s " f " " f " " f " %10.2f %8.2f %9.1f %9.1f\n", n, z * s, l * s, c * s,
            (l > 0 ? z / l : 0), (l > 0 ? c / l : 0), zm / 1024, lm / 1024 }'
done
