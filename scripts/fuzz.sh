#!/usr/bin/env bash
# Fuzzes every parser of bytes from outside for a while (60 s each unless given) under AddressSanitizer
# and UndefinedBehaviorSanitizer. Each fuzzer starts from the inputs committed in fuzz/corpus/<fuzzer>/;
# what it finds on the way is kept in build-san/fuzz-corpus/<fuzzer>/ for the next run. Not part of
# the tests. Fails naming each fuzzer that found a problem and the input it saved.
#   bash scripts/fuzz.sh [SECONDS] [FUZZER...]      (FUZZER: e.g. zip_fuzzer; all when none given)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
bash scripts/install-deps.sh --fuzz
build=$(bash scripts/configure-sanitized.sh address)
if (($# > 0)); then
    fuzzers=("$@")
else
    mapfile -t fuzzers < <(ls fuzz/*_fuzzer.cpp | xargs -n1 basename | sed 's/\.cpp$//')
fi
# Test programs are listed at link time; their leaks at exit are the test run's business.
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" --parallel 2 --target "${fuzzers[@]}"
source scripts/sanitizers/environment.sh

failed=()
for fuzzer in "${fuzzers[@]}"; do
    corpus="$build/fuzz-corpus/$fuzzer"
    findings="$build/findings/$fuzzer"
    log="$build/fuzz-$fuzzer.log"
    mkdir -p "$corpus" "$findings"
    # The words of the format, where it has a dictionary (fuzz/dict/), and the limits that make an
    # unbounded allocation or a hang a finding.
    dict=()
    [[ -f "fuzz/dict/$fuzzer.dict" ]] && dict=(-dict="fuzz/dict/$fuzzer.dict")
    # New inputs go to the first folder; the committed seeds are only read.
    if "$build/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=3072 -malloc_limit_mb=2048 \
        "${dict[@]}" -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "fuzz/corpus/$fuzzer" \
        >/dev/null 2>"$log"; then
        printf '%-18s %s runs, %s\n' "$fuzzer" \
            "$(grep -oP 'stat::number_of_executed_units: \K[0-9]+' "$log" | tail -1)" \
            "$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)"
    else
        input=$(grep -oE "Test unit written to [^ ]+" "$log" | tail -1 | cut -d' ' -f5)
        tail -40 "$log"
        echo "$fuzzer found a problem; its input is ${input:-in $findings/} (log: $log)"
        failed+=("$fuzzer")
    fi
done
if ((${#failed[@]})); then
    echo "Problems found by: ${failed[*]}"
    exit 1
fi
echo "No problem found in $seconds s each."
