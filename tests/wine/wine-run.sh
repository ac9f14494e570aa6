#!/usr/bin/env bash
# Runs one Windows program under Wine: the emulator CTest uses for the Win32
# tests. WINEPREFIX names the build tree's prefix; without a DISPLAY a private
# Xvfb is started for this one run. Run outside the emulator's namespace on a
# host that needs it (ctest started by hand), it enters one for this one run.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
[ "$(prefix_arch "${WINEPREFIX:-}")" = win64 ] || ia32_namespace_enter "$0" "$@"
wine_env_setup "${WINEPREFIX:?WINEPREFIX must name the build tree\'s prefix}"
if [ -z "${DISPLAY:-}" ]; then
    xvfb_start || exit 1
    trap xvfb_stop EXIT
fi
wine "$@"
