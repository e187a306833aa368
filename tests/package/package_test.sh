#!/usr/bin/env bash
# The Debian package as dpkg-deb sees it: what it installs where, with which modes, what it
# declares it needs, and that the programs in it run from the installed layout.
#   package_test.sh SOURCE BUILD
set -euo pipefail
source=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
PKGOUT="$work/out" PIMAVO_BUILD_DIR="$build" bash "$source/scripts/package.sh" --no-build >/dev/null
debs=("$work"/out/pimavo_*.deb)
[[ ${#debs[@]} == 1 && -f ${debs[0]} ]] || { echo "expected one package, got: ${debs[*]}"; exit 1; }
deb=${debs[0]}
fail() { echo "$*"; failed=1; }
failed=0

# Field, and the value dpkg-deb must report for it (a regular expression matched whole).
fields=(
    "Package         pimavo"
    "Architecture    $(dpkg --print-architecture)"
    "Section         graphics"
    "Priority        optional"
    "Maintainer      .+ <.+@.+>"
    "Version         [0-9]+\.[0-9]+\.[0-9]+-[0-9]+"
)
for row in "${fields[@]}"; do
    read -r field pattern <<<"$row"
    value=$(dpkg-deb -f "$deb" "$field")
    [[ $value =~ ^($pattern)$ ]] || fail "$field is '$value', expected $pattern"
done
version=$(dpkg-deb -f "$deb" Version)
[[ $(basename "$deb") == "pimavo_${version}_$(dpkg --print-architecture).deb" ]] ||
    fail "file name $(basename "$deb") does not carry version $version"

# Linked (found by dpkg-shlibdeps) and loaded at run time (declared by hand): both must be there.
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for package in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6multimedia6 libqt6network6 \
               libexiv2-27 libtiff6 libjpeg62-turbo libpng16-16 libgphoto2-6 libsane1 libtbb12 \
               gstreamer1.0-plugins-base gstreamer1.0-plugins-good libsecret-1-0 xdg-utils; do
    grep -qx "$package" <<<"$depends" || fail "Depends lacks $package"
done
# OpenImageIO is linked by the codec module alone: its package comes from there.
grep -q '^libopenimageio' <<<"$depends" || fail "Depends lacks OpenImageIO (from the codec module)"
dpkg-deb -f "$deb" Recommends | grep -qw qt6-wayland || fail "Recommends lacks qt6-wayland"

# Path, and the mode it must have. Everything belongs to root.
listing=$(dpkg-deb -c "$deb")
files=(
    "./usr/bin/pimavo                                               -rwxr-xr-x"
    "./usr/bin/pimavo-cli                                           -rwxr-xr-x"
    "./usr/lib/pimavo/pimavo-codecs.so                              -rw-r--r--"
    "./usr/share/applications/org.pimavo.Pimavo.desktop             -rw-r--r--"
    "./usr/share/metainfo/org.pimavo.Pimavo.metainfo.xml            -rw-r--r--"
    "./usr/share/mime/packages/org.pimavo.Pimavo.xml                -rw-r--r--"
    "./usr/share/icons/hicolor/scalable/apps/org.pimavo.Pimavo.svg  -rw-r--r--"
    "./usr/share/pimavo/help/index.html                             -rw-r--r--"
    "./usr/share/pimavo/acknowledgements.html                       -rw-r--r--"
    "./usr/share/man/man1/pimavo.1.gz                               -rw-r--r--"
    "./usr/share/man/man1/pimavo-cli.1.gz                           -rw-r--r--"
    "./usr/share/doc/pimavo/copyright                               -rw-r--r--"
    "./usr/share/doc/pimavo/changelog.Debian.gz                     -rw-r--r--"
    "./usr/share/doc/pimavo/examples/ladybird.jpg                   -rw-r--r--"
    "./usr/share/lintian/overrides/pimavo                           -rw-r--r--"
)
for row in "${files[@]}"; do
    read -r path mode <<<"$row"
    line=$(awk -v p="$path" '$6 == p' <<<"$listing")
    [[ -n $line ]] || { fail "not in the package: $path"; continue; }
    [[ $(awk '{ print $1 }' <<<"$line") == "$mode" ]] || fail "$path: $(awk '{ print $1 }' <<<"$line"), expected $mode"
done
awk '$2 != "root/root" { print "not owned by root: " $6; bad = 1 } END { exit bad }' <<<"$listing" || failed=1
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { print "folder mode " $1 ": " $6; bad = 1 } END { exit bad }' <<<"$listing" ||
    failed=1
grep -q '\./usr/local\|_CPack_Packages' <<<"$listing" && fail "stray paths: $(grep '\./usr/local\|_CPack' <<<"$listing")"

root="$work/root"
dpkg-deb -x "$deb" "$root"
# Stripped, and no search path of the build machine's left in the programs or the module.
for elf in usr/bin/pimavo usr/bin/pimavo-cli usr/lib/pimavo/pimavo-codecs.so; do
    readelf -d "$root/$elf" | grep -q 'RPATH\|RUNPATH' && fail "$elf keeps a search path"
    readelf -S "$root/$elf" | grep -q '\.debug_info' && fail "$elf is not stripped"
done
# Compressed as Debian wants: at the most, without a time stamp.
for gz in usr/share/man/man1/pimavo.1.gz usr/share/man/man1/pimavo-cli.1.gz usr/share/doc/pimavo/changelog.Debian.gz; do
    [[ $(od -An -tu4 -j4 -N4 "$root/$gz" | tr -d ' ') == 0 ]] || fail "$gz carries a time stamp"
    gzip -t "$root/$gz" || fail "$gz is damaged"
done
zcat "$root/usr/share/doc/pimavo/changelog.Debian.gz" | head -1 | grep -q "^pimavo ($version) " ||
    fail "the changelog's newest entry is not $version"
head -1 "$root/usr/share/doc/pimavo/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not machine-readable"
for page in pimavo pimavo-cli; do
    zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.SH NAME" || fail "$page.1 has no NAME section"
    # The version and date are the package's, not left over from an earlier release.
    zcat "$root/usr/share/man/man1/$page.1.gz" | head -1 | grep -q " [0-9]\{4\}-[0-9][0-9]-[0-9][0-9] \"Pimavo ${version%-*}\"" ||
        fail "$page.1 does not carry the package's version and date: $(zcat "$root/usr/share/man/man1/$page.1.gz" | head -1)"
done

# From the unpacked tree, the programs answer, and the codec module loaded is the package's own
# (found beside the program, not where the build put it).
[[ $("$root/usr/bin/pimavo" --version) =~ ^Pimavo\ ${version%-*}$ ]] || fail "pimavo --version: wrong version"
[[ $("$root/usr/bin/pimavo-cli" --version) == *"${version%-*}"* ]] || fail "pimavo-cli --version: wrong version"
loaded=$(LD_DEBUG=files "$root/usr/bin/pimavo-cli" formats 2>&1 >"$work/formats" |
    sed -n 's/.*file=\([^ ]*pimavo-codecs\.so\) .*dynamically loaded.*/\1/p' | head -1)
[[ $loaded == "$root/usr/bin/../lib/pimavo/pimavo-codecs.so" || $loaded == "$root/usr/lib/pimavo/pimavo-codecs.so" ]] ||
    fail "codec module loaded from '$loaded'"
grep -q '^read .* image/heif' "$work/formats" || fail "formats lists no HEIF from the codec module"
((failed == 0)) && echo ok
exit "$failed"
