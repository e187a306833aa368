#!/usr/bin/env bash
# Remakes the seed corpora in fuzz/corpus/<fuzzer>/: small valid inputs, made with the program's own
# writers where it has them (build-san's make_seeds), and a few near-misses of each. The seeds are
# committed; this is how they were made. Needs the sanitized build (scripts/configure-sanitized.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(bash scripts/configure-sanitized.sh address)
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" --parallel 2 --target make_seeds
corpus=fuzz/corpus
rm -rf "$corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/make_seeds" resources/samples/ladybird.jpg "$corpus"

# Photos: a thumbnail of the sample in every type the decoder reads.
mkdir -p "$corpus/decode_fuzzer"
vips thumbnail resources/samples/ladybird.jpg "$work/start.v" 24
for ext in jpg png tif bmp webp jp2 exr hdr; do vips copy "$work/start.v" "$corpus/decode_fuzzer/start.$ext" 2>/dev/null || true; done
vips copy "$work/start.v" "$corpus/decode_fuzzer/start16.png[bitdepth=16]"
vips copy "$work/start.v" "$corpus/decode_fuzzer/start-deflate.tif[compression=deflate]"
cp "$corpus/decode_fuzzer/start.jpg" "$corpus/decode_fuzzer/start-rotated.jpg"
exiftool -q -overwrite_original -Orientation#=6 -Make=Start "$corpus/decode_fuzzer/start-rotated.jpg"
head -c 600 "$corpus/decode_fuzzer/start.png" >"$corpus/decode_fuzzer/cut.png"

# Projects and archives: cut short, a checksum that does not match, packed again (deflated) by zip.
painted=$corpus/project_fuzzer/painted.pimavo
head -c $(($(stat -c %s "$painted") / 2)) "$painted" >"$corpus/project_fuzzer/cut.pimavo"
cp "$painted" "$corpus/project_fuzzer/bad-checksum.pimavo"
offset=$(grep -boa 'color-layer.png' "$painted" | head -1 | cut -d: -f1)
printf '\x00' | dd of="$corpus/project_fuzzer/bad-checksum.pimavo" bs=1 seek=$((offset + 40)) conv=notrunc status=none
mkdir "$work/unpacked" && (cd "$work/unpacked" && unzip -q "$OLDPWD/$painted" && zip -q -X -9 -r ../repacked.zip mimetype manifest.json original mask.png color-layer.png thumbnail.png)
cp "$work/repacked.zip" "$corpus/project_fuzzer/repacked.pimavo"
cp "$work/repacked.zip" "$corpus/zip_fuzzer/repacked.zip"
cp "$corpus/project_fuzzer/cut.pimavo" "$corpus/zip_fuzzer/cut.zip"
(cat "$corpus/zip_fuzzer/opened.zip"; printf 'a comment after the archive') >"$corpus/zip_fuzzer/trailing.zip"

# Manifests that must be refused: a newer format, an unknown treatment, a blur beyond 100, no size.
m=$corpus/manifest_fuzzer
sed 's/"version": 1/"version": 7/' "$m/painted.json" >"$m/newer.json"
sed 's/"treatment": "CISepiaTone"/"treatment": "Bogus"/' "$m/painted.json" >"$m/bad-treatment.json"
sed 's/"backgroundBlur": 4/"backgroundBlur": 1000/' "$m/painted.json" >"$m/big-blur.json"
grep -v workingSize "$m/opened.json" >"$m/no-size.json" || true

# Kernels: every kernel the program has, and three that must not compile.
mkdir -p "$corpus/kernel_fuzzer"
cp resources/kernels/*.cifilter "$corpus/kernel_fuzzer/"
printf 'kernel vec4 k(sampler s) { return sample(s, samplerCoord(s)) }\n' >"$corpus/kernel_fuzzer/no-semicolon.txt"
printf 'kernel float k(float a) { vec2 v = vec2(a, 2.0); return v; }\n' >"$corpus/kernel_fuzzer/wrong-type.txt"
printf 'kernel vec4 k(sampler s, float a) { if (a > 0.5) { return vec4(a); } return s.rgba @ 1; }\n' \
    >"$corpus/kernel_fuzzer/bad-character.txt"

# Help-video lists (no writer: as the help server publishes them) and near-misses.
h=$corpus/helpvideo_fuzzer
mkdir -p "$h"
printf '%s\n' '{"videos":[{"name":"masks","title":"Painting colour back","duration":95,"thumbnail":"thumbs/masks.png","url":"videos/masks.webm"},{"name":"looks","title":"Looks","duration":3723.4,"url":"https://cdn.example/looks.mp4"}]}' >"$h/object.json"
printf '%s\n' '[{"name":"a","title":"A","url":"a.ogv"},{"name":"f","title":"F","url":"file:///etc/passwd"},{"name":"j","title":"J","url":"javascript:void 0"}]' >"$h/array.json"
printf '%s\n' '{"videos":[{"name":" ","title":"T","url":"x.ogv"},{"title":"T","url":"x.ogv","duration":-3}]}' >"$h/incomplete.json"
printf '%s\n' '{"error":"gone"}' >"$h/no-list.json"
printf '%s\n' '<html>Service unavailable</html>' >"$h/not-json.html"

# The services' answers (no writer: as the services send them) and near-misses.
s=$corpus/sharing_fuzzer
mkdir -p "$s"
printf '%s' '{"access_token":"abc","refresh_token":"def","expires_in":3600,"token_type":"Bearer"}' >"$s/oauth2-token.json"
printf '%s' '{"access_token":"abc","expires_in":"86400"}' >"$s/oauth2-refresh.json"
printf '%s' '{"error":"invalid_grant","error_description":" The code has expired "}' >"$s/oauth2-error.json"
printf '%s' 'oauth_token=72157&oauth_token_secret=a1b2&user_nsid=12345%40N01&username=painter' >"$s/flickr-token.form"
printf '%s' '{"user":{"id":"12345@N01","username":{"_content":"painter"}},"stat":"ok"}' >"$s/flickr-login.json"
printf '%s' '{"stat":"fail","code":98,"message":"Invalid auth token"}' >"$s/flickr-login-fail.json"
printf '%s' '<?xml version="1.0" encoding="utf-8" ?><rsp stat="ok"><photoid>1234</photoid></rsp>' >"$s/flickr-upload.xml"
printf '%s' '<?xml version="1.0"?><rsp stat="fail"><err code="6" msg="Filesize too large"/></rsp>' >"$s/flickr-upload-fail.xml"
printf '%s' '{"id":"1","client_id":"cid","client_secret":"csecret","name":"Pimavo"}' >"$s/mastodon-app.json"
printf '%s' '{"id":"1","username":"painter","acct":"painter","display_name":"Painter"}' >"$s/mastodon-account.json"
printf '%s' '{"id":"109","type":"image","url":null}' >"$s/mastodon-media-processing.json"
printf '%s' '[{"id":"5","url":"https://m.example/@painter/5","media_attachments":[{"id":109,"type":"image"}]}]' >"$s/mastodon-statuses.json"
printf '%s' '{"meta":{"status":200,"msg":"OK"},"response":{"user":{"name":"painter","blogs":[{"name":"second","title":"","primary":false},{"name":"painter","title":"Paintings","primary":true}]}}}' >"$s/tumblr-user.json"
printf '%s' '{"meta":{"status":201,"msg":"Created"},"response":{"id":7654321,"state":"published"}}' >"$s/tumblr-post.json"
printf '%s' '{"meta":{"status":401,"msg":"Unauthorized"},"response":[],"errors":[{"title":"Unauthorized","code":0,"detail":"Log in again"}]}' >"$s/tumblr-error.json"
printf '%s' 'Wed, 21 Oct 2037 07:28:00 GMT' >"$s/retry-after-date.txt"
printf '%s' '120' >"$s/retry-after-seconds.txt"
echo "Seeds: $(find "$corpus" -type f | wc -l) files, $(du -sh "$corpus" | cut -f1)."
