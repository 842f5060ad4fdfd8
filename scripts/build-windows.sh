#!/usr/bin/env bash
# Cross-builds the Qt-free half for 64-bit Windows into build-windows/ (or the folder given
# first) with Debian's MinGW-w64: Wren_Utils.dll, kestrel-cli.exe and the core and asset-library
# tests, with GoogleTest built from Debian's source. Further arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build-windows}"
shift || true
packages=(
    cmake ninja-build ccache
    g++-mingw-w64-x86-64-posix mingw-w64-tools
    googletest libcli11-dev nlohmann-json3-dev  # sources and header-only libraries
    libz-mingw-w64-dev  # zlib for Windows: the PNG pictures of kestrel-cli.exe
    wine64 wine  # runs the tests the build made
)
bash scripts/install-packages.sh --no-install-recommends "${packages[@]}"
cmake -S . -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKESTREL_GUI=OFF -DKESTREL_BENCH=OFF -DKESTREL_TESTS=ON \
    -DKESTREL_GTEST_SOURCE=/usr/src/googletest \
    -DKESTREL_WERROR="${KESTREL_WERROR:-OFF}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
