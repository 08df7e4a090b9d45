#!/usr/bin/env bash
# tolmeri beside a peer, the npm package suncalc, for Tokyo (35°41′ N,
# 139°42′ E, JST) over the whole of one year, in one run:
#  - the largest difference of dawn and dusk (the Sun's centre 7°21′40″ below
#    the horizon, via suncalc's custom times) and of sunrise and sunset;
#  - the computing time per day of both, and their ratios: tolmeri's day
#    computation alone (bench/hours_bench, the window's recompute of one day)
#    and tolmeri-hours as a whole per extra day (CSV row included).
# suncalc is installed with the machine's npm into a temporary folder and
# removed afterwards; nothing is kept in the repository.
#   bench/peer_suncalc.sh [build-dir] [year] [goal-ratio]
# Exit status 3, the comparison skipped, when the machine has no Node.js and
# npm or suncalc cannot be installed (no registry at hand). With a goal
# ratio it says whether tolmeri's day computation was that many times
# faster; it reports and never fails for the figures.
set -euo pipefail
build=${1:-build/release}
year=${2:-2026}
goal=${3:-}
exe="$(cd "$build/bin" && pwd)/tolmeri-hours"
bench="$build/bench/hours_bench"
for f in "$exe" "$bench"; do
    [ -x "$f" ] || { echo "peer_suncalc: $f not built" >&2; exit 1; }
done
command -v node >/dev/null && command -v npm >/dev/null ||
    { echo "peer_suncalc: no node and npm on this machine: the comparison is skipped" >&2; exit 3; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! timeout 300 npm install --prefix "$work" --no-save --no-audit --no-fund --loglevel=error suncalc \
    >/dev/null; then
    echo "peer_suncalc: cannot install suncalc with npm" >&2
    exit 3
fi
version=$(node -p "require('$work/node_modules/suncalc/package.json').version")

place=(--lat 35:41 --lon 139:42 --tz 9 --name Tokyo)
"$exe" "${place[@]}" --date "$year-01-01" --to "$year-12-31" --format csv >"$work/tolmeri.csv"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# tolmeri per day: whole processes for 200 years of days and for one day;
# the difference divided by the extra days leaves the start-up out. It
# includes writing each day as a CSV row (to /dev/null).
long_days=73049 # 2000-01-01 to 2199-12-31
for n in 1 "$long_days"; do
    : >"$work/t$n"
    for _ in 1 2 3 4 5 6 7; do
        start=$(date +%s%N)
        "$exe" "${place[@]}" --date 2000-01-01 --days "$n" --format csv >/dev/null
        end=$(date +%s%N)
        echo $((end - start)) >>"$work/t$n"
    done
done
t1=$(median <"$work/t1")
tn=$(median <"$work/t$long_days")
tolmeri_ns=$(awk -v a="$t1" -v b="$tn" -v n="$long_days" 'BEGIN {printf "%.1f", (b - a) / (n - 1)}')

cat >"$work/compare.js" <<'JS'
const SunCalc = require(process.argv[2]);
const fs = require('fs');
const year = Number(process.argv[4]);
const lat = 35 + 41 / 60, lng = 139 + 42 / 60, tz = 9;
// 7°21′40″ below the horizon, and the program's own depressions: its
// constants stand where the sine of the altitude belongs, so they mean
// asin(-0.1284753) and asin(-0.01571).
const deg = 180 / Math.PI;
SunCalc.addTime(-(7 + 21 / 60 + 40 / 3600), 'dawnRef', 'duskRef');
SunCalc.addTime(Math.asin(-0.1284753) * deg, 'dawnOwn', 'duskOwn');
SunCalc.addTime(Math.asin(-0.01571) * deg, 'riseOwn', 'setOwn');

const rows = fs.readFileSync(process.argv[3], 'utf8').trim().split('\n');
const head = rows.shift().split(',');
const col = name => head.indexOf(name);
const days = rows.map(r => r.split(','));

// Local standard noon of each date, and minutes from its local midnight.
const noon = d => { const [y, m, dd] = d.split('-').map(Number); return new Date(Date.UTC(y, m - 1, dd, 12 - tz)); };
const minutes = (t, d) => (t.getTime() - (noon(d).getTime() - 12 * 3600e3)) / 60e3;

const pairs = [
  ['dawn at 7°21′40″', 'b06_min', 'dawnRef'],
  ['dusk at 7°21′40″', 'b18_min', 'duskRef'],
  ['sunrise (suncalc: 0.833°)', 'sunrise_min', 'sunrise'],
  ['sunset (suncalc: 0.833°)', 'sunset_min', 'sunset'],
  ['dawn at the program\'s own 7.38°', 'b06_min', 'dawnOwn'],
  ['dusk at the program\'s own 7.38°', 'b18_min', 'duskOwn'],
  ['sunrise at the program\'s own 0.90°', 'sunrise_min', 'riseOwn'],
  ['sunset at the program\'s own 0.90°', 'sunset_min', 'setOwn'],
];
const worst = pairs.map(() => ({ diff: 0, date: '' }));
const sum = pairs.map(() => 0);
for (const f of days) {
  const date = f[col('date')];
  const t = SunCalc.getTimes(noon(date), lat, lng);
  pairs.forEach(([, c, key], i) => {
    const d = Number(f[col(c)]) - minutes(t[key], date);
    sum[i] += d;
    if (Math.abs(d) > Math.abs(worst[i].diff)) worst[i] = { diff: d, date };
  });
}
console.log(`${days.length} days of ${year}, tolmeri minus suncalc, in minutes (tolmeri rounds to whole minutes):`);
pairs.forEach(([name], i) => console.log(
  `  ${name.padEnd(36)} largest ${worst[i].diff.toFixed(2).padStart(6)} on ${worst[i].date}   mean ${(sum[i] / days.length).toFixed(2).padStart(6)}`));

// Time per day: every time of one day from one getTimes call (its own six
// pairs plus the three added), over the year many times.
const dates = days.map(f => noon(f[col('date')]));
let sink = 0;
for (let w = 0; w < 20; ++w) for (const d of dates) sink += SunCalc.getTimes(d, lat, lng).dawnRef.getTime();
const reps = 200;
const start = process.hrtime.bigint();
for (let r = 0; r < reps; ++r) for (const d of dates) sink += SunCalc.getTimes(d, lat, lng).dawnRef.getTime();
const ns = Number(process.hrtime.bigint() - start) / (reps * dates.length);
console.log(`SUNCALC_NS ${ns.toFixed(1)} ${sink > 0 ? '' : ' '}`);
JS
node "$work/compare.js" "$work/node_modules/suncalc" "$work/tolmeri.csv" "$year" >"$work/out"
grep -v '^SUNCALC_NS' "$work/out"
suncalc_ns=$(awk '/^SUNCALC_NS/ {print $2}' "$work/out")
"$bench" --benchmark_filter='BM_OneDay$' --benchmark_format=csv 2>/dev/null >"$work/bench.csv"
compute_ns=$(awk -F, '/^"BM_OneDay"/ {print $3}' "$work/bench.csv")
echo
echo "time per day (same run):"
printf '  suncalc %s getTimes (all its times of one day)   %8.1f ns\n' "$version" "$suncalc_ns"
printf '  tolmeri day computation (hours_bench BM_OneDay)      %8.1f ns   suncalc / tolmeri %5.1f\n' \
    "$compute_ns" "$(awk -v a="$suncalc_ns" -v b="$compute_ns" 'BEGIN {print a / b}')"
printf '  tolmeri-hours per extra day, CSV row included        %8.1f ns   suncalc / tolmeri %5.1f\n' \
    "$tolmeri_ns" "$(awk -v a="$suncalc_ns" -v b="$tolmeri_ns" 'BEGIN {print a / b}')"
if [ -n "$goal" ]; then
    if awk -v a="$suncalc_ns" -v b="$compute_ns" -v g="$goal" 'BEGIN {exit !(a / b >= g)}'; then
        echo "goal: the day computation at least $goal times faster than suncalc: met"
    else
        echo "goal: the day computation at least $goal times faster than suncalc: NOT met on this run"
    fi
fi
