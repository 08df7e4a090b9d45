#!/usr/bin/env bash
# The bash completion of tolmeri-hours, run as bash runs it: for each line
# typed so far, the candidates it offers for the last word.
#   tests/completion_test.sh TOLMERI-HOURS COMPLETION-FILE
set -uo pipefail
tool=$(realpath "$1")
source "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch chart.png chart-old.png notes.txt

failures=0
# candidates WORD...: what completing the last word offers, sorted, one a line.
candidates() {
    COMP_WORDS=("$tool" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tolmeri_hours
    ((${#COMPREPLY[@]})) && printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}
# expect WANT WORD...: the candidates are exactly WANT (separated by spaces
# that have no backslash before them).
expect() {
    local want got
    want=$(sed -E 's/([^\\]) /\1\n/g' <<<"$1" | sed '/^$/d' | LC_ALL=C sort)
    shift
    got=$(candidates "$@")
    if [[ $got != "$want" ]]; then
        printf 'FAIL: tolmeri-hours %s\n  want: %s\n  got:  %s\n' "$*" "${want//$'\n'/ }" "${got//$'\n'/ }"
        failures=$((failures + 1))
    fi
}

expect "--place" --pl
expect "--lat --list-places --lon" --l
expect "東京" --place 東
expect 'New\ York' --place new          # any case, the space quoted
expect "Sydney" --place SYD             # a Latin name that is the name, once
expect "tokushima tokushima-joka tokuyama tokyo" --place tok   # the romaji names
expect "kyo kyoto" --place KYO
expect "京 京都" --date 2026-01-01 --place 京
expect "品川宿" --place 品川                # a historical place
expect "akasaka-shuku" --place akasaka    # two places' name, once
expect "宿場" --kind 宿
expect "奉行所" --kind=奉
expect "中山道" --route 中
expect "東海道 中山道" --route ""
expect "csv json table" --format ""
expect "json" --format = j                # --format=j, split at "=" by bash
expect "csv json table" --format =
expect "csv" "--format=c"                 # when "=" is no word break
expect "chart-old.png chart.png" --png chart
expect "chart-old.png chart.png" --year-chart chart
expect "depression 36min sunrise auto" --dawn ""
expect "36min" --dawn 3
expect "sekki" --steps=s
expect "midnight dawn" --day-start ""
expect "dawn" --day-start d
expect "" --at ""
expect "" --date ""                       # values of the user's own
expect "" --lat 3
expect "" --place Atlantis

# Every name and Latin name the tool lists, and every option its --help names.
places=$("$tool" --list-places --format csv | python3 -c '
import csv, sys
rows = list(csv.DictReader(sys.stdin))
assert len(rows) >= 53 and all(r["latin_name"] for r in rows)
print("\n".join(sorted({n for r in rows for n in (r["name"], r["latin_name"])})))')
got=$(candidates --place "" | while IFS= read -r n; do eval "printf '%s\n' $n"; done | LC_ALL=C sort)
[[ -n $places && $got == "$(LC_ALL=C sort <<<"$places")" ]] ||
    { echo "FAIL: --place offers $(wc -l <<<"$got") names of $(wc -l <<<"$places")"; failures=$((failures + 1)); }
for option in $("$tool" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -qx -- "$option" <(candidates "${option:0:3}") ||
        { echo "FAIL: $option is not offered"; failures=$((failures + 1)); }
done

# Without a tool to ask, nothing is offered and nothing is printed.
errors=$(
    COMP_WORDS=(tolmeri-hours --pl) COMP_CWORD=1 PATH=/nonexistent
    _tolmeri_hours 2>&1
    printf '%s' "${COMPREPLY[@]}"
)
[[ -z $errors ]] || { echo "FAIL: without the tool: $errors"; failures=$((failures + 1)); }

[[ $(complete -p tolmeri-hours) == "complete -F _tolmeri_hours tolmeri-hours" ]] ||
    { echo "FAIL: not registered for tolmeri-hours"; failures=$((failures + 1)); }

((failures == 0)) && echo "completion: all cases pass"
exit $((failures > 0))
