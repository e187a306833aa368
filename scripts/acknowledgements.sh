#!/usr/bin/env bash
# Writes the acknowledgements page: every shared library the given binaries load directly, grouped
# by the Debian source package it comes from, with the licence that package's copyright file states.
#   acknowledgements.sh OUT.html BINARY...
# The build runs it after linking, so the page lists what is linked, nothing more or less.
set -euo pipefail
out=$1
shift

# soname and resolved path of each library a binary names as needed, as the loader finds it.
libraries=$(for binary in "$@"; do
    needed=$(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    ldd "$binary" | awk -v needed="$needed" '
        BEGIN { n = split(needed, list, "\n"); for (i = 1; i <= n; i++) want[list[i]] = 1 }
        $1 in want && $2 == "=>" && !seen[$1]++ { print $1, $3 }
        # The loader itself is named by its path alone.
        $1 ~ /^\// { n = split($1, part, "/"); if (part[n] in want && !seen[part[n]]++) print part[n], $1 }'
done | awk '!seen[$1]++')

# One query each to dpkg for all files and all packages: per-library queries take seconds. A file
# is known to dpkg under /lib or /usr/lib, whichever its package shipped, so both are asked and
# compared without the /usr.
resolved() { local p; p=$(readlink -f "$1"); echo "${p#/usr}"; }
declare -A package_of=()
paths=()
while read -r soname path; do
    p=$(resolved "$path")
    paths+=("$p" "/usr$p")
done <<<"$libraries"
while IFS= read -r line; do
    package=${line%%: *}
    file=${line#*: }
    package_of[${file#/usr}]=${package%%:*}
done < <(dpkg -S "${paths[@]}" 2>/dev/null || true)

declare -A source_of=() summary=() homepage=()
while IFS=$'\t' read -r package source sum home; do
    source_of[$package]=${source:-$package}
    summary[$package]=$sum
    homepage[$package]=$home
done < <(dpkg-query -W -f='${Package}\t${source:Package}\t${binary:Summary}\t${Homepage}\n' \
    $(printf '%s\n' "${package_of[@]}" | sort -u) 2>/dev/null || true)

# The licence of a package: its machine-readable copyright file's "License:" for "Files: *", or
# the first "License:" there is; a free-form file is pointed to.
package_licence() {
    local file=/usr/share/doc/$1/copyright found=""
    if [[ -r "$file" ]]; then
        found=$(awk '
            /^Files:[ \t]*\*[ \t]*$/ { star = 1; next }
            /^Files:/ { star = 0 }
            star && /^License:/ { sub(/^License:[ \t]*/, ""); print; exit }' "$file")
        [[ -n "$found" ]] || found=$(awk '/^License:/ { sub(/^License:[ \t]*/, ""); print; exit }' "$file")
    fi
    echo "${found:-see $file}"
}

html() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }

declare -A sonames=() packages=() first=()
order=()
while read -r soname path; do
    package=${package_of[$(resolved "$path")]:-}
    [[ -n "$package" ]] || package="(no Debian package)"
    source=${source_of[$package]:-$package}
    if [[ -z "${first[$source]+x}" ]]; then
        order+=("$source")
        first[$source]=$package
    fi
    sonames[$source]+=" $soname"
    [[ " ${packages[$source]:-} " == *" $package "* ]] || packages[$source]+=" $package"
done <<<"$libraries"

mkdir -p "$(dirname "$out")"
{
    echo '<table cellspacing="6">'
    for source in "${order[@]}"; do
        package=${first[$source]}
        name=$(html <<<"$source")
        home=${homepage[$package]:-}
        [[ -n "$home" ]] && name="<a href=\"$(html <<<"$home")\">$name</a>"
        # One package's summary describes a source of several only in part.
        sum=""
        [[ "${packages[$source]}" == " $package" ]] && sum=${summary[$package]:-}
        licence=$(package_licence "$package" | html)
        [[ "$licence" == "see /"* ]] && licence="<a href=\"file://${licence#see }\">its copyright file</a>"
        printf '<tr><td><b>%s</b><br><small>%s</small></td><td>%s</td><td>%s</td></tr>\n' \
            "$name" "$(html <<<"${sonames[$source]# }")" "$licence" "$(html <<<"$sum")"
    done
    echo '</table>'
} >"$out.tmp"
mv "$out.tmp" "$out"
