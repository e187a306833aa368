#!/usr/bin/env bash
# Runs a test program as a Wayland client of a Weston of its own:
#   wayland_test.sh headless|seat PROGRAM [ARGUMENTS...]
# "headless" is Weston with no screen and no input devices; "seat" is Weston drawing into a virtual X
# screen, which gives it a seat (a pointer and a keyboard), without which a Wayland client has no
# clipboard and no drag and drop; "headless" also starts a second headless Weston, another session,
# named in PIMAVO_TEST_OTHER_WAYLAND_DISPLAY. The compositor's socket and runtime folder are private to the run,
# so runs side by side never meet. Without a Weston that starts, the test is skipped (exit 77), and
# says why.
set -euo pipefail
kind=$1
shift
work=$(mktemp -d)
pids=()
cleanup() {
    local status=$?
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    if ((status != 0 && status != 77)) && [[ -s "$work/weston.log" ]]; then
        echo "--- weston.log"
        tail -n 20 "$work/weston.log"
    fi
    rm -rf "$work"
}
trap cleanup EXIT
skip() {
    echo "SKIPPED: $*"
    [[ -s "$work/weston.log" ]] && tail -n 5 "$work/weston.log"
    exit 77
}
command -v weston >/dev/null || skip "weston is not installed (scripts/install-deps.sh installs it)"
mkdir -p "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run
socket=pimavo-test-$$
unset WAYLAND_DISPLAY DISPLAY
backend=(--backend=headless-backend.so)
if [[ "$kind" == seat ]]; then
    command -v Xvfb >/dev/null || skip "Xvfb is not installed (scripts/install-deps.sh installs it)"
    # The X server names a free display once it accepts connections.
    exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
    read -r _ xvfb <&3
    pids+=("$xvfb")
    read -r -t 20 number <&3 || skip "no virtual X screen for Weston to draw into"
    backend=(--backend=x11-backend.so --width=1200 --height=780)
    export DISPLAY=:$number
    # The X screen, for a test to move the seat's pointer on (xdotool).
    export PIMAVO_TEST_SEAT_DISPLAY=:$number
fi
weston "${backend[@]}" --socket="$socket" --idle-time=0 --no-config --log="$work/weston.log" >/dev/null 2>&1 &
pids+=("$!")
for _ in $(seq 200); do
    [[ -S "$XDG_RUNTIME_DIR/$socket" ]] && break
    kill -0 "${pids[-1]}" 2>/dev/null || skip "weston (${backend[*]}) ended at start"
    sleep 0.1
done
[[ -S "$XDG_RUNTIME_DIR/$socket" ]] || skip "weston (${backend[*]}) opened no socket in 20 s"
# A second session beside the first, headless, for the tests of one editor per session.
if [[ "$kind" == headless ]]; then
    weston --backend=headless-backend.so --socket="$socket-b" --idle-time=0 --no-config \
        --log="$work/weston-b.log" >/dev/null 2>&1 &
    pids+=("$!")
    for _ in $(seq 200); do
        [[ -S "$XDG_RUNTIME_DIR/$socket-b" ]] && break
        sleep 0.1
    done
    [[ -S "$XDG_RUNTIME_DIR/$socket-b" ]] && export PIMAVO_TEST_OTHER_WAYLAND_DISPLAY=$socket-b
fi
# The program is a Wayland client only: an X display beside it would let it reach X instead.
unset DISPLAY
QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$socket "$@"
