#!/usr/bin/env bash
# Runs the Win32 unit and system tests of one cross-build tree under Wine, in
# that tree's own prefix, with a private X display and one long-lived Wine
# session. A 32-bit tree runs through qemu's user-mode emulator where the
# kernel runs no 32-bit code (tests/wine/ia32-ns.sh).
# Usage: bash scripts/wine-ctest.sh BUILD_DIR [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: wine-ctest.sh BUILD_DIR [ctest arguments...]}" && pwd)
shift

. "$root/tests/wine/wine-env.sh"
# A 32-bit tree on a kernel that runs no 32-bit code: on through the emulator.
[ "$(prefix_arch "$build/wineprefix")" = win64 ] || ia32_namespace_enter "$0" "$build" "$@"
wine_env_setup "$build/wineprefix"
xvfb_start
# A tiny volume lets the copy run meet a full disk; without the rights to
# mount one, that test is skipped.
small_volume=$(mktemp -d)
if mount -t tmpfs -o size=256k tmpfs "$small_volume" 2>/dev/null; then
    export SETUP_TEST_SMALL_VOLUME="$small_volume"
fi
cleanup() {
    wine_session_stop
    xvfb_stop
    umount "$small_volume" 2>/dev/null || true
    rmdir "$small_volume" 2>/dev/null || true
}
trap cleanup EXIT
wine_session_start
ctest --test-dir "$build" --output-on-failure "$@"
