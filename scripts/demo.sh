#!/bin/sh
# Installs what is missing, builds zelmo and runs the bundled example application headless.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
mkdir -p build/demo
build/tools/zelmo-asm examples/demo/demo.asm -o build/demo/index.mcb
exec build/src/zelmo-vm --headless --app build/demo
