#!/usr/bin/env bash
# Runs the screen colour tests (the program given, with its arguments) on a virtual X screen of
# their own, whose root window they publish profiles on.
set -euo pipefail
unset WAYLAND_DISPLAY
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done' EXIT
# The server picks a free display itself and names it once it accepts connections.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
read -r _ xvfb <&3
pids+=("$xvfb")
display=""
read -r -t 20 number <&3 && display=":$number"
[[ -n "$display" ]] || { echo "no virtual screen"; exit 1; }
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
