#!/usr/bin/env bash
# The program's place on the desktop, as the desktop's own validators and an install see it.
set -euo pipefail
source=$1
build=$2
desktop-file-validate "$source/resources/desktop/org.pimavo.Pimavo.desktop"
appstreamcli validate --no-net --pedantic "$source/resources/desktop/org.pimavo.Pimavo.metainfo.xml" >/dev/null
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/pimavo share/applications/org.pimavo.Pimavo.desktop share/metainfo/org.pimavo.Pimavo.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.pimavo.Pimavo.svg; do
    [[ -e "$prefix/$f" ]] || { echo "not installed: $f"; exit 1; }
done
module=$(find "$prefix" -path '*/pimavo/pimavo-codecs.so' | head -1)
[[ -n "$module" ]] || { echo "codec module not installed"; exit 1; }
# Every type the open panel offers is declared to the desktop.
for type in image/jpeg image/png image/tiff; do
    grep -q "$type;" "$source/resources/desktop/org.pimavo.Pimavo.desktop" || { echo "missing $type"; exit 1; }
done
echo ok
