#!/usr/bin/env python3
"""Draws the program's icon, a hand-held remote control, at 32x32 and 16x16
and writes remote_control.ico (16-colour images with an AND mask: the
drawing has a few flat colours and no partial transparency, so nothing is
lost, and each icon takes a fifth of the room of 32-bit images in the exe).
Standard library only; the output is the same bytes on every run.

    python3 make_icon.py [output.ico]
"""
import struct
import sys

BODY = (52, 56, 64, 255)
EDGE = (24, 26, 30, 255)
POWER = (220, 40, 40, 255)
KEY = (200, 205, 215, 255)
ARROW = (70, 140, 230, 255)
LED = (80, 220, 90, 255)
CLEAR = (0, 0, 0, 0)


def rounded_rect(img, x0, y0, x1, y1, r, colour):
    """Fills [x0, x1) x [y0, y1) with corners of radius r cut round."""
    for y in range(y0, y1):
        for x in range(x0, x1):
            cx = min(max(x, x0 + r), x1 - 1 - r)
            cy = min(max(y, y0 + r), y1 - 1 - r)
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r + r:
                img[y][x] = colour


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            img[y][x] = colour


def disc(img, cx, cy, r, colour):
    for y in range(len(img)):
        for x in range(len(img[0])):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                img[y][x] = colour


def draw(size):
    img = [[CLEAR] * size for _ in range(size)]
    s = size / 32.0

    def p(v):
        return int(round(v * s))

    # Body: a tall slab, darker rim round a lighter face.
    rounded_rect(img, p(8), p(1), p(24), p(31), max(1, p(4)), EDGE)
    rounded_rect(img, p(9), p(2), p(23), p(30), max(1, p(3)), BODY)
    # Power key and the receiver's lamp.
    disc(img, 13 * s, 6 * s, max(1.2, 2.2 * s), POWER)
    rect(img, p(18), p(5), p(21), p(7), LED)
    # Direction pad.
    rect(img, p(14), p(10), p(18), p(20), ARROW)
    rect(img, p(11), p(13), p(21), p(17), ARROW)
    # Number keys, three by two, only where there is room for them.
    if size >= 24:
        for row in range(2):
            for col in range(3):
                x = p(11) + col * p(4)
                y = p(22) + row * p(4)
                rect(img, x, y, x + p(2), y + p(2), KEY)
    else:
        rect(img, p(11), p(23), p(21), p(27), KEY)
    return img


def icon_image(img):
    size = len(img)
    # Index 0 is the transparent black the AND mask shows through.
    colours = [(0, 0, 0)]
    for row in img:
        for r, g, b, a in row:
            if a and (r, g, b) not in colours:
                colours.append((r, g, b))
    if len(colours) > 16:
        raise ValueError("more than 16 colours")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours + [(0, 0, 0)] * (16 - len(colours)))
    xor = bytearray()
    row_bytes = ((size * 4 + 31) // 32) * 4
    for row in reversed(img):  # bottom-up
        line = bytearray(row_bytes)
        for x, (r, g, b, a) in enumerate(row):
            index = colours.index((r, g, b)) if a else 0
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor += line
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def ico(sizes, paint=draw):
    images = [icon_image(paint(n)) for n in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "remote_control.ico"
    with open(path, "wb") as f:
        f.write(ico([32, 16]))


if __name__ == "__main__":
    main()
