#!/usr/bin/env bash
# Configures and builds Pimavo into build/ (or $PIMAVO_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PIMAVO_BUILD_DIR:-build}
# Warnings in our own code fail the build here (the pinned compiler gives none); PIMAVO_WERROR=OFF
# builds anyway. Configured every time, so that a change of it takes.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIMAVO_WERROR="${PIMAVO_WERROR:-ON}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
