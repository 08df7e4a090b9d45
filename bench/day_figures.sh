#!/usr/bin/env bash
# The calculator's cost per day, medians of 5 repetitions, CPU time:
#   - hours_bench: a day's table by the window's Sun and by the precise Sun,
#     and a day's Moon;
#   - qt_core_bench: the year chart's input before Qt is started and in a Qt
#     process after the chart's paint, as the window makes it, and its days
#     alone after the paint, as the paint leaves the vector registers.
# Then the ratios against their goals. The figures never fail the run (a
# busy machine is no fault of the program); a benchmark that fails does.
#   bench/day_figures.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# Runs one benchmark program into $out; its messages are shown only when it
# fails.
run() {
    local bench=$1
    shift
    if ! "$build/bench/$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        "$@" >"$out" 2>"$out.err"; then
        cat "$out" "$out.err" >&2
        rm -f "$out.err"
        echo "$bench failed" >&2
        exit 1
    fi
    rm -f "$out.err"
    grep -E '^(Benchmark|BM_.*_median)' "$out" || true
}

# The CPU time of a benchmark's median line, or its per_day counter, in
# nanoseconds (the name may be followed by "/iterations:N").
nanoseconds() {
    awk -v name="$1" -v field="$2" '
        function ns(v, u) { return u == "us" ? v * 1000 : u == "ms" ? v * 1e6 : u == "s" ? v * 1e9 : v }
        ($1 == name "_median" || index($1, name "/iterations:") == 1) && $1 ~ /_median$/ {
            if (field == "cpu") { printf "%.0f\n", ns($4, $5); exit }
            for (i = 1; i <= NF; ++i)
                if ($i ~ /^per_day=/) {
                    v = substr($i, 9)
                    u = v; sub(/^[0-9.e+-]+/, "", u); sub(/[a-z]+$/, "", v)
                    printf "%.0f\n", ns(v, u); exit
                }
        }' "$out"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a > 0 && b > 0) printf "%.2f", a / b; else printf "?" }'
}

run hours_bench --benchmark_filter='^BM_(SunDay|MoonDay)'
window=$(nanoseconds BM_SunDay/window cpu)
precise=$(nanoseconds BM_SunDay/precise cpu)
moon=$(nanoseconds BM_MoonDay cpu)
echo "a day: window's Sun ${window} ns, precise Sun ${precise} ns ($(ratio "$precise" "$window")x the window's; goal: at most 3x), Moon ${moon} ns"

run qt_core_bench
free=$(nanoseconds BM_YearChartInput/qt_free per_day)
painted=$(nanoseconds BM_YearChartInput/in_qt_after_paint per_day)
days=$(nanoseconds BM_YearOfDays/qt_free per_day)
daysPainted=$(nanoseconds BM_YearOfDays/in_qt_after_paint per_day)
echo "a day of the year chart's input: ${free} ns without Qt; in a Qt process after a paint ${painted} ns" \
    "($(ratio "$painted" "$free")x; goal: at most 1.2x); its days alone, the registers as the paint" \
    "leaves them: ${days} ns and ${daysPainted} ns ($(ratio "$daysPainted" "$days")x)"
