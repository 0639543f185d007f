#!/usr/bin/env python3
"""Draws the grid's check box, radio button, node and filter glyphs as 24-bit BMP files into
resources/bitmaps. Magenta (the top-left pixel of every glyph) is the transparent colour.

Run from the repository root: python3 scripts/make_cell_glyphs.py
"""
import math
import os
import struct

KEY = (255, 0, 255)
OUT = os.path.join(os.path.dirname(__file__), "..", "resources", "bitmaps")


def write_bmp(name, pixels):
    h = len(pixels)
    w = len(pixels[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
        f.write(header + info + data)


def blank(w, h):
    return [[KEY for _ in range(w)] for _ in range(h)]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---- check boxes: 15 x 15 with a one-pixel transparent margin, a 13 x 13 box -------------
TICK = [(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)]


def check(border, top, bottom, tick, checked):
    p = blank(15, 15)
    for y in range(1, 14):
        for x in range(1, 14):
            if x in (1, 13) or y in (1, 13):
                p[y][x] = border
            else:
                p[y][x] = mix(top, bottom, (y - 2) / 10.0)
    if checked:
        for (x, y) in TICK:
            for dy in range(3):
                p[y + dy][x + 1] = tick
    return p


XP_BORDER, XP_TOP, XP_BOTTOM, XP_TICK = (28, 81, 128), (220, 220, 215), (255, 255, 255), (33, 161, 33)
XP_DBORDER, XP_DFILL, XP_DTICK = (202, 200, 187), (245, 244, 234), (202, 200, 187)
ZD_BORDER, ZD_TOP, ZD_BOTTOM, ZD_TICK = (51, 94, 168), (255, 255, 255), (214, 228, 250), (21, 56, 128)
ZD_DBORDER, ZD_DFILL, ZD_DTICK = (172, 172, 172), (236, 236, 236), (160, 160, 160)

# ---- radio buttons: 16 x 16, a circle of diameter 13 ---------------------------------------
def radio(border, top, bottom, dot, checked):
    p = blank(16, 16)
    for y in range(16):
        for x in range(16):
            d = math.hypot(x + 0.5 - 8.0, y + 0.5 - 8.0)
            if d <= 6.6:
                p[y][x] = border if d > 5.4 else mix(top, bottom, (y - 2) / 12.0)
            if checked and d <= 2.9:
                p[y][x] = dot
    return p


# ---- tree node glyphs ------------------------------------------------------------------------
def leaf(open_):
    """12 x 12: a solid triangle pointing down (open) or right (closed)."""
    p = blank(12, 12)
    c = (64, 64, 64)
    for i in range(5):
        for j in range(-(4 - i), 4 - i + 1):
            if open_:
                p[4 + i][6 + j] = c
            else:
                p[6 + j][4 + i] = c
    return p


def xpnode(collapsed):
    """10 x 10: a 9 x 9 box with rounded corners, a minus and, collapsed, a plus."""
    p = blank(10, 10)
    border = (122, 149, 189)
    for y in range(9):
        for x in range(9):
            corner = (x in (0, 8)) and (y in (0, 8))
            if corner:
                continue
            if x in (0, 8) or y in (0, 8):
                p[y][x] = border
            else:
                p[y][x] = mix((255, 255, 255), (198, 190, 174), (x + y - 2) / 12.0)
    sign = (0, 0, 0)
    for x in range(2, 7):
        p[4][x] = sign
    if collapsed:
        for y in range(2, 7):
            p[y][4] = sign
    return p


# ---- filter button ---------------------------------------------------------------------------
def funnel():
    """16 x 16: a funnel, its bowl from x 3 to 12 at the top narrowing to a two-pixel stem."""
    p = blank(16, 16)
    edge, fill = (48, 48, 48), (96, 96, 96)
    for y in range(4, 9):
        left, right = 3 + (y - 4), 12 - (y - 4)
        for x in range(left, right + 1):
            inner = y > 4 and left < x < right
            p[y][x] = fill if inner else edge
    for y in range(9, 13):
        for x in (7, 8):
            p[y][x] = edge
    return p


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp("DEACHK01", check(ZD_BORDER, ZD_TOP, ZD_BOTTOM, ZD_TICK, True))
    write_bmp("DEACHK02", check(ZD_BORDER, ZD_TOP, ZD_BOTTOM, ZD_TICK, False))
    write_bmp("DEACHK03", check(ZD_DBORDER, ZD_DFILL, ZD_DFILL, ZD_DTICK, True))
    write_bmp("DEACHK04", check(ZD_DBORDER, ZD_DFILL, ZD_DFILL, ZD_DTICK, False))
    write_bmp("DEACHK05", check(XP_BORDER, XP_TOP, XP_BOTTOM, XP_TICK, True))
    write_bmp("DEACHK06", check(XP_BORDER, XP_TOP, XP_BOTTOM, XP_TICK, False))
    write_bmp("DEACHK07", check(XP_DBORDER, XP_DFILL, XP_DFILL, XP_DTICK, True))
    write_bmp("DEACHK08", check(XP_DBORDER, XP_DFILL, XP_DFILL, XP_DTICK, False))
    write_bmp("DEARAD01", radio(ZD_BORDER, ZD_TOP, ZD_BOTTOM, ZD_TICK, True))
    write_bmp("DEARAD02", radio(ZD_BORDER, ZD_TOP, ZD_BOTTOM, ZD_TICK, False))
    write_bmp("DEARAD03", radio(ZD_DBORDER, ZD_DFILL, ZD_DFILL, ZD_DTICK, True))
    write_bmp("DEARAD04", radio(ZD_DBORDER, ZD_DFILL, ZD_DFILL, ZD_DTICK, False))
    write_bmp("DEARAD05", radio(XP_BORDER, XP_TOP, XP_BOTTOM, XP_TICK, True))
    write_bmp("DEARAD06", radio(XP_BORDER, XP_TOP, XP_BOTTOM, XP_TICK, False))
    write_bmp("DEARAD07", radio(XP_DBORDER, XP_DFILL, XP_DFILL, XP_DTICK, True))
    write_bmp("DEARAD08", radio(XP_DBORDER, XP_DFILL, XP_DFILL, XP_DTICK, False))
    write_bmp("DEALEAFOPEN", leaf(True))
    write_bmp("DEALEAFCLOSE", leaf(False))
    write_bmp("XPNODEO", xpnode(False))
    write_bmp("XPNODEC", xpnode(True))
    write_bmp("DEAFILT", funnel())


if __name__ == "__main__":
    main()
