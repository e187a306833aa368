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
echo ok
