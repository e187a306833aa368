#!/usr/bin/env bash
# Builds oneTBB under ThreadSanitizer into the TSan build's folder and prints where it installed it.
# Debian's libtbb is built without it: TSan cannot see how TBB's workers take a task from the thread
# that made it (atomics in an uninstrumented library), so every parallel loop reported a race
# between building a task and running it. With TBB instrumented, a report is about our code.
# The source is Debian's own for the libtbb-dev installed (same version, same headers), from the
# package archive, checked against its hash. Built once; later runs reuse it.
#   bash scripts/sanitizers/tbb-for-tsan.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
version=2021.8.0
sha256=7e9111b8bb59c8800bf6d0b06afe7b0891937443d2dae1ee1101c8e2ede6a7ef
url=http://deb.debian.org/debian/pool/main/o/onetbb/onetbb_${version}.orig.tar.xz
prefix=$build/tbb-tsan
if [[ -f "$prefix/lib/libtbb.so.12" ]]; then
    echo "$prefix"
    exit 0
fi
installed=$(dpkg-query -W -f='${Version}' libtbb-dev 2>/dev/null || true)
if [[ "$installed" != "$version"* ]]; then
    echo "libtbb-dev is $installed; this script builds $version for TSan, update it to match" >&2
    exit 1
fi
work=$build/tbb-tsan-source
rm -rf "$work" && mkdir -p "$work"
python3 - "$url" "$sha256" "$work/onetbb.tar.xz" <<'PY'
import hashlib, sys, urllib.request
url, want, out = sys.argv[1:]
data = urllib.request.urlopen(url, timeout=120).read()
got = hashlib.sha256(data).hexdigest()
if got != want:
    sys.exit(f"{url}: sha256 {got}, expected {want}")
open(out, "wb").write(data)
PY
tar -xf "$work/onetbb.tar.xz" -C "$work"
cmake -S "$work/oneTBB-$version" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DTBB_SANITIZE=thread \
    -DTBB_TEST=OFF -DTBB_STRICT=OFF -DTBBMALLOC_BUILD=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >&2
cmake --build "$work/build" --parallel 2 >&2
cmake --install "$work/build" >&2
rm -rf "$work"
echo "$prefix"
