#!/usr/bin/env bash
# A photo cut short, through the command-line front end: converted with a warning on standard error
# and the grey part in the output, as an independent tool (vips) reads it; nothing readable, refused.
set -euo pipefail
cli=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
size=$(stat -c %s "$sample")
head -c $((size * 6 / 10)) "$sample" >"$work/cut.jpg"
"$cli" convert "$work/cut.jpg" "$work/out.png" >/dev/null 2>"$work/err" || { echo "a photo cut short was refused"; cat "$work/err"; exit 1; }
grep -q "warning: .*cut.jpg.* is incomplete" "$work/err" || { echo "no warning on standard error"; cat "$work/err"; exit 1; }
[[ $(vipsheader -f height "$work/out.png") == 1600 ]] || { echo "the output is not the whole photo"; exit 1; }
read -r r g b < <(vips getpoint "$work/out.png" 1280 1590 | tr ' ' '\n' | head -3 | xargs)
awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN { exit !(r > 120 && r < 136 && g > 120 && g < 136 && b > 120 && b < 136) }' \
    || { echo "the missing part is not grey: $r $g $b"; exit 1; }
"$cli" convert "$sample" "$work/whole.png" >/dev/null 2>"$work/err2"
grep -q "warning" "$work/err2" && { echo "a whole photo was called incomplete"; exit 1; }
# Cut inside its headers: nothing to show, refused with the file's name.
head -c 600 "$sample" >"$work/headers.jpg"
"$cli" convert "$work/headers.jpg" "$work/none.png" 2>"$work/err3" >/dev/null && { echo "a file without picture data was accepted"; exit 1; }
grep -q "headers.jpg" "$work/err3" || { echo "the error does not name the file"; exit 1; }
[[ -e "$work/none.png" ]] && { echo "an output was written for nothing"; exit 1; }
echo ok
