#!/usr/bin/env bash
# Installs the Debian packages named (skips what is there), as root or through sudo. A first
# argument --no-install-recommends is passed to apt-get.
set -euo pipefail
options=()
if [ "${1:-}" = "--no-install-recommends" ]; then
    options+=("$1")
    shift
fi
missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${options[@]}" \
        "${missing[@]}" >/dev/null
fi
