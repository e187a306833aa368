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
# Numbers read the same under a decimal-comma locale, which the commands that start Qt take on.
if localedef -i de_DE -f UTF-8 "$work/de_DE.UTF-8" 2>/dev/null; then
    LOCPATH=$work LC_ALL=de_DE.UTF-8 "$cli" render "$sample" "$work/de.jpg" --exposure 0.5 --hue +0.25 >/dev/null ||
        { echo "a German locale refused 0.5"; exit 1; }
    LOCPATH=$work LC_ALL=de_DE.UTF-8 "$cli" render "$sample" "$work/de.jpg" --exposure 0,5 2>/dev/null &&
        { echo "a German locale took 0,5 for a number"; exit 1; }
else
    echo "localedef could not make a German locale; the decimal-comma case is not checked"
fi
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
# Colour picking: three blocks (red, green, blue) with grain. A pick gives its block back its colour
# to the very edge of the photo and leaves the others grey; more picks add their blocks.
blocks() { # WIDTH HEIGHT OUT
    local third=$(($1 / 3))
    vips black "$work/k3.v" "$third" "$2" --bands 3
    vips linear "$work/k3.v" "$work/r.v" "1 1 1" "200 40 40" --uchar
    vips linear "$work/k3.v" "$work/g.v" "1 1 1" "40 170 60" --uchar
    vips linear "$work/k3.v" "$work/b.v" "1 1 1" "50 90 210" --uchar
    vips arrayjoin "$work/r.v $work/g.v $work/b.v" "$work/flat.v" --across 3
    vips gaussnoise "$work/n.v" "$1" "$2" --sigma 4 --mean 0
    vips bandjoin "$work/n.v $work/n.v $work/n.v" "$work/n3.v"
    vips add "$work/flat.v" "$work/n3.v" "$work/sum.v"
    vips cast "$work/sum.v" "$3" uchar
}
coloured() { # FILE X Y: red, green or blue clearly ahead of the others
    read -r r g b < <(vips getpoint "$1" "$2" "$3" | tr ' ' '\n' | head -3 | xargs)
    awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN { m = r; if (g > m) m = g; if (b > m) m = b;
        n = r + g + b - m; exit !(m * 2 - n > 100) }' || { echo "$1 $2,$3 not coloured: $r $g $b"; exit 1; }
}
grey() { # FILE X Y
    read -r r g b < <(vips getpoint "$1" "$2" "$3" | tr ' ' '\n' | head -3 | xargs)
    awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN { d = r - g; if (d < 0) d = -d; e = g - b; if (e < 0) e = -e;
        exit !(d < 4 && e < 4) }' || { echo "$1 $2,$3 not grey: $r $g $b"; exit 1; }
}
blocks 1200 800 "$work/blocks.png"
"$cli" render "$work/blocks.png" "$work/p1.png" --pick 200,400 >/dev/null
for xy in "0 0" "399 0" "0 799" "399 799" "200 400"; do coloured "$work/p1.png" $xy; done
for xy in "400 0" "600 400" "799 799" "800 0" "1199 799"; do grey "$work/p1.png" $xy; done
"$cli" render "$work/blocks.png" "$work/p2.png" --pick 200,400 --pick 1000,10,0.02 >/dev/null
for xy in "0 0" "399 799" "800 0" "1199 799" "1000 400"; do coloured "$work/p2.png" $xy; done
for xy in "400 0" "600 400" "799 799"; do grey "$work/p2.png" $xy; done
# Above two megapixels the picker works on the photo reduced; the point is still in photo pixels.
blocks 2400 1600 "$work/big.png"
"$cli" render "$work/big.png" "$work/p3.png" --pick 2000,1200 >/dev/null
for xy in "2000 1200" "1700 100" "2300 1500"; do coloured "$work/p3.png" $xy; done
for xy in "400 800" "1200 800" "1500 100"; do grey "$work/p3.png" $xy; done
help=$("$cli" --help) # whole: grep -q would close the pipe on a help of several writes
grep -q -- "--pick X,Y" <<<"$help" || { echo "--pick missing from the help"; exit 1; }

# Bad values are refused with a reason.
for bad in "--exposure x" "--background purple" "--softness 200" "--mask $work/none.png" "--pick 5" \
    "--pick a,b" "--pick 10,10,0.5" "--pick 10,10,0.01,3" "--pick 5000,10"; do
    # shellcheck disable=SC2086
    "$cli" render "$sample" "$work/z.jpg" $bad 2>"$work/err" && { echo "accepted: $bad"; exit 1; }
    [[ -s "$work/err" ]] || { echo "no reason given for: $bad"; exit 1; }
done
echo ok
