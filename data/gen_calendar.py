#!/usr/bin/env python3
"""Turns the calendar tables in data/calendar/ into core/calendar_data.cpp.

    data/gen_calendar.py           writes core/calendar_data.cpp
    data/gen_calendar.py --check   exits 1 when the committed file differs

The month table becomes one record per lunisolar year (New Year's Julian day
number, the long months as bits, the leap month); the era table becomes the
list of eras and, for each of the two courts of 1331-1392, the periods in
which each era was in force. Everything is checked for consistency on the
way: a failed check stops the script with a message and writes nothing.
"""

import csv
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
MONTHS_CSV = ROOT / "data/calendar/kyureki_months_445_1872.csv"
ERAS_CSV = ROOT / "data/calendar/japanese_eras_645_2019.csv"
OUTPUT = ROOT / "core/calendar_data.cpp"

# The CSV gives each era's start in its own court and, for eras shared by
# both courts, its end in the Southern court. Two starts differ by court:
# - the Northern court kept 元徳 until 正慶 and took 元弘 up only when 正慶
#   was abolished (元弘3年5月, the end of 正慶 in the table);
# - the Southern court used 元中 until the reunion (元中9年閏10月5日, the end
#   of 元中 in the table) and 明徳 from then on.
NORTHERN_START = {"元弘": "正慶"}  # starts where the named era ends
SOUTHERN_START = {"明徳": "元中"}

NO_ERA = -1
OPEN_END = 2**31 - 1


class DataError(Exception):
    pass


def read_months():
    """Rows (year, month, leap, jdn, days) in table order."""
    with open(MONTHS_CSV, newline="", encoding="utf-8") as f:
        reader = csv.reader(f)
        next(reader)
        return [
            (int(r[0]), int(r[1]), int(r[2]), int(r[3]), int(r[5])) for r in reader if r
        ]


def build_years(months):
    years = []  # (year, new year jdn, long-month bits, leap month)
    expected_jdn = months[0][3]
    by_year = {}
    for row in months:
        by_year.setdefault(row[0], []).append(row)
    first, last = min(by_year), max(by_year)
    if sorted(by_year) != list(range(first, last + 1)):
        raise DataError("the month table skips a year")
    for year in range(first, last + 1):
        rows = by_year[year]
        bits, leap, expected_month = 0, 0, 1
        for i, (_, month, is_leap, jdn, days) in enumerate(rows):
            if jdn != expected_jdn:
                raise DataError(f"{year}/{month}: first day {jdn}, expected {expected_jdn}")
            if is_leap:
                if leap or month != expected_month - 1:
                    raise DataError(f"{year}: leap month {month} out of order")
                leap = month
            else:
                if month != expected_month:
                    raise DataError(f"{year}: month {month} out of order")
                expected_month += 1
            last_month = year == last and i == len(rows) - 1
            if days == 30:
                bits |= 1 << i
            elif days != 29 and not last_month:
                raise DataError(f"{year}/{month}: {days} days")
            expected_jdn += days
        if expected_month != 13:
            raise DataError(f"{year}: {expected_month - 1} ordinary months")
        years.append((year, rows[0][3], bits, leap))
    return years, expected_jdn


def read_eras():
    with open(ERAS_CSV, newline="", encoding="utf-8") as f:
        reader = csv.reader(f)
        next(reader)
        eras = []
        for r in reader:
            if not r:
                continue
            end = int(r[7]) if r[7] else OPEN_END
            start = int(r[4])
            # From 1868 on the table gives the last day; make every end exclusive.
            if r[7] and start >= 2403357:
                end += 1
            eras.append(
                {"name": r[1], "court": r[2], "first_year": int(r[3]), "start": start, "end": end}
            )
    for before, era in zip(eras, eras[1:]):
        if era["start"] < before["start"] and era["court"] == "":
            raise DataError(f"{era['name']} starts before the era listed before it")
    return eras


def chain(eras, court, overrides):
    """[(start jdn, era index or NO_ERA)]: the era in force in one court."""
    index = {e["name"]: i for i, e in enumerate(eras)}
    starts = []
    for i, e in enumerate(eras):
        if e["court"] not in ("", "S/N", court):
            continue
        start = e["start"]
        if e["name"] in overrides:
            start = eras[index[overrides[e["name"]]]]["end"]
        starts.append((start, i))
    starts.sort()
    periods = []
    for k, (start, i) in enumerate(starts):
        periods.append((start, i))
        following = starts[k + 1][0] if k + 1 < len(starts) else OPEN_END
        # A gap with no era (654-686, 686-701): a sole era ends before the next begins.
        if eras[i]["court"] == "" and eras[i]["end"] < following:
            periods.append((eras[i]["end"], NO_ERA))
    return periods


def spans(eras, chains):
    """Per era [first jdn, end jdn): the days a date written in it may name."""
    result = []
    for i, e in enumerate(eras):
        lo, hi = e["start"], e["end"]
        for periods in chains:
            for k, (start, era) in enumerate(periods):
                if era == i:
                    end = periods[k + 1][0] if k + 1 < len(periods) else OPEN_END
                    lo, hi = min(lo, start), max(hi, end)
        result.append((lo, hi))
    return result


def era_at(periods, jdn):
    era = NO_ERA
    for start, index in periods:
        if start > jdn:
            break
        era = index
    return era


def check_courts(south, north):
    """Outside the split the two courts must agree."""
    split_start, split_end = 2207459, 2229809  # 元弘 (1331-09-11) .. reunion (1392-11-19)
    days = {p[0] for p in south + north} | {split_end}
    for jdn in sorted(days):
        if (jdn < split_start or jdn >= split_end) and era_at(south, jdn) != era_at(north, jdn):
            raise DataError(f"the two courts differ on Julian day {jdn}, outside 1331-1392")


def generate():
    years, end_jdn = build_years(read_months())
    eras = read_eras()
    south = chain(eras, "S", SOUTHERN_START)
    north = chain(eras, "N", NORTHERN_START)
    check_courts(south, north)
    era_spans = spans(eras, (south, north))
    court_names = {"": "kSole", "S/N": "kBoth", "S": "kSouthern", "N": "kNorthern"}

    out = []
    w = out.append
    w("// Generated by data/gen_calendar.py from data/calendar/*.csv: do not edit.")
    w("// The month table is derived from sugi/wareki's encoding (BSD-2-Clause,")
    w("// data/calendar/LICENSE.sugi-wareki-BSD-2-Clause) of manakai/data-locale's")
    w("// calendar-day data (CC0); see data/calendar/NOTICE.")
    w('#include "core/calendar_data.h"')
    w("")
    w("namespace tolmeri::calendar_data {")
    w("")
    w(f"static_assert(kFirstLunisolarYear == {years[0][0]} && kLastLunisolarYear == {years[-1][0]});")
    w(f"static_assert(kLunisolarFirstJdn == {years[0][1]} && kLunisolarEndJdn == {end_jdn});")
    w(f"static_assert(kEraCount == {len(eras)});")
    w("")
    w("// {New Year's Julian day, long months (bit i: the year's i-th month has 30")
    w("// days), leap month (0: none)}")
    w("const LunisolarYear kLunisolarYears[kLastLunisolarYear - kFirstLunisolarYear + 1] = {")
    for year, jdn, bits, leap in years:
        w(f"    {{{jdn}, 0x{bits:04x}, {leap}}}, // {year}")
    w("};")
    w("")
    w("// {name, first (元年) year, court, proclaimed, first day, end day}")
    w("constinit const Era kEras[kEraCount] = {")
    for e, (lo, hi) in zip(eras, era_spans):
        w(
            f'    {{"{e["name"]}", {e["first_year"]}, Court::{court_names[e["court"]]}, '
            f'{e["start"]}, {lo}, {hi}}},'
        )
    w("};")
    for name, periods in (("kSouthernPeriods", south), ("kNorthernPeriods", north)):
        w("")
        w(f"const EraPeriod {name}[] = {{")
        for start, era in periods:
            label = eras[era]["name"] if era != NO_ERA else "(none)"
            w(f"    {{{start}, {era}}}, // {label}")
        w("};")
        w(f"const int {name[:-7]}PeriodCount = sizeof {name} / sizeof {name}[0];")
    w("")
    w("} // namespace tolmeri::calendar_data")
    return "\n".join(out) + "\n"


def main(argv):
    try:
        text = generate()
    except DataError as e:
        print(f"gen_calendar.py: {e}", file=sys.stderr)
        return 1
    if argv[1:] == ["--check"]:
        current = OUTPUT.read_text(encoding="utf-8") if OUTPUT.exists() else ""
        if current != text:
            print(f"{OUTPUT} is not what data/gen_calendar.py makes: run it", file=sys.stderr)
            return 1
        return 0
    if argv[1:]:
        print("usage: gen_calendar.py [--check]", file=sys.stderr)
        return 2
    OUTPUT.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
