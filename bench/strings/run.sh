#!/bin/bash
# Times the string benchmark: strings.asm on zelmo-vm --headless against strings.lua on Lua 5.4.
# Each runs RUNS times (default 3); the best CPU time (user + system) of each counts, since
# wall time on a shared machine mostly measures the neighbours. Prints both and zelmo/Lua.
# Usage: bench/strings/run.sh [BUILD_DIR]    (BUILD_DIR defaults to ./build of the checkout)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
runs=${RUNS:-3}
asm="$build/tools/zelmo-asm"
vm="$build/src/zelmo-vm"
lua=$(command -v lua5.4 || command -v lua)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app"
"$asm" "$here/strings.asm" -o "$work/app/index.mcb"

# Both programs print the same three numbers; a mismatch means one of them is broken.
zelmo_out=$(cd "$work/app" && "$vm" --headless --app . 2>&1 >/dev/null | sed -n 's/^LOG: //p')
lua_out=$("$lua" "$here/strings.lua")
if [ "$zelmo_out" != "$lua_out" ]; then
    echo "results differ:"; echo "zelmo: $zelmo_out"; echo "lua:   $lua_out"; exit 1
fi

# best_time COMMAND...: the smallest user + system time in seconds over $runs runs.
best_time() {
    local best="" t
    for _ in $(seq "$runs"); do
        t=$( { TIMEFORMAT='%U %S'; time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2 }')
        if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
    done
    echo "$best"
}

cd "$work/app"
zelmo=$(best_time "$vm" --headless --app .)
luat=$(best_time "$lua" "$here/strings.lua")
echo "results: $(echo $zelmo_out)"
echo "zelmo-vm: ${zelmo}s CPU (best of $runs)"
echo "lua5.4:   ${luat}s CPU (best of $runs)"
awk -v z="$zelmo" -v l="$luat" 'BEGIN { printf "zelmo/Lua: %.2f\n", z / l }'
