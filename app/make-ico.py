#!/usr/bin/env python3
"""Build app/kelvaro.ico, the Windows program icon, from app/Tivromek.svg.

The icon holds three images, in this order:
  24 x 24 and 16 x 16 at 24 bits per pixel with a 1-bit transparency mask,
  48 x 48 at 32 bits per pixel with alpha (plus the 1-bit mask that older
  readers expect).

Needs rsvg-convert (Debian package librsvg2-bin) and Python 3's standard
library only. The output depends only on the SVG and the rsvg-convert version,
so running it again gives the same bytes.

    python3 app/make-ico.py            # writes app/kelvaro.ico
    python3 app/make-ico.py out.ico    # writes elsewhere
"""

import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "Tivromek.svg")

# (edge in pixels, bits per pixel)
IMAGES = [(24, 24), (16, 24), (48, 32)]

# Below this alpha a pixel of a 24-bit image counts as transparent.
ALPHA_THRESHOLD = 128


def render_png(svg, size):
    return subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), svg],
                          check=True, stdout=subprocess.PIPE).stdout


def decode_png_rgba(data):
    """Return (width, height, rows) of an 8-bit RGBA, non-interlaced PNG,
    rows being lists of (r, g, b, a) tuples from top to bottom."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace != 0:
        raise ValueError("expected 8-bit RGBA without interlacing")

    raw, bpp, stride = zlib.decompress(idat), 4, width * 4
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = prev[i]
            upleft = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upleft
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else upleft)
                line[i] = (line[i] + pred) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        prev = line
    return width, height, rows


def pad4(n):
    return (n + 3) & ~3


def bmp_image(rows, bits):
    """One icon image: BITMAPINFOHEADER, colour bitmap, AND mask, both bottom-up."""
    height, width = len(rows), len(rows[0])
    colour, mask = bytearray(), bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            if bits == 32:
                line += bytes((b, g, r, a))
            elif a >= ALPHA_THRESHOLD:
                line += bytes((b, g, r))
            else:
                line += b"\0\0\0"   # transparent: black under a set mask bit
        colour += line + b"\0" * (pad4(len(line)) - len(line))

        bitsrow = bytearray(pad4((width + 7) // 8))
        for x, (_, _, _, a) in enumerate(row):
            transparent = a == 0 if bits == 32 else a < ALPHA_THRESHOLD
            if transparent:
                bitsrow[x // 8] |= 0x80 >> (x % 8)
        mask += bitsrow

    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def build_ico(svg):
    images = []
    for size, bits in IMAGES:
        width, height, rows = decode_png_rgba(render_png(svg, size))
        if (width, height) != (size, size):
            raise ValueError("rsvg-convert gave %dx%d for %d" % (width, height, size))
        images.append((size, bits, bmp_image(rows, bits)))

    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return out


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "kelvaro.ico")
    with open(target, "wb") as f:
        f.write(build_ico(SOURCE))


if __name__ == "__main__":
    main()
