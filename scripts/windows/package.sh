# The Windows packages, made into build-win: the portable folder and its zip, and the NSIS
# installer. Sourced by scripts/windows.sh after the build; needs qt_prefix and deps_prefix.

version=$(sed -n 's/^project(Tarvel VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
mingw=x86_64-w64-mingw32
portable_name=tarvel-$version-win64

# Where the DLLs a Windows program of ours imports are found; a DLL in none of them must be
# one Windows itself has: wine's own copies stand for Windows's list, and the API sets
# (api-ms-win-*, ext-ms-win-*) are names the Windows loader resolves itself.
dll_dirs=("$qt_prefix/bin" "$deps_prefix/bin" "/usr/lib/gcc/$mingw/$($mingw-g++-posix -dumpversion)"
          "/usr/$mingw/lib")
windows_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows

find_in() { find "$1" -maxdepth 1 -iname "$2" -print -quit 2>/dev/null; }

# Copies into $2 every DLL the executables and DLLs $1... import, and what those import in
# turn, reading each file's import table.
bundle_imports() {
    local to=$1 queue=("${@:2}") seen=" " file name dir found
    while [ ${#queue[@]} -gt 0 ]; do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        for name in $($mingw-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
            [[ $seen == *" ${name,,} "* ]] && continue
            seen+="${name,,} "
            found=""
            for dir in "${dll_dirs[@]}"; do
                found=$(find_in "$dir" "$name") && [ -n "$found" ] && break
            done
            if [ -n "$found" ]; then
                $mingw-strip -p -o "$to/$(basename "$found")" "$found"
                queue+=("$found")
            elif [[ ${name,,} != api-ms-win-* && ${name,,} != ext-ms-win-* ]] &&
                [ -z "$(find_in "$windows_dlls" "$name")" ]; then
                echo "windows: $file needs $name, found nowhere" >&2
                return 1
            fi
        done
    done
}

# The program with everything it loads: Qt and the MinGW runtime, the window system, style
# and image plugins, the default data files in share/tarvel (what an installed copy fills a
# trainee's folder from), and a qt.conf that keeps Qt to the plugins beside the program.
stage_program() {
    local to=$1 kind f
    rm -rf "$to"
    mkdir -p "$to"
    $mingw-strip -p -o "$to/tarvel.exe" "$build/tarvel.exe"
    local roots=("$build/tarvel.exe")
    for kind in platforms/qwindows 'styles/*' 'imageformats/*'; do
        for f in "$qt_prefix"/plugins/$kind.dll; do
            [ -f "$f" ] || continue
            mkdir -p "$to/${kind%%/*}"
            $mingw-strip -p -o "$to/${kind%%/*}/$(basename "$f")" "$f"
            roots+=("$f")
        done
    done
    bundle_imports "$to" "${roots[@]}"
    printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\n' >"$to/qt.conf"
    # Qt's own words in Russian (the file dialog, a message box's buttons): Debian's
    # translation, the same on every system, where qt.conf's prefix puts Qt's translations.
    mkdir -p "$to/translations"
    cp -p /usr/share/qt6/translations/qtbase_ru.qm "$to/translations/"
    touch -r "$repo/scripts/windows/package.sh" "$to/qt.conf" # unchanged unless its maker is
    mkdir -p "$to/share"
    cp -rp "$repo/data" "$to/share/tarvel"
    # The GPL goes with every copy of the program, installed or portable.
    windows_text "$repo/LICENSE" >"$to/LICENSE.txt"
    touch -r "$repo/LICENSE" "$to/LICENSE.txt"
}

# Text for Windows: CRLF, and UTF-8 marked as such for older Notepads.
windows_text() { printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$1"; }

# The portable copy keeps its data beside tarvel.exe (the register's second rule), so it runs
# from any folder or USB stick as it is.
stage_portable() {
    local to=$1
    rm -rf "$to"
    cp -rp "$build/win-program" "$to"
    cp -p "$repo"/data/*.txt "$to/"
    cp -rp "$repo/data/exercises" "$to/exercises"
    windows_text "$repo/packaging/windows/README.txt" >"$to/README.txt"
    touch -r "$repo/packaging/windows/README.txt" "$to/README.txt"
}

tree_stamp() { (cd "$1" && find . -type f -printf '%P %s %T@\n' | sort | sha256sum); }

package_all() {
    stage_program "$build/win-program"
    local portable=$build/$portable_name zip=$build/$portable_name.zip
    local setup=$build/$portable_name-setup.exe stamp
    stage_portable "$portable"
    stamp=$({ tree_stamp "$portable"; sha256sum "$repo/packaging/windows/tarvel.nsi"; } | sha256sum)
    if [ -f "$zip" ] && [ -f "$setup" ] && [ "$(cat "$build/packages.stamp" 2>/dev/null)" = "$stamp" ]; then
        echo "windows: packages up to date"
        return
    fi
    rm -f "$zip" "$setup" "$build/packages.stamp"
    (cd "$build" && zip -q -r -X "$zip" "$portable_name")
    make_installer "$build/win-program" "$setup"
    echo "$stamp" >"$build/packages.stamp"
    echo "windows: $(du -h "$zip" | cut -f1) $zip"
    echo "windows: $(du -h "$setup" | cut -f1) $setup"
}

# The installer installs exactly the files of the program's folder and its uninstaller
# removes exactly those, so anything a trainee put there stays.
make_installer() {
    local from=$1 out=$2 lists=$build/nsis
    rm -rf "$lists"
    mkdir -p "$lists"
    (cd "$from" && find . -mindepth 1 -type d -printf '%P\n' | sort) >"$lists/dirs"
    (cd "$from" && find . -type f -printf '%P\n' | sort) >"$lists/files"
    {
        while read -r d; do echo "CreateDirectory \"\$INSTDIR\\${d//\//\\}\""; done <"$lists/dirs"
        while read -r f; do
            echo "File \"/oname=${f//\//\\}\" \"$from/$f\""
        done <"$lists/files"
    } >"$lists/install.nsh"
    {
        while read -r f; do echo "Delete \"\$INSTDIR\\${f//\//\\}\""; done <"$lists/files"
        sort -r "$lists/dirs" | while read -r d; do echo "RMDir \"\$INSTDIR\\${d//\//\\}\""; done
    } >"$lists/uninstall.nsh"
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DLISTS="$lists" \
        -DICON="$build/packaging/tarvel.ico" -DOUTFILE="$out" "$repo/packaging/windows/tarvel.nsi"
}
