# The Windows build tried under wine on a virtual screen (Xvfb): the test executables, the
# portable copy, and the installer with its uninstaller. Sourced by scripts/windows.sh after
# the packages are made. Ends with "windows: N passed, M failed", and fails when M > 0.

passed=0
failed=0
trial=$build/wine-trial

pass() { passed=$((passed + ${2:-1})); echo "windows: ok    $1"; }
fail() { failed=$((failed + ${2:-1})); echo "windows: FAIL  $1"; }

windows_path() { local p=${1//\//\\}; echo "Z:$p"; }

# A prefix of the build's own, set up once; Mono and Gecko are not wanted.
wine_start() {
    export WINEPREFIX=$build/wine WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    local display_file=$build/xvfb.display
    rm -f "$display_file"
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" 2>/dev/null &
    xvfb_pid=$!
    trap wine_stop EXIT
    local i
    for i in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.2; done
    export DISPLAY=:$(cat "$display_file")
    if [ ! -f "$WINEPREFIX/.ready" ]; then
        echo "windows: preparing the wine prefix $WINEPREFIX"
        wine wineboot --init >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.ready"
    fi
}

wine_stop() {
    wineserver -k 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}

# Each suite runs once as a whole; its cases count one by one.
run_suites() {
    local dll_path suite log ok bad
    dll_path="$(windows_path "$qt_prefix/bin");$(windows_path "$deps_prefix/bin")"
    for dir in "${dll_dirs[@]:2}"; do dll_path+=";$(windows_path "$dir")"; done
    mkdir -p "$trial/logs"
    for suite in numbers logic exercise ui startup; do
        log=$trial/logs/$suite.log
        (cd "$build/tests" && WINEPATH="$dll_path" QT_QPA_PLATFORM=offscreen \
            QT_PLUGIN_PATH="$(windows_path "$qt_prefix/plugins")" \
            timeout 600 wine "tarvel_${suite}_tests.exe" --gtest_brief=1 2>&1 | tr -d '\r' >"$log") || true
        # The brief output: a line for each case failed, and the count passed at the end.
        ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests*\.$/\1/p' "$log")
        bad=$(grep -c '^\[  FAILED  \] [A-Za-z].* ms)$' "$log" || true)
        [ -n "$ok" ] && pass "tarvel_${suite}_tests: ${ok} cases" "$ok"
        if [ "$bad" -gt 0 ]; then
            fail "tarvel_${suite}_tests: $bad cases, see $log" "$bad"
            grep '^\[  FAILED  \] [A-Za-z].* ms)$' "$log" | cut -c14- | sed 's/^/          /'
        elif [ -z "$ok" ]; then
            fail "tarvel_${suite}_tests did not finish, see $log"
        fi
    done
}

# Starts tarvel.exe ($1, then its arguments) and tells whether it is still up after some
# seconds, with a picture of the screen in $trial/<name>.png; the program is ended after.
starts_and_stays() {
    local name=$1 exe=$2 pid up=false
    (cd "$(dirname "$exe")" && exec wine "$exe" "${@:3}" >"$trial/logs/$name.log" 2>&1) &
    pid=$!
    sleep 12
    kill -0 "$pid" 2>/dev/null && up=true
    import -window root -display "$DISPLAY" "$trial/$name.png" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    $up
}

try_portable() {
    local copy=$trial/$portable_name
    rm -rf "$copy" "$appdata"
    cp -rp "$build/$portable_name" "$copy"
    if starts_and_stays portable "$copy/tarvel.exe"; then pass "portable tarvel.exe starts and stays up"
    else fail "portable tarvel.exe did not stay up, see $trial/logs/portable.log"; fi
    if [ ! -e "$appdata" ]; then pass "portable copy keeps its data beside tarvel.exe"
    else fail "portable copy wrote into $appdata"; fi
}

# Where the installer put the program, from the uninstall entry it wrote (all users or this one).
installed_dir() {
    local hive out
    for hive in HKLM HKCU; do
        out=$(wine reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvel" \
                  /v InstallLocation 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ\s*//p')
        [ -n "$out" ] && { winepath -u "$out" 2>/dev/null; return; }
    done
}

start_menu_entry() { find "$WINEPREFIX/drive_c" -name 'Tarvel — тренажёр кассира.lnk'; }

# The installer run silently as it comes (wine's user counts as an administrator: all users)
# and with /CurrentUser (the mode of a trainee without administrator rights).
try_installer() {
    local mode=$1 setup=$build/$portable_name-setup.exe dir name=installed${1:+-per-user}
    rm -rf "$appdata"
    wine "$setup" /S $mode >/dev/null 2>&1 || true
    wineserver -w
    dir=$(installed_dir)
    if [ -n "$dir" ] && [ -f "$dir/tarvel.exe" ] && [ -n "$(start_menu_entry)" ]; then
        pass "silent install ${mode:-as administrator} into $dir, with its Start-menu entry"
    else
        fail "silent install ${mode:-as administrator}: no tarvel.exe or no Start-menu entry"
        return
    fi

    if starts_and_stays "$name" "$dir/tarvel.exe"; then pass "installed tarvel.exe starts and stays up"
    else fail "installed tarvel.exe did not stay up, see $trial/logs/$name.log"; fi
    if [ -f "$appdata/bazasmen.txt" ] && [ ! -e "$dir/bazasmen.txt" ]; then
        pass "installed copy keeps its data in %APPDATA%\\Tarvel"
    else
        fail "installed copy: no data in $appdata, or data beside the program"
    fi

    wine "$dir/uninstall.exe" /S >/dev/null 2>&1 || true
    wineserver -w
    if [ ! -e "$dir" ] && [ -z "$(installed_dir)" ] && [ -z "$(start_menu_entry)" ]; then
        pass "uninstall removes the program, its entries and its folder"
    else
        fail "uninstall left $dir, its uninstall entry or its Start-menu entry"
    fi
    if [ -f "$appdata/bazasmen.txt" ]; then pass "uninstall keeps the trainee's data"
    else fail "uninstall: the trainee's data in $appdata is gone"; fi
}

wine_test_all() {
    rm -rf "$trial"
    mkdir -p "$trial/logs"
    wine_start
    # The per-user data folder of an installed copy.
    appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')")/Tarvel
    run_suites
    try_portable
    try_installer ""
    try_installer /CurrentUser
    echo "windows: screenshots in $trial"
    echo "windows: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
