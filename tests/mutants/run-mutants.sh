#!/bin/sh
# Runs the test suite against each deliberate fault in this folder and records whether some test
# failed (caught) or every test passed (missed). A fault is a small patch of the product code;
# the first line of each patch says what it breaks.
#
# Usage: tests/mutants/run-mutants.sh [WORK_DIR [PATCH...]]
#   WORK_DIR  scratch folder (default /tmp/zelmo-mutants): a copy of the tree and its build.
#   PATCH     the faults to try (default every *.patch here).
#   SOURCE    (environment) the tree whose tests are run (default the tree holding this script);
#             the patches must apply to it.
#   SELECT    (environment) more ctest arguments, such as -R REGEX to run part of the suite.
#   SKIP      (environment) a regex of tests left out of every run (slow ones no fault reaches).
#   REMOVED   (environment) a file of test names, one a line, that a trim removed from the
#             suite of SOURCE: each fault is then tried on the suite without them ("new") and,
#             when that misses, on them alone, which decides the old suite's result ("old").
#
# The copy is made again on every run with modification times kept, so the build stays
# incremental (a rerun after trimming tests rebuilds only the tests). The libraries are built
# shared and executables do not relink when a library changes, so a fault costs one compiled
# file and one linked library, then a run of the suite.
# The suite stops at its first failure. Results: WORK_DIR/results.txt, "NAME caught|missed|...".
set -u
set -f # regexes below pass through unquoted expansions
here=$(cd "$(dirname "$0")" && pwd)
source_tree=${SOURCE:-$(cd "$here/../.." && pwd)}
work=${1:-/tmp/zelmo-mutants}
[ $# -gt 0 ] && shift
copy="$work/tree"
build="$work/build"
results="$work/results.txt"
rm -rf "$copy"
mkdir -p "$copy"
(cd "$source_tree" && tar -cf - --exclude='./build*' --exclude=./.git .) | tar -C "$copy" -xf -
cmake -S "$copy" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_LINK_DEPENDS_NO_SHARED=ON >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; exit 1; }

suite() {
    # The graphics library is not among the faulted areas; its tests only cost time here.
    # shellcheck disable=SC2086
    ctest --test-dir "$build" -j2 --timeout 120 --stop-on-failure -E "^GraphicsTest${SKIP:+|$SKIP}" \
        ${SELECT:-} \
        >"$work/ctest.log" 2>&1
}
# The first name under "The following tests FAILED:", whatever ended it (a failure, a signal).
firstFailure() {
    grep -m1 -E '^[[:space:]]+[0-9]+ - ' "$work/ctest.log" | sed -E 's/^[[:space:]]+[0-9]+ - //; s/ \(.*$//'
}
if ! cmake --build "$build" -j2 >"$work/build.log" 2>&1; then
    tail -30 "$work/build.log"; echo "the unchanged tree does not build"; exit 1
fi
if ! suite; then
    grep -E 'Failed|\*\*\*' "$work/ctest.log"; echo "the suite fails without any fault"; exit 1
fi

if [ $# -eq 0 ]; then set +f; set -- "$here"/*.patch; set -f; fi
: >"$results"
for patch in "$@"; do
    name=$(basename "$patch" .patch)
    if ! patch -d "$copy" -p1 --quiet --forward <"$patch" >/dev/null; then
        result=patch-failed
    elif ! cmake --build "$build" -j2 >"$work/build.log" 2>&1; then
        result=build-failed
    elif [ -n "${REMOVED:-}" ]; then
        removed=$(sed 's/[.]/[.]/g' "$REMOVED" | paste -sd'|')
        if ! SELECT="-E ^GraphicsTest${SKIP:+|$SKIP}|^($removed)\$" suite; then
            result="old=caught new=caught by $(firstFailure)"
        elif ! SELECT="-R ^($removed)\$" suite; then
            result="old=caught by $(firstFailure) new=MISSED"
        else
            result="old=missed new=missed"
        fi
    elif suite; then
        result=missed
    else
        result="caught by $(firstFailure)"
    fi
    patch -d "$copy" -p1 --quiet --reverse <"$patch" >/dev/null
    echo "$name $result" | tee -a "$results"
done
# The last fault's file was restored after its build: build again, or a later run of this script
# (which restores the original modification time) would keep the faulty object.
cmake --build "$build" -j2 >"$work/build.log" 2>&1
