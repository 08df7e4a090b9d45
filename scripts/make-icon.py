#!/usr/bin/env python3
"""Draws the program's icon: resource 128 as 16-colour XPM text, and the
same picture as a scalable SVG for the desktop's icon theme.

The picture is a temporal-hour dial: a disc whose upper part is day (the
chart's yellows) and lower part night (its blues), the boundary tilted so
that day and night are visibly unequal, with twelve hour ticks spaced
unequally to match, a dark-red hand, and a black rim.

    python3 scripts/make-icon.py res/icons

writes 128-32.xpm and 128-16.xpm (the window's icon, pixel by pixel) and
tolmeri.svg (the theme's scalable icon; the build renders it at 48 to 256
pixels). The output is committed; run this again only to change the picture.
"""
import math
import sys

PALETTE = {  # char: (r, g, b) or None for transparent
    ' ': None,
    'k': (0, 0, 0),
    'r': (128, 0, 0),
    '1': (0, 0, 200),
    '2': (40, 40, 255),
    '3': (90, 90, 255),
    '4': (255, 195, 60),
    '5': (255, 225, 60),
    '6': (255, 255, 60),
    'w': (255, 255, 255),
    'g': (200, 200, 200),
}

# Dawn and dusk on the dial, in degrees clockwise from the top: the day spans
# 220 degrees (a summer day), the night the other 140.
DAWN, DUSK = -110.0, 110.0


def band_colour(angle):
    """Colour of the sector at angle (degrees clockwise from the top)."""
    a = (angle + 180.0) % 360.0 - 180.0
    if DAWN <= a <= DUSK:  # day: yellows, brightest at noon (top)
        f = abs(a) / DUSK
        return '6' if f < 1 / 3 else '5' if f < 2 / 3 else '4'
    f = (180.0 - abs(a)) / (180.0 - DUSK)  # 0 at midnight (bottom)
    return '1' if f < 1 / 3 else '2' if f < 2 / 3 else '3'


def hour_angles():
    """Twelve hour starts: six across the day, six across the night."""
    day = [DAWN + i * (DUSK - DAWN) / 6 for i in range(6)]
    night = [DUSK + i * (360 - (DUSK - DAWN)) / 6 for i in range(6)]
    return day + night


def pixel(size, x, y):
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    dx, dy = x - c, y - c
    d = math.hypot(dx, dy)
    if d > r + 0.3:
        return ' '
    if d > r - (1.0 if size <= 16 else 1.4):
        return 'k'
    angle = math.degrees(math.atan2(dx, -dy))
    # The hand: from the centre toward mid-afternoon.
    hand = math.radians(HAND_ANGLE)
    hx, hy = math.sin(hand), -math.cos(hand)
    along = dx * hx + dy * hy
    across = abs(dx * hy - dy * hx)
    if -0.5 <= along <= r * 0.8 and across <= (0.6 if size <= 16 else 1.0):
        return 'r'
    if d <= (1.0 if size <= 16 else 1.8):
        return 'r'
    if size > 16:
        for t in hour_angles():
            diff = abs((angle - t + 180.0) % 360.0 - 180.0)
            if d > r - 5.0 and diff * math.pi / 180.0 * d < 0.8:
                return 'k'
    return band_colour(angle)


def xpm(size, name):
    rows = [''.join(pixel(size, x, y) for x in range(size)) for y in range(size)]
    used = sorted({ch for row in rows for ch in row})
    lines = ['/* XPM */', f'static const char *{name}[] = {{',
             f'"{size} {size} {len(used)} 1",']
    for ch in used:
        rgb = PALETTE[ch]
        col = 'None' if rgb is None else '#%02X%02X%02X' % rgb
        lines.append(f'"{ch} c {col}",')
    lines += [f'"{row}",' for row in rows]
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    return '\n'.join(lines) + '\n'


# The vector picture, in the units of the 32-pixel icon (centre 16, 16).
SVG_CENTRE = 16.0
SVG_RADIUS = 15.75   # outer edge of the rim
SVG_RIM = 1.3        # rim width
SVG_TICK = 4.0       # length of an hour tick, inward from the rim
HAND_ANGLE = 40.0    # the hand points to mid-afternoon


def svg_point(angle, radius):
    a = math.radians(angle)
    return (SVG_CENTRE + radius * math.sin(a), SVG_CENTRE - radius * math.cos(a))


def svg_colour(ch):
    return '#%02X%02X%02X' % PALETTE[ch]


def svg_sectors():
    """The bands as wedges: (colour char, start angle, end angle) clockwise.

    The same bands as band_colour: three day yellows either side of noon,
    three night blues either side of midnight."""
    day = DUSK / 3.0
    night = (180.0 - DUSK) / 3.0
    wedges = [('6', -day, day)]
    for i, ch in enumerate('54'):
        lo, hi = day * (i + 1), day * (i + 2)
        wedges += [(ch, lo, hi), (ch, -hi, -lo)]
    for i, ch in enumerate('32'):
        lo, hi = DUSK + night * i, DUSK + night * (i + 1)
        wedges += [(ch, lo, hi), (ch, -hi, -lo)]
    wedges.append(('1', 180.0 - night, 180.0 + night))
    return wedges


def svg():
    r = SVG_RADIUS - SVG_RIM / 2
    f = lambda v: ('%.3f' % v).rstrip('0').rstrip('.')
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
           'viewBox="0 0 32 32">',
           '<title>tolmeri</title>']
    for ch, a0, a1 in svg_sectors():
        x0, y0 = svg_point(a0, r)
        x1, y1 = svg_point(a1, r)
        big = 1 if a1 - a0 > 180.0 else 0
        out.append(f'<path fill="{svg_colour(ch)}" d="M{f(SVG_CENTRE)} {f(SVG_CENTRE)}'
                   f'L{f(x0)} {f(y0)}A{f(r)} {f(r)} 0 {big} 1 {f(x1)} {f(y1)}Z"/>')
    ticks = []
    for t in hour_angles():
        x0, y0 = svg_point(t, SVG_RADIUS - SVG_RIM - SVG_TICK)
        x1, y1 = svg_point(t, r)
        ticks.append(f'M{f(x0)} {f(y0)}L{f(x1)} {f(y1)}')
    out.append(f'<path fill="none" stroke="{svg_colour("k")}" stroke-width="1" '
               f'd="{"".join(ticks)}"/>')
    out.append(f'<circle cx="{f(SVG_CENTRE)}" cy="{f(SVG_CENTRE)}" r="{f(r)}" fill="none" '
               f'stroke="{svg_colour("k")}" stroke-width="{f(SVG_RIM)}"/>')
    hx, hy = svg_point(HAND_ANGLE, (SVG_RADIUS - SVG_RIM) * 0.8)
    out.append(f'<path fill="none" stroke="{svg_colour("r")}" stroke-width="1.6" '
               f'stroke-linecap="round" d="M{f(SVG_CENTRE)} {f(SVG_CENTRE)}L{f(hx)} {f(hy)}"/>')
    out.append(f'<circle cx="{f(SVG_CENTRE)}" cy="{f(SVG_CENTRE)}" r="1.8" '
               f'fill="{svg_colour("r")}"/>')
    out.append('</svg>')
    return '\n'.join(out) + '\n'


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'res/icons'
    assert len(PALETTE) <= 16
    for size in (32, 16):
        with open(f'{out}/128-{size}.xpm', 'w') as f:
            f.write(xpm(size, f'tolmeri_{size}'))
    with open(f'{out}/tolmeri.svg', 'w') as f:
        f.write(svg())


if __name__ == '__main__':
    main()
