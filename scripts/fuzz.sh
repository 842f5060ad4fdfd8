#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short while on a seed corpus that
# its seed generator writes (fuzz_X is seeded by seeds_X).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
bash scripts/setup.sh
CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DKESTREL_FUZZ=ON -DKESTREL_GUI=OFF \
    -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTREL_WERROR="${KESTREL_WERROR:-OFF}"
shopt -s nullglob
for fuzzer in build-fuzz/bin/fuzz_*; do
    name="${fuzzer##*/fuzz_}"
    corpus="build-fuzz/corpus/$name"
    rm -rf "$corpus" && mkdir -p "$corpus"
    [ -x "build-fuzz/bin/seeds_$name" ] && "build-fuzz/bin/seeds_$name" "$corpus"
    echo "fuzzing $name for ${seconds}s on $(ls "$corpus" | wc -l) seeds"
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "$corpus" 2> "build-fuzz/$name.log" || { tail -n 60 "build-fuzz/$name.log"; exit 1; }
    tail -n 3 "build-fuzz/$name.log"
done
