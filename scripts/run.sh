#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs Pimavo on the bundled sample photo
# (or the photo given). With a display, that is the editor. Without one, or with render options, the
# editor's own pipeline paints the ladybird back in colour over a grey background and saves it with
# the photo's metadata.
#   bash scripts/run.sh [PHOTO [RENDER OPTIONS]]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
build="${PIMAVO_BUILD_DIR:-build}"
cli="$build/src/cli/pimavo-cli"
photo=${1:-resources/samples/ladybird.jpg}
shift || true
options=("$@")
if [[ ${#options[@]} -eq 0 && ( -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ) ]]; then
    exec "$build/src/app/pimavo" "$photo"
fi
if [[ ${#options[@]} -eq 0 && "$photo" == resources/samples/ladybird.jpg ]]; then
    options=(--stroke 1780,790,1800,800 --brush 190)
fi
out="${TMPDIR:-/tmp}/pimavo-$(basename "${photo%.*}").jpg"
"$cli" info "$photo"
"$cli" render "$photo" "$out" "${options[@]}"
echo "Saved $out"
