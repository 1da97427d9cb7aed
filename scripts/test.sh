#!/usr/bin/env bash
# Placeholder until the full test command lands.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug -DTOVLEN_SANITIZE=ON
cmake --build build -j2
ctest --test-dir build --output-on-failure
