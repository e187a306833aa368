#!/usr/bin/env bash
# Fuzzes the photo decoder for a while (60 s unless given) under AddressSanitizer and
# UndefinedBehaviorSanitizer, starting from a corpus of small generated files. Not part of the tests.
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/install-deps.sh --fuzz
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DPIMAVO_FUZZ=ON -DPIMAVO_BUILD_TESTS=OFF -DPIMAVO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target decode_fuzzer

corpus="$build/corpus"
if [[ ! -d "$corpus" ]]; then
    mkdir -p "$corpus"
    start="$corpus/start.v"
    vips thumbnail resources/samples/ladybird.jpg "$start" 24
    for ext in jpg png tif bmp webp jp2 exr hdr; do vips copy "$start" "$corpus/start.$ext" 2>/dev/null || true; done
    vips copy "$start" "$corpus/start16.png[bitdepth=16]" 2>/dev/null || true
    vips copy "$start" "$corpus/start-deflate.tif[compression=deflate]" 2>/dev/null || true
    cp "$corpus/start.jpg" "$corpus/start-rotated.jpg"
    exiftool -q -overwrite_original -Orientation#=6 -Make=Start "$corpus/start-rotated.jpg"
    rm -f "$start"
fi
mkdir -p "$build/findings"
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/decode_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$build/findings/" -print_final_stats=1 "$corpus" >/dev/null 2>"$build/fuzz.log" || {
    tail -40 "$build/fuzz.log"
    echo "The fuzzer found a problem; the input is in $build/findings/"
    exit 1
}
grep -E "stat::number_of_executed_units|stat::peak_rss_mb|cov:" "$build/fuzz.log" | tail -4
echo "No problem found in $seconds s."
