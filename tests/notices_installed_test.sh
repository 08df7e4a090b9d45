#!/usr/bin/env bash
# The credit lines of the historical places' table (CC BY 4.0) as an
# installation and the Debian package carry them: installed into a temporary
# prefix with the package's own component, each line is in the notices and
# the copyright file under share/doc/tolmeri.
#   tests/notices_installed_test.sh BUILD-DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
cmake --install "$build" --prefix "$prefix" --component deb >/dev/null || exit 1
docs=$prefix/share/doc/tolmeri
failures=0
for file in THIRD_PARTY_NOTICES.md copyright; do
    for line in "『日本歴史地名大系』施設・地点項目データセット(CODH作成)" \
                "『日本歴史地名大系』地名項目データセット(CODH作成)" \
                "doi:10.20676/00000456" "doi:10.20676/00000448" \
                "Historical places table, selected and arranged by this project's contributors" \
                "CC BY 4.0"; do
        grep -qF -- "$line" "$docs/$file" ||
            { echo "FAIL: $file lacks: $line"; failures=$((failures + 1)); }
    done
done
((failures == 0)) && echo "notices: every credit line installed"
exit $((failures > 0))
