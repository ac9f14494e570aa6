#!/usr/bin/env bash
# The main job: builds everything, packages the bundled sample application
# with the package builder, and runs the installer on that package under Wine
# (and the uninstaller after it), with a private X display. Screenshots go to
# out/demo/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/out/demo"

"$root/scripts/install-prereqs.sh"
"$root/scripts/build.sh"

echo "== packaging the sample application"
rm -rf "$out"
mkdir -p "$out/input"
cp "$root/build/win32/sample/KestrelNotes.exe" "$root/sample/ReadMe.txt" "$out/input/"
cp "$root/res/setup.ico" "$out/input/AppIcon.ico"
"$root/build/native/tools/packsetup" --out "$out/package" \
    --app-exe KestrelNotes.exe --folder-name "Kestrel Notes" --post-install KestrelNotes.exe \
    --license "$root/sample/License.txt" --url "$root/sample/URL.txt" \
    --setup-exe "$root/build/win32/bin/Setup.exe" --zlib "$root/build/win32/bin/zlib1.dll" \
    "$out/input"
ls -l "$out/package"

. "$root/tests/wine/wine-env.sh"
wine_env_setup "$root/build/win32/wineprefix"
xvfb_start
trap 'wine_session_stop; xvfb_stop' EXIT
wine_session_start
package_win=$(winepath -w "$out/package")

run_setup() {
    # Runs Setup.exe from the package; a screenshot is taken while it runs.
    local shot=$1
    shift
    wine "$package_win\\Setup.exe" "$@" &
    local pid=$!
    sleep 4
    import -window root "$out/$shot.png" 2>/dev/null || true
    if kill -0 "$pid" 2>/dev/null; then
        echo "   (still running after 4 s: see $out/$shot.png; closing it)"
        wineserver -k 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
}

echo "== running the installer"
run_setup install
echo "   The installer read $package_win\\Setup.dat. Its wizard and the copy run it"
echo "   starts are not wired to the program yet; the package is left as built."

echo "== running the uninstaller"
run_setup uninstall /UNINSTALL
echo "   The uninstall hand-off is not built yet: it does nothing and reports so."
echo "Screenshots: $out/install.png $out/uninstall.png"
