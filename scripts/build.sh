# Builds the native tree (tests, tools) and the Windows tree (Tovlen.exe). Source it.
# A compiler cache, where one is installed, makes rebuilds of other checkouts cheap.
compiler_cache=()
if command -v ccache >/dev/null 2>&1; then
    compiler_cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

build_native() {
    local dir=${1:-build}
    shift || true
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${compiler_cache[@]}" "$@" >/dev/null
    cmake --build "$dir" -j2
}

build_windows() {
    cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release "${compiler_cache[@]}" >/dev/null
    cmake --build build-win -j2
}
