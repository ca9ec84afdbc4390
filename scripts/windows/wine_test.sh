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
    # Wine has neither of the panel's Windows faces: the DejaVu faces the Linux build uses
    # stand in for them, so that the panel looks and measures as on Linux.
    local key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v "Lucida Console" /d "DejaVu Sans Mono" /f >/dev/null 2>&1
    wine reg add "$key" /v "Microsoft Sans Serif" /d "DejaVu Sans" /f >/dev/null 2>&1
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
    for suite in storage numbers register goods exercise qt ui app sync; do
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

# The panel's window on the virtual screen, once it is shown (wine has no window manager here:
# the X window is the client area).
panel_window() {
    local i wid
    for i in $(seq 60); do
        wid=$(xdotool search --onlyvisible --name '^Tarvel \(' 2>/dev/null | head -1)
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        sleep 0.5
    done
    return 1
}

# Clicks the keys named ($2...) at their centres in pixels of the panel window ($1), given
# in twips as the layout table places them (15 twips a pixel at 96 DPI).
click_keys() {
    local wid=$1 at
    shift
    for at in "$@"; do
        xdotool mousemove --window "$wid" $((${at%,*} / 15)) $((${at#*,} / 15)) click 1
        sleep 0.4
    done
}

# The journal with its dates and times masked: what two runs at different times share.
masked_journal() { LC_ALL=C sed -E 's/[0-9]{2}\.[0-9]{2}\.[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}/XX.XX.XXXX XX:XX:XX/g' "$1"; }

# The keys of the panel test's receipt: 1 5 0 ВВ 5 1 ВВ = НЛ 5 0 0 ВВ.
receipt_keys=(4027,4027 4747,3547 4027,4507 6187,4267 4747,3547 4027,4027 6187,4267
              7507,4507 6187,3547 4747,3547 4027,4507 4027,4507 6187,4267)

# A receipt rung by clicks on tarvel.exe ($2, data in $3) lands in $3/bazasmen.txt byte for
# byte as the Linux build writes it (tests/data/receipt_by_clicks.txt, checked on Linux by the
# panel's tests); then the session ends as Windows ends it ($1): taskkill without /F
# (WM_CLOSE), or the end of the Windows session (log off, shut down). Neither may lose it.
ring_receipt() {
    local ending=$1 exe=$2 data=$3 wid pid i
    : >"$data/bazasmen.txt" # a new journal: the runs before left their line ends in it
    # A Russian Windows: the receipt's date as the regional settings write it there.
    (cd "$(dirname "$exe")" && LC_ALL=ru_RU.UTF-8 exec wine "$exe" \
        >"$trial/logs/clicks-$ending.log" 2>&1) &
    pid=$!
    if ! wid=$(panel_window); then
        fail "receipt by clicks ($ending): no panel window"
        wineserver -k 2>/dev/null || true
        return
    fi
    sleep 2
    click_keys "$wid" "${receipt_keys[@]}"
    sleep 1
    import -window root -display "$DISPLAY" "$trial/receipt-$ending.png" 2>/dev/null || true
    if [ "$ending" = taskkill ]; then wine taskkill /IM tarvel.exe >/dev/null 2>&1 || true
    else wine wineboot --end-session >/dev/null 2>&1 || true; fi
    for i in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
    if kill -0 "$pid" 2>/dev/null; then
        fail "receipt by clicks: tarvel.exe still runs after $ending"
        wineserver -k 2>/dev/null || true
    elif cmp -s <(masked_journal "$data/bazasmen.txt") "$repo/tests/data/receipt_by_clicks.txt"; then
        pass "receipt by clicks in $data/bazasmen.txt as on Linux; $ending ended the program"
    else
        fail "receipt by clicks ($ending): $data/bazasmen.txt differs"
    fi
    wait "$pid" 2>/dev/null || true
}

try_portable() {
    local copy=$trial/$portable_name
    rm -rf "$copy" "$appdata"
    cp -rp "$build/$portable_name" "$copy"
    if starts_and_stays portable "$copy/tarvel.exe"; then pass "portable tarvel.exe starts and stays up"
    else fail "portable tarvel.exe did not stay up, see $trial/logs/portable.log"; fi
    if [ ! -e "$appdata" ]; then pass "portable copy keeps its data beside tarvel.exe"
    else fail "portable copy wrote into $appdata"; fi
    ring_receipt taskkill "$copy/tarvel.exe" "$copy"
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
    [ -z "$mode" ] && ring_receipt end-session "$dir/tarvel.exe" "$appdata"

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
