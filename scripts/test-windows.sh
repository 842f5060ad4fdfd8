#!/usr/bin/env bash
# Builds the Windows half (scripts/build-windows.sh) and tests it under Wine: the core and
# asset-library tests, then the same kestrel-cli commands on the same sample by the Windows
# build (in a folder with a non-ASCII name) and by a Linux build, whose written files (the
# database, CSV, archives, exported PNG pictures, archives after picture imports) must be
# byte-identical, and the DLL's HBITMAP against the Linux library's pixels.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="$root/build-windows"
start=$SECONDS

bash scripts/build-windows.sh "$build" -DKESTREL_WERROR="${KESTREL_WERROR:-OFF}"
# The reference: the same tool and library built for Linux, taken from the Linux build folder
# KESTREL_LINUX_BUILD names (CI's, just built from the same tree), else built here without Qt.
if [ -n "${KESTREL_LINUX_BUILD:-}" ]; then
    linux="$(cd "$KESTREL_LINUX_BUILD" && pwd)"
    cmake --build "$linux" --target kestrel-cli Wren_Utils >/dev/null
else
    linux="$build/linux"
    cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_GUI=OFF \
        -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF -DKESTREL_WERROR="${KESTREL_WERROR:-OFF}" >/dev/null
    cmake --build "$linux" -j "$(nproc)" --target kestrel-cli Wren_Utils
fi
probe="$build/wren_bitmap_probe"
cc -O2 -Wall -Wextra -Werror -I. tests/windows/ShapeBitmapProbe.c -o "$probe" -ldl

# One fresh prefix a run, headless: no display, no desktop integration, no console colours.
export WINEPREFIX="$build/wine-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
export LC_ALL=C.UTF-8 # arguments reach Wine as UTF-8
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$WINEPREFIX"
wineboot --init >/dev/null 2>&1
echo "wine prefix ready after $((SECONDS - start))s"

ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# ---- kestrel-cli: the same commands on both sides ----
work="$build/cli-compare"
rm -rf "$work" && mkdir -p "$work/linux"
lgame="$work/linux/Corvid 2004 Ü"
wgame_unix="$WINEPREFIX/drive_c/Spiele/Corvid 2004 Ü"
wgame='C:\Spiele\Corvid 2004 Ü'
wout_unix="$WINEPREFIX/drive_c/Spiele/out"
wout='C:\Spiele\out'
lout="$work/linux/out"
mkdir -p "$lout" "$wout_unix"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# run_both NAME ARGS...: runs the command on both sides, the words GAME and OUT standing for each
# side's game folder and output folder; the outputs (line ends aside) and exit status must match.
run_both() {
    local name="$1"
    shift
    local largs=() wargs=() a
    for a in "$@"; do
        largs+=("${a//@GAME@/$lgame}")
        largs[-1]="${largs[-1]//@OUT@/$lout}"
        a="${a//@GAME@/$wgame}"
        wargs+=("${a//@OUT@/$wout}")
    done
    local lstatus=0 wstatus=0
    "$linux/bin/kestrel-cli" "${largs[@]}" >"$work/$name.linux.out" 2>"$work/$name.linux.err" ||
        lstatus=$?
    wine "$build/bin/kestrel-cli.exe" "${wargs[@]}" >"$work/$name.wine.out" \
        2>"$work/$name.wine.err" || wstatus=$?
    # Line ends aside, and each side's folders named by the same words.
    local text
    text=$(tr -d '\r' <"$work/$name.wine.out")
    text="${text//"$wgame"/@GAME@}"
    printf '%s\n' "${text//"$wout"/@OUT@}" >"$work/$name.wine.txt"
    text=$(<"$work/$name.linux.out")
    text="${text//"$lgame"/@GAME@}"
    printf '%s\n' "${text//"$lout"/@OUT@}" >"$work/$name.linux.txt"
    if [ "$lstatus" != "$wstatus" ]; then
        fail "$name: exit status $wstatus under Wine, $lstatus on Linux: $(cat "$work/$name.wine.err")"
    elif [ "$lstatus" != 0 ] && [ "${ALLOW_FAILURE:-}" != "$name" ]; then
        fail "$name failed on both: $(cat "$work/$name.linux.err")"
    fi
    if [ "${COMPARE_OUTPUT:-1}" = 1 ] && ! cmp -s "$work/$name.linux.txt" "$work/$name.wine.txt"; then
        fail "$name: the output differs"
        diff "$work/$name.linux.txt" "$work/$name.wine.txt" | head -5 >&2 || true
    fi
}

# same_files LABEL: every file written under both game folders and output folders is the same
# (backups aside: their names carry the time they were made; the lock holds its writer's id).
same_files() {
    local list_l list_w
    list_l=$(cd "$lgame" && find . -type f -not -path './*backups*' -not -name .kestrel.lock | sort)
    list_w=$(cd "$wgame_unix" && find . -type f -not -path './*backups*' -not -name .kestrel.lock | sort)
    if [ "$list_l" != "$list_w" ]; then
        fail "$1: the files differ: $(diff <(echo "$list_l") <(echo "$list_w") | head -5)"
        return
    fi
    local f
    while read -r f; do
        [ -n "$f" ] || continue
        if [ "$(sha256sum <"$lgame/$f")" != "$(sha256sum <"$wgame_unix/$f")" ]; then
            fail "$1: $f differs (SHA-256)"
        fi
    done <<<"$list_l"
    for f in "$lout"/*; do
        [ -e "$f" ] || continue
        if [ "$(sha256sum <"$f")" != "$(sha256sum <"$wout_unix/${f##*/}")" ]; then
            fail "$1: out/${f##*/} differs (SHA-256)"
        fi
    done
    echo "same files after $1: $(echo "$list_l" | wc -l) in the game, $(ls "$lout" | wc -l) out"
}

run_both make-sample make-sample "@GAME@" --seed 2004 --players 400
same_files make-sample
run_both summary --game "@GAME@" summary
run_both player --game "@GAME@" player 4
run_both team --game "@GAME@" team 3
run_both set-player --game "@GAME@" set player 4 acceleration 61
run_both set-team --game "@GAME@" set team 3 team_name "Wanderers Ü"
squad_player=$(sed -n 's/.*"squad":\[{"player_id":\([0-9]*\).*/\1/p' "$work/team.linux.out")
run_both squad-move --game "@GAME@" squad move "$squad_player" 3 4
run_both squad-jersey --game "@GAME@" squad jersey "$squad_player" 4 77
same_files "set and squad"
run_both export --game "@GAME@" export players "@OUT@/players.csv"
# The first player's acceleration (the fifth column) changes on the way back in.
sed -i '2s/^\([^,]*,[^,]*,[^,]*,[^,]*\),[0-9]*,/\1,50,/' "$lout/players.csv"
cp "$lout/players.csv" "$wout_unix/players.csv"
run_both import --game "@GAME@" import players "@OUT@/players.csv"
run_both export-teams --game "@GAME@" export teams "@OUT@/teams.csv"
same_files "export and import"
ALLOW_FAILURE=check run_both check --game "@GAME@" check
COMPARE_OUTPUT=0 run_both backups --game "@GAME@" backups
COMPARE_OUTPUT=0 run_both restore --game "@GAME@" restore --original
same_files restore
archive="@GAME@/data/zdata_05.big"
run_both archive-list archive list "$archive"
run_both pack pack "$archive" "@OUT@/zdata_05.packed"
run_both unpack unpack "@OUT@/zdata_05.packed" "@OUT@/zdata_05.unpacked"
run_both archive-list-packed archive list "@OUT@/zdata_05.packed"
same_files "archives"
cmp -s "$lgame/data/zdata_05.big" "$lout/zdata_05.unpacked" || fail "unpack does not give back the archive"

# ---- Pictures: shapes and exports written as PNG by the same encoder on both sides, then
# imported back; the archives written must be byte-identical ----
kit1="playerkittexobj.texobj463104248046875__texture23__0_0_1.fsh"
run_both shape shape "$archive" "$kit1" tp00 "@OUT@/shape.png"
# The sample's entries are packed streams, which getShape does not read: both sides say so.
ALLOW_FAILURE=shape-whole run_both shape-whole shape "$archive" "$kit1" tp00 \
    "@OUT@/shape-whole.png" --whole
run_both picture-kit --game "@GAME@" picture export kit 1 0 "@OUT@/kit1.png"
run_both picture-crest --game "@GAME@" picture crest 6 "@OUT@/crest6.png"
same_files "picture export"
# The import's report names the backup it made (a name of its own on each side): its first
# line, the archive and the shape written, must match.
import_both() {
    COMPARE_OUTPUT=0 run_both "$@"
    cmp -s <(head -n 1 "$work/$1.linux.txt") <(head -n 1 "$work/$1.wine.txt") ||
        fail "$1: the output differs: $(head -n 1 "$work/$1.wine.txt")"
}
import_both import-kit --game "@GAME@" picture import kit 2 0 "@OUT@/kit1.png"
import_both import-crest --game "@GAME@" picture import crest 1 "@OUT@/crest6.png"
import_both import-crest-32 --game "@GAME@" picture import crest 6 "@OUT@/kit1.png" \
    --size 32x48 --bgra32
same_files "picture import"
# A damaged picture is refused on both sides and changes nothing; a JPEG, which only the build
# with Qt reads, is refused under Wine with a reason.
head -c "$(($(stat -c %s "$lout/kit1.png") / 2))" "$lout/kit1.png" >"$lout/cut.png"
cp "$lout/cut.png" "$wout_unix/cut.png"
COMPARE_OUTPUT=0 ALLOW_FAILURE=import-cut run_both import-cut --game "@GAME@" \
    picture import kit 2 0 "@OUT@/cut.png"
grep -q "nothing imported" "$work/import-cut.wine.err" || fail "import-cut: no reason under Wine"
rm "$lout/cut.png" "$wout_unix/cut.png"
printf '\377\330\377\340JFIF' >"$wout_unix/photo.jpg"
if wine "$build/bin/kestrel-cli.exe" --game "$wgame" picture import crest 1 "$wout"'\photo.jpg' \
    >/dev/null 2>"$work/jpeg.wine.err"; then
    fail "a JPEG was imported by the build without Qt"
elif ! grep -q "JPEG" "$work/jpeg.wine.err"; then
    fail "the JPEG refusal gives no reason: $(cat "$work/jpeg.wine.err")"
fi
rm "$wout_unix/photo.jpg"
same_files "refused imports"

# ---- The DLL's bitmaps: getShapeX and getShape under Wine against the Linux library ----
shapes=0
while IFS=$'\t' read -r container _ _; do
    case "$container" in *.fsh) ;; *) continue ;; esac
    shape=$(case "$container" in playerkittexobj*__texture462677*) echo crwd ;;
        playerkittexobj*) echo tp00 ;; transitiontexobj*) echo logo ;; *) echo tp01 ;; esac)
    for how in X whole; do
        extra=()
        [ "$how" = whole ] && extra=(whole)
        "$probe" "$linux/bin/libWren_Utils.so" "$lgame/data/zdata_05.big" \
            "$container" "$shape" "$work/shape.linux" "${extra[@]}" 2>/dev/null || continue
        wine "$build/bin/wren_bitmap_probe.exe" "$build/bin/Wren_Utils.dll" \
            "$wgame\\data\\zdata_05.big" "$container" "$shape" 'C:\Spiele\out\shape.bin' \
            "${extra[@]}" || { fail "bitmap $container $shape ($how): none under Wine"; continue; }
        cmp -s "$work/shape.linux" "$wout_unix/shape.bin" ||
            fail "bitmap $container $shape ($how): the pixels differ"
        shapes=$((shapes + 1))
    done
    [ "$shapes" -ge 12 ] && break
done <"$work/archive-list.linux.out"
[ "$shapes" -ge 6 ] || fail "only $shapes bitmaps compared"
echo "compared $shapes bitmaps (getShapeX and getShape)"

# ---- The release archive: the tool and the DLL with the README and the licence ----
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip="$build/kestrel-cli-$version-win64.zip"
rm -f "$zip"
(cd "$build" && cpack -G ZIP >/dev/null)
if [ -f "$zip" ]; then
    listing=$(cmake -E tar tf "$zip")
    for file in kestrel-cli.exe Wren_Utils.dll README.md COPYING; do
        grep -q "/$file\$" <<<"$listing" || fail "$file missing from ${zip##*/}"
    done
    echo "${zip##*/}: $(wc -l <<<"$listing") files"
else
    fail "cpack wrote no ${zip##*/}"
fi

echo "test-windows: $((SECONDS - start))s"
if [ "$failures" -gt 0 ]; then
    echo "test-windows: $failures failures" >&2
    exit 1
fi
