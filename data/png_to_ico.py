#!/usr/bin/env python3
"""Writes a Windows icon holding one 32-bit image (BGRA with alpha, plus the
AND mask older readers want) from an 8-bit RGBA PNG, with the standard library
only. Used once to make data/imgcrypt.ico from data/imgcrypt.png:

    python3 data/png_to_ico.py data/imgcrypt.png data/imgcrypt.ico
"""
import struct
import sys
import zlib


def read_rgba_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace != 0:
        raise SystemExit(f"{path}: only 8-bit RGBA, non-interlaced PNGs are supported")
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, prev = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up = prev[x]
            upleft = prev[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upleft
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else upleft
                line[x] = (line[x] + pred) & 0xFF
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def ico_bytes(width, height, rows):
    xor = bytearray()
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for line in reversed(rows):  # DIBs are stored bottom-up
        bits = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = line[4 * x:4 * x + 4]
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    dib = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 32, 0,
                      len(xor) + len(mask), 0, 0, 0, 0) + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(dib), 6 + 16)
    return directory + entry + dib


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    width, height, rows = read_rgba_png(sys.argv[1])
    with open(sys.argv[2], "wb") as f:
        f.write(ico_bytes(width, height, rows))


if __name__ == "__main__":
    main()
