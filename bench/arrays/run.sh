#!/bin/sh
# Array benchmark: runs arrays.asm in zelmo-vm and arrays.lua in Lua 5.4, checks that both
# compute the same results, and prints their CPU times (user + system, best of RUNS runs) and
# the ratio zelmo/Lua. CPU time rather than wall time, so that a busy machine skews less.
# Usage: bench/arrays/run.sh [BUILD_DIR]   (default: build/ at the top of the source tree;
# build it with: cmake --build build --target zelmo-asm zelmo-vm)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
runs=${RUNS:-3}
lua=${LUA:-lua5.4}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app"
"$build/tools/zelmo-asm" "$here/arrays.asm" -o "$work/app/index.mcb"

# best CPU seconds of $runs runs of the command; its output goes to $work/out
best() {
    result=""
    i=0
    while [ "$i" -lt "$runs" ]; do
        /usr/bin/time -f "%U %S" -o "$work/time" "$@" >"$work/stdout" 2>"$work/stderr"
        seconds=$(awk '{ printf "%.3f", $1 + $2 }' "$work/time")
        result=$(echo "$result $seconds" | awk '{ m = $1; for (k = 2; k <= NF; k++) if ($k < m) m = $k; print m }')
        i=$((i + 1))
    done
    echo "$result"
}

zelmo=$(cd "$work/app" && best "$build/src/zelmo-vm" --headless --app "$work/app")
sed -n 's/^LOG: //p' "$work/stderr" >"$work/zelmo.out"
reference=$(best "$lua" "$here/arrays.lua")
cp "$work/stdout" "$work/lua.out"
if ! cmp -s "$work/zelmo.out" "$work/lua.out"; then
    echo "results differ:"; diff "$work/zelmo.out" "$work/lua.out" || true; exit 1
fi
echo "zelmo: ${zelmo} s  lua: ${reference} s  (CPU time, best of $runs)"
echo "$zelmo $reference" | awk '{ printf "ratio zelmo/lua: %.2f\n", $1 / $2 }'
