#!/usr/bin/env bash
# Configures one of the two sanitized builds and prints its folder. Not part of the tests.
#   address  build-san: clang, every target under AddressSanitizer, UndefinedBehaviorSanitizer and
#            libFuzzer's coverage; the tests and the fuzz targets share these libraries, so the fuzz
#            runs (scripts/fuzz.sh) and the sanitized test run (scripts/check-sanitizers.sh) compile
#            the program once. The coverage counters change no behaviour; they cost a little speed.
#   thread   build-tsan: clang, every target under ThreadSanitizer, tests only, linked against a
#            oneTBB built under it too (scripts/sanitizers/tbb-for-tsan.sh); run the tests with
#            LD_LIBRARY_PATH=build-tsan/tbb-tsan/lib so that the libraries using TBB take it.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-address}" in
address)
    build=build-san
    options=(-DPIMAVO_FUZZ=ON -DPIMAVO_BUILD_TESTS=ON)
    ;;
thread)
    build=build-tsan
    mkdir -p "$build"
    tbb=$(bash scripts/sanitizers/tbb-for-tsan.sh "$build")
    options=(-DPIMAVO_SANITIZE=thread -DPIMAVO_BUILD_TESTS=ON -DTBB_DIR="$tbb/lib/cmake/TBB")
    ;;
*)
    echo "usage: $0 [address|thread]" >&2
    exit 2
    ;;
esac
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DPIMAVO_BUILD_BENCH=OFF "${options[@]}" >/dev/null
echo "$build"
