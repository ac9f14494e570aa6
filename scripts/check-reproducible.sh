#!/usr/bin/env bash
# Shows that the shipped program comes from these sources: clones the committed
# HEAD twice, into two temporary folders whose paths differ (in name and in
# length), builds only the shipped program in each (the Setup target and what
# it needs, configured as scripts/build.sh configures build/win32) and compares
# Setup.exe, its Setup.exe.debug and the zlib1.dll beside them byte for byte.
# Prints the SHA-256 of each file; exits non-zero when any differs.
# Uncommitted changes are not built: commit first.
# Takes a minute or more (two builds from scratch); not part of scripts/test.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse HEAD)
work=$(mktemp -d "${TMPDIR:-/tmp}/repro.XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$SECONDS

# $1: folder to clone into. Builds in the clone's own build/win32, as a
# publisher would after cloning.
build_clone() {
    local clone="$1"
    git clone -q --no-checkout "$root" "$clone"
    git -C "$clone" checkout -q --detach "$commit"
    (
        . "$clone/scripts/windows-tree.sh"
        build_windows_tree "$clone" "$clone/build/win32" mingw-i686.cmake Setup >/dev/null
    )
}

first="$work/a"
second="$work/second-clone-in-a-longer-path"
echo "Building $commit in $first"
build_clone "$first"
echo "Building $commit in $second"
build_clone "$second"

status=0
for file in Setup.exe Setup.exe.debug zlib1.dll; do
    a="$first/build/win32/bin/$file" b="$second/build/win32/bin/$file"
    sum_a=$(sha256sum "$a" | cut -d' ' -f1)
    sum_b=$(sha256sum "$b" | cut -d' ' -f1)
    if [ "$sum_a" = "$sum_b" ]; then
        echo "same       $sum_a  $file"
    else
        echo "DIFFERENT  $sum_a  $file (first)"
        echo "           $sum_b  $file (second)"
        # Where they differ, to start looking from.
        cmp -l "$a" "$b" | head -n 20 || true
        if command -v diffoscope >/dev/null; then
            diffoscope --text - "$a" "$b" | head -n 80 || true
        fi
        status=1
    fi
done
echo "Took $((SECONDS - started)) s"
exit $status
