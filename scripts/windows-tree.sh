# How a Windows cross-build tree is configured and built: shared by
# scripts/build.sh and scripts/check-reproducible.sh, so that the builds
# compared for reproducibility are the ones that ship. Source it; it defines
# functions only.

# $1: source folder, $2: tree, $3: toolchain file name in cmake/,
# $4...: targets (none: all). Prints nothing but errors and the build's output.
build_windows_tree() {
    local source="$1" tree="$2" toolchain="$1/cmake/$3"
    shift 3
    cmake -S "$source" -B "$tree" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" "-DSETUP_WARNINGS_AS_ERRORS=${SETUP_WERROR:-OFF}" \
        >/dev/null
    if [ $# -eq 0 ]; then
        cmake --build "$tree" -j "$(nproc)"
    else
        cmake --build "$tree" -j "$(nproc)" --target "$@"
    fi
}
