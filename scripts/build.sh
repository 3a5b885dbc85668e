#!/usr/bin/env bash
# Configures and builds KZR40 into build/: the program (build/kzr40) and the plug-in library
# (build/libkzr40.so) with its manual page and completions, what the quick start runs. With --all also
# the tests, the benchmarks and the fuzz targets, which scripts/test.sh builds and runs.
# --sanitize builds into build-asan/ (AddressSanitizer and UndefinedBehaviorSanitizer),
# --thread-sanitize into build-tsan/ (ThreadSanitizer); those never have the benchmarks and the fuzz
# targets (the fuzz targets carry their own sanitizers), and have the tests with --all.
# Every run sets each option, so one directory follows the last run's choice.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { echo "usage: scripts/build.sh [--all] [--sanitize | --thread-sanitize]" >&2; exit 2; }
dir=build all=OFF flags=()
while (($#)); do
  case $1 in
    --all) all=ON ;;
    --sanitize) [ "$dir" = build ] || usage; dir=build-asan; flags=(-DKZR40_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
    --thread-sanitize) [ "$dir" = build ] || usage; dir=build-tsan; flags=(-DKZR40_SANITIZE_THREAD=ON -DCMAKE_BUILD_TYPE=Debug) ;;
    *) usage ;;
  esac
  shift
done
extras=$all
[ "$dir" = build ] || extras=OFF
flags+=(-DKZR40_BUILD_TESTS=$all -DKZR40_BUILD_BENCHMARKS=$extras -DKZR40_BUILD_FUZZ=$extras)
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
