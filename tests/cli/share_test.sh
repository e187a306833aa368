#!/usr/bin/env bash
# pimavo-cli sign-in, share and mail against a fake Mastodon server and a fake mail portal, with a
# keyring of the test's own so that the sign-in of one command is the account of the next; the
# pictures the server and the portal received are read back by exiftool. Runs inside
# dbus-run-session.
set -euo pipefail
cli=$1
fake=$2
portal=$3
sample=$4
sharing_tests=$5
source "$sharing_tests/start-keyring.sh"
work=$(mktemp -d)
fake_pid=
cleanup() {
    exec 3>&- 2>/dev/null || true
    [[ -n "$fake_pid" ]] && wait "$fake_pid" 2>/dev/null || true
    rm -rf "$work" "$keyring_home"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache BROWSER=$sharing_tests/fake-browser.sh
# The mail command leaves its export for the mail program: here, inside the test's folder.
export TMPDIR=$work/tmp
mkdir -p "$work/media" "$TMPDIR"
mkfifo "$work/control"
"$fake" mastodon "$work/url" "$work/media" <"$work/control" >"$work/received.txt" &
fake_pid=$!
exec 3>"$work/control"
for _ in $(seq 100); do [[ -s "$work/url" ]] && break; sleep 0.1; done
server=$(cat "$work/url")

"$cli" sign-in mastodon --server http://mastodon.example >/dev/null 2>"$work/err.txt" && fail "plain http accepted"
grep -q "https" "$work/err.txt" || fail "refusal does not say why: $(cat "$work/err.txt")"

signed=$("$cli" sign-in mastodon --server "$server" 2>/dev/null)
[[ "$signed" == "Signed in to Mastodon as @painter@127.0.0.1" ]] || fail "sign-in said: $signed"

"$cli" share mastodon "$sample" --visibility everyone >/dev/null 2>"$work/err.txt" && fail "unknown visibility accepted"
grep -q "unlisted" "$work/err.txt" || fail "visibilities not listed: $(cat "$work/err.txt")"

posted=$("$cli" share mastodon "$sample" --size 800 --text "Red on grey" --alt "A ladybird" --tags bw,macro \
    --visibility unlisted 2>"$work/progress.txt")
[[ "$posted" == "$server/@painter/"* ]] || fail "share printed: $posted"
tail -n 1 "$work/progress.txt" | grep -qx "100%" || fail "progress: $(cat "$work/progress.txt")"

# Where the photo was taken goes only when asked for (checked once the server has written what it
# received: the second and third pictures).
cp "$sample" "$work/placed.jpg"
exiftool -q -overwrite_original -Make=Pimavo -GPSLatitude=48.85 -GPSLatitudeRef=N -GPSLongitude=2.35 \
    -GPSLongitudeRef=E "$work/placed.jpg"
for location in no yes; do
    "$cli" share mastodon "$work/placed.jpg" --size 640 --location "$location" >/dev/null 2>&1 ||
        fail "share --location $location failed"
done

# A sign-in or share on another server that fails leaves the working account as it was.
"$cli" sign-in mastodon --server http://127.0.0.1:9 >/dev/null 2>&1 && fail "sign-in to a closed port succeeded"
"$cli" share mastodon "$sample" --server http://127.0.0.1:9 --size 64 >/dev/null 2>&1 && fail "share elsewhere succeeded"
again=$("$cli" share mastodon "$sample" --size 64 --text "Still signed in" 2>"$work/err.txt") ||
    fail "the account was lost after a failed --server: $(cat "$work/err.txt")"
[[ "$again" == "$server/@painter/"* ]] || fail "share printed: $again"

# The server's reason for turning a post down reaches the user.
echo "reject Validation failed: Text character limit of 500 exceeded" >&3
"$cli" share mastodon "$sample" --size 64 --text "Too long" >/dev/null 2>"$work/err.txt" && fail "rejected post succeeded"
grep -q "Text character limit of 500 exceeded" "$work/err.txt" || fail "no reason given: $(cat "$work/err.txt")"

# A sign-in the server no longer accepts is gone from the keyring once the command has ended.
echo revoke >&3
"$cli" share mastodon "$sample" --size 64 >/dev/null 2>"$work/err.txt" && fail "revoked sign-in succeeded"
grep -q "sign in again" "$work/err.txt" || fail "revoked sign-in: $(cat "$work/err.txt")"
secret-tool search --all server Pimavo user mastodon 2>&1 | grep -q "attribute.user = mastodon" &&
    fail "the refused token is still in the keyring"

# Mail through the portal: the attachment arrives as a descriptor the portal reads.
mkdir -p "$work/bin" "$work/portal"
printf '#!/bin/sh\ntouch "%s"\n' "$work/xdg-email-ran" >"$work/bin/xdg-email"
chmod +x "$work/bin/xdg-email"
"$portal" "$work/portal" &
portal_pid=$!
for _ in $(seq 100); do [[ -e "$work/portal/ready" ]] && break; sleep 0.1; done
PATH="$work/bin:$PATH" "$cli" mail "$sample" || fail "mail through the portal failed"
wait "$portal_pid" || fail "the portal was not asked"
[[ ! -e "$work/xdg-email-ran" ]] || fail "xdg-email ran although the portal took the mail"
[[ $(exiftool -s -s -s -ImageWidth -ImageHeight "$work/portal/attachment-1" | tr '\n' ' ') == "2560 1600 " ]] ||
    fail "the portal's attachment is not the photo"
[[ -s "$work/portal/subject.txt" ]] || fail "no subject"

# Without the portal, xdg-email takes the picture.
printf '#!/bin/sh\nfor a in "$@"; do printf "%%s\\n" "$a"; done > "%s"\n' "$work/mail-args.txt" >"$work/bin/xdg-email"
chmod +x "$work/bin/xdg-email"
PATH="$work/bin:$PATH" "$cli" mail "$sample" || fail "mail failed"
attachment=$(grep -A1 -x -- "--attach" "$work/mail-args.txt" | tail -n 1)
[[ $(exiftool -s -s -s -FileType "$attachment") == JPEG ]] || fail "attachment is not a JPEG: $attachment"
rm -rf "$(dirname "$attachment")"
PATH="$work/empty" "$cli" mail "$sample" 2>"$work/err.txt" && fail "mail without a mail program succeeded"
grep -q "Mail application not found" "$work/err.txt" || fail "mail error: $(cat "$work/err.txt")"

exec 3>&-
wait "$fake_pid"
fake_pid=
received=$(cat "$work/received.txt")
grep -q "^problem:" <<<"$received" && fail "the server found: $received"
grep -qx "status: unlisted Red on grey" <<<"$received" || fail "status: $received"
[[ $(grep -c "^status: " <<<"$received") == 4 ]] || fail "not four statuses: $received"
grep -qx "description: A ladybird" <<<"$received" || fail "alt text: $received"
picture=$(grep "^picture: " <<<"$received" | head -n 1 | cut -d' ' -f2-)
size=$(exiftool -s -s -s -ImageWidth -ImageHeight "$picture" | tr '\n' ' ')
[[ "$size" == "800 500 " ]] || fail "picture is $size, not 800 × 500"
for n in 2 3; do
    placed=$(grep "^picture: " <<<"$received" | sed -n "${n}p" | cut -d' ' -f2-)
    [[ $(exiftool -s3 -Make "$placed") == Pimavo ]] || fail "picture $n lost its metadata"
    gps=$(exiftool -s3 -GPSLatitude "$placed")
    [[ $n == 3 && -n $gps || $n == 2 && -z $gps ]] || fail "picture $n: location \"$gps\""
done
echo "share: passed"
