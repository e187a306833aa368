#!/usr/bin/env bash
# Projects on the command line: a project written by `render IN OUT.pimavo` renders, at full
# resolution, exactly the picture the same options give directly; a project taken further keeps what
# it had; other tools read the archive; damaged and newer projects are refused and nothing is written.
set -euo pipefail
cli=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
same() { # A B: identical pixels
    vips subtract "$1" "$2" "$work/d.v"
    vips abs "$work/d.v" "$work/a.v"
    [[ $(vips max "$work/a.v") == 0.000000 ]] || { echo "$1 and $2 differ by up to $(vips max "$work/a.v")"; exit 1; }
}
opts=(--stroke 1780,790,1800,800 --brush 190 --background sepia --exposure 0.3 --preset 2 --vignette 0.4)
"$cli" render "$sample" "$work/a.pimavo" "${opts[@]}" >/dev/null
unzip -tq "$work/a.pimavo" >/dev/null || { echo "the archive does not test clean"; exit 1; }
unzip -p "$work/a.pimavo" original/ladybird.jpg | cmp -s - "$sample" || { echo "the original is not kept byte for byte"; exit 1; }
unzip -p "$work/a.pimavo" mask.png >"$work/mask.png"
vipsheader "$work/mask.png" | grep -q "ushort, 1 band" || { echo "the mask is not 16-bit"; exit 1; }
"$cli" render "$work/a.pimavo" "$work/from-project.png" >/dev/null
"$cli" render "$sample" "$work/direct.png" "${opts[@]}" >/dev/null
[[ $(vipsheader -f width "$work/from-project.png") == 2560 ]] || { echo "not rendered at full resolution"; exit 1; }
same "$work/from-project.png" "$work/direct.png"

# Taken further: another treatment and a second stroke on top of what the project holds.
"$cli" render "$work/a.pimavo" "$work/b.pimavo" --background aged --brush 190 --stroke 300,300,320,320 >/dev/null
"$cli" render "$work/b.pimavo" "$work/b.png" >/dev/null
"$cli" render "$sample" "$work/b-direct.png" "${opts[@]}" --background aged --stroke 300,300,320,320 >/dev/null
same "$work/b.png" "$work/b-direct.png"

# Refused with a message naming the file; no output appears.
head -c 100000 "$work/a.pimavo" >"$work/cut.pimavo"
mkdir "$work/newer" && (cd "$work/newer" && unzip -q "$work/a.pimavo" &&
    sed -i 's/"version": 1/"version": 7/' manifest.json && zip -q -X -0 -r ../newer.pimavo mimetype manifest.json original mask.png)
for bad in cut newer; do
    "$cli" render "$work/$bad.pimavo" "$work/$bad.png" 2>"$work/err" && { echo "$bad project accepted"; exit 1; }
    grep -q "$bad.pimavo" "$work/err" || { echo "the error does not name $bad.pimavo: $(cat "$work/err")"; exit 1; }
    [[ ! -e "$work/$bad.png" ]] || { echo "$bad project wrote a picture"; exit 1; }
done
grep -q "newer version of Pimavo" "$work/err" || { echo "a newer project is not called one: $(cat "$work/err")"; exit 1; }
# Read whole before searching: grep -q stops reading at the first match, and with pipefail a help
# longer than one write would then fail on a closed pipe.
help=$("$cli" --help)
grep -q "pimavo" <<<"$help" || { echo "projects missing from the help"; exit 1; }
echo ok
