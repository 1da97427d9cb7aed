# Builds the native tree (tests, tools) and the Windows tree (Tovlen.exe). Source it.
build_native() {
    local dir=${1:-build}
    shift || true
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    cmake --build "$dir" -j2
}

build_windows() {
    cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-win -j2
}
