#!/usr/bin/env bash
# The main job: installs what is missing, builds, packages the bundled sample
# application (Kestrel Notes) with the package builder, and runs the package's
# installer and then its uninstaller under Wine, driven as a user would by
# tools/demo's demo_driver; then installs a second copy of the package
# silently (/S) into another directory and removes it through its
# QuietUninstallString, printing the exit codes, the logs' last lines and what
# is left. The windows show in a window of their own when DISPLAY names a
# reachable X display, else on a private Xvfb display. The package, the
# driver's log and a PNG of every page and box it answered go to out/demo/.
#
# DEMO_WINDOWS_BUILD and DEMO_NATIVE_BUILD name other build trees to use
# (configured when new, and built here, DEMO_JOBS jobs at a time); without
# them scripts/build.sh builds the usual trees. DEMO_NOTES_VERSION=2.0.0.0
# (with DEMO_WINDOWS_BUILD) builds the sample as that version, and the package
# states it: a second version, to install over the first.
#
# DEMO_DPI=144 (or another number of dots per inch) shows the windows at that
# display scale (144: 150 %), in a Wine prefix of its own beside the tree's,
# so that the tests' prefix keeps the usual 96.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/out/demo"
. "$root/tests/wine/wine-env.sh"

# The Windows tree whose programs this host can run: the shipped 32-bit build
# wherever it runs, natively or emulated. Its Wine prefix lies in it and takes
# its architecture from its toolchain.
windows_tree=$(realpath -m "${DEMO_WINDOWS_BUILD:-$root/build/$(windows_flavour)}")
native_tree=$(realpath -m "${DEMO_NATIVE_BUILD:-$root/build/native}")

build_tree() { # $1: tree, $2...: cmake configure options (when new) -- targets
    local tree=$1 options=()
    shift
    while [ "$1" != -- ]; do
        options+=("$1")
        shift
    done
    shift
    [ -f "$tree/CMakeCache.txt" ] || cmake -S "$root" -B "$tree" "${options[@]}" >/dev/null
    cmake --build "$tree" -j "${DEMO_JOBS:-$(nproc)}" --target "$@" >/dev/null
}

build() {
    if [ -z "${DEMO_WINDOWS_BUILD:-}${DEMO_NATIVE_BUILD:-}" ]; then
        "$root/scripts/build.sh"
        return
    fi
    local toolchain=mingw-i686.cmake
    [ "$(windows_flavour)" = win64 ] && toolchain=mingw-x86_64.cmake
    local version=()
    if [ -n "${DEMO_NOTES_VERSION:-}" ]; then
        version=("-DKESTREL_NOTES_VERSION=$DEMO_NOTES_VERSION")
        [ -f "$windows_tree/CMakeCache.txt" ] && cmake "${version[@]}" "$windows_tree" >/dev/null
    fi
    build_tree "$windows_tree" -DCMAKE_BUILD_TYPE=Release "${version[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -- Setup KestrelNotes demo_driver
    build_tree "$native_tree" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -- packsetup
}

package_sample() {
    echo "== packaging the sample application"
    rm -rf "$out"
    mkdir -p "$out/input" "$out/shots"
    cp "$windows_tree/sample/KestrelNotes.exe" "$root/sample/AppIcon.ico" \
        "$root/sample/ReadMe.txt" "$out/input/"
    # The package states the version the sample was built as
    # (-DKESTREL_NOTES_VERSION in the Windows tree), for the uninstall entry.
    local version
    version=$(sed -n 's/^KESTREL_NOTES_VERSION:[A-Z]*=//p' "$windows_tree/CMakeCache.txt")
    # Setup.exe and zlib1.dll are packaged too: the installer installs itself
    # as the uninstaller.
    "$native_tree/tools/packsetup" \
        --out "$out/package" --app-exe KestrelNotes.exe --folder-name "Kestrel Notes" \
        --post-install KestrelNotes.exe \
        --version "${version:-1.0.0.0}" --publisher "Kestrel Software" \
        --license "$root/sample/License.txt" --url "$root/sample/URL.txt" \
        --setup-exe "$windows_tree/bin/Setup.exe" --zlib "$windows_tree/bin/zlib1.dll" \
        "$out/input"
    # A second copy for the unattended round: the first installation clears
    # its package out of the setup directory.
    cp -r "$out/package" "$out/package-silent"
    # A second version to install over it: its minor version one up, the
    # read-me dropped, a note on what is new added.
    mkdir -p "$out/input-v2"
    cp "$out/input/KestrelNotes.exe" "$out/input/AppIcon.ico" "$out/input-v2/"
    printf 'New in this version: nothing but the version number.\r\n' >"$out/input-v2/WhatsNew.txt"
    local next
    next=$(echo "${version:-1.0.0.0}" | awk -F. '{ printf "%d.%d.%d.%d", $1, $2 + 1, $3, $4 }')
    "$native_tree/tools/packsetup" --quiet \
        --out "$out/package-v2" --app-exe KestrelNotes.exe --folder-name "Kestrel Notes" \
        --post-install KestrelNotes.exe --version "$next" --publisher "Kestrel Software" \
        --license "$root/sample/License.txt" --url "$root/sample/URL.txt" \
        --setup-exe "$windows_tree/bin/Setup.exe" --zlib "$windows_tree/bin/zlib1.dll" \
        "$out/input-v2"
    echo "   $out/package: Kestrel Notes ${version:-1.0.0.0} by Kestrel Software, sizes as stored (packaged files compressed):"
    ls -l "$out/package" | tail -n +2 | awk '{ printf "   %8d  %s\n", $5, $9 }'
    echo "   Setup.exe is $(describe_windows_build "$(prefix_arch "$windows_tree/wineprefix")")"
}

# The Windows path Wine gives a Linux path: its drive Z: is the Linux root.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}

display_reachable() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

stop_wine() {
    wine_session_stop
    xvfb_stop || true
}

# Starts the Wine session, which stands for a restart of the Windows machine:
# files that earlier runs scheduled for deletion at restart (the installer
# schedules its own setup directory) are deleted now, before the package is
# written again.
start_wine() {
    if [ -n "${DEMO_DPI:-}" ]; then
        wine_env_setup "$windows_tree/wineprefix-dpi$DEMO_DPI"
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DEMO_DPI" /f \
            </dev/null >/dev/null 2>&1
        wineserver -w
        echo "== at $DEMO_DPI dots per inch ($((DEMO_DPI * 100 / 96)) %), prefix $WINEPREFIX"
    else
        wine_env_setup "$windows_tree/wineprefix"
    fi
    # The sample's shortcuts get no menu entries or desktop files on the Linux side.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    if display_reachable; then
        echo "== running on display $DISPLAY"
    else
        xvfb_start
        echo "== running on a private Xvfb display $DISPLAY"
    fi
    trap stop_wine EXIT
    wine_session_start
}

run_driver() {
    # Wine programs write to a file, never a pipe: the Windows services they
    # may start would inherit the pipe and hold it open.
    local log="$out/driver.log" status=0
    : >"$log" # there for tail before the driver writes to it
    (cd "$out" && wine "$windows_tree/bin/demo_driver.exe" "$(windows_path "$out/package")" \
        "$(windows_path "$out/shots")" "$(windows_path "$out/package-silent")" \
        "$(windows_path "$out/package-v2")" </dev/null >"$log" 2>&1) &
    local driver=$!
    tail --pid="$driver" -n +1 -f "$log"
    wait "$driver" || status=$?
    return "$status"
}

convert_screenshots() {
    local bmp
    for bmp in "$out"/shots/*.bmp; do
        [ -e "$bmp" ] || continue
        convert "$bmp" "$out/$(basename "${bmp%.bmp}").png"
    done
    rm -rf "$out/shots"
    echo "== screenshots in $out:"
    (cd "$out" && ls ./*.png 2>/dev/null | sed 's|^\./|   |') || echo "   none"
}

# Installing and building happen outside the emulator's namespace (apt needs
# the machine's own users); inside it, where this script then runs again from
# the start, they are done already.
if [ -z "${IA32_EMULATED:-}" ]; then
    "$root/scripts/install-prereqs.sh"
    build
fi
if [ "$(prefix_arch "$windows_tree/wineprefix")" = win32 ]; then
    ia32_namespace_enter "$0" "$@"
fi
start_wine
package_sample
status=0
run_driver || status=$?
convert_screenshots
if [ "$status" -ne 0 ]; then
    echo "The demo did not run as expected (demo_driver exit status $status): see above." >&2
fi
exit "$status"
