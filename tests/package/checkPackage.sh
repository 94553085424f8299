#!/usr/bin/env bash
# checkPackage.sh -- what the Debian package holds: every generated asset and icon of the build in
# Debian's places and nothing stray; the font as a link to the file of fonts-dotgothic16, never a
# copy; a dependency on the package of every library the binary needs, and on the font's package;
# both licences in the copyright file; and no error or warning from lintian.
#   tests/package/checkPackage.sh <kaiva_*.deb> <assets folder> <icons folder> <font file> <LICENSE>
set -euo pipefail
deb=$1 assets=$2 icons=$3 font=$4 licence=$5

failures=0
fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}

# The files that are not generated: each with the mode it must have.
fixed_files="\
-rwxr-xr-x usr/games/kaiva
-rwxr-xr-x usr/libexec/kaiva/kaiva
-rw-r--r-- usr/share/applications/kaiva.desktop
-rw-r--r-- usr/share/doc/kaiva/changelog.gz
-rw-r--r-- usr/share/doc/kaiva/copyright
-rw-r--r-- usr/share/lintian/overrides/kaiva
-rw-r--r-- usr/share/man/man6/kaiva.6.gz"
font_link=usr/share/games/kaiva/assets/font/pixelTxt.ttf

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# "mode path" per regular file, "link path target" per symbolic link.
touch "$work/files" "$work/links"
dpkg-deb --contents "$deb" | awk '
    $1 ~ /^-/ { sub(/^\.\//, "", $6); print $1, $6 > "'"$work/files"'" }
    $1 ~ /^l/ { sub(/^\.\//, "", $6); print $6, $8 > "'"$work/links"'" }'
dpkg-deb --extract "$deb" "$work/root"

# Every file the package should hold: the fixed ones, then the build's assets (but the font and
# its licence, which the font's package brings) and icons, each the same bytes as in the build.
expected_files() {
    awk '{ print $2 }' <<<"$fixed_files"
    (cd "$assets" && find . -type f ! -path './font/*' | sed 's|^\./|usr/share/games/kaiva/assets/|')
    (cd "$icons" && find . -type f | sed 's|^\./|usr/share/icons/hicolor/|')
}
expected_files | sort >"$work/expected"
awk '{ print $2 }' "$work/files" | sort >"$work/shipped"
while read -r path; do fail "missing from the package: $path"; done < <(comm -23 "$work/expected" "$work/shipped")
while read -r path; do fail "not expected in the package: $path"; done < <(comm -13 "$work/expected" "$work/shipped")

while read -r mode path; do
    grep -qxF -- "$mode $path" "$work/files" || fail "$path is not $mode"
done <<<"$fixed_files"
for pair in "$assets:usr/share/games/kaiva/assets" "$icons:usr/share/icons/hicolor"; do
    (cd "${pair%%:*}" && find . -type f ! -path './font/*') | while read -r file; do
        shipped="$work/root/${pair#*:}/$file"
        [[ ! -f $shipped ]] || cmp -s "${pair%%:*}/$file" "$shipped" ||
            echo "FAIL: ${pair#*:}/${file#./} differs from the build's copy"
    done >>"$work/differences"
done
if [[ -s $work/differences ]]; then
    cat "$work/differences"
    failures=$((failures + $(wc -l <"$work/differences")))
fi

# The font: a link that resolves, from where it lies, to the file of fonts-dotgothic16.
target=$(awk -v p="$font_link" '$1 == p { print $2 }' "$work/links")
if [[ -z $target ]]; then
    fail "$font_link is not a symbolic link"
elif [[ $(realpath -m "/$(dirname "$font_link")/$target") != "$font" ]]; then
    fail "$font_link points to $target, not to $font"
fi
[[ $(dpkg-query -S "$font" 2>/dev/null) == fonts-dotgothic16:* ]] ||
    fail "$font is not a file of fonts-dotgothic16"
if grep -qi '\.ttf$' "$work/shipped"; then
    fail "the package carries a copy of a font: $(grep -i '\.ttf$' "$work/shipped" | tr '\n' ' ')"
fi

# Dependencies: the font's package, and the package of every library the binary names.
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
# The package names alone, one a line (versions and alternatives set apart).
tr ',|' '\n\n' <<<"$depends" | awk 'NF { print $1 }' >"$work/depends"
depends_on() { grep -qxF -- "$1" "$work/depends"; }
depends_on fonts-dotgothic16 || fail "no dependency on fonts-dotgothic16"
libraries=$(objdump -p "$work/root/usr/libexec/kaiva/kaiva" | awk '$1 == "NEEDED" { print $2 }')
[[ -n $libraries ]] || fail "the binary names no library"
for library in $libraries; do
    owners=$(dpkg-query -S "*/$library" 2>/dev/null | sed 's/[:,].*//' | sort -u | tr '\n' ' ')
    found=no
    for owner in $owners; do
        depends_on "$owner" && found=yes
    done
    [[ $found == yes ]] || fail "$library (of ${owners:-no package}) is not among the dependencies"
done

# Both licences, each with its full text; ours the same words as LICENSE.
copyright="$work/root/usr/share/doc/kaiva/copyright"
head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' ||
    fail "the copyright file is not in Debian's machine-readable format"
for name in Expat OFL-1.1; do
    grep -qx "License: $name" "$copyright" || fail "the copyright file lacks the licence $name"
done
sed -n '/^Permission is hereby granted/,$p' "$licence" | sed 's/^$/./; s/^/ /' >"$work/mit"
grep -qzF "$(cat "$work/mit")" "$copyright" || fail "the copyright file's Expat text differs from LICENSE"
grep -q 'The goals of the Open Font License (OFL)' "$copyright" ||
    fail "the copyright file lacks the font's licence text"

# The menu entry starts the launcher with the generated icon, among the games.
desktop="$work/root/usr/share/applications/kaiva.desktop"
for line in 'Type=Application' 'Exec=kaiva' 'Icon=kaiva' 'Terminal=false'; do
    grep -qx "$line" "$desktop" || fail "kaiva.desktop lacks $line"
done
grep -q '^Categories=\(.*;\)\?Game;' "$desktop" || fail "kaiva.desktop is not in the category Game"

# lintian: no error and no warning (a warning we keep goes in packaging/kaiva.lintian-overrides).
if ! lintian --fail-on error,warning --display-info "$deb" 2>/dev/null; then
    fail "lintian reports an error or a warning"
fi

if ((failures > 0)); then
    echo "$failures failed check(s) of $deb"
    exit 1
fi
echo "the package holds what it should: $(wc -l <"$work/shipped") files, $(du -k "$deb" | cut -f1) KB"
