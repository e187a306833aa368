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
# Asked from a terminal, the editor answers there and opens no window (nor needs a display).
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/pimavo" --version)
[[ $version =~ ^Pimavo\ [0-9]+\.[0-9]+ ]] || { echo "--version said: $version"; exit 1; }
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/pimavo" --help | grep -q '^Usage: pimavo \[PHOTO\]' ||
    { echo "--help gave no usage"; exit 1; }
module=$(find "$prefix" -path '*/pimavo/pimavo-codecs.so' | head -1)
[[ -n "$module" ]] || { echo "codec module not installed"; exit 1; }
# A project is known to the desktop by its name and by its content, and opens in the editor.
[[ -e "$prefix/share/mime/packages/org.pimavo.Pimavo.xml" ]] || { echo "not installed: the project type"; exit 1; }
XDG_DATA_DIRS="$prefix/share:/usr/share" update-mime-database "$prefix/share/mime"
"$build/src/cli/pimavo-cli" render "$source/resources/samples/ladybird.jpg" "$prefix/work.pimavo" >/dev/null
cp "$prefix/work.pimavo" "$prefix/work-without-extension"
for f in work.pimavo work-without-extension; do
    type=$(XDG_DATA_DIRS="$prefix/share:/usr/share" gio info -a standard::content-type "$prefix/$f" |
        sed -n 's/.*standard::content-type: //p')
    [[ $type == application/x-pimavo-project ]] || { echo "$f is taken for $type"; exit 1; }
done
# Every type of photo the decoders read (as the open panel offers them) is declared to the desktop;
# JPEG XL only where they read it.
declared=$(sed -n 's/^MimeType=//p' "$source/resources/desktop/org.pimavo.Pimavo.desktop" | tr ';' '\n')
readable=$("$build/src/cli/pimavo-cli" formats | awk '$1 == "read" && $3 ~ /^image\// { print $3 }' | sort -u)
for type in application/x-pimavo-project image/jpeg image/png image/tiff image/heif image/avif image/webp \
            $readable; do
    grep -qx "$type" <<<"$declared" || { echo "missing $type"; exit 1; }
done
if grep -qx image/jxl <<<"$declared" && ! grep -qx image/jxl <<<"$readable"; then
    echo "declared but not read: image/jxl"; exit 1
fi
echo ok
