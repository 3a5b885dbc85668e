#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses the installed copy: the program runs from there,
# the manual page formats without warnings, and a host project finds the library with find_package
# and builds and runs against it.
#   install_prefix.sh BUILD_DIR SCRATCH SOURCE_DIR LIBDIR VERSION [C++ FLAGS for the host]
set -euo pipefail
build=$1 scratch=$2 source=$3 libdir=$4 version=$5 host_flags=${6:-}
prefix=$scratch/prefix
rm -rf "$scratch"
mkdir -p "$scratch"
fail() { echo "install_prefix: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$scratch/install.log"

for f in bin/kzr40 "$libdir/libkzr40.so" include/kzr40/plugin/exports.h include/kzr40/platform/api.h \
         "$libdir/cmake/kzr40/kzr40Config.cmake" "$libdir/cmake/kzr40/kzr40ConfigVersion.cmake" \
         share/man/man1/kzr40.1 share/bash-completion/completions/kzr40 share/zsh/site-functions/_kzr40; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done

# The installed program is the one built: same version, same listing of the example.
[ "$("$prefix/bin/kzr40" --version)" = "kzr40 $version" ] || fail "kzr40 --version: $("$prefix/bin/kzr40" --version)"
export SOURCE_DATE_EPOCH=0
"$prefix/bin/kzr40" sql "$source/examples/vendas.json" > "$scratch/installed.sql"
"$build/kzr40" sql "$source/examples/vendas.json" > "$scratch/built.sql"
grep -q 'CREATE TABLE "CLIENTE.DB"' "$scratch/installed.sql" || fail "kzr40 sql wrote no CREATE TABLE"
cmp -s "$scratch/installed.sql" "$scratch/built.sql" || fail "the installed kzr40 sql differs from the built one"

# The manual page: troff warnings fail, and every command has its section.
warnings=$(groff -man -Tutf8 -ww -z "$prefix/share/man/man1/kzr40.1" 2>&1)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"
for command in sql generate draw dfm2txt; do
  grep -q "^\.SS \"kzr40 $command " "$prefix/share/man/man1/kzr40.1" || fail "the manual page has no section for $command"
done

# A host project against the installed copy only: the build tree is out of its reach.
cmake -S "$source/tests/install/host" -B "$scratch/host" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_FLAGS="$host_flags" -DCMAKE_EXE_LINKER_FLAGS="$host_flags" > "$scratch/host.log"
cmake --build "$scratch/host" >> "$scratch/host.log" || { cat "$scratch/host.log" >&2; fail "the host project did not build"; }
"$scratch/host/installed_host"
echo "install_prefix: installed into $prefix and used from there"
