#!/usr/bin/env bash
# Runs every test: the portable core's unit tests under ASan/UBSan, each fuzz
# target for a bounded time, and the Win32 unit and system tests under Wine
# with a private X display, on the shipped 32-bit build. Installs what it
# needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fuzz_seconds=${FUZZ_SECONDS:-30}

"$root/scripts/install-prereqs.sh"
"$root/scripts/build.sh"

echo "== native unit tests (ASan, UBSan)"
ctest --test-dir "$root/build/native" --output-on-failure

echo "== fuzzing, ${fuzz_seconds} s per target"
for target in fuzz_package_index fuzz_install_record fuzz_inflate fuzz_name_rule \
    fuzz_canonical_path fuzz_run_journal; do
    # New inputs go to the first directory; the committed seeds are only read.
    corpus="$root/build/native/fuzz-corpus/$target"
    seeds="$root/tests/fuzz/seeds/$target"
    mkdir -p "$corpus"
    (cd "$root/build/native" &&
        "tests/fuzz/$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 \
            -print_final_stats=1 "$corpus" "$seeds" 2>&1 | grep -E '^(stat::number_of_executed_units|==|SUMMARY)' ||
        true)
    # A crash leaves its input behind; that fails the run.
    if compgen -G "$root/build/native/crash-*" >/dev/null ||
        compgen -G "$root/build/native/leak-*" >/dev/null; then
        echo "$target found a failing input:" "$root"/build/native/{crash,leak}-* >&2
        exit 1
    fi
done

# The shipped 32-bit build wherever this host can run it, natively or through
# qemu's user-mode emulator; the 64-bit build only where it cannot. Running the
# 64-bit build as well would double the Windows build and add its tests for
# little: the shipped build is the one whose behaviour counts.
. "$root/tests/wine/wine-env.sh"
flavour=$(windows_flavour)
echo "== Win32 unit and system tests under Wine: $(describe_windows_build "$flavour")"
"$root/scripts/wine-ctest.sh" "$root/build/$flavour"
