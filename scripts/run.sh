#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs Pimavo's main job on a photo
# (the bundled sample when none is given): describe it, then open and save it as the editor does.
#   bash scripts/run.sh [PHOTO]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
cli="${PIMAVO_BUILD_DIR:-build}/src/cli/pimavo-cli"
photo=${1:-resources/samples/ladybird.jpg}
out="${TMPDIR:-/tmp}/pimavo-$(basename "${photo%.*}").tiff"
"$cli" info "$photo"
"$cli" convert "$photo" "$out"
echo "Saved $out"
"$cli" info "$out"
