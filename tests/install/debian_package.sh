#!/usr/bin/env bash
# Makes the Debian package as a packager would (cpack -G DEB) and reads it back: its dependencies
# are the Debian libraries the binaries link, it holds the program, the library, the headers, the
# CMake package, the page and the completions under /usr, and the program unpacked from it runs.
#   debian_package.sh BUILD_DIR SCRATCH VERSION
set -euo pipefail
build=$1 scratch=$2 version=$3
rm -rf "$scratch"
mkdir -p "$scratch"
fail() { echo "debian_package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch" > "$scratch/cpack.log") || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$scratch"/kzr40_"$version"_*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
for library in libgtk-3-0 libcairo2 libgvc6 libsimdjson libfontconfig1 libstdc++6; do
  [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

contents=$(dpkg-deb -c "$deb")
for f in usr/bin/kzr40 usr/lib/libkzr40.so usr/include/kzr40/plugin/exports.h usr/lib/cmake/kzr40/kzr40Config.cmake \
         usr/share/man/man1/kzr40.1 usr/share/bash-completion/completions/kzr40 usr/share/zsh/site-functions/_kzr40; do
  [[ $contents == *" ./$f"* ]] || fail "the package lacks /$f"
done

dpkg-deb -x "$deb" "$scratch/root"
[ "$("$scratch/root/usr/bin/kzr40" --version)" = "kzr40 $version" ] || fail "the packaged kzr40 --version is wrong"
echo "debian_package: $(basename "$deb") depends on $depends"
