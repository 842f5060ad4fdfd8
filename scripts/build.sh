#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given first), passing further arguments to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
