#!/usr/bin/env bash
# Sets up a Debian 12 machine for ORV Sequencer and builds it.
# Installs what is missing (after apt-get update), configures and builds
# into ${ORV_BUILD_DIR:-build}. Safe to run again: it only does what is left.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORV_BUILD_DIR:-$here/build}"

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-multimedia-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libqt6sql6-sqlite libqt6sql6-psql postgresql python3-jsonschema
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "== Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install packages." >&2; exit 1; }
        sudo="sudo"
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

echo "== Configuring in $build"
launcher=()
# A developer machine with ccache rebuilds other checkouts of the tree from its cache.
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$here")}"
fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
echo "== Building"
cmake --build "$build" -j "$(nproc)"
