#!/usr/bin/env bash
# The README's picture of the main window: the program started from a
# temporary copy (with a settings file for 東京 on 2026-06-21) on a virtual
# display, its window captured with ImageMagick's import.
#   tools/screenshot.sh [build-dir] [output.png]
# Needs xvfb and xdotool (in install-deps) and ImageMagick (apt install imagemagick).
set -euo pipefail
build=${1:-build/release}
out=$(realpath -m "${2:-docs/screenshot.png}")
if [ -z "${TOLMERI_IN_XVFB:-}" ]; then
    exec env TOLMERI_IN_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$out"
fi
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/bin/tolmeri" "$build/bin/tolmeri.HLP" "$work/"
# The settings file is Shift-JIS: 東京 is 93 8C 8B 9E.
printf '[Location]\r\nLocation Name=\x93\x8c\x8b\x9e\r\nLatitude Degrees=35\r\nLatitude Minutes=39\r\nLongitude Degrees=139\r\nLongitude Minutes=45\r\nTime Difference=9\r\n[Time]\r\nYear=2026\r\nMonth=6\r\nDay=21\r\n' \
    >"$work/tolmeri.ini"
"$work/tolmeri" 2>/dev/null &
pid=$!
wid=
for _ in $(seq 100); do
    wid=$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || { echo "screenshot: the window did not appear" >&2; exit 1; }
sleep 1 # let the first paint finish
import -window "$wid" "$out"
echo "screenshot: $out"
