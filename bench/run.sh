#!/usr/bin/env bash
# Runs the extraction benchmark under Wine in the build tree's own prefix,
# with a private Xvfb. Builds nothing: build the Windows tree first, e.g.
#   cmake --build build/win32 --target extract_bench
# On a host whose kernel runs no 32-bit code, the 32-bit build runs through
# qemu's user-mode emulator (tests/wine/ia32-ns.sh), several times slower;
# build/win64 is the choice only where no such emulator is installed.
# Usage: bash bench/run.sh [--large-mib N] [--small-count N] [--folder-count N]
#                          [--reps N] [--breakdown] [--no-peers] [--nsis-target x86|amd64]
# The report (Markdown) goes to stdout, progress to stderr. The peers' installers
# are built by Debian's makensis, which the benchmark starts as a Linux program
# through Wine (scripts/install-prereqs.sh installs it).
#
# BENCH_BUILD names another build tree (default: build/win32, or build/win64
# on a host that cannot run 32-bit code at all), whose bin/extract_bench.exe
# then runs in that tree's prefix.
# BENCH_WINEPREFIX names another Wine prefix (created and booted on first use)
# for when the build tree's prefix is busy: a `wineserver -k` on it, as test
# scripts do, ends a run that is under way.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/wine-env.sh"
build="${BENCH_BUILD:-$root/build/$(windows_flavour)}"
exe="$build/bin/extract_bench.exe"
if [ ! -f "$exe" ]; then
    echo "run.sh: $exe not found; build it first:" >&2
    echo "  cmake --build $build -j2 --target extract_bench" >&2
    exit 2
fi

prefix="${BENCH_WINEPREFIX:-$build/wineprefix}"
# The 32-bit build on a kernel that runs no 32-bit code: on through the emulator.
[ "$(prefix_arch "$prefix")" = win64 ] || ia32_namespace_enter "$0" "$@"
wine_env_setup "$prefix" || exit 1
echo "run.sh: running $exe, $(describe_windows_build "$(prefix_arch "$prefix")")" >&2
xvfb_start || exit 1

# Wine's services inherit the pipes of the program that started them and keep
# them open, so nothing of Wine's writes into our own stdout or stderr: the
# report and the progress go through files.
out=$(mktemp -d)
cleanup() {
    xvfb_stop
    rm -rf "$out"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

: >"$out/progress"
wine "$exe" "$@" >"$out/report" 2>"$out/progress" </dev/null &
bench=$!
tail -n +1 --pid="$bench" -f "$out/progress" >&2
wait "$bench"
status=$?

# The program removes its work directory itself; should it have been stopped
# (say, by a `wineserver -k` on this shared prefix), remove what it left.
work=$(sed -n 's/^work directory //p' "$out/progress" | head -n 1 | tr -d '\r')
case "$work" in
[A-Za-z]:\\*\\extract-bench-*)
    drive=$(printf '%s' "${work%%:*}" | tr 'A-Z' 'a-z')
    rest=${work#?:}
    left="$WINEPREFIX/dosdevices/$drive:${rest//\\//}"
    if [ -d "$left" ]; then
        echo "run.sh: removing the work directory left behind: $left" >&2
        rm -rf "$left"
    fi
    ;;
esac

if [ ! -s "$out/report" ]; then
    echo "run.sh: the benchmark ended without a report (exit status $status)." >&2
    echo "run.sh: if the Wine server of $WINEPREFIX was stopped meanwhile, run it again." >&2
    [ "$status" -eq 0 ] && status=1
fi
cat "$out/report"
exit "$status"
