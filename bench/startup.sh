#!/usr/bin/env bash
# Process start to window shown, peak memory and processor time (all
# threads: steadier than the wall clock on a busy machine, though not the
# goals' measure) for the main dialog, for its controls and texts made by the
# toolkit's widgets alone (what showing them costs at least), and for an
# empty QDialog program, all built the same way and all showing a window of
# the main dialog's size (so each fills and hands the display the same
# pixels); medians of N runs each, the probes taking turns, each round
# starting with the next one, so that a machine busy with other work slows
# them alike and none always follows the same one. Reports the main dialog
# against the goals (at most 1.2 times the empty dialog's time, at most 8 MiB
# more memory) and against its bare controls, and whether the code that runs
# at start still lies together; fails only when a probe does not show its
# window.
#   bench/startup.sh [build-dir] [runs]
# Runs under xvfb-run when there is no display, on a server that does not
# reset when its last client leaves: a desktop's server always has other
# clients, while Xvfb's reset after each probe made the next one wait for it
# (about 12 ms here), a delay common to all three probes that narrowed the
# ratios between them.
set -euo pipefail
build=${1:-build/release}
runs=${2:-21}
if [ -z "${DISPLAY:-}" ] && [ -z "${TOLMERI_IN_XVFB:-}" ]; then
    exec env TOLMERI_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy away from the build tree, so no settings file lands there.
cp "$build/bench/startup_tolmeri" "$build/bench/startup_controls" "$build/bench/startup_empty" "$work/"
probes=(startup_tolmeri startup_controls startup_empty)

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
        echo $(((shown - start) / 1000)) >>"$work/$probe.ms"
        echo "$kb" >>"$work/$probe.kb"
        echo "$cpu" >>"$work/$probe.cpu"
    done
done
for probe in "${probes[@]}"; do
    median <"$work/$probe.ms" >"$work/$probe.ms.median"
    median <"$work/$probe.kb" >"$work/$probe.kb.median"
    printf '%-16s start to window shown: median %6.1f ms   peak RSS: median %6.1f MiB   processor: median %6.1f ms  (%d runs, %s)\n' \
        "$probe" "$(awk '{print $1/1000}' "$work/$probe.ms.median")" \
        "$(awk '{print $1/1024}' "$work/$probe.kb.median")" \
        "$(median <"$work/$probe.cpu" | awk '{print $1/1000}')" "$runs" "$size"
done
read -r ms <"$work/startup_tolmeri.ms.median"
read -r emptyMs <"$work/startup_empty.ms.median"
read -r controlsMs <"$work/startup_controls.ms.median"
read -r kb <"$work/startup_tolmeri.kb.median"
read -r emptyKb <"$work/startup_empty.kb.median"
read -r controlsKb <"$work/startup_controls.kb.median"
awk -v a="$ms" -v b="$emptyMs" -v c="$kb" -v d="$emptyKb" -v e="$controlsMs" -v f="$controlsKb" 'BEGIN {
    r = a / b; m = (c - d) / 1024
    printf "main dialog: %.2f times the empty dialog (goal 1.20: %s), %+.1f MiB (goal +8.0: %s)\n",
        r, r <= 1.2 ? "met" : "missed", m, m <= 8 ? "met" : "missed"
    printf "its bare controls: %.2f times the empty dialog, %+.1f MiB; the main dialog beyond them: %.2f times, %+.1f ms, %+.1f MiB\n",
        e / b, (f - d) / 1024, a / e, (a - e) / 1000, (c - f) / 1024
}'
# Whether the start-up code still lies together (app/startup_functions.txt,
# written by scripts/list-startup-code).
if command -v nm >/dev/null; then
    read -r found listed span < <("$(dirname "$0")/../scripts/startup-code-span" "$build/bench/startup_tolmeri")
    echo "start-up code: $found of the $listed listed functions defined, spanning $span KiB of the text"
fi
