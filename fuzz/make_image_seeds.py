"""Writes small layer images as seeds for the layer image fuzz target: RGB, RGBA, grey, palette and
16-bit PNGs, using the colours of the fuzz level's tile table."""

import os
import struct
import sys
import zlib


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, bit_depth, colour_type, rows, palette=None):
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
    if palette:
        out += chunk(b"PLTE", bytes(palette))
    out += chunk(b"IDAT", zlib.compress(b"".join(b"\x00" + row for row in rows), 9))
    return out + chunk(b"IEND", b"")


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    sky, wall, spikes, water = (0, 0, 0), (128, 128, 128), (255, 0, 0), (0, 0, 255)
    level = [[sky, sky, water, sky], [sky, wall, spikes, sky], [wall, wall, wall, wall]]
    seeds = {
        "rgb.png": png(4, 3, 8, 2, [bytes(c for p in row for c in p) for row in level]),
        "rgba.png": png(4, 3, 8, 6, [bytes(c for p in row for c in p + (255,)) for row in level]),
        "one.png": png(1, 1, 8, 2, [bytes(wall)]),
        "grey.png": png(3, 2, 8, 0, [bytes([0, 128, 0]), bytes([128, 128, 128])]),
        "palette.png": png(4, 2, 8, 3, [bytes([0, 1, 2, 3]), bytes([1, 1, 1, 1])],
                           palette=sky + wall + spikes + water),
        "deep.png": png(2, 2, 16, 2, [bytes([0x80, 0, 0x80, 0, 0x80, 0, 0, 0, 0, 0, 0, 0])] * 2),
        "undefined.png": png(2, 1, 8, 2, [bytes([0x12, 0x34, 0x56, 0, 0, 0])]),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as file:
            file.write(data)


if __name__ == "__main__":
    main()
