#!/usr/bin/env python3
"""Draws the programs' icons and bitmaps (no dependencies beyond Python).

Run from the repository root: python3 scripts/make_images.py
Writes launcher/resources/orbboot.ico, configtool/resources/{config.ico,banner.bmp,mce_tile.png}
and padtool/resources/{pad.ico,pad_box.bmp}.
"""
import math
import os
import struct
import zlib

FONT = {  # 5x7 capitals, one string per row
    'V': ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'C': ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'I': ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    'G': ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    ' ': ["00000"] * 7,
}


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def blend(self, x, y, rgba):
        if not (0 <= x < self.w and 0 <= y < self.h):
            return
        r, g, b, a = rgba
        d = self.px[y * self.w + x]
        fa = a / 255.0
        oa = d[3] / 255.0
        na = fa + oa * (1 - fa)
        if na == 0:
            return
        for i, c in enumerate((r, g, b)):
            d[i] = int((c * fa + d[i] * oa * (1 - fa)) / na + 0.5)
        d[3] = int(na * 255 + 0.5)

    def orb(self, cx, cy, radius, inner, outer, ring=None):
        for y in range(self.h):
            for x in range(self.w):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                dist = math.hypot(dx, dy)
                cover = max(0.0, min(1.0, radius - dist + 0.5))
                if cover <= 0:
                    continue
                # Light from the upper left.
                hl = math.hypot(dx + radius * 0.35, dy + radius * 0.35) / (radius * 1.6)
                t = max(0.0, min(1.0, hl))
                col = tuple(int(inner[i] * (1 - t) + outer[i] * t) for i in range(3))
                if ring and dist > radius - max(1.5, radius * 0.12):
                    col = ring
                self.blend(x, y, col + (int(255 * cover),))

    def text(self, s, x, y, scale, rgba):
        for ch in s:
            glyph = FONT[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == '1':
                        for sy in range(scale):
                            for sx in range(scale):
                                self.blend(x + gx * scale + sx, y + gy * scale + sy, rgba)
            x += 6 * scale

    def rect(self, x0, y0, x1, y1, rgba):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.blend(x, y, rgba)


def icon_image(size, letter, inner, outer):
    c = Canvas(size, size)
    c.orb(size / 2, size / 2, size / 2 - 0.5, inner, outer, ring=(30, 30, 60))
    scale = max(1, size // 12)
    gw, gh = 5 * scale, 7 * scale
    c.text(letter, (size - gw) // 2, (size - gh) // 2, scale, (255, 255, 255, 235))
    return c


def ico_entry(c):
    """A 32-bit BMP (with AND mask) as stored inside an .ico file."""
    w, h = c.w, c.h
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            r, g, b, a = c.px[y * w + x]
            pixels += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):
        row = bytearray(mask_row)
        for x in range(w):
            if c.px[y * w + x][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, images):
    data = [ico_entry(c) for c in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, d in zip(images, data):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32, len(d), offset)
        offset += len(d)
    with open(path, 'wb') as f:
        f.write(out + b''.join(data))


def write_bmp8(path, c, background=(255, 255, 255)):
    """A 256-colour BMP: pixels are flattened on the background; the palette holds
    the most frequent colours (at 5 bits a channel), so gradients keep their steps small."""
    flat = []
    for r, g, b, a in c.px:
        fa = a / 255.0
        flat.append(tuple(int(v * fa + background[i] * (1 - fa)) for i, v in enumerate((r, g, b))))
    counts = {}
    for rgb in flat:
        key = tuple(v >> 3 for v in rgb)
        counts[key] = counts.get(key, 0) + 1
    common = sorted(counts, key=lambda k: -counts[k])[:256]
    palette = [tuple((v << 3) | (v >> 2) for v in key) for key in common]
    palette += [(0, 0, 0)] * (256 - len(palette))
    def nearest(rgb):
        best, bi = None, 0
        for i, p in enumerate(palette):
            d = sum((p[k] - rgb[k]) ** 2 for k in range(3))
            if best is None or d < best:
                best, bi = d, i
        return bi
    cache = {}
    row = (c.w + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(c.h)):
        line = bytearray(row)
        for x in range(c.w):
            rgb = flat[y * c.w + x]
            if rgb not in cache:
                cache[rgb] = nearest(rgb)
            line[x] = cache[rgb]
        pixels += line
    pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(pal)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(head + info + pal + bytes(pixels))


def write_png(path, c):
    raw = bytearray()
    for y in range(c.h):
        raw.append(0)
        for x in range(c.w):
            raw += bytes(c.px[y * c.w + x])
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', c.w, c.h, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


def banner(w, h):
    c = Canvas(w, h, (0, 0, 0, 255))
    for y in range(h):
        for x in range(w):
            t = x / (w - 1)
            c.px[y * w + x] = [int(20 + 30 * t), int(24 + 60 * t), int(70 + 110 * t), 255]
    c.orb(h / 2 + 4, h / 2, h / 2 - 4, (250, 220, 120), (170, 90, 20), ring=(60, 30, 10))
    c.text("VELDARA CONFIG", h + 12, (h - 21) // 2, 3, (255, 255, 255, 255))
    return c


def pad_box(size):
    c = Canvas(size, size, (255, 255, 255, 255))
    dark = (64, 64, 64, 255)
    c.rect(0, 0, size, 1, dark)
    c.rect(0, size - 1, size, size, dark)
    c.rect(0, 0, 1, size, dark)
    c.rect(size - 1, 0, size, size, dark)
    return c


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    def out(*parts):
        path = os.path.join(root, *parts)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        return path
    gold = ((250, 220, 120), (170, 90, 20))
    blue = ((140, 200, 255), (20, 60, 160))
    green = ((160, 240, 160), (20, 110, 40))
    write_ico(out('launcher', 'resources', 'orbboot.ico'), [icon_image(s, 'V', *gold) for s in (32, 16)])
    write_ico(out('configtool', 'resources', 'config.ico'), [icon_image(s, 'C', *blue) for s in (32, 16)])
    write_ico(out('padtool', 'resources', 'pad.ico'), [icon_image(s, 'P', *green) for s in (32, 16)])
    write_bmp8(out('configtool', 'resources', 'banner.bmp'), banner(420, 48))
    write_bmp8(out('padtool', 'resources', 'pad_box.bmp'), pad_box(96))
    tile = Canvas(128, 128)
    tile.orb(64, 64, 60, *gold, ring=(60, 30, 10))
    tile.text("V", 64 - 15, 64 - 21, 6, (255, 255, 255, 240))
    write_png(out('configtool', 'resources', 'mce_tile.png'), tile)


if __name__ == '__main__':
    main()
