#!/bin/sh
# Times the drawing benchmark: drawing.asm on zelmo-vm --headless (each phase logs its own
# milliseconds) beside zelmo-drawing-bench, which makes the same Qt calls directly. Prints the
# time per operation of both. Usage: bench/drawing/run.sh [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app"
cp "$here/font.png" "$work/app/"
"$build/tools/zelmo-asm" "$here/drawing.asm" -o "$work/app/index.mcb"
echo "zelmo-vm (the natives, through bytecode):"
(cd "$work/app" && "$build/src/zelmo-vm" --headless --app . 2>&1 >/dev/null) |
    sed -n 's/^LOG: //p' | paste - - |
    awk -F'\t' '{ split($1, a, ": "); split(a[2], b, ","); n = b[1];
                  printf "  %-36s %9d  %8.1f ns each\n", a[1], n, $2 * 1e6 / n }'
echo "Qt directly:"
"$build/bench/zelmo-drawing-bench" "$here/font.png" 2>/dev/null | sed 's/^/  /'
