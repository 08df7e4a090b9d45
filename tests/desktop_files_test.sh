#!/usr/bin/env bash
# What the build makes for desktops, software centres and manuals, checked by
# the validators distributions use: the desktop entry, the AppStream
# metainfo, the theme icons and the manual pages (rendered with warnings on).
#   tests/desktop_files_test.sh SOURCE-DIR BUILD-DIR VERSION
set -uo pipefail
src=$1 build=$2 version=$3
id=io.github.tolmeri.tolmeri
failures=0
fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}

# The desktop entry, named by the metainfo's id.
desktop=$src/res/desktop/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate says: $out"

# The metainfo: valid without a single remark, even a pedantic one; its id,
# its launchable and its newest release agree with the rest.
metainfo=$build/res/desktop/$id.metainfo.xml
out=$(appstreamcli validate --no-net --pedantic --no-color "$metainfo" 2>&1) ||
    fail "appstreamcli: $out"
grep -qE '^[EWIP]: ' <<<"$out" && fail "appstreamcli remarks: $out"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
newest=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[[ $newest == "$version" ]] || fail "newest release in the metainfo is '$newest', not $version"

# The theme icons: every size as a square PNG of that size.
for size in 16 32 48 64 128 256; do
    png=$build/res/desktop/${size}x$size/tolmeri.png
    file "$png" | grep -q "PNG image data, $size x $size," ||
        fail "icon $png: $(file -b "$png")"
done
grep -q '<svg ' "$src/res/icons/tolmeri.svg" || fail "no scalable icon"

# The manual pages: no word from groff or man at 80 and 60 columns, the
# version on each, and every option each program's --help names.
options_of() {
    "$1" --help | grep -oE -- '(^|[^-[:alnum:]])--?[a-z][a-z-]*' | sed -E 's/^[^-]//' | sort -u
}
hours_options=$(options_of "$build/bin/tolmeri-hours")
program_options=$(options_of "$build/bin/tolmeri")
for page in "$build"/man/tolmeri.1 "$build"/man/tolmeri-hours.1 \
            "$build"/man/ja/tolmeri.1 "$build"/man/ja/tolmeri-hours.1; do
    for width in 80 60; do
        out=$(LC_ALL=C.UTF-8 MANWIDTH=$width man --warnings -l "$page" 2>&1 >/dev/null)
        [[ -z $out ]] || fail "man $page at $width columns: $out"
    done
    grep -q "^\.TH .*\"tolmeri $version\"" "$page" || fail "$page does not carry version $version"
    case $page in
    *hours*) options=$hours_options ;;
    *) options=$program_options ;;
    esac
    for option in $options; do
        grep -qF -- "${option//-/\\-}" "$page" || fail "$page does not describe $option"
    done
done

# The Japanese pages as a Japanese reader sees them, under ja_JP.UTF-8 (made
# into a temporary folder from the C library's definition when the system
# has not generated it): no warning either.
japanese=ja_JP.UTF-8
locales=
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    locales=$(mktemp -d)
    localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >/dev/null 2>&1
    [[ -e $locales/ja_JP.UTF-8/LC_CTYPE ]] || fail "localedef could not make $japanese"
fi
for page in "$build"/man/ja/tolmeri.1 "$build"/man/ja/tolmeri-hours.1; do
    for width in 80 60; do
        out=$(LOCPATH=${locales:-} LC_ALL=$japanese MANWIDTH=$width \
            man --warnings -l "$page" 2>&1 >/dev/null)
        [[ -z $out ]] || fail "man $page at $width columns in $japanese: $out"
    done
done
[[ -z $locales ]] || rm -rf "$locales"

# Running Japanese text is one source line a paragraph (font changes inline):
# groff turns every line break into a space, which Japanese has none of.
for source in "$src"/man/ja/*.1.in; do
    out=$(awk '
        /^\.(nf|EX)/ { nofill = 1 }
        /^\.(fi|EE)/ { nofill = 0 }
        /^\.TP/ { tag = 1; text = 0; next }
        /^\.\\"/ { next }
        {
            running = $0 !~ /^[.\047]/ || $0 ~ /^\.(B|I|BR|RB|IR|RI|IB|BI)( |$)/
            if (!nofill && running && text && !tag)
                print FILENAME ":" NR ": " $0
            text = running && !tag
            tag = 0
        }' "$source")
    [[ -z $out ]] || fail "a line break inside running text: $out"
done

((failures == 0)) && echo "desktop files and manual pages: all checks pass"
exit $((failures > 0))
