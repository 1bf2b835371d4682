#!/usr/bin/env python3
"""Fails unless every PNG named is a real drawing: decodable, with enough
non-white pixels and several distinct colours (a blank or one-colour map
means that nothing was drawn)."""
import struct
import sys
import zlib


def pixels(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, hdr = 8, b"", None
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            hdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    w, h, depth, ctype, _, _, interlace = hdr
    if depth != 8 or interlace or ctype not in (0, 2, 4, 6):
        raise ValueError("unsupported PNG layout %s" % (hdr,))
    bpp = {0: 1, 2: 3, 4: 2, 6: 4}[ctype]
    raw, stride, prev, out = zlib.decompress(idat), w * bpp, bytearray(w * bpp), []
    for y in range(h):
        f, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if f == 1: row[i] = (row[i] + a) & 255
            elif f == 2: row[i] = (row[i] + b) & 255
            elif f == 3: row[i] = (row[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out.extend(bytes(row[i:i + min(bpp, 3)]) for i in range(0, stride, bpp))
        prev = row
    return w, h, out


bad = 0
for path in sys.argv[1:]:
    w, h, px = pixels(path)
    ink = sum(1 for p in px if p not in (b"\xff\xff\xff", b"\xff"))
    colours = len(set(px))
    ok = ink > 0.01 * w * h and colours >= 8
    print("%s: %dx%d, %.1f %% drawn, %d colours: %s" % (path, w, h, 100.0 * ink / (w * h), colours, "ok" if ok else "BLANK"))
    bad += not ok
sys.exit(1 if bad else 0)
