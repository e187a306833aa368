#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
bash scripts/build.sh
# A test that hangs fails on its own instead of holding the whole run.
ctest --test-dir "${PIMAVO_BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)" --timeout 600
