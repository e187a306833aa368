#!/usr/bin/env bash
# Launch to first frame: from starting the editor with a 24-MP JPEG until its composed picture has
# been painted, on the offscreen platform (no display needed). Best of five runs.
#   bash bench/first_frame.sh [PHOTO]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PIMAVO_BUILD_DIR:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photo=${1:-}
if [[ -z "$photo" ]]; then
    vips thumbnail resources/samples/ladybird.jpg "$work/p.v" 6000 --height 4000 --size force
    vips copy "$work/p.v" "$work/photo.jpg[Q=92]"
    photo=$work/photo.jpg
fi
best=""
for _ in 1 2 3 4 5; do
    t0=$(date +%s%N)
    line=$(HOME="$work" QT_QPA_PLATFORM=offscreen PIMAVO_FIRST_FRAME_REPORT=1 "$build/src/app/pimavo" "$photo" 2>/dev/null |
        grep "first frame at" || true)
    [[ -n "$line" ]] || { echo "no frame reported"; exit 1; }
    ms=$(( (${line##* } - t0) / 1000000 ))
    if [[ -z "$best" || $ms -lt $best ]]; then best=$ms; fi
done
echo "Launch to first frame, $(vipsheader -f width "$photo") x $(vipsheader -f height "$photo") JPEG: $best ms (best of 5)"
