#!/usr/bin/env bash
# A mask that is white everywhere gives back the photo at every pixel, edges included, for sizes whose
# working copy rounds: rendered by the command-line front end and compared by an independent tool
# (vips).
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 2001x1333 1333x2001 3001x2003; do
    w=${size%x*} h=${size#*x}
    # Noise: every pixel differs from its neighbours and from the grey of the background.
    vips gaussnoise "$work/n.v" "$w" "$h" --sigma 60 --mean 128
    vips bandjoin "$work/n.v $work/n.v $work/n.v" "$work/n3.v"
    vips linear "$work/n3.v" "$work/s.v" "1 0.7 1.3" "0 40 -20" --uchar
    vips copy "$work/s.v" "$work/photo.png"
    vips black "$work/b.v" "$w" "$h"
    vips invert "$work/b.v" "$work/white.v"
    vips cast "$work/white.v" "$work/white8.v" uchar
    vips copy "$work/white8.v" "$work/mask.png"
    "$cli" render "$work/photo.png" "$work/out.png" --mask "$work/mask.png" >/dev/null
    [[ $(vipsheader -f width "$work/out.png") == "$w" && $(vipsheader -f height "$work/out.png") == "$h" ]] \
        || { echo "$size: result has the wrong size"; exit 1; }
    vips subtract "$work/out.png" "$work/photo.png" "$work/d.v"
    vips abs "$work/d.v" "$work/ad.v"
    worst=$(vips max "$work/ad.v")
    if awk -v m="$worst" 'BEGIN { exit !(m != 0) }'; then
        vips extract_area "$work/ad.v" "$work/top.v" 0 0 "$w" 1
        echo "$size: the result differs from the photo by up to $worst levels (top row: $(vips max "$work/top.v"))"
        exit 1
    fi
done
# A mask of another size than the photo is stretched over it and must not fade at its border either.
vips black "$work/b.v" 1000 700
vips invert "$work/b.v" "$work/white.v"
vips cast "$work/white.v" "$work/white8.v" uchar
vips copy "$work/white8.v" "$work/small-mask.png"
"$cli" render "$work/photo.png" "$work/out.png" --mask "$work/small-mask.png" >/dev/null
vips subtract "$work/out.png" "$work/photo.png" "$work/d.v"
vips abs "$work/d.v" "$work/ad.v"
worst=$(vips max "$work/ad.v")
awk -v m="$worst" 'BEGIN { exit !(m == 0) }' || { echo "a smaller white mask leaves the photo's border off by $worst levels"; exit 1; }
echo ok
