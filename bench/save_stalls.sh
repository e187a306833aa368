#!/usr/bin/env bash
# Frame stalls while saving a painted 24-MP photo (6000 x 4000, made with vips from the photo given
# or the bundled sample) as JPEG, TIFF and HEIC, on the offscreen platform.
#   bash bench/save_stalls.sh [PHOTO]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PIMAVO_BUILD_DIR:-build}
source=${1:-resources/samples/ladybird.jpg}
photo=/tmp/pimavo-save-stalls-24mp.jpg
vips thumbnail "$source" /tmp/pimavo-save-stalls.v 6000 --height 4000 --size force
vips copy /tmp/pimavo-save-stalls.v "$photo[Q=92]"
rm -f /tmp/pimavo-save-stalls.v
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME="$home" XDG_STATE_HOME="$home/state" QT_QPA_PLATFORM=offscreen "$build/bench/save_stalls" "$photo" "${TYPES:-jpeg,tiff,heic}"
