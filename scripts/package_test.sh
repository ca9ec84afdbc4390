#!/usr/bin/env bash
# Builds the Debian package from a built tree, unpacks it into a scratch root with dpkg -x,
# checks its files, and runs the unpacked program: --version, then a start with an empty home
# whose data folder must be filled with the installed defaults.
# Usage: scripts/package_test.sh BUILD_DIR SOURCE_DIR VERSION     (exit 77: tools missing)
set -euo pipefail
build=$1 source=$2 version=$3

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
scratch=$(mktemp -d)
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/out/tarvel_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$scratch/out")"

# The package's files (folders left out), against what it must hold.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' | sort >"$scratch/files"
{
    printf '%s\n' /usr/bin/tarvel /usr/share/applications/tarvel.desktop \
        /usr/share/metainfo/io.github.tarvel.tarvel.metainfo.xml \
        /usr/share/icons/hicolor/scalable/apps/tarvel.svg \
        /usr/share/doc/tarvel/copyright /usr/share/doc/tarvel/changelog.gz \
        /usr/share/man/man1/tarvel.1.gz /usr/share/lintian/overrides/tarvel
    for size in 16 24 32 48 64 128 256; do
        echo "/usr/share/icons/hicolor/${size}x${size}/apps/tarvel.png"
    done
    for file in "$source"/data/*.txt "$source"/data/exercises/*.toml \
        "$source"/data/exercises/README.md; do
        if [ -e "$file" ]; then echo "/usr/share/tarvel/${file#"$source"/data/}"; fi
    done
} | sort >"$scratch/expected"
diff -u "$scratch/expected" "$scratch/files" || fail "file list"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* ]] || fail "Depends lacks Qt Widgets: $depends"

root="$scratch/root"
dpkg -x "$deb" "$root"
# The desktop entry and the metainfo as menus and software centres check them; appstreamcli
# fails on a warning too.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/tarvel.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "metainfo"
fi
# The panel keeps its size in the scratch folder, not in the settings of whoever runs this.
export QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" \
    CUPS_SERVER="$scratch/no-cups"
[ "$("$root/usr/bin/tarvel" --version)" = "Tarvel $version" ] || fail "--version"

# A first start: the trainee's folder is created and filled from <prefix>/share/tarvel; bin/
# gets nothing. SIGTERM closes the panel as the desktop's logout does.
"$root/usr/bin/tarvel" >"$scratch/run.log" 2>&1 &
program=$!
# Start-up brings the journal file into being; then the panel is up.
for _ in $(seq 100); do
    [ -f "$scratch/home/Tarvel/bazasmen.txt" ] && break
    sleep 0.1
done
[ -f "$scratch/home/Tarvel/bazasmen.txt" ] || { cat "$scratch/run.log"; fail "start"; }
sleep 0.5
kill -TERM "$program"
wait "$program" || fail "exit after SIGTERM"
program=""
for file in clishe.txt spravoch.txt exercises/01_bez_sdachi.toml exercises/README.md; do
    cmp "$root/usr/share/tarvel/$file" "$scratch/home/Tarvel/$file" || fail "$file not seeded"
done
[ -f "$scratch/home/Tarvel/bazasmen.txt" ] || fail "no journal in the trainee's folder"
[ "$(ls "$root/usr/bin")" = tarvel ] || fail "bin/ holds $(ls "$root/usr/bin")"
echo "package $(basename "$deb") passed"
