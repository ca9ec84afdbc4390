# Qt for Windows, cross-built once per machine from Debian's own source of the host's Qt
# version (cross-building needs the host's moc, rcc and uic of the same version).
# Sourced by scripts/windows.sh; sets qt_prefix.

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/+.*//')
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/tarvel

# Release shared libraries without the modules the register does not use. ICU is off because
# Windows has no ICU to ship; Debian's source leaves out the bundled Wintab headers, so tablet
# events go; OpenGL stays (dynamic GL): without it the 6.4 Windows platform plugin does not build.
qt_options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
            -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
            -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF
            -DFEATURE_icu=OFF -DFEATURE_tabletevent=OFF
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)

qt_key() {
    { echo "$qt_version"; printf '%s\n' "${qt_options[@]}"; cat "$repo/cmake/mingw-w64.cmake"
      x86_64-w64-mingw32-g++-posix --version | head -1; } | sha256sum | cut -c1-12
}

# The source through an apt configuration of our own: a deb-src line for the same Debian
# release as the machine, its own lists and cache, the machine's keys; the machine's
# sources stay as they are.
qt_fetch_source() {
    local src=$cache_root/qt-src-$qt_version apt_dir=$cache_root/apt
    [ -f "$src/.complete" ] && { qt_source=$(ls -d "$src"/qt6-base-*/ | head -1); return; }
    rm -rf "$src" "$apt_dir"
    mkdir -p "$src" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    # The host's Qt may come from the release, its updates or a security update.
    printf 'deb-src http://deb.debian.org/debian %s main\n' "$codename" "$codename-updates" \
        >"$apt_dir/sources.list"
    echo "deb-src http://deb.debian.org/debian-security $codename-security main" \
        >>"$apt_dir/sources.list"
    local apt_opts=(-o Dir::Etc::sourcelist="$apt_dir/sources.list" -o Dir::Etc::sourceparts=-
                    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
                    -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
    apt-get "${apt_opts[@]}" update -qq
    (cd "$src" && apt-get "${apt_opts[@]}" source -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)")
    touch "$src/.complete"
    qt_source=$(ls -d "$src"/qt6-base-*/ | head -1)
}

qt_build() {
    qt_prefix=$cache_root/qt-$qt_version-mingw-$(qt_key)
    [ -f "$qt_prefix/.complete" ] && return
    # Two runs at once (a CI run beside a developer's) build it once: the second waits.
    mkdir -p "$cache_root"
    local lock
    exec {lock}>"$cache_root/qt-build.lock"
    flock "$lock"
    [ -f "$qt_prefix/.complete" ] && { exec {lock}>&-; return; }
    qt_fetch_source
    local build=$qt_prefix-build started=$SECONDS
    echo "windows: building Qt $qt_version for Windows into $qt_prefix (once per machine, ~40 min)"
    rm -rf "$qt_prefix"
    [ -f "$build/build.ninja" ] ||
        nice -n 19 cmake -S "$qt_source" -B "$build" -G Ninja --log-level=WARNING \
            -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
            -DCMAKE_INSTALL_PREFIX="$qt_prefix" "${qt_options[@]}"
    nice -n 19 cmake --build "$build" -j "$(nproc)"
    cmake --install "$build" >/dev/null
    rm -rf "$build"
    touch "$qt_prefix/.complete"
    exec {lock}>&-
    echo "windows: Qt built in $(((SECONDS - started) / 60)) min"
}
