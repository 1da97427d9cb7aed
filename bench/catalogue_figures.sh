#!/usr/bin/env bash
# Prints the catalogue figures of the README: build time and memory natively, through the
# portable reader, for Start menus of 10,000 and 50,000 shortcuts. A release build of its own
# in build-bench. With --wine it goes on to bench/catalogue_wine_figures.sh (needs build-win).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVLEN_TESTS=OFF \
    -DTOVLEN_BENCH=ON "${launcher[@]}" >/dev/null
cmake --build "$root/build-bench" -j2 --target tovlen_catalogue_figures >/dev/null
echo "Native (Linux, $(nproc) cores), portable reader, median of 5 warm and 3 cold builds:"
"$root/build-bench/tovlen_catalogue_figures" 10000 50000
if [ "${1:-}" = --wine ]; then
    "$root/bench/catalogue_wine_figures.sh" 10000 50000
fi
