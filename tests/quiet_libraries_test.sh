#!/usr/bin/env bash
# The check that keeps library code off standard output: passes on the sources, and catches each
# kind of stray write in a small tree made for it (and lets the front ends' own output be).
set -euo pipefail
check=$1
src=$2
bash "$check" "$src" || { echo "FAIL: the sources write to standard output"; exit 1; }

tmp=$(mktemp -d /tmp/pimavo-quiet.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
status=0
while IFS='|' read -r expect file line; do
    rm -rf "$tmp/src"
    mkdir -p "$tmp/src/$(dirname "$file")"
    printf '%s\n' "$line" >"$tmp/src/$file"
    if bash "$check" "$tmp/src" 2>/dev/null; then got=pass; else got=fail; fi
    if [[ $got != "$expect" ]]; then
        echo "FAIL: expected $expect for $file: $line"
        status=1
    fi
done <<'CASES'
fail|engine/A.cpp|    std::printf("%d\n", 1);
fail|picker/B.cpp|    printf("steps: %d\n", n);
fail|imageio/C.h|    std::cout << "orientation";
fail|canvas/D.cpp|    std::fputs("x", stdout);
fail|app/E.cpp|    puts("hello");
fail|widgets/F.cpp|    qDebug() << "size";
fail|sharing/G.cpp|    QTextStream(stdout) << "sent";
pass|engine/H.cpp|    std::snprintf(buffer, sizeof buffer, "%d", 1);
pass|canvas/I.cpp|    qCDebug(lcCanvas) << "size";
pass|cli/main.cpp|    std::printf("%s\n", name);
pass|app/main.cpp|    std::printf("pimavo %s\n", version);
CASES
exit $status
