#!/usr/bin/env bash
# Fails, naming each line, where code under SRC (default: src) includes a header of a layer it may
# not use. The layers are listed in LAYERS (default: cmake/layers.txt), lowest first; code may
# include headers of its own folder and of the lines above its own, never those of a sibling on its
# own line or of a line below. A file belongs to the deepest layer folder that holds it, and so does
# an included path ("sharing/services/X.h" is of sharing/services, "sharing/X.h" of sharing).
# Links between the layers' libraries are checked by cmake/Layering.cmake from the same list.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=${1:-src}
layers=$(realpath "${2:-$here/../cmake/layers.txt}")

# One pass over every #include "..." line: `file:line:text`, the file's path relative to src/.
found=$(cd "$src" && grep -rnE --include='*.cpp' --include='*.h' --include='*.hpp' \
            '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' . | sed 's|^\./||' |
        awk -v layers="$layers" -v src="$src" '
    BEGIN {
        n = 0
        while ((getline line < layers) > 0) {
            if (line ~ /^[[:space:]]*(#|$)/) continue
            count = split(line, folders, /[[:space:]]+/)
            for (i = 1; i <= count; ++i) if (folders[i] != "") rank[folders[i]] = n
            ++n
        }
    }
    # The layer of a path relative to src/ (a file, or an included header): its deepest layer folder.
    function layerOf(path,    f, best) {
        best = ""
        for (f in rank)
            if (index(path, f "/") == 1 && length(f) > length(best)) best = f
        return best
    }
    {
        file = $0; sub(/:.*/, "", file)
        rest = substr($0, length(file) + 2)
        number = rest; sub(/:.*/, "", number)
        header = rest; sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
        own = layerOf(file); other = layerOf(header)
        if (own == "" || other == "" || other == own || rank[other] < rank[own]) next
        why = rank[other] == rank[own] ? "a sibling layer" : "a higher layer"
        printf "%s/%s:%s: %s includes %s, of %s (%s)\n", src, file, number, own, header, why, other
    }' | sort)

if [[ -n $found ]]; then
    echo "Headers included across layers (see cmake/layers.txt):" >&2
    printf '%s\n' "$found" >&2
    exit 1
fi
