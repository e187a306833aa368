#!/usr/bin/env bash
# Where pimavo-cli writes: convert and render through a symbolic link replace the file it leads to,
# from that file's folder, and the link stays a link, with nothing temporary left in either folder;
# the copy kept beside a photo for Facebook never replaces a file of the user's; --type names the
# type written.
set -euo pipefail
cli=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir -p "$work/photos" "$work/links"

for command in convert render; do
    cp "$sample" "$work/photos/$command.jpg"
    ln -s "../photos/$command.jpg" "$work/links/$command.jpg"
    before=$(md5sum <"$work/photos/$command.jpg")
    if [[ $command == convert ]]; then
        "$cli" convert "$sample" "$work/links/$command.jpg" --quality 0.3 >/dev/null
    else
        "$cli" render "$sample" "$work/links/$command.jpg" --background sepia >/dev/null
    fi
    [[ -L "$work/links/$command.jpg" ]] || fail "$command: the link became a plain file"
    [[ $(md5sum <"$work/photos/$command.jpg") != "$before" ]] || fail "$command: the linked file is unchanged"
    [[ $(vipsheader -f width "$work/photos/$command.jpg") == 2560 ]] || fail "$command: the linked file is no picture"
done
left=$(ls -A "$work/photos" "$work/links" | grep -c pimavo- || true)
[[ $left == 0 ]] || fail "temporary files left: $(ls -A "$work/photos" "$work/links")"
# A file of the user's already has the name the copy would take: the copy takes the next free one.
mkdir -p "$work/trip"
cp "$sample" "$work/trip/holiday.jpg"
echo "the user's own" >"$work/trip/holiday-facebook.jpg"
echo "also the user's" >"$work/trip/holiday-facebook 2.jpg"
kept=$(HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" BROWSER=true \
    timeout 60 "$cli" share facebook "$work/trip/holiday.jpg" 2>/dev/null | head -n 1 || true)
[[ $(cat "$work/trip/holiday-facebook.jpg") == "the user's own" ]] || fail "share replaced holiday-facebook.jpg"
[[ $(cat "$work/trip/holiday-facebook 2.jpg") == "also the user's" ]] || fail "share replaced holiday-facebook 2.jpg"
[[ "$kept" == "$work/trip/holiday-facebook 3.jpg" ]] || fail "share kept its copy as \"$kept\""
[[ $(vipsheader -f width "$kept") =~ ^[0-9]+$ ]] || fail "the kept copy is no picture"
# The type asked for wins over the extension, named as a MIME type or as earlier versions named it.
for asked in "image/png png" "public.tiff tiff" "image/tiff tiff"; do
    read -r type loader <<<"$asked"
    "$cli" convert "$sample" "$work/typed.out" --type "$type" >/dev/null || fail "convert --type $type failed"
    [[ $(vipsheader -f vips-loader "$work/typed.out") == "${loader}load" ]] ||
        fail "convert --type $type wrote $(vipsheader -f vips-loader "$work/typed.out")"
done
echo "writes: passed"
