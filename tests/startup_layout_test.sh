#!/usr/bin/env bash
# The program's start-up code lies together: the functions listed in
# app/startup_functions.txt that the program defines span at most 128 KiB
# of its text (about 500 KiB in all; unordered, they span nearly all of
# it), and most of the list is still defined (a list gone stale through
# renames lays out nothing; scripts/list-startup-code writes it again).
#   tests/startup_layout_test.sh PROGRAM LIST
set -uo pipefail
read -r found listed span < <("$(dirname "$0")/../scripts/startup-code-span" "$1" "$2") || {
    echo "FAIL: could not read the symbols of $1"
    exit 1
}
echo "$found of the $listed listed functions defined, spanning $span KiB"
failures=0
if [ "$listed" -eq 0 ] || [ $((found * 10)) -lt $((listed * 8)) ]; then
    echo "FAIL: fewer than 80% of the listed functions are defined; run scripts/list-startup-code"
    failures=$((failures + 1))
fi
if [ "$span" -gt 128 ]; then
    echo "FAIL: the listed functions span $span KiB of the text, more than 128"
    failures=$((failures + 1))
fi
exit $((failures > 0))
