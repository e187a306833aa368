#!/usr/bin/env bash
# Time and peak memory of a full-size selective-colour render of very large photos, beside vips
# doing the same composition, in one run, with ratios.
#   bash bench/fullsize.sh [PHOTO]
# The job: a JPEG of 45 and of 100 megapixels (a real photo scaled up with vips), a grey background
# with the photo's colour brought back through a round mask stretched over the photo, saved as a
# JPEG at quality 90 at the photo's own size.
#   pimavo: pimavo-cli render IN OUT.jpg --stroke ... (the editor's pipeline: decode, working copy,
#           brush stroke, full-size composition and encoding)
#   vips:   colourspace b-w → srgb, a mask drawn at an eighth of the size and resized to the photo,
#           ifthenelse --blend, saved as JPEG Q90 (intermediates in vips' own format)
# Time and peak memory come from /usr/bin/time -v; the test JPEGs live in /tmp.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PIMAVO_BUILD_DIR:-build}
cli="$build/src/cli/pimavo-cli"
[[ -x "$cli" ]] || { echo "build pimavo-cli first (cmake --build $build --target pimavo-cli)" >&2; exit 1; }
source=${1:-}
if [[ -z "$source" ]]; then
    for candidate in /tmp/pimavo-photos/Elephants-18MP.jpg resources/samples/ladybird.jpg; do
        [[ -f "$candidate" ]] && { source=$candidate; break; }
    done
fi
work=/tmp/pimavo-fullsize-bench
mkdir -p "$work"
trap 'rm -f "$work"/*.v "$work"/out-*.jpg' EXIT

# Wall seconds and peak resident megabytes of a command, as "SECONDS MB".
measure() {
    local log="$work/time.log"
    /usr/bin/time -v "$@" >/dev/null 2>"$log" || { cat "$log" >&2; return 1; }
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + p[i] }
                /Maximum resident set size/ { kb = $2 }
                END { printf "%.2f %d\n", s, kb / 1024 }' "$log"
}

vips_job() {
    local in=$1 out=$2 w=$3 h=$4
    local sw=$(( w / 8 )) sh=$(( h / 8 ))
    vips colourspace "$in" "$work/grey.v" b-w
    vips colourspace "$work/grey.v" "$work/grey3.v" srgb
    vips black "$work/mask.v" "$sw" "$sh"
    vips draw_circle "$work/mask.v" 255 $(( sw / 2 )) $(( sh / 2 )) $(( sh / 4 )) --fill
    vips resize "$work/mask.v" "$work/maskbig.v" "$(awk -v a="$w" -v b="$sw" 'BEGIN { print a / b }')" \
        --vscale "$(awk -v a="$h" -v b="$sh" 'BEGIN { print a / b }')"
    vips ifthenelse "$work/maskbig.v" "$in" "$work/grey3.v" "$out[Q=90]" --blend
}
export -f vips_job
export work

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) print "n/a"; else printf "%.2f", a / b }'; }

echo "Photo: $source"
for size in "8208 5472 45" "12240 8160 100"; do
    read -r w h mp <<<"$size"
    photo="$work/photo-${mp}mp.jpg"
    [[ -f "$photo" ]] || vips thumbnail "$source" "$photo[Q=92]" "$w" --height "$h" --size force
    # A stroke across the middle with a brush a quarter of the height: colour back in a band.
    stroke="$(( w / 4 )),$(( h / 2 )),$(( w * 3 / 4 )),$(( h / 2 ))"
    read -r ours_s ours_mb < <(measure "$cli" render "$photo" "$work/out-pimavo.jpg" --stroke "$stroke" \
        --brush $(( h / 4 )))
    got=$(vipsheader -f width "$work/out-pimavo.jpg")x$(vipsheader -f height "$work/out-pimavo.jpg")
    read -r vips_s vips_mb < <(measure bash -c "vips_job '$photo' '$work/out-vips.jpg' $w $h")
    echo
    echo "$mp MP ($w x $h JPEG), grey background, colour through a stretched mask, JPEG Q90"
    printf '  %-28s %7s s %7s MB   (wrote %s)\n' "pimavo-cli render" "$ours_s" "$ours_mb" "$got"
    printf '  %-28s %7s s %7s MB\n' "vips (5 commands)" "$vips_s" "$vips_mb"
    printf '  %-28s %7s   %7s\n' "ratio pimavo / vips" "$(ratio "$ours_s" "$vips_s")" "$(ratio "$ours_mb" "$vips_mb")"
done
