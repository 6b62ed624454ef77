#!/bin/sh
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each, one after the other, for
# a fixed time. Corpora and crash inputs stay in the build directory; the loader's corpus is
# seeded with the images of tests/images. Prints each target's last status line and the
# crash files; exits 1 when any target found one. Not part of CI (it runs for minutes).
# Usage: tests/fuzz/run-fuzzers.sh [SECONDS_PER_TARGET (default 600)] [BUILD_DIR] [TARGET...]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-600}
build=${2:-$root/build-fuzz}
[ $# -gt 2 ] && shift 2 || set --
targets=${*:-FuzzImageLoader FuzzInterpreter FuzzApplicationPaths}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZELMO_FUZZ=ON >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" --target zelmo-asm $targets
mkdir -p "$build/corpus/FuzzImageLoader" "$build/artifacts"
for source in "$root"/tests/images/*/*.asm "$root"/examples/*.asm; do
    [ -f "$source" ] || continue
    "$build/tools/zelmo-asm" "$source" -o "$build/corpus/FuzzImageLoader/$(basename "$source" .asm).mcb" \
        2>/dev/null || true
done
status=0
for target in $targets; do
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    echo "== $target ($seconds s)"
    # Images may legitimately print warnings and FATAL lines: keep them out of the summary.
    "$build/tests/fuzz/$target" "$build/corpus/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
        >"$build/$target.log" 2>&1 || status=1
    grep -E "^Done [0-9]+ runs|^stat::number_of_executed_units|^stat::peak_rss_mb" "$build/$target.log" || true
    grep -E "ERROR: (AddressSanitizer|libFuzzer)|runtime error" "$build/$target.log" || true
    found=$(find "$build/artifacts/$target" -type f | wc -l)
    echo "crash/timeout files: $found"
    [ "$found" -eq 0 ] || status=1
done
exit $status
