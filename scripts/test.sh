#!/usr/bin/env bash
# Sets up the machine, builds and runs every test. With --sanitize, under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh "$@"
dir=build
[ "${1:-}" = "--sanitize" ] && dir=build-asan
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
