#!/usr/bin/env bash
# Fails, naming each file, where C++ under src, tests, bench or fuzz is not as the project's
# .clang-format lays it out. `bash scripts/check-format.sh --fix` rewrites those files in place.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z "$format" ]]; then
    echo "clang-format is not installed (bash scripts/install-deps.sh installs it)." >&2
    exit 2
fi
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
                                    'fuzz/*.cpp' 'fuzz/*.h')
if [[ "${1:-}" == "--fix" ]]; then
    "$format" -i "${files[@]}"
    exit 0
fi
# One run over every file; each place it would change is reported as `file:line:col: error: ...`.
mapfile -t bad < <("$format" --dry-run -Werror "${files[@]}" 2>&1 | grep -oE '^[^:]+:[0-9]+:[0-9]+: (error|warning)' |
                   cut -d: -f1 | sort -u || true)
if ((${#bad[@]})); then
    printf 'Not formatted: %s\n' "${bad[@]}" >&2
    echo "Run: bash scripts/check-format.sh --fix" >&2
    exit 1
fi
echo "All ${#files[@]} files are formatted."
