#!/usr/bin/env bash
# Configures and builds the trees: build/win32 (the shipped 32-bit Setup.exe,
# its Win32 tests, the benchmark), build/native (the portable core's tests,
# fuzzers and the package builder) and, on a host that cannot run 32-bit code
# at all (neither its kernel nor an emulator that install-prereqs.sh
# installs), build/win64: the same Windows sources built for 64-bit, whose
# tests Wine can run there. Prints nothing but errors.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# A warning fails a CI build; a developer's own build only shows it.
if [ -n "${CI:-}" ]; then export SETUP_WERROR=ON; else export SETUP_WERROR=OFF; fi
. "$root/tests/wine/wine-env.sh"
. "$root/scripts/windows-tree.sh"

build_windows() { # $1: tree name, $2: toolchain, $3...: targets (none: all)
    local tree="$root/build/$1" toolchain="$2"
    shift 2
    build_windows_tree "$root" "$tree" "$toolchain" "$@"
}

if [ "$(windows_flavour)" = win32 ]; then
    build_windows win32 mingw-i686.cmake
else
    # Only the program that ships is built 32-bit; everything else runs 64-bit.
    build_windows win32 mingw-i686.cmake Setup
    build_windows win64 mingw-x86_64.cmake
fi

cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSETUP_FUZZ=ON \
    "-DSETUP_WARNINGS_AS_ERRORS=$SETUP_WERROR" >/dev/null
cmake --build "$root/build/native" -j "$jobs"
