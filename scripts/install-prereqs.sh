#!/usr/bin/env bash
# Installs everything the build, the tests, the demo and the benchmark (nsis,
# for its peer installers) need on Debian 12.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    cmake make g++ clang libclang-rt-14-dev clang-format zlib1g-dev googletest libgtest-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
    wine wine32:i386 wine64 xvfb x11-utils imagemagick python3 nsis
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    missing=("${packages[@]}")
else
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
fi

if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
