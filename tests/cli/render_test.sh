#!/usr/bin/env bash
# The command-line front end end to end: the sample photo rendered in selective colour, read back by
# an independent tool (vips): colour at the painted ladybird, grey elsewhere, metadata kept.
set -euo pipefail
cli=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" render "$sample" "$work/out.jpg" --stroke 1780,790,1800,800 --brush 190 >/dev/null
[[ -s "$work/out.jpg" ]] || { echo "no output written"; exit 1; }
read -r r g b < <(vips getpoint "$work/out.jpg" 1770 750 | tr ' ' '\n' | head -3 | xargs)
awk -v r="$r" -v g="$g" 'BEGIN { exit !(r > g + 60) }' || { echo "ladybird not red: $r $g $b"; exit 1; }
read -r r g b < <(vips getpoint "$work/out.jpg" 400 1200 | tr ' ' '\n' | head -3 | xargs)
awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN { d = r - g; if (d < 0) d = -d; e = g - b; if (e < 0) e = -e; exit !(d < 4 && e < 4) }' \
    || { echo "background not grey: $r $g $b"; exit 1; }
exiftool -s3 -Software "$work/out.jpg" | grep -q Pimavo || { echo "Software tag missing"; exit 1; }
"$cli" render "$sample" "$work/x.jpg" --preset 9 2>/dev/null && { echo "a bad preset was accepted"; exit 1; }
"$cli" render "$work/missing.jpg" "$work/y.jpg" 2>"$work/err" && { echo "a missing file was accepted"; exit 1; }
grep -q "missing.jpg" "$work/err" || { echo "the error does not name the file"; exit 1; }
# A hand-made mask: white on the right half only, sepia background.
vips black "$work/b.v" 1280 1600
vips invert "$work/b.v" "$work/w.v"
vips cast "$work/w.v" "$work/w8.v" uchar
vips black "$work/k.v" 1280 1600 --bands 1
vips cast "$work/k.v" "$work/k8.v" uchar
vips arrayjoin "$work/k8.v $work/w8.v" "$work/mask.png" --across 2
"$cli" render "$sample" "$work/m.jpg" --mask "$work/mask.png" --background sepia --exposure 0 >/dev/null
read -r r g b < <(vips getpoint "$work/m.jpg" 300 800 | tr ' ' '\n' | head -3 | xargs)
awk -v r="$r" -v b="$b" 'BEGIN { exit !(r > b + 8) }' || { echo "left half not sepia: $r $g $b"; exit 1; }
read -r r2 g2 b2 < <(vips getpoint "$work/m.jpg" 2200 800 | tr ' ' '\n' | head -3 | xargs)
read -r r3 g3 b3 < <(vips getpoint "$sample" 2200 800 | tr ' ' '\n' | head -3 | xargs)
awk -v a="$g2" -v b="$g3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d < 6) }' || { echo "right half not the photo: $g2 vs $g3"; exit 1; }
# JPEG and PNG never load the general codec module (a few hundred libraries); other formats load it.
LD_DEBUG=files "$cli" render "$sample" "$work/n.jpg" --mask "$work/mask.png" >/dev/null 2>"$work/ld"
grep -q "pimavo-codecs" "$work/ld" && { echo "the codec module was loaded for JPEG and PNG"; exit 1; }
vips copy "$work/mask.png" "$work/mask.webp"
LD_DEBUG=files "$cli" render "$sample" "$work/w.tif" --mask "$work/mask.webp" >/dev/null 2>"$work/ld"
grep -q "pimavo-codecs" "$work/ld" || { echo "the codec module was not loaded for WebP"; exit 1; }
[[ $(vipsheader -f width "$work/w.tif") == 2560 ]] || { echo "TIFF result not written"; exit 1; }
# Bad values are refused with a reason.
for bad in "--exposure x" "--background purple" "--softness 200" "--mask $work/none.png"; do
    # shellcheck disable=SC2086
    "$cli" render "$sample" "$work/z.jpg" $bad 2>"$work/err" && { echo "accepted: $bad"; exit 1; }
    [[ -s "$work/err" ]] || { echo "no reason given for: $bad"; exit 1; }
done
echo ok
