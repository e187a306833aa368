#!/usr/bin/env bash
# Work survives a killed editor: paint on a virtual screen, let the session be kept, kill the editor
# outright (SIGKILL), start it again, restore from the question it asks, and compare the picture the
# restored window keeps with the one the killed editor had kept, pixel for pixel.
set -euo pipefail
source=$1
build=$2
work=$(mktemp -d)
pids=()
cleanup() {
    local status=$?
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
    # What the editors said is the first thing to read when this fails.
    if ((status != 0)); then
        for log in "$work"/*.log; do [[ -s "$log" ]] && { echo "--- $(basename "$log")"; tail -n 40 "$log"; }; done
    fi
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work"/{home,state,run,tmp,config,cache}
chmod 700 "$work/run"
export HOME=$work/home XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/run TMPDIR=$work/tmp \
    XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache PIMAVO_AUTOSAVE_SECONDS=1
unset WAYLAND_DISPLAY
# The server picks a free display itself and names it once it accepts connections: a display whose
# socket file is free may still be taken by another server's abstract socket, which only the server
# finds out.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
read -r _ xvfb <&3
pids+=("$xvfb")
display=""
read -r -t 20 number <&3 && display=":$number"
[[ -n "$display" ]] || { echo "no virtual screen"; exit 1; }
export DISPLAY=$display
cli="$build/src/cli/pimavo-cli"
cp "$source/resources/samples/ladybird.jpg" "$work/photo.jpg"

# Polls until a command succeeds (at most 60 s: a loaded machine starts the editor slowly).
until_true() {
    for _ in $(seq 600); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "gave up waiting for: $*"
    return 1
}
# A file that has stopped changing: its writer is done with it.
settled() {
    local a b
    a=$(stat -c %Y.%s "$1" 2>/dev/null) || return 1
    sleep 1.5
    b=$(stat -c %Y.%s "$1" 2>/dev/null) || return 1
    [[ "$a" == "$b" ]]
}

"$build/src/app/pimavo" "$work/photo.jpg" >"$work/first.log" 2>&1 &
first=$!
pids+=("$first")
until_true xdotool search --onlyvisible --name "photo.jpg"
window=$(xdotool search --onlyvisible --name "photo.jpg" | head -1)
sleep 1
# A stroke across the middle of the canvas.
read -r x y w h < <(xdotool getwindowgeometry --shell "$window" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}')
cx=$((x + w / 2 - 100)) cy=$((y + h / 2))
xdotool mousemove "$cx" "$cy" mousedown 1
for i in $(seq 1 12); do xdotool mousemove $((cx + 15 * i)) $((cy + 4 * i)); sleep 0.02; done
xdotool mouseup 1
kept="$work/state/pimavo/session-$first-1.pimavo"
until_true test -s "$kept"
until_true settled "$kept"
cp "$kept" "$work/before.pimavo"
kill -9 "$first"

"$build/src/app/pimavo" >"$work/second.log" 2>&1 &
second=$!
pids+=("$second")
until_true xdotool search --onlyvisible --name "Recover Unsaved Work"
sleep 0.5
question=$(xdotool search --onlyvisible --name "Recover Unsaved Work" | head -1)
xdotool windowfocus --sync "$question"
xdotool key Return
restored="$work/state/pimavo/session-$second-1.pimavo"
until_true test -s "$restored"
# Written again from the restored window once it has looked at it.
sleep 2.5
until_true settled "$restored"
[[ ! -e "$kept" ]] || { echo "the killed editor's session is still there"; exit 1; }

"$cli" render "$work/before.pimavo" "$work/before.png" >/dev/null
"$cli" render "$restored" "$work/after.png" >/dev/null
vips subtract "$work/before.png" "$work/after.png" "$work/d.v"
vips abs "$work/d.v" "$work/a.v"
differs=$(vips max "$work/a.v")
awk -v d="$differs" 'BEGIN { exit !(d == 0) }' || { echo "the restored picture differs by up to $differs"; exit 1; }
# And the painting is in it: the kept picture is not the plain photo's.
"$cli" render "$work/photo.jpg" "$work/plain.png" >/dev/null
vips subtract "$work/before.png" "$work/plain.png" "$work/p.v"
vips abs "$work/p.v" "$work/pa.v"
awk -v d="$(vips max "$work/pa.v")" 'BEGIN { exit !(d > 0) }' || { echo "the stroke was not kept"; exit 1; }
echo ok
