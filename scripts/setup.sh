#!/usr/bin/env bash
# Installs what the build needs (only what is missing), then configures and builds.
# Usage: scripts/setup.sh [build-dir]    Safe to run again: a second run only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-charts-dev qt6-qpa-plugins libgl-dev
          libgtest-dev libbenchmark-dev libtomlplusplus-dev fonts-dejavu-core dpkg-dev python3
          desktop-file-utils appstream poppler-utils qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}"
fi
cmake --build "$build_dir" -j "$(nproc)"
