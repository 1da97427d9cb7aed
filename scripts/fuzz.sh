#!/usr/bin/env bash
# Builds every libFuzzer target in fuzz/ with clang under ASan and UBSan (build-fuzz/) and runs
# each for a share of FUZZ_SECONDS (default 60 in all). Seeds come from the shared corpus where
# one fits, and the programs of the Windows build (build-win/*.exe) seed the signed-file reader
# when they have been built; a missing corpus fails the script. New inputs the fuzzers find
# stay in build-fuzz/corpus/<target>/; a crash leaves its input in build-fuzz/artifacts/ and
# fails the script.
#   FUZZ_SECONDS=3600 scripts/fuzz.sh              # an hour in all
#   FUZZ_SECONDS=600 scripts/fuzz.sh shortcut_fuzz # ten minutes on one target
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="$root/build-fuzz"
corpus_source=${TOVLEN_CORPUS_DIR:-$root/../shared/corpus}
total=${FUZZ_SECONDS:-60}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for file in fuzz/*.cpp; do targets+=("$(basename "$file" .cpp)"); done
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVLEN_FUZZ=ON \
    -DTOVLEN_TESTS=OFF -DTOVLEN_BENCH=OFF -DTOVLEN_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

seeds_for() {
    case $1 in
    shortcut_fuzz) echo "$corpus_source/lnk" ;;
    url_fuzz) echo "$corpus_source/url" ;;
    bookmarks_fuzz) echo "$corpus_source/bookmarks" ;;
    list_file_fuzz) echo "$corpus_source/url" ;;
    places_fuzz) echo "$build/seeds/places" ;;
    chromium_bookmarks_fuzz) echo "$build/seeds/chromium" ;;
    calculator_fuzz) echo "$build/seeds/calculator" ;;
    signed_file_fuzz) echo "$build/seeds/programs" ;;
    esac
}

# A small places.sqlite laid out as Firefox's, a small Chromium Bookmarks file and the Windows
# programs that were built, so those fuzzers start from files they can damage; and sums for the
# calculator (the first byte chooses the decimal separator).
make_seeds() {
    mkdir -p "$build/seeds/programs"
    find "$root/build-win" -maxdepth 1 -name '*.exe' -exec cp {} "$build/seeds/programs/" \; 2>/dev/null || true
    mkdir -p "$build/seeds/calculator"
    local i=0 sum
    for sum in '.12*(3+4)' '.=2^-1.5e+3' '.-(2^3^2)/7%' ',200-10%*3,5' '.((1+2)*(3-4))/5=' '.9.00719925474099e+15*1'; do
        printf '%s' "$sum" >"$build/seeds/calculator/$i"
        i=$((i + 1))
    done
    mkdir -p "$build/seeds/chromium"
    cat >"$build/seeds/chromium/Bookmarks" <<'JSON'
{"checksum":"0","roots":{"bookmark_bar":{"type":"folder","name":"Bar","children":[
 {"type":"url","name":"Example","url":"https://example.org/"},
 {"type":"folder","name":"Sub","children":[{"type":"url","name":"T\u00e9st","url":"http://a/\"b"}]}]},
 "other":{"type":"folder","children":[]},"synced":{"type":"folder","children":[]}},"version":1}
JSON
    mkdir -p "$build/seeds/places"
    python3 - "$build/seeds/places/places.sqlite" <<'PY'
import os, sqlite3, sys
if os.path.exists(sys.argv[1]):
    os.remove(sys.argv[1])
db = sqlite3.connect(sys.argv[1])
db.executescript("""
PRAGMA page_size = 512;
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER, title LONGVARCHAR);
INSERT INTO moz_places VALUES (1, 'https://example.org/', 'Example'), (2, 'place:sort=8', NULL);
INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 'Menu'), (2, 1, 1, 1, 'Example'), (3, 1, 2, 1, 'Most Visited');
""")
db.commit()
PY
}

per_target=$((total / ${#targets[@]}))
[ "$per_target" -ge 5 ] || per_target=5
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build/artifacts"
make_seeds
failed=0
for target in "${targets[@]}"; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    dirs=("$work")
    seeds=$(seeds_for "$target")
    if [ -n "$seeds" ]; then
        # A fuzzer without its seeds would pass while testing next to nothing.
        [ -d "$seeds" ] || { echo "$target: no seeds at $seeds"; failed=1; continue; }
        dirs+=("$seeds")
    fi
    echo "=== $target: ${per_target}s"
    if ! timeout $((per_target + 120)) "$build/$target" -max_total_time="$per_target" -timeout=10 \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 "${dirs[@]}" \
        >"$build/$target.log" 2>&1; then
        tail -40 "$build/$target.log"
        echo "$target FAILED (log: $build/$target.log)"
        failed=1
    else
        grep -E 'stat::number_of_executed_units|Done' "$build/$target.log" | tail -2
    fi
done
exit $failed
