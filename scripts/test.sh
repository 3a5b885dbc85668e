#!/usr/bin/env bash
# Sets up the machine, builds and runs every test. With --sanitize under ASan and UBSan, with
# --thread-sanitize under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh "$@"
dir=build
case "${1:-}" in
  --sanitize) dir=build-asan ;;
  --thread-sanitize) dir=build-tsan ;;
esac
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
