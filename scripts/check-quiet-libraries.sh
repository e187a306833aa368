#!/usr/bin/env bash
# Fails, naming each line, where code under SRC (default: src) writes to standard output or logs
# outside a category. Standard output belongs to the programs' own answers: the command-line front
# end (cli/) and the editor's --help, --version and start-up timing (app/main.cpp).
set -euo pipefail
src=${1:-src}
pattern='\bprintf[[:space:]]*\(|std::cout|\bputs[[:space:]]*\(|\bstdout\b|\bqDebug[[:space:]]*\(|\bqInfo[[:space:]]*\('
found=$(grep -rnE --include='*.cpp' --include='*.h' --include='*.hpp' "$pattern" "$src" |
        grep -vE "^$src/cli/|^$src/app/main\.cpp:" || true)
if [[ -n $found ]]; then
    echo "Library code writes to standard output or logs without a category (use core/Logging.h or engine/Log.h):" >&2
    echo "$found" >&2
    exit 1
fi
