#!/usr/bin/env bash
# Sets everything up, builds, writes the built-in sample game installation and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target kestrel-cli
build/bin/kestrel-cli --help
