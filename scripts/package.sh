#!/usr/bin/env bash
# Builds the Debian package pimavo_VERSION_ARCH.deb into $PKGOUT (dist/ by default), from the build
# in build/ (or $PIMAVO_BUILD_DIR), which it brings up to date first unless given --no-build.
#   bash scripts/package.sh [--no-build]
# Install it with `sudo apt install ./dist/pimavo_*.deb`; `lintian dist/pimavo_*.deb` checks it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PIMAVO_BUILD_DIR:-build}
out=${PKGOUT:-dist}
[[ ${1:-} == --no-build ]] || bash scripts/build.sh
# CPack works in a folder of its own, so that the build tree keeps no staging copy of the install.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    exit 1
}
mkdir -p "$out"
for deb in "$work"/*.deb; do
    mv "$deb" "$out/"
    echo "$out/$(basename "$deb")"
done
