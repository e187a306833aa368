#!/usr/bin/env bash
# Configures and builds Pimavo into build/ (or $PIMAVO_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PIMAVO_BUILD_DIR:-build}
[[ -f "$build/build.ninja" ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
