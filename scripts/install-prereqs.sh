#!/usr/bin/env bash
# Installs everything the build, the tests, the demo and the benchmark (nsis,
# for its peer installers) need on Debian 12.
# Safe to run again: it installs only what is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake make g++ clang libclang-rt-14-dev clang-format zlib1g-dev googletest libgtest-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
    wine wine32:i386 wine64 xvfb x11-utils imagemagick python3 nsis libdeflate-dev
)

export DEBIAN_FRONTEND=noninteractive
# Others may be running apt on this machine too: wait for their lock.
apt_get() {
    apt-get -o DPkg::Lock::Timeout=900 "$@"
}

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
    apt_get update -q
    apt_get install -y -q "${missing[@]}"
fi

# A kernel that runs no 32-bit code runs Wine's 32-bit loader, and so the
# shipped 32-bit programs, through qemu's user-mode emulator (see
# tests/wine/ia32-ns.sh). Debian 12's own qemu-user (7.2) cannot: Wine then
# fails to map its shared user data. The one from bookworm-backports (10.x)
# can. Asked only now, as the test needs the 32-bit loader installed above.
. "$root/tests/wine/wine-env.sh"
if ! host_runs_32bit && ! emulator_is_recent; then
    backports=/etc/apt/sources.list.d/kestrel-bookworm-backports.sources
    if [ ! -f "$backports" ]; then
        # A file of its own, from the same mirror and with the same keyring as
        # the Debian source already configured; existing sources stay as they are.
        uri=http://deb.debian.org/debian
        keyring=/usr/share/keyrings/debian-archive-keyring.gpg
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources)
            keyring=$(awk '/^Signed-By:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources)
        fi
        cat >"$backports" <<EOF
Types: deb
URIs: $uri
Suites: bookworm-backports
Components: main
Signed-By: $keyring
EOF
    fi
    apt_get update -q
    # Without its recommended qemu-user-binfmt, which would have the machine
    # hand foreign programs to qemu at every boot: the handler here lives only
    # in the tests' own namespace.
    apt_get install -y -q --no-install-recommends -t bookworm-backports qemu-user
fi
