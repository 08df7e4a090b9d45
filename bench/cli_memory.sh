#!/usr/bin/env bash
# Peak memory (maximum resident set) of tolmeri-hours writing the whole range
# of years, 0000-01-01 to 2200-12-31 (803 899 days), in each format, beside a
# 366-day CSV. The output goes to /dev/null; the figure is what the kernel
# reports for the finished process, so nothing is sampled and nothing is
# missed. It reports and never fails for the figures.
#   bench/cli_memory.sh [build-dir]
set -euo pipefail
build=${1:-build/release}
exe="$build/bin/tolmeri-hours"
[ -x "$exe" ] || { echo "cli_memory: $exe not built" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "cli_memory: needs GNU time (scripts/install-deps)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# peak ARGS...: the peak resident set and the CPU time of one run, as GNU
# time reads them from wait4 for its child (forked from time itself, which
# is small, so the figure is the tool's own).
peak() {
    /usr/bin/time -f '%M %U %S' -o "$work/rusage" "$exe" "$@" >/dev/null
    awk '{printf "%7.1f MiB peak   %5.2f s CPU", $1 / 1024, $2 + $3}' "$work/rusage"
}

for format in table csv json; do
    printf 'whole range 0000-01-01..2200-12-31, %-5s %s\n' "$format" \
        "$(peak --place 東京 --date 0000-01-01 --to 2200-12-31 --format "$format")"
done
printf '366 days from 2026-01-01,          csv   %s\n' \
    "$(peak --place 東京 --date 2026-01-01 --days 366 --format csv)"
echo "(goal: the whole range within 64 MiB in every format)"
