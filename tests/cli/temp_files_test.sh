#!/usr/bin/env bash
# The preset cache's folders in the temporary directory: a run leaves none of its own, and removes
# those of editors that ended without tidying up, never one of a process still running.
set -euo pipefail
cli=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp/pimavo-presets-999999999-gone01" "$work/tmp/pimavo-presets-1-alive1"
TMPDIR="$work/tmp" "$cli" render "$sample" "$work/out.jpg" --preset 1 >/dev/null
left=$(cd "$work/tmp" && ls -d pimavo-presets-* 2>/dev/null | tr '\n' ' ')
[[ "$left" == "pimavo-presets-1-alive1 " ]] || { echo "preset folders left: $left"; exit 1; }
echo ok
