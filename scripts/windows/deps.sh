# GoogleTest and toml++ for Windows, from Debian's own sources and headers, installed once per
# machine beside the Windows Qt. Sourced by scripts/windows.sh after qt.sh; sets deps_prefix.

deps_build() {
    local key
    key=$({ dpkg-query -W -f='${Version}\n' googletest libtomlplusplus-dev
            cat "$repo/cmake/mingw-w64.cmake" "$repo"/scripts/windows/tomlplusplus/*
            x86_64-w64-mingw32-g++-posix --version | head -1; } | sha256sum | cut -c1-12)
    deps_prefix=$cache_root/deps-mingw-$key
    [ -f "$deps_prefix/.complete" ] && return
    echo "windows: building GoogleTest and toml++ for Windows into $deps_prefix"
    rm -rf "$deps_prefix" "$deps_prefix-build"
    local common=(-G Ninja --log-level=WARNING -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake"
                  -DCMAKE_INSTALL_PREFIX="$deps_prefix" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    nice -n 19 cmake -S /usr/src/googletest -B "$deps_prefix-build/gtest" "${common[@]}" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
    # No build type: Debian builds the library with its own flags only (-O2, assertions kept).
    nice -n 19 cmake -S "$repo/scripts/windows/tomlplusplus" -B "$deps_prefix-build/toml" \
        "${common[@]}"
    local part
    for part in gtest toml; do
        nice -n 19 cmake --build "$deps_prefix-build/$part" -j "$(nproc)" >/dev/null
        cmake --install "$deps_prefix-build/$part" >/dev/null
    done
    rm -rf "$deps_prefix-build"
    touch "$deps_prefix/.complete"
}
