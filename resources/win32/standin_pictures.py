#!/usr/bin/env python3
"""Writes stand-in pictures for builds made before the real loading animation and icon are in
resources/: a GIF89a of the same kind (85 x 81, 8 frames, global 256-colour palette, delay 6,
disposal 1, transparent index 255, endless loop) and a four-image 32-bit icon.

Usage: standin_pictures.py OUT_DIR
"""
import math
import struct
import sys
from pathlib import Path

W, H = 85, 81
FRAMES = 8


def lzw_literal(indices):
    """LZW data of 8-bit indices, every pixel a literal code (a clear code every 254 pixels keeps
    the code width at 9 bits)."""
    clear, end = 256, 257
    codes = []
    for i, v in enumerate(indices):
        if i % 254 == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    bits = acc = 0
    out = bytearray()
    for c in codes:
        acc |= c << bits
        bits += 9
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    blocks = bytearray([8])
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks + b"\x00")


def spinner_shade(x, y, lit):
    """Palette index of a pixel of the spinner with dot `lit` brightest; 254 is opaque white."""
    cx, cy, ring, dot = 42.0, 40.0, 24.0, 6.5
    for k in range(8):
        a = 2 * math.pi * k / 8 - math.pi / 2
        dx, dy = cx + ring * math.cos(a), cy + ring * math.sin(a)
        if (x - dx) ** 2 + (y - dy) ** 2 <= dot * dot:
            age = (lit - k) % 8
            return min(253, 40 + age * 27)
    return 254


def gif_bytes():
    palette = bytearray()
    for i in range(254):
        # From deep blue (0) toward pale blue-grey.
        t = i / 253
        palette += bytes([int(30 + 200 * t), int(90 + 150 * t), int(200 + 50 * t)])
    palette += b"\xff\xff\xff" * 2
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", W, H, 0xF7, 255, 0) + palette
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for f in range(FRAMES):
        if f == 0:
            left, top, w, h = 0, 0, W, H
        else:
            left, top, w, h = (3 if f % 2 else 4), 5, 77, 70
        pixels = [spinner_shade(left + x, top + y, f) for y in range(h) for x in range(w)]
        out += b"\x21\xf9\x04" + struct.pack("<BHBB", (1 << 2) | 1, 6, 255, 0)
        out += b"\x2c" + struct.pack("<HHHHB", left, top, w, h, 0)
        out += lzw_literal(pixels)
    return bytes(out + b"\x3b")


def icon_image(size):
    rows = []
    c = (size - 1) / 2
    r = size * 0.45
    for y in range(size - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(size):
            d = math.hypot(x - c, y - c)
            alpha = max(0.0, min(1.0, r - d + 0.5))
            inner = d < r * 0.45
            b, g, rr = (255, 255, 255) if inner else (200, 110, 30)
            row += bytes([b, g, rr, int(alpha * 255)])
        rows.append(bytes(row))
    mask_stride = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + bytes(mask_stride * size)


def ico_bytes():
    sizes = [48, 32, 24, 16]
    images = [icon_image(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    return bytes(out + b"".join(images))


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "loading.gif").write_bytes(gif_bytes())
    (out / "orvane.ico").write_bytes(ico_bytes())


if __name__ == "__main__":
    main()
