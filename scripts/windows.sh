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
          qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libtomlplusplus-dev googletest
          dpkg-dev icoutils nsis zip)
$run_tests && packages+=(wine wine64 xvfb imagemagick xdotool fonts-dejavu-core)
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
qt_build
deps_build
source scripts/windows/package.sh

export CCACHE_BASEDIR=$repo
# Through Qt's own toolchain file, as its qt-cmake does, loading ours after it (named here, as
# the repository may stand elsewhere than where the Qt was built from). GoogleTest and toml++
# are found under their prefix as a root of the target's files. Configured anew only when the
# Qt or the libraries are not the ones the build folder was made with (a toolchain is read at
# the first configuration only). The class's journal comes without its charts: the Qt made here
# has no Qt Charts, whose Debian source the package archive does not hand out.
configured="$qt_prefix;$deps_prefix;TARVEL_CHARTS=OFF"
if [ ! -f "$build/build.ninja" ] || [ "$(cat "$build/configured" 2>/dev/null)" != "$configured" ]; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
    cmake -S . -B "$build" -G Ninja --log-level=WARNING \
        -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
        -DCMAKE_FIND_ROOT_PATH="$deps_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DTARVEL_BUILD_BENCH=OFF -DTARVEL_CHARTS=OFF \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
    echo "$configured" >"$build/configured"
fi
nice -n 19 cmake --build "$build" -j "$(nproc)"
package_all

if $run_tests; then
    source scripts/windows/wine_test.sh
    wine_test_all
fi
