#!/usr/bin/env bash
# Configures and builds KZR40 into build/, or with --sanitize into build-asan/ (AddressSanitizer and
# UndefinedBehaviorSanitizer), or with --thread-sanitize into build-tsan/ (ThreadSanitizer). The
# sanitizer builds leave out the benchmarks and the fuzz targets, which the plain build has (the fuzz
# targets with their own sanitizers).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
flags=()
lean=(-DKZR40_BUILD_BENCHMARKS=OFF -DKZR40_BUILD_FUZZ=OFF)
case "${1:-}" in
  --sanitize) dir=build-asan; flags=(-DKZR40_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug "${lean[@]}") ;;
  --thread-sanitize) dir=build-tsan; flags=(-DKZR40_SANITIZE_THREAD=ON -DCMAKE_BUILD_TYPE=Debug "${lean[@]}") ;;
  "") ;;
  *) echo "usage: scripts/build.sh [--sanitize | --thread-sanitize]" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
