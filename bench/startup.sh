#!/usr/bin/env bash
# Process start to window shown, and peak memory, for the main dialog and for
# an empty QDialog program built the same way; medians of N runs.
#   bench/startup.sh [build-dir] [runs]
# Runs under xvfb-run when there is no display.
set -euo pipefail
build=${1:-build/release}
runs=${2:-21}
if [ -z "${DISPLAY:-}" ] && [ -z "${TOLMERI_IN_XVFB:-}" ]; then
    exec env TOLMERI_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy away from the build tree, so no settings file lands there.
cp "$build/bench/startup_tolmeri" "$build/bench/startup_empty" "$work/"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

for probe in startup_tolmeri startup_empty; do
    : >"$work/ms"; : >"$work/kb"
    "$work/$probe" >/dev/null # warm the file cache
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        read -r shown kb < <("$work/$probe")
        echo $(( (shown - start) / 1000 )) >>"$work/ms"
        echo "$kb" >>"$work/kb"
    done
    printf '%-16s start to window shown: median %6.1f ms   peak RSS: median %6.1f MiB  (%d runs)\n' \
        "$probe" "$(median <"$work/ms" | awk '{print $1/1000}')" \
        "$(median <"$work/kb" | awk '{print $1/1024}')" "$runs"
done
