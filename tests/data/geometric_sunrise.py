#!/usr/bin/env python3
"""Geometric sunrise and sunset (the Sun's centre on the horizon, no
refraction) for the dawn-definition tests, computed independently of the
program: the Sun of Meeus, Astronomical Algorithms (2nd ed.), chapter 25
(apparent longitude with nutation and aberration, true obliquity), Greenwich
mean sidereal time of chapter 12, and the altitude found by bisection on the
moment itself (the Sun's position at that moment, not at noon). Standard
library only.

    python3 tests/data/geometric_sunrise.py
prints one line per case: place, date, sunrise and sunset as minutes of the
local standard day (unrounded) and as clock times.
"""
import math

D = math.pi / 180.0


def jd_of(y, m, d):
    if m <= 2:
        y -= 1
        m += 12
    a = y // 100
    b = 2 - a + a // 4 if (y, m, d) >= (1582, 10, 15) else 0
    return math.floor(365.25 * (y + 4716)) + math.floor(30.6001 * (m + 1)) + d + b - 1524.5


def sun(jd_tt):
    t = (jd_tt - 2451545.0) / 36525.0
    l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t
    m = 357.52911 + 35999.05029 * t - 0.0001537 * t * t
    c = ((1.914602 - 0.004817 * t - 0.000014 * t * t) * math.sin(m * D)
         + (0.019993 - 0.000101 * t) * math.sin(2 * m * D)
         + 0.000289 * math.sin(3 * m * D))
    omega = 125.04 - 1934.136 * t
    lam = l0 + c - 0.00569 - 0.00478 * math.sin(omega * D)
    eps0 = 23.0 + (26.0 + (21.448 - t * (46.8150 + t * (0.00059 - 0.001813 * t))) / 60.0) / 60.0
    eps = eps0 + 0.00256 * math.cos(omega * D)
    ra = math.atan2(math.cos(eps * D) * math.sin(lam * D), math.cos(lam * D))
    dec = math.asin(math.sin(eps * D) * math.sin(lam * D))
    return ra, dec


def gmst(jd_ut):
    t = (jd_ut - 2451545.0) / 36525.0
    g = (280.46061837 + 360.98564736629 * (jd_ut - 2451545.0)
         + 0.000387933 * t * t - t ** 3 / 38710000.0)
    return (g % 360.0) * D


def altitude(jd_ut, lat, lon, dt_days):
    ra, dec = sun(jd_ut + dt_days)
    h = gmst(jd_ut) + lon - ra
    return math.asin(math.sin(lat) * math.sin(dec) + math.cos(lat) * math.cos(dec) * math.cos(h))


def crossing(lo, hi, lat, lon, dt_days, rising):
    for _ in range(60):
        mid = (lo + hi) / 2
        above = altitude(mid, lat, lon, dt_days) > 0
        if above == rising:
            hi = mid
        else:
            lo = mid
    return (lo + hi) / 2


def events(lat_deg, lon_deg, tz, y, m, d, delta_t_s):
    lat, lon = lat_deg * D, lon_deg * D
    midnight_ut = jd_of(y, m, d) - tz / 24.0
    dt = delta_t_s / 86400.0
    # Local apparent noon, roughly, splits the day into a rising and a setting half.
    noon = midnight_ut + 0.5 - (lon_deg / 15.0 - tz) / 24.0
    rise = crossing(noon - 0.5, noon, lat, lon, dt, True)
    sett = crossing(noon, noon + 0.5, lat, lon, dt, False)
    return [(x - midnight_ut) * 1440.0 for x in (rise, sett)]


def clock(minutes):
    v = round(minutes) % 1440
    return f"{v // 60:02d}:{v % 60:02d}"


CASES = [
    # name, latitude, longitude (degrees, north and east positive), tz, date, ΔT (s)
    ("京都", 35 + 1 / 60, 135 + 45 / 60, 9, (2026, 3, 20), 69),
    ("京都", 35 + 1 / 60, 135 + 45 / 60, 9, (1750, 3, 21), 13),
    ("京都", 35 + 1 / 60, 135 + 45 / 60, 9, (1790, 6, 21), 16),
    ("東京", 35 + 39 / 60, 139 + 45 / 60, 9, (2026, 12, 22), 69),
    ("東京", 35 + 39 / 60, 139 + 45 / 60, 9, (1798, 2, 15), 15),
    ("東京", 35 + 39 / 60, 139 + 45 / 60, 9, (1798, 2, 16), 15),
]

if __name__ == "__main__":
    for name, lat, lon, tz, (y, m, d), dts in CASES:
        r, s = events(lat, lon, tz, y, m, d, dts)
        print(f"{name} {y:04d}-{m:02d}-{d:02d} sunrise {r:8.2f} {clock(r)}  sunset {s:8.2f} {clock(s)}")
