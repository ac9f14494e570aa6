# Shared by the scripts that run Windows programs: Wine settings, a prefix
# booted once, and a private X display. Source it; it defines functions only.

wine_env_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Whether 32-bit x86 programs run here: Wine's 32-bit loader needs it. Some
# kernels ship with that switched off; inside the namespace of
# ia32_namespace_enter they run all the same, through the emulator.
host_runs_32bit() {
    [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# Whether the qemu user-mode emulator installed here is one that can run
# Wine's 32-bit loader. Wine needs its placement of fixed mappings honoured,
# which Debian 12's own 7.2 does not do; 10.0 (bookworm-backports) does, and
# no version between was tried.
emulator_is_recent() {
    local major
    major=$("${QEMU_I386:-qemu-i386}" --version 2>/dev/null |
        sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p')
    [ -n "$major" ] && [ "$major" -ge 10 ]
}

# Whether 32-bit programs run here through that emulator: the namespace of
# ia32-ns.sh must work too (a private binfmt_misc instance needs Linux 6.7 or
# later, and user namespaces allowed). The 32-bit loader is asked for its
# version through it.
emulator_can_run_wine() {
    emulator_is_recent && [ -x /lib/ld-linux.so.2 ] &&
        unshare --user --map-root-user --mount --fork "$wine_env_dir/ia32-ns.sh" \
            /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

# How 32-bit programs run here: natively, emulated (inside the namespace of
# ia32_namespace_enter) or not at all.
ia32_route() {
    if [ -n "${IA32_EMULATED:-}" ]; then
        echo emulated
    elif host_runs_32bit; then
        echo native
    elif emulator_can_run_wine; then
        echo emulated
    else
        echo none
    fi
}

# Runs the calling script again, from the start, inside a user and mount
# namespace of its own in which the kernel hands 32-bit programs to qemu
# (ia32-ns.sh); returns at once where nothing is needed: where 32-bit code
# runs natively, inside such a namespace already, or without a usable qemu.
# Call it first thing, as: ia32_namespace_enter "$0" "$@"
ia32_namespace_enter() {
    [ "$(ia32_route)" = emulated ] && [ -z "${IA32_EMULATED:-}" ] || return 0
    exec unshare --user --map-root-user --mount --fork "$wine_env_dir/ia32-ns.sh" bash "$@"
}

# How many times longer than usual the programs of a tree (win32 or win64)
# take here: five through the emulator. The window driver stretches its waits
# by it (SETUP_TIME_FACTOR), as does CMake the tests' time limits.
wine_time_factor() {
    if [ "$1" = win32 ] && [ "$(ia32_route)" = emulated ]; then echo 5; else echo 1; fi
}

# The Windows build whose programs this host can run under Wine: win32 (the
# shipped 32-bit build, natively or emulated) or win64 (the same sources, for
# hosts that cannot run 32-bit code at all).
windows_flavour() {
    if [ "$(ia32_route)" = none ]; then echo win64; else echo win32; fi
}

# Which build a tree is and how its programs run here, in words, for the
# scripts' reports. $1: win32 or win64.
describe_windows_build() {
    if [ "$1" = win64 ]; then
        echo "the 64-bit build (this host runs no 32-bit code)"
        return
    fi
    case "$(ia32_route)" in
    native) echo "the 32-bit build, the one that ships" ;;
    emulated)
        echo "the 32-bit build, the one that ships; its 32-bit code run by $("${QEMU_I386:-qemu-i386}" --version |
            head -n 1 | sed 's/ (.*//') (user-mode emulation)"
        ;;
    *) echo "the 32-bit build, which this host cannot run" ;;
    esac
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

# The architecture of a Wine prefix (win32 or win64), which follows the build
# tree it lies in: 64-bit for a tree configured with the x86_64 toolchain, or
# one named win64. $1: the prefix.
prefix_arch() {
    local cache
    cache="$(dirname "$1")/CMakeCache.txt"
    case "$1" in */win64/*)
        echo win64
        return
        ;;
    esac
    if [ -f "$cache" ] && grep -q 'mingw-x86_64.cmake' "$cache"; then echo win64; else echo win32; fi
}

wine_env_setup() {
    # $1: the Wine prefix to use (created and booted on first use).
    local arch
    arch=$(prefix_arch "$1")
    if [ "$arch" = win32 ] && [ "$(ia32_route)" = emulated ] && [ -z "${IA32_EMULATED:-}" ]; then
        echo "32-bit Wine runs here only inside ia32_namespace_enter's namespace" >&2
        return 1
    fi
    export WINEPREFIX="$1" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
    # Wine's ANSI code page is then 1252, and its Unix file names UTF-8, so
    # that an ANSI name beyond ASCII finds the file of the same Unicode name
    # (under the C locale Wine cannot name such files at all). C.UTF-8 is part
    # of Debian's libc; no locale needs generating.
    export LC_ALL=C.UTF-8
    SETUP_TIME_FACTOR=$(wine_time_factor "$arch")
    export SETUP_TIME_FACTOR
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
