#!/usr/bin/env bash
# InstallTest.sh BUILD_DIR BINDIR LIBDIR DATADIR MANDIR VERSION BUILD_TYPE APPSTREAM_ID:
# installs the build into a scratch prefix and uses the installed programs as a user would,
# far from the build tree: the tool writes the sample game and reads it, loads the asset
# library for a picture, and the editor starts on the sample (offscreen, --check) finding its
# texts, pictures and library. Then the desktop and software-centre entries, the manual pages
# and the bash completion are checked against the programs, and the Debian package against
# Debian's rules (lintian, when installed).
set -euo pipefail
build="$1" bindir="$2" libdir="$3" datadir="$4" mandir="$5" version="$6" build_type="$7"
appstream_id="$8"
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
    share/icons/hicolor/256x256/apps/kestrel.png "$mandir/man1/kestrel-cli.1.gz" \
    "$mandir/man1/kestrel.1.gz" "share/metainfo/$appstream_id.metainfo.xml" \
    share/bash-completion/completions/kestrel-cli share/doc/kestrel/copyright \
    share/doc/kestrel/changelog.gz; do
    [ -s "$prefix/$file" ] || fail "$file is not installed"
done
# Nothing of the build or its tests comes along.
[ ! -e "$prefix/$bindir/kestrel-arts" ] || fail "a build tool was installed"
! ls "$prefix/$bindir" | grep -q test || fail "tests were installed"
grep -q '^Exec=kestrel$' "$prefix/share/applications/kestrel.desktop" || fail "desktop entry"
grep -q '^Icon=kestrel$' "$prefix/share/applications/kestrel.desktop" || fail "desktop icon"

cd "$scratch"
cli="$prefix/$bindir/kestrel-cli"
editor="$prefix/$bindir/kestrel"

# The desktop and software-centre entries pass the tools that desktops and stores run.
desktop-file-validate "$prefix/share/applications/kestrel.desktop" >desktop.txt 2>&1 ||
    fail "desktop-file-validate: $(cat desktop.txt)"
# (The made-up domain of the id and homepage is only worth an "I:" remark.)
appstreamcli validate --no-net "$prefix/share/metainfo/$appstream_id.metainfo.xml" \
    >appstream.txt 2>&1 || fail "appstreamcli validate: $(cat appstream.txt)"
! grep -q '^[EW]:' appstream.txt || fail "appstreamcli validate: $(cat appstream.txt)"
cat appstream.txt
grep -q '<launchable type="desktop-id">kestrel.desktop</launchable>' \
    "$prefix/share/metainfo/$appstream_id.metainfo.xml" || fail "metainfo names no desktop entry"
grep -q '<screenshot type="default">' "$prefix/share/metainfo/$appstream_id.metainfo.xml" ||
    fail "metainfo has no screenshot"

# One version: the project's, in both programs, the manual pages, the metainfo, the changelog.
[ "$(QT_QPA_PLATFORM= DISPLAY= "$editor" --version)" = "Kestrel $version" ] ||
    fail "kestrel --version: $(QT_QPA_PLATFORM= DISPLAY= "$editor" --version 2>&1)"
for page in kestrel kestrel-cli; do
    zcat "$prefix/$mandir/man1/$page.1.gz" >"$page.1"
    grep -q "^\.TH .* \"Kestrel $version\" \"User Commands\"" "$page.1" ||
        fail "$page.1 header: $(head -1 "$page.1")"
    grep -q '^\.SH "EXIT STATUS"' "$page.1" || fail "$page.1 has no EXIT STATUS"
    grep -q '^\.SH "SEE ALSO"' "$page.1" || fail "$page.1 has no SEE ALSO"
    # Formatted for an 80-column terminal, nothing sticks out and groff has nothing to say.
    if command -v man >/dev/null; then
        MANWIDTH=80 man --warnings -E UTF-8 -l "$page.1" >"$page.txt" 2>"$page.warnings"
        [ ! -s "$page.warnings" ] || fail "man $page: $(cat "$page.warnings")"
        ! awk 'length > 80' "$page.txt" | grep -q . ||
            fail "man $page is wider than 80 columns: $(awk 'length > 80' "$page.txt")"
    fi
done
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$appstream_id.metainfo.xml" ||
    fail "metainfo release is not $version"
grep -q "^kestrel ($version) " <<<"$(zcat "$prefix/share/doc/kestrel/changelog.gz")" ||
    fail "changelog does not start with $version"

# The editor's manual page names every option the editor has.
"$editor" --help >editor-help.txt
# (--help-all is Qt's own, for its options.)
for option in $(grep -o -- '--[a-z][a-z-]*' editor-help.txt | grep -vx -- --help-all | sort -u); do
    grep -qF -- "\\fB${option//-/\\-}\\fR" kestrel.1 || fail "kestrel.1 lacks $option"
done
# kestrel-cli's page has every command of the tool's help with each of its options.
"$cli" --help >cli-help.txt
commands="$(sed -n '/^Commands:/,/^[^ ]/p' cli-help.txt | grep -E '^  [a-z]' | awk '{print $1}')"
[ "$(wc -w <<<"$commands")" -ge 20 ] || fail "too few commands in the help: $commands"
for command in $commands; do
    grep -qF -- "\\fB${command//-/\\-}\\fR" kestrel-cli.1 || fail "kestrel-cli.1 lacks $command"
    for option in $("$cli" "$command" --help | grep -E '^  -' | awk '{print $1}'); do
        [ "$option" = --help ] || grep -qF -- "\\fB${option//-/\\-}\\fR" kestrel-cli.1 ||
            fail "kestrel-cli.1 lacks $command $option"
    done
done

# Bash completion: commands, their options, the kinds of record and folders for --game.
completions() {
    # shellcheck disable=SC1090
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kestrel_cli
        printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' \
        complete "$prefix/share/bash-completion/completions/kestrel-cli" kestrel-cli "$@"
}
mkdir -p game-two
all="$(completions "")"
for command in $commands; do
    grep -qw -- "$command" <<<"$all" || fail "completion lacks $command: $all"
done
[ "$(completions --game game-t)" = "game-two " ] || fail "--game: $(completions --game game-t)"
[ "$(completions --game game set "")" = "league player team " ] ||
    fail "set: $(completions --game game set "")"
[ "$(completions export t)" = "teams " ] || fail "export: $(completions export t)"
[ "$(completions squad m)" = "move " ] || fail "squad: $(completions squad m)"
grep -qw -- --dry-run <<<"$(completions bulk --)" || fail "bulk: $(completions bulk --)"
grep -qw -- --keep <<<"$(completions bulk --)" || fail "bulk global: $(completions bulk --)"
# restore's --texts is a flag, the global --texts takes a file.
[ "$(completions restore --texts --or)" = "--original " ] ||
    fail "restore --texts: $(completions restore --texts --or)"

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
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section $(dpkg-deb -f "$deb" Section)"
! grep -q ';' <<<"$(dpkg-deb -f "$deb" Description)" || fail "description: $(dpkg-deb -f "$deb" Description)"
grep -q fonts-noto-cjk <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "no CJK font recommended"
# Wren_Utils is private: no shlibs, no ldconfig calls.
dpkg-deb -e "$deb" control
! grep -rqs ldconfig control/ || fail "ldconfig in the maintainer scripts: $(ls control)"
[ ! -e control/shlibs ] || fail "shlibs for a private library"
dpkg-deb -x "$deb" root
for program in "root/usr/$bindir/kestrel" "root/usr/$bindir/kestrel-cli" \
    "root/usr/$libdir/libWren_Utils.so"; do
    # (Here-strings, not pipes: grep -q ending early would fail the pipe under pipefail.)
    grep -q ', stripped' <<<"$(file "$program")" || fail "not stripped: $(file "$program")"
    if [[ "$build_type" =~ ^(Release|RelWithDebInfo|MinSizeRel)$ ]]; then
        grep -q 'BIND_NOW\|FLAGS.*NOW' <<<"$(readelf -d "$program")" || fail "$program: no -z now"
        grep -q GNU_RELRO <<<"$(readelf -lW "$program")" || fail "$program: no relro"
    fi
done
if [[ "$build_type" =~ ^(Release|RelWithDebInfo|MinSizeRel)$ ]]; then
    grep -q '__[a-z]*_chk' <<<"$(readelf --dyn-syms -W "root/usr/$bindir/kestrel-cli")" ||
        fail "kestrel-cli was built without _FORTIFY_SOURCE"
fi
if command -v lintian >/dev/null; then
    # Errors fail the test; the rest is shown.
    lintian --fail-on error --tag-display-limit 0 "$deb" >lintian.txt 2>&1 ||
        fail "lintian: $(cat lintian.txt)"
    echo "lintian: $(grep -c '^[EWIP]:' lintian.txt || true) tags"
    cat lintian.txt
else
    echo "lintian is not installed: the package's Debian rules were not checked"
fi
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins; do
    grep -q "$needed" <<<"$depends" || fail "package does not depend on $needed: $depends"
done
dpkg-deb -c "$deb" >contents.txt
for file in "./usr/$bindir/kestrel" "./usr/$bindir/kestrel-cli" "./usr/$libdir/libWren_Utils.so" \
    "./usr/$datadir/English_UK.qtx" ./usr/share/applications/kestrel.desktop \
    "./usr/share/metainfo/$appstream_id.metainfo.xml" ./usr/share/doc/kestrel/copyright \
    ./usr/share/bash-completion/completions/kestrel-cli "./usr/$mandir/man1/kestrel.1.gz"; do
    grep -q " $file\$" contents.txt || fail "package lacks $file"
done
echo "installed into a scratch prefix and packaged; the tool and the editor ran from the prefix"
