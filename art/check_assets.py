#!/usr/bin/python3
"""Checks the generated pictures against the sizes and pixel kinds the program
expects.  Reads the file headers directly (no imaging library needed), so it
can run anywhere Python runs.  Exit status 0 when everything matches, 1
otherwise, with one line per problem."""

import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")

RGBA, RGB = 6, 2  # PNG colour types

# id: (width, height, colour type)
PICTURES = {
    131: (610, 461, RGBA), 132: (600, 450, RGB),
    133: (26, 34, RGB), 134: (26, 34, RGB), 135: (26, 34, RGB), 136: (26, 34, RGB),
    137: (260, 69, RGBA), 138: (260, 69, RGBA), 139: (260, 69, RGBA), 140: (260, 69, RGBA),
    141: (410, 611, RGBA), 142: (400, 600, RGB), 143: (48, 16, RGBA),
    144: (26, 34, RGB), 145: (26, 34, RGB), 146: (26, 34, RGB), 147: (26, 34, RGB),
    148: (232, 132, RGBA), 149: (204, 104, RGBA),
    150: (26, 34, RGB), 151: (26, 34, RGB), 152: (26, 34, RGB), 153: (26, 34, RGB),
    154: (330, 150, RGBA), 155: (320, 140, RGB),
    156: (55, 24, RGB), 157: (55, 24, RGB), 158: (55, 24, RGB),
    159: (12, 12, RGB), 160: (12, 12, RGB), 161: (12, 12, RGB),
    162: (55, 24, RGB), 163: (55, 24, RGB), 164: (55, 24, RGB),
    165: (55, 24, RGB), 166: (55, 24, RGB), 167: (55, 24, RGB),
    168: (55, 24, RGB), 169: (55, 24, RGB), 170: (55, 24, RGB),
    171: (410, 479, RGBA), 172: (400, 468, RGBA),
    173: (12, 12, RGB), 174: (12, 12, RGB), 175: (12, 12, RGB), 176: (12, 12, RGB),
    177: (259, 85, RGBA), 178: (259, 85, RGBA), 179: (259, 85, RGBA), 180: (259, 85, RGBA),
    181: (266, 60, RGBA), 182: (266, 60, RGBA), 183: (266, 60, RGBA), 184: (266, 60, RGBA),
    185: (541, 402, RGBA),
    186: (266, 60, RGBA), 187: (266, 60, RGBA), 188: (266, 60, RGBA), 189: (266, 60, RGBA),
    201: (191, 9, RGBA), 202: (191, 9, RGBA), 203: (40, 20, RGBA),
    204: (266, 60, RGBA), 205: (266, 60, RGBA), 206: (266, 60, RGBA), 207: (266, 60, RGBA),
    208: (58, 18, RGB), 209: (58, 18, RGB), 210: (58, 18, RGB), 211: (58, 18, RGB),
}

ICON_SIZES = {16, 32, 48, 256}


def png_header(path):
    with open(path, "rb") as f:
        head = f.read(33)
    if len(head) < 33 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    width, height, depth, colour = struct.unpack(">IIBB", head[16:26])
    return width, height, depth, colour


def check_pngs(problems):
    png_dir = os.path.join(RES, "png")
    for pid, (w, h, colour) in sorted(PICTURES.items()):
        path = os.path.join(png_dir, "%d.png" % pid)
        if not os.path.isfile(path):
            problems.append("%d.png: missing" % pid)
            continue
        head = png_header(path)
        if head is None:
            problems.append("%d.png: not a PNG" % pid)
            continue
        gw, gh, depth, gcolour = head
        if (gw, gh) != (w, h):
            problems.append("%d.png: %dx%d, expected %dx%d" % (pid, gw, gh, w, h))
        if gcolour != colour or depth != 8:
            problems.append("%d.png: colour type %d depth %d, expected type %d depth 8"
                            % (pid, gcolour, depth, colour))
    extra = set()
    if os.path.isdir(png_dir):
        for name in os.listdir(png_dir):
            stem, ext = os.path.splitext(name)
            if ext == ".png" and (not stem.isdigit() or int(stem) not in PICTURES):
                extra.add(name)
    for name in sorted(extra):
        problems.append("%s: not a picture of the program" % name)


def check_bitmap(problems):
    path = os.path.join(RES, "scrollbar_skin.bmp")
    if not os.path.isfile(path):
        problems.append("scrollbar_skin.bmp: missing")
        return
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        problems.append("scrollbar_skin.bmp: not a BMP")
        return
    header_size = struct.unpack("<I", data[14:18])[0]
    if header_size < 40:
        problems.append("scrollbar_skin.bmp: old-style header")
        return
    width, height, planes, bpp, compression = struct.unpack("<iiHHI", data[18:34])
    colours_used = struct.unpack("<I", data[46:50])[0]
    if (width, abs(height)) != (117, 39):
        problems.append("scrollbar_skin.bmp: %dx%d, expected 117x39" % (width, abs(height)))
    if bpp != 8 or planes != 1:
        problems.append("scrollbar_skin.bmp: %d bits per pixel, expected 8" % bpp)
    if compression != 0:
        problems.append("scrollbar_skin.bmp: compressed (%d), expected plain" % compression)
    if colours_used > 256:
        problems.append("scrollbar_skin.bmp: palette of %d entries" % colours_used)


def check_icon(problems):
    path = os.path.join(RES, "app.ico")
    if not os.path.isfile(path):
        problems.append("app.ico: missing")
        return
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 6 or struct.unpack("<HHH", data[:6])[:2] != (0, 1):
        problems.append("app.ico: not an icon file")
        return
    count = struct.unpack("<H", data[4:6])[0]
    sizes = set()
    for i in range(count):
        entry = data[6 + 16 * i: 22 + 16 * i]
        if len(entry) < 16:
            problems.append("app.ico: truncated directory")
            return
        w, h = entry[0] or 256, entry[1] or 256
        size, offset = struct.unpack("<II", entry[8:16])
        if offset + size > len(data):
            problems.append("app.ico: image %d runs past the end" % i)
        sizes.add((w, h))
    missing = {(s, s) for s in ICON_SIZES} - sizes
    if missing:
        problems.append("app.ico: sizes missing: %s" % sorted(missing))


def decode_png(path):
    """Pixels of an 8-bit, non-interlaced RGB or RGBA PNG as rows of tuples."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat, head = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = head
    if depth != 8 or colour not in (RGB, RGBA) or interlace:
        return None
    bpp = 3 if colour == RGB else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[x] = (line[x] + pred) & 255
        rows.append([tuple(line[x:x + bpp]) for x in range(0, stride, bpp)])
        prev = line
    return rows


def region(rows, box):
    x0, y0, x1, y1 = box
    return {px for row in rows[y0:y1] for px in row[x0:x1]}


# Places where a control paints its own flat background over the picture, or
# draws a slice of it: the picture must be one flat colour there.
FLAT = [
    (132, (0, 412, 300, 450), (241, 242, 246), "check box and link band"),
    (142, (0, 575, 400, 600), (255, 255, 255), "version and feedback labels"),
    (142, (50, 540, 108, 558), (255, 255, 255), "more-tools button"),
    (149, (10, 42, 194, 62), None, "status line slice"),
    (149, (20, 76, 194, 94), None, "progress bar"),
    (155, (290, 4, 310, 24), None, "prompt close cross"),
]

# Layered frames: opaque panel at the offset, shadow fading out to nothing.
FRAMES = {131: (5, 4, 600, 450), 141: (5, 4, 400, 600), 148: (14, 12, 204, 104),
          154: (5, 3, 320, 140), 171: (5, 4, 400, 468)}


def check_pixels(problems):
    png_dir = os.path.join(RES, "png")
    cache = {}

    def rows_of(pid):
        if pid not in cache:
            path = os.path.join(png_dir, "%d.png" % pid)
            cache[pid] = decode_png(path) if os.path.isfile(path) else None
        return cache[pid]

    for pid, box, colour, what in FLAT:
        rows = rows_of(pid)
        if rows is None:
            continue
        seen = {px[:3] for px in region(rows, box)}
        if len(seen) != 1 or (colour is not None and seen != {colour}):
            problems.append("%d.png: %s area %s is not flat%s (%d colours)"
                            % (pid, what, box, "" if colour is None else " %s" % (colour,),
                               len(seen)))
    for pid, (x, y, w, h) in FRAMES.items():
        rows = rows_of(pid)
        if rows is None:
            continue
        if any(px[3] != 255 for px in region(rows, (x, y, x + w, y + h))):
            problems.append("%d.png: panel area is not opaque" % pid)
        ring = [px[3] for px in rows[0] + rows[-1]] + [r[0][3] for r in rows] + \
               [r[-1][3] for r in rows]
        if max(ring) > 8:
            problems.append("%d.png: shadow does not fade out at the edge (alpha %d)"
                            % (pid, max(ring)))
        below = rows[y + h][x + w // 2][3]
        if not 0 < below < 255:
            problems.append("%d.png: no shadow under the panel" % pid)
    rows = rows_of(203)
    if rows is not None and any(px[3] for row in rows for px in row):
        problems.append("203.png: not fully transparent")
    rows = rows_of(143)
    if rows is not None and (rows[0][0][3] or rows[15][47][3]):
        problems.append("143.png: glyph strip corners are not transparent")


def main():
    problems = []
    check_pngs(problems)
    if not problems:
        check_pixels(problems)
    check_bitmap(problems)
    check_icon(problems)
    for p in problems:
        print(p)
    if problems:
        return 1
    print("ok: %d pictures, scroll-bar skin and icon" % len(PICTURES))
    return 0


if __name__ == "__main__":
    sys.exit(main())
