#!/bin/sh
# Installs the Debian 12 packages zelmo needs to build, test and run. Idempotent: when
# everything is present it prints nothing and changes nothing.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config qt6-base-dev libqt6opengl6-dev \
libgl-dev libgles-dev libegl-dev libpulse-dev zlib1g-dev libx11-dev libgtest-dev libgmock-dev \
libbenchmark-dev xvfb xauth pulseaudio pulseaudio-utils dbus mesa-utils libgl1-mesa-dri \
libegl-mesa0 libxtst-dev libxkbcommon-x11-0 xdotool imagemagick sox desktop-file-utils tzdata \
fonts-dejavu-core lua5.4 clang-format help2man clang libclang-rt-14-dev \
linux-perf"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
