#!/usr/bin/env bash
# Times jobs in Pimavo and in peer tools on the same pixels, in one run, and prints the ratios.
# Peers: vips (libvips-tools) and gegl, installed by scripts/install-deps.sh.
#   bash bench/peers.sh [WIDTH HEIGHT]     (default 6000 × 4000, 24 megapixels)
# The photo for opening and saving is a real 18-megapixel photograph from Debian's mate-backgrounds
# package (GPL-2.0-or-later), scaled to the size above.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
build=${PIMAVO_BUILD_DIR:-build}
w=${1:-6000}
h=${2:-4000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Best wall time of three runs of a command, in milliseconds.
best_ms() {
    local best=""
    for _ in 1 2 3; do
        local t0 t1 ms
        t0=$(date +%s%N)
        "$@" >/dev/null 2>&1
        t1=$(date +%s%N)
        ms=$(( (t1 - t0) / 1000000 ))
        if [[ -z "$best" || $ms -lt $best ]]; then best=$ms; fi
    done
    echo "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) print "n/a"; else printf "%.2f", a / b }'; }

echo "Image: ${w} x ${h} RGBA float"
vips gaussnoise "$work/n.v" "$w" "$h" --mean 0.5 --sigma 0.2
vips bandjoin "$work/n.v $work/n.v $work/n.v $work/n.v" "$work/in.v"
vips rawsave "$work/in.v" "$work/in.raw"
vips tiffsave "$work/in.v" "$work/in.tif"

# A real photograph at the benchmark size, as JPEG (with metadata) and as PPM.
( cd "$work" && apt-get download mate-backgrounds >/dev/null 2>&1 && dpkg -x mate-backgrounds_*.deb deb ) || true
real="$work/deb/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg"
[[ -f "$real" ]] || real=resources/samples/ladybird.jpg
vips thumbnail "$real" "$work/photo.v" "$w" --height "$h" --size force
vips copy "$work/photo.v" "$work/photo.jpg[Q=92]"
exiftool -q -overwrite_original -Make=Pimakers -Model=Bench '-UserComment=benchmark photo' "$work/photo.jpg"
vips copy "$work/photo.v" "$work/photo.ppm"
thumb=$(( $(awk -v w="$w" -v h="$h" 'BEGIN { printf "%d", sqrt(2e6 * w / h) }') ))

echo
echo "Open a ${w} x ${h} JPEG to a 2-megapixel working copy"
ours=$("$build/bench/peer_io" open "$work/photo.jpg" 2>&1 >/dev/null | tail -1)
vips_t=$(best_ms vips thumbnail "$work/photo.jpg" "$work/thumb.v" "$thumb")
printf '  %-34s %8s ms\n' "pimavo (decode, orient, reduce)" "$ours"
printf '  %-34s %8s ms   ratio %s\n' "vips thumbnail $thumb" "$vips_t" "$(ratio "$ours" "$vips_t")"

# What the user waits for: from starting the editor until the picture is painted.
first=$(bash bench/first_frame.sh "$work/photo.jpg" | sed -n 's/.*: \([0-9]*\) ms.*/\1/p')
echo
echo "Launch to first frame, the ${w} x ${h} JPEG"
printf '  %-34s %8s ms\n' "pimavo (editor started on it)" "$first"
printf '  %-34s %8s ms   ratio %s\n' "vips thumbnail $thumb" "$vips_t" "$(ratio "$first" "$vips_t")"

echo
echo "Save ${w} x ${h}"
ours_jpg=$("$build/bench/peer_io" save "$work/photo.jpg" "$work/out.jpg" image/jpeg 2>&1 >/dev/null | tail -1)
vips_jpg=$(best_ms vips copy "$work/photo.ppm" "$work/vout.jpg[Q=90]")
ours_tif=$("$build/bench/peer_io" save "$work/photo.jpg" "$work/out.tif" public.tiff 2>&1 >/dev/null | tail -1)
vips_tif=$(best_ms vips copy "$work/photo.ppm" "$work/vout.tif[compression=deflate]")
printf '  %-34s %8s ms   vips copy PPM to JPEG Q90: %s ms, ratio %s\n' "pimavo JPEG Q90 with metadata" "$ours_jpg" \
    "$vips_jpg" "$(ratio "$ours_jpg" "$vips_jpg")"
printf '  %-34s %8s ms   vips copy PPM to deflate TIFF: %s ms, ratio %s\n' "pimavo deflate TIFF with metadata" \
    "$ours_tif" "$vips_tif" "$(ratio "$ours_tif" "$vips_tif")"

# Open and save a real 18-megapixel JPEG as JPEG, end to end, processes started included.
ours_c=$(best_ms "$build/src/cli/pimavo-cli" convert "$real" "$work/c.jpg" --quality 0.9)
vips_c=$(best_ms vips copy "$real" "$work/vc.jpg[Q=90]")
echo
echo "Open and save $(basename "$real") ($(vipsheader -f width "$real") x $(vipsheader -f height "$real")) as JPEG Q90"
printf '  %-34s %8s ms\n' "pimavo-cli convert --quality 0.9" "$ours_c"
printf '  %-34s %8s ms   ratio %s\n' "vips copy [Q=90]" "$vips_c" "$(ratio "$ours_c" "$vips_c")"

# PNG, end to end: open the JPEG, write the PNG; the file sizes beside the times.
for size in "3464 2310" "$w $h"; do
    read -r pw ph <<<"$size"
    vips thumbnail "$work/photo.jpg" "$work/p.jpg" "$pw" --height "$ph" --size force
    ours_png=$(best_ms "$build/src/cli/pimavo-cli" convert "$work/p.jpg" "$work/out.png")
    vips_png=$(best_ms vips copy "$work/p.jpg" "$work/vout.png")
    echo
    echo "JPEG to PNG, ${pw} x ${ph}"
    printf '  %-34s %8s ms   %6.1f MB\n' "pimavo-cli convert" "$ours_png" "$(awk -v s="$(stat -c %s "$work/out.png")" 'BEGIN { print s / 1e6 }')"
    printf '  %-34s %8s ms   %6.1f MB   ratio %s\n' "vips copy" "$vips_png" \
        "$(awk -v s="$(stat -c %s "$work/vout.png")" 'BEGIN { print s / 1e6 }')" "$(ratio "$ours_png" "$vips_png")"
done

for sigma in 10 90; do
    ours=$("$build/bench/peer_blur" "$work/in.raw" "$w" "$h" "$sigma")
    vips_all=$(best_ms vips gaussblur "$work/in.v" "$work/out.v" "$sigma" --precision approximate)
    vips_io=$(best_ms vips copy "$work/in.v" "$work/out.v")
    gegl_all=$(best_ms gegl "$work/in.tif" -o "$work/out.tif" -- gaussian-blur std-dev-x="$sigma" std-dev-y="$sigma")
    gegl_io=$(best_ms gegl "$work/in.tif" -o "$work/out.tif")
    vips_blur=$(( vips_all - vips_io ))
    gegl_blur=$(( gegl_all - gegl_io ))
    echo
    echo "Gaussian blur sigma $sigma"
    printf '  %-34s %8s ms\n' "pimavo (in memory)" "$ours"
    printf '  %-34s %8s ms   ratio %s (with its I/O: %s ms, ratio %s)\n' "vips gaussblur, I/O subtracted" "$vips_blur" \
        "$(ratio "$ours" "$vips_blur")" "$vips_all" "$(ratio "$ours" "$vips_all")"
    printf '  %-34s %8s ms   ratio %s (with its I/O: %s ms)\n' "gegl gaussian-blur, I/O subtracted" "$gegl_blur" \
        "$(ratio "$ours" "$gegl_blur")" "$gegl_all"
done

# The saved result: a painted mask and a sepia background over the full-resolution photo, from the
# JPEG to a JPEG, beside the same job as a vips pipeline (grey background, mask blend).
vips black "$work/mk.v" "$w" "$h"
vips draw_circle "$work/mk.v" 255 $(( w / 2 )) $(( h / 2 )) $(( h / 4 )) --fill
vips copy "$work/mk.v" "$work/mask.png"
ours_r=$(best_ms "$build/src/cli/pimavo-cli" render "$work/photo.jpg" "$work/r.jpg" --mask "$work/mask.png" --background sepia)
vips_r=$(best_ms bash -c "vips colourspace '$work/photo.jpg' '$work/g.v' b-w && vips colourspace '$work/g.v' '$work/g3.v' srgb && vips ifthenelse '$work/mask.png' '$work/photo.jpg' '$work/g3.v' '$work/vr.jpg' --blend")
echo
echo "Result of a ${w} x ${h} photo with a painted mask and a sepia background, JPEG to JPEG"
printf '  %-34s %8s ms\n' "pimavo-cli render --mask --background sepia" "$ours_r"
printf '  %-34s %8s ms   ratio %s\n' "vips colourspace + ifthenelse --blend" "$vips_r" "$(ratio "$ours_r" "$vips_r")"

echo
echo "Peak memory of a session on the ${w} x ${h} photo (open, 50 strokes, preset 2, result)"
"$build/bench/canvas_session" "$work/photo.jpg" | sed 's/^/  /'
