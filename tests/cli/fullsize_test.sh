#!/usr/bin/env bash
# Pictures keep the photo's own size and transparency, read back by an independent tool (vips):
# a photo above 32 megapixels rendered and converted at its size, the reduced size only when asked
# for after a shortage of memory was reported, and a transparent PNG saved as PNG, TIFF and WebP
# with its alpha and as JPEG on white.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
size() { echo "$(vipsheader -f width "$1")x$(vipsheader -f height "$1")"; }
px() { vips getpoint "$1" "$2" "$3" | xargs; } # all bands of one pixel, rounded by vips
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= t) }'; }

# 6000 × 5400 = 32.4 megapixels: a red left half and a blue right half with a little grain.
vips black "$work/k.v" 3000 5400 --bands 3
vips linear "$work/k.v" "$work/r.v" "1 1 1" "200 40 40" --uchar
vips linear "$work/k.v" "$work/b.v" "1 1 1" "40 60 200" --uchar
vips arrayjoin "$work/r.v $work/b.v" "$work/flat.v" --across 2
vips copy "$work/flat.v" "$work/big.jpg[Q=95]"

# render: the photo's size, its colour where the stroke went, grey elsewhere.
"$cli" render "$work/big.jpg" "$work/out.jpg" --stroke 1000,2700,1400,2700 --brush 600 >/dev/null
[[ $(size "$work/out.jpg") == 6000x5400 ]] || fail "render wrote $(size "$work/out.jpg"), not 6000x5400"
read -r r g b < <(px "$work/out.jpg" 1200 2700)
awk -v r="$r" -v g="$g" 'BEGIN { exit !(r > g + 100) }' || fail "no colour where the stroke went: $r $g $b"
read -r r g b < <(px "$work/out.jpg" 4500 500)
near "$r" "$b" 4 || fail "not grey away from the stroke: $r $g $b"
# convert: the same size.
"$cli" convert "$work/big.jpg" "$work/c.png" >/dev/null
[[ $(size "$work/c.png") == 6000x5400 ]] || fail "convert wrote $(size "$work/c.png"), not 6000x5400"

# Too little memory for the full size: said, with the reduced size on offer; nothing written.
if PIMAVO_AVAILABLE_MEMORY_MB=64 "$cli" render "$work/big.jpg" "$work/low.jpg" >/dev/null 2>"$work/err"; then
    fail "a render without the memory it needs reported success"
fi
[[ ! -e "$work/low.jpg" ]] || fail "a picture was written although the memory was short"
grep -q "6000 × 5400" "$work/err" || fail "the message does not give the full size: $(cat "$work/err")"
offered=$(sed -n 's/.*--reduced to write it at \([0-9]*\) × \([0-9]*\).*/\1x\2/p' "$work/err")
[[ -n "$offered" ]] || fail "the reduced size is not offered: $(cat "$work/err")"
"$cli" render "$work/big.jpg" "$work/low.jpg" --reduced \
    --stroke 1000,2700,1400,2700 --brush 600 >/dev/null
[[ $(size "$work/low.jpg") == "$offered" ]] || fail "--reduced wrote $(size "$work/low.jpg"), not $offered"
read -r r g b < <(px "$work/low.jpg" 1000 2400)
awk -v r="$r" -v g="$g" 'BEGIN { exit !(r > g + 100) }' || fail "--reduced lost the stroke: $r $g $b"

# A 400 × 300 PNG: opaque green on the left, half-transparent red in the middle, transparent on
# the right.
vips black "$work/a.v" 400 300 --bands 4
vips draw_rect "$work/a.v" "40 200 60 255" 0 0 134 300 --fill
vips draw_rect "$work/a.v" "220 30 30 128" 134 0 133 300 --fill
vips copy "$work/a.v" "$work/in.png"
# Cases: output, bands, alpha at the left, middle and right (-1: no alpha), and the right's colour.
while read -r out bands left middle right tolerance; do
    "$cli" render "$work/in.png" "$work/$out" --stroke 20,150,380,150 --brush 400 >/dev/null
    [[ $(vipsheader -f bands "$work/$out") == "$bands" ]] || fail "$out has $(vipsheader -f bands "$work/$out") bands"
    read -r -a l < <(px "$work/$out" 60 150)
    read -r -a m < <(px "$work/$out" 200 150)
    read -r -a r < <(px "$work/$out" 340 150)
    if [[ $bands == 4 ]]; then
        near "${l[3]}" "$left" 1 && near "${m[3]}" "$middle" 2 && near "${r[3]}" "$right" 1 ||
            fail "$out alpha ${l[3]} ${m[3]} ${r[3]}, not $left $middle $right"
        awk -v g="${l[1]}" -v r="${l[0]}" 'BEGIN { exit !(g > r + 100) }' || fail "$out lost the green: ${l[*]}"
        near "${m[0]}" 220 "$tolerance" || fail "$out half-transparent red is ${m[*]}"
    else
        # On white: transparent is white, half-transparent red is pink.
        for c in 0 1 2; do near "${r[$c]}" 255 "$tolerance" || fail "$out transparent part is not white: ${r[*]}"; done
        near "${m[0]}" 237 "$tolerance" && near "${m[1]}" 142 "$tolerance" || fail "$out half red on white is ${m[*]}"
    fi
done <<'EOF'
out.png 4 255 128 0 3
out.tif 4 255 128 0 3
out.webp 4 255 128 0 8
out.jpg 3 -1 -1 -1 8
EOF
# Converted without painting, the same.
"$cli" convert "$work/in.png" "$work/conv.png" >/dev/null
read -r -a r < <(px "$work/conv.png" 340 150)
[[ ${#r[@]} == 4 && ${r[3]} == 0 ]] || fail "convert made the transparent part ${r[*]}"
echo "ok"
