# Builds the native tree (tests, tools) and the Windows tree (Tovlen.exe). Source it.
# A compiler cache, where one is installed, makes rebuilds of other checkouts cheap.
compiler_cache=()
if command -v ccache >/dev/null 2>&1; then
    compiler_cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# Here warnings are errors: a change brings none in.
build_native() {
    local dir=${1:-build}
    shift || true
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVLEN_WARNINGS_AS_ERRORS=ON "${compiler_cache[@]}" "$@" >/dev/null
    cmake --build "$dir" -j2
}

# The threaded tests alone, under ThreadSanitizer.
build_threaded_tests() {
    local dir=${1:-build-tsan}
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVLEN_WARNINGS_AS_ERRORS=ON -DTOVLEN_SANITIZE_THREADS=ON \
        -DTOVLEN_BENCH=OFF "${compiler_cache[@]}" >/dev/null
    cmake --build "$dir" -j2 --target tovlen_threaded_tests
}

build_windows() {
    cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
        -DTOVLEN_WARNINGS_AS_ERRORS=ON "${compiler_cache[@]}" >/dev/null
    cmake --build build-win -j2
}
