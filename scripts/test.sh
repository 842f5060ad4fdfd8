#!/usr/bin/env bash
# Sets everything up, builds and runs every test. A release build, as users build it; with
# KESTREL_WERROR=ON (as CI sets it) every compiler warning stops the build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/check-includes.sh
bash scripts/setup.sh
bash scripts/build.sh build -DKESTREL_TESTS=ON -DKESTREL_BENCH=ON -DCMAKE_BUILD_TYPE=Release \
    -DKESTREL_WERROR="${KESTREL_WERROR:-OFF}"
ctest --test-dir build --output-on-failure -j "$(nproc)"
