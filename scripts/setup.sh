#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the editor need (skips what is there).
set -euo pipefail
packages=(
    build-essential cmake ninja-build clang libclang-rt-14-dev dpkg-dev file
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev qt6-translations-l10n
    libcli11-dev nlohmann-json3-dev  # the CLI's arguments and JSON
    libgtest-dev libgmock-dev libbenchmark-dev
    libsquish-dev  # only the DXT encoder benchmark's peer; nothing else links it
    libssl-dev nlohmann-json3-dev  # SHA-256 of backups, JSON
    zlib1g-dev  # the PNG codec of the command-line tool
    xvfb xauth imagemagick fonts-dejavu-core ccache
    desktop-file-utils appstream  # the install test checks the desktop and metainfo files
    fonts-nanum fonts-droid-fallback  # Korean, Japanese and Chinese names
)
bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
