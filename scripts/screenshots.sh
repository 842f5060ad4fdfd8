#!/usr/bin/env bash
# Builds the screenshot tour and takes the README's pictures from the editor: English into
# docs/, French into docs/fr/. The sample installation is written into a home folder of the
# tour's own: /home/alex on a private /home when the system lets us mount one (so the pictures
# show a user's paths), otherwise a temporary folder. The user's own home is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KESTREL_BUILD_DIR:-build}"

if [ "${KESTREL_TOUR_HOME:-}" = "" ]; then
    cmake -S . -B "$build" -G Ninja -DKESTREL_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(nproc)" --target kestrel-doc-screenshots
    # /mnt keeps the checkout reachable once the private /home hides it (it may lie in /home).
    if [ -d /mnt ] && unshare --user --map-root-user --mount true 2>/dev/null; then
        exec unshare --user --map-root-user --mount bash -c '
            set -e
            mount --bind "$1" /mnt
            mount -t tmpfs tmpfs /home
            mkdir -p /home/alex
            cd /mnt
            KESTREL_TOUR_HOME=/home/alex exec bash scripts/screenshots.sh' bash "$PWD"
    fi
    echo "screenshots.sh: no private /home; the pictures show a temporary folder's paths" >&2
    tmp="$(mktemp -d)"
    trap 'rm -rf "$tmp"' EXIT
    mkdir -p "$tmp/alex"
    KESTREL_TOUR_HOME="$tmp/alex" bash scripts/screenshots.sh
    exit
fi

export HOME="$KESTREL_TOUR_HOME"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
export QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 QT_SCALE_FACTOR=1 QT_ENABLE_HIGHDPI_SCALING=0
export LANG=C.UTF-8 LC_ALL=C.UTF-8
mkdir -p docs/fr
KESTREL_DOC_LANGUAGE=English_UK KESTREL_DOC_PICTURES="$PWD/docs" \
    "$build/bin/kestrel-doc-screenshots" -silent
KESTREL_DOC_LANGUAGE=French KESTREL_DOC_PICTURES="$PWD/docs/fr" \
    "$build/bin/kestrel-doc-screenshots" -silent

# A third of the size: 256 colours without dithering keep the texts sharp; no metadata.
if command -v convert >/dev/null; then
    for picture in docs/*.png docs/fr/*.png; do
        convert "$picture" +dither -colors 256 -strip -define png:compression-level=9 \
            "PNG8:$picture"
    done
fi
