#!/usr/bin/env bash
# Tarvel for Windows 10/11, cross-built on Debian 12: installs what is missing, builds Qt for
# Windows once per machine (~/.cache/tarvel), builds the register into build-win, and makes
# a portable zip and an installer there.
#   scripts/windows.sh           build and package
#   scripts/windows.sh --test    the same, then the tests and the packages tried under wine64
# A second run only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$repo/build-win
run_tests=false
case "${1:-}" in
    --test) run_tests=true ;;
    "") ;;
    *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools cmake ninja-build ccache pkg-config
          qt6-base-dev qt6-base-dev-tools libtomlplusplus-dev googletest dpkg-dev
          icoutils nsis zip)
$run_tests && packages+=(wine wine64 xvfb x11-utils imagemagick)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "windows: installing ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

source scripts/windows/qt.sh
source scripts/windows/deps.sh
source scripts/windows/package.sh
qt_build
deps_build

export CCACHE_BASEDIR=$repo
# Configured again only when the Qt or the libraries under it are not the ones it was made with.
if ! grep -qs "^TARVEL_WINDOWS_PREFIXES:STRING=$qt_prefix;$deps_prefix\$" "$build/CMakeCache.txt"; then
    cmake -S . -B "$build" -G Ninja --log-level=WARNING \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
        -DCMAKE_PREFIX_PATH="$qt_prefix;$deps_prefix" -DCMAKE_FIND_ROOT_PATH="$qt_prefix;$deps_prefix" \
        -DTARVEL_WINDOWS_PREFIXES:STRING="$qt_prefix;$deps_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DTARVEL_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
nice -n 19 cmake --build "$build" -j "$(nproc)"
package_all

if $run_tests; then
    source scripts/windows/wine_test.sh
    wine_test_all
fi
