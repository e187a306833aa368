#!/bin/bash
# Choosing looks one after another: one look, then five in a row 0.4 s apart, on the same photo;
# prints both runs and the ratio of their memory peaks (above the memory at rest).
#   bash bench/look_switch.sh [BUILD_DIR] [PHOTO] [--zoom 100]
set -euo pipefail
build=${1:-build}
shift || true
bin="$build/bench/look_switch"
one=$("$bin" --clicks 1 "$@")
five=$("$bin" --clicks 5 --interval 0.4 "$@")
echo "$one"
echo
echo "$five"
peak() { awk '/memory peak/ {p=$3} /memory at rest/ {r=$4} END {print p - r}' <<<"$1"; }
echo
awk -v a="$(peak "$one")" -v b="$(peak "$five")" \
    'BEGIN { printf "peak above rest: one look %.0f MiB, five looks %.0f MiB, ratio %.2f\n", a, b, b / a }'
