# Shared by the scripts that run Windows programs: Wine settings, a prefix
# booted once, and a private X display. Source it; it defines functions only.

# Whether this host's kernel executes 32-bit x86 code: Wine's 32-bit loader
# needs it. Some kernels ship with that emulation switched off.
host_runs_32bit() {
    [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# The Windows build whose programs this host can run under Wine: win32 (the
# shipped 32-bit build) or win64 (the same sources, for hosts without 32-bit).
windows_flavour() {
    if host_runs_32bit; then echo win32; else echo win64; fi
}

# Runs Wine with the loader of the prefix's architecture. Debian's `wine`
# always prefers the 32-bit loader when it is installed.
wine() {
    if [ "${WINEARCH:-win32}" = win64 ]; then
        WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 "$@"
    else
        command wine "$@"
    fi
}

wine_env_setup() {
    # $1: the Wine prefix to use (created and booted on first use); its
    # architecture follows the build tree it lies in: 64-bit for a tree
    # configured with the x86_64 toolchain, or one named win64.
    local arch=win32 cache
    cache="$(dirname "$1")/CMakeCache.txt"
    case "$1" in */win64/*) arch=win64 ;; esac
    if [ -f "$cache" ] && grep -q 'mingw-x86_64.cmake' "$cache"; then arch=win64; fi
    export WINEPREFIX="$1" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
    # Wine's ANSI code page is then 1252, and its Unix file names UTF-8, so
    # that an ANSI name beyond ASCII finds the file of the same Unicode name
    # (under the C locale Wine cannot name such files at all). C.UTF-8 is part
    # of Debian's libc; no locale needs generating.
    export LC_ALL=C.UTF-8
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.booted-4" ]; then
            rm -rf "$WINEPREFIX"
            wine wineboot -i </dev/null >/dev/null 2>&1
            # Xvfb has no window manager; Wine would wait for one each time
            # it hides a managed window (every answered message box).
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                </dev/null >/dev/null 2>&1
            # No Unix menu entries and icons for the links the programs make.
            wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f \
                </dev/null >/dev/null 2>&1
            wineserver -w
            # The profile's Desktop, Documents, Templates and the like are
            # links to the Unix home: make them the prefix's own, so that what
            # the programs under test put there stays inside the prefix.
            find "$WINEPREFIX/drive_c/users" -type l | while read -r link; do
                rm "$link" && mkdir "$link"
            done
            touch "$WINEPREFIX/.booted-4"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts Xvfb on a free display number and exports DISPLAY; sets XVFB_PID.
xvfb_start() {
    local n
    for n in $(seq 90 160); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            return 0
        fi
    done
    echo "could not start Xvfb" >&2
    return 1
}

# Keeps one wineserver (and the Windows services it starts) running until
# wine_session_stop. The services are started here, with no terminal or pipe
# of the caller's: started by a test instead, they would inherit its output
# pipe and keep the test runner waiting for it long after the test ended.
wine_session_start() {
    wineserver -p
    wine wineboot </dev/null >/dev/null 2>&1
}

wine_session_stop() {
    wineserver -k 2>/dev/null || true
}

xvfb_stop() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}
