#!/usr/bin/env bash
# Sets up the machine, builds everything (scripts/build.sh --all: the program, the library, the tests,
# the benchmarks and the fuzz targets) and runs every test: the plain suite (build/), then the same
# suite built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/). One suite alone
# with --plain, --sanitize or --thread-sanitize (ThreadSanitizer, build-tsan/).
# The fuzz targets carry the sanitizers in every build, so they run with the plain suite only.
set -euo pipefail
cd "$(dirname "$0")/.."

suite() {  # [build.sh option] directory
  local option=${1:-} dir=$2
  scripts/build.sh --all ${option:+"$option"}
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
}

case "${1:-}" in
  "") scripts/setup.sh; suite "" build; suite --sanitize build-asan ;;
  --plain) scripts/setup.sh; suite "" build ;;
  --sanitize) scripts/setup.sh; suite --sanitize build-asan ;;
  --thread-sanitize) scripts/setup.sh; suite --thread-sanitize build-tsan ;;
  *) echo "usage: scripts/test.sh [--plain | --sanitize | --thread-sanitize]" >&2; exit 2 ;;
esac
