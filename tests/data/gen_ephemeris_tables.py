#!/usr/bin/env python3
"""Reference tables of the Sun's and the Moon's daily events from JPL's DE431,
as Debian's Swiss Ephemeris packages carry it, at development time only (the
tests read the CSV files this writes and never need the library or its data):

    scripts/install-deps reference
    tests/data/gen_ephemeris_tables.py

writes tests/data/sun_events_ephemeris.csv and tests/data/moon_ephemeris.csv.
Every moment is a day minute of the place's standard time (universal time
plus tz hours), unrounded, counted from 00:00 of the date; dates are
proleptic Gregorian. An event the day does not have is an empty field.

Universal time comes from the ephemeris's terrestrial time by the published
Delta T polynomials of Espenak and Meeus (NASA's eclipse pages, 2006), the
model the program uses: so the tables measure the program's astronomy, not
the disagreement of two Delta T models, which reaches minutes at the year 0.
Sidereal time is the IERS Conventions' (2010), from the Earth rotation angle
that universal time, and Delta T with it, is defined by; the library's own
long-term sidereal time parts from it by 22 s of time at the year 0 (3 s in
1000, 0.2 s in 1600), and would move every event by as much.
"""
import ctypes
import math
import os
import sys

EPHE = "/usr/share/libswe/ephe"
OUT = os.path.dirname(os.path.abspath(__file__))

SE_SUN, SE_MOON = 0, 1
SEFLG_SWIEPH, SEFLG_EQUATORIAL, SEFLG_TOPOCTR = 2, 2048, 32 * 1024
SE_CALC_RISE, SE_CALC_SET, SE_CALC_MTRANSIT = 1, 2, 4
SE_BIT_DISC_CENTER, SE_BIT_NO_REFRACTION = 256, 512
SE_EQU2HOR = 1
SE_GREG_CAL = 1

try:
    swe = ctypes.CDLL("libswe.so.2")
except OSError:
    sys.exit("gen_ephemeris_tables: needs Debian's libswe2.0 (and swe-standard-data)")
D = ctypes.c_double
DP = ctypes.POINTER(ctypes.c_double)
swe.swe_set_ephe_path.argtypes = [ctypes.c_char_p]
swe.swe_version.argtypes = [ctypes.c_char_p]
swe.swe_julday.restype = D
swe.swe_julday.argtypes = [ctypes.c_int, ctypes.c_int, ctypes.c_int, D, ctypes.c_int]
swe.swe_set_delta_t_userdef.argtypes = [D]
swe.swe_calc_ut.argtypes = [D, ctypes.c_int, ctypes.c_int, DP, ctypes.c_char_p]
swe.swe_rise_trans_true_hor.argtypes = [D, ctypes.c_int, ctypes.c_char_p, ctypes.c_int,
                                        ctypes.c_int, DP, D, D, D, DP, ctypes.c_char_p]
swe.swe_set_topo.argtypes = [D, D, D]
swe.swe_azalt.argtypes = [D, ctypes.c_int, DP, D, D, DP, DP]
swe.swe_set_astro_models.argtypes = [ctypes.c_char_p, ctypes.c_int]
swe.swe_set_ephe_path(EPHE.encode())
# The library's default models but for sidereal time (the eighth): the
# IERS Conventions 2010.
swe.swe_set_astro_models(b"0,0,0,0,0,0,0,3", 0)


def delta_t_seconds(y):
    """Delta T = TT - UT in seconds for a fractional year (Espenak and Meeus)."""
    def parabola(y):
        u = (y - 1820.0) / 100.0
        return -20.0 + 32.0 * u * u

    def poly(t, *c):
        return sum(k * t ** i for i, k in enumerate(c))
    if y < -500.0 or y >= 2150.0:
        return parabola(y)
    if y < 500.0:
        return poly(y / 100.0, 10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192,
                    0.0090316521)
    if y < 1600.0:
        return poly((y - 1000.0) / 100.0, 1574.2, -556.01, 71.23472, 0.319781, -0.8503463,
                    -0.005050998, 0.0083572073)
    if y < 1700.0:
        return poly(y - 1600.0, 120.0, -0.9808, -0.01532, 1.0 / 7129.0)
    if y < 1800.0:
        return poly(y - 1700.0, 8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000.0)
    if y < 1860.0:
        return poly(y - 1800.0, 13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436,
                    0.0000121272, -0.0000001699, 0.000000000875)
    if y < 1900.0:
        return poly(y - 1860.0, 7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624,
                    1.0 / 233174.0)
    if y < 1920.0:
        return poly(y - 1900.0, -2.79, 1.494119, -0.0598939, 0.0061966, -0.000197)
    if y < 1941.0:
        return poly(y - 1920.0, 21.20, 0.84493, -0.076100, 0.0020936)
    if y < 1961.0:
        return poly(y - 1950.0, 29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0)
    if y < 1986.0:
        return poly(y - 1975.0, 45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0)
    if y < 2005.0:
        return poly(y - 2000.0, 63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599)
    if y < 2050.0:
        return poly(y - 2000.0, 62.92, 0.32217, 0.005589)
    return parabola(y) - 0.5628 * (2150.0 - y)


def use_delta_t(jd_ut):
    """Sets the Delta T of the day around jd_ut (it moves by well under a
    second in a day)."""
    swe.swe_set_delta_t_userdef(delta_t_seconds(2000.0 + (jd_ut - 2451545.0) / 365.25) / 86400.0)


def version():
    text = ctypes.create_string_buffer(256)
    swe.swe_version(text)
    return text.value.decode()


def midnight_ut(date, tz):
    y, m, d = (int(x) for x in date.split("-"))
    return swe.swe_julday(y, m, d, 0.0, SE_GREG_CAL) - tz / 24.0


def event(body, start, rsmi, lat, lon, horizon):
    """The first moment from start of the event rsmi at the horizon height
    (degrees, true altitude), None where none comes within the day."""
    geopos = (D * 3)(lon, lat, 0.0)
    t = D()
    serr = ctypes.create_string_buffer(256)
    if swe.swe_rise_trans_true_hor(start, body, None, SEFLG_SWIEPH, rsmi, geopos, 0.0, 0.0,
                                   horizon, ctypes.byref(t), serr) < 0:
        return None
    return t.value if start <= t.value < start + 1 else None


def minute_of(t, start):
    return "" if t is None else "%.3f" % ((t - start) * 1440.0)


def longitude(body, jd_ut):
    x = (D * 6)()
    serr = ctypes.create_string_buffer(256)
    if swe.swe_calc_ut(jd_ut, body, SEFLG_SWIEPH, x, serr) < 0:
        sys.exit("gen_ephemeris_tables: " + serr.value.decode())
    return x[0]


def elongation(jd_ut):
    """The Moon's apparent geocentric longitude less the Sun's, 0-360."""
    return (longitude(SE_MOON, jd_ut) - longitude(SE_SUN, jd_ut)) % 360.0


def crossing(angle, near):
    """The moment near near (within a few days) the elongation reaches angle."""
    t = near
    for _ in range(50):
        step = ((elongation(t) - angle + 180.0) % 360.0 - 180.0) / 12.19
        t -= step
        if abs(step) < 1e-9:
            break
    return t


# Places: latitude and longitude in whole minutes of arc, as the program
# takes them.
PLACES = {
    "Sapporo": (43 * 60 + 4, 141 * 60 + 21, 9),
    "Kyoto": (35 * 60 + 1, 135 * 60 + 46, 9),
    "Edo": (35 * 60 + 41, 139 * 60 + 46, 9),
    "Naha": (26 * 60 + 13, 127 * 60 + 41, 9),
    "North54": (54 * 60, 10 * 60, 1),
    "South54": (-54 * 60, -68 * 60, -5),
    "Greenwich": (51 * 60 + 29, 0, 0),
    "Quito": (-(0 * 60 + 13), -(78 * 60 + 31), -5),
    "Sydney": (-(33 * 60 + 52), 151 * 60 + 13, 10),
    "Chang-an": (34 * 60 + 16, 108 * 60 + 56, 8),
}


def header(lines):
    return "".join("# " + line + "\n" for line in lines)


def provenance():
    return [
        "source: JPL DE431 through the Swiss Ephemeris %s (Debian's libswe2.0 and" % version(),
        "swe-standard-data), generated by tests/data/gen_ephemeris_tables.py; Delta T by the",
        "Espenak-Meeus polynomials (the model the program uses), sidereal time by the IERS",
        "Conventions 2010, observer at sea level, topocentric. Minutes of the local standard",
        "day, unrounded.",
    ]


def sun_table():
    """The Sun: transit; dawn and dusk with the centre 7°21′40″ below the
    horizon and the geometric sunrise and sunset (centre at 0°), both without
    refraction; sunrise and sunset of the upper limb with 34′ of refraction."""
    depression = -(7 + 21 / 60 + 40 / 3600)
    names = list(PLACES)
    cases = []
    k = 0
    for y in (0, 200, 500, 800, 1000, 1200, 1400, 1600, 1700, 1800, 1900, 2000, 2100, 2200):
        for d in ("03-20", "06-21", "09-23", "12-21"):
            cases.append((names[k % len(names)], "%04d-%s" % (y, d)))
            k += 3
    # The cases the window's Sun gets furthest from.
    cases += [("South54", "1700-12-21"), ("Sapporo", "1604-06-20"), ("Greenwich", "1600-06-21"),
              ("Greenwich", "1600-12-21"), ("North54", "0000-06-21"), ("North54", "0000-12-21")]
    out = header([
        "The Sun's events for places and dates over years 0-2200 and latitudes 54° S to 54° N:",
        "transit; dawn/dusk where its centre is 7°21′40″ below the horizon; rise0/set0 where it",
        "is on the geometric horizon (no refraction); sunrise/sunset of the upper limb with 34′",
        "of refraction.",
    ] + provenance())
    out += "place,lat_min,lon_min,tz,date,transit,dawn,dusk,rise0,set0,sunrise,sunset\n"
    centre = SE_BIT_DISC_CENTER | SE_BIT_NO_REFRACTION
    for name, date in cases:
        lat, lon, tz = PLACES[name]
        start = midnight_ut(date, tz)
        use_delta_t(start)
        la, lo = lat / 60.0, lon / 60.0
        row = [event(SE_SUN, start, SE_CALC_MTRANSIT, la, lo, 0.0),
               event(SE_SUN, start, SE_CALC_RISE | centre, la, lo, depression),
               event(SE_SUN, start, SE_CALC_SET | centre, la, lo, depression),
               event(SE_SUN, start, SE_CALC_RISE | centre, la, lo, 0.0),
               event(SE_SUN, start, SE_CALC_SET | centre, la, lo, 0.0),
               event(SE_SUN, start, SE_CALC_RISE | SE_BIT_NO_REFRACTION, la, lo, -34 / 60),
               event(SE_SUN, start, SE_CALC_SET | SE_BIT_NO_REFRACTION, la, lo, -34 / 60)]
        out += ",".join([name, str(lat), str(lon), str(tz), date] +
                        [minute_of(t, start) for t in row]) + "\n"
    return out


def moon_table():
    """The Moon: rise and set of the upper limb with 34′ of refraction and the
    Moon's parallax, the upper transit, the age at 12:00 local standard time
    (days since the last new moon) and the quarter whose moment falls on the
    day (0 new, 1 first quarter, 2 full, 3 last quarter); and where its centre
    stands at 21:00 local standard time, seen from the place without
    refraction (altitude, azimuth from north through east, degrees)."""
    cases = [
        ("Edo", "1703-01-30"), ("Edo", "1703-01-31"), ("Edo", "1702-12-31"),
        ("Kyoto", "1185-04-25"), ("Kyoto", "1582-06-21"), ("Kyoto", "1000-09-15"),
        ("Kyoto", "0800-03-01"), ("Chang-an", "0701-10-10"), ("Chang-an", "0300-05-05"),
        ("Chang-an", "0000-01-01"), ("Edo", "1860-03-24"), ("Edo", "1868-01-03"),
        ("Sapporo", "1900-08-10"), ("Naha", "1945-04-01"), ("Edo", "2000-01-01"),
        ("Edo", "2026-01-03"), ("Edo", "2026-09-26"), ("Edo", "2026-10-25"),
        ("Greenwich", "1600-07-01"), ("Greenwich", "2100-02-14"), ("North54", "2200-11-30"),
        ("North54", "1750-09-20"), ("South54", "1700-12-21"), ("South54", "2050-06-21"),
        ("Quito", "1500-02-28"), ("Sydney", "1788-01-26"), ("Sydney", "2150-07-07"),
        ("Sapporo", "1604-06-20"), ("Naha", "1400-12-12"), ("Kyoto", "1862-09-08"),
        ("Edo", "1657-03-02"), ("Edo", "1772-04-01"),
    ]
    out = header([
        "The Moon's events for places and dates over years 0-2200: rise/set of its upper limb",
        "with 34′ of refraction (parallax included), its upper transit, its age at 12:00 local",
        "standard time in days since the previous new moon, and the quarter whose moment falls",
        "on the local day (0 new, 1 first quarter, 2 full, 3 last quarter; empty: none); its",
        "centre at 21:00 local standard time seen from the place, without refraction: altitude",
        "and azimuth (from north through east) in degrees.",
    ] + provenance())
    out += "place,lat_min,lon_min,tz,date,moonrise,moonset,moon_transit,age,phase,alt21,az21\n"
    for name, date in cases:
        lat, lon, tz = PLACES[name]
        start = midnight_ut(date, tz)
        use_delta_t(start)
        la, lo = lat / 60.0, lon / 60.0
        rise = event(SE_MOON, start, SE_CALC_RISE | SE_BIT_NO_REFRACTION, la, lo, -34 / 60)
        sets = event(SE_MOON, start, SE_CALC_SET | SE_BIT_NO_REFRACTION, la, lo, -34 / 60)
        transit = event(SE_MOON, start, SE_CALC_MTRANSIT, la, lo, 0.0)
        noon = start + 0.5
        new_moon = crossing(0.0, noon - elongation(noon) / 12.19)
        if new_moon > noon:
            new_moon = crossing(0.0, new_moon - 29.5)
        phase = ""
        for q in range(4):
            t = crossing(90.0 * q, start + 0.5 - ((elongation(start + 0.5) - 90.0 * q + 180.0)
                                                  % 360.0 - 180.0) / 12.19)
            if start <= t < start + 1:
                phase = str(q)
        at = start + 21 / 24
        swe.swe_set_topo(lo, la, 0.0)
        x = (D * 6)()
        serr = ctypes.create_string_buffer(256)
        if swe.swe_calc_ut(at, SE_MOON, SEFLG_SWIEPH | SEFLG_EQUATORIAL | SEFLG_TOPOCTR, x,
                           serr) < 0:
            sys.exit("gen_ephemeris_tables: " + serr.value.decode())
        horizon = (D * 3)()
        swe.swe_azalt(at, SE_EQU2HOR, (D * 3)(lo, la, 0.0), 0.0, 0.0, x, horizon)
        azimuth = (horizon[0] + 180.0) % 360.0  # the library counts from the south, westward
        out += ",".join([name, str(lat), str(lon), str(tz), date, minute_of(rise, start),
                         minute_of(sets, start), minute_of(transit, start),
                         "%.4f" % (noon - new_moon), phase, "%.3f" % horizon[1],
                         "%.3f" % azimuth]) + "\n"
    return out


def main():
    if not os.path.exists(os.path.join(EPHE, "sepl_00.se1")):
        sys.exit("gen_ephemeris_tables: needs Debian's swe-standard-data (the years 0-1800)")
    for name, table in (("sun_events_ephemeris.csv", sun_table()),
                        ("moon_ephemeris.csv", moon_table())):
        with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
            f.write(table)


if __name__ == "__main__":
    main()
