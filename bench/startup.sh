#!/usr/bin/env bash
# Process start to window shown, peak memory and processor time (all
# threads: steadier than the wall clock on a busy machine, though not the
# goals' measure) for the main dialog, for its controls and texts made by the
# toolkit's widgets with Qt's defaults alone (what a plain Qt program pays to
# show them), and for an empty QDialog program, all built the same way and
# all showing a window of the main dialog's size (so each fills and hands the
# display the same pixels). Given a second build folder, its main dialog
# takes part too, as the baseline of a change.
#
# The probes take turns, one run each a round, each round starting with the
# next one, so that a machine busy with other work slows them alike and none
# always follows the same one. Reports medians of N rounds, and for each
# comparison the median of the rounds' paired differences with its 95 %
# confidence interval (order statistics of the differences); the main dialog
# against the goals (at most 1.05 times its bare controls' time and 1 MiB
# more memory), and against the empty dialog for context. Fails only when a
# probe does not show its window.
#   bench/startup.sh [build-dir] [runs] [baseline-build-dir]
# Runs under xvfb-run when there is no display, on a server that does not
# reset when its last client leaves: a desktop's server always has other
# clients, while Xvfb's reset after each probe made the next one wait for it
# (about 12 ms here), a delay common to all probes that narrowed the ratios
# between them.
set -euo pipefail
build=${1:-build/release}
runs=${2:-21}
baseline=${3:-}
if [ -z "${DISPLAY:-}" ] && [ -z "${TOLMERI_IN_XVFB:-}" ]; then
    exec env TOLMERI_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Copies away from the build trees, so no settings file lands there.
cp "$build/bench/startup_tolmeri" "$build/bench/startup_controls" "$build/bench/startup_empty" "$work/"
probes=(startup_tolmeri startup_controls startup_empty)
if [ -n "$baseline" ]; then
    cp "$baseline/bench/startup_tolmeri" "$work/baseline_tolmeri"
    probes+=(baseline_tolmeri)
fi

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# The first run of each warms the file cache; the main dialog's gives the
# size the others show.
size=
for probe in "${probes[@]}"; do
    : >"$work/$probe.ms"
    : >"$work/$probe.kb"
    : >"$work/$probe.cpu"
    if [ "$probe" = startup_tolmeri ]; then
        read -r _ _ size _ < <("$work/$probe" 2>/dev/null) || true
    else
        "$work/$probe" "$size" >/dev/null 2>&1 || true
    fi
done
if [ -z "$size" ]; then
    echo "startup.sh: startup_tolmeri did not show its window" >&2
    exit 1
fi
for round in $(seq "$runs"); do
    first=$((round % ${#probes[@]}))
    for probe in "${probes[@]:first}" "${probes[@]:0:first}"; do
        start=$(date +%s%N)
        if ! "$work/$probe" "$size" >"$work/out" 2>/dev/null || ! read -r shown kb _ cpu <"$work/out"; then
            echo "startup.sh: $probe did not show its window" >&2
            exit 1
        fi
        # One line a round, in round order, so that line r of two probes pairs them.
        echo $(((shown - start) / 1000)) >>"$work/$probe.ms"
        echo "$kb" >>"$work/$probe.kb"
        echo "$cpu" >>"$work/$probe.cpu"
    done
done
for probe in "${probes[@]}"; do
    printf '%-16s start to window shown: median %6.1f ms   peak RSS: median %6.1f MiB   processor: median %6.1f ms  (%d runs, %s)\n' \
        "$probe" "$(median <"$work/$probe.ms" | awk '{print $1/1000}')" \
        "$(median <"$work/$probe.kb" | awk '{print $1/1024}')" \
        "$(median <"$work/$probe.cpu" | awk '{print $1/1000}')" "$runs" "$size"
done

# compare A B [GOAL_RATIO GOAL_MIB]: A's median time and memory against B's,
# the paired differences of the rounds with their interval, and the goals
# where given.
compare() {
    paste "$work/$1.ms" "$work/$2.ms" "$work/$1.kb" "$work/$2.kb" | awk -v a="$1" -v b="$2" \
        -v goalRatio="${3:-}" -v goalMib="${4:-}" '
        function median(v, n,   s, i, j, t) {
            for (i = 1; i <= n; ++i) s[i] = v[i]
            for (i = 2; i <= n; ++i)
                for (j = i; j > 1 && s[j - 1] > s[j]; --j) { t = s[j]; s[j] = s[j - 1]; s[j - 1] = t }
            for (i = 1; i <= n; ++i) sorted[i] = s[i]
            return s[int((n + 1) / 2)]
        }
        { ta[NR] = $1; tb[NR] = $2; ma[NR] = $3; mb[NR] = $4; d[NR] = $1 - $2; n = NR }
        END {
            ra = median(ta, n); rb = median(tb, n)
            mib = (median(ma, n) - median(mb, n)) / 1024
            md = median(d, n)
            # The 95 % interval of the median difference: the order statistics
            # k and n + 1 - k of the sorted differences (sign test).
            k = int((n - 1.96 * sqrt(n)) / 2)
            interval = k >= 1 ? sprintf(" [%+.1f, %+.1f]", sorted[k] / 1000, sorted[n + 1 - k] / 1000) : ""
            printf "%s against %s: %.2f times its time, paired %+.1f ms%s, %+.1f MiB", a, b, ra / rb, md / 1000, interval, mib
            if (goalRatio != "")
                printf " (goals: at most %.2f times: %s; at most %+.1f MiB: %s)", goalRatio,
                    ra / rb <= goalRatio ? "met" : "missed", goalMib, mib <= goalMib ? "met" : "missed"
            printf "\n"
        }'
}
compare startup_tolmeri startup_controls 1.05 1
compare startup_tolmeri startup_empty
compare startup_controls startup_empty
if [ -n "$baseline" ]; then
    compare startup_tolmeri baseline_tolmeri
    compare baseline_tolmeri startup_controls
fi
