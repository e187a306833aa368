#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs Pimavo's main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null
cli="${PIMAVO_BUILD_DIR:-build}/src/cli/pimavo-cli"
"$cli" --version
"$cli" filters
