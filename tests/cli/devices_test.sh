#!/usr/bin/env bash
# pimavo-cli devices, import and scan against libgphoto2's folder camera and SANE's test scanner,
# the files they write read back by the editor's own decoder and compared byte for byte.
set -euo pipefail
cli=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/sane" "$work/card/DCIM/100TEST" "$work/out"
echo test > "$work/sane/dll.conf"
printf 'number_of_devices 1\ntest-picture "Color pattern"\n' > "$work/sane/test.conf"
export SANE_CONFIG_DIR="$work/sane" PIMAVO_FOLDER_CAMERAS="$work/card"
cp "$sample" "$work/card/DCIM/100TEST/IMG_0001.JPG"
cp "$sample" "$work/card/DCIM/100TEST/IMG_0002.JPG"
echo "not a photo" > "$work/card/DCIM/100TEST/readme.txt"

listed=$("$cli" devices)
grep -qP '^camera\tDirectory Browse\tdisk:'"$work"'/card$' <<<"$listed" || fail "camera not listed: $listed"
grep -qP '^scanner\ttest:0\t' <<<"$listed" || fail "scanner not listed: $listed"

"$cli" import --camera "Directory Browse" --port "disk:$work/card" "$work/out" >"$work/first.txt"
[[ $(wc -l <"$work/first.txt") == 2 ]] || fail "first import: $(cat "$work/first.txt")"
cmp "$work/out/IMG_0001.JPG" "$sample" || fail "IMG_0001.JPG differs"
cmp "$work/out/IMG_0002.JPG" "$sample" || fail "IMG_0002.JPG differs"
# The same photos again are not copied twice; another photo under a name taken gets a number.
"$cli" import --camera "Directory Browse" --port "disk:$work/card" "$work/out" >/dev/null
[[ $(ls -A "$work/out" | wc -l) == 2 ]] || fail "copied twice: $(ls -A "$work/out")"
echo "another photo" > "$work/card/DCIM/100TEST/IMG_0001.JPG"
"$cli" import --camera "Directory Browse" --port "disk:$work/card" "$work/out" >/dev/null
[[ "$(cat "$work/out/IMG_0001 2.JPG")" == "another photo" ]] || fail "third import: $(ls -A "$work/out")"
cmp "$work/out/IMG_0001.JPG" "$sample" || fail "IMG_0001.JPG was overwritten"
[[ $(ls -A "$work/out" | wc -l) == 3 ]] || fail "stray files: $(ls -A "$work/out")"

"$cli" scan --device test:0 --resolution 100 --mode Gray "$work/page.png" >/dev/null
info=$("$cli" info "$work/page.png")
grep -q '"width": 787' <<<"$info" || fail "scan size: $info"
"$cli" scan --device test:0 --resolution 50 "$work/page.jpg" >/dev/null
grep -q '"width": 393' <<<"$("$cli" info "$work/page.jpg")" || fail "jpeg scan"

# Mistakes are messages and a failing status, and write nothing.
! "$cli" scan --device test:0 --resolution lots "$work/bad.png" 2>/dev/null || fail "bad resolution accepted"
! "$cli" scan --device test:9 "$work/bad.png" 2>/dev/null || fail "missing scanner accepted"
! "$cli" scan --device test:0 "$work/bad.xyz" 2>/dev/null || fail "unknown format accepted"
! "$cli" import --camera "No Such Camera" --port usb: "$work/bad" 2>/dev/null || fail "unknown camera accepted"
[[ ! -e "$work/bad.png" && ! -e "$work/bad.xyz" && ! -e "$work/bad" ]] || fail "a failed command wrote a file"
echo ok
