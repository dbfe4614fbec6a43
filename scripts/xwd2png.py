#!/usr/bin/env python3
"""Converts an X window dump (xwd, 24- or 32-bit TrueColor) into a PNG.

Usage: xwd2png.py IN.xwd OUT.png
"""

import struct
import sys
import zlib

HEADER_FIELDS = 25  # the CARD32 fields of an XWD file header


def read_xwd(data):
    fields = struct.unpack(">%dI" % HEADER_FIELDS, data[: 4 * HEADER_FIELDS])
    (header_size, version, pixmap_format, depth, width, height, _xoffset, byte_order,
     _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual_class, red_mask,
     green_mask, blue_mask, _bits_per_rgb, _entries, ncolors) = fields[:20]
    if version != 7 or pixmap_format != 2 or bits_per_pixel != 32 or depth < 24:
        raise ValueError("only 24-bit ZPixmap dumps with 32 bits per pixel are read")
    start = header_size + 12 * ncolors  # the colour map follows the header
    order = "<" if byte_order == 0 else ">"
    shifts = [(mask, (mask & -mask).bit_length() - 1) for mask in (red_mask, green_mask, blue_mask)]
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line: start + y * bytes_per_line + 4 * width]
        pixels = struct.unpack(order + "%dI" % width, line)
        row = bytearray()
        for p in pixels:
            row += bytes(((p & mask) >> shift) & 0xFF for mask, shift in shifts)
        rows.append(bytes(row))
    return width, height, rows


def png(width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 per row
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as f:
        width, height, rows = read_xwd(f.read())
    with open(sys.argv[2], "wb") as f:
        f.write(png(width, height, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
