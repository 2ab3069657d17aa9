#!/usr/bin/env python3
"""Draws the shutdown dialog's icon, a power symbol on a red disc, at 32x32
and 16x16 and writes shutdown.ico in the same form as the program's own icon
(16-colour images with an AND mask). Standard library only; the output is
the same bytes on every run.

    python3 make_shutdown_icon.py [output.ico]
"""
import math
import sys

from make_icon import ico

RIM = (120, 18, 18, 255)
FACE = (214, 44, 40, 255)
SYMBOL = (250, 250, 250, 255)
CLEAR = (0, 0, 0, 0)


def draw(size):
    img = [[CLEAR] * size for _ in range(size)]
    s = size / 32.0
    c = size / 2.0
    outer, face = 15.5 * s, 14.0 * s
    ring_out, ring_in = 9.5 * s, max(6.5 * s, 9.5 * s - 2.0)
    half_bar = max(1.0, 1.5 * s)
    for y in range(size):
        for x in range(size):
            dx, dy = x + 0.5 - c, y + 0.5 - c
            d = math.hypot(dx, dy)
            if d > outer:
                continue
            img[y][x] = RIM if d > face else FACE
            # The ring, open at the top where the bar stands.
            angle = math.degrees(math.atan2(dx, -dy))
            if ring_in <= d <= ring_out and abs(angle) > 35:
                img[y][x] = SYMBOL
            if abs(dx) <= half_bar and -12.0 * s <= dy <= 1.0 * s:
                img[y][x] = SYMBOL
    return img


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "shutdown.ico"
    with open(path, "wb") as f:
        f.write(ico([32, 16], draw))


if __name__ == "__main__":
    main()
