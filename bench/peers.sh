#!/usr/bin/env bash
# Times jobs in Pimavo and in peer tools on the same pixels, in one run, and prints the ratios.
# Peers: vips (libvips-tools) and gegl, installed by scripts/install-deps.sh.
#   bash bench/peers.sh [WIDTH HEIGHT]     (default 6000 × 4000, 24 megapixels)
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
