#!/usr/bin/env python3
"""Draws the Tavrel icon: a remote control with a red button and blue signal
arcs. Writes app/remote.png (128x128, 8-bit palette) and app/remote.ico
(128x128, 32 bits per pixel) from the same picture, with no dependencies."""
import math
import os
import struct
import zlib

SIZE = 128
SUPERSAMPLE = 4

TRANSPARENT = (0, 0, 0, 0)
BODY = (52, 56, 64, 255)
BODY_EDGE = (30, 32, 38, 255)
KEY = (150, 156, 168, 255)
RED = (220, 36, 36, 255)
BLUE = (40, 120, 230, 255)


def rounded_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def arc(x, y, cx, cy, r, width, spread):
    d = math.hypot(x - cx, y - cy)
    if abs(d - r) > width / 2:
        return False
    angle = math.degrees(math.atan2(cx - x, cy - y))  # 0 = straight up
    return abs(angle - 45) <= spread


def colour_at(x, y):
    # The remote is tilted: rotate the point into the remote's frame.
    a = math.radians(-30)
    cx, cy = 58, 74
    rx = math.cos(a) * (x - cx) - math.sin(a) * (y - cy) + cx
    ry = math.sin(a) * (x - cx) + math.cos(a) * (y - cy) + cy
    if rounded_rect(rx, ry, 38, 30, 78, 124, 10):
        if not rounded_rect(rx, ry, 41, 33, 75, 121, 8):
            return BODY_EDGE
        if circle(rx, ry, 58, 48, 8):
            return RED
        for row in range(4):
            for col in range(3):
                if circle(rx, ry, 47 + col * 11, 68 + row * 12, 3.6):
                    return KEY
        return BODY
    for i, r in enumerate((22, 34, 46)):
        if arc(x, y, 80, 44, r, 6, 32 - i * 2):
            return BLUE
    return TRANSPARENT


def render():
    pixels = []
    n = SUPERSAMPLE
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = colour_at(x + (sx + 0.5) / n, y + (sy + 0.5) / n)
                    for k in range(3):
                        acc[k] += c[k] * c[3]
                    acc[3] += c[3]
            alpha = acc[3] / (n * n)
            if acc[3]:
                rgb = [round(acc[k] / acc[3]) for k in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], round(alpha)))
        pixels.append(row)
    return pixels


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, pixels):
    # Quantise to at most 256 colours (alpha in 8 steps keeps the edges soft).
    palette = {}
    rows = []
    for row in pixels:
        out = bytearray([0])
        for r, g, b, a in row:
            if a == 0:
                key = (0, 0, 0, 0)
            else:
                a = min(255, (a + 16) // 32 * 32 + (31 if a > 240 else 0))
                key = (r // 8 * 8, g // 8 * 8, b // 8 * 8, 255 if a >= 255 else a)
            if key not in palette:
                palette[key] = len(palette)
            out.append(palette[key])
        rows.append(bytes(out))
    if len(palette) > 256:
        raise SystemExit("too many colours: %d" % len(palette))
    entries = sorted(palette.items(), key=lambda kv: kv[1])
    plte = b"".join(bytes(k[:3]) for k, _ in entries)
    trns = bytes(k[3] for k, _ in entries)
    ihdr = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 3, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"PLTE", plte)
    data += chunk(b"tRNS", trns) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def write_ico(path, pixels):
    # One 32-bit DIB image: BGRA rows bottom-up, then a 1-bit AND mask.
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_row = (SIZE + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE % 256, SIZE % 256, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    app = os.path.join(here, "..", "app")
    pixels = render()
    write_png(os.path.join(app, "remote.png"), pixels)
    write_ico(os.path.join(app, "remote.ico"), pixels)


if __name__ == "__main__":
    main()
