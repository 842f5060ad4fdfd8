#!/usr/bin/env bash
# Builds and runs every test under AddressSanitizer and UndefinedBehaviorSanitizer, with the
# DXT encoder's portable lanes (the Release run tests the compiler vector types).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build-asan -DKESTREL_SANITIZE=ON -DKESTREL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DKESTREL_PORTABLE_LANES=ON -DKESTREL_WERROR="${KESTREL_WERROR:-OFF}"
# Qt and fontconfig keep caches until exit; leaks there are not ours.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
