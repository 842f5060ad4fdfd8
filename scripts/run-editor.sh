#!/usr/bin/env bash
# Sets everything up, builds the editor, writes the built-in sample game installation into
# build/sample (once, again only when the generator was rebuilt) and opens it in the editor.
# Further arguments go to the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
jobs="$(nproc)"
cmake --build build -j "$jobs" --target kestrel-cli

sample=build/sample
stamp="$sample/.made-by-kestrel-cli"
sample_pid=""
if [ ! -f "$stamp" ] || [ build/bin/kestrel-cli -nt "$stamp" ]; then
    # Written while the rest builds.
    rm -rf "$sample.new"
    (build/bin/kestrel-cli make-sample "$sample.new" && touch "$sample.new/$(basename "$stamp")") &
    sample_pid=$!
fi

# The editor's target brings the asset library and the localisation files along.
cmake --build build -j "$jobs" --target kestrel

if [ -n "$sample_pid" ]; then
    wait "$sample_pid"
    rm -rf "$sample"
    mv "$sample.new" "$sample"
fi
exec build/bin/kestrel --game "$sample" "$@"
