#!/usr/bin/env bash
# pimavo-cli filters: every operation under a kebab-case name of our own, with the names earlier
# versions used beside it, and --help saying those are still accepted.
set -euo pipefail
cli=$1
list=$("$cli" filters)
status=0
while read -r name _; do
    [[ $name =~ ^[a-z][a-z0-9-]*$ ]] || { echo "FAIL: not a name of our own: $name"; status=1; }
done <<<"$list"
while IFS='|' read -r name former; do
    line=$(grep -E "^$name  " <<<"$list" || true)
    [[ -n $line ]] || { echo "FAIL: $name is not listed"; status=1; continue; }
    [[ $line == *"[$former"* || $line == *", $former"* ]] || { echo "FAIL: $name does not name $former: $line"; status=1; }
done <<'CASES'
gaussian-blur|CIGaussianBlur
source-over|CISourceOverCompositing
color-controls|CIColorControls
drama|CIFilterDramaFX
radial-brush|CIFilterRadialBrush
set-alpha|SetAlpha
CASES
[[ $(wc -l <<<"$list") -eq 32 ]] || { echo "FAIL: $(wc -l <<<"$list") operations listed, 32 registered"; status=1; }
help=$("$cli" --help)
[[ $help == *"still accepted as aliases"* ]] || { echo "FAIL: --help does not mention the former names"; status=1; }
exit $status
