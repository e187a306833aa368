#!/usr/bin/env bash
# Runs every test under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer (build-san,
# whose libraries the fuzz targets share), then the tests of the parts that use threads (engine:
# the tile pool; canvas: renders and looks on the dispatch queues; import: decoders and thumbnails
# on worker threads) under ThreadSanitizer (build-tsan). Widget tests run on the offscreen platform,
# as in the normal test run. Not part of the test command. Fails when a test fails or a sanitizer
# reports anything; what is left out is in scripts/sanitizers/*.supp, each entry with its reason.
#   bash scripts/check-sanitizers.sh [address|thread]   (both when none given)
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-both}
bash scripts/install-deps.sh --fuzz
status=0

if [[ "$which" == address || "$which" == both ]]; then
    san=$(bash scripts/configure-sanitized.sh address)
    # Test programs are listed at link time; leaks are checked when they run.
    ASAN_OPTIONS=detect_leaks=0 cmake --build "$san" --parallel 2
    cc -shared -fPIC -O2 -o "$san/keep-loaded.so" scripts/sanitizers/keep-loaded.c
    # The tests that reach cameras, scanners and the media player (the device layer's, the import
    # window's, the command line's and the help videos') unwind every allocation in full: the drivers
    # and GStreamer's plugins are built without frame pointers, and only the whole stack shows that a
    # leak is theirs (lsan.supp).
    devices='^(Camera\.|Scanner\.|ImportWindow\.|HelpVideos\.|cli_devices$)'
    (
        source scripts/sanitizers/environment.sh
        export LD_PRELOAD="$PWD/$san/keep-loaded.so"
        failed=0
        ctest --test-dir "$san" --output-on-failure --parallel 2 --timeout 1800 -E "$devices|^app_wayland_seat$" ||
            failed=1
        ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0" \
            ctest --test-dir "$san" --output-on-failure --parallel 2 --timeout 1800 -R "$devices" || failed=1
        # Qt's Wayland data device (Qt 6.4) still holds the clipboard's offers at exit, our copied
        # picture among them: the copy is checked for leaks by the same test on the offscreen
        # platform (KeysWindow.WhatCopyPutsOnTheClipboardPastesBack), and here for everything else.
        ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" \
            ctest --test-dir "$san" --output-on-failure --timeout 1800 -R '^app_wayland_seat$' || failed=1
        exit $failed
    ) || status=1
fi

if [[ "$which" == thread || "$which" == both ]]; then
    tsan=$(bash scripts/configure-sanitized.sh thread)
    cmake --build "$tsan" --parallel 2 --target engine_tests canvas_tests canvas_view_tests import_tests
    # A race is reported without stopping the program; the test then fails on the exit status.
    (
        source scripts/sanitizers/environment.sh
        export TSAN_OPTIONS="$TSAN_OPTIONS:exitcode=66"
        export LD_LIBRARY_PATH="$PWD/$tsan/tbb-tsan/lib"
        failed=0
        for dir in engine canvas import; do
            ctest --test-dir "$tsan/tests/$dir" --output-on-failure --parallel 2 --timeout 1800 \
                -E 'canvas_white_mask_render|wayland' || failed=1
        done
        exit $failed
    ) || status=1
fi
exit $status
