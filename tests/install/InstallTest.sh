#!/usr/bin/env bash
# InstallTest.sh BUILD_DIR BINDIR LIBDIR DATADIR MANDIR: installs the build into a scratch
# prefix and uses the installed programs as a user would, far from the build tree: the tool
# writes the sample game and reads it, loads the asset library for a picture, and the editor
# starts on the sample (offscreen, --check) finding its texts, pictures and library.
set -euo pipefail
build="$1" bindir="$2" libdir="$3" datadir="$4" mandir="$5"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
# The programs' settings and any Wine registry stay inside the scratch folder.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" WINEPREFIX="$scratch/wine"
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
    fail "cmake --install: $(cat "$scratch/install.log")"
for program in "$bindir/kestrel" "$bindir/kestrel-cli"; do
    [ -x "$prefix/$program" ] || fail "$program is not installed"
done
for file in "$libdir/libWren_Utils.so" "$datadir/English_UK.qtx" "$datadir/French.qtx" \
    "$datadir/German.qtx" "$datadir/Spanish.qtx" "$datadir/Arts/head01.jpg" \
    share/applications/kestrel.desktop share/icons/hicolor/48x48/apps/kestrel.png \
    share/icons/hicolor/256x256/apps/kestrel.png "$mandir/man1/kestrel-cli.1"; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
# Nothing of the build or its tests comes along.
[ ! -e "$prefix/$bindir/kestrel-arts" ] || fail "a build tool was installed"
! ls "$prefix/$bindir" | grep -q test || fail "tests were installed"
grep -q '^Exec=kestrel$' "$prefix/share/applications/kestrel.desktop" || fail "desktop entry"
grep -q '^Icon=kestrel$' "$prefix/share/applications/kestrel.desktop" || fail "desktop icon"

# The manual page is the tool's own help.
grep -q '^\.TH "KESTREL-CLI" 1' "$prefix/$mandir/man1/kestrel-cli.1" || fail "man page header"
grep -q 'make\\-sample' "$prefix/$mandir/man1/kestrel-cli.1" || fail "man page lacks make-sample"

cd "$scratch"
cli="$prefix/$bindir/kestrel-cli"
"$cli" make-sample game >make-sample.txt 2>&1 || fail "make-sample: $(cat make-sample.txt)"
"$cli" --game game summary >summary.json 2>&1 || fail "summary: $(cat summary.json)"
grep -Eq '^\{"players":[1-9][0-9]*,"teams":[1-9]' summary.json || fail "summary: $(cat summary.json)"
# Found via PATH too, where the tool learns its folder from the system, not from argv[0].
PATH="$prefix/$bindir:$PATH" kestrel-cli --game game picture crest 1 crest.png >picture.txt 2>&1 ||
    fail "picture through the installed Wren_Utils: $(cat picture.txt)"
grep -q '^wrote crest.png (' picture.txt || fail "picture: $(cat picture.txt)"

QT_QPA_PLATFORM=offscreen "$prefix/$bindir/kestrel" --check --game game --game-language 0 \
    >editor.txt 2>editor-errors.txt ||
    fail "editor: $(cat editor.txt editor-errors.txt)"
grep -qx "editor folder: $prefix/$datadir/" editor.txt || fail "editor folder: $(cat editor.txt)"
grep -q '^localisation: English_UK ([1-9][0-9]* texts)$' editor.txt || fail "$(cat editor.txt)"
grep -q '^database: .* ([1-9][0-9]* players' editor.txt || fail "database: $(cat editor.txt)"
grep -qx 'asset library: bound' editor.txt || fail "library: $(cat editor.txt)"
grep -qx 'Arts pictures: found' editor.txt || fail "Arts: $(cat editor.txt)"

# The Debian package: the same files under /usr, with the libraries the programs need.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >cpack.log 2>&1 ||
    fail "cpack: $(cat cpack.log)"
deb="$(ls "$scratch"/package/kestrel_*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins; do
    grep -q "$needed" <<<"$depends" || fail "package does not depend on $needed: $depends"
done
dpkg-deb -c "$deb" >contents.txt
for file in "./usr/$bindir/kestrel" "./usr/$bindir/kestrel-cli" "./usr/$libdir/libWren_Utils.so" \
    "./usr/$datadir/English_UK.qtx" ./usr/share/applications/kestrel.desktop; do
    grep -q " $file\$" contents.txt || fail "package lacks $file"
done
echo "installed into a scratch prefix and packaged; the tool and the editor ran from the prefix"
