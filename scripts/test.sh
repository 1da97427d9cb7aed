#!/usr/bin/env bash
# Everything that checks Tovlen: unit tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# the fuzzers for a bounded time, and the end-to-end tests of Tovlen.exe under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/build.sh
deps_install native format windows e2e docs fuzz package

passed=0
failed=0
failures=()
step() {
    local name=$1
    shift
    echo "=== $name"
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failures+=("$name")
    fi
}

unit_tests() {
    build_native build-asan -DTOVLEN_SANITIZE=ON -DTOVLEN_BENCH=OFF &&
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
            ctest --test-dir build-asan --output-on-failure -j2
}

# The program with real threads (the fake's threaded mode), under ThreadSanitizer: a race
# between the input thread, the workers and the main thread fails it. Each run interleaves the
# threads differently, so they run many times.
threaded_tests() {
    build_threaded_tests build-tsan &&
        TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/tovlen_threaded_tests --gtest_repeat=20
}

# The sources keep the repository's .clang-format style, so a change shows only what it changes.
source_format() {
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
}

step "unit tests (ASan+UBSan)" unit_tests
step "threaded tests (TSan)" threaded_tests
step "windows headers" scripts/check_windows_headers.sh
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then step "source format" source_format; fi
step "layering" scripts/check_layers.sh
if [ -x scripts/fuzz.sh ]; then step "fuzzers" scripts/fuzz.sh; fi
step "Windows build" build_windows
if [ -f build-win/Tovlen.exe ]; then
    for test in scripts/e2e/*_wine.sh; do
        [ -x "$test" ] || continue
        step "$(basename "$test" .sh)" timeout 900 "$test"
    done
fi

echo
echo "Screenshots of the end-to-end tests: build-win/e2e/"
[ ${#failures[@]} -eq 0 ] || printf 'failed: %s\n' "${failures[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
