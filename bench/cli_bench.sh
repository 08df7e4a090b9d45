#!/usr/bin/env bash
# Whole-process time of tolmeri-hours writing a 366-day CSV for one place
# (start, computation, output, exit), median of N runs, beside a process that
# does nothing (/bin/true) for the cost of starting any process at all.
#   bench/cli_bench.sh [build-dir] [runs] [goal-ms]
# With a goal, it says whether the median met it. It reports and never fails
# for the figures: a busy machine is no fault of the program.
set -euo pipefail
build=${1:-build/release}
runs=${2:-101}
goal=${3:-}
exe="$build/bin/tolmeri-hours"
[ -x "$exe" ] || { echo "cli_bench: $exe not built" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# time_runs FILE CMD...: appends the microseconds of each run to FILE.
time_runs() {
    local file=$1; shift
    "$@" >/dev/null # warm the file cache
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        echo $(( (end - start) / 1000 )) >>"$file"
    done
}

time_runs "$work/csv" "$exe" --place 東京 --date 2026-01-01 --days 366 --format csv
time_runs "$work/true" /bin/true
csv=$(median <"$work/csv")
base=$(median <"$work/true")
printf 'tolmeri-hours, 366-day CSV for one place: median %.2f ms per process (%d runs)\n' \
    "$(awk -v u="$csv" 'BEGIN {print u / 1000}')" "$runs"
printf '/bin/true for comparison:                 median %.2f ms per process\n' \
    "$(awk -v u="$base" 'BEGIN {print u / 1000}')"
if [ -n "$goal" ]; then
    if awk -v u="$csv" -v g="$goal" 'BEGIN {exit !(u / 1000 <= g)}'; then
        echo "goal: at most $goal ms per process: met"
    else
        echo "goal: at most $goal ms per process: NOT met on this run (read it against /bin/true)"
    fi
fi
