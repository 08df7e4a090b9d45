#!/usr/bin/env bash
# Whole-process time of tolmeri-hours writing a 366-day CSV for one place
# (start, computation, output, exit), median of N runs, beside a process that
# does nothing (/bin/true) for the cost of starting any process at all; and
# the same CSV with --dawn and --steps, with what they add; and what the
# 干支 and 六曜 columns cost of it (hours_bench, when built), and the 旧暦 of
# today's years with the 雑節.
#   bench/cli_bench.sh [build-dir] [runs] [goal-ms]
# BASELINE=other-build-dir times that build's 366-day CSV in the same rounds
# (the build without a change, for a paired comparison). Also the start:
# one day at a preset (the process is almost all start), beside the
# baseline's, and one day at a historical place, which reads and indexes
# the places' table (the user's places file is left out: an empty
# configuration folder).
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
export XDG_CONFIG_HOME=$work/config

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# time_once FILE CMD...: appends the microseconds of one run to FILE.
time_once() {
    local file=$1 start end
    shift
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000)) >>"$file"
}

ms() { awk -v u="$1" 'BEGIN {printf "%.2f", u / 1000}'; }

# The plain CSV, then the same with the other definitions of dawn and dusk
# and with the clocks set at the solar terms, each against the plain one.
csvArgs=(--place 東京 --date 2026-01-01 --days 366 --format csv)
variants=("" "--dawn 36min" "--dawn auto" "--steps sekki" "--dawn auto --steps sekki"
    "--sun precise")
precise=$((${#variants[@]} - 1)) # not one of the definitions' goal
"$exe" "${csvArgs[@]}" >/dev/null # warm the file cache
# Round by round, so that a busy moment of the machine falls on every
# variant alike.
for _ in $(seq "$runs"); do
    for i in "${!variants[@]}"; do
        # shellcheck disable=SC2086 # the variant's words are options
        time_once "$work/csv$i" "$exe" "${csvArgs[@]}" ${variants[$i]}
    done
    time_once "$work/true" /bin/true
    time_once "$work/day" "$exe" --place 東京 --date 2026-06-21
    time_once "$work/historical" "$exe" --place 品川宿 --date 2026-06-21
    if [ -n "${BASELINE:-}" ]; then
        time_once "$work/baseline" "$BASELINE/bin/tolmeri-hours" "${csvArgs[@]}"
        time_once "$work/baselineDay" "$BASELINE/bin/tolmeri-hours" --place 東京 --date 2026-06-21
    fi
done
csv=$(median <"$work/csv0")
base=$(median <"$work/true")
printf 'tolmeri-hours, 366-day CSV for one place: median %s ms per process (%d runs)\n' \
    "$(ms "$csv")" "$runs"
most=0
for i in "${!variants[@]}"; do
    ((i == 0)) && continue
    t=$(median <"$work/csv$i")
    added=$(awk -v t="$t" -v c="$csv" 'BEGIN {printf "%.0f", (t - c) * 100 / c}')
    ((i != precise && added > most)) && most=$added
    printf '  with %-26s median %s ms (%+d %%)\n' "${variants[$i]}:" "$(ms "$t")" "$added"
done
# The 干支 and 六曜 columns against the whole CSV process: their work for
# 366 days, timed by hours_bench when it is built beside the tool.
kanshi=""
if [ -x "$build/bench/hours_bench" ]; then
    kanshi=$("$build/bench/hours_bench" --benchmark_filter=BM_KanshiColumns366 \
        --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2>/dev/null | awk -F, '/_median/ {print $4}')
fi
if [ -n "$kanshi" ]; then
    kanshiShare=$(awk -v k="$kanshi" -v c="$csv" 'BEGIN {printf "%.2f", k * 100 / c}')
    printf '  干支・六曜 columns, 366 days:        %s µs (%s %% of the process)\n' \
        "$kanshi" "$kanshiShare"
fi
# The lunisolar, 六曜 and 雑節 columns of today's years, timed by hours_bench.
lunisolar=""
if [ -x "$build/bench/hours_bench" ]; then
    lunisolar=$("$build/bench/hours_bench" --benchmark_filter=BM_LunisolarColumns366 \
        --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2>/dev/null | awk -F, '/_median/ {print $4}')
fi
if [ -n "$lunisolar" ]; then
    printf '  旧暦・六曜・雑節 columns, 366 days of 2030-2186: %s µs (%s %% of the process)\n' \
        "$lunisolar" "$(awk -v k="$lunisolar" -v c="$csv" 'BEGIN {printf "%.1f", k * 100 / c}')"
fi
if [ -n "${BASELINE:-}" ]; then
    baseline=$(median <"$work/baseline")
    paired=$(awk -v c="$csv" -v b="$baseline" 'BEGIN {printf "%.2f", c / b}')
    printf '  the same CSV by %s: median %s ms; this build %s× of it\n' "$BASELINE" \
        "$(ms "$baseline")" "$paired"
fi
day=$(median <"$work/day")
printf 'one day at a preset (the start):          median %s ms per process\n' "$(ms "$day")"
if [ -n "${BASELINE:-}" ]; then
    baselineDay=$(median <"$work/baselineDay")
    dayPaired=$(awk -v c="$day" -v b="$baselineDay" 'BEGIN {printf "%.2f", c / b}')
    printf '  the same by %s: median %s ms; this build %s× of it\n' "$BASELINE" \
        "$(ms "$baselineDay")" "$dayPaired"
fi
printf 'one day at a historical place (品川宿):    median %s ms per process\n' \
    "$(ms "$(median <"$work/historical")")"
printf '/bin/true for comparison:                 median %s ms per process\n' "$(ms "$base")"
# Per day of output, the process less /bin/true: the precise Sun against
# the window's.
tp=$(median <"$work/csv$precise")
perDay=$(awk -v c="$csv" -v b="$base" 'BEGIN {printf "%.2f", (c - b) / 366}')
perDayPrecise=$(awk -v c="$tp" -v b="$base" 'BEGIN {printf "%.2f", (c - b) / 366}')
ratio=$(awk -v p="$perDayPrecise" -v w="$perDay" 'BEGIN {printf "%.1f", (w > 0 ? p / w : 0)}')
printf 'per day of output: %s µs with the window'"'"'s Sun, %s µs with --sun precise (%s×)\n' \
    "$perDay" "$perDayPrecise" "$ratio"
if [ -n "$goal" ]; then
    if awk -v u="$csv" -v g="$goal" 'BEGIN {exit !(u / 1000 <= g)}'; then
        echo "goal: at most $goal ms per process: met"
    else
        echo "goal: at most $goal ms per process: NOT met on this run (read it against /bin/true)"
    fi
    if ((most <= 20)); then
        echo "goal: --dawn and --steps add at most 20 %: met (at most $most %)"
    else
        echo "goal: --dawn and --steps add at most 20 %: NOT met on this run ($most %)"
    fi
    if awk -v r="$ratio" 'BEGIN {exit !(r <= 3)}'; then
        echo "goal: --sun precise at most 3× the window's Sun per day: met (${ratio}×)"
    else
        echo "goal: --sun precise at most 3× the window's Sun per day: NOT met on this run (${ratio}×)"
    fi
    if [ -n "${BASELINE:-}" ]; then
        if awk -v r="$paired" 'BEGIN {exit !(r <= 1.2)}'; then
            echo "goal: the 366-day CSV at most 1.2× the baseline build's: met (${paired}×)"
        else
            echo "goal: the 366-day CSV at most 1.2× the baseline build's: NOT met on this run (${paired}×)"
        fi
    fi
    if [ -n "$kanshi" ]; then
        if awk -v s="$kanshiShare" 'BEGIN {exit !(s <= 5)}'; then
            echo "goal: the 干支・六曜 columns add at most 5 %: met ($kanshiShare %)"
        else
            echo "goal: the 干支・六曜 columns add at most 5 %: NOT met on this run ($kanshiShare %)"
        fi
    fi
fi
